// The main window's side of the undo history and of the recovery copies: the
// memory budget from the settings, the Edit menu's "&Undo <step>" and
// "&Redo <step>", the "History" dock with its View menu entry, and the
// recovery copies' messages in the status bar.

#include "ui/app/CMainFrame.h"

#include "core/undo/UndoStore.h"
#include "ui/app/AppSettings.h"
#include "ui/app/Autosave.h"
#include "ui/app/HistoryDock.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"

#include <QAction>
#include <QMenu>

namespace qm::ui {

namespace {

// The command text with the step's name, keeping the keys shown after a tab.
void nameStep(QAction* action, const QString& command, std::string_view stepName)
{
    const QString old = action->text();
    const qsizetype tab = old.indexOf(QLatin1Char('\t'));
    action->setText(undoMenuText(command, stepName) + (tab < 0 ? QString() : old.mid(tab)));
}

} // namespace

void CMainFrame::createUndoHistory()
{
    const HistorySettings values = readHistorySettings(*openSettings());
    undoStore_->setMemoryBudget(std::size_t(values.undoMemoryMB) << 20);

    historyDock_ = new HistoryDock(*undoStore_, this);
    addDockWidget(Qt::RightDockWidgetArea, historyDock_);
    historyDock_->hide();
    QAction* toggle = historyDock_->toggleViewAction();
    toggle->setText(QStringLiteral("&History"));
    QMenu* view = menus_->viewMenu();
    const QList<QAction*> entries = view->actions();
    const qsizetype manager = entries.indexOf(commandAction(Command::TileSetManager));
    view->insertAction(manager >= 0 && manager + 1 < entries.size() ? entries.at(manager + 1) : nullptr, toggle);

    autosave_ = new Autosave(*this);
    autosave_->setObjectName(QStringLiteral("autosave"));
    connect(autosave_, &Autosave::writeFailed, this, &CMainFrame::setStatusText);

    if (CQuiltmarkView* view = mapView_) {
        const auto follow = [this] {
            nameStep(commandAction(Command::Undo), QStringLiteral("&Undo"), undoStore_->undoName());
            nameStep(commandAction(Command::Redo), QStringLiteral("&Redo"), undoStore_->redoName());
            historyDock_->refresh();
        };
        connect(view, &CQuiltmarkView::undoStateChanged, this, follow);
        follow();
        connect(historyDock_, &HistoryDock::positionChosen, &view->actions(), &MapViewActions::jumpTo);
    }
}

} // namespace qm::ui
