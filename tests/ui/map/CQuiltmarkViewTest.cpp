#include "ui/map/CQuiltmarkView.h"

#include "core/edit/MapClipboard.h"
#include "core/edit/MapCommands.h"
#include "core/edit/TilePaletteFollow.h"
#include "support/QtTestRunner.h"
#include "ui/map/MapViewActions.h"
#include "ui/map/MapViewCommands.h"
#include "ui/map/MapViewKeys.h"
#include "ui/map/MapViewTools.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <random>

using namespace qm;
using namespace qm::ui;

namespace {

// A view of 400 x 300 pixels on a map of the given size, bound by a reset:
// BG tile 1 is red on the left, blue on the right; the current tile is the test's.
struct Fixture {
    explicit Fixture(int w = 60, int h = 50)
    {
        ws = std::make_unique<Workspace>();
        ws->project.map.create(w, h);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                ws->tiles.bg.tiles[1].setPixel(c, r, static_cast<std::uint8_t>(c < 4 ? 1 : 2));
        ws->tiles.palettes.bgPalettes[0][1] = GbcColor{31, 0, 0};
        ws->tiles.palettes.bgPalettes[0][2] = GbcColor{0, 0, 31};
        ws->tiles.palettes.trueColour = true;
        ws->tiles.palettes.recomputeAll();
        view = std::make_unique<CQuiltmarkView>(*ws, undo);
        view->showMessage = [this](const QString& t) { messages << t; };
        view->currentTileProvider = [this] { return tile; };
        view->resize(400, 300);
        view->show();
        view->handleMessage(MSG_MAP_RESET, 1, 0);
    }
    QImage paint()
    {
        QImage image(view->viewport()->size(), QImage::Format_RGB32);
        QPainter p(&image);
        view->paintView(p, image.rect());
        return image;
    }
    MapCell& cell(int x, int y) { return *ws->project.map.cellAt(x, y); }
    void mouse(QEvent::Type type, QPoint cellPos, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = view->viewport();
        const QPointF pos(view->cellRect(cellPos.x(), cellPos.y()).center());
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, target->mapToGlobal(pos), button, held, mods);
        QApplication::sendEvent(target, &e);
    }
    void press(int x, int y, Qt::KeyboardModifiers mods = {}) { mouse(QEvent::MouseButtonPress, {x, y}, mods); }
    void move(int x, int y) { mouse(QEvent::MouseMove, {x, y}); }
    void release(int x, int y) { mouse(QEvent::MouseButtonRelease, {x, y}); }
    void click(int x, int y, Qt::KeyboardModifiers mods = {})
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

class CQuiltmarkViewTest : public QObject {
    Q_OBJECT
private slots:
    void zoomRecentresOnTheCursor()
    {
        Fixture f;
        f.view->moveCursor(40, 30);
        f.view->handleMessage(MSG_SET_ZOOM, 10, 0);
        QCOMPARE(f.view->cellSize(), 48);
        QCOMPARE(f.view->firstColumn(), 40 - f.view->visibleColumns() / 2);
        QCOMPARE(f.view->firstRow(), 30 - f.view->visibleRows() / 2);
        f.view->handleMessage(MSG_SET_ZOOM, 11, 0); // not a level: ignored
        QCOMPARE(f.view->cellSize(), 48);
    }

    void scrollBarsOnlyWhenNeeded()
    {
        Fixture small(10, 5);
        // 48 columns and the ruler fit 400 pixels until the vertical bar
        // takes its room: both bars, and the last column can be reached.
        // A map that fits needs neither, whatever was shown before.
        for (const auto& [width, height, bars] : {std::tuple{48, 40, true}, {49, 30, false}, {48, 40, true}}) {
            small.ws->project.map.create(width, height);
            small.view->handleMessage(MSG_MAP_RESET, 1, 0);
            QCOMPARE(small.view->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, bars);
            QCOMPARE(small.view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, bars);
        }
        QTest::keyClick(small.view.get(), Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(small.view->firstColumn() + small.view->visibleColumns() >= 48 + 1);
        QCOMPARE(small.view->horizontalScrollBar()->maximum(), 48 + 5);
    }

    void scrollTableThroughKeysAndBars()
    {
        Fixture f;
        QTest::keyClick(f.view.get(), Qt::Key_End);
        QCOMPARE(f.view->firstRow(), 45);
        QTest::keyClick(f.view.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f.view->firstRow(), 45); // line down stops at height - 5
        QTest::keyClick(f.view.get(), Qt::Key_Home);
        QTest::keyClick(f.view.get(), Qt::Key_PageDown);
        QCOMPARE(f.view->firstRow(), f.view->visibleRows() - 1);
        QTest::keyClick(f.view.get(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(f.view->firstColumn(), 55);
        f.view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(f.view->firstColumn(), 55 - f.view->visibleColumns() + 1);
        f.view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        f.view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(f.view->firstColumn(), 0);
        // Screen geometry follows the scroll position; the rulers are off the map.
        f.view->scroll().request(Qt::Horizontal, ScrollRequest::Thumb, 5);
        f.view->scroll().request(Qt::Vertical, ScrollRequest::Start);
        QCOMPARE(f.view->cellRect(5, 0), QRect(8, 8, 8, 8));
        QCOMPARE(f.view->cellAtPoint(QPoint(17, 15)), QPoint(6, 0));
        QVERIFY(!f.view->onMap(f.view->cellAtPoint(QPoint(3, 3))));
    }

    void paintsScaledMapGridAndCursor()
    {
        Fixture f;
        f.ws->project.map.cellAt(1, 1)->place(TILE_BG, 1, 0);
        f.view->renderCell(1, 1);
        f.view->handleMessage(MSG_SET_ZOOM, 6, 0); // 16-pixel cells
        f.view->moveCursor(0, 0);
        const QImage shot = f.paint();
        const QRect r = f.view->cellRect(1, 1), cur = f.view->cellRect(0, 0);
        // The cursor frame lies on the cursor cell's own border.
        QCOMPARE(QColor(shot.pixel(cur.bottomRight())), QColor(255, 0, 0));
        QCOMPARE(QColor(shot.pixel(cur.center())), QColor(200, 200, 200));
        f.view->handleMessage(MSG_GRID, 256, 0);
        QCOMPARE(QColor(f.paint().pixel(r.left(), r.top() + 5)), QColor(128, 0, 0));
        f.view->handleMessage(MSG_GRID, 512, 0);
        QVERIFY(!f.view->gridVisible());

        // Transparent tags leave the map visible; opaque ones cover it.
        f.ws->project.map.cellAt(1, 1)->tag = 5; // tag tile 5 has colour 0 everywhere
        f.view->setTagsVisible(true);
        f.view->setTagsTransparent(true);
        QCOMPARE(QColor(f.paint().pixel(r.topLeft() + QPoint(2, 2))), QColor(248, 0, 0));
        f.view->setTagsTransparent(false);
        QCOMPARE(f.paint().pixel(r.topLeft() + QPoint(2, 2)), f.view->mapPicture(true).color(0));
    }

    // Every zoom level, scrolled across block edges, with and without
    // transparent tags: each screen pixel of the map area shows the colour of
    // the source pixel it scales.
    void paintingShowsTheBlocksAtEveryZoom()
    {
        Fixture f(150, 120);
        std::mt19937 rng(11);
        for (TileSet* set : {&f.ws->tiles.bg, &f.ws->tiles.obj, &f.ws->tiles.tag})
            for (CTile& t : set->tiles)
                for (auto& p : t.pixels)
                    p = static_cast<std::uint8_t>(rng() & 3);
        for (MapCell& c : f.ws->project.map.cells)
            c.set(static_cast<std::uint8_t>(rng()), static_cast<std::uint16_t>(rng() % 512),
                  static_cast<std::uint8_t>(rng()), static_cast<std::uint16_t>(rng() % 512),
                  static_cast<std::uint8_t>(rng()));
        f.view->handleMessage(MSG_MAP_RESET, 0, 0);
        const MapRenderer& r = f.view->renderer();
        for (const bool tags : {false, true}) {
            f.view->setTagsVisible(tags);
            f.view->setTagsTransparent(tags);
            for (int level = 0; level <= 10; ++level) {
                f.view->zoomAround(level, QPoint(64, 64));
                f.view->setSelection({});
                const QImage shot = f.paint();
                const int cs = f.view->cellSize();
                const int left = f.view->firstColumn() * 8, top = f.view->firstRow() * 8;
                for (int y = cs; y < std::min(shot.height(), cs + f.view->drawnRows() * cs); ++y)
                    for (int x = cs; x < std::min(shot.width(), cs + f.view->drawnColumns() * cs); ++x) {
                        const int sx = left + (x - cs) * 8 / cs, sy = top + (y - cs) * 8 / cs;
                        const std::uint8_t t = tags ? r.tagPixel(sx, sy) : r.mapPixel(sx, sy);
                        const std::uint8_t index = tags && !(t & 3) ? r.mapPixel(sx, sy) : t;
                        if (shot.pixel(x, y) != f.view->displayColours()[index])
                            QFAIL(qPrintable(QStringLiteral("zoom %1 tags %2 at %3,%4").arg(level).arg(tags).arg(x).arg(y)));
                    }
            }
        }
    }

    void cellInformationFollowsTheKeys()
    {
        Fixture f;
        f.cell(2, 3).place(TILE_BG, 300, 1);
        f.cell(2, 3).place(TILE_OBJ, 7, 2);
        QTest::keyPress(f.view.get(), Qt::Key_B);
        f.view->showCellInfo(2, 3);
        QVERIFY(f.view->lastStatusText().startsWith(QStringLiteral("x:2 y:3 Tile Set:BG1 Tile:44 Pal:1")));
        QTest::keyRelease(f.view.get(), Qt::Key_B);
        f.view->moveCursor(5, 5);
        QCOMPARE(f.view->lastStatusText(), QString());
    }

    void keyTableMovesToolsAndCommands()
    {
        Fixture f;
        // Ctrl and the arrows move the cursor, scrolling at the edge; plain arrows go to the manager.
        QTest::keyClick(f.view.get(), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(f.view->cursorCell(), QPoint(0, 0));
        f.view->moveCursor(f.view->visibleColumns() - 1, 0);
        QTest::keyClick(f.view.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(f.view->firstColumn(), 1);
        QSignalSpy arrows(f.view.get(), &CQuiltmarkView::managerArrowKey);
        QTest::keyClick(f.view.get(), Qt::Key_Up);
        QCOMPARE(arrows.count(), 1);

        QSignalSpy tools(f.view.get(), &CQuiltmarkView::temporaryToolRequested);
        QSignalSpy commands(f.view.get(), &CQuiltmarkView::mapCommand);
        QSignalSpy frameKeys(f.view.get(), &CQuiltmarkView::frameKeyEvent);
        QTest::keyPress(f.view.get(), Qt::Key_Shift);
        QCOMPARE(tools.count(), 0); // only with the pencil, bucket or line
        f.view->setCurrentTool(TOOL_PENCIL);
        const std::pair<Qt::Key, int> held[] = {{Qt::Key_Shift, TOOL_REV_EYEDROPPER}, {Qt::Key_Control, TOOL_EYEDROPPER},
                                               {Qt::Key_Space, TOOL_HAND}, {Qt::Key_B, TOOL_BUCKET}, {Qt::Key_G, TOOL_LINE}};
        for (const auto& [key, tool] : held) {
            QTest::keyPress(f.view.get(), key);
            QCOMPARE(tools.last()[0].toInt(), tool);
        }
        const std::pair<int, MapCommand> keys[] = {{Qt::Key_Return, MapCommand::BlockFill}, {Qt::CTRL | Qt::Key_C, MapCommand::Copy},
                                                   {Qt::CTRL | Qt::Key_V, MapCommand::Paste}, {Qt::CTRL | Qt::Key_X, MapCommand::Cut}};
        for (const auto& [key, command] : keys) {
            QTest::keyClick(f.view.get(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
            QCOMPARE(commands.last()[0].value<MapCommand>(), command);
        }
        QVERIFY(frameKeys.count() >= 9); // the main window saw every key first
    }

    void undoAndRedoThroughTheView()
    {
        Fixture f;
        f.view->beginUndoStep(STEP_CELLS, StepName::Pencil);
        QVERIFY(f.undo.saveCell(f.ws->project.map, 1, 1, TILE_BG));
        f.ws->project.map.cellAt(1, 1)->place(TILE_BG, 1, 0);
        f.view->renderCell(1, 1);
        QVERIFY(f.view->actions().undoAction()->isEnabled());
        QTest::keyClick(f.view.get(), Qt::Key_Z);
        QCOMPARE(f.view->renderer().mapPixel(8, 8), EMPTY_CELL_INDEX);
        QVERIFY(f.view->actions().redoAction()->isEnabled() && !f.view->actions().undoAction()->isEnabled());
        QTest::keyClick(f.view.get(), Qt::Key_Y);
        QCOMPARE(f.view->renderer().mapPixel(8, 8), 1);
        QCOMPARE(f.view->actions().undoAction()->text(), QStringLiteral("&Undo Pencil"));

        // Undo of a column deletion resets the view to the old width.
        f.ws->project.map.cellAt(3, 2)->place(TILE_BG, 1, 0);
        QSignalSpy sized(f.view.get(), &CQuiltmarkView::mapSizeChanged);
        f.view->beginUndoStep(STEP_COLUMNS_DELETED, StepName::DeleteColumn);
        QVERIFY(f.undo.saveColumns(f.ws->project.map, 3, 2));
        f.ws->project.map.deleteColumn(3);
        f.ws->project.map.deleteColumn(3);
        f.view->handleMessage(MSG_MAP_RESET, 0, 0);
        f.view->actions().undo();
        QCOMPARE(f.view->renderer().columns(), 60);
        QCOMPARE(f.view->renderer().mapPixel(3 * 8, 2 * 8), 1);
        QCOMPARE(sized.count(), 2);
        // Set Base Tile answered with No leaves the map and the history.
        f.view->commands().confirmPrompt = [](const QString&) { return false; };
        f.view->commands().execute(MapCommand::SetBaseTile);
        QVERIFY(!f.cell(0, 0).hasBg() && f.view->actions().redoAction()->isEnabled());
    }

    void coloursTilesAndPaletteFollow()
    {
        Fixture f;
        f.cell(0, 0).place(TILE_BG, 1, 0);
        f.view->renderCell(0, 0);
        f.ws->tiles.palettes.bgPalettes[3][1] = GbcColor{0, 31, 0};
        f.ws->tiles.palettes.recomputeAll();
        f.view->handleMessage(MSG_COLOURS_CHANGED, 0x40, 1 << 3);
        QCOMPARE(f.view->colourTable()[13].green, 248);

        TilePaletteChange change{0, 3, TILE_BG, 1, 1};
        f.view->handleMessage(MSG_TILE_PALETTE_CHANGED, 0, reinterpret_cast<qint64>(&change));
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 13);
        f.view->actions().undo();
        QCOMPARE(f.cell(0, 0).palette(TILE_BG), 0);
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 1);

        // A colour step undone: the view's table follows and the frame hears of it.
        QSignalSpy sent(f.view.get(), &CQuiltmarkView::message);
        f.view->beginUndoStep(STEP_COLOURS, StepName::PaletteColour);
        const GbcColor old = f.ws->tiles.palettes.bgPalettes[3][1];
        f.undo.saveColour(3, 1, old.red, old.green, old.blue);
        f.ws->tiles.palettes.bgPalettes[3][1] = GbcColor{31, 31, 31};
        f.ws->tiles.palettes.recomputeAll();
        f.view->actions().undo();
        QCOMPARE(f.view->colourTable()[13].green, 248);
        QCOMPARE(sent.last()[2].toLongLong(), 1 << 3);

        // Tiles changed: their cells are rendered again, one or a range.
        f.ws->project.map.cellAt(1, 0)->place(TILE_BG, 4, 0);
        f.ws->tiles.bg.tiles[1].setPixel(0, 0, 2);
        f.ws->tiles.bg.tiles[4].setPixel(0, 0, 3);
        f.view->handleMessage(MSG_TILES_CHANGED, TILE_BG | TILES_CHANGED_KEEP_PAGE, 1);
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 2);
        QCOMPARE(f.view->renderer().mapPixel(8, 0), EMPTY_CELL_INDEX); // tile 4 not sent yet
        const TileRange range{3, 4};
        f.view->handleMessage(MSG_TILES_CHANGED, TILE_BG | TILES_CHANGED_RANGE, messageParam(&range));
        QCOMPARE(f.view->renderer().mapPixel(8, 0), 3);
    }

    void goToOnRulerDoubleClick()
    {
        Fixture f(100, 80);
        QStringList asked;
        f.view->goToPrompt = [&](const QString& label, QPoint) -> std::optional<int> {
            asked << label;
            return 20;
        };
        QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, QPoint(50, 3));
        QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, QPoint(3, 50));
        QCOMPARE(asked, (QStringList{QStringLiteral("Go to column:"), QStringLiteral("Go to row:")}));
        QCOMPARE(f.view->firstColumn(), 20);
        QCOMPARE(f.view->firstRow(), 20);
        // A map that fits asks nothing.
        f.ws->project.map.create(10, 5);
        f.view->handleMessage(MSG_MAP_RESET, 1, 0);
        QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, QPoint(30, 3));
        QCOMPARE(asked.size(), 2);
    }

    void displaySwitchesAndColourCommands()
    {
        Fixture f;
        f.cell(0, 0).place(TILE_BG, 1, 0);
        f.cell(0, 0).place(TILE_OBJ, 0, 0);
        f.view->renderCell(0, 0);
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 32);
        QSignalSpy switches(f.view.get(), &CQuiltmarkView::displaySwitchesChanged);
        f.view->actions().hideObjAction()->trigger();
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 1);
        QCOMPARE(switches.last(), (QList<QVariant>{true, true})); // OBJ hidden, tags not shown
        f.view->actions().hideObjAction()->trigger();
        f.view->actions().transparentObjAction()->trigger();
        QCOMPARE(f.view->renderer().mapPixel(0, 0), 1);
        QTest::keyClick(f.view.get(), Qt::Key_X, Qt::ShiftModifier);
        QVERIFY(f.view->tagsVisible());
        QVERIFY(!f.view->actions().hideTagsAction()->isChecked());

        f.view->actions().colourPrompt = [](const QColor& initial) {
            return initial == QColor(255, 0, 0) ? QColor(0, 255, 0) : QColor(); // Cancel for the grid
        };
        f.view->actions().cursorColourAction()->trigger();
        f.view->actions().gridColourAction()->trigger();
        QCOMPARE(std::pair(f.ws->colours.cursor, f.view->gridColour()), std::pair(0x0000FF00u, QColor(128, 0, 0)));
    }

    void contextMenuPalettes()
    {
        Fixture f;
        f.view->moveCursor(0, 0);
        std::unique_ptr<QMenu> menu(f.view->commands().buildContextMenu());
        QVERIFY(!menu->actions()[0]->isEnabled()); // an empty cell
        f.ws->project.map.cellAt(0, 0)->place(TILE_BG, 1, 6);
        menu.reset(f.view->commands().buildContextMenu());
        QMenu* palettes = menu->actions()[0]->menu();
        QVERIFY(palettes->isEnabled() && palettes->actions()[6]->isChecked());
        QSignalSpy commands(f.view.get(), &CQuiltmarkView::mapCommand);
        palettes->actions()[4]->trigger();
        QCOMPARE(commands.last()[1].toInt(), 4);
        f.ws->tiles.dmgMode = true;
        menu.reset(f.view->commands().buildContextMenu());
        QVERIFY(!menu->actions()[0]->menu()->isEnabled());
    }

    void selectorClickDragShiftAndA()
    {
        Fixture f(10, 10);
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
        Fixture f(10, 10);
        f.tile = {TILE_BG, 12, 1};
        f.view->setCurrentTool(TOOL_LINE);
        f.press(0, 0);
        f.move(4, 5);
        QCOMPARE(f.view->tools().workList().size(), 6);
        QVERIFY(!f.cell(4, 5).hasBg()); // only a preview so far
        f.release(4, 5);
        QVERIFY(f.cell(2, 3).showsTile(TILE_BG, 12) && f.cell(4, 5).showsTile(TILE_BG, 12));
        f.view->actions().undo(); // one step for the line
        QVERIFY(!f.cell(0, 0).hasBg() && !f.cell(4, 5).hasBg());

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
        Fixture f(10, 10);
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
        Fixture f(10, 10);
        for (int i = 0; i < 4; ++i)
            f.cell(5 + i % 2, 7 + i / 2).place(TILE_BG, i + 1, i + 1);
        f.drag({5, 7}, {6, 8});
        f.view->commands().execute(MapCommand::Copy);
        const QByteArray copied = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("CQuiltmarkView"));
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

    void zoomAndHand()
    {
        Fixture f(200, 150);
        QSignalSpy messages(f.view.get(), &CQuiltmarkView::message);
        f.view->setCurrentTool(TOOL_ZOOM);
        f.click(30, 20);
        QCOMPARE(f.view->cellSize(), 10);
        QCOMPARE(messages.first().at(1).toLongLong(), 3LL); // the frame's zoom box follows
        QCOMPARE(f.view->firstColumn(), 30 - f.view->visibleColumns() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(!f.view->tools().zoomAnimating(), 2000);
        f.view->setCurrentTool(TOOL_ZOOM_OUT);
        f.click(f.view->firstColumn() + 2, f.view->firstRow() + 2);
        QCOMPARE(f.view->cellSize(), 8);

        // The hand drags the map with the pointer.
        f.view->setCurrentTool(TOOL_HAND);
        f.view->scroll().goToColumn(50);
        f.view->scroll().goToRow(40);
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
        f.click(1, 0);
        f.view->commands().execute(MapCommand::InsertColumn);
        QCOMPARE(titles.last(), QStringLiteral("Insert Column|Number of Column :"));
        QCOMPARE(f.cell(3, 0).bgTile, 1);

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

QM_QTEST(CQuiltmarkViewTest)
#include "CQuiltmarkViewTest.moc"
