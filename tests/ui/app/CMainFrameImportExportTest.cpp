#include "FrameHarness.h"

#include "support/QtTestRunner.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CommandHost.h"
#include "ui/app/ImportExportCommands.h"
#include "ui/export/CExpMapPage.h"
#include "ui/export/CExpPropertySheet.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using qm::test::TempDir;

// The main window's import, export and report commands, driven through their actions.
class CMainFrameImportExportTest : public QObject {
    Q_OBJECT
private slots:
    void theImportMenuAnImportedMapAndAnExport()
    {
        TempDir dir;
        qm::test::writeBytes(dir.file("wide.bin"), std::vector<std::uint8_t>(30 * 2, 5));
        Harness h({Answer::Yes});
        CMainFrame& frame = h.frame;
        QStringList texts;
        for (QAction* a : frame.menus().importMenu()->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{"Tile set", "Map", "Palette", "Map Attribute", "Bitmap", "GBTD(gbr)", "Tiler Raw"}));
        ExportFormat shownFormat = ExportFormat::Binary;
        QString status;
        frame.importExport().setCommandHooks([&](CommandHost& host) {
            host.openFile = [&](QWidget*, const QString&, const QString&, const QString&) {
                return QString::fromStdString(dir.file("wide.bin"));
            };
            host.exec = [&](QDialog& d) {
                if (auto* sheet = dynamic_cast<CExpPropertySheet*>(&d)) {
                    shownFormat = sheet->format();
                    sheet->setFormat(ExportFormat::C);
                    sheet->mapPage()->rotate()->click();
                    // The status bar tells what an export wrote, and where.
                    sheet->mapPage()->bgData()->click();
                    sheet->mapPage()->locationField()->setText(QString::fromStdString(dir.path().string()));
                    sheet->mapPage()->exportButton()->click();
                    status = frame.statusText();
                    sheet->reject();
                    return false;
                }
                d.accept();
                return d.result() == QDialog::Accepted;
            };
        });
        // 60 bytes, width 1 and height 1 at first: a 1 x 1 block at the cursor.
        frame.commandAction(CMainFrame::Command::ImportMap)->trigger();
        QVERIFY(frame.project().map.cellAt(0, 0)->showsTile(TILE_BG, 5) && (frame.project().changeFlags & CHANGED_MAP));

        // The form of the export files is the user's, kept in the settings.
        openSettings()->setValue(QStringLiteral("Frame/ExportFormat"), QStringLiteral("asm"));
        frame.commandAction(CMainFrame::Command::Export)->trigger();
        QCOMPARE(std::tuple(h.prompter.questions.back(), bool(frame.project().exportSettings.mapFlags & MAP_ROTATE_90), shownFormat,
                            openSettings()->value(QStringLiteral("Frame/ExportFormat")).toString()),
                 std::tuple(std::string("Settings have been changed, save ?"), true, ExportFormat::Asm, QStringLiteral("c")));
        QCOMPARE(status, QStringLiteral("Exported 2 files to %1").arg(dir.path().c_str()));
    }
};

QM_QTEST(CMainFrameImportExportTest)
#include "CMainFrameImportExportTest.moc"
