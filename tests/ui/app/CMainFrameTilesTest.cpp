#include "core/undo/UndoStore.h"
#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/WindowSettings.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditArea.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorControls.h"

#include <QAction>
#include <QComboBox>
#include <QSettings>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;

class CMainFrameTilesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<qm::test::TempDir> settingsDir_;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        settingsDir_ = std::make_unique<qm::test::TempDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsDir_->path().string()));
    }

    void theEditorIsAPaneOfTheMainWindow()
    {
        qm::test::ScriptedPrompter prompter;
        CMainFrame frame;
        frame.setPrompter(&prompter);
        frame.route(MSG_INIT_MAP, 0, 0);
        auto* editor = qobject_cast<CTileEditor*>(frame.pane(CMainFrame::Pane::TileEditor));
        QVERIFY(editor);
        QVERIFY(!editor->isVisible());
        QAction* command = frame.commandAction(CMainFrame::Command::TileEditor);
        QVERIFY(command->isEnabled());

        // A double click in the manager opens it on that tile.
        frame.route(MSG_TILE_DOUBLE_CLICKED, 12, TILE_BG);
        QVERIFY(editor->isVisible());
        QVERIFY(command->isChecked());
        QCOMPARE(editor->frame().start, 12);
        frame.route(MSG_CURRENT_TILE_CHANGED, TILE_OBJ, 30);
        QCOMPARE(editor->kind(), int(TILE_OBJ));
        QCOMPARE(editor->frame().start, 30);

        // A tile edit reaches the map view and marks the OBJ tiles changed; the
        // main window's Undo follows and the editor's Undo puts the tile back.
        frame.project().changeFlags = 0;
        editor->flip(true, false);
        QVERIFY(frame.project().changeFlags & CHANGED_OBJ_TILES);
        QVERIFY(frame.commandAction(CMainFrame::Command::Undo)->isEnabled());
        QVERIFY(editor->button("UNDO")->isEnabled());
        frame.workspace().tiles.obj.tiles[30].setPixel(0, 0, 0);
        editor->flip(true, false); // flips a known picture
        frame.workspace().tiles.obj.tiles[30].setPixel(0, 0, 3);
        QTest::mouseClick(editor->button("UNDO"), Qt::LeftButton);
        QCOMPARE(frame.workspace().tiles.obj.tiles[30].pixel(0, 0), 0);
        QVERIFY(editor->button("REDO")->isEnabled());
        QTest::mouseClick(editor->button("UNDO"), Qt::LeftButton); // the first flip, from the same history
        QVERIFY(!editor->button("UNDO")->isEnabled());

        // A press on the editing area makes the editor the pane the Edit commands act on.
        QTest::mousePress(editor->area(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(frame.activePane(), 4);

        // Forward Frame moves the editor on while no manager takes it.
        editor->animation().forwardFrame();
        QCOMPARE(editor->frame().start, 31);

        // Esc closes it and takes the check mark away; the command opens it again.
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        QVERIFY(!command->isChecked());
        command->trigger();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->frame().start, 31); // its state is kept
        // A palette change from elsewhere shows in the open editor's list.
        frame.workspace().tiles.obj.tiles[31].setPalette(6);
        TilePaletteChange change{0, 6, TILE_OBJ, 31, 31};
        frame.route(MSG_TILE_PALETTE_CHANGED, 6, messageParam(&change));
        QCOMPARE(editor->controls().paletteList()->currentIndex(), 6);

        // Its place is stored under "TileDesigner" when the window closes.
        editor->move(300, 200);
        QCOMPARE(editor->pos(), QPoint(300, 200));
        frame.settings().store(frame.pane(CMainFrame::Pane::TileEditor));
        auto settings = openSettings();
        QCOMPARE(settings->value("TileDesigner/Left").toInt(), editor->pos().x());
        QCOMPARE(settings->value("TileDesigner/Top").toInt(), editor->pos().y());

        command->trigger();
        QVERIFY(!editor->isVisible());
        frame.project().changeFlags = 0;
    }
};

QM_QTEST(CMainFrameTilesTest)
#include "CMainFrameTilesTest.moc"
