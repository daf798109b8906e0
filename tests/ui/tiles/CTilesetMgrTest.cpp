#include "ui/tiles/CTilesetMgr.h"

#include "ManagerFixture.h"
#include "core/edit/MapClipboard.h"
#include "support/QtTestRunner.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>

using namespace qm;
using namespace qm::ui;
using Fixture = qm::test::ManagerFixture;

class CTilesetMgrTest : public QObject {
    Q_OBJECT
private slots:
    void pagesStartAtTileZeroAndThePalettePageKeepsTheSet()
    {
        Fixture f;
        QCOMPARE(f.mgr->sheet()->count(), 4);
        QVERIFY(!f.page(TILE_TAG)->scrollBar(1)); // tile 0 on each page: the ui app's CMainFrameProjectTest
        QSignalSpy pages(f.mgr.get(), &CTilesetMgr::pageChanged);
        f.mgr->showPage(TILE_OBJ);
        f.mgr->showPage(0x20); // any other kind: the palette page
        QCOMPARE(std::pair(f.mgr->currentKind(), f.mgr->currentSetKind()), std::pair(int(PAGE_PALETTE), int(TILE_OBJ)));
        f.mgr->showPage(TILE_TAG);
        QCOMPARE(std::pair(pages.count(), f.mgr->currentTileSet()), std::pair(qsizetype(3), &f.ws.tiles.tag));
    }

    void clicksKeysAndProgrammaticSelection()
    {
        Fixture f;
        f.click(TILE_BG, 2);
        f.click(TILE_BG, 5, Qt::ShiftModifier);
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), (QList<int>{2, 3, 4, 5}));
        f.click(TILE_BG, 21); // right column: tile 257
        f.click(TILE_BG, 21, Qt::ControlModifier); // the only one stays
        QCOMPARE(std::pair(f.mgr->selectedTiles(TILE_BG), f.of(MSG_CURRENT_TILE_CHANGED).back().lParam),
                 std::pair(QList<int>{257}, qint64(257)));
        QTest::mouseDClick(f.page(TILE_BG), Qt::LeftButton, {}, f.page(TILE_BG)->cellRect(7).center());
        QCOMPARE(f.of(MSG_TILE_DOUBLE_CLICKED).back().wParam, qint64(7));

        f.mgr->selectTile(TILE_BG, 300);
        QCOMPARE(f.page(TILE_BG)->scrollBar(1)->value(), 44);
        f.mgr->selectTile(TILE_BG, 255);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_Up);
        QCOMPARE(f.of(MSG_CURRENT_TILE_CHANGED).back().lParam, qint64(254));
        f.mgr->selectTile(TILE_TAG, 300); // the tag page reaches tiles 0..255 only
        f.mgr->replaceSelection({4, 4, 9}); // nor on the tag page
        QCOMPARE(std::pair(f.mgr->currentTile(TILE_TAG), f.mgr->selectedTiles(TILE_TAG)), std::pair(0, QList<int>{0}));
        f.mgr->showPage(TILE_BG);
        f.mgr->replaceSelection({4, 4, 9});
        QCOMPARE(f.mgr->selectedTiles(TILE_BG), (QList<int>{4, 4, 9}));

        // The bottom of a scroll bar shows the end of its own bank.
        f.page(TILE_OBJ)->scrollBar(1)->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(f.page(TILE_OBJ)->state().tileAtCell(39), 511);
    }

    void paletteOfSelectedTilesReportsEachTile()
    {
        Fixture f;
        f.ws.tiles.bg.tiles[2].setPalette(5);
        f.click(TILE_BG, 1);
        f.click(TILE_BG, 2, Qt::ControlModifier);
        f.runMenuItem(TILE_BG, QStringLiteral("Palette 3"));
        const auto reports = f.of(MSG_TILE_PALETTE_CHANGED);
        QCOMPARE(std::tuple(int(reports.size()), int(reports.back().change.oldPalette), int(reports.back().change.firstTile)),
                 std::tuple(2, 5, 2));
        QCOMPARE(f.page(TILE_BG)->paletteLabel()->text(), QStringLiteral("Palette: 3"));
    }

    void keysCutPasteAndDelete()
    {
        Fixture f;
        CTile& t = f.ws.tiles.bg.tiles[7];
        t.pixels.fill(2);
        t.setComment("wall");
        const CTile before = t;
        f.click(TILE_BG, 7);
        QTest::keyClick(f.page(TILE_BG), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(std::pair(int(t.commentLength), f.of(MSG_TILES_CHANGED).back().range.first), std::pair(0, 7));
        QTest::keyClick(f.page(TILE_BG), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(t.sameContent(before));
        QTest::keyClick(f.page(TILE_BG), Qt::Key_Delete);
        QCOMPARE(int(t.pixels[0]), 0);

        // Map cells on the clipboard paste the pixels of the tiles they name.
        f.ws.tiles.bg.tiles[9].pixels.fill(2);
        const std::vector<std::uint8_t> bytes = encodeClipboard({{0, 0, 0x41, 9}});
        auto* data = new QMimeData;
        data->setData(QStringLiteral("CQuiltmarkView"),
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        QApplication::clipboard()->setMimeData(data);
        f.mgr->selectTile(TILE_BG, 40);
        f.mgr->paste();
        QCOMPARE(int(f.ws.tiles.bg.tiles[40].pixels[63]), 2);
    }

    void remapFromTheBankOfTheFirstSelectedTile()
    {
        Fixture f;
        for (int i = 0; i < 512; ++i)
            f.ws.tiles.bg.tiles[size_t(i)].pixels.fill(1);
        RemapRequest offered;
        f.mgr->remapPrompt = [&](const RemapRequest& preset, const DisplayTable&) {
            offered = preset;
            RemapRequest r = preset;
            r.mapping = {0, 3, 2, 1};
            return std::optional<RemapRequest>(r);
        };
        f.mgr->selectTile(TILE_BG, 300);
        f.click(TILE_BG, 25, Qt::ControlModifier); // tile 305
        f.runMenuItem(TILE_BG, QStringLiteral("&Remap Tile Color"));
        const int remapped = f.ws.tiles.bg.tiles[300].pixels[0];
        QCOMPARE(std::tuple(offered.from, offered.bankBase, remapped, f.of(MSG_TILES_CHANGED).size()),
                 std::tuple(44, 256, 3, size_t(1)));
    }

    void selectionColourAndMovePage()
    {
        Fixture f;
        f.mgr->colourPrompt = [](const QColor&) { return QColor(0, 255, 0); };
        f.runMenuItem(TILE_OBJ, QStringLiteral("Cursor Color"));
        QCOMPARE(f.ws.colours.objSelection, 0x0000FF00u);
        f.runMenuItem(TILE_OBJ, QStringLiteral("Move Page"));
        f.click(TILE_OBJ, 6);
        QCOMPARE(f.mgr->currentTile(TILE_OBJ), 0); // no selection change
        f.runMenuItem(TILE_OBJ, QStringLiteral("Selector"));
        // The space bar lends the hand while it is held.
        QTest::keyPress(f.page(TILE_OBJ), Qt::Key_Space);
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
        const QRect other = f.page(TILE_BG)->cellRect(4);
        QCOMPARE(std::tuple(QColor(image.pixel(cell.center())), QColor(image.pixel(cell.left() - 1, cell.center().y())),
                            QColor(image.pixel(other.left() - 1, other.center().y())) == QColor(255, 0, 0)),
                 std::tuple(QColor(190, 70, 70), QColor(255, 0, 0), false));

        // A tile change shows its page unless it is to be kept.
        f.mgr->showPage(TILE_OBJ);
        const TileRange range{3, 5};
        f.mgr->handleMessage(MSG_TILES_CHANGED, TILE_BG | TILES_CHANGED_RANGE, messageParam(&range));
        f.mgr->handleMessage(MSG_TILES_CHANGED, TILE_OBJ | TILES_CHANGED_KEEP_PAGE, 4);
        QCOMPARE(f.mgr->currentKind(), int(TILE_BG));
    }
};

QM_QTEST(CTilesetMgrTest)
#include "CTilesetMgrTest.moc"
