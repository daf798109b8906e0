#include "ui/tiles/CInitDialogBar.h"

#include "core/edit/PicturePaste.h"
#include "core/edit/TileDesignerClip.h"
#include "ui/tiles/TileEditArea.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace qm::ui {

namespace {

constexpr int BUTTON = 20;

bool isKind(qint64 v)
{
    return v == TILE_BG || v == TILE_OBJ || v == TILE_TAG;
}

QByteArray toBytes(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::span<const std::uint8_t> asSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())};
}

// The picture's pixel values and their width in bits, as a bitmap of the
// clipboard would carry them. 32-bit pictures count as 24 bits: their colour
// is taken and the alpha channel left aside.
PictureData pictureFrom(const QImage& image)
{
    PictureData pic;
    pic.width = image.width();
    pic.height = image.height();
    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        pic.bitsPerPixel = 8;
        break;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
    case QImage::Format_ARGB4444_Premultiplied:
        pic.bitsPerPixel = 16;
        break;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        pic.bitsPerPixel = 24;
        break;
    default:
        pic.bitsPerPixel = image.depth();
        return pic;
    }
    pic.values.resize(static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height));
    for (int y = 0; y < pic.height; ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < pic.width; ++x) {
            std::uint32_t v = 0;
            if (pic.bitsPerPixel == 8)
                v = line[x];
            else if (pic.bitsPerPixel == 16)
                v = reinterpret_cast<const quint16*>(line)[x];
            else
                v = image.pixel(x, y) & 0xFFFFFF;
            pic.values[static_cast<size_t>(y) * pic.width + x] = v;
        }
    }
    return pic;
}

} // namespace

CInitDialogBar::CInitDialogBar(Workspace& workspace, UndoStore& undoStore, QWidget* parent)
    : QWidget(parent, Qt::Tool), ws_(workspace), undo_(undoStore)
{
    setObjectName("TileDesigner");
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

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &CInitDialogBar::animationTick);

    limits_ = frameLimits(screenHeight());
    buildControls();
    rebuildColours();
    setFrameSize(1, 1);
    setCurrentTile(0);
}

CInitDialogBar::~CInitDialogBar() = default;

TileSet& CInitDialogBar::tileSet()
{
    return *ws_.tiles.tileSet(static_cast<TileKind>(kind_));
}

// ---- controls ----------------------------------------------------------------------

QToolButton* CInitDialogBar::addButton(const QString& name, const QString& tip, const QString& text, int x, int y)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setText(text);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, y, BUTTON, BUTTON);
    return b;
}

void CInitDialogBar::buildControls()
{
    int x = 4;
    const auto next = [&x] {
        const int at = x;
        x += BUTTON + 1;
        return at;
    };
    QToolButton* pen = addButton("PEN", "Pencil Tool", QStringLiteral("✎"), next(), 2);
    QToolButton* bucket = addButton("BUCKET", "Bucket fill tool", QStringLiteral("◍"), next(), 2);
    QToolButton* selector = addButton("SELECTOR", "Pixel Selector", QStringLiteral("⬚"), next(), 2);
    for (QToolButton* b : {pen, bucket, selector})
        b->setCheckable(true);
    connect(pen, &QToolButton::clicked, this, [this] { setTool(Tool::Pencil); });
    connect(bucket, &QToolButton::clicked, this, [this] { setTool(Tool::Bucket); });
    connect(selector, &QToolButton::clicked, this, [this] { setTool(Tool::PixelSelector); });
    x += 4;
    connect(addButton("SCROLLUP", "Scroll Up", QStringLiteral("↑"), next(), 2), &QToolButton::clicked, this,
            [this] { scroll(ScrollDirection::Up, ctrl()); });
    connect(addButton("SCROLLDOWN", "Scroll Down", QStringLiteral("↓"), next(), 2), &QToolButton::clicked, this,
            [this] { scroll(ScrollDirection::Down, ctrl()); });
    connect(addButton("SCROLLLEFT", "Scroll Left", QStringLiteral("←"), next(), 2), &QToolButton::clicked, this,
            [this] { scroll(ScrollDirection::Left, ctrl()); });
    connect(addButton("SCROLLRIGHT", "Scroll Right", QStringLiteral("→"), next(), 2), &QToolButton::clicked, this,
            [this] { scroll(ScrollDirection::Right, ctrl()); });
    connect(addButton("FLIPV", "Flip Vertical", QStringLiteral("↕"), next(), 2), &QToolButton::clicked, this,
            [this] { flip(false, ctrl()); });
    connect(addButton("FLIPH", "Flip Horizontal", QStringLiteral("↔"), next(), 2), &QToolButton::clicked, this,
            [this] { flip(true, ctrl()); });
    connect(addButton("ROTATE", "Rotate", QStringLiteral("↻"), next(), 2), &QToolButton::clicked, this,
            [this] { rotate(ctrl()); });

    x = 4;
    QToolButton* grid = addButton("GRID", "Toggle grid", QStringLiteral("#"), next(), 23);
    grid->setCheckable(true);
    grid->setChecked(true);
    grid->installEventFilter(this);
    connect(grid, &QToolButton::clicked, this, [this](bool on) { setGridShown(on); });
    connect(addButton("COMMENT", "Tile Comment", QStringLiteral("✉"), next(), 23), &QToolButton::clicked, this,
            &CInitDialogBar::openComment);
    QToolButton* undo = addButton("UNDO", "Undo", QStringLiteral("↶"), next(), 23);
    QToolButton* redo = addButton("REDO", "Redo", QStringLiteral("↷"), next(), 23);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo, &QToolButton::clicked, this, &CInitDialogBar::undoRequested);
    connect(redo, &QToolButton::clicked, this, &CInitDialogBar::redoRequested);
    x += 4;
    connect(addButton("BACKWARD", "Back Up Frame", QStringLiteral("«"), next(), 23), &QToolButton::clicked, this,
            &CInitDialogBar::backFrame);
    connect(addButton("STOP", "Stop Animation", QStringLiteral("■"), next(), 23), &QToolButton::clicked, this,
            &CInitDialogBar::stopAnimation);
    connect(addButton("PLAY", "Play Animation", QStringLiteral("▶"), next(), 23), &QToolButton::clicked, this,
            &CInitDialogBar::play);
    connect(addButton("FORWARD", "Forward Frame", QStringLiteral("»"), next(), 23), &QToolButton::clicked, this,
            &CInitDialogBar::forwardFrame);

    for (int i = 0; i < 4; ++i) {
        QToolButton* box = addButton(QStringLiteral("COLOUR%1").arg(i), QString(), QString(), 3, 45 + i * 20);
        box->setFixedSize(16, 16);
        box->setCheckable(true);
        connect(box, &QToolButton::clicked, this, [this, i] { setDrawColour(i); });
        colourBoxes_.push_back(box);
    }

    area_ = new TileEditArea(this);
    area_->setFocusPolicy(Qt::ClickFocus);
    area_->paint = [this](QPainter& p) { paintArea(p); };
    area_->pressed = [this](QMouseEvent* e) { areaPressed(e); };
    area_->moved = [this](QMouseEvent* e) { areaMoved(e); };
    area_->released = [this](QMouseEvent* e) { areaReleased(e); };
    area_->contextMenu = [this](QContextMenuEvent* e) { areaContextMenu(e); };

    commentBox_ = new QLineEdit(this);
    commentBox_->setObjectName("COMMENTBOX");
    commentBox_->setMaxLength(CTile::MAX_COMMENT);
    commentBox_->hide();
    commentBox_->installEventFilter(this);
    connect(commentBox_, &QLineEdit::textEdited, this, [this](const QString& text) {
        TileSet& set = tileSet();
        setFrameComment(set, frame_, text.toLatin1().toStdString());
        ws_.project.setChanged(kind_ == TILE_BG    ? CHANGED_BG_TILES
                               : kind_ == TILE_OBJ ? CHANGED_OBJ_TILES
                                                   : CHANGED_BG_TILES | CHANGED_OBJ_TILES);
        updateCaption();
    });

    tileLabel_ = new QLabel(this);
    tileLabel_->setObjectName("TILENUMBER");
    paletteLabel_ = new QLabel(this);
    paletteLabel_->setObjectName("PALETTENUMBER");
    paletteList_ = new QComboBox(this);
    paletteList_->setObjectName("PALETTES");
    paletteList_->setFocusPolicy(Qt::NoFocus);
    paletteList_->setIconSize(QSize(48, 12));
    for (int p = 0; p < 8; ++p)
        paletteList_->addItem(QString::number(p));
    connect(paletteList_, &QComboBox::activated, this, [this](int p) { choosePalette(p); });

    const auto box = [this](const QString& name, const QString& label, const QString& tip, const QString& text) {
        auto* l = new QLabel(label, this);
        auto* e = new QLineEdit(text, this);
        e->setObjectName(name);
        e->setToolTip(tip);
        e->setValidator(new QIntValidator(0, 99999, e));
        bottomRow_ << l << e;
        return e;
    };
    widthBox_ = box("WIDTH", "w:", "Frame Width", "1");
    bottomRow_ << addButton("WIDTHUP", "Frame Width", QStringLiteral("▴"), 0, 0)
               << addButton("WIDTHDOWN", "Frame Width", QStringLiteral("▾"), 0, 0);
    heightBox_ = box("HEIGHT", "h:", "Frame Height", "1");
    bottomRow_ << addButton("HEIGHTUP", "Frame Height", QStringLiteral("▴"), 0, 0)
               << addButton("HEIGHTDOWN", "Frame Height", QStringLiteral("▾"), 0, 0);
    framesBox_ = box("FRAMES", "Play", "Animation Frame", "1");
    speedBox_ = box("SPEED", "S:", "Speed(Frame rate)", "100");
    connect(button("WIDTHUP"), &QToolButton::clicked, this, [this] { stepFrameWidth(1); });
    connect(button("WIDTHDOWN"), &QToolButton::clicked, this, [this] { stepFrameWidth(-1); });
    connect(button("HEIGHTUP"), &QToolButton::clicked, this, [this] { stepFrameHeight(1); });
    connect(button("HEIGHTDOWN"), &QToolButton::clicked, this, [this] { stepFrameHeight(-1); });
    connect(widthBox_, &QLineEdit::textEdited, this, &CInitDialogBar::typeFrameWidth);
    connect(heightBox_, &QLineEdit::textEdited, this, &CInitDialogBar::typeFrameHeight);
    connect(framesBox_, &QLineEdit::textEdited, this, [this] { stopAnimation(); });

    setTool(Tool::Pencil);
    setDrawColour(0);
}

QToolButton* CInitDialogBar::button(const QString& name) const
{
    return findChild<QToolButton*>(name, Qt::FindDirectChildrenOnly);
}

void CInitDialogBar::layoutBar()
{
    const FrameGeometry& g = geometry_;
    area_->setGeometry(g.areaLeft, g.areaTop, g.areaWidth, g.areaHeight);
    commentBox_->setGeometry(g.areaLeft, g.areaTop, std::max(g.areaWidth, 160), 22);
    const int bottom = g.barHeight;
    paletteList_->setGeometry(120, bottom - 51, 96, 22);
    tileLabel_->setGeometry(4, bottom - 43, 64, 16);
    paletteLabel_->setGeometry(70, bottom - 43, 46, 16);
    int x = 4;
    const int y = bottom - 24;
    for (QWidget* w : bottomRow_) {
        int width = 22;
        if (qobject_cast<QLabel*>(w))
            width = static_cast<QLabel*>(w)->text() == "Play" ? 22 : 12;
        else if (qobject_cast<QToolButton*>(w))
            width = 11;
        else if (w == speedBox_)
            width = 30;
        const bool upper = w->objectName().endsWith("UP");
        const bool lower = w->objectName().endsWith("DOWN");
        if (upper)
            w->setGeometry(x, y, width, 10);
        else if (lower)
            w->setGeometry(x, y + 10, width, 10);
        else
            w->setGeometry(x, y, width, 20);
        if (!upper)
            x += width + 1;
    }
    setFixedSize(g.barWidth, g.barHeight);
}

// ---- state ------------------------------------------------------------------------

void CInitDialogBar::setTileSet(int kind)
{
    if (!isKind(kind))
        return;
    const bool changed = kind != kind_;
    kind_ = kind;
    if (changed)
        rebuildColours();
    updatePaletteList();
    updateLabels();
    updateCaption();
    area_->update();
}

void CInitDialogBar::setCurrentTile(int tile)
{
    if (tile < 0 || tile >= TILES_PER_SET)
        return;
    selection_.reset();
    frame_.start = tile;
    animationStart_ = tile;
    updateCaption();
    updatePaletteList();
    updateLabels();
    area_->update();
}

bool CInitDialogBar::commentShown() const
{
    return !commentBox_->isHidden();
}

bool CInitDialogBar::animationRunning() const
{
    return timer_->isActive();
}

QRect CInitDialogBar::areaRect() const
{
    return QRect(geometry_.areaLeft, geometry_.areaTop, geometry_.areaWidth, geometry_.areaHeight);
}

void CInitDialogBar::setFrameSize(int width, int height)
{
    frame_.width = width;
    frame_.height = height;
    geometry_ = qm::frameGeometry(width, height, limits_.maxHeight);
    selection_.reset();
    widthBox_->setText(QString::number(width));
    heightBox_->setText(QString::number(height));
    layoutBar();
    area_->update();
}

void CInitDialogBar::rebuildColours()
{
    colours_ = buildColourTable(ws_.tiles);
    for (int p = 0; p < 8; ++p)
        paletteList_->setItemIcon(p, QIcon(paletteIcon(p)));
    updatePaletteList();
}

QColor CInitDialogBar::colourOf(const CTile& tile, int index) const
{
    const int base = kind_ == TILE_OBJ ? 32 : 0;
    const DisplayColour& c = colours_[static_cast<size_t>(base + tile.palette() * 4 + (index & 3))];
    return QColor(c.red, c.green, c.blue);
}

QPixmap CInitDialogBar::paletteIcon(int palette) const
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

void CInitDialogBar::updatePaletteList()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    const int palette = tile ? tile->palette() : 0;
    {
        const QSignalBlocker block(paletteList_);
        paletteList_->setCurrentIndex(palette);
    }
    for (int i = 0; i < colourBoxes_.size(); ++i) {
        auto* box = static_cast<QToolButton*>(colourBoxes_[i]);
        const QColor c = tile ? colourOf(*tile, i) : QColor(Qt::black);
        box->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: %2px solid %3; }")
                               .arg(c.name())
                               .arg(i == drawColour_ ? 2 : 1)
                               .arg(i == drawColour_ ? "red" : "black"));
    }
    updateLabels();
}

void CInitDialogBar::updateLabels()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    tileLabel_->setText(QStringLiteral("Tile #: %1").arg(frame_.start % TILES_PER_BANK));
    paletteLabel_->setText(QStringLiteral("Pal: %1").arg(tile ? tile->palette() : 0));
}

void CInitDialogBar::updateCaption()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    setWindowTitle(tile ? QString::fromLatin1(tile->commentText().data(), static_cast<qsizetype>(tile->commentLength))
                        : QString());
}

void CInitDialogBar::refresh()
{
    updatePaletteList();
    updateCaption();
    area_->update();
}

// ---- drawing ------------------------------------------------------------------------

QImage CInitDialogBar::renderArea() const
{
    QImage image(geometry_.areaWidth, geometry_.areaHeight, QImage::Format_RGB32);
    QPainter p(&image);
    paintArea(p);
    return image;
}

void CInitDialogBar::paintArea(QPainter& p) const
{
    const TileSet& set = *ws_.tiles.tileSet(static_cast<TileKind>(kind_));
    const int w = frame_.pixelWidth();
    const int h = frame_.pixelHeight();
    QImage pic(w, h, QImage::Format_RGB32);
    CTile blank;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int index = frame_.tileAt(y / 8, x / 8);
            const CTile* tile = set.tileAt(index);
            const CTile& shown = tile ? *tile : blank;
            pic.setPixel(x, y, colourOf(shown, tile ? shown.pixel(x % 8, y % 8) : 0).rgb());
        }
    }
    const int z = geometry_.zoom;
    p.drawImage(QRect(0, 0, w * z, h * z), pic);
    if (gridShown_) {
        for (int x = 1; x < w; ++x)
            p.fillRect(x * z - (x % 8 ? 0 : 1), 0, x % 8 ? 1 : 2, h * z, gridLineColour_);
        for (int y = 1; y < h; ++y)
            p.fillRect(0, y * z - (y % 8 ? 0 : 1), w * z, y % 8 ? 1 : 2, gridLineColour_);
    }
    if (selection_) {
        const PixelRect r = PixelRect::fromCorners(selection_->first.x(), selection_->first.y(),
                                                   selection_->second.x(), selection_->second.y());
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(r.left * z, r.top * z, r.width() * z, r.height() * z), Qt::white);
        p.restore();
    }
}

// ---- mouse ------------------------------------------------------------------------------

std::optional<QPoint> CInitDialogBar::pixelAt(QPoint pos) const
{
    const int z = geometry_.zoom;
    if (pos.x() < 0 || pos.y() < 0)
        return std::nullopt;
    const int column = pos.x() / (z * 8);
    const int row = pos.y() / (z * 8);
    if (column >= frame_.width || row >= frame_.height)
        return std::nullopt;
    const int px = (pos.x() - column * z * 8) / z;
    const int py = (pos.y() - row * z * 8) / z;
    return QPoint(column * 8 + px, row * 8 + py);
}

void CInitDialogBar::areaPressed(QMouseEvent* event)
{
    emit activated();
    if (event->button() != Qt::LeftButton)
        return;
    closeComment();
    const auto at = pixelAt(event->position().toPoint());
    if (!at || frameTileAtPixel(frame_, at->x(), at->y()) < 0)
        return;
    TileSet& set = tileSet();
    const auto colour = static_cast<std::uint8_t>(drawColour_);
    const bool bucket = tool_ == Tool::Bucket ||
                        (tool_ == Tool::Pencil && (temporaryBucket_ || event->modifiers().testFlag(Qt::ControlModifier)));
    if (bucket) {
        const EditOutcome out = bucketFill(set, undo_, frame_, at->x(), at->y(), colour);
        if (!report(out.result) || !out.changed)
            return;
        stepBegun();
        frameChanged(TILES_CHANGED_KEEP_PAGE);
        return;
    }
    if (tool_ == Tool::Pencil) {
        const EditOutcome out = pencilPress(set, undo_, frame_, at->x(), at->y(), colour);
        if (!report(out.result) || !out.changed)
            return;
        stepBegun();
        painting_ = true;
        area_->update();
        sendTileChanged(frameTileAtPixel(frame_, at->x(), at->y()));
        return;
    }
    setPixelSelection(*at, *at);
    selecting_ = true;
}

void CInitDialogBar::areaMoved(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    if (selecting_ && selection_) {
        const QPoint clamped(std::clamp(pos.x(), 0, geometry_.areaWidth - 1),
                             std::clamp(pos.y(), 0, geometry_.areaHeight - 1));
        if (const auto at = pixelAt(clamped)) {
            selection_->second = *at;
            area_->update();
        }
        return;
    }
    if (!painting_)
        return;
    const auto at = pixelAt(pos);
    if (!at)
        return;
    if (setFramePixel(tileSet(), frame_, at->x(), at->y(), static_cast<std::uint8_t>(drawColour_))) {
        area_->update();
        sendTileChanged(frameTileAtPixel(frame_, at->x(), at->y()));
    }
}

void CInitDialogBar::areaReleased(QMouseEvent*)
{
    painting_ = false;
    selecting_ = false;
}

QMenu* CInitDialogBar::buildContextMenu(int tile)
{
    auto* menu = new QMenu(this);
    QMenu* palettes = menu->addMenu(QStringLiteral("Palettes"));
    for (int p = 0; p < 8; ++p) {
        QAction* a = palettes->addAction(QIcon(paletteIcon(p)), QString::number(p));
        connect(a, &QAction::triggered, this, [this, tile, p] { setTilePaletteOf(tile, p); });
    }
    return menu;
}

void CInitDialogBar::areaContextMenu(QContextMenuEvent* event)
{
    const auto at = pixelAt(event->pos());
    if (!at)
        return;
    const int tile = frameTileAtPixel(frame_, at->x(), at->y());
    if (tile < 0)
        return;
    QMenu* menu = buildContextMenu(tile);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// ---- commands -----------------------------------------------------------------------------

bool CInitDialogBar::ctrl() const
{
    return ctrlHeld && ctrlHeld();
}

bool CInitDialogBar::report(const Result& result)
{
    if (!result.ok() && showMessage)
        showMessage(QString::fromStdString(result.text()));
    return result.ok();
}

void CInitDialogBar::stepBegun()
{
    setUndoState(true, false);
    emit undoStepBegun();
}

void CInitDialogBar::setUndoState(bool canUndo, bool canRedo)
{
    button("UNDO")->setEnabled(canUndo);
    button("REDO")->setEnabled(canRedo);
}

void CInitDialogBar::sendTileChanged(int tile)
{
    emit message(MSG_TILES_CHANGED, kind_ | TILES_CHANGED_KEEP_PAGE, tile);
}

void CInitDialogBar::sendRange(int first, int last, qint64 flags)
{
    const TileRange range{first, last};
    emit message(MSG_TILES_CHANGED, kind_ | TILES_CHANGED_RANGE | flags, messageParam(&range));
}

void CInitDialogBar::frameChanged(qint64 extraFlags)
{
    area_->update();
    updatePaletteList();
    const int last = frame_.lastInSet();
    if (last >= 0)
        sendRange(frame_.start, last, extraFlags);
}

void CInitDialogBar::sendPaletteChange(const TilePaletteChange& change)
{
    emit message(MSG_TILE_PALETTE_CHANGED, change.newPalette, messageParam(&change));
}

void CInitDialogBar::setTool(Tool tool)
{
    if (tool != tool_ || tool != Tool::PixelSelector)
        clearPixelSelection();
    tool_ = tool;
    temporaryBucket_ = false;
    button("PEN")->setChecked(tool == Tool::Pencil);
    button("BUCKET")->setChecked(tool == Tool::Bucket);
    button("SELECTOR")->setChecked(tool == Tool::PixelSelector);
}

void CInitDialogBar::setDrawColour(int colour)
{
    drawColour_ = colour & 3;
    for (int i = 0; i < colourBoxes_.size(); ++i)
        static_cast<QToolButton*>(colourBoxes_[i])->setChecked(i == drawColour_);
    updatePaletteList();
}

void CInitDialogBar::setGridShown(bool on)
{
    gridShown_ = on;
    button("GRID")->setChecked(on);
    area_->update();
}

void CInitDialogBar::chooseGridColour()
{
    if (!colourPrompt)
        return;
    const QColor c = colourPrompt(gridLineColour_);
    if (!c.isValid())
        return;
    gridLineColour_ = c;
    area_->update();
}

void CInitDialogBar::scroll(ScrollDirection direction, bool eachTile)
{
    if (!report(scrollFrame(tileSet(), undo_, frame_, direction, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CInitDialogBar::flip(bool horizontal, bool eachTile)
{
    if (!report(flipFrame(tileSet(), undo_, frame_, horizontal, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CInitDialogBar::rotate(bool eachTile)
{
    if (!report(rotateFrame(tileSet(), undo_, frame_, eachTile)))
        return;
    stepBegun();
    frameChanged();
}

void CInitDialogBar::choosePalette(int palette)
{
    const Result r = setFramePalette(tileSet(), undo_, frame_, palette,
                                     [this](const TilePaletteChange& c) { sendPaletteChange(c); });
    if (!report(r))
        return;
    stepBegun();
    rebuildColours();
    area_->update();
}

void CInitDialogBar::setTilePaletteOf(int tile, int palette)
{
    bool changed = false;
    const Result r = setTilePalette(tileSet(), undo_, tile, palette, [this, &changed](const TilePaletteChange& c) {
        changed = true;
        sendPaletteChange(c);
    });
    if (!report(r) || !changed)
        return;
    stepBegun();
    updatePaletteList();
    area_->update();
}

void CInitDialogBar::stepFrameWidth(int delta)
{
    const int w = frame_.width + delta;
    if (w >= 1 && w <= limits_.maxWidth)
        setFrameSize(w, frame_.height);
}

void CInitDialogBar::stepFrameHeight(int delta)
{
    limits_ = frameLimits(screenHeight());
    const int h = frame_.height + delta;
    if (h >= 1 && h <= limits_.maxHeight)
        setFrameSize(frame_.width, h);
}

void CInitDialogBar::typeFrameWidth(const QString& text)
{
    limits_ = frameLimits(screenHeight());
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v == 0)
        return;
    if (const auto error = frameSizeError(v, limits_.maxWidth, true)) {
        if (showMessage)
            showMessage(QString::fromStdString(*error));
        widthBox_->setText(QString::number(frame_.width));
        return;
    }
    setFrameSize(v, frame_.height);
}

void CInitDialogBar::typeFrameHeight(const QString& text)
{
    limits_ = frameLimits(screenHeight());
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v == 0)
        return;
    if (const auto error = frameSizeError(v, limits_.maxHeight, false)) {
        if (showMessage)
            showMessage(QString::fromStdString(*error));
        heightBox_->setText(QString::number(frame_.height));
        return;
    }
    setFrameSize(frame_.width, v);
}

void CInitDialogBar::openComment()
{
    const CTile* tile = tileSet().tileAt(frame_.start);
    commentBox_->setText(tile ? QString::fromLatin1(tile->commentText().data(), tile->commentLength) : QString());
    commentBox_->show();
    commentBox_->raise();
    commentBox_->setFocus();
}

void CInitDialogBar::closeComment()
{
    if (commentBox_->isHidden())
        return;
    commentBox_->hide();
    setFocus();
}

void CInitDialogBar::play()
{
    bool ok = false;
    const int s = speedBox_->text().toInt(&ok);
    speed_ = ok && s > 0 ? s : speed_;
    const int n = framesBox_->text().toInt(&ok);
    frameCount_ = ok && n > 0 ? n : frameCount_;
    stopAnimation();
    setGridShown(false);
    frame_.start = animation_.play(animationStart_, frame_.size(), frameCount_);
    updatePaletteList();
    area_->update();
    timer_->start(speed_);
}

void CInitDialogBar::stopAnimation()
{
    timer_->stop();
    animation_.stop();
}

void CInitDialogBar::animationTick()
{
    frame_.start = animation_.tick();
    updatePaletteList();
    area_->update();
}

void CInitDialogBar::backFrame()
{
    if (const auto tile = previousFrameTile(animationStart_, frame_.size()))
        emit currentTileRequested(*tile);
}

void CInitDialogBar::forwardFrame()
{
    if (const auto tile = nextFrameTile(animationStart_, frame_.size()))
        emit currentTileRequested(*tile);
}

void CInitDialogBar::setPixelSelection(QPoint first, QPoint second)
{
    selection_ = Selection{first, second};
    area_->update();
}

void CInitDialogBar::clearPixelSelection()
{
    selection_.reset();
    selecting_ = false;
    area_->update();
}

// ---- clipboard -------------------------------------------------------------------------

void CInitDialogBar::copy()
{
    std::vector<std::uint8_t> bytes;
    QString format;
    if (tool_ == Tool::PixelSelector) {
        if (!selection_)
            return;
        const PixelRect r = PixelRect::fromCorners(selection_->first.x(), selection_->first.y(),
                                                   selection_->second.x(), selection_->second.y());
        bytes = encodeTileDesignerPixel(tileSet(), frame_, r);
        format = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER_PIXEL.data(), CLIPBOARD_TILE_DESIGNER_PIXEL.size());
    } else {
        bytes = encodeTileDesigner(tileSet(), frame_);
        format = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER.data(), CLIPBOARD_TILE_DESIGNER.size());
    }
    auto* data = new QMimeData;
    data->setData(format, toBytes(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CInitDialogBar::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const QString tileFormat = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER.data(), CLIPBOARD_TILE_DESIGNER.size());
    const QString pixelFormat =
        QString::fromLatin1(CLIPBOARD_TILE_DESIGNER_PIXEL.data(), CLIPBOARD_TILE_DESIGNER_PIXEL.size());
    TileSet& set = tileSet();
    if (data->hasFormat(tileFormat)) {
        const QByteArray bytes = data->data(tileFormat);
        const auto entries = decodeTileClip(asSpan(bytes));
        if (!entries || !report(pasteTileDesigner(set, undo_, frame_, *entries)))
            return;
    } else if (data->hasFormat(pixelFormat)) {
        if (tool_ != Tool::PixelSelector || !selection_)
            return;
        const QByteArray bytes = data->data(pixelFormat);
        const auto clip = decodeTileDesignerPixel(asSpan(bytes));
        if (!clip || !report(pasteTileDesignerPixel(set, undo_, frame_, selection_->first.x(),
                                                    selection_->first.y(), *clip)))
            return;
    } else if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        const PicturePasteResult r = pastePicture(set, undo_, frame_.start, pictureFrom(image));
        if (!report(r.result) || r.firstTile < 0)
            return;
        stepBegun();
        // The picture may reach beyond the frame: announce every tile it touched.
        area_->update();
        updatePaletteList();
        sendRange(frame_.start, std::max(r.lastTile, frame_.lastInSet()), 0);
        return;
    } else {
        return;
    }
    stepBegun();
    updateCaption();
    frameChanged();
}

// ---- messages ------------------------------------------------------------------------------

void CInitDialogBar::handleMessage(AppMessage msg, qint64 wParam, qint64 lParam)
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

void CInitDialogBar::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (key == Qt::Key_Control) {
        if (tool_ == Tool::Pencil)
            temporaryBucket_ = true;
        return;
    }
    if (mods == Qt::ShiftModifier) {
        switch (key) {
        case Qt::Key_Left: scroll(ScrollDirection::Left, false); return;
        case Qt::Key_Up: scroll(ScrollDirection::Up, false); return;
        case Qt::Key_Right: scroll(ScrollDirection::Right, false); return;
        case Qt::Key_Down: scroll(ScrollDirection::Down, false); return;
        case Qt::Key_H: flip(true, false); return;
        case Qt::Key_V: flip(false, false); return;
        case Qt::Key_R: rotate(false); return;
        case Qt::Key_K: setTool(Tool::Bucket); return;
        case Qt::Key_Y: setTool(Tool::Pencil); return;
        default: break;
        }
    }
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C: copy(); return;
        case Qt::Key_V: paste(); return;
        case Qt::Key_Z: emit undoRequested(); return;
        case Qt::Key_Y: emit redoRequested(); return;
        case Qt::Key_S: emit saveRequested(); return;
        default: break;
        }
    }
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Escape:
            if (!commentBox_->isHidden())
                closeComment();
            else
                close();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            emit managerArrowKey(key);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void CInitDialogBar::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control && temporaryBucket_) {
        temporaryBucket_ = false;
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CInitDialogBar::closeEvent(QCloseEvent* event)
{
    stopAnimation();
    closeComment();
    QWidget::closeEvent(event);
}

void CInitDialogBar::hideEvent(QHideEvent* event)
{
    stopAnimation();
    closeComment();
    painting_ = false;
    selecting_ = false;
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit closed();
}

void CInitDialogBar::showEvent(QShowEvent* event)
{
    // Palettes may have changed while the editor was hidden.
    rebuildColours();
    refresh();
    QWidget::showEvent(event);
}

bool CInitDialogBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == button("GRID") && event->type() == QEvent::MouseButtonDblClick) {
        chooseGridColour();
        return true;
    }
    if (watched == commentBox_) {
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
