#include "ui/app/CToolBarEx.h"

#include "ui/app/ZoomLevels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QToolButton>

namespace qm::ui {

CToolBarEx::CToolBarEx(QWidget* parent) : QToolBar(QStringLiteral("Toolbar"), parent)
{
    setObjectName(QStringLiteral("mainToolBar"));
    setMovable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    setIconSize(QSize(20, 20));
}

QToolButton* CToolBarEx::addButton(QAction* action)
{
    addAction(action);
    auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
    if (button)
        button->setAutoRaise(true);
    return button;
}

void CToolBarEx::addGap()
{
    addSeparator();
}

QComboBox* CToolBarEx::addZoomBox()
{
    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("zoomBox"));
    for (const char* label : ZOOM_LABELS)
        zoomBox_->addItem(QString::fromLatin1(label));
    zoomBox_->setCurrentIndex(DEFAULT_ZOOM_INDEX);
    zoomBox_->setFixedWidth(80);
    zoomBox_->setToolTip(QStringLiteral("Zoom"));
    zoomBox_->setFocusPolicy(Qt::ClickFocus);
    addWidget(zoomBox_);
    return zoomBox_;
}

QCheckBox* CToolBarEx::addCheckBox(const QString& text)
{
    auto* holder = new QWidget(this);
    holder->setFixedWidth(100);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(8, 0, 0, 0);
    auto* box = new QCheckBox(text, holder);
    box->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(box);
    addWidget(holder);
    return box;
}

} // namespace qm::ui
