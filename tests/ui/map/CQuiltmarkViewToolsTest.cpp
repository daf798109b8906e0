#include "ui/map/CQuiltmarkView.h"

#include "core/edit/MapClipboard.h"
#include "core/edit/MapCommands.h"
#include "support/QtTestRunner.h"
#include "ui/map/MapViewActions.h"
#include "ui/map/MapViewCommands.h"
#include "ui/map/MapViewKeys.h"
#include "ui/map/MapViewTools.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace qm;
using namespace qm::ui;

namespace {

// A 400 x 300 view on a 10 x 10 map, with a current tile the test sets.
struct Fixture {
    explicit Fixture(int w = 10, int h = 10)
    {
        ws = std::make_unique<Workspace>();
        ws->project.map.create(w, h);
        view = std::make_unique<CQuiltmarkView>(*ws, undo);
        view->showMessage = [this](const QString& t) { messages << t; };
        view->currentTileProvider = [this] { return tile; };
        view->resize(400, 300);
        view->show();
        view->handleMessage(MSG_MAP_RESET, 1, 0);
    }
    MapCell& cell(int x, int y) { return *ws->project.map.cellAt(x, y); }
    QPoint at(int x, int y) const { return view->cellRect(x, y).center(); }
    void mouse(QEvent::Type type, QPoint cellPos, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = view->viewport();
        const QPointF pos(at(cellPos.x(), cellPos.y()));
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, target->mapToGlobal(pos), button, held, mods);
        QApplication::sendEvent(target, &e);
    }
    void press(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, {x, y}, mods);
    }
    void move(int x, int y) { mouse(QEvent::MouseMove, {x, y}); }
    void release(int x, int y) { mouse(QEvent::MouseButtonRelease, {x, y}); }
    void click(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        press(x, y, mods);
        release(x, y);
    }
    void drag(QPoint from, QPoint to)
    {
        press(from.x(), from.y());
        move(to.x(), to.y());
        release(to.x(), to.y());
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    std::unique_ptr<CQuiltmarkView> view;
    CurrentTile tile{TILE_BG, 0, 0};
    QStringList messages;
};

QList<QPoint> points(std::initializer_list<QPoint> list) { return list; }

} // namespace

class CQuiltmarkViewToolsTest : public QObject {
    Q_OBJECT
private slots:
    void selectorClickDragShiftAndA()
    {
        Fixture f;
        f.click(2, 3);
        QCOMPARE(f.view->selection(), points({{2, 3}}));
        // Dragging up and left: the rectangle row by row from the top.
        f.drag({2, 3}, {1, 2});
        QCOMPARE(f.view->selection(), points({{1, 2}, {2, 2}, {1, 3}, {2, 3}}));
        QVERIFY(f.view->lastStatusText().startsWith(QStringLiteral("a(1,2)-b(1,2)  Width:2  Height:2")));
        // Shift+click keeps the cursor.
        f.click(2, 3);
        f.click(3, 4, Qt::ShiftModifier);
        QCOMPARE(f.view->cursorCell(), QPoint(2, 3));
        QCOMPARE(f.view->selection().size(), 4);

        // A held: toggling.
        f.click(0, 0);
        QTest::keyPress(f.view.get(), Qt::Key_A);
        f.click(0, 0); // the cursor alone: nothing
        QCOMPARE(f.view->selection(), points({{0, 0}}));
        f.click(5, 5);
        QCOMPARE(f.view->cursorCell(), QPoint(5, 5));
        f.click(5, 5); // selected: removed, the cursor goes to the last one left
        QCOMPARE(f.view->selection(), points({{0, 0}}));
        QCOMPARE(f.view->cursorCell(), QPoint(0, 0));
        // A-click on a new cell and drag: the rectangle joins the selection on release.
        f.press(7, 7);
        f.move(8, 8);
        QCOMPARE(f.view->selection(), points({{0, 0}, {7, 7}})); // unchanged while dragging
        f.release(8, 8);
        QCOMPARE(f.view->selection(), points({{0, 0}, {7, 7}, {8, 7}, {7, 8}, {8, 8}}));
        QTest::keyRelease(f.view.get(), Qt::Key_A);
    }

    void pencilLineAndOneUndo()
    {
        Fixture f;
        f.tile = {TILE_BG, 12, 1};
        f.view->setCurrentTool(TOOL_LINE);
        f.press(0, 0);
        QVERIFY(f.cell(0, 0).showsTile(TILE_BG, 12));
        f.move(4, 5);
        QVERIFY(f.view->tools().lineActive());
        QCOMPARE(f.view->tools().workList().size(), 6);
        QVERIFY(!f.cell(4, 5).hasBg()); // only a preview so far
        f.release(4, 5);
        for (const QPoint& p : points({{0, 0}, {0, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 5}}))
            QVERIFY2(f.cell(p.x(), p.y()).showsTile(TILE_BG, 12), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        f.view->actions().undo(); // one step for the line
        for (const MapCell& c : f.ws->project.map.cells)
            QVERIFY(!c.hasBg());

        // The pencil paints each cell it enters, one step for the stroke.
        f.view->setCurrentTool(TOOL_PENCIL);
        f.press(1, 1);
        f.move(2, 1);
        f.move(4, 1); // cells in between are not filled in
        f.release(4, 1);
        QVERIFY(f.cell(1, 1).hasBg() && f.cell(2, 1).hasBg() && !f.cell(3, 1).hasBg() && f.cell(4, 1).hasBg());
        f.view->actions().undo();
        QVERIFY(!f.cell(1, 1).hasBg() && !f.cell(4, 1).hasBg());
    }

    void bucketAndEyedroppers()
    {
        Fixture f;
        f.cell(3, 3).place(TILE_BG, 2, 0);
        f.cell(3, 3).place(TILE_OBJ, 9, 0);
        f.cell(4, 4).place(TILE_BG, 2, 5);
        f.tile = {TILE_BG, 7, 3};
        f.view->setCurrentTool(TOOL_BUCKET);
        f.click(0, 0);
        QVERIFY(f.cell(0, 0).showsTile(TILE_BG, 7) && f.cell(3, 3).showsTile(TILE_BG, 2));

        QSignalSpy picked(f.view.get(), &CQuiltmarkView::tilePicked);
        f.view->setCurrentTool(TOOL_EYEDROPPER);
        f.click(3, 3);
        QCOMPARE(picked.takeFirst(), (QList<QVariant>{int(TILE_OBJ), 9}));
        f.view->setObjHidden(true);
        f.click(3, 3);
        QCOMPARE(picked.takeFirst(), (QList<QVariant>{int(TILE_BG), 2}));

        // The reverse eyedropper picks the BG tile and highlights its uses.
        f.view->setCurrentTool(TOOL_REV_EYEDROPPER);
        QCOMPARE(f.view->lastStatusText(), QStringLiteral("98 Used")); // tile 7 after the fill
        f.click(4, 4);
        QCOMPARE(picked.takeFirst(), (QList<QVariant>{int(TILE_BG), 2}));
        QCOMPARE(f.view->selection(), points({{3, 3}, {4, 4}}));
        QCOMPARE(f.view->lastStatusText(), QStringLiteral("2 Used"));
        f.view->tools().selectCellsUsingPalette(TILE_BG, 5);
        QCOMPARE(f.view->selection(), points({{4, 4}}));
    }

    void typeInWrapsAndStopsPast511()
    {
        Fixture f(3, 2);
        f.view->setCurrentTool(TOOL_SELECT);
        f.click(2, 1);
        f.tile = {TILE_BG, 100, 0};
        f.ws->tiles.bg.tiles[102].setPalette(4);
        f.mouse(QEvent::MouseButtonDblClick, {2, 1}, Qt::ShiftModifier);
        QVERIFY(f.view->keys().typeInMode());
        QCOMPARE(f.view->keys().typeInBase(), 100);
        QSignalSpy picked(f.view.get(), &CQuiltmarkView::tilePicked);
        QTest::keyClick(f.view.get(), Qt::Key_C); // offset 2
        QVERIFY(f.cell(2, 1).showsTile(TILE_BG, 102));
        QCOMPARE(f.cell(2, 1).palette(TILE_BG), 4);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(f.view->cursorCell(), QPoint(0, 0)); // wrapped
        QTest::keyClick(f.view.get(), Qt::Key_1); // offset 27
        QVERIFY(f.cell(0, 0).showsTile(TILE_BG, 127));
        QTest::keyClick(f.view.get(), Qt::Key_Escape);
        QVERIFY(!f.view->keys().typeInMode());

        // Base 511: B would name 512, so nothing is placed, but B still
        // asks for the bucket while it is held.
        f.tile = {TILE_BG, 511, 0};
        f.click(1, 1);
        f.mouse(QEvent::MouseButtonDblClick, {1, 1}, Qt::ShiftModifier);
        QVERIFY(f.view->keys().typeInMode());
        QSignalSpy temporary(f.view.get(), &CQuiltmarkView::temporaryToolRequested);
        QTest::keyPress(f.view.get(), Qt::Key_B);
        QVERIFY(!f.cell(1, 1).hasBg());
        QCOMPARE(temporary.first().at(0).toInt(), int(TOOL_BUCKET));
        QTest::keyRelease(f.view.get(), Qt::Key_B);
        // Other keys end in the mode: Enter moves down instead of filling.
        QTest::keyClick(f.view.get(), Qt::Key_Return);
        QVERIFY(!f.cell(1, 1).hasBg());
        QCOMPARE(f.view->cursorCell(), QPoint(1, 1)); // row 2 is off the map
        QTest::keyClick(f.view.get(), Qt::Key_Up);
        QCOMPARE(f.view->cursorCell(), QPoint(1, 0));
        f.click(0, 0); // a click ends the mode
        QVERIFY(!f.view->keys().typeInMode());
    }

    void copyPasteOfADraggedSelection()
    {
        Fixture f;
        f.cell(5, 7).place(TILE_BG, 1, 1);
        f.cell(6, 7).place(TILE_BG, 2, 2);
        f.cell(5, 8).place(TILE_BG, 3, 3);
        f.cell(6, 8).place(TILE_BG, 4, 4);
        f.drag({5, 7}, {6, 8});
        f.view->commands().execute(MapCommand::Copy);
        const QByteArray copied = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("CQuiltmarkView"));
        QCOMPARE(copied.size(), 4 + 4 * 13);
        f.click(0, 0);
        f.view->commands().execute(MapCommand::Paste);
        QCOMPARE(f.cell(1, 0), f.cell(6, 7));
        QCOMPARE(f.cell(0, 1), f.cell(5, 8));

        // Cut in the tag layer is refused and the clipboard stays.
        f.view->setCurrentLayer(TILE_TAG);
        f.view->commands().execute(MapCommand::Cut);
        QCOMPARE(f.messages, QStringList{QStringLiteral("The tag map cannot be cut.")});
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("CQuiltmarkView")), copied);
        f.view->commands().execute(MapCommand::CopyMapToClipboard);
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(80, 80));
    }

    void tagDeleteAndSetBaseTile()
    {
        Fixture f;
        f.cell(1, 1).set(TILE_BG, 3, TILE_OBJ, 4, 9);
        f.cell(2, 1).tag = 8;
        f.cell(3, 1).tag = 7;
        f.drag({1, 1}, {2, 1});
        f.view->setCurrentLayer(TILE_TAG);
        f.view->commands().execute(MapCommand::Delete);
        QCOMPARE(f.cell(1, 1), (MapCell{TILE_BG, 3, TILE_OBJ, 4, 0}));
        QCOMPARE(f.cell(2, 1).tag, std::uint8_t(0));
        QCOMPARE(f.cell(3, 1).tag, std::uint8_t(7));
        f.view->actions().undo();
        QCOMPARE(f.cell(1, 1).tag, std::uint8_t(9));
        QCOMPARE(f.cell(2, 1).tag, std::uint8_t(8));

        // Set Base Tile answered with No leaves the map and the history.
        f.view->setCurrentLayer(TILE_BG);
        f.view->commands().confirmPrompt = [](const QString&) { return false; };
        f.view->commands().execute(MapCommand::SetBaseTile);
        QVERIFY(!f.cell(0, 0).hasBg());
        QVERIFY(f.view->actions().redoAction()->isEnabled());
    }

    void zoomAndHand()
    {
        Fixture f(200, 150);
        QSignalSpy messages(f.view.get(), &CQuiltmarkView::message);
        f.view->setCurrentTool(TOOL_ZOOM);
        f.click(30, 20);
        QCOMPARE(f.view->cellSize(), 10);
        QCOMPARE(messages.first().at(1).toLongLong(), 3LL); // the frame's zoom box follows
        QCOMPARE(f.view->firstColumn(), 30 - f.view->visibleColumns() / 2);
        QVERIFY(f.view->tools().zoomAnimating());
        QTRY_VERIFY_WITH_TIMEOUT(!f.view->tools().zoomAnimating(), 2000);
        f.view->setCurrentTool(TOOL_ZOOM_OUT);
        f.click(f.view->firstColumn() + 2, f.view->firstRow() + 2);
        QCOMPARE(f.view->cellSize(), 8);

        // The hand drags the map with the pointer.
        f.view->setCurrentTool(TOOL_HAND);
        f.view->scroll().goToColumn(50);
        f.view->scroll().goToRow(40);
        QCOMPARE(f.view->firstColumn(), 50);
        f.press(60, 50);
        f.move(58, 47); // two columns left, three rows up: the view follows
        QCOMPARE(f.view->firstColumn(), 52);
        QCOMPARE(f.view->firstRow(), 43);
        f.release(60, 50);
    }

    void rowAndColumnDialogs()
    {
        Fixture f(6, 4);
        for (int x = 0; x < 6; ++x)
            f.cell(x, 0).place(TILE_BG, x, 0);
        QStringList titles;
        std::optional<int> number = 2;
        f.view->commands().numberPrompt = [&](const QString& title, const QString& label) {
            titles << title + QLatin1Char('|') + label;
            return number;
        };
        std::optional<std::pair<int, int>> range;
        QList<std::pair<int, int>> presets;
        f.view->commands().rangePrompt = [&](const QString& title, int from, int to) {
            titles << title;
            presets << std::make_pair(from, to);
            return range;
        };
        QSignalSpy size(f.view.get(), &CQuiltmarkView::mapSizeChanged);
        f.click(1, 0);
        f.view->commands().execute(MapCommand::InsertColumn);
        QCOMPARE(titles.last(), QStringLiteral("Insert Column|Number of Column :"));
        QCOMPARE(f.cell(3, 0).bgTile, 1);
        QCOMPARE(size.count(), 1);
        number = 0;
        f.view->commands().execute(MapCommand::InsertRow);
        QCOMPARE(f.ws->project.map.height, 4);

        // Delete Column from the cursor to the last selected cell, past the end.
        f.click(5, 0);
        f.click(7, 1, Qt::ShiftModifier);
        range = std::make_pair(5, 99);
        f.view->commands().execute(MapCommand::DeleteColumn);
        QCOMPARE(presets.last(), std::make_pair(5, 7));
        QCOMPARE(f.ws->project.map.width, 5);
        QCOMPARE(f.view->cursorCell().x(), 4);
        f.view->actions().undo();
        QCOMPARE(f.cell(7, 0).bgTile, 5);
        range.reset();
        f.view->commands().execute(MapCommand::DeleteRow);
        QCOMPARE(f.ws->project.map.height, 4);
    }
};

QM_QTEST(CQuiltmarkViewToolsTest)
#include "CQuiltmarkViewToolsTest.moc"
