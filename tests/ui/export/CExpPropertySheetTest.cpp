#include "core/project/ExportSettings.h"
#include "core/project/ProjectFile.h"
#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/export/CExpMapPage.h"
#include "ui/export/CExpPalettePage.h"
#include "ui/export/CExpPropertySheet.h"
#include "ui/export/CExpTilesetPage.h"
#include "ui/export/FolderPicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

#include <filesystem>

using namespace qm;
using namespace qm::ui;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;

namespace {

Workspace smallWorkspace()
{
    Workspace ws;
    ws.project.map.create(4, 2);
    ws.project.map.cellAt(1, 0)->bgTile = 7;
    return ws;
}

} // namespace

class CExpPropertySheetTest : public QObject {
    Q_OBJECT
private slots:
    void sheetLayoutAndFillingIsNoEdit()
    {
        Workspace ws;
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        QVERIFY(sheet.okButton()->isHidden());
        QVERIFY(!sheet.settingsChanged());
        // Defaults: 8-bit, one file, unsigned, nothing checked, split count disabled.
        CExpMapPage* map = sheet.mapPage();
        QVERIFY(map->bits8()->isChecked() && map->oneFile()->isChecked() && map->unsignedOrder()->isChecked());
        QVERIFY(!map->splitCount()->isEnabled() && !map->bgData()->isChecked());
        QCOMPARE(sheet.tilesetPage()->toField(CExpTilesetPage::BG_MAIN)->text(), QStringLiteral("255"));
        // Closing without a change asks nothing.
        sheet.reject();
        QVERIFY(prompter.questions.empty());
    }

    // "Write as" applies to every page and is no change of the project's settings.
    void everyPageWritesTheChosenForm()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        QCOMPARE(sheet.formatBox()->count(), 3);
        QCOMPARE(sheet.format(), ExportFormat::Binary);
        sheet.formatBox()->setCurrentIndex(2);
        QCOMPARE(sheet.format(), ExportFormat::Asm);
        sheet.mapPage()->bgData()->click();
        sheet.palettePage()->objPalette()->click();
        sheet.setSettingsChanged(false);
        for (CExpPage* page : {static_cast<CExpPage*>(sheet.mapPage()), static_cast<CExpPage*>(sheet.palettePage())}) {
            page->locationField()->setText(QString::fromStdString(dir.path().string()));
            page->exportButton()->click();
        }
        QCOMPARE(qm::test::fileNamesOf(sheet.lastReport().files), (std::vector<std::string>{"OCPD.asm", "OCPD.inc"}));
        QVERIFY(qm::test::readText(dir.file("MAPBG.asm")).starts_with("MAPBG::\n    db $00, $07"));
        QCOMPARE(qm::test::entriesIn(dir.path()), 4);
        sheet.setSettingsChanged(false);
        sheet.formatBox()->setCurrentIndex(1);
        QVERIFY(!sheet.settingsChanged());
    }

    void emptyLocationIsRefused()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        sheet.mapPage()->bgData()->click();
        sheet.mapPage()->exportButton()->click();
        QCOMPARE(prompter.informed, std::vector<std::string>{"Please specify the location to export the file."});
        QVERIFY(sheet.lastReport().files.empty());
    }

    void namesThatLeaveTheLocationAreRefusedBeforeAnyExport()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpPalettePage* page = sheet.palettePage();
        page->bgPalette()->click();
        page->locationField()->setText(QString::fromStdString(dir.path().string()));
        page->suffixField()->setText(QStringLiteral("../up_"));
        page->exportButton()->click();
        QCOMPARE(prompter.informed,
                 std::vector<std::string>{"The palette suffix '../up_' would write outside the export location."});
        QVERIFY(sheet.lastReport().files.empty()); // refused before the export ran
        QCOMPARE(qm::test::entriesIn(dir.path()), 0);
    }

    void labelsFollowPrefixSuffixAndSplit()
    {
        Workspace ws;
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpMapPage* map = sheet.mapPage();
        map->bgData()->click();
        map->prefixField()->setText(QStringLiteral("lv"));
        map->suffixField()->setText(QStringLiteral("_a"));
        QCOMPARE(map->label(CExpMapPage::BG_DATA)->text(), QStringLiteral("lvMAPBG_a.bin"));
        map->splitInto()->click();
        QVERIFY(map->splitCount()->isEnabled());
        QCOMPARE(map->label(CExpMapPage::BG_DATA)->text(), QStringLiteral("lvMAPBG_a01.bin,lvMAP_a02.bin,"));
        map->tag()->click();
        map->rle()->click();
        QCOMPARE(map->label(CExpMapPage::RLE_HEADER)->text(), QStringLiteral("lvTagRLE_a.hdr"));
        sheet.tilesetPage()->option(6)->click();
        QCOMPARE(sheet.tilesetPage()->label(6)->text(), QStringLiteral("OBJ0A.bin"));
        sheet.palettePage()->objPalette()->click();
        QCOMPARE(sheet.palettePage()->objLabel()->text(), QStringLiteral("OCPD.bin"));
        QVERIFY(sheet.settingsChanged());
    }

    void attributeOffTurnsSplitOff()
    {
        Workspace ws;
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpMapPage* map = sheet.mapPage();
        map->prefixField()->setText(QStringLiteral("p"));
        map->bgAttr()->click();
        map->bgSplit()->click();
        QCOMPARE(map->label(CExpMapPage::BG_ATTR)->text(), QStringLiteral("pMAPABGPal,pMAPABGFlipV,pMAPABGFlipH,"));
        QCOMPARE(map->label(CExpMapPage::BG_ATTR2)->text(), QStringLiteral("pMAPABGBank,pMAPABGDp"));
        QVERIFY(sheet.settings().mapFlags & MAP_SPLIT_BG_ATTR);

        map->bgAttr()->click(); // off: takes its split with it
        QVERIFY(!map->bgSplit()->isChecked());
        QVERIFY(!(sheet.settings().mapFlags & (MAP_SPLIT_BG_ATTR | MAP_EXPORT_BG_ATTR)));
        QVERIFY(map->label(CExpMapPage::BG_ATTR)->text().isEmpty());
        map->bgAttr()->click(); // on again: split stays off
        QVERIFY(!map->bgSplit()->isChecked());
        QCOMPARE(map->label(CExpMapPage::BG_ATTR)->text(), QStringLiteral("pMAPABG.bin"));
        // The OBJ row the same way.
        map->objAttr()->click();
        map->objSplit()->click();
        map->objAttr()->click();
        QVERIFY(!(sheet.settings().mapFlags & MAP_SPLIT_OBJ_ATTR));
    }

    void rleFollowsTagAndKeepsItsBit()
    {
        Workspace ws;
        ws.project.exportSettings.mapFlags = MAP_ONE_FILE | MAP_8BIT | MAP_RLE_TAG; // RLE on, tag off
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpMapPage* map = sheet.mapPage();
        QVERIFY(!map->rle()->isEnabled() && map->rle()->isChecked());
        QVERIFY(map->label(CExpMapPage::RLE_DATA)->text().isEmpty());
        map->tag()->click();
        QVERIFY(map->rle()->isEnabled());
        map->tag()->click();
        QVERIFY(!map->rle()->isEnabled() && map->rle()->isChecked());
        QVERIFY(sheet.settings().mapFlags & MAP_RLE_TAG);
    }

    void pickingADirectoryIsAChange()
    {
        TempDir dir;
        const QString where = QString::fromStdString(dir.path().string());
        Workspace ws;
        ws.project.exportSettings.paletteLocation = where.toStdString();
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        QString title, start, answer;
        sheet.pickDirectory = [&](QWidget*, const QString& t, const QString& s) {
            title = t;
            start = s;
            return answer;
        };
        sheet.palettePage()->locationButton()->click(); // cancelled
        QCOMPARE(start, where);
        QVERIFY(!sheet.settingsChanged());
        answer = where; // the same directory again
        sheet.palettePage()->locationButton()->click();
        QVERIFY(sheet.settingsChanged());
        QCOMPARE(sheet.palettePage()->locationField()->text(), where);

        // The picker itself: its prompt above the folders, the location chosen.
        FolderPicker picker(title, where);
        QCOMPARE(picker.prompt()->text(), QStringLiteral("Save exported file(s) to..."));
        QVERIFY(picker.layout()->indexOf(picker.prompt()) < picker.layout()->indexOf(picker.tree()));
        QCOMPARE(picker.folder(), where);
    }

    void fileNamesHaveTheirRoomBeforeTheyShow()
    {
        Workspace ws;
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        sheet.show();
        for (QWidget* page : std::initializer_list<QWidget*>{sheet.mapPage(), sheet.tilesetPage(), sheet.palettePage()}) {
            sheet.tabs()->setCurrentWidget(page);
            QCoreApplication::processEvents();
            const QSize before = page->sizeHint();
            for (QCheckBox* box : page->findChildren<QCheckBox*>())
                if (box->isEnabled() && !box->isChecked())
                    box->click();
            QCoreApplication::processEvents(); // the layouts take the new texts
            QCOMPARE(page->sizeHint(), before);
        }
    }

    void noOnCloseKeepsSettingsButWrittenFilesStay()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        const ExportSettings before = ws.project.exportSettings;
        ScriptedPrompter prompter({Answer::No});
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        sheet.mapPage()->bgData()->click();
        sheet.mapPage()->locationField()->setText(QString::fromStdString(dir.path().string()));
        sheet.mapPage()->exportButton()->click();
        const std::string written = dir.file("MAPBG.bin");
        QCOMPARE(qm::test::readBytes(written), (std::vector<std::uint8_t>{0, 7, 0, 0, 0, 0, 0, 0}));
        sheet.reject();
        sheet.reject(); // a second close does not ask again
        QCOMPARE(prompter.questions, std::vector<std::string>{"Settings have been changed, save ?"});
        QVERIFY(applyExportSheet(sheet, ws.project).ok());
        QVERIFY(ws.project.exportSettings == before);
        QVERIFY(std::filesystem::exists(written));
    }

    void yesOnCloseRewritesTheProjectBlock()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        ws.project.projectPath = dir.file("level.qmm");
        ws.project.projectDir = dir.path().string();
        NullProgress progress;
        QVERIFY(writeProject(ws, progress).ok());

        ScriptedPrompter prompter({Answer::Yes});
        CExpPropertySheet sheet(ws, prompter, progress);
        sheet.mapPage()->tags256()->click();
        sheet.tilesetPage()->option(1)->click();
        sheet.tilesetPage()->fromField(CExpTilesetPage::BG_ALT)->setText(QStringLiteral("3"));
        sheet.palettePage()->prefixField()->setText(QStringLiteral("pal_"));
        sheet.closeButton()->click();
        QVERIFY(applyExportSheet(sheet, ws.project).ok());
        QCOMPARE(int(ws.project.exportSettings.bgAltFrom), 3);

        ProjectFileData data;
        const std::vector<std::uint8_t> bytes = qm::test::readBytes(ws.project.projectPath);
        QVERIFY(parseProjectFile(bytes, ExportSettings{}, data, progress).ok());
        QCOMPARE(data.exportSettings.palettePrefix, std::string("pal_"));
        QCOMPARE(data.exportSettings.tagCountMode, TAGS_256);
    }

    void badRangeIsToldAndTheExportGoesOn()
    {
        TempDir dir;
        Workspace ws = smallWorkspace();
        ScriptedPrompter prompter;
        NullProgress progress;
        CExpPropertySheet sheet(ws, prompter, progress);
        CExpTilesetPage* tiles = sheet.tilesetPage();
        tiles->option(4)->click(); // OBJ main tiles
        tiles->toField(CExpTilesetPage::OBJ_MAIN)->setText(QStringLiteral("1"));
        tiles->toField(CExpTilesetPage::BG_MAIN)->setText(QStringLiteral("300"));
        tiles->locationField()->setText(QString::fromStdString(dir.path().string()));
        tiles->exportButton()->click();
        QCOMPARE(prompter.informed, std::vector<std::string>{"Please enter an integer between 0 and 255."});
        QCOMPARE(qm::test::readBytes(dir.file("OBJ0.bin")).size(), size_t(32));
        QCOMPARE(int(sheet.settings().bgMainTo), 255);

        sheet.mapPage()->splitCount()->setText(QStringLiteral("x"));
        sheet.mapPage()->locationField()->setText(QString::fromStdString(dir.path().string()));
        sheet.mapPage()->exportButton()->click();
        QCOMPARE(prompter.informed.back(), std::string("Please enter an integer."));
    }
};

QM_QTEST(CExpPropertySheetTest)
#include "CExpPropertySheetTest.moc"
