#include "core/export/PaletteExport.h"
#include "core/project/ProjectCommands.h"
#include "core/project/ProjectFile.h"
#include "core/import/ImportBuilders.h"
#include "support/TestSupport.h"
#include "ui/app/CommandHost.h"
#include "ui/export/CExpMapPage.h"
#include "ui/export/CExpPalettePage.h"
#include "ui/export/CExpPropertySheet.h"
#include "ui/export/CExpTilesetPage.h"
#include "ui/import/ImportCommands.h"
#include "support/QtTestRunner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::readBytes;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;
using qm::test::writeBytes;

namespace {

// An 8-bit Windows bitmap; pixels row by row from the top, colours 0x00RRGGBB.
std::vector<std::uint8_t> bitmap8(int w, int h, const std::vector<std::uint32_t>& colours,
                                  const std::vector<std::uint8_t>& pixels)
{
    return qm::test::indexedBmp(pixels, w, h, colours);
}

} // namespace

// Open a project, import a bitmap into it, export every page and check the
// bytes of each file.
class ImportExportRunTest : public QObject {
    Q_OBJECT
private slots:
    void openImportExport()
    {
        TempDir dir;
        NullProgress progress;
        ScriptedPrompter prompter;
        {
            Workspace made;
            NewProjectRequest request;
            request.width = 4;
            request.height = 2;
            QVERIFY(newProject(made, request, prompter, progress).ok());
            SavePaths paths{dir.file("run.qmm"), dir.file("run.qmb"), dir.file("run.qmo")};
            QVERIFY(saveProjectAs(made, paths, progress).ok());
        }
        Workspace ws;
        QVERIFY(readProject(dir.file("run.qmm"), ws, prompter, progress).ok());
        QCOMPARE(ws.project.map.width, 4);
        const std::array<std::uint8_t, 64> palettesBefore = encodePaletteGroup(ws.tiles.palettes.bgPalettes);

        // Key colours black, red, green, blue in the first four pixels; the
        // left block is red below its first row, the right block all blue.
        std::vector<std::uint8_t> pixels(16 * 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                pixels[static_cast<size_t>(y * 16 + x)] = x >= 8 ? 3 : y == 0 ? (x < 4 ? x : 0) : 1;
        writeBytes(dir.file("pic.bmp"), bitmap8(16, 8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, pixels));

        CommandHost host;
        host.workspace = &ws;
        host.prompter = &prompter;
        host.progress = &progress;
        host.openFile = [&](QWidget*, const QString&, const QString&, const QString&) {
            return QString::fromStdString(dir.file("pic.bmp"));
        };
        QVERIFY(importBitmapCommand(host));
        QVERIFY(ws.project.changeFlags & CHANGED_BG_TILES);

        const QString out = QString::fromStdString(dir.file("out"));
        std::filesystem::create_directory(dir.file("out"));
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpMapPage* map = sheet.mapPage();
        map->bgData()->click();
        map->bgAttr()->click();
        map->locationField()->setText(out);
        map->exportButton()->click();
        CExpTilesetPage* tiles = sheet.tilesetPage();
        tiles->option(0)->click();
        tiles->toField(CExpTilesetPage::BG_MAIN)->setText(QStringLiteral("1"));
        tiles->locationField()->setText(out);
        tiles->exportButton()->click();
        CExpPalettePage* palette = sheet.palettePage();
        palette->bgPalette()->click();
        palette->locationField()->setText(out);
        palette->exportButton()->click();
        QVERIFY(prompter.informed.empty());

        const auto file = [&](const char* name) { return readBytes((dir.path() / "out" / name).string()); };
        QCOMPARE(file("MAPBG.bin"), (std::vector<std::uint8_t>{0, 1, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(file("MAPABG.bin"), (std::vector<std::uint8_t>(8, 0)));
        std::vector<std::uint8_t> tileBytes = {0x00, 0x00};
        for (int row = 1; row < 8; ++row)
            tileBytes.insert(tileBytes.end(), {0xFF, 0x00});
        for (int row = 0; row < 8; ++row)
            tileBytes.insert(tileBytes.end(), {0xFF, 0xFF});
        QCOMPARE(file("BG0.bin"), tileBytes);
        std::vector<std::uint8_t> palettes = {0x00, 0x00, 0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C};
        palettes.insert(palettes.end(), palettesBefore.begin() + 8, palettesBefore.end());
        QCOMPARE(file("BCPD.bin"), palettes);
    }
};

QM_QTEST(ImportExportRunTest)
#include "ImportExportRunTest.moc"
