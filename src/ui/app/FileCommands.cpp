#include "ui/app/FileCommands.h"

#include "core/project/ProjectFile.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/WindowSettings.h"

#include <QApplication>
#include <QFileInfo>

namespace qm::ui {

FileCommands::FileCommands(CMainFrame& frame) : frame_(frame) {}

Answer FileCommands::askSaveChanges()
{
    // Every map edit sets CHANGED_MAP at once (the view's modified mark follows
    // that bit), so the flags alone decide; nothing set by an import is lost.
    return qm::askSaveChanges(frame_.workspace().project, std::nullopt, frame_.prompter());
}

bool FileCommands::saveChangesFirst()
{
    switch (askSaveChanges()) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return saveProject();
    default:
        return true;
    }
}

void FileCommands::newProject()
{
    if (!saveChangesFirst())
        return;
    const std::optional<NewProjectRequest> request = dialogs_->askNewProject(&frame_);
    if (!request)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TileSetsLoaded loaded;
    const Result r = qm::newProject(frame_.workspace(), *request, frame_.prompter(), frame_.progress(), &loaded);
    QApplication::restoreOverrideCursor();
    if (!r) {
        frame_.prompter().inform(r.text());
        frame_.rebuildTitle();
        return;
    }
    frame_.projectReplaced();
    frame_.showTileSetName(TILE_BG, loaded.bg);
    frame_.showTileSetName(TILE_OBJ, loaded.obj);
    frame_.setStatusText(QString::fromStdString(mapSizeText(frame_.workspace().project.map)));
}

void FileCommands::openProject()
{
    if (!saveChangesFirst())
        return;
    const std::optional<QString> path = dialogs_->askOpenProject(&frame_);
    if (!path)
        return;
    if (readProjectFile(*path))
        frame_.settings().addRecentFile(*path);
}

bool FileCommands::readProjectFile(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProjectReadInfo read;
    const Result r =
        readProject(toCorePath(path), frame_.workspace(), frame_.prompter(), frame_.progress(), &read);
    QApplication::restoreOverrideCursor();
    // A refused file leaves the open project as it was; a file that was taken
    // over and then failed its conversion is shown all the same.
    if (read.takenOver) {
        frame_.projectReplaced();
        frame_.showTileSetName(TILE_BG, read.bgLoaded);
        frame_.showTileSetName(TILE_OBJ, read.objLoaded);
    } else {
        frame_.rebuildTitle();
    }
    if (!r)
        frame_.prompter().inform(r.text());
    return read.takenOver;
}

void FileCommands::reloadProject()
{
    if (frame_.workspace().project.projectPath.empty())
        return;
    if (frame_.prompter().ask("Discard changes and reload project ?", Buttons::YesNoCancel) != Answer::Yes)
        return;
    readProjectFile(fromCorePath(frame_.workspace().project.projectPath));
}

bool FileCommands::saveProject()
{
    if (!canSaveDirectly(frame_.workspace().project)) {
        const bool saved = saveProjectAs();
        frame_.rebuildTitle();
        return saved;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result r = qm::saveProject(frame_.workspace(), frame_.progress());
    QApplication::restoreOverrideCursor();
    frame_.rebuildTitle();
    if (!r) {
        frame_.prompter().inform(r.text());
        return false;
    }
    return true;
}

bool FileCommands::saveProjectAs()
{
    ProjectState& st = frame_.workspace().project;
    st.normalisePaths();
    const std::optional<SavePaths> paths =
        dialogs_->askSaveProject(&frame_, SavePaths{st.projectPath, st.bgTileSetPath, st.objTileSetPath});
    if (!paths)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result r = qm::saveProjectAs(frame_.workspace(), *paths, frame_.progress());
    QApplication::restoreOverrideCursor();
    frame_.rebuildTitle();
    // The pages name the files the sets are saved in now.
    frame_.showTileSetName(TILE_BG, !st.bgTileSetPath.empty());
    frame_.showTileSetName(TILE_OBJ, !st.objTileSetPath.empty());
    if (!r) {
        frame_.prompter().inform(r.text());
        return false;
    }
    if (!st.projectPath.empty())
        frame_.settings().addRecentFile(fromCorePath(st.projectPath));
    return true;
}

void FileCommands::mapProperties()
{
    const std::optional<QSize> size = dialogs_->askMapProperties(&frame_, frame_.workspace().project);
    if (!size)
        return;
    std::string failure;
    const MapPropertiesOutcome outcome =
        applyMapProperties(frame_.workspace().project, size->width(), size->height(), frame_.prompter(), &failure);
    if (outcome == MapPropertiesOutcome::Cancelled)
        return;
    if (outcome == MapPropertiesOutcome::Failed)
        frame_.prompter().inform(failure);
    frame_.route(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
    frame_.showMapSize();
}

bool FileCommands::openFile(const QString& givenPath)
{
    // The project keeps full paths: the title, the stored relative paths and
    // the recent-file list depend on it.
    const QString path = givenPath.isEmpty() ? givenPath : QFileInfo(givenPath).absoluteFilePath();
    const std::string corePath = toCorePath(path);
    const OpenFileKind kind = openFileKind(corePath);
    if (kind == OpenFileKind::None)
        return false;
    if (!saveChangesFirst())
        return false;
    if (kind == OpenFileKind::Project) {
        const bool opened = readProjectFile(path);
        if (opened)
            frame_.settings().addRecentFile(path);
        return opened;
    }

    const TileKind tileKind = kind == OpenFileKind::ObjTileSet ? TILE_OBJ : TILE_BG;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool loaded = false;
    const Result r =
        openTileSetAsProject(frame_.workspace(), corePath, tileKind, frame_.prompter(), frame_.progress(), &loaded);
    QApplication::restoreOverrideCursor();
    if (!r) {
        frame_.prompter().inform(r.text());
        frame_.rebuildTitle();
        return false;
    }
    frame_.projectReplaced();
    frame_.showTileSetName(tileKind, loaded);
    frame_.setStatusText(QString::fromStdString(mapSizeText(frame_.workspace().project.map)));
    if (loaded)
        frame_.settings().addRecentFile(path);
    return loaded;
}

} // namespace qm::ui
