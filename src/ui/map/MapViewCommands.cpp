// The map view's edit commands. The editing itself lives in core
// (map/MapCommands, map/MapClipboard, map/RowColumnEdit); these functions
// gather the selection and the current tile, ask what the dialogs ask, and
// show the outcome.

#include "ui/map/MapViewCommands.h"

#include "core/base/Progress.h"
#include "core/edit/MapClipboard.h"
#include "core/edit/MapCommands.h"
#include "core/edit/RowColumnEdit.h"
#include "ui/map/CQuiltmarkView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace qm::ui {

namespace {

const char* const FORMAT_TILE = "CTile";
const char* const FORMAT_PALETTE = "CMyPropertyPagePal";
const char* const FORMAT_TILE_DESIGNER = "TileDesigner";
const char* const FORMAT_TILE_PIXELS = "TileDesignerPixel";

TileChoice choiceOf(const CurrentTile& t) { return TileChoice{t.layer, t.tile, t.palette}; }

} // namespace

MapViewCommands::MapViewCommands(CQuiltmarkView& view) : QObject(&view), view_(view) { installDialogs(); }

void MapViewCommands::installDialogs()
{
    numberPrompt = [this](const QString& title, const QString& label) -> std::optional<int> {
        QInputDialog dialog(&view_);
        dialog.setWindowTitle(title);
        dialog.setLabelText(label);
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setIntRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        dialog.setIntValue(1);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.intValue();
    };
    rangePrompt = [this](const QString& title, int from, int to) -> std::optional<std::pair<int, int>> {
        QDialog dialog(&view_);
        dialog.setWindowTitle(title);
        auto* form = new QFormLayout(&dialog);
        auto* fromBox = new QSpinBox(&dialog);
        auto* toBox = new QSpinBox(&dialog);
        for (QSpinBox* box : {fromBox, toBox})
            box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        fromBox->setValue(from);
        toBox->setValue(to);
        form->addRow(QStringLiteral("From "), fromBox);
        form->addRow(QStringLiteral("To:"), toBox);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addRow(buttons);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::make_pair(fromBox->value(), toBox->value());
    };
    confirmPrompt = [this](const QString& text) {
        return QMessageBox::question(&view_, QApplication::applicationName(), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) == QMessageBox::Yes;
    };
}

void MapViewCommands::fillPaletteMenu(QMenu* palettes)
{
    palettes->clear();
    const Workspace& ws = view_.workspace();
    const QPoint cursor = view_.cursorCell();
    const MapCell* cell = ws.project.map.cellAt(cursor.x(), cursor.y());
    const int layer = view_.currentLayer() == TILE_BG ? TILE_BG : TILE_OBJ;
    const bool hasTile = cell && (layer == TILE_BG ? cell->hasBg() : cell->hasObj());
    palettes->setEnabled(!ws.tiles.dmgMode && hasTile);
    const int cellPalette = cell ? cell->palette(layer) : -1;
    for (int n = 0; n < 8; ++n) {
        QPixmap swatch(32, 8);
        QPainter sp(&swatch);
        for (int c = 0; c < 4; ++c)
            sp.fillRect(c * 8, 0, 8, 8, QColor(view_.displayColours()[(layer == TILE_BG ? 0 : 32) + 4 * n + c]));
        sp.end();
        QAction* a = palettes->addAction(QIcon(swatch), QStringLiteral("P%1").arg(n));
        a->setCheckable(true);
        a->setChecked(hasTile && n == cellPalette);
        connect(a, &QAction::triggered, this, [this, n] { emit view_.mapCommand(MapCommand::SetPalette, n); });
    }
}

QMenu* MapViewCommands::buildContextMenu()
{
    auto* menu = new QMenu(&view_);
    fillPaletteMenu(menu->addMenu(QStringLiteral("Palettes")));
    auto item = [&](QMenu* m, const char* text, MapCommand command) {
        QAction* a = m->addAction(QString::fromLatin1(text));
        connect(a, &QAction::triggered, this, [this, command] { emit view_.mapCommand(command, 0); });
    };
    item(menu, "Flip Horizontally", MapCommand::FlipHorizontally);
    item(menu, "Flip Vertically", MapCommand::FlipVertically);
    item(menu, "Flip Area Horizontally", MapCommand::FlipAreaHorizontally);
    item(menu, "Flip Area Vertically", MapCommand::FlipAreaVertically);
    item(menu, "Block Fill", MapCommand::BlockFill);
    item(menu, "Array Fill", MapCommand::ArrayFill);
    item(menu, "Insert Row", MapCommand::InsertRow);
    item(menu, "Delete Row", MapCommand::DeleteRow);
    item(menu, "Insert Column", MapCommand::InsertColumn);
    item(menu, "Delete Column", MapCommand::DeleteColumn);
    QMenu* bank = menu->addMenu(QStringLiteral("Bank"));
    item(bank, "Set To 0", MapCommand::BankSetTo0);
    item(bank, "Set To 1", MapCommand::BankSetTo1);
    item(bank, "Flip Bank", MapCommand::BankFlip);
    QMenu* priority = menu->addMenu(QStringLiteral("Display Priority"));
    item(priority, "OBJ Priority", MapCommand::PriorityObj);
    item(priority, "BG Priority", MapCommand::PriorityBg);
    item(menu, "Copy MapToTile", MapCommand::CopyMapToTile);
    return menu;
}

void MapViewCommands::showContextMenu(const QPoint& globalPos)
{
    QMenu* menu = buildContextMenu();
    menu->exec(globalPos);
    menu->deleteLater();
}

// ---------------------------------------------------------------- edits

MapEdit MapViewCommands::makeEdit()
{
    return MapEdit{view_.workspace(), view_.undoStore(), view_.renderer(), view_.currentLayer()};
}

std::vector<CellPos> MapViewCommands::selectionCells() const
{
    std::vector<CellPos> out;
    out.reserve(static_cast<std::size_t>(view_.selection().size()));
    for (const QPoint& p : view_.selection())
        out.push_back({p.x(), p.y()});
    return out;
}

void MapViewCommands::afterEdit(const EditResult& result)
{
    view_.refreshUndoActions();
    if (result.changed > 0)
        view_.markModified();
    view_.viewport()->update();
    view_.refreshCellInfo();
    if (!result.ok())
        view_.showMessage(QString::fromStdString(result.result.text()));
}

bool MapViewCommands::paintAt(QPoint cell, const CurrentTile& tile)
{
    MapEdit edit = makeEdit();
    if (!paintCell(edit, cell.x(), cell.y(), TileChoice{tile.layer, tile.tile, tile.palette})) {
        view_.showMessage(QString::fromLatin1(MSG_NO_MEMORY_UNDO));
        return false;
    }
    view_.markModified();
    view_.viewport()->update();
    return true;
}

// ---------------------------------------------------------------- commands

void MapViewCommands::execute(MapCommand command, int argument)
{
    const MapGrid& map = view_.map();
    if (!map.hasCells())
        return;
    MapEdit edit = makeEdit();
    const std::vector<CellPos> selection = selectionCells();
    switch (command) {
    case MapCommand::BlockFill:
        if (!selection.empty())
            afterEdit(blockFill(edit, selection, choiceOf(view_.currentTile())));
        break;
    case MapCommand::ArrayFill:
        if (!selection.empty())
            afterEdit(arrayFill(edit, selection, choiceOf(view_.currentTile())));
        break;
    case MapCommand::Delete:
        if (!selection.empty())
            afterEdit(deleteCells(edit, selection));
        break;
    case MapCommand::Copy:
        copySelection();
        break;
    case MapCommand::Cut:
        cutSelection();
        break;
    case MapCommand::Paste:
        pasteClipboard();
        break;
    case MapCommand::SetPalette:
        if (!selection.empty())
            afterEdit(setCellPalette(edit, selection, argument));
        break;
    case MapCommand::FlipHorizontally:
    case MapCommand::FlipVertically:
        if (!selection.empty())
            afterEdit(flipCells(edit, selection, command == MapCommand::FlipHorizontally));
        break;
    case MapCommand::FlipAreaHorizontally:
    case MapCommand::FlipAreaVertically:
        if (!selection.empty() && view_.currentLayer() != TILE_TAG)
            afterEdit(flipArea(edit, selection, command == MapCommand::FlipAreaHorizontally));
        break;
    case MapCommand::InsertRow:
        insertLines(false);
        break;
    case MapCommand::InsertColumn:
        insertLines(true);
        break;
    case MapCommand::DeleteRow:
        deleteLines(false);
        break;
    case MapCommand::DeleteColumn:
        deleteLines(true);
        break;
    case MapCommand::BankSetTo0:
    case MapCommand::BankSetTo1:
    case MapCommand::BankFlip:
        if (!selection.empty())
            afterEdit(setBank(edit, selection,
                                    command == MapCommand::BankSetTo0   ? BankChange::Clear
                                    : command == MapCommand::BankSetTo1 ? BankChange::Set
                                                                        : BankChange::Toggle));
        break;
    case MapCommand::PriorityObj:
    case MapCommand::PriorityBg:
        if (!selection.empty())
            afterEdit(setPriority(edit, selection, command == MapCommand::PriorityBg));
        break;
    case MapCommand::CopyMapToTile: {
        const std::vector<std::int32_t> tiles = selectionTiles(map, selection, view_.currentLayer());
        if (!tiles.empty())
            emit view_.copyMapToTileRequested(view_.currentLayer(), QList<int>(tiles.begin(), tiles.end()));
        break;
    }
    case MapCommand::SetBaseTile:
        if (confirmPrompt && confirmPrompt(QString::fromLatin1(MSG_SET_BASE_TILE_WARNING)))
            afterEdit(setBaseTile(edit, choiceOf(view_.currentTile())));
        break;
    case MapCommand::CopyMapToClipboard:
        copyMapToClipboard();
        break;
    case MapCommand::ResetMapPalette:
        if (confirmPrompt && confirmPrompt(QString::fromLatin1(MSG_RESET_MAP_PALETTE_WARNING))) {
            NullProgress none;
            resetMapPalette(view_.workspace(), progress ? *progress : static_cast<Progress&>(none));
            view_.handleMessage(MSG_COLOURS_CHANGED, 0x80000000LL, 1);
        }
        break;
    }
}

// ---------------------------------------------------------------- clipboard

namespace {

void offerCells(const std::vector<ClipboardEntry>& entries)
{
    const std::vector<std::uint8_t> bytes = encodeClipboard(entries);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(MAP_CLIPBOARD_FORMAT),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

void MapViewCommands::copySelection()
{
    if (view_.selection().isEmpty())
        return;
    offerCells(copyCells(view_.map(), selectionCells(), view_.currentLayer()));
}

void MapViewCommands::cutSelection()
{
    if (view_.currentLayer() == TILE_TAG) {
        view_.showMessage(QString::fromLatin1(MSG_TAG_MAP_CANNOT_BE_CUT));
        return;
    }
    if (view_.selection().isEmpty())
        return;
    MapEdit edit = makeEdit();
    const CutResult cut = cutCells(edit, selectionCells());
    offerCells(cut.entries);
    afterEdit(cut.edit);
}

void MapViewCommands::pasteClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString format = QString::fromLatin1(MAP_CLIPBOARD_FORMAT);
    if (!data || !data->hasFormat(format))
        return;
    const QByteArray bytes = data->data(format);
    const std::optional<std::vector<ClipboardEntry>> entries =
        decodeClipboard(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
    if (!entries)
        return;
    MapEdit edit = makeEdit();
    const QPoint cursor = view_.cursorCell();
    afterEdit(pasteCells(edit, *entries, CellPos{cursor.x(), cursor.y()}));
}

bool MapViewCommands::canPaste() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    // Also what only the tile editor pastes: Paste follows the pane that has the focus.
    for (const char* format : {MAP_CLIPBOARD_FORMAT, FORMAT_TILE, FORMAT_PALETTE, FORMAT_TILE_DESIGNER, FORMAT_TILE_PIXELS})
        if (data->hasFormat(QString::fromLatin1(format)))
            return true;
    return data->hasImage();
}

void MapViewCommands::copyMapToClipboard()
{
    const QImage picture = view_.mapPicture(false);
    if (picture.isNull()) {
        view_.showMessage(QString::fromLatin1(MSG_NO_MEMORY_COPY));
        return;
    }
    QGuiApplication::clipboard()->setImage(picture);
}

// ---------------------------------------------------------------- rows and columns

void MapViewCommands::insertLines(bool columns)
{
    if (!numberPrompt)
        return;
    const std::optional<int> n = columns ? numberPrompt(QStringLiteral("Insert Column"), QStringLiteral("Number of Column :"))
                                         : numberPrompt(QStringLiteral("Insert Row"), QStringLiteral("Number of row :"));
    if (!n || *n < 1)
        return;
    if (!columns)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    Workspace& ws = view_.workspace();
    const QPoint cursor = view_.cursorCell();
    const LineEdit r = columns ? insertColumnsAt(ws, view_.undoStore(), cursor.x(), *n)
                               : insertRowsAt(ws, view_.undoStore(), cursor.y(), *n);
    if (!columns)
        QApplication::restoreOverrideCursor();
    if (!r.result && columns) {
        view_.showMessage(QString::fromStdString(r.result.text()));
        return;
    }
    if (!r.result)
        view_.showMessage(QString::fromStdString(r.result.text()));
    view_.refreshUndoActions();
    view_.mapReset(0);
    view_.markModified();
}

void MapViewCommands::deleteLines(bool columns)
{
    if (!rangePrompt)
        return;
    const QPoint cursor = view_.cursorCell();
    const QList<QPoint>& selection = view_.selection();
    const int cursorLine = columns ? cursor.x() : cursor.y();
    const int lastLine = selection.isEmpty() ? cursorLine : (columns ? selection.last().x() : selection.last().y());
    const std::optional<std::pair<int, int>> range =
        rangePrompt(columns ? QStringLiteral("Delete Column") : QStringLiteral("Delete Row"), cursorLine, lastLine);
    if (!range)
        return;
    Workspace& ws = view_.workspace();
    const LineEdit r = columns ? deleteColumns(ws, view_.undoStore(), range->first, range->second)
                               : deleteRows(ws, view_.undoStore(), range->first, range->second);
    view_.refreshUndoActions();
    if (!r.result)
        view_.showMessage(QString::fromStdString(r.result.text()));
    if (r.lines == 0)
        return;
    const MapGrid& map = view_.map();
    if (columns && cursor.x() >= map.width)
        view_.placeCursor(QPoint(map.width - 1, cursor.y()));
    if (!columns && cursor.y() >= map.height)
        view_.placeCursor(QPoint(cursor.x(), map.height - 1));
    view_.mapReset(0);
    view_.markModified();
}

} // namespace qm::ui
