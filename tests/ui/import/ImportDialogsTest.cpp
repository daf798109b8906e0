#include "core/base/PngWriter.h"
#include "core/project/MapCell.h"
#include "core/import/ImportBuilders.h"
#include "support/TestSupport.h"
#include "ui/app/CommandHost.h"
#include "ui/import/CBmpDialog.h"
#include "ui/import/ImportCommands.h"
#include "ui/import/ImportPaletteDialog.h"
#include "ui/import/ImportTilesetDialog.h"
#include "ui/import/MapDimensionDialog.h"
#include "ui/import/MapOrientationDialog.h"
#include "ui/import/SelectTilesetDialog.h"
#include "support/QtTestRunner.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;
using qm::test::writeBytes;

namespace {

// A host with its own workspace that records what the commands send.
struct TestHost {
    Workspace ws;
    ScriptedPrompter prompter;
    NullProgress progress;
    CommandHost host;
    std::vector<AppMessage> sent;
    std::vector<int> changes; // every change flags the command set, each a call
    std::vector<QString> titles;
    QString file;
    int page = TILE_BG;
    std::function<void(QDialog&)> dialogs = [](QDialog&) {}; // fills in a dialog before OK

    TestHost()
    {
        ws.project.map.create(20, 18);
        host.workspace = &ws;
        host.prompter = &prompter;
        host.progress = &progress;
        host.shownPage = [this] { return page; };
        host.currentTile = [](int) { return 10; };
        host.notify = [this](AppMessage m, qint64, qint64) { sent.push_back(m); };
        host.setChanged = [this](ChangeFlags bits) {
            changes.push_back(bits);
            ws.project.setChanged(bits);
        };
        host.openFile = [this](QWidget*, const QString& title, const QString&, const QString&) {
            titles.push_back(title);
            return file;
        };
        host.exec = [this](QDialog& d) {
            dialogs(d);
            d.accept();
            return d.result() == QDialog::Accepted;
        };
    }
    bool wasSent(AppMessage m) const
    {
        return std::find(sent.begin(), sent.end(), m) != sent.end();
    }
};

} // namespace

class ImportDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void tileSetDialogChecksTheRange()
    {
        TempDir dir;
        writeBytes(dir.file("t.bin"), std::vector<std::uint8_t>(32, 0));
        TestHost t;
        ImportTilesetDialog dialog(t.host, TILE_OBJ);
        QVERIFY(dialog.obj()->isChecked());
        dialog.setChosenFile(QString::fromStdString(dir.file("t.bin")));
        QCOMPARE(dialog.toTile()->text(), QStringLiteral("1"));

        dialog.toTile()->setText(QStringLiteral("2"));
        dialog.accept();
        QCOMPARE(t.prompter.informed.back(), std::string("Invalid end tile value. This file only has 2 tiles"));

        dialog.fromTile()->setText(QStringLiteral("3"));
        dialog.accept();
        QCOMPARE(t.prompter.informed.back(), std::string("Invalid import tile setting"));

        dialog.fromTile()->setText(QStringLiteral("0"));
        dialog.toTile()->setText(QStringLiteral("1"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.request().target, TileKind(TILE_OBJ));

        // A tile sheet of 3 x 2 whole cells counts its cells.
        const std::uint8_t pixels[24 * 17] = {};
        const PngColour black[1] = {};
        writeBytes(dir.file("sheet.png"), encodeIndexedPng(24, 17, pixels, 24, black));
        dialog.type()->setCurrentIndex(2);
        dialog.setChosenFile(QString::fromStdString(dir.file("sheet.png")));
        QCOMPARE(dialog.toTile()->text(), QStringLiteral("5"));
    }

    void tileSetDialogFileDialogsByTypeAndKind()
    {
        TestHost t;
        ImportTilesetDialog dialog(t.host, TILE_BG);
        t.file = QStringLiteral("/no/such/file.qmb");
        dialog.type()->setCurrentIndex(1);
        dialog.obj()->setChecked(true);
        dialog.browse();
        QCOMPARE(t.titles, std::vector<QString>{QStringLiteral("Get OBJ tile set file")});
        QCOMPARE(t.prompter.informed.back(), std::string("Invalid or damaged file selected"));
    }

    void tileSetCommandImportsAtTheCurrentTile()
    {
        TempDir dir;
        std::vector<std::uint8_t> bytes(64, 0);
        for (int i = 32; i < 64; ++i)
            bytes[static_cast<size_t>(i)] = 0xFF; // tiles 2 and 3: colour 3 everywhere
        writeBytes(dir.file("t.bin"), bytes);
        TestHost t;
        int shown = 0;
        t.host.showPage = [&](int kind) { shown = kind; };
        t.dialogs = [&](QDialog& d) {
            auto& dialog = dynamic_cast<ImportTilesetDialog&>(d);
            dialog.setChosenFile(QString::fromStdString(dir.file("t.bin")));
            dialog.fromTile()->setText(QStringLiteral("2"));
            dialog.toTile()->setText(QStringLiteral("3"));
        };
        QVERIFY(importTileSetCommand(t.host));
        QCOMPARE(shown, int(TILE_BG));
        QCOMPARE(int(t.ws.tiles.bg.tiles[11].pixels[63]), 3);
        QCOMPARE(int(t.ws.tiles.bg.tiles[12].pixels[0]), 0);
        QCOMPARE(t.changes, std::vector<int>{CHANGED_BG_TILES}); // once, for all it changed
        QVERIFY(t.wasSent(MSG_TILES_CHANGED) && t.wasSent(MSG_MAP_RESET) && t.wasSent(MSG_CURRENT_TILE_CHANGED));

        // A file that cannot be read changes nothing and says so.
        const std::array<std::uint8_t, 64> before = t.ws.tiles.bg.tiles[10].pixels;
        t.dialogs = [&](QDialog& d) {
            auto& dialog = dynamic_cast<ImportTilesetDialog&>(d);
            dialog.setChosenFile(QString::fromStdString(dir.file("t.bin")));
            std::filesystem::remove(dir.file("t.bin"));
        };
        QVERIFY(!importTileSetCommand(t.host));
        QCOMPARE(t.prompter.informed.back(),
                 "Error! Unable to open file " + dir.file("t.bin") + ": No such file or directory");
        QVERIFY(t.ws.tiles.bg.tiles[10].pixels == before);
    }

    void mapDimensionCouplingAndChecks()
    {
        ScriptedPrompter prompter;
        MapDimensionDialog dialog(361, prompter); // the other side is rounded down
        dialog.widthField()->setText(QStringLiteral("20"));
        QCOMPARE(dialog.heightField()->text(), QStringLiteral("18"));
        dialog.heightField()->setText(QStringLiteral("36"));
        QCOMPARE(dialog.widthField()->text(), QStringLiteral("10"));
        dialog.heightField()->setText(QStringLiteral("0"));
        QCOMPARE(dialog.widthField()->text(), QStringLiteral("10")); // nothing to divide by
        dialog.accept();
        QCOMPARE(prompter.informed.back(), std::string("Height must be greater than 0"));
    }

    void mapCommandMergesAtTheCursor()
    {
        TempDir dir;
        std::vector<std::uint8_t> bytes(16);
        for (int i = 0; i < 16; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i + 1);
        writeBytes(dir.file("m.bin"), bytes);
        TestHost t;
        t.file = QString::fromStdString(dir.file("m.bin"));
        t.host.cursorCell = [] { return QPoint(18, 16); };
        QString status;
        t.host.statusText = [&](const QString& s) { status = s; };
        t.dialogs = [](QDialog& d) {
            if (auto* dim = dynamic_cast<MapDimensionDialog*>(&d))
                dim->widthField()->setText(QStringLiteral("4"));
            if (auto* o = dynamic_cast<MapOrientationDialog*>(&d))
                o->choice(MapOrientation::BottomRight)->setChecked(true);
        };
        QVERIFY(importMapCommand(t.host));
        QCOMPARE(int(t.ws.project.map.cellAt(18, 16)->bgTile), 1);
        QCOMPARE(int(t.ws.project.map.cellAt(21, 19)->bgTile), 16);
        QCOMPARE(status, QStringLiteral("Map size:(22,20)"));
        QCOMPARE(t.changes, std::vector<int>{CHANGED_MAP});
        QVERIFY(t.wasSent(MSG_MAP_RESET));
    }

    void paletteCommand()
    {
        TempDir dir;
        std::vector<std::uint8_t> bytes(64, 0);
        bytes[0] = 0x1F;
        writeBytes(dir.file("p.bin"), bytes);
        TestHost t;
        t.file = QString::fromStdString(dir.file("p.bin"));
        t.dialogs = [&](QDialog& d) {
            auto& dialog = dynamic_cast<ImportPaletteDialog&>(d);
            dialog.browse();
            dialog.objPalette()->setChecked(true);
        };
        QVERIFY(importPaletteCommand(t.host));
        QCOMPARE(t.ws.tiles.palettes.objPalettes[0][0], (GbcColor{31, 0, 0}));
        QCOMPARE(t.changes, std::vector<int>{CHANGED_PROJECT | CHANGED_PALETTE | CHANGED_OBJ_TILES});
        QVERIFY(t.wasSent(MSG_COLOURS_CHANGED));
    }

    void attributeCommandWarnsFirst()
    {
        TempDir dir;
        writeBytes(dir.file("a.bin"), {0x6B});
        TestHost t;
        t.ws.project.map.cellAt(0, 0)->objTile = 3;
        t.file = QString::fromStdString(dir.file("a.bin"));
        t.dialogs = [](QDialog& d) {
            auto& select = dynamic_cast<SelectTilesetDialog&>(d);
            select.obj()->setChecked(true);
        };
        QVERIFY(importMapAttributeCommand(t.host));
        QCOMPARE(t.prompter.informed.size(), size_t(1)); // the warning on the map size
        QCOMPARE(int(t.ws.project.map.cellAt(0, 0)->objTile), 259);
        QCOMPARE(t.changes, std::vector<int>{CHANGED_MAP});
    }

    void gbrAndTilerCommands()
    {
        TempDir dir;
        writeBytes(dir.file("bad.gbr"), {'X', 'Y', 'Z', 1});
        TestHost t;
        t.file = QString::fromStdString(dir.file("bad.gbr"));
        QVERIFY(!importGbrCommand(t.host));
        QVERIFY(t.changes.empty()); // a refused file marks nothing
        QCOMPARE(t.prompter.informed, (std::vector<std::string>{"Invalid gbr file.",
                                                                "Error!! Unable to load the specified gbr file."}));

        std::vector<std::uint8_t> raw(6184, 0);
        raw[64] = 0x55;
        raw[65] = 0x33;
        writeBytes(dir.file("t.raw"), raw);
        t.file = QString::fromStdString(dir.file("t.raw"));
        t.page = TILE_NONE; // the palette page: into the set shown last
        t.host.lastTileSet = [] { return TILE_OBJ; };
        QVERIFY(importTilerRawCommand(t.host));
        QCOMPARE(int(t.ws.tiles.obj.tiles[0].pixels[3]), 3);
        // The import marks the tile set changed so it is not lost without the save question.
        QCOMPARE(t.changes, std::vector<int>{CHANGED_OBJ_TILES | CHANGED_PALETTE});
        QVERIFY(t.wasSent(MSG_MAP_RESET));
    }

    void bitmapCommandImportsThePictureAndTellsWhatChanged()
    {
        // Key colours black, red, green, blue in the first four pixels; the
        // left block is red below its first row, the right block all blue.
        std::vector<std::uint8_t> pixels(16 * 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                pixels[static_cast<size_t>(y * 16 + x)] = x >= 8 ? 3 : y == 0 ? (x < 4 ? x : 0) : 1;
        TempDir dir;
        std::vector<std::uint8_t> bmp = qm::test::indexedBmp(pixels, 16, 8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
        writeBytes(dir.file("pic.bmp"), bmp);
        bmp.resize(bmp.size() - 6);
        writeBytes(dir.file("bad.bmp"), bmp);
        TestHost t;
        t.file = QString::fromStdString(dir.file("pic.bmp"));
        QVERIFY(importBitmapCommand(t.host));
        QCOMPARE(int(t.ws.project.map.cellAt(1, 0)->bgTile), 1);
        std::array<std::uint8_t, 64> left{};
        std::fill(left.begin() + 8, left.end(), 1);
        QVERIFY(t.ws.tiles.bg.tiles[0].pixels == left);
        QCOMPARE(int(t.ws.tiles.bg.tiles[1].pixels[0]), 3);
        QCOMPARE(t.ws.tiles.palettes.bgPalettes[0],
                 (GbcPalette{GbcColor{0, 0, 0}, GbcColor{31, 0, 0}, GbcColor{0, 31, 0}, GbcColor{0, 0, 31}}));
        QCOMPARE(t.changes, std::vector<int>{CHANGED_MAP | CHANGED_BG_TILES | CHANGED_PALETTE});
        QVERIFY(t.wasSent(MSG_MAP_RESET) && t.wasSent(MSG_TILES_CHANGED) && t.wasSent(MSG_COLOURS_CHANGED));

        // A damaged picture is refused and nothing is marked.
        t.changes.clear();
        t.file = QString::fromStdString(dir.file("bad.bmp"));
        QVERIFY(!importBitmapCommand(t.host));
        QVERIFY(t.changes.empty());
        QCOMPARE(t.prompter.informed,
                 std::vector<std::string>{dir.file("bad.bmp") + ": the bitmap is damaged or of a kind that cannot be read"});
    }

    void bitmapDialogShowsWhatEachChoiceMakes()
    {
        TempDir dir;
        // Blocks 0 and 1 mirror each other in three colours, block 2 has two others.
        QImage image(24, 8, QImage::Format_RGB32);
        const QRgb c[5] = {qRgb(0, 0, 0), qRgb(248, 0, 0), qRgb(0, 248, 0), qRgb(0, 0, 248), qRgb(248, 248, 0)};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 24; ++x) {
                const int bx = x < 8 ? x : 15 - x;
                image.setPixel(x, y, x >= 16 ? c[3 + (x + y) % 2] : c[bx < 2 ? 1 : bx * y < 9 ? 2 : 0]);
            }
        QVERIFY(image.save(QString::fromStdString(dir.file("pic.png"))));
        CBmpDialog dialog;
        dialog.updatePreview(QString::fromStdString(dir.file("pic.png")));
        QCOMPARE(dialog.line(2)->text(), QStringLiteral("Colors: 16 millions"));
        const struct {
            int mode;
            bool flips;
            const char* result;
        } cases[] = {{0, false, "Tiles: 3 (bank 1: 0), palettes: 2"}, // automatic: more than 4 colours is GBC
                     {0, true, "Tiles: 2 (bank 1: 0), palettes: 2"},
                     {1, true, "Tiles: 3 (bank 1: 0), palettes: 1"}}; // DMG has no flips
        for (const auto& t : cases) {
            dialog.mode()->setCurrentIndex(t.mode);
            dialog.reuseFlipped()->setChecked(t.flips);
            QCOMPARE(dialog.result()->text(), QString::fromUtf8(t.result));
        }
    }

    void bitmapPreviewPanel()
    {
        TempDir dir;
        // A 16 x 8 picture of 8 bits a pixel with a 4-entry colour table.
        const std::vector<std::uint8_t> bmp =
            qm::test::indexedBmp(std::vector<std::uint8_t>(128, 1), 16, 8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
        writeBytes(dir.file("pic.bmp"), bmp);
        const bool kept = CBmpDialog::previewShown();
        {
            CBmpDialog dialog;
            QCOMPARE(dialog.previewBox()->title(), QStringLiteral("Preview"));
            QVERIFY(dialog.showPreview()->isChecked());
            dialog.updatePreview(QString::fromStdString(dir.file("pic.bmp")));
            const QStringList lines = {dialog.line(0)->text(), dialog.line(1)->text(), dialog.line(2)->text(),
                                       dialog.line(3)->text()};
            QCOMPARE(lines, (QStringList{"Width: 16 pixels", "Height: 8 pixels", "Colors: 256", "Size: 0 Kb"}));
            QVERIFY(!dialog.picture()->pixmap().isNull());
            QVERIFY(dialog.picture()->pixmap().width() <= CBmpDialog::PICTURE_SIZE);
            dialog.showPreview()->setChecked(false);
            QVERIFY(dialog.line(0)->text().isEmpty());
            QVERIFY(dialog.picture()->pixmap().isNull());
        }
        CBmpDialog again;
        QVERIFY(!again.showPreview()->isChecked()); // kept for the run
        again.showPreview()->setChecked(true);
        CBmpDialog::setPreviewShown(kept);
    }
};

QM_QTEST(ImportDialogsTest)
#include "ImportDialogsTest.moc"
