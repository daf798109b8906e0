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

// The sheet on a workspace, with a prompter that answers from a script.
struct Fixture {
    explicit Fixture(Workspace w = {}, std::deque<Answer> answers = {}) : ws(std::move(w)), prompter(std::move(answers)) {}
    Workspace ws;
    ScriptedPrompter prompter;
    NullProgress progress;
    CExpPropertySheet sheet{ws, prompter, progress};
};

} // namespace

class CExpPropertySheetTest : public QObject {
    Q_OBJECT
private slots:
    void sheetLayoutAndFillingIsNoEdit()
    {
        Fixture f;
        QVERIFY(f.sheet.okButton()->isHidden() && !f.sheet.settingsChanged());
        // Defaults: 8-bit, one file, unsigned, nothing checked, split count disabled.
        CExpMapPage* map = f.sheet.mapPage();
        QVERIFY(map->bits8()->isChecked() && map->oneFile()->isChecked() && map->unsignedOrder()->isChecked());
        QVERIFY(!map->splitCount()->isEnabled() && !map->bgData()->isChecked());
        QCOMPARE(f.sheet.tilesetPage()->toField(CExpTilesetPage::BG_MAIN)->text(), QStringLiteral("255"));
        f.sheet.reject(); // closing without a change asks nothing
        QVERIFY(f.prompter.questions.empty());
    }

    // "Write as" applies to every page and is no change of the project's settings.
    void everyPageWritesTheChosenForm()
    {
        TempDir dir;
        Fixture f(smallWorkspace());
        QCOMPARE(std::pair(f.sheet.formatBox()->count(), f.sheet.format()), std::pair(3, ExportFormat::Binary));
        f.sheet.formatBox()->setCurrentIndex(2); // assembly
        f.sheet.mapPage()->bgData()->click();
        f.sheet.palettePage()->objPalette()->click();
        f.sheet.setSettingsChanged(false);
        for (CExpPage* page : {static_cast<CExpPage*>(f.sheet.mapPage()), static_cast<CExpPage*>(f.sheet.palettePage())}) {
            page->locationField()->setText(QString::fromStdString(dir.path().string()));
            page->exportButton()->click();
        }
        QCOMPARE(qm::test::fileNamesOf(f.sheet.lastReport().files), (std::vector<std::string>{"OCPD.asm", "OCPD.inc"}));
        QVERIFY(qm::test::readText(dir.file("MAPBG.asm")).starts_with("MAPBG::\n    db $00, $07"));
        QCOMPARE(qm::test::entriesIn(dir.path()), 4);
        f.sheet.setSettingsChanged(false);
        f.sheet.formatBox()->setCurrentIndex(1);
        QVERIFY(!f.sheet.settingsChanged());
    }

    void anEmptyLocationAndNamesThatLeaveItAreRefusedBeforeAnyExport()
    {
        TempDir dir;
        Fixture f(smallWorkspace());
        f.sheet.mapPage()->bgData()->click();
        f.sheet.mapPage()->exportButton()->click();
        CExpPalettePage* page = f.sheet.palettePage();
        page->bgPalette()->click();
        page->locationField()->setText(QString::fromStdString(dir.path().string()));
        page->suffixField()->setText(QStringLiteral("../up_"));
        page->exportButton()->click();
        QCOMPARE(f.prompter.informed, (std::vector<std::string>{"Please specify the location to export the file.",
                                       "The palette suffix '../up_' would write outside the export location."}));
        QVERIFY(f.sheet.lastReport().files.empty()); // refused before the export ran
        QCOMPARE(qm::test::entriesIn(dir.path()), 0);
    }

    void labelsFollowPrefixSuffixAndSplit()
    {
        Fixture f;
        CExpMapPage* map = f.sheet.mapPage();
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
        f.sheet.tilesetPage()->option(6)->click();
        QCOMPARE(f.sheet.tilesetPage()->label(6)->text(), QStringLiteral("OBJ0A.bin"));
        f.sheet.palettePage()->objPalette()->click();
        QCOMPARE(f.sheet.palettePage()->objLabel()->text(), QStringLiteral("OCPD.bin"));
        QVERIFY(f.sheet.settingsChanged());
    }

    void attributeOffTurnsSplitOff()
    {
        Fixture f;
        CExpMapPage* map = f.sheet.mapPage();
        map->prefixField()->setText(QStringLiteral("p"));
        map->bgAttr()->click();
        map->bgSplit()->click();
        QCOMPARE(map->label(CExpMapPage::BG_ATTR)->text(), QStringLiteral("pMAPABGPal,pMAPABGFlipV,pMAPABGFlipH,"));
        QCOMPARE(map->label(CExpMapPage::BG_ATTR2)->text(), QStringLiteral("pMAPABGBank,pMAPABGDp"));
        QVERIFY(f.sheet.settings().mapFlags & MAP_SPLIT_BG_ATTR);

        map->bgAttr()->click(); // off: takes its split with it
        QVERIFY(!map->bgSplit()->isChecked() && map->label(CExpMapPage::BG_ATTR)->text().isEmpty());
        QVERIFY(!(f.sheet.settings().mapFlags & (MAP_SPLIT_BG_ATTR | MAP_EXPORT_BG_ATTR)));
        map->bgAttr()->click(); // on again: split stays off
        QVERIFY(!map->bgSplit()->isChecked() && map->label(CExpMapPage::BG_ATTR)->text() == QStringLiteral("pMAPABG.bin"));
        map->objAttr()->click(); // the OBJ row the same way
        map->objSplit()->click();
        map->objAttr()->click();
        QVERIFY(!(f.sheet.settings().mapFlags & MAP_SPLIT_OBJ_ATTR));
    }

    void rleFollowsTagAndKeepsItsBit()
    {
        Workspace w;
        w.project.exportSettings.mapFlags = MAP_ONE_FILE | MAP_8BIT | MAP_RLE_TAG; // RLE on, tag off
        Fixture f(std::move(w));
        CExpMapPage* map = f.sheet.mapPage();
        QVERIFY(!map->rle()->isEnabled() && map->rle()->isChecked() && map->label(CExpMapPage::RLE_DATA)->text().isEmpty());
        map->tag()->click();
        QVERIFY(map->rle()->isEnabled());
        map->tag()->click();
        QVERIFY(!map->rle()->isEnabled() && map->rle()->isChecked());
        QVERIFY(f.sheet.settings().mapFlags & MAP_RLE_TAG);
    }

    void pickingADirectoryIsAChange()
    {
        TempDir dir;
        const QString where = QString::fromStdString(dir.path().string());
        Workspace w;
        w.project.exportSettings.paletteLocation = where.toStdString();
        Fixture f(std::move(w));
        QString title, start, answer;
        f.sheet.pickDirectory = [&](QWidget*, const QString& t, const QString& s) {
            std::tie(title, start) = std::pair(t, s);
            return answer;
        };
        f.sheet.palettePage()->locationButton()->click(); // cancelled
        QVERIFY(start == where && !f.sheet.settingsChanged());
        answer = where; // the same directory again
        f.sheet.palettePage()->locationButton()->click();
        QVERIFY(f.sheet.settingsChanged() && f.sheet.palettePage()->locationField()->text() == where);

        // The picker itself: its prompt above the folders, the location chosen.
        FolderPicker picker(title, where);
        QCOMPARE(picker.prompt()->text(), QStringLiteral("Save exported file(s) to..."));
        QVERIFY(picker.layout()->indexOf(picker.prompt()) < picker.layout()->indexOf(picker.tree()));
        QCOMPARE(picker.folder(), where);
    }

    void fileNamesHaveTheirRoomBeforeTheyShow()
    {
        Fixture f;
        f.sheet.show();
        for (QWidget* page : std::initializer_list<QWidget*>{f.sheet.mapPage(), f.sheet.tilesetPage(), f.sheet.palettePage()}) {
            f.sheet.tabs()->setCurrentWidget(page);
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
        Workspace w = smallWorkspace();
        const ExportSettings before = w.project.exportSettings;
        Fixture f(std::move(w), {Answer::No});
        f.sheet.mapPage()->bgData()->click();
        f.sheet.mapPage()->locationField()->setText(QString::fromStdString(dir.path().string()));
        f.sheet.mapPage()->exportButton()->click();
        const std::string written = dir.file("MAPBG.bin");
        QCOMPARE(qm::test::readBytes(written), (std::vector<std::uint8_t>{0, 7, 0, 0, 0, 0, 0, 0}));
        f.sheet.reject();
        f.sheet.reject(); // a second close does not ask again
        QCOMPARE(f.prompter.questions, std::vector<std::string>{"Settings have been changed, save ?"});
        QVERIFY(applyExportSheet(f.sheet, f.ws.project).ok() && f.ws.project.exportSettings == before);
        QVERIFY(std::filesystem::exists(written));
    }

    void yesOnCloseRewritesTheProjectBlock()
    {
        TempDir dir;
        Workspace w = smallWorkspace();
        w.project.projectPath = dir.file("level.qmm");
        w.project.projectDir = dir.path().string();
        NullProgress quiet;
        QVERIFY(writeProject(w, quiet).ok());

        Fixture f(std::move(w), {Answer::Yes});
        f.sheet.mapPage()->tags256()->click();
        f.sheet.tilesetPage()->option(1)->click();
        f.sheet.tilesetPage()->fromField(CExpTilesetPage::BG_ALT)->setText(QStringLiteral("3"));
        f.sheet.palettePage()->prefixField()->setText(QStringLiteral("pal_"));
        f.sheet.closeButton()->click();
        QVERIFY(applyExportSheet(f.sheet, f.ws.project).ok());
        QCOMPARE(int(f.ws.project.exportSettings.bgAltFrom), 3);

        ProjectFileData data;
        QVERIFY(parseProjectFile(qm::test::readBytes(f.ws.project.projectPath), ExportSettings{}, data, f.progress).ok());
        QCOMPARE(std::pair(data.exportSettings.palettePrefix, data.exportSettings.tagCountMode), std::pair(std::string("pal_"), TAGS_256));
    }

    void badRangeIsToldAndTheExportGoesOn()
    {
        TempDir dir;
        Fixture f(smallWorkspace());
        CExpTilesetPage* tiles = f.sheet.tilesetPage();
        tiles->option(4)->click(); // OBJ main tiles
        tiles->toField(CExpTilesetPage::OBJ_MAIN)->setText(QStringLiteral("1"));
        tiles->toField(CExpTilesetPage::BG_MAIN)->setText(QStringLiteral("300"));
        tiles->locationField()->setText(QString::fromStdString(dir.path().string()));
        tiles->exportButton()->click();
        QCOMPARE(f.prompter.informed, std::vector<std::string>{"Please enter an integer between 0 and 255."});
        QVERIFY(qm::test::readBytes(dir.file("OBJ0.bin")).size() == 32 && f.sheet.settings().bgMainTo == 255);

        f.sheet.mapPage()->splitCount()->setText(QStringLiteral("x"));
        f.sheet.mapPage()->locationField()->setText(QString::fromStdString(dir.path().string()));
        f.sheet.mapPage()->exportButton()->click();
        QCOMPARE(f.prompter.informed.back(), std::string("Please enter an integer."));
    }
};

QM_QTEST(CExpPropertySheetTest)
#include "CExpPropertySheetTest.moc"
