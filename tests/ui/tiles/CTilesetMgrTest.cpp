#include "ui/tiles/CTilesetMgr.h"

#include "core/undo/UndoStore.h"
#include "core/base/ByteWriter.h"
#include "support/QtTestRunner.h"
#include "ui/tiles/CTilesetPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <memory>

using namespace qm;
using namespace qm::ui;

namespace {

struct Sent {
    AppMessage msg;
    qint64 wParam;
    qint64 lParam;
    TilePaletteChange change; // copied while the record lives
    TileRange range;
};

struct Fixture {
    Fixture()
    {
        mgr = std::make_unique<CTilesetMgr>(ws, undo);
        mgr->showMessage = [this](const QString& t) { messages << t; };
        mgr->resize(220, 480);
        mgr->show();
        QObject::connect(mgr.get(), &CTilesetMgr::message, mgr.get(), [this](AppMessage m, qint64 w, qint64 l) {
            Sent s{m, w, l, {}, {}};
            if (m == MSG_TILE_PALETTE_CHANGED)
                s.change = *messageRecord<TilePaletteChange>(l);
            if (m == MSG_TILES_CHANGED && (w & TILES_CHANGED_RANGE))
                s.range = *messageRecord<TileRange>(l);
            sent.push_back(s);
        });
    }
    CTilesetPage* page(int kind) { return mgr->page(kind); }
    void click(int kind, int cell, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(page(kind), Qt::LeftButton, mods, page(kind)->cellRect(cell).center());
    }
    std::vector<Sent> of(AppMessage m) const
    {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.msg == m)
                out.push_back(s);
        return out;
    }
    QAction* menuAction(QMenu* menu, const QString& text)
    {
        for (QAction* a : menu->actions()) {
            if (a->text() == text)
                return a;
            if (a->menu())
                if (QAction* inner = menuAction(a->menu(), text))
                    return inner;
        }
        return nullptr;
    }

    Workspace ws;
    UndoStore undo;
    std::unique_ptr<CTilesetMgr> mgr;
    std::vector<Sent> sent;
    QStringList messages;
};

} // namespace

class CTilesetMgrTest : public QObject {
    Q_OBJECT
private slots:
    void sheetPagesAndGrid()
    {
        Fixture f;
        QTabWidget* sheet = f.mgr->sheet();
        QCOMPARE(sheet->count(), 4);
        QCOMPARE(sheet->tabText(0), QStringLiteral("BG"));
        QCOMPARE(sheet->tabText(1), QStringLiteral("OBJ"));
        QCOMPARE(sheet->tabText(2), QStringLiteral("CPD"));
        QCOMPARE(sheet->tabText(3), QStringLiteral("Tag"));
        QCOMPARE(f.page(TILE_BG)->heading(0)->text(), QStringLiteral("BG 0"));
        QCOMPARE(f.page(TILE_BG)->heading(1)->text(), QStringLiteral("BG 1"));
        QCOMPARE(f.page(TILE_OBJ)->heading(1)->text(), QStringLiteral("OBJ 1"));
        QCOMPARE(f.page(TILE_TAG)->heading(0)->text(), QStringLiteral("TAG"));
        QVERIFY(!f.page(TILE_TAG)->scrollBar(1));
        QScrollBar* bar = f.page(TILE_OBJ)->scrollBar(1);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 236);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 5);
        QCOMPARE(f.page(TILE_BG)->cellRect(0).size(), QSize(16, 16));
        for (int kind : {TILE_BG, TILE_OBJ, TILE_TAG}) {
            QCOMPARE(f.mgr->currentTile(kind), 0);
            QCOMPARE(f.mgr->selectedTiles(kind), QList<int>{0});
        }
        QCOMPARE(f.mgr->currentKind(), int(TILE_BG));
        QCOMPARE(f.page(TILE_BG)->paletteLabel()->text(), QStringLiteral("Palette: 0"));

        // Page bookkeeping: the palette page keeps the current set.
        QSignalSpy pages(f.mgr.get(), &CTilesetMgr::pageChanged);
        f.mgr->showPage(TILE_OBJ);
        f.mgr->showPage(0x20);
        QCOMPARE(f.mgr->currentKind(), PAGE_PALETTE);
        QCOMPARE(f.mgr->currentSetKind(), int(TILE_OBJ));
        f.mgr->showPage(TILE_TAG);
        QCOMPARE(pages.count(), 3);
        QCOMPARE(pages.last().at(0).toInt(), int(TILE_TAG));
        QCOMPARE(f.mgr->currentTileSet(), &f.ws.tiles.tag);
    }

    void clicksWithShiftAndCtrl()
    {
        Fixture f;
        f.click(TILE_BG, 2);
        f.click(TILE_BG, 5, Qt::ShiftModifier);
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), (QList<int>{2, 3, 4, 5}));
        QCOMPARE(f.mgr->currentTile(TILE_BG), 5);
        f.click(TILE_BG, 0, Qt::ShiftModifier);
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), (QList<int>{5, 4, 3, 2, 1, 0}));
        QCOMPARE(f.mgr->currentTile(TILE_BG), 0);
        f.click(TILE_BG, 21); // right column: tile 257
        f.click(TILE_BG, 21, Qt::ControlModifier);
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), QList<int>{257});
        const auto current = f.of(MSG_CURRENT_TILE_CHANGED);
        QCOMPARE(int(current.size()), 5);
        QCOMPARE(current.back().wParam, qint64(TILE_BG));
        QCOMPARE(current.back().lParam, qint64(257));

        QSignalSpy doubles(f.mgr.get(), &CTilesetMgr::message);
        QTest::mouseDClick(f.page(TILE_BG), Qt::LeftButton, {}, f.page(TILE_BG)->cellRect(7).center());
        QCOMPARE(f.mgr->currentTile(TILE_BG), 7);
        QCOMPARE(f.of(MSG_TILE_DOUBLE_CLICKED).back().wParam, qint64(7));
    }

    void programmaticSelectionAndKeys()
    {
        Fixture f;
        f.mgr->selectTile(TILE_BG, 300);
        QCOMPARE(f.page(TILE_BG)->scrollBar(1)->value(), 44);
        QCOMPARE(f.page(TILE_BG)->state().cellOfTile(300), 20);
        f.mgr->selectTile(TILE_BG, 250);
        QCOMPARE(f.page(TILE_BG)->scrollBar(0)->value(), 236);
        QCOMPARE(f.page(TILE_BG)->state().cellOfTile(250), 14);
        f.mgr->selectTile(TILE_BG, 255);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_Down);
        QCOMPARE(f.mgr->currentTile(TILE_BG), 255);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_Up);
        QCOMPARE(f.mgr->currentTile(TILE_BG), 254);
        QCOMPARE(f.of(MSG_CURRENT_TILE_CHANGED).back().lParam, qint64(254));

        // The tag page reaches tiles 0..255 only.
        f.mgr->selectTile(TILE_TAG, 300);
        QCOMPARE(f.mgr->currentTile(TILE_TAG), 0);

        f.mgr->replaceSelection({4, 4, 9});
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), (QList<int>{4, 4, 9}));
        f.mgr->showPage(TILE_TAG);
        f.mgr->replaceSelection({1});
        QCOMPARE(f.mgr->selectedTiles(TILE_TAG), QList<int>{0});
    }

    void scrollBarBottomStaysInItsBank()
    {
        Fixture f;
        for (int column : {0, 1}) {
            QScrollBar* bar = f.page(TILE_OBJ)->scrollBar(column);
            bar->triggerAction(QAbstractSlider::SliderToMaximum);
            QCOMPARE(bar->value(), 236);
            QCOMPARE(f.page(TILE_OBJ)->state().tileAtCell(column * 20 + 19), column == 0 ? 255 : 511);
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            QCOMPARE(f.page(TILE_OBJ)->state().topRow(column), 231);
        }
    }

    void paletteOfSelectedTilesReportsEachTile()
    {
        Fixture f;
        f.ws.tiles.bg.tiles[2].setPalette(5);
        f.click(TILE_BG, 1);
        f.click(TILE_BG, 2, Qt::ControlModifier);
        std::unique_ptr<QMenu> menu(f.page(TILE_BG)->buildContextMenu());
        QAction* entry = f.menuAction(menu.get(), QStringLiteral("Palette 3"));
        QVERIFY(entry);
        QVERIFY(!entry->icon().isNull());
        entry->trigger();
        const auto reports = f.of(MSG_TILE_PALETTE_CHANGED);
        QCOMPARE(int(reports.size()), 2);
        QCOMPARE(int(reports[0].change.oldPalette), 0);
        QCOMPARE(int(reports[0].change.newPalette), 3);
        QCOMPARE(int(reports[0].change.firstTile), 1);
        QCOMPARE(int(reports[1].change.oldPalette), 5);
        QCOMPARE(int(reports[1].change.lastTile), 2);
        QCOMPARE(int(reports[1].change.layer), int(TILE_BG));
        QCOMPARE(f.page(TILE_BG)->paletteLabel()->text(), QStringLiteral("Palette: 3"));
        QVERIFY(f.menuAction(menu.get(), QStringLiteral("&Remap Tile Color")));
        QVERIFY(f.menuAction(menu.get(), QStringLiteral("Selector"))->isChecked());
        QVERIFY(f.menuAction(menu.get(), QStringLiteral("Move Page")));
        QVERIFY(f.menuAction(menu.get(), QStringLiteral("Cursor Color")));

        // Undo of the tile edit gives both palettes back.
        UndoListener listener;
        QVERIFY(f.undo.undo(f.ws, listener));
        QCOMPARE(int(f.ws.tiles.bg.tiles[1].palette()), 0);
        QCOMPARE(int(f.ws.tiles.bg.tiles[2].palette()), 5);
    }

    void cutAndPasteOneTile()
    {
        Fixture f;
        CTile& t = f.ws.tiles.bg.tiles[7];
        for (int i = 0; i < 64; ++i)
            t.pixels[size_t(i)] = std::uint8_t(i % 3);
        t.setPalette(4);
        t.setComment("wall");
        const CTile before = t;
        f.click(TILE_BG, 7);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(t.commentLength, std::uint8_t(0));
        QCOMPARE(int(t.palette()), 0);
        const auto changed = f.of(MSG_TILES_CHANGED);
        QCOMPARE(int(changed.size()), 1);
        QCOMPARE(changed[0].wParam & 0xFF, qint64(TILE_BG));
        QCOMPARE(changed[0].range.first, 7);
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("CTile")));
        QTest::keyClick(f.page(TILE_BG), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(t.sameContent(before));
        QCOMPARE(int(t.palette()), 4);
        QCOMPARE(QString::fromStdString(std::string(t.commentText())), QStringLiteral("wall"));
    }

    void pasteFiveTilesAt510()
    {
        Fixture f;
        for (int i = 0; i < 5; ++i)
            f.ws.tiles.obj.tiles[size_t(i)].pixels.fill(3);
        f.mgr->selectTile(TILE_OBJ, 0);
        f.click(TILE_OBJ, 4, Qt::ShiftModifier);
        f.mgr->copy();
        f.mgr->selectTile(TILE_OBJ, 510);
        f.mgr->paste();
        QCOMPARE(int(f.ws.tiles.obj.tiles[510].pixels[0]), 3);
        QCOMPARE(int(f.ws.tiles.obj.tiles[511].pixels[0]), 3);
        QCOMPARE(int(f.ws.tiles.obj.tiles[509].pixels[0]), 0);
        QCOMPARE(f.undo.tileRecords().size(), size_t(2));
        const auto changed = f.of(MSG_TILES_CHANGED).back();
        QCOMPARE(changed.range.first, 510);
        QCOMPARE(changed.range.last, 511);
    }

    void pasteOfMapCells()
    {
        Fixture f;
        f.ws.tiles.bg.tiles[9].pixels.fill(2);
        ByteWriter w;
        w.i32(1), w.i32(0), w.i32(0), w.u8(0x41), w.i32(9);
        const auto bytes = w.take();
        auto* data = new QMimeData;
        data->setData(QStringLiteral("CQuiltmarkView"),
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        QApplication::clipboard()->setMimeData(data);
        f.mgr->selectTile(TILE_BG, 40);
        f.mgr->paste();
        QCOMPARE(int(f.ws.tiles.bg.tiles[40].pixels[63]), 2);
    }

    void deleteClearsSelectedTiles()
    {
        Fixture f;
        f.ws.tiles.bg.tiles[3].pixels.fill(1);
        f.click(TILE_BG, 3);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_Delete);
        QCOMPARE(int(f.ws.tiles.bg.tiles[3].pixels[0]), 0);
        UndoListener listener;
        QVERIFY(f.undo.undo(f.ws, listener));
        QCOMPARE(int(f.ws.tiles.bg.tiles[3].pixels[0]), 1);
    }

    void remapFromTheBankOfTheFirstSelectedTile()
    {
        Fixture f;
        for (int i = 0; i < 512; ++i)
            f.ws.tiles.bg.tiles[size_t(i)].pixels.fill(1);
        f.ws.tiles.bg.tiles[507].setPalette(2);
        RemapRequest offered;
        f.mgr->remapPrompt = [&](const RemapRequest& preset, const DisplayTable&) {
            offered = preset;
            RemapRequest r = preset;
            r.from = 250;
            r.to = 255;
            r.mapping = {0, 3, 2, 1};
            return std::optional<RemapRequest>(r);
        };
        f.mgr->selectTile(TILE_BG, 300);
        f.click(TILE_BG, 25, Qt::ControlModifier); // tile 305
        std::unique_ptr<QMenu> menu(f.page(TILE_BG)->buildContextMenu());
        f.menuAction(menu.get(), QStringLiteral("&Remap Tile Color"))->trigger();
        QCOMPARE(offered.from, 44);
        QCOMPARE(offered.to, 49);
        QCOMPARE(offered.bankBase, 256);
        for (int i : {505, 506, 511, 250, 507}) {
            const int expected = (i >= 506 && i != 507) ? 3 : 1;
            QCOMPARE(int(f.ws.tiles.bg.tiles[size_t(i)].pixels[0]), expected);
        }
    }

    void selectionColourAndMovePage()
    {
        Fixture f;
        QCOMPARE(f.mgr->selectionColour(TILE_BG), QColor(255, 0, 0));
        f.mgr->colourPrompt = [](const QColor&) { return QColor(0, 255, 0); };
        std::unique_ptr<QMenu> menu(f.page(TILE_OBJ)->buildContextMenu());
        f.menuAction(menu.get(), QStringLiteral("Cursor Color"))->trigger();
        QCOMPARE(f.mgr->selectionColour(TILE_OBJ), QColor(0, 255, 0));
        QCOMPARE(f.ws.colours.objSelection, 0x0000FF00u);
        f.menuAction(menu.get(), QStringLiteral("Move Page"))->trigger();
        QCOMPARE(f.mgr->mouseMode(), CTilesetMgr::MouseMode::MovePage);
        f.click(TILE_OBJ, 6);
        QCOMPARE(f.mgr->currentTile(TILE_OBJ), 0); // no selection change
        f.mgr->setMouseMode(CTilesetMgr::MouseMode::Selector);

        // The space bar lends the hand while it is held.
        QTest::keyPress(f.page(TILE_OBJ), Qt::Key_Space);
        QCOMPARE(f.mgr->mouseMode(), CTilesetMgr::MouseMode::MovePage);
        QCOMPARE(f.page(TILE_OBJ)->cursor().shape(), Qt::OpenHandCursor);
        QTest::keyRelease(f.page(TILE_OBJ), Qt::Key_Space);
        QCOMPARE(f.mgr->mouseMode(), CTilesetMgr::MouseMode::Selector);
    }

    void drawsTilesThroughTheirPaletteAndFramesTheSelection()
    {
        Fixture f;
        f.ws.tiles.palettes.bgPalettes[1][2] = GbcColor{31, 0, 0};
        f.ws.tiles.palettes.recomputeAll();
        f.ws.tiles.bg.tiles[3].pixels.fill(2);
        f.ws.tiles.bg.tiles[3].setPalette(1);
        f.click(TILE_BG, 3);
        const QImage image = f.page(TILE_BG)->grab().toImage();
        const QRect cell = f.page(TILE_BG)->cellRect(3);
        QCOMPARE(QColor(image.pixel(cell.center())), QColor(190, 70, 70));
        QCOMPARE(QColor(image.pixel(cell.left() - 1, cell.center().y())), QColor(255, 0, 0));
        const QRect other = f.page(TILE_BG)->cellRect(4);
        QVERIFY(QColor(image.pixel(other.left() - 1, other.center().y())) != QColor(255, 0, 0));
    }

    void messagesReceived()
    {
        Fixture f;
        f.mgr->showPage(TILE_OBJ);
        const TileRange range{3, 5};
        f.mgr->handleMessage(MSG_TILES_CHANGED, TILE_BG | TILES_CHANGED_RANGE, messageParam(&range));
        QCOMPARE(f.mgr->currentKind(), int(TILE_BG));
        f.mgr->handleMessage(MSG_TILES_CHANGED, TILE_OBJ | TILES_CHANGED_KEEP_PAGE, 4);
        QCOMPARE(f.mgr->currentKind(), int(TILE_BG));
    }

    void colourModes()
    {
        Fixture f;
        QVERIFY(f.mgr->setTrueColour(true));
        QVERIFY(!f.mgr->setTrueColour(true));
        QCOMPARE(f.ws.tiles.palettes.bgDisplay[0][3], (DisplayColour{248, 248, 248}));
        QVERIFY(f.mgr->setTrueColour(false));
    }
};

QM_QTEST(CTilesetMgrTest)
#include "CTilesetMgrTest.moc"
