#include "ui/app/CToolBarEx.h"

#include "ui/app/ZoomLevels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace qm::ui {

CToolBarEx::CToolBarEx(QWidget* parent) : QToolBar(QStringLiteral("Toolbar"), parent)
{
    setObjectName(QStringLiteral("mainToolBar"));
    setMovable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    setIconSize(QSize(20, 20));
    setMouseTracking(true);
    hotTimer_.setInterval(HOT_TIMER_MS);
    hotTimer_.setSingleShot(true);
    connect(&hotTimer_, &QTimer::timeout, this, &CToolBarEx::hotTimerExpired);
}

QToolButton* CToolBarEx::addButton(QAction* action)
{
    addAction(action);
    auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
    if (button) {
        button->setAutoRaise(true);
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
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

bool CToolBarEx::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (auto* button = qobject_cast<QToolButton*>(watched))
            setHot(button->isEnabled() ? button : nullptr);
        hotTimer_.start();
    }
    return QToolBar::eventFilter(watched, event);
}

void CToolBarEx::mouseMoveEvent(QMouseEvent* event)
{
    // Between the buttons: nothing is hot, but the bar still has the mouse.
    setHot(nullptr);
    hotTimer_.start();
    QToolBar::mouseMoveEvent(event);
}

void CToolBarEx::setHot(QToolButton* button)
{
    if (hot_ == button)
        return;
    QToolButton* old = hot_;
    hot_ = button;
    if (old)
        old->update();
    if (button)
        button->update();
}

void CToolBarEx::hotTimerExpired()
{
    if (rect().contains(mapFromGlobal(QCursor::pos()))) {
        hotTimer_.start();
        return;
    }
    setHot(nullptr);
}

} // namespace qm::ui
