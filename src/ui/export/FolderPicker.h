#pragma once
// The folder browser of the export pages' "Location.." buttons: a tree of
// folders under the prompt "Save exported file(s) to...", opened on the
// page's location.

#include <QDialog>

class QLabel;
class QFileSystemModel;
class QTreeView;

namespace qm::ui {

inline constexpr const char* FOLDER_PICKER_PROMPT = "Save exported file(s) to...";

class FolderPicker : public QDialog {
    Q_OBJECT
public:
    // current is selected and shown when it is a folder.
    FolderPicker(const QString& title, const QString& current, QWidget* parent = nullptr);

    QLabel* prompt() const { return prompt_; }
    QTreeView* tree() const { return tree_; }
    // The folder chosen in the tree, or nothing.
    QString folder() const;

    // Runs the picker: the chosen folder, or nothing on Cancel.
    static QString pick(QWidget* parent, const QString& title, const QString& current);

private:
    QLabel* prompt_;
    QFileSystemModel* model_;
    QTreeView* tree_;
};

} // namespace qm::ui
