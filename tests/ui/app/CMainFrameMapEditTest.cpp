#include "FrameHarness.h"

#include "core/undo/UndoStore.h"
#include "support/QtTestRunner.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewKeys.h"
#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/CTilesetPage.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using C = CMainFrame::Command;

namespace {

// The frame shown and active, so that its keys reach their shortcuts.
struct ShownFrame : Harness {
    ShownFrame()
    {
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        view()->setFocus();
    }
    CTilesetMgr* mgr() { return frame.tileSetManager(); }
};

QAction* menuItem(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class CMainFrameMapEditTest : public QObject {
    Q_OBJECT
private slots:
    void editAndViewMenusTypedInKeysAndTheCellInformation()
    {
        ShownFrame f;
        f.fill(2, 3, 9, 2);
        QVERIFY(f.cell(2, 3).showsTile(TILE_BG, 9) && f.frame.commandAction(C::Undo)->isEnabled());
        // Block Fill shows its key; the cell palettes are in the Edit menu.
        QVERIFY(f.frame.commandAction(C::BlockFill)->text().endsWith(QStringLiteral("\tEnter")));
        // The submenu follows the cursor cell each time the Edit menu opens (a
        // disabled submenu never hears that it is about to show).
        QMenu* edit = f.frame.menuBar()->actions().at(1)->menu();
        QMenu* palettes = menuItem(edit, QStringLiteral("Palettes"))->menu();
        f.view()->moveCursor(0, 0);
        emit edit->aboutToShow();
        QVERIFY(!palettes->isEnabled());
        f.view()->moveCursor(2, 3);
        emit edit->aboutToShow();
        QVERIFY(palettes->isEnabled());
        menuItem(palettes, QStringLiteral("P3"))->trigger();
        QCOMPARE(f.cell(2, 3).palette(TILE_BG), 3);
        // Set Base Tile asks through the frame's prompter; only Yes fills, as a step of the history.
        f.prompter = qm::test::ScriptedPrompter({Answer::No, Answer::Yes});
        f.frame.commandAction(C::SetBaseTile)->trigger();
        QVERIFY(!f.cell(0, 0).hasBg());
        f.frame.commandAction(C::SetBaseTile)->trigger();
        QVERIFY(f.cell(0, 0).showsTile(TILE_BG, 9) && !f.frame.commandAction(C::Redo)->isEnabled());
        QVERIFY(f.frame.commandAction(C::Undo)->text().startsWith(QStringLiteral("&Undo Set Base Tile")));
        // The Hide Tags box and the View menu share one state.
        QAction* menu = f.frame.commandAction(C::HideTags);
        const auto state = [&] { return std::tuple(menu->isChecked(), f.frame.hideTagsBox()->isChecked(), f.view()->tagsVisible()); };
        QCOMPARE(state(), std::tuple(true, true, false));
        f.frame.hideTagsBox()->click();
        QCOMPARE(state(), std::tuple(false, false, true));
        menu->trigger();
        QCOMPARE(state(), std::tuple(true, true, false));
        // Typed-in keys place tiles and are no Undo or Redo.
        f.frame.commandAction(C::Undo)->trigger(); // the base tile goes again
        f.fill(5, 5, 500);
        int base = 500;
        f.view()->currentTileProvider = [&base] { return CurrentTile{TILE_BG, base, 0}; };
        f.view()->moveCursor(0, 0);
        f.view()->keys().startTypeIn();
        QTest::keyClick(f.view(), Qt::Key_Z); // tile 525 is none, and Z is no Undo
        QVERIFY(f.cell(5, 5).showsTile(TILE_BG, 500));
        base = 100;
        f.view()->keys().startTypeIn();
        QTest::keyClick(f.view(), Qt::Key_Z); // tile 125, not Undo
        QVERIFY(f.cell(0, 0).showsTile(TILE_BG, 125));
        f.frame.commandAction(C::Undo)->trigger();
        QVERIFY(f.frame.commandAction(C::Redo)->isEnabled());
        QTest::keyClick(f.view(), Qt::Key_Y); // tile 124 in the next cell, not Redo
        QVERIFY(!f.cell(0, 0).hasBg() && f.cell(1, 0).showsTile(TILE_BG, 124));
        f.view()->keys().stopTypeIn();
        // With Ctrl, Shift+Z and Shift+Y still choose their tools.
        QTest::keyClick(f.view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        const int zoom = f.frame.currentTool();
        QTest::keyClick(f.view(), Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(std::pair(zoom, f.frame.currentTool()), std::pair(int(TOOL_ZOOM), int(TOOL_PENCIL)));
        f.frame.workspace().tiles.bg.tiles[9].setPalette(4);
        f.view()->moveCursor(1, 1);
        f.frame.commandAction(C::Copy)->trigger(); // the empty cell
        f.fill(1, 1, 9, 2);
        f.view()->moveCursor(1, 1);
        const QString filled = f.view()->lastStatusText();
        QVERIFY(filled.contains(QStringLiteral("Tile:9 Pal:2")));
        // The status text after each command, the cursor left where it is.
        f.prompter = qm::test::ScriptedPrompter({Answer::Yes});
        QStringList texts;
        for (const C command : {C::Undo, C::Redo, C::ResetMapPalette, C::Paste}) {
            f.frame.commandAction(command)->trigger();
            texts << f.view()->lastStatusText();
        }
        QCOMPARE(texts.mid(0, 2), (QStringList{QString(), filled}));
        QVERIFY(texts[2].contains(QStringLiteral("Tile:9 Pal:4")) && texts[3].contains(QStringLiteral("Tile:0 Pal:0")));
    }

    void enterOnTheManagerFillsTheSelectionAndTheReverseEyedropperPicksTags()
    {
        ShownFrame f;
        QTest::mouseClick(f.view()->viewport(), Qt::LeftButton, {}, f.view()->cellRect(2, 2).center());
        QTest::mouseClick(f.view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, f.view()->cellRect(3, 2).center());
        CTilesetPage* page = f.mgr()->page(TILE_BG);
        QTest::mouseClick(page, Qt::LeftButton, {}, page->cellRect(6).center());
        QVERIFY(page->hasFocus());
        QTest::keyClick(page, Qt::Key_Return);
        QVERIFY(f.cell(2, 2).showsTile(TILE_BG, 6) && f.cell(3, 2).showsTile(TILE_BG, 6));
        // The reverse eyedropper on tags picks the tag and selects the cells that carry it.
        for (int x : {1, 4})
            f.frame.project().map.cellAt(x, 2)->tag = 7;
        f.mgr()->selectTile(TILE_TAG, 5);
        f.frame.selectTool(TOOL_REV_EYEDROPPER);
        QTest::mouseClick(f.view()->viewport(), Qt::LeftButton, {}, f.view()->cellRect(4, 2).center());
        QCOMPARE(std::pair(f.mgr()->currentTile(TILE_TAG), f.view()->selection()), std::pair(7, QList<QPoint>{{1, 2}, {4, 2}}));
    }
};

QM_QTEST(CMainFrameMapEditTest)
#include "CMainFrameMapEditTest.moc"
