#include "ui/tiles/CTilesetMgr.h"

#include "core/undo/UndoStore.h"
#include "core/edit/MapClipboard.h"
#include "core/edit/TileEdits.h"
#include "ui/app/MapTool.h"
#include "ui/tiles/CPalettePage.h"
#include "ui/tiles/CTilesetPage.h"
#include "ui/tiles/RemapPaletteDialog.h"
#include "ui/tiles/TileDrawing.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTabWidget>

#include <algorithm>

namespace qm::ui {

namespace {

QByteArray toByteArray(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::span<const std::uint8_t> toSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())};
}

} // namespace

CTilesetMgr::CTilesetMgr(Workspace& workspace, UndoStore& undo, QWidget* parent)
    : QWidget(parent), ws_(workspace), undo_(undo)
{
    setObjectName(QStringLiteral("CTilesetMgr"));
    sheet_ = new QTabWidget(this);
    sheet_->setObjectName(QStringLiteral("CMyPropertySheet"));
    bgPage_ = new CTilesetPage(*this, TILE_BG);
    objPage_ = new CTilesetPage(*this, TILE_OBJ);
    palettePage_ = new CPalettePage(*this);
    tagPage_ = new CTilesetPage(*this, TILE_TAG);
    sheet_->addTab(bgPage_, QStringLiteral("BG"));
    sheet_->addTab(objPage_, QStringLiteral("OBJ"));
    sheet_->addTab(palettePage_, QStringLiteral("CPD"));
    sheet_->addTab(tagPage_, QStringLiteral("Tag"));
    connect(sheet_, &QTabWidget::currentChanged, this, &CTilesetMgr::pageShown);
    const QSize hint = sheet_->sizeHint().expandedTo(QSize(200, 460));
    sheet_->resize(hint);
    setMinimumWidth(hint.width());
    setCursor(Qt::ArrowCursor);
}

CTilesetMgr::~CTilesetMgr() = default;

// ---- the current-tile contract -----------------------------------------------------

CTilesetPage* CTilesetMgr::page(int kind) const
{
    switch (kind) {
    case TILE_BG:
        return bgPage_;
    case TILE_OBJ:
        return objPage_;
    case TILE_TAG:
        return tagPage_;
    default:
        return nullptr;
    }
}

TilePageState* CTilesetMgr::pageState(int kind)
{
    CTilesetPage* p = page(kind);
    return p ? &p->state() : nullptr;
}

int CTilesetMgr::currentTile(int kind) const
{
    const CTilesetPage* p = page(kind);
    return p ? p->state().current() : -1;
}

int CTilesetMgr::currentPalette(int kind) const
{
    const CTile* t = ws_.tiles.tile(static_cast<TileKind>(kind), currentTile(kind));
    return t ? t->palette() : 0;
}

QList<int> CTilesetMgr::selectedTiles(int kind) const
{
    const CTilesetPage* p = page(kind);
    if (!p)
        return {};
    const auto& tiles = p->state().selection().tiles();
    return QList<int>(tiles.begin(), tiles.end());
}

// ---- operations by kind ----------------------------------------------------------------

TileSet* CTilesetMgr::tileSet(int kind)
{
    return kind >= 0 && kind <= 0xFF ? ws_.tiles.tileSet(static_cast<TileKind>(kind)) : nullptr;
}

CTile* CTilesetMgr::tile(int kind, int index)
{
    return kind >= 0 && kind <= 0xFF ? ws_.tiles.tile(static_cast<TileKind>(kind), index) : nullptr;
}

void CTilesetMgr::resetTileSet(int kind)
{
    if (!tileSet(kind))
        return;
    ws_.tiles.resetTileSet(static_cast<TileKind>(kind));
    rebuildBitmaps(kind);
    palettePage_->refresh();
}

void CTilesetMgr::startOver()
{
    for (CTilesetPage* p : {bgPage_, objPage_, tagPage_}) {
        p->state() = TilePageState(p->state().columns());
        p->syncFromState();
    }
    selectTile(TILE_BG, 0);
}

void CTilesetMgr::selectTile(int kind, int index)
{
    CTilesetPage* p = page(kind);
    if (!p || !p->state().reachable(index))
        return;
    showPage(kind);
    p->state().selectTile(index);
    p->syncFromState();
    announceCurrentTile(kind);
}

void CTilesetMgr::showPage(int kind)
{
    int index = PAGE_INDEX_PALETTE;
    if (kind == TILE_BG)
        index = PAGE_INDEX_BG;
    else if (kind == TILE_OBJ)
        index = PAGE_INDEX_OBJ;
    else if (kind == TILE_TAG)
        index = PAGE_INDEX_TAG;
    if (sheet_->currentIndex() == index)
        sheet_->currentWidget()->update();
    else
        sheet_->setCurrentIndex(index);
}

void CTilesetMgr::pageShown(int index)
{
    static constexpr int KINDS[] = {TILE_BG, TILE_OBJ, PAGE_PALETTE, TILE_TAG};
    if (index < 0 || index > 3)
        return;
    const int previous = shownKind_;
    shownKind_ = KINDS[index];
    if (previous == PAGE_PALETTE && shownKind_ != PAGE_PALETTE)
        palettePage_->leave();
    if (shownKind_ != PAGE_PALETTE) {
        currentSetKind_ = shownKind_;
        page(shownKind_)->syncFromState();
    } else {
        palettePage_->refresh();
    }
    emit pageChanged(shownKind_);
}

void CTilesetMgr::redrawTile(int kind, int index, bool showFirst)
{
    redrawRange(kind, index, index, showFirst);
}

void CTilesetMgr::redrawRange(int kind, int first, int last, bool showFirst)
{
    CTilesetPage* p = page(kind);
    if (!p)
        return;
    if (showFirst)
        showPage(kind);
    p->redrawTiles(first, last);
}

void CTilesetMgr::rebuildBitmaps(int kind)
{
    if (CTilesetPage* p = page(kind))
        p->update();
    if (kind == TILE_BG)
        tagPage_->update();
}

void CTilesetMgr::rebuildAllBitmaps()
{
    for (CTilesetPage* p : {bgPage_, objPage_, tagPage_})
        p->syncFromState();
    palettePage_->refresh();
}

QColor CTilesetMgr::selectionColour(int kind) const
{
    switch (kind) {
    case TILE_BG:
        return colourFromBgr(ws_.colours.bgSelection);
    case TILE_OBJ:
        return colourFromBgr(ws_.colours.objSelection);
    default:
        return tagPage_->selectionColour();
    }
}

void CTilesetMgr::setSelectionColour(int kind, const QColor& colour)
{
    if (!colour.isValid())
        return;
    if (kind == TILE_BG)
        ws_.colours.bgSelection = bgrFromColour(colour);
    else if (kind == TILE_OBJ)
        ws_.colours.objSelection = bgrFromColour(colour);
    else if (kind == TILE_TAG)
        tagPage_->setSelectionColour(colour);
    if (CTilesetPage* p = page(kind))
        p->update();
}

void CTilesetMgr::chooseSelectionColour(int kind)
{
    setSelectionColour(kind, promptColour(selectionColour(kind)));
}

QColor CTilesetMgr::promptColour(const QColor& initial)
{
    if (colourPrompt)
        return colourPrompt(initial);
    return QColorDialog::getColor(initial, this);
}

void CTilesetMgr::key(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up:
        keyMove(TilePageState::Key::Up);
        break;
    case Qt::Key_Down:
        keyMove(TilePageState::Key::Down);
        break;
    case Qt::Key_Left:
        keyMove(TilePageState::Key::Left);
        break;
    case Qt::Key_Right:
        keyMove(TilePageState::Key::Right);
        break;
    default:
        break;
    }
}

void CTilesetMgr::keyMove(TilePageState::Key key, int n)
{
    CTilesetPage* p = page(currentSetKind_);
    if (!p)
        return;
    p->state().key(key, n);
    p->syncFromState();
    announceCurrentTile(currentSetKind_);
}

void CTilesetMgr::moveCurrentTile(int tile)
{
    const int delta = tile - currentTile(currentSetKind_);
    keyMove(delta < 0 ? TilePageState::Key::Back : TilePageState::Key::Forward, delta < 0 ? -delta : delta);
}

void CTilesetMgr::announceCurrentTile(int kind)
{
    const int tile = currentTile(kind);
    if (CTilesetPage* p = page(kind))
        p->syncFromState();
    emit currentTileChanged(kind, tile);
    emit message(MSG_CURRENT_TILE_CHANGED, kind, tile);
}

void CTilesetMgr::clickTile(int kind, int cell, bool shift, bool ctrl)
{
    CTilesetPage* p = page(kind);
    if (!p)
        return;
    const int tile = p->state().tileAtCell(cell);
    if (tile < 0)
        return;
    p->state().setFocusCell(cell);
    p->state().selection().click(tile, shift, ctrl);
    if (mapToolProvider && mapToolProvider() == TOOL_REV_EYEDROPPER)
        emit selectCellsUsingTile(kind, p->state().current());
    announceCurrentTile(kind);
}

void CTilesetMgr::doubleClickTile(int kind, int cell)
{
    CTilesetPage* p = page(kind);
    if (!p)
        return;
    const int tile = p->state().tileAtCell(cell);
    if (tile < 0)
        return;
    p->state().selection().replaceCurrent(tile);
    p->syncFromState();
    // The kind rides along so that the tile editor opens on the right set.
    emit message(MSG_TILE_DOUBLE_CLICKED, tile, kind);
}

void CTilesetMgr::report(const Result& result)
{
    if (result.ok())
        return;
    const QString text = QString::fromStdString(result.text());
    if (showMessage)
        showMessage(text);
    else
        QMessageBox::warning(this, QApplication::applicationName(), text);
}

CTilesetPage* CTilesetMgr::shownTilePage() const
{
    return shownKind_ == PAGE_PALETTE ? nullptr : page(shownKind_);
}

void CTilesetMgr::tilesEdited(int kind, const std::vector<int>& tiles, int first, int last)
{
    if (CTilesetPage* p = page(kind))
        p->syncFromState();
    if (tiles.empty())
        return;
    // The map view renders the cells again; the main frame sets the change flag.
    const TileRange range{first, last};
    emit message(MSG_TILES_CHANGED, kind | TILES_CHANGED_RANGE | TILES_CHANGED_KEEP_PAGE, messageParam(&range));
}

void CTilesetMgr::clearSelectedTiles()
{
    CTilesetPage* p = shownTilePage();
    if (!p)
        return;
    const TileEditResult r = clearTiles(ws_.tiles, p->kind(), p->state().selection().tiles(), undo_);
    emit undoStepBegun();
    tilesEdited(p->kind(), r.tiles, r.first, r.last);
    report(r.result);
}

void CTilesetMgr::replaceSelection(const QList<int>& tiles)
{
    if (shownKind_ != TILE_BG && shownKind_ != TILE_OBJ)
        return;
    CTilesetPage* p = page(shownKind_);
    std::vector<int> list;
    for (int t : tiles)
        if (p->state().reachable(t))
            list.push_back(t);
    p->state().selection().replace(std::move(list));
    p->syncFromState();
}

void CTilesetMgr::setPaletteOfSelectedTiles(int palette)
{
    CTilesetPage* p = shownTilePage();
    if (!p)
        return;
    // Each tile's report goes out before the next tile changes, so that the
    // map follows every tile within this one step.
    const TileEditResult r = setTilesPalette(
        ws_.tiles, p->kind(), p->state().selection().tiles(), palette, undo_,
        [this](const TilePaletteChange& change) {
            emit message(MSG_TILE_PALETTE_CHANGED, change.newPalette, messageParam(&change));
        });
    emit undoStepBegun();
    p->syncFromState();
    report(r.result);
}

void CTilesetMgr::remapTileColours()
{
    CTilesetPage* p = shownTilePage();
    if (!p)
        return;
    const RemapRequest preset = remapPreset(ws_.tiles, p->kind(), p->state().selection().tiles());
    const DisplayTable& colours = displayTable(p->kind());
    std::optional<RemapRequest> request;
    if (remapPrompt) {
        request = remapPrompt(preset, colours);
    } else {
        RemapPaletteDialog dialog(preset, colours, this);
        if (dialog.exec() == QDialog::Accepted)
            request = dialog.request();
    }
    if (!request)
        return;
    const TileEditResult r = qm::remapTileColours(ws_.tiles, p->kind(), *request, undo_);
    emit undoStepBegun();
    tilesEdited(p->kind(), r.tiles, r.first, r.last);
    report(r.result);
}

const DisplayTable& CTilesetMgr::displayTable(int kind) const
{
    return ws_.tiles.coloursOf(static_cast<TileKind>(kind & 0xFF));
}

void CTilesetMgr::setFileName(int kind, const QString& path)
{
    if (CTilesetPage* p = page(kind))
        p->setFileName(path);
}

// ---- clipboard -----------------------------------------------------------------------

void CTilesetMgr::copy()
{
    if (shownKind_ == PAGE_PALETTE) {
        palettePage_->copy();
        return;
    }
    CTilesetPage* p = shownTilePage();
    if (!p)
        return;
    const auto bytes = copyTiles(ws_.tiles, p->kind(), p->state().selection().tiles());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(CLIPBOARD_CTILE.data(), CLIPBOARD_CTILE.size()), toByteArray(bytes));
    QApplication::clipboard()->setMimeData(data);
}

void CTilesetMgr::cut()
{
    if (shownKind_ == PAGE_PALETTE) {
        palettePage_->cut();
        return;
    }
    CTilesetPage* p = shownTilePage();
    if (!p)
        return;
    copy();
    const TileEditResult r = cutTiles(ws_.tiles, p->kind(), p->state().selection().tiles(), undo_);
    emit undoStepBegun();
    tilesEdited(p->kind(), r.tiles, r.first, r.last);
    report(r.result);
}

void CTilesetMgr::paste()
{
    if (shownKind_ == PAGE_PALETTE) {
        palettePage_->paste();
        return;
    }
    CTilesetPage* p = shownTilePage();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!p || !data)
        return;
    const QString tileFormat = QString::fromLatin1(CLIPBOARD_CTILE.data(), CLIPBOARD_CTILE.size());
    const QString mapFormat = QString::fromLatin1(MAP_CLIPBOARD_FORMAT);
    TileEditResult r;
    if (data->hasFormat(tileFormat)) {
        const QByteArray bytes = data->data(tileFormat);
        const auto entries = decodeTileClip(toSpan(bytes));
        if (!entries)
            return;
        r = pasteTiles(ws_.tiles, p->kind(), p->state().current(), *entries, undo_);
    } else if (data->hasFormat(mapFormat)) {
        const QByteArray bytes = data->data(mapFormat);
        const auto entries =
            decodeClipboard(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size()));
        if (!entries)
            return;
        r = pasteMapTiles(ws_.tiles, p->kind(), p->state().current(), *entries, undo_);
    } else {
        return;
    }
    emit undoStepBegun();
    tilesEdited(p->kind(), r.tiles, r.first, r.last);
    report(r.result);
}

bool CTilesetMgr::hasKeyboardFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

// ---- mouse mode --------------------------------------------------------------------------

void CTilesetMgr::setMouseMode(MouseMode mode)
{
    mouseMode_ = mode;
    holdMovePage(spaceHeld_);
}

void CTilesetMgr::holdMovePage(bool held)
{
    spaceHeld_ = held;
    const Qt::CursorShape shape = mouseMode() == MouseMode::Selector ? Qt::ArrowCursor : Qt::OpenHandCursor;
    for (CTilesetPage* p : {bgPage_, objPage_, tagPage_})
        p->setCursor(shape);
}

void CTilesetMgr::moveSheetBy(int dy)
{
    const int lowest = std::min(0, height() - sheet_->height());
    sheetOffset_ = std::clamp(sheetOffset_ + dy, lowest, 0);
    sheet_->move(0, sheetOffset_);
}

void CTilesetMgr::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sheet_->resize(width(), std::max(sheet_->sizeHint().height(), height()));
    moveSheetBy(0);
}

// ---- colours ------------------------------------------------------------------------------

void CTilesetMgr::coloursChanged(std::uint32_t flags, std::uint32_t mask)
{
    if (flags & TILE_BG)
        rebuildBitmaps(TILE_BG);
    if (flags & TILE_OBJ)
        rebuildBitmaps(TILE_OBJ);
    if (flags == 12)
        rebuildAllBitmaps();
    emit message(MSG_COLOURS_CHANGED, flags, mask);
}

void CTilesetMgr::coloursNotice(std::uint32_t flags, std::uint32_t mask)
{
    emit message(MSG_COLOURS_CHANGED, flags, mask);
}

bool CTilesetMgr::setTrueColour(bool on)
{
    if (!ws_.tiles.palettes.setTrueColour(on))
        return false;
    // The set that is not current first; the tag set counts with BG.
    const bool bgCurrent = currentSetKind_ != TILE_OBJ;
    rebuildBitmaps(bgCurrent ? TILE_OBJ : TILE_BG);
    rebuildBitmaps(bgCurrent ? TILE_BG : TILE_OBJ);
    palettePage_->refresh();
    return true;
}

void CTilesetMgr::handleMessage(AppMessage msg, qint64 wParam, qint64 lParam)
{
    switch (msg) {
    case MSG_TILES_CHANGED: {
        const int kind = static_cast<int>(wParam & 0xFF);
        if (!page(kind))
            break;
        if (!(wParam & TILES_CHANGED_KEEP_PAGE))
            showPage(kind);
        if (wParam & TILES_CHANGED_RANGE) {
            if (const auto* range = messageRecord<TileRange>(lParam))
                redrawRange(kind, range->first, range->last);
        } else {
            redrawTile(kind, static_cast<int>(lParam));
        }
        break;
    }
    case MSG_TILE_PALETTE_CHANGED:
        if (shownKind_ != PAGE_PALETTE) {
            if (const auto* change = messageRecord<TilePaletteChange>(lParam))
                redrawRange(change->layer, change->firstTile, change->lastTile);
        }
        break;
    case MSG_COLOURS_CHANGED:
        // Colours came back through Undo or Redo, or the display changed.
        rebuildAllBitmaps();
        break;
    default:
        break;
    }
}

} // namespace qm::ui
