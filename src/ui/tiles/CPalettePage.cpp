#include "ui/tiles/CPalettePage.h"

#include "core/undo/UndoStore.h"
#include "core/tiles/PaletteClipboard.h"
#include "core/edit/SwatchEdits.h"
#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/TileDrawing.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QGroupBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>

#include <bit>

namespace qm::ui {

namespace {

constexpr int LEFT = 44;
constexpr int TOP = 4;
constexpr int SWATCH_W = 22;
constexpr int SWATCH_H = 12;
constexpr int PITCH_X = 24;
constexpr int PITCH_Y = 15;
constexpr int BOXES_TOP = TOP + 16 * PITCH_Y + 6;
constexpr int DMG_TOP = BOXES_TOP + 30;
constexpr int MONO_TOP = DMG_TOP + 20;

const char* const ROW_NAMES[2] = {"BGP", "OBP"};
const char* const MONO_NAMES[3] = {"BGP", "OBP1", "OBP2"};

QString formatName() { return QString::fromLatin1(CLIPBOARD_PALETTE.data(), CLIPBOARD_PALETTE.size()); }

} // namespace

CPalettePage::CPalettePage(CTilesetMgr& manager, QWidget* parent) : QWidget(parent), mgr_(manager)
{
    setObjectName(QStringLiteral("CPalettePage"));
    setFocusPolicy(Qt::StrongFocus);
    for (int r = 0; r < ROWS; ++r) {
        auto* label = new QLabel(QStringLiteral("%1%2").arg(QLatin1String(ROW_NAMES[r / 8])).arg(r % 8), this);
        label->setGeometry(4, TOP + r * PITCH_Y - 1, LEFT - 6, PITCH_Y);
    }
    static const char* const NAMES[3] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        const int x = 4 + c * 56;
        auto* label = new QLabel(QLatin1String(NAMES[c]), this);
        label->setGeometry(x, BOXES_TOP + 2, 10, 20);
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(NAMES[c]));
        box->setValidator(new QIntValidator(0, 999, box));
        box->setGeometry(x + 11, BOXES_TOP, 26, 22);
        connect(box, &QLineEdit::textEdited, this, [this, c](const QString& t) {
            if (!filling_)
                typeComponent(c, t);
        });
        connect(box, &QLineEdit::editingFinished, this, [box] {
            if (box->text().toInt() > 31)
                box->setText(QStringLiteral("31"));
        });
        boxes_[static_cast<size_t>(c)] = box;
        QSpinBox* spin = makeArrows(this, [this, c](int step) { spinComponent(c, step); });
        spin->setGeometry(x + 38, BOXES_TOP, 16, 22);
        spins_[static_cast<size_t>(c)] = spin;
    }
    dmgGroup_ = new QGroupBox(QStringLiteral("DMG"), this);
    dmgGroup_->setGeometry(2, DMG_TOP, LEFT + 4 * PITCH_X + 30, 3 * PITCH_Y + 44);
    dmgGroup_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int r = 0; r < MONO_ROWS; ++r) {
        auto* label = new QLabel(QLatin1String(MONO_NAMES[r]), this);
        label->setGeometry(8, MONO_TOP + r * PITCH_Y - 1, LEFT - 10, PITCH_Y);
    }
    // The shade arrows span the three rows, each arrow as large as a row or more.
    shadeSpin_ = makeArrows(this, [this](int step) { spinShade(step); });
    shadeSpin_->setGeometry(LEFT + 4 * PITCH_X + 4, MONO_TOP - 2, 22, 3 * PITCH_Y + 2);
    shadeLabel_ = new QLabel(QStringLiteral("0"), this);
    shadeLabel_->setAlignment(Qt::AlignHCenter);
    shadeLabel_->setGeometry(LEFT + 4 * PITCH_X + 4, MONO_TOP + 3 * PITCH_Y + 2, 22, 16);
    setMinimumSize(LEFT + 4 * PITCH_X + 40, MONO_TOP + 3 * PITCH_Y + 32);
    fillBoxes();
}

QSpinBox* CPalettePage::makeArrows(QWidget* parent, std::function<void(int)> onStep)
{
    // Only the arrows show; every step is reported and the box returns to 0.
    auto* spin = new QSpinBox(parent);
    spin->setRange(-1000, 1000);
    spin->setValue(0);
    spin->setStyleSheet(QStringLiteral("QSpinBox { color: transparent; }"));
    connect(spin, &QSpinBox::valueChanged, this, [spin, onStep = std::move(onStep)](int v) {
        if (v == 0)
            return;
        spin->blockSignals(true);
        spin->setValue(0);
        spin->blockSignals(false);
        onStep(v);
    });
    return spin;
}

QRect CPalettePage::swatchRect(int swatch) const
{
    if (swatch < 0 || swatch > 63)
        return {};
    return QRect(LEFT + (swatch % 4) * PITCH_X, TOP + (swatch / 4) * PITCH_Y, SWATCH_W, SWATCH_H);
}

QRect CPalettePage::monoRect(int swatch) const
{
    if (swatch < 0 || swatch > 11)
        return {};
    return QRect(LEFT + (swatch % 4) * PITCH_X, MONO_TOP + (swatch / 4) * PITCH_Y, SWATCH_W, SWATCH_H);
}

int CPalettePage::swatchAt(QPoint p) const
{
    for (int s = 0; s < 64; ++s)
        if (swatchRect(s).contains(p))
            return s;
    return -1;
}

int CPalettePage::monoAt(QPoint p) const
{
    for (int s = 0; s < 12; ++s)
        if (monoRect(s).contains(p))
            return s;
    return -1;
}

int CPalettePage::selectedCount() const { return std::popcount(selection_); }

void CPalettePage::fillBoxes()
{
    const GbcColor& c = swatchColour(mgr_.workspace().tiles.palettes, current_);
    filling_ = true;
    boxes_[0]->setText(QString::number(c.red));
    boxes_[1]->setText(QString::number(c.green));
    boxes_[2]->setText(QString::number(c.blue));
    filling_ = false;
}

void CPalettePage::refresh()
{
    fillBoxes();
    shadeLabel_->setText(QString::number(shade_));
    update();
}

void CPalettePage::coloursEdited(std::uint16_t rows, bool toSheet)
{
    changedRows_ |= rows;
    refresh();
    if (!rows)
        return;
    if (toSheet)
        mgr_.coloursChanged(colourFlagsOfRows(rows), rows);
    else
        mgr_.coloursNotice(colourFlagsOfRows(rows), rows);
}

void CPalettePage::clickSwatch(int swatch, bool ctrl)
{
    if (swatch < 0 || swatch > 63)
        return;
    current_ = swatch;
    if (ctrl)
        selection_ ^= std::uint64_t(1) << swatch;
    else
        selection_ = std::uint64_t(1) << swatch;
    refresh();
    if (mgr_.mapToolProvider && mgr_.mapToolProvider() == 8)
        emit mgr_.selectCellsWithPalette((swatch / 4) % 8);
}

void CPalettePage::doubleClickSwatch(int swatch)
{
    if (swatch < 0 || swatch > 63)
        return;
    current_ = swatch;
    const GbcColor& now = swatchColour(mgr_.workspace().tiles.palettes, swatch);
    const QColor initial(now.red << 3, now.green << 3, now.blue << 3);
    const QColor chosen = mgr_.colourPrompt ? mgr_.colourPrompt(initial) : QColorDialog::getColor(initial, this);
    if (!chosen.isValid()) {
        refresh();
        return;
    }
    const GbcColor colour{std::uint8_t(chosen.red() >> 3), std::uint8_t(chosen.green() >> 3),
                          std::uint8_t(chosen.blue() >> 3)};
    const std::uint16_t rows = setSwatchColour(mgr_.workspace().tiles.palettes, selection_, colour, mgr_.undoStore());
    emit mgr_.undoStepBegun();
    coloursEdited(rows, true);
}

void CPalettePage::typeComponent(int component, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0)
        return;
    const std::uint16_t rows = setSwatchComponent(mgr_.workspace().tiles.palettes, selection_, component % 3,
                                                  std::min(value, 31), mgr_.undoStore());
    emit mgr_.undoStepBegun();
    changedRows_ |= rows;
    update();
    if (rows)
        mgr_.coloursNotice(colourFlagsOfRows(rows), rows);
}

void CPalettePage::spinComponent(int component, int step)
{
    const std::uint16_t rows = stepSwatchComponent(mgr_.workspace().tiles.palettes, selection_, component % 3, step);
    changedRows_ |= rows;
    refresh();
    if (rows)
        mgr_.coloursNotice(colourFlagsOfRows(rows), rows);
}

void CPalettePage::clickMono(int swatch, bool ctrl)
{
    if (swatch < 0 || swatch > 11)
        return;
    if (ctrl)
        monoSelection_ ^= std::uint16_t(1u << swatch);
    else
        monoSelection_ = std::uint16_t(1u << swatch);
    const PaletteStore& store = mgr_.workspace().tiles.palettes;
    const int row = swatch / 4;
    const int c = swatch % 4;
    shade_ = row == MONO_ROW_BGP    ? shadeOf(store.bgMonoPalettes[0][size_t(c)])
             : row == MONO_ROW_OBP1 ? shadeOf(store.objMonoPalettes[0][size_t(c)])
                                    : c;
    shadeLabel_->setText(QString::number(shade_));
    update();
}

void CPalettePage::spinShade(int step)
{
    shade_ = wrapShade(shade_, step);
    Workspace& ws = mgr_.workspace();
    const std::uint32_t mask = setMonoShade(ws.tiles.palettes, monoSelection_, shade_);
    shadeLabel_->setText(QString::number(shade_));
    update();
    if (!mask)
        return;
    // Outside DMG mode nothing on screen shows these colours: the message then
    // carries no palettes and only marks the palettes changed.
    mgr_.coloursChanged(12, ws.tiles.dmgMode ? mask : 0);
}

void CPalettePage::copy()
{
    const auto bytes = encodePaletteClip(mgr_.workspace().tiles.palettes, selection_);
    auto* data = new QMimeData;
    data->setData(formatName(),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

void CPalettePage::cut()
{
    copy();
    const std::uint16_t rows =
        setSwatchColour(mgr_.workspace().tiles.palettes, selection_, GbcColor{0, 0, 0}, mgr_.undoStore());
    emit mgr_.undoStepBegun();
    coloursEdited(rows, true);
}

void CPalettePage::paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(formatName()))
        return;
    const QByteArray bytes = data->data(formatName());
    const auto clip = decodePaletteClip(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size())));
    const int first = lowestSwatch(selection_);
    if (!clip || first > 63)
        return;
    const std::uint16_t rows = pasteSwatches(mgr_.workspace().tiles.palettes, first, *clip, mgr_.undoStore());
    emit mgr_.undoStepBegun();
    coloursEdited(rows, true);
}

void CPalettePage::leave()
{
    if (!changedRows_)
        return;
    const std::uint16_t rows = changedRows_;
    changedRows_ = 0;
    mgr_.coloursChanged(colourFlagsOfRows(rows), rows);
}

void CPalettePage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const PaletteStore& store = mgr_.workspace().tiles.palettes;
    for (int s = 0; s < 64; ++s) {
        const DisplayTable& table = s < 32 ? store.bgDisplay : store.objDisplay;
        const QRect r = swatchRect(s);
        p.fillRect(r, toQColor(table[size_t((s / 4) % 8)][size_t(s % 4)]));
        if (selection_ >> s & 1) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
        if (s == current_) {
            p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            p.drawRect(r.adjusted(-2, -2, 1, 1));
        }
    }
    for (int s = 0; s < 12; ++s) {
        const int row = s / 4;
        const size_t c = size_t(s % 4);
        DisplayColour colour;
        if (row == MONO_ROW_BGP)
            colour = store.bgMonoDisplay[0][c];
        else if (row == MONO_ROW_OBP1)
            colour = store.objMonoDisplay[0][c];
        else {
            const std::uint8_t g = MONO_SHADE_LEVELS[c];
            colour = displayColourOf(GbcColor{g, g, g}, store.trueColour);
        }
        const QRect r = monoRect(s);
        p.fillRect(r, toQColor(colour));
        if (monoSelection_ >> s & 1) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }
}

void CPalettePage::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (const int s = swatchAt(pos); s >= 0)
        clickSwatch(s, ctrl);
    else if (const int m = monoAt(pos); m >= 0)
        clickMono(m, ctrl);
}

void CPalettePage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const int s = swatchAt(event->position().toPoint()); s >= 0)
        doubleClickSwatch(s);
}

void CPalettePage::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_C:
            copy();
            return;
        case Qt::Key_X:
            cut();
            return;
        case Qt::Key_V:
            paste();
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace qm::ui
