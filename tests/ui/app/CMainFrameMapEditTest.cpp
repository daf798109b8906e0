#include "core/undo/UndoStore.h"
#include "support/QtTestRunner.h"
#include "ui/app/CMainFrame.h"
#include "ui/map/CQuiltmarkView.h"

#include <QAction>
#include <QStandardPaths>
#include <QtTest>

using namespace qm;
using namespace qm::ui;

class CMainFrameMapEditTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void editMenuRunsTheViewCommands()
    {
        FixedPrompter prompter(Answer::No);
        CMainFrame frame;
        frame.setPrompter(&prompter);
        frame.route(MSG_INIT_MAP, 0, 0);
        CQuiltmarkView* view = frame.mapView();
        view->currentTileProvider = [] { return CurrentTile{TILE_BG, 9, 2}; };
        using C = CMainFrame::Command;
        for (C c : {C::Cut, C::Copy, C::CopyMapToClipboard, C::CopyMapToTile, C::BlockFill, C::ArrayFill,
                    C::SetBaseTile, C::FlipHorizontally, C::FlipVertically, C::FlipAreaHorizontally,
                    C::FlipAreaVertically, C::SetToBank0, C::SetToBank1, C::FlipBank, C::ObjPriority, C::BgPriority,
                    C::InsertRow, C::DeleteRow, C::InsertColumn, C::DeleteColumn, C::ResetMapPalette})
            QVERIFY(frame.commandAction(c)->isEnabled());

        // Block Fill on the cursor cell, undoable from the menu.
        view->moveCursor(2, 3);
        frame.commandAction(C::BlockFill)->trigger();
        QVERIFY(frame.project().map.cellAt(2, 3)->showsTile(TILE_BG, 9));
        QVERIFY(frame.commandAction(C::Undo)->isEnabled());

        // Set Base Tile asks through the frame's prompter; No changes nothing.
        frame.commandAction(C::SetBaseTile)->trigger();
        QCOMPARE(prompter.questions, 1);
        QVERIFY(!frame.project().map.cellAt(0, 0)->hasBg());
        FixedPrompter yes(Answer::Yes);
        frame.setPrompter(&yes);
        frame.commandAction(C::SetBaseTile)->trigger();
        QVERIFY(frame.project().map.cellAt(0, 0)->showsTile(TILE_BG, 9));
        QVERIFY(frame.commandAction(C::Undo)->text().startsWith(QStringLiteral("&Undo Set Base Tile")));
        QVERIFY(!frame.commandAction(C::Redo)->isEnabled());

        // Copy then Paste: Paste follows the clipboard.
        frame.commandAction(C::Copy)->trigger();
        QVERIFY(frame.commandAction(C::Paste)->isEnabled());
        frame.project().changeFlags = 0; // no question on the way out
    }
};

QM_QTEST(CMainFrameMapEditTest)
#include "CMainFrameMapEditTest.moc"
