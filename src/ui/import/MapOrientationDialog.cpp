#include "ui/import/MapOrientationDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::ui {

namespace {

// A small arrow from the middle towards the corner (dx, dy), each -1 or 1.
QPixmap arrow(int dx, int dy)
{
    QPixmap pix(24, 24);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    const QPointF from(12 - 7 * dx, 12 - 7 * dy);
    const QPointF to(12 + 8 * dx, 12 + 8 * dy);
    p.drawLine(from, to);
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to.x() - 7 * dx, to.y());
    head.lineTo(to.x(), to.y() - 7 * dy);
    head.closeSubpath();
    p.fillPath(head, Qt::black);
    return pix;
}

} // namespace

MapOrientationDialog::MapOrientationDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Map Orientation"));
    struct Entry {
        MapOrientation o;
        const char* text;
        int dx, dy, row, column;
    };
    const Entry entries[] = {
        {MapOrientation::TopLeft, "Top-Left", -1, -1, 0, 0},
        {MapOrientation::TopRight, "Top-Right", 1, -1, 0, 2},
        {MapOrientation::BottomLeft, "Bottom-Left", -1, 1, 1, 0},
        {MapOrientation::BottomRight, "Bottom Right", 1, 1, 1, 2},
    };
    auto* grid = new QGridLayout;
    for (const Entry& e : entries) {
        auto* button = new QRadioButton(QString::fromUtf8(e.text));
        choices_[static_cast<size_t>(e.o)] = button;
        auto* picture = new QLabel;
        picture->setPixmap(arrow(e.dx, e.dy));
        grid->addWidget(picture, e.row, e.column);
        grid->addWidget(button, e.row, e.column + 1);
    }
    choices_[0]->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

MapOrientation MapOrientationDialog::orientation() const
{
    for (size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->isChecked())
            return static_cast<MapOrientation>(i);
    return MapOrientation::TopLeft;
}

} // namespace qm::ui
