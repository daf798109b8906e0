#pragma once
// The dialogs of the project commands: "New Project", "Save Project",
// "Map Properties" and the tile set locator, and the host through which
// CMainFrame shows them (tests put in a scripted host).

#include "core/project/ProjectCommands.h"
#include "core/tiles/TileKind.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <optional>
#include <string>

class QLineEdit;

namespace qm::ui {

// Native file names in and out of core.
inline std::string toCorePath(const QString& path) { return path.toStdString(); }
inline QString fromCorePath(const std::string& path) { return QString::fromStdString(path); }

// The filters of a Windows file dialog for a Qt one:
// "Name(*.a;*.b)|*.a;*.b|Other(*.c)|*.c||" becomes "Name (*.a *.b);;Other (*.c)",
// with "*.*" read as every file.
QString qtFileFilters(const QString& windowsFilter);

class NewProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewProjectDialog(QWidget* parent = nullptr);
    NewProjectRequest request() const;
    void setFields(const QString& project, const QString& bg, const QString& obj, const QString& width,
                   const QString& height);
    // Checks the size fields; shows "Please enter a positive integer." and
    // keeps the dialog open when one is not a number.
    void accept() override;

private:
    QLineEdit* project_;
    QLineEdit* bg_;
    QLineEdit* obj_;
    QLineEdit* width_;
    QLineEdit* height_;
};

class SaveProjectDialog : public QDialog {
    Q_OBJECT
public:
    SaveProjectDialog(const SavePaths& current, QWidget* parent = nullptr);
    SavePaths paths() const;

private:
    QLineEdit* project_;
    QLineEdit* bg_;
    QLineEdit* obj_;
};

class MapPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    MapPropertiesDialog(const ProjectState& state, QWidget* parent = nullptr);
    QSize mapSize() const;
    void setSizeFields(const QString& width, const QString& height);
    // "Please enter an integer." for a field that is not one; negative sizes
    // are refused with "Please enter a positive integer.".
    void accept() override;

private:
    QLineEdit* width_;
    QLineEdit* height_;
};

class LocateTileSetDialog : public QDialog {
    Q_OBJECT
public:
    LocateTileSetDialog(TileKind kind, const QString& oldPath, QWidget* parent = nullptr);
    QString path() const;

private:
    QLineEdit* path_;
};

// How CMainFrame asks for the input of its project commands.
class ProjectDialogHost {
public:
    virtual ~ProjectDialogHost() = default;
    virtual std::optional<NewProjectRequest> askNewProject(QWidget* parent) = 0;
    virtual std::optional<SavePaths> askSaveProject(QWidget* parent, const SavePaths& current) = 0;
    virtual std::optional<QSize> askMapProperties(QWidget* parent, const ProjectState& state) = 0;
    // The project file to open, from a file-open dialog.
    virtual std::optional<QString> askOpenProject(QWidget* parent) = 0;
};

// The real dialogs.
class QtProjectDialogs : public ProjectDialogHost {
public:
    std::optional<NewProjectRequest> askNewProject(QWidget* parent) override;
    std::optional<SavePaths> askSaveProject(QWidget* parent, const SavePaths& current) override;
    std::optional<QSize> askMapProperties(QWidget* parent, const ProjectState& state) override;
    std::optional<QString> askOpenProject(QWidget* parent) override;
};

} // namespace qm::ui
