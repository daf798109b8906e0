#include "ui/tiles/TileEditorControls.h"

#include "ui/app/Artwork.h"
#include "ui/tiles/TileEditorAnimation.h"

#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace qm::ui {

namespace {

constexpr int BUTTON = 20;

} // namespace

QToolButton* TileEditorControls::addButton(const QString& name, const QString& tip, Artwork art, int x, int y)
{
    auto* b = new QToolButton(&editor_);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setIcon(artworkIcon(art));
    b->setIconSize(QSize(16, 16));
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, y, BUTTON, BUTTON);
    return b;
}

TileEditorControls::TileEditorControls(CTileEditor& editor) : QObject(&editor), editor_(editor)
{
    using Tool = CTileEditor::Tool;
    CTileEditor* e = &editor;
    const auto ctrl = [e] { return e->ctrlHeld && e->ctrlHeld(); };
    int x = 4;
    const auto next = [&x] {
        const int at = x;
        x += BUTTON + 1;
        return at;
    };
    pen_ = addButton("PEN", "Pencil Tool", Artwork::Pencil, next(), 2);
    bucket_ = addButton("BUCKET", "Bucket fill tool", Artwork::Bucket, next(), 2);
    selector_ = addButton("SELECTOR", "Pixel Selector", Artwork::PixelSelect, next(), 2);
    for (QToolButton* b : {pen_, bucket_, selector_})
        b->setCheckable(true);
    connect(pen_, &QToolButton::clicked, e, [e] { e->setTool(Tool::Pencil); });
    connect(bucket_, &QToolButton::clicked, e, [e] { e->setTool(Tool::Bucket); });
    connect(selector_, &QToolButton::clicked, e, [e] { e->setTool(Tool::PixelSelector); });
    x += 4;
    connect(addButton("SCROLLUP", "Scroll Up", Artwork::ScrollUp, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->scroll(ScrollDirection::Up, ctrl()); });
    connect(addButton("SCROLLDOWN", "Scroll Down", Artwork::ScrollDown, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->scroll(ScrollDirection::Down, ctrl()); });
    connect(addButton("SCROLLLEFT", "Scroll Left", Artwork::ScrollLeft, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->scroll(ScrollDirection::Left, ctrl()); });
    connect(addButton("SCROLLRIGHT", "Scroll Right", Artwork::ScrollRight, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->scroll(ScrollDirection::Right, ctrl()); });
    connect(addButton("FLIPV", "Flip Vertical", Artwork::FlipVertical, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->flip(false, ctrl()); });
    connect(addButton("FLIPH", "Flip Horizontal", Artwork::FlipHorizontal, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->flip(true, ctrl()); });
    connect(addButton("ROTATE", "Rotate", Artwork::Rotate, next(), 2), &QToolButton::clicked, e,
            [e, ctrl] { e->rotate(ctrl()); });

    x = 4;
    grid_ = addButton("GRID", "Toggle grid", Artwork::Grid, next(), 23);
    grid_->setCheckable(true);
    grid_->setChecked(true);
    grid_->installEventFilter(e); // a double click chooses the grid colour
    connect(grid_, &QToolButton::clicked, e, [e](bool on) { e->setGridShown(on); });
    connect(addButton("COMMENT", "Tile Comment", Artwork::Comment, next(), 23), &QToolButton::clicked, e,
            &CTileEditor::openComment);
    undo_ = addButton("UNDO", "Undo", Artwork::Undo, next(), 23);
    redo_ = addButton("REDO", "Redo", Artwork::Redo, next(), 23);
    undo_->setEnabled(false);
    redo_->setEnabled(false);
    connect(undo_, &QToolButton::clicked, e, &CTileEditor::undoRequested);
    connect(redo_, &QToolButton::clicked, e, &CTileEditor::redoRequested);
    x += 4;
    TileEditorAnimation* animation = &editor.animation();
    connect(addButton("BACKWARD", "Back Up Frame", Artwork::BackFrame, next(), 23), &QToolButton::clicked,
            animation, &TileEditorAnimation::backFrame);
    connect(addButton("STOP", "Stop Animation", Artwork::Stop, next(), 23), &QToolButton::clicked, animation,
            &TileEditorAnimation::stop);
    connect(addButton("PLAY", "Play Animation", Artwork::Play, next(), 23), &QToolButton::clicked, animation,
            &TileEditorAnimation::play);
    connect(addButton("FORWARD", "Forward Frame", Artwork::ForwardFrame, next(), 23), &QToolButton::clicked,
            animation, &TileEditorAnimation::forwardFrame);

    for (int i = 0; i < 4; ++i) {
        QToolButton* box = addArrow(QStringLiteral("COLOUR%1").arg(i), QString(), Qt::NoArrow);
        box->move(3, 45 + i * 20);
        box->setFixedSize(16, 16);
        box->setCheckable(true);
        connect(box, &QToolButton::clicked, e, [e, i] { e->setDrawColour(i); });
        colourBoxes_.push_back(box);
    }

    commentBox_ = new QLineEdit(e);
    commentBox_->setObjectName("COMMENTBOX");
    commentBox_->setMaxLength(CTile::MAX_COMMENT);
    commentBox_->hide();
    commentBox_->installEventFilter(e); // focus out and Escape close it
    connect(commentBox_, &QLineEdit::textEdited, e, &CTileEditor::editComment);

    tileLabel_ = new QLabel(e);
    tileLabel_->setObjectName("TILENUMBER");
    paletteLabel_ = new QLabel(e);
    paletteLabel_->setObjectName("PALETTENUMBER");
    paletteList_ = new QComboBox(e);
    paletteList_->setObjectName("PALETTES");
    paletteList_->setFocusPolicy(Qt::NoFocus);
    paletteList_->setIconSize(QSize(48, 12));
    for (int p = 0; p < 8; ++p)
        paletteList_->addItem(QString::number(p));
    connect(paletteList_, &QComboBox::activated, e, [e](int p) { e->choosePalette(p); });

    const auto box = [this, e](const QString& name, const QString& label, const QString& tip, const QString& text) {
        auto* l = new QLabel(label, e);
        auto* field = new QLineEdit(text, e);
        field->setObjectName(name);
        field->setToolTip(tip);
        field->setValidator(new QIntValidator(0, 99999, field));
        bottomRow_ << l << field;
        return field;
    };
    widthBox_ = box("WIDTH", "w:", "Frame Width", "1");
    QToolButton* widthUp = addArrow("WIDTHUP", "Frame Width", Qt::UpArrow);
    QToolButton* widthDown = addArrow("WIDTHDOWN", "Frame Width", Qt::DownArrow);
    bottomRow_ << widthUp << widthDown;
    heightBox_ = box("HEIGHT", "h:", "Frame Height", "1");
    QToolButton* heightUp = addArrow("HEIGHTUP", "Frame Height", Qt::UpArrow);
    QToolButton* heightDown = addArrow("HEIGHTDOWN", "Frame Height", Qt::DownArrow);
    bottomRow_ << heightUp << heightDown;
    framesBox_ = box("FRAMES", "Play", "Animation Frame", "1");
    speedBox_ = box("SPEED", "S:", "Speed(Frame rate)", "100");
    connect(widthUp, &QToolButton::clicked, e, [e] { e->stepFrameWidth(1); });
    connect(widthDown, &QToolButton::clicked, e, [e] { e->stepFrameWidth(-1); });
    connect(heightUp, &QToolButton::clicked, e, [e] { e->stepFrameHeight(1); });
    connect(heightDown, &QToolButton::clicked, e, [e] { e->stepFrameHeight(-1); });
    // A typed size counts once it is complete: on Enter or when the box loses the focus.
    connect(widthBox_, &QLineEdit::editingFinished, e, [this, e] { e->typeFrameWidth(widthBox_->text()); });
    connect(heightBox_, &QLineEdit::editingFinished, e, [this, e] { e->typeFrameHeight(heightBox_->text()); });
    connect(framesBox_, &QLineEdit::textEdited, animation, [animation] { animation->stop(); });
}

QToolButton* TileEditorControls::addArrow(const QString& name, const QString& tip, Qt::ArrowType arrow)
{
    auto* b = new QToolButton(&editor_);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TileEditorControls::layout(const FrameGeometry& g, QWidget* canvas)
{
    canvas->setGeometry(g.areaLeft, g.areaTop, g.areaWidth, g.areaHeight);
    commentBox_->setGeometry(g.areaLeft, g.areaTop, std::max(g.areaWidth, 160), 22);
    const int bottom = g.barHeight;
    paletteList_->setGeometry(120, bottom - 51, 96, 22);
    tileLabel_->setGeometry(4, bottom - 43, 64, 16);
    paletteLabel_->setGeometry(70, bottom - 43, 46, 16);
    int x = 4;
    const int y = bottom - 24;
    for (QWidget* w : bottomRow_) {
        int width = 22;
        if (auto* label = qobject_cast<QLabel*>(w))
            width = label->fontMetrics().horizontalAdvance(label->text()) + 2; // never clipped
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
    editor_.setFixedSize(g.barWidth, g.barHeight);
}

void TileEditorControls::showTool(CTileEditor::Tool tool)
{
    pen_->setChecked(tool == CTileEditor::Tool::Pencil);
    bucket_->setChecked(tool == CTileEditor::Tool::Bucket);
    selector_->setChecked(tool == CTileEditor::Tool::PixelSelector);
}

void TileEditorControls::showDrawColour(int colour)
{
    for (int i = 0; i < colourBoxes_.size(); ++i)
        colourBoxes_[i]->setChecked(i == colour);
}

void TileEditorControls::showGrid(bool on) { grid_->setChecked(on); }

void TileEditorControls::showFrameSize(int width, int height)
{
    widthBox_->setText(QString::number(width));
    heightBox_->setText(QString::number(height));
}

void TileEditorControls::showUndoState(bool canUndo, bool canRedo)
{
    undo_->setEnabled(canUndo);
    redo_->setEnabled(canRedo);
}

void TileEditorControls::rebuildPaletteIcons()
{
    for (int p = 0; p < 8; ++p)
        paletteList_->setItemIcon(p, QIcon(editor_.paletteIcon(p)));
}

void TileEditorControls::refresh()
{
    const CTile* tile = editor_.tileSet().tileAt(editor_.frame().start);
    const int palette = tile ? tile->palette() : 0;
    {
        const QSignalBlocker block(paletteList_);
        paletteList_->setCurrentIndex(palette);
    }
    const int drawColour = editor_.drawColour();
    for (int i = 0; i < colourBoxes_.size(); ++i) {
        const QColor c = tile ? editor_.colourOf(*tile, i) : QColor(Qt::black);
        colourBoxes_[i]->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: %2px solid %3; }")
                                           .arg(c.name())
                                           .arg(i == drawColour ? 2 : 1)
                                           .arg(i == drawColour ? "red" : "black"));
    }
    tileLabel_->setText(QStringLiteral("Tile #: %1").arg(editor_.frame().start % TILES_PER_BANK));
    paletteLabel_->setText(QStringLiteral("Pal: %1").arg(palette));
}

} // namespace qm::ui
