#include "ui/tiles/TileSheetSaving.h"

#include "ManagerFixture.h"
#include "core/export/TileSheet.h"
#include "support/QtTestRunner.h"
#include "support/TestSupport.h"

#include <QImage>

using namespace qm;
using namespace qm::ui;

// The tile sheet read back through Qt's own PNG reader.
class TileSheetSavingTest : public QObject {
    Q_OBJECT
private slots:
    void savedTilesDecodeToTheTilesIndices()
    {
        qm::test::ManagerFixture f;
        for (int t = 0; t < TILES_PER_SET; ++t) {
            CTile& tile = f.ws.tiles.obj.tiles[static_cast<size_t>(t)];
            tile.setPalette(t % 8);
            for (int i = 0; i < 64; ++i)
                tile.pixels[static_cast<size_t>(i)] = static_cast<std::uint8_t>((i + i / 8 + t) % 4);
        }
        f.ws.tiles.palettes.objPalettes[5][2] = GbcColor{31, 16, 1};
        qm::test::TempDir dir;
        QString answer = QString::fromStdString(dir.file("obj.png")), suggested;
        f.mgr->picturePathPrompt = [&](const QString& s) {
            suggested = s;
            return answer;
        };
        const auto save = [&] { f.runMenuItem(TILE_OBJ, QString::fromUtf8(SAVE_TILES_PICTURE)); };
        save();
        QCOMPARE(suggested, QStringLiteral("tiles_obj.png"));
        // Each tile with its own palette: 16 tiles a row, index = palette x 4 + colour.
        const QImage sheet(answer);
        QCOMPARE(std::tuple(sheet.format(), sheet.size(), sheet.colorCount(), sheet.color(5 * 4 + 2)),
                 std::tuple(QImage::Format_Indexed8, QSize(128, 256), 32, qRgb(255, 132, 8)));
        // One palette for every tile: index = colour.
        QVERIFY(writeTileSheet(dir.file("one.png"), f.ws.tiles, TILE_OBJ, 32, 5));
        const QImage one(QString::fromStdString(dir.file("one.png")));
        QCOMPARE(std::tuple(one.size(), one.colorCount(), one.color(2)), std::tuple(QSize(256, 128), 4, qRgb(255, 132, 8)));
        for (int t = 0; t < TILES_PER_SET; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const int colour = (y * 8 + x + y + t) % 4;
                    QCOMPARE(sheet.pixelIndex(t % 16 * 8 + x, t / 16 * 8 + y), t % 8 * 4 + colour);
                    QCOMPARE(one.pixelIndex(t % 32 * 8 + x, t / 32 * 8 + y), colour);
                }
        // Cancel writes nothing; a file that cannot be written is told.
        answer.clear();
        save();
        answer = QString::fromStdString(dir.file("none/obj.png"));
        save();
        QCOMPARE(std::pair(qm::test::entriesIn(dir.path()), f.messages.size()), std::pair(2L, qsizetype(1)));
        QVERIFY(f.messages[0].startsWith(QStringLiteral("Unable to write file ") + answer));
    }
};

QM_QTEST(TileSheetSavingTest)
#include "TileSheetSavingTest.moc"
