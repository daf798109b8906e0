#include "FrameHarness.h"

#include "support/QtTestRunner.h"
#include "ui/app/AppSettings.h"
#include "ui/app/WindowSettings.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditArea.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using C = CMainFrame::Command;

class CMainFrameTilesTest : public QObject {
    Q_OBJECT
private slots:
    void theEditorIsADockAtTheRightThatCanFloat()
    {
        {
            Harness h;
            h.frame.show();
            h.frame.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&h.frame));
            auto* editor = qobject_cast<CTileEditor*>(h.frame.pane(CMainFrame::Pane::TileEditor));
            auto* dock = qobject_cast<QDockWidget*>(editor->parentWidget());
            QVERIFY(dock && !dock->isVisible());
            QCOMPARE(h.frame.dockWidgetArea(dock), Qt::RightDockWidgetArea);
            QVERIFY(dock->features() & QDockWidget::DockWidgetFloatable);
            QAction* command = h.frame.commandAction(C::TileEditor);

            // A double click in the manager opens it, docked, on that tile; its caption is the comment.
            CTile& tile = h.frame.workspace().tiles.bg.tiles[12];
            tile.setComment("door");
            h.frame.route(MSG_TILE_DOUBLE_CLICKED, 12, TILE_BG);
            QVERIFY(editor->isVisible() && !dock->isFloating() && command->isChecked());
            QCOMPARE(dock->windowTitle(), QStringLiteral("door"));

            // Inside the main window its own keys still reach it: Shift+H flips the tile.
            tile.setPixel(0, 0, 3);
            editor->setFocus();
            QTest::keyClick(editor, Qt::Key_H, Qt::ShiftModifier);
            QCOMPARE(int(tile.pixel(7, 0)), 3);
            QVERIFY(h.frame.commandAction(C::Undo)->isEnabled());

            // With the focus there, Edit > Copy, Cut and Paste act on it.
            QCOMPARE(h.frame.activePane(), 4);
            h.frame.commandAction(C::Copy)->trigger();
            QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("TileDesigner")));
            h.frame.commandAction(C::Cut)->trigger();
            QCOMPARE(int(tile.pixel(7, 0)), 0);
            QVERIFY(h.frame.commandAction(C::Paste)->isEnabled());
            h.frame.commandAction(C::Paste)->trigger();
            QCOMPARE(int(tile.pixel(7, 0)), 3);
            QVERIFY(h.frame.project().changeFlags & CHANGED_BG_TILES);
            // The editor's Undo walks the main window's history: the paste, then the cut.
            QTest::mouseClick(editor->button("UNDO"), Qt::LeftButton);
            QCOMPARE(int(tile.pixel(7, 0)), 0);
            QVERIFY(editor->button("REDO")->isEnabled());
            QTest::mouseClick(editor->button("UNDO"), Qt::LeftButton);
            QCOMPARE(int(tile.pixel(7, 0)), 3);

            // Esc closes the dock and the check mark goes.
            QTest::keyClick(editor, Qt::Key_Escape);
            QVERIFY(!dock->isVisible() && !command->isChecked());

            // Floating, its place is kept under "TileDesigner"; docked, none is.
            command->trigger();
            dock->setFloating(true);
            dock->move(300, 200);
            h.frame.settings().store(dock);
            QCOMPARE(openSettings()->value(QStringLiteral("TileDesigner/Left")).toInt(), 300);
            QCOMPARE(openSettings()->value(QStringLiteral("TileDesigner/Top")).toInt(), 200);
        }
        {
            Harness h;
            h.frame.show();
            h.frame.commandAction(C::TileEditor)->trigger();
            auto* dock = qobject_cast<QDockWidget*>(h.frame.pane(CMainFrame::Pane::TileEditor)->parentWidget());
            QVERIFY(dock->isFloating());
            QCOMPARE(dock->pos(), QPoint(300, 200));
            dock->setFloating(false);
            h.frame.settings().store(dock);
            QCOMPARE(openSettings()->value(QStringLiteral("TileDesigner/Left")).toInt(), -1);
        }
    }
};

QM_QTEST(CMainFrameTilesTest)
#include "CMainFrameTilesTest.moc"
