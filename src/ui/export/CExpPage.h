#pragma once
// What the three pages of the "Export Project" sheet have in common: the
// "Prefix :", "Suffix :" and location fields, the "Location.." button and the
// page's export button. Each page edits its own fields of the sheet's copy of
// the export settings.

#include "core/export/ExportFileName.h"

#include <QWidget>

#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::ui {

class CExpPropertySheet;

class CExpPage : public QWidget {
    Q_OBJECT
public:
    CExpPage(CExpPropertySheet* sheet, ExportPage page, const QString& exportText);

    QLineEdit* prefixField() const { return prefix_; }
    QLineEdit* suffixField() const { return suffix_; }
    QLineEdit* locationField() const { return location_; }
    QPushButton* locationButton() const { return locationButton_; }
    QPushButton* exportButton() const { return exportButton_; }

    // Sets every control from the page's values; does not count as an edit.
    void fill();
    // Reads the controls into the page's values in the page's order. With
    // messages a bad number is told to the user and stops the reading there;
    // without, a bad number is just skipped.
    virtual void readControls(bool messages) = 0;
    // The file-name labels from the page's values.
    virtual void refreshLabels() = 0;
    // "Location..": the directory picker.
    void pickLocation();
    // The export button. A prefix or suffix that would write outside the
    // location is refused with core's message before anything is written.
    void exportPage();

protected:
    virtual void fillControls() = 0;
    virtual void runExport() = 0;
    virtual std::string& prefix() = 0;
    virtual std::string& suffix() = 0;
    virtual std::string& location() = 0;

    // Lays out the common fields and the export button below the page's own
    // content.
    void finishLayout(QWidget* content);
    // Every handler that changes a value ends here.
    void changed();
    bool filling() const;
    // A field's text as a number in min..max, or false (with the framework's
    // message when messages is set).
    bool readNumber(QLineEdit* field, long long min, long long max, bool messages, long long& out);
    void readPrefix();
    void readSuffix();
    void readLocation();
    // Re-reads the controls after a field changed, refreshing the labels.
    void fieldEdited();
    // A file-name label shows the text when on, nothing when off; its room
    // is kept either way, so that the page does not change size when an
    // option is turned on.
    static void showName(QLabel* label, bool on, const QString& text);
    // Keeps room for a text the label may show.
    static void reserveName(QLabel* label, const QString& text);

    CExpPropertySheet* sheet_;

private:
    ExportPage page_;
    QLineEdit* prefix_;
    QLineEdit* suffix_;
    QLineEdit* location_;
    QPushButton* locationButton_;
    QPushButton* exportButton_;
    QString exportText_;
};

// The framework's messages for bad numbers in the fields.
inline constexpr const char* MSG_ENTER_INTEGER = "Please enter an integer.";
inline constexpr const char* MSG_ENTER_BYTE = "Please enter an integer between 0 and 255.";

} // namespace qm::ui
