#include "ui/tiles/TileSheetSaving.h"

#include "core/base/FileIO.h"
#include "core/export/TileSheet.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QFileDialog>

namespace qm::ui {

namespace {

// Beside the set's tile set file, or beside the project for the tag set and
// a set without a file.
QString suggestedPath(const ProjectState& project, TileKind kind)
{
    const std::string& setFile = kind == TILE_OBJ ? project.objTileSetPath : project.bgTileSetPath;
    const char* name = kind == TILE_OBJ ? "_obj" : kind == TILE_TAG ? "_tags" : "_bg";
    std::string base = kind != TILE_TAG && !setFile.empty() ? pathWithoutExtension(setFile)
                       : !project.projectPath.empty()      ? pathWithoutExtension(project.projectPath) + name
                                                           : std::string("tiles") + name;
    return QString::fromStdString(base + ".png");
}

} // namespace

bool saveTilesAsPicture(CTilesetMgr& manager, TileKind kind, QWidget* parent)
{
    const QString suggested = suggestedPath(manager.workspace().project, kind);
    const QString path = manager.picturePathPrompt
                             ? manager.picturePathPrompt(suggested)
                             : QFileDialog::getSaveFileName(parent, QStringLiteral("Save Tiles as Picture"), suggested,
                                                            QStringLiteral("PNG picture (*.png)"));
    if (path.isEmpty())
        return false;
    const Result written = writeTileSheet(path.toStdString(), manager.workspace().tiles, kind);
    manager.report(written);
    return written.ok();
}

} // namespace qm::ui
