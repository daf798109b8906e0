#include "ui/tiles/CTileEditor.h"

#include "ui/tiles/TileEditArea.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorClipboard.h"
#include "ui/tiles/TileEditorControls.h"

#include <QApplication>
#include <QColorDialog>
#include <QDockWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

namespace qm::ui {

namespace {

bool isKind(qint64 v)
{
    return v == TILE_BG || v == TILE_OBJ || v == TILE_TAG;
}

} // namespace

CTileEditor::CTileEditor(Workspace& workspace, UndoStore& undoStore, QWidget* parent)
    : QWidget(parent), ws_(workspace), undo_(undoStore)
{
    setObjectName("CTileEditor");
    setFocusPolicy(Qt::StrongFocus);
    showMessage = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    };
    colourPrompt = [this](const QColor& initial) { return QColorDialog::getColor(initial, this); };
    screenHeight = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size().height() : 768;
    };
    ctrlHeld = [] { return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier); };

    limits_ = frameLimits(screenHeight());
    animation_ = new TileEditorAnimation(*this);
    area_ = new TileEditArea(*this);
    controls_ = new TileEditorControls(*this);
    setTool(Tool::Pencil);
    setDrawColour(0);
    rebuildColours();
    setFrameSize(1, 1);
    setCurrentTile(0);
}

CTileEditor::~CTileEditor() = default;

TileSet& CTileEditor::tileSet() const
{
    return *ws_.tiles.tileSet(static_cast<TileKind>(kind_));
}

QToolButton* CTileEditor::button(const QString& name) const
{
    return findChild<QToolButton*>(name, Qt::FindDirectChildrenOnly);
}

// ---- state ------------------------------------------------------------------------

void CTileEditor::setTileSet(int kind)
{
    if (!isKind(kind))
        return;
    const bool changed = kind != kind_;
    kind_ = kind;
    if (changed)
        rebuildColours();
    refreshControls();
    updateCaption();
    area_->update();
}

void CTileEditor::setCurrentTile(int tile)
{
    if (tile < 0 || tile >= TILES_PER_SET)
        return;
    area_->clearPixelSelection();
    frame_.start = tile;
    animation_->setStart(tile);
    updateCaption();
    refreshControls();
    area_->update();
}

void CTileEditor::setFrameStart(int tile)
{
    frame_.start = tile;
    refreshControls();
    area_->update();
}

bool CTileEditor::commentShown() const
{
    return !controls_->commentBox()->isHidden();
}

QRect CTileEditor::areaRect() const
{
    return QRect(geometry_.areaLeft, geometry_.areaTop, geometry_.areaWidth, geometry_.areaHeight);
}

void CTileEditor::setFrameSize(int width, int height)
{
    frame_.width = width;
    frame_.height = height;
    geometry_ = qm::frameGeometry(width, height, limits_.maxHeight);
    area_->clearPixelSelection();
    controls_->showFrameSize(width, height);
    controls_->layout(geometry_, area_);
    animation_->restart();
    area_->update();
}

void CTileEditor::rebuildColours()
{
    colours_ = buildColourTable(ws_.tiles);
    controls_->rebuildPaletteIcons();
    refreshControls();
}

QColor CTileEditor::colourOf(const CTile& tile, int index) const
{
    const int base = kind_ == TILE_OBJ ? 32 : 0;
    const DisplayColour& c = colours_[static_cast<size_t>(base + tile.palette() * 4 + (index & 3))];
    return QColor(c.red, c.green, c.blue);
}

QPixmap CTileEditor::paletteIcon(int palette) const
{
    QPixmap pix(48, 12);
    QPainter p(&pix);
    const int base = kind_ == TILE_OBJ ? 32 : 0;
    for (int i = 0; i < 4; ++i) {
        const DisplayColour& c = colours_[static_cast<size_t>(base + palette * 4 + i)];
        p.fillRect(i * 12, 0, 12, 12, QColor(c.red, c.green, c.blue));
    }
    return pix;
}

void CTileEditor::refreshControls() { controls_->refresh(); }

void CTileEditor::updateCaption()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    setWindowTitle(tile ? QString::fromLatin1(tile->commentText().data(), static_cast<qsizetype>(tile->commentLength))
                        : QString());
}

void CTileEditor::refresh()
{
    refreshControls();
    updateCaption();
    area_->update();
}

// ---- commands -----------------------------------------------------------------------------

bool CTileEditor::report(const Result& result)
{
    if (!result.ok() && showMessage)
        showMessage(QString::fromStdString(result.text()));
    return result.ok();
}

void CTileEditor::stepBegun()
{
    setUndoState(true, false);
    emit undoStepBegun();
}

void CTileEditor::setUndoState(bool canUndo, bool canRedo)
{
    controls_->showUndoState(canUndo, canRedo);
}

void CTileEditor::sendTileChanged(int tile)
{
    emit message(MSG_TILES_CHANGED, kind_ | TILES_CHANGED_KEEP_PAGE, tile);
}

void CTileEditor::sendRange(int first, int last, qint64 flags)
{
    const TileRange range{first, last};
    emit message(MSG_TILES_CHANGED, kind_ | TILES_CHANGED_RANGE | flags, messageParam(&range));
}

void CTileEditor::frameChanged(qint64 extraFlags)
{
    area_->update();
    refreshControls();
    const int last = frame_.lastInSet();
    if (last >= 0)
        sendRange(frame_.start, last, extraFlags);
}

void CTileEditor::sendPaletteChange(const TilePaletteChange& change)
{
    emit message(MSG_TILE_PALETTE_CHANGED, change.newPalette, messageParam(&change));
}

void CTileEditor::setTool(Tool tool)
{
    if (tool != tool_ || tool != Tool::PixelSelector)
        area_->clearPixelSelection();
    tool_ = tool;
    temporaryBucket_ = false;
    controls_->showTool(tool);
}

void CTileEditor::setDrawColour(int colour)
{
    drawColour_ = colour & 3;
    controls_->showDrawColour(drawColour_);
    refreshControls();
}

void CTileEditor::setGridShown(bool on)
{
    gridShown_ = on;
    controls_->showGrid(on);
    area_->update();
}

void CTileEditor::chooseGridColour()
{
    if (!colourPrompt)
        return;
    const QColor c = colourPrompt(gridLineColour_);
    if (!c.isValid())
        return;
    gridLineColour_ = c;
    area_->update();
}

void CTileEditor::scroll(ScrollDirection direction, bool eachTile)
{
    if (!report(scrollFrame(tileSet(), undo_, frame_, direction, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CTileEditor::flip(bool horizontal, bool eachTile)
{
    if (!report(flipFrame(tileSet(), undo_, frame_, horizontal, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CTileEditor::rotate(bool eachTile)
{
    if (!report(rotateFrame(tileSet(), undo_, frame_, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CTileEditor::choosePalette(int palette)
{
    const Result r = setFramePalette(tileSet(), undo_, frame_, palette,
                                     [this](const TilePaletteChange& c) { sendPaletteChange(c); });
    if (!report(r))
        return;
    stepBegun();
    rebuildColours();
    area_->update();
}

void CTileEditor::setTilePaletteOf(int tile, int palette)
{
    bool changed = false;
    const Result r = setTilePalette(tileSet(), undo_, tile, palette, [this, &changed](const TilePaletteChange& c) {
        changed = true;
        sendPaletteChange(c);
    });
    if (!report(r) || !changed)
        return;
    stepBegun();
    refreshControls();
    area_->update();
}

void CTileEditor::stepFrameWidth(int delta)
{
    const int w = frame_.width + delta;
    if (w >= 1 && w <= limits_.maxWidth)
        setFrameSize(w, frame_.height);
}

void CTileEditor::stepFrameHeight(int delta)
{
    limits_ = frameLimits(screenHeight());
    const int h = frame_.height + delta;
    if (h >= 1 && h <= limits_.maxHeight)
        setFrameSize(frame_.width, h);
}

void CTileEditor::typeFrameWidth(const QString& text) { typeFrameSize(text, true); }

void CTileEditor::typeFrameHeight(const QString& text) { typeFrameSize(text, false); }

void CTileEditor::typeFrameSize(const QString& text, bool width)
{
    limits_ = frameLimits(screenHeight());
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    const int now = width ? frame_.width : frame_.height;
    if (ok && v == now)
        return;
    // A refused size puts the box back before the message takes the focus.
    controls_->showFrameSize(frame_.width, frame_.height);
    if (!ok || v == 0)
        return;
    if (const auto error = frameSizeError(v, width ? limits_.maxWidth : limits_.maxHeight, width)) {
        if (showMessage)
            showMessage(QString::fromStdString(*error));
        return;
    }
    setFrameSize(width ? v : frame_.width, width ? frame_.height : v);
}

void CTileEditor::openComment()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    QLineEdit* box = controls_->commentBox();
    box->setText(tile ? QString::fromLatin1(tile->commentText().data(), tile->commentLength) : QString());
    box->show();
    box->raise();
    box->setFocus();
}

void CTileEditor::closeComment()
{
    QLineEdit* box = controls_->commentBox();
    if (box->isHidden())
        return;
    box->hide();
    setFocus();
}

void CTileEditor::editComment(const QString& text)
{
    setFrameComment(tileSet(), frame_, text.toLatin1().toStdString());
    ws_.project.setChanged(kind_ == TILE_BG    ? CHANGED_BG_TILES
                           : kind_ == TILE_OBJ ? CHANGED_OBJ_TILES
                                               : CHANGED_BG_TILES | CHANGED_OBJ_TILES);
    updateCaption();
}

void CTileEditor::copy() { copyTileEditorFrame(*this); }

void CTileEditor::cut() { cutTileEditorFrame(*this); }

void CTileEditor::paste() { pasteIntoTileEditor(*this); }

// ---- messages ------------------------------------------------------------------------------

void CTileEditor::handleMessage(AppMessage msg, qint64 wParam, qint64 lParam)
{
    switch (msg) {
    case MSG_CURRENT_TILE_CHANGED:
        if (isKind(wParam))
            setTileSet(static_cast<int>(wParam));
        setCurrentTile(static_cast<int>(lParam));
        break;
    case MSG_TILE_DOUBLE_CLICKED:
        if (isKind(lParam))
            setTileSet(static_cast<int>(lParam));
        setCurrentTile(static_cast<int>(wParam));
        break;
    case MSG_COLOURS_CHANGED:
        rebuildColours();
        area_->update();
        break;
    case MSG_TILE_PALETTE_CHANGED:
    case MSG_TILES_CHANGED:
        refresh();
        break;
    default:
        break;
    }
}

// ---- keys and closing ---------------------------------------------------------------------------

bool CTileEditor::event(QEvent* event)
{
    // Inside the main window its menu keys would take the editor's own keys.
    if (event->type() == QEvent::ShortcutOverride && handleKey(static_cast<QKeyEvent*>(event), false)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CTileEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control) {
        if (tool_ == Tool::Pencil)
            temporaryBucket_ = true;
        return;
    }
    if (!handleKey(event, true))
        QWidget::keyPressEvent(event);
}

bool CTileEditor::handleKey(const QKeyEvent* event, bool run)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    std::function<void()> command;
    if (mods == Qt::ShiftModifier) {
        switch (key) {
        case Qt::Key_Left: command = [this] { scroll(ScrollDirection::Left, false); }; break;
        case Qt::Key_Up: command = [this] { scroll(ScrollDirection::Up, false); }; break;
        case Qt::Key_Right: command = [this] { scroll(ScrollDirection::Right, false); }; break;
        case Qt::Key_Down: command = [this] { scroll(ScrollDirection::Down, false); }; break;
        case Qt::Key_H: command = [this] { flip(true, false); }; break;
        case Qt::Key_V: command = [this] { flip(false, false); }; break;
        case Qt::Key_R: command = [this] { rotate(false); }; break;
        case Qt::Key_K: command = [this] { setTool(Tool::Bucket); }; break;
        case Qt::Key_Y: command = [this] { setTool(Tool::Pencil); }; break;
        default: break;
        }
    } else if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C: command = [this] { copy(); }; break;
        case Qt::Key_V: command = [this] { paste(); }; break;
        case Qt::Key_Z: command = [this] { emit undoRequested(); }; break;
        case Qt::Key_Y: command = [this] { emit redoRequested(); }; break;
        case Qt::Key_S: command = [this] { emit saveRequested(); }; break;
        default: break;
        }
    } else if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Escape:
            command = [this] {
                if (commentShown())
                    closeComment();
                else if (auto* dock = qobject_cast<QDockWidget*>(parentWidget()))
                    dock->close(); // the bar closes with its dock
                else
                    close();
            };
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            command = [this, key] { emit managerArrowKey(key); };
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command = [] {}; // taken, and ignored
            break;
        default:
            break;
        }
    }
    if (command && run)
        command();
    return bool(command);
}

void CTileEditor::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control && temporaryBucket_) {
        temporaryBucket_ = false;
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CTileEditor::closeEvent(QCloseEvent* event)
{
    animation_->stop();
    closeComment();
    QWidget::closeEvent(event);
}

void CTileEditor::hideEvent(QHideEvent* event)
{
    animation_->stop();
    closeComment();
    area_->stopDragging();
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit closed();
}

void CTileEditor::showEvent(QShowEvent* event)
{
    // Palettes may have changed while the editor was hidden.
    rebuildColours();
    refresh();
    QWidget::showEvent(event);
}

bool CTileEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == controls_->gridButton() && event->type() == QEvent::MouseButtonDblClick) {
        chooseGridColour();
        return true;
    }
    if (watched == controls_->commentBox()) {
        if (event->type() == QEvent::FocusOut) {
            closeComment();
        } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            closeComment();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qm::ui
