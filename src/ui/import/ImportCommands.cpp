#include "ui/import/ImportCommands.h"

#include "core/base/Format.h"
#include "core/import/AttributeFileImport.h"
#include "core/import/FileHead.h"
#include "core/import/GbrImport.h"
#include "core/import/MapImport.h"
#include "core/import/PictureFile.h"
#include "core/import/PaletteFileImport.h"
#include "core/import/TilerRawImport.h"
#include "core/import/TileSetImport.h"
#include "ui/app/CommandHost.h"
#include "ui/app/ProjectDialogs.h"
#include "ui/import/CBmpDialog.h"
#include "ui/import/ImportPaletteDialog.h"
#include "ui/import/ImportTilesetDialog.h"
#include "ui/import/MapDimensionDialog.h"
#include "ui/import/MapOrientationDialog.h"
#include "ui/import/SelectTilesetDialog.h"

#include <QApplication>
#include <QCursor>

namespace qm::ui {

namespace {

void tell(const CommandHost& host, const Result& r)
{
    if (!r.text().empty())
        host.prompter->inform(r.text());
}

// The change flags of a tile set: the tag tiles are kept in the project file,
// and a change of them counts for both tile sets, as the routing of the panes
// marks it.
ChangeFlags tileFlagOf(int kind)
{
    return kind == TILE_BG    ? CHANGED_BG_TILES
           : kind == TILE_OBJ ? CHANGED_OBJ_TILES
                              : static_cast<ChangeFlags>(CHANGED_PROJECT | CHANGED_BG_TILES | CHANGED_OBJ_TILES);
}

// Every tile of a set may have changed: the map view re-renders the cells
// using them and the manager redraws its page.
void tilesChanged(const CommandHost& host, int kind, bool keepPage)
{
    const TileRange all{0, 511};
    qint64 w = (kind & 0xFF) | TILES_CHANGED_RANGE;
    if (keepPage)
        w |= TILES_CHANGED_KEEP_PAGE;
    host.send(MSG_TILES_CHANGED, w, messageParam(&all));
}

// Tiles and palettes of a set came from another tile editor's file.
void afterForeignTiles(const CommandHost& host, int kind)
{
    // Marking the tile set changed lets no import be lost without the save question.
    host.changed(tileFlagOf(kind) | CHANGED_PALETTE);
    tilesChanged(host, kind, true);
    host.send(MSG_COLOURS_CHANGED, kind == TILE_OBJ ? TILE_OBJ : TILE_BG, -1);
    host.send(MSG_MAP_RESET, MAP_RESET_NEW, 0);
}

const QString& openTitle()
{
    static const QString title = QStringLiteral("Open");
    return title;
}

} // namespace

// ---- Tile set ---------------------------------------------------------------

bool importTileSetCommand(const CommandHost& host)
{
    ImportTilesetDialog dialog(host, host.tileSetShown() == TILE_OBJ ? TILE_OBJ : TILE_BG, host.parent);
    if (!host.run(dialog))
        return false;
    TileSetImportRequest request = dialog.request();
    if (host.showPage)
        host.showPage(request.target);
    request.currentTile = host.currentTile ? host.currentTile(request.target) : 0;
    const Result r = importTileSet(request, *host.workspace, *host.prompter);
    if (!r) {
        tell(host, r);
        return false;
    }
    host.changed(tileFlagOf(request.target));
    tilesChanged(host, request.target, false);
    host.send(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
    // An open tile editor takes the set again, from tile 0.
    host.send(MSG_CURRENT_TILE_CHANGED, request.target, 0);
    return true;
}

// ---- Bitmap -----------------------------------------------------------------

bool importBitmapCommand(const CommandHost& host)
{
    CBmpDialog dialog(host.parent);
    QString path;
    if (host.openFile) {
        path = host.chooseFile(openTitle(), QStringLiteral("Bitmaps (*.bmp);;PNG pictures (*.png)"),
                               QStringLiteral("bmp"));
    } else if (host.run(dialog) && !dialog.selectedFiles().isEmpty()) {
        path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return false;
    BitmapImage image;
    Result r = readPictureFile(path.toStdString(), image);
    if (r) {
        PictureImportOptions options = dialog.options(image);
        options.layer = host.page();
        r = importPicture(image, *host.workspace, options);
    }
    if (!r) {
        tell(host, r);
        return false;
    }
    // The BG tiles and BG palette 0 were rewritten as well as the map.
    host.changed(CHANGED_MAP | CHANGED_BG_TILES | CHANGED_PALETTE);
    host.send(MSG_MAP_RESET, MAP_RESET_IMPORT, 0);
    tilesChanged(host, TILE_BG, true);
    host.send(MSG_COLOURS_CHANGED, TILE_BG, -1);
    return true;
}

// ---- GBTD and Tiler ---------------------------------------------------------

bool importGbrCommand(const CommandHost& host)
{
    const QString path =
        host.chooseFile(openTitle(), qtFileFilters(QStringLiteral("GBTD File (*.gbr)|*.gbr|")), QStringLiteral("gbr"));
    if (path.isEmpty())
        return false;
    const int kind = host.tileSetShown();
    const Result r = importGbrFile(path.toStdString(), host.workspace->tiles, static_cast<TileKind>(kind));
    if (!r) {
        tell(host, r);
        host.prompter->inform(MSG_GBR_LOAD_FAILED);
        return false;
    }
    afterForeignTiles(host, kind);
    return true;
}

bool importTilerRawCommand(const CommandHost& host)
{
    const QString path = host.chooseFile(openTitle(), qtFileFilters(QStringLiteral("Tiler Raw File (*.raw)|*.raw|")),
                                         QStringLiteral("raw"));
    if (path.isEmpty())
        return false;
    const int kind = host.tileSetShown();
    const Result r = importTilerRawFile(path.toStdString(), host.workspace->tiles, static_cast<TileKind>(kind));
    if (!r) {
        tell(host, r);
        return false;
    }
    afterForeignTiles(host, kind);
    return true;
}

// ---- Map, palette and attribute files ------------------------------------------

bool importMapCommand(const CommandHost& host)
{
    const QString path =
        host.chooseFile(openTitle(), qtFileFilters(QStringLiteral("Bin File (*.bin)|*.bin|")), QStringLiteral("bin"));
    if (path.isEmpty())
        return false;
    std::uint64_t size = 0;
    if (const ReadResult r = readableFileSize(path.toStdString(), size); r != ReadStatus::Ok) {
        const std::string p = path.toStdString();
        host.prompter->inform(readFailureText(r, p, formatText("Error! Unable to open file %s", p.c_str())));
        return false;
    }
    MapDimensionDialog dimension(size, *host.prompter, host.parent);
    if (!host.run(dimension))
        return false;
    MapOrientationDialog orientation(host.parent);
    if (!host.run(orientation))
        return false;

    MapImportOptions options;
    options.width = dimension.mapWidth();
    options.height = dimension.mapHeight();
    options.swapBytes = dimension.swap();
    options.orientation = orientation.orientation();
    const QPoint cursor = host.cursorCell ? host.cursorCell() : QPoint(0, 0);
    options.cursorX = cursor.x();
    options.cursorY = cursor.y();
    options.layer = host.page();
    const Result r = importMapFile(path.toStdString(), options, host.workspace->project, *host.progress);
    if (!r) {
        tell(host, r);
        return false;
    }
    if (host.statusText)
        host.statusText(QStringLiteral("Drawing map...."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    host.changed(CHANGED_MAP);
    host.send(MSG_MAP_RESET, MAP_RESET_IMPORT, messageParam(&cursor));
    QApplication::restoreOverrideCursor();
    const MapGrid& map = host.workspace->project.map;
    if (host.statusText)
        host.statusText(QString::fromStdString(formatText("Map size:(%d,%d)", map.width, map.height)));
    return true;
}

bool importPaletteCommand(const CommandHost& host)
{
    ImportPaletteDialog dialog(host, host.parent);
    if (!host.run(dialog))
        return false;
    const TileKind kind = dialog.kind();
    const Result r = importPaletteFile(dialog.path().toStdString(), *host.workspace, kind, *host.progress);
    if (!r) {
        tell(host, r);
        return false;
    }
    // The palettes are stored with the tile set of their kind.
    host.changed(CHANGED_PROJECT | CHANGED_PALETTE | tileFlagOf(kind));
    host.send(MSG_COLOURS_CHANGED, kind, -1);
    tilesChanged(host, kind, true);
    return true;
}

bool importMapAttributeCommand(const CommandHost& host)
{
    host.prompter->inform(MSG_ATTRIBUTE_IMPORT_NOTICE);
    const QString path = host.chooseFile(
        openTitle(), qtFileFilters(QStringLiteral("Map Attribute binary File (*.bin)|*.bin|")), QStringLiteral("bin"));
    if (path.isEmpty())
        return false;
    SelectTilesetDialog select(host.parent);
    if (!host.run(select))
        return false;
    const Result r = importAttributeFile(path.toStdString(), host.workspace->project, select.layer(), *host.progress);
    if (!r) {
        tell(host, r);
        return false;
    }
    host.changed(CHANGED_MAP);
    host.send(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
    return true;
}

} // namespace qm::ui
