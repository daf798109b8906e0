// The map view's edit commands: the selection commands, the clipboard, and
// the row and column edits, with their dialogs.

#include "ui/map/CQuiltmarkView.h"

#include "core/base/Progress.h"
#include "core/edit/MapClipboard.h"
#include "core/edit/MapCommands.h"
#include "core/edit/RowColumnEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace qm::ui {

namespace {

const char* const FORMAT_TILE = "CTile";
const char* const FORMAT_PALETTE = "CMyPropertyPagePal";

TileChoice choiceOf(const CurrentTile& t) { return TileChoice{t.layer, t.tile, t.palette}; }

} // namespace

void CQuiltmarkView::installEditingDialogs()
{
    numberPrompt = [this](const QString& title, const QString& label) -> std::optional<int> {
        QInputDialog dialog(this);
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
        QDialog dialog(this);
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
        return QMessageBox::question(this, QApplication::applicationName(), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) == QMessageBox::Yes;
    };
}

void CQuiltmarkView::executeCommand(MapCommand command, int argument)
{
    const MapGrid& map = ws_.project.map;
    if (!map.hasCells())
        return;
    MapEdit edit = makeEdit();
    const std::vector<CellPos> selection = selectionCells();
    switch (command) {
    case MapCommand::BlockFill:
        if (!selection.empty())
            afterEdit(blockFill(edit, selection, choiceOf(currentTile())));
        break;
    case MapCommand::ArrayFill:
        if (!selection.empty())
            afterEdit(arrayFill(edit, selection, choiceOf(currentTile())));
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
            afterEdit(setCellPalette(edit, selection, argument), true);
        break;
    case MapCommand::FlipHorizontally:
    case MapCommand::FlipVertically:
        if (!selection.empty())
            afterEdit(flipCells(edit, selection, command == MapCommand::FlipHorizontally), true);
        break;
    case MapCommand::FlipAreaHorizontally:
    case MapCommand::FlipAreaVertically:
        if (!selection.empty() && currentLayer_ != TILE_TAG)
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
                                                                  : BankChange::Toggle),
                      true);
        break;
    case MapCommand::PriorityObj:
    case MapCommand::PriorityBg:
        if (!selection.empty())
            afterEdit(setPriority(edit, selection, command == MapCommand::PriorityBg), true);
        break;
    case MapCommand::CopyMapToTile: {
        const std::vector<std::int32_t> tiles = selectionTiles(map, selection, currentLayer_);
        if (!tiles.empty())
            emit copyMapToTileRequested(currentLayer_, QList<int>(tiles.begin(), tiles.end()));
        break;
    }
    case MapCommand::SetBaseTile:
        if (confirmPrompt && confirmPrompt(QString::fromLatin1(MSG_SET_BASE_TILE_WARNING))) {
            setBaseTile(edit, choiceOf(currentTile()));
            updateUndoActions();
            markModified();
            viewport()->update();
        }
        break;
    case MapCommand::CopyMapToClipboard:
        copyMapToClipboard();
        break;
    case MapCommand::ResetMapPalette:
        if (confirmPrompt && confirmPrompt(QString::fromLatin1(MSG_RESET_MAP_PALETTE_WARNING))) {
            NullProgress none;
            resetMapPalette(ws_, progress ? *progress : static_cast<Progress&>(none));
            handleMessage(MSG_COLOURS_CHANGED, 0x80000000LL, 1);
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

void CQuiltmarkView::copySelection()
{
    if (selection_.isEmpty())
        return;
    offerCells(copyCells(ws_.project.map, selectionCells(), currentLayer_));
}

void CQuiltmarkView::cutSelection()
{
    if (currentLayer_ == TILE_TAG) {
        showMessage(QString::fromLatin1(MSG_TAG_MAP_CANNOT_BE_CUT));
        return;
    }
    if (selection_.isEmpty())
        return;
    MapEdit edit = makeEdit();
    const CutResult cut = cutCells(edit, selectionCells());
    offerCells(cut.entries);
    afterEdit(cut.edit);
}

void CQuiltmarkView::pasteClipboard()
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
    afterEdit(pasteCells(edit, *entries, CellPos{cursor_.x(), cursor_.y()}));
}

bool CQuiltmarkView::canPaste() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    return data->hasFormat(QString::fromLatin1(MAP_CLIPBOARD_FORMAT)) ||
           data->hasFormat(QString::fromLatin1(FORMAT_TILE)) || data->hasFormat(QString::fromLatin1(FORMAT_PALETTE)) ||
           data->hasImage();
}

void CQuiltmarkView::copyMapToClipboard()
{
    QImage picture;
    if (renderer_.hasMapImage() && renderer_.columns() > 0 && renderer_.rows() > 0) {
        const QImage wrapped(renderer_.mapImage(), renderer_.columns() * 8, renderer_.rows() * 8,
                             static_cast<qsizetype>(renderer_.stride()), QImage::Format_Indexed8);
        picture = wrapped.copy();
        picture.setColorTable(qtColours_);
    }
    if (picture.isNull()) {
        showMessage(QString::fromLatin1(MSG_NO_MEMORY_COPY));
        return;
    }
    QGuiApplication::clipboard()->setImage(picture);
}

// ---------------------------------------------------------------- rows and columns

void CQuiltmarkView::insertLines(bool columns)
{
    if (!numberPrompt)
        return;
    const std::optional<int> n = columns ? numberPrompt(QStringLiteral("Insert Column"), QStringLiteral("Number of Column :"))
                                         : numberPrompt(QStringLiteral("Insert Row"), QStringLiteral("Number of row :"));
    if (!n || *n < 1)
        return;
    if (!columns)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    const LineEdit r = columns ? insertColumnsAt(ws_, undo_, cursor_.x(), *n) : insertRowsAt(ws_, undo_, cursor_.y(), *n);
    if (!columns)
        QApplication::restoreOverrideCursor();
    if (!r.result && columns) {
        showMessage(QString::fromStdString(r.result.text()));
        return;
    }
    if (!r.result)
        showMessage(QString::fromStdString(r.result.text()));
    updateUndoActions();
    mapReset(0);
    markModified();
}

void CQuiltmarkView::deleteLines(bool columns)
{
    if (!rangePrompt)
        return;
    const int cursorLine = columns ? cursor_.x() : cursor_.y();
    const int lastLine = selection_.isEmpty() ? cursorLine : (columns ? selection_.last().x() : selection_.last().y());
    const std::optional<std::pair<int, int>> range =
        rangePrompt(columns ? QStringLiteral("Delete Column") : QStringLiteral("Delete Row"), cursorLine, lastLine);
    if (!range)
        return;
    const LineEdit r = columns ? deleteColumns(ws_, undo_, range->first, range->second)
                               : deleteRows(ws_, undo_, range->first, range->second);
    afterCoreStep();
    if (!r.result)
        showMessage(QString::fromStdString(r.result.text()));
    if (r.lines == 0)
        return;
    const MapGrid& map = ws_.project.map;
    if (columns && cursor_.x() >= map.width)
        cursor_.setX(map.width - 1);
    if (!columns && cursor_.y() >= map.height)
        cursor_.setY(map.height - 1);
    mapReset(0);
    markModified();
}

} // namespace qm::ui
