#pragma once
// The "Export Project" sheet: the pages "Map Data", "Tile Data" and
// "Palette Data" edit a copy of the project's export settings, and each page's
// button exports that page's files at once with the values it shows. Closing
// the sheet asks once whether changed values are to be kept;
// applyExportSheet then puts them into the project and its file. Below the
// pages, "Write as" chooses binary files or C or assembly source for every
// page: a setting of the user, kept by the editor, not of the project.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"
#include "core/project/ExportSettings.h"
#include "core/project/Workspace.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QPushButton;
class QTabWidget;

namespace qm::ui {

class CExpMapPage;
class CExpTilesetPage;
class CExpPalettePage;

inline constexpr const char* MSG_SETTINGS_CHANGED = "Settings have been changed, save ?";
inline constexpr const char* DIRECTORY_PICKER_TITLE = "Directory Picker";

class CExpPropertySheet : public QDialog {
    Q_OBJECT
public:
    // The sheet reads the workspace for its exports and never changes it.
    CExpPropertySheet(const Workspace& workspace, Prompter& prompter, Progress& progress,
                      QWidget* parent = nullptr);
    ~CExpPropertySheet() override;

    // The values the pages show (all three pages and tagCountMode).
    const ExportSettings& settings() const { return working_; }
    ExportSettings& working() { return working_; }
    bool settingsChanged() const { return settingsChanged_; }
    void setSettingsChanged(bool on) { settingsChanged_ = on; }
    bool askOnClose() const { return askOnClose_; }
    // True while a page fills its controls: that is no edit.
    bool filling() const { return filling_ > 0; }
    void beginFilling() { ++filling_; }
    void endFilling() { --filling_; }

    CExpMapPage* mapPage() const { return mapPage_; }
    CExpTilesetPage* tilesetPage() const { return tilesetPage_; }
    CExpPalettePage* palettePage() const { return palettePage_; }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* closeButton() const { return closeButton_; }
    QPushButton* okButton() const { return okButton_; }
    QComboBox* formatBox() const { return formatBox_; }

    // The form the export buttons write their files in.
    ExportFormat format() const;
    void setFormat(ExportFormat format);

    const Workspace& workspace() const { return workspace_; }
    Prompter& prompter() { return prompter_; }
    Progress& progress() { return progress_; }
    // The editor's "CompressorDir" setting, handed to the tile set export.
    void setCompressorSetting(std::string dir) { compressorSetting_ = std::move(dir); }
    const std::string& compressorSetting() const { return compressorSetting_; }

    // What the last export button wrote.
    const ExportReport& lastReport() const { return lastReport_; }
    void setLastReport(ExportReport report)
    {
        lastReport_ = std::move(report);
        emit exported(lastReport_);
    }

    // The folder browser: (parent, title, current location) -> chosen
    // directory, or empty on cancel. FolderPicker::pick unless replaced.
    std::function<QString(QWidget*, const QString&, const QString&)> pickDirectory;

    // Closing by "Close", Escape or the close box: asks the one question.
    void done(int result) override;

signals:
    // An export button wrote (or tried to write) its files.
    void exported(const qm::ExportReport& report);

private:
    const Workspace& workspace_;
    Prompter& prompter_;
    Progress& progress_;
    ExportSettings working_;
    std::string compressorSetting_;
    ExportReport lastReport_;
    bool settingsChanged_ = false;
    bool askOnClose_ = true;
    int filling_ = 0;

    QTabWidget* tabs_;
    CExpMapPage* mapPage_;
    CExpTilesetPage* tilesetPage_;
    CExpPalettePage* palettePage_;
    QPushButton* okButton_;
    QPushButton* closeButton_;
    QComboBox* formatBox_;
};

// After the sheet has closed: when its settings changed, they replace the
// project's and the export block of the project file is rewritten (nothing is
// written for a project without a file: the settings go out with the next
// save). Returns the outcome of the rewrite; the settings stay in the project
// either way.
Result applyExportSheet(const CExpPropertySheet& sheet, ProjectState& project);

} // namespace qm::ui
