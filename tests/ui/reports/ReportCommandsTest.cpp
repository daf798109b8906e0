#include "core/project/MapCell.h"
#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/app/CommandHost.h"
#include "ui/reports/PriorityReportDialog.h"
#include "ui/reports/ReportCommands.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::CountingProgress;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;

class ReportCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void fileReportWritesBesideTheProjectAndSaysSo()
    {
        TempDir dir;
        Workspace ws;
        ws.project.map.create(2, 1);
        ws.project.projectPath = dir.file("level1.qmm");
        ws.tiles.obj.tiles[300].pixels[5] = 2;
        ws.tiles.obj.tiles[301].pixels[5] = 2;
        ScriptedPrompter prompter;
        CountingProgress progress;
        CommandHost host;
        host.workspace = &ws;
        host.prompter = &prompter;
        host.progress = &progress;
        // The palette page is shown: the OBJ set was the last one shown.
        host.shownPage = [] { return TILE_NONE; };
        host.lastTileSet = [] { return TILE_OBJ; };
        QVERIFY(runReportCommand(host, ReportKind::Duplicates));
        const std::string path = dir.file("level1RepeatOBJ.txt");
        QCOMPARE(prompter.informed.back(), "'" + path + "' report has been created.");
        const std::vector<std::uint8_t> text = qm::test::readBytes(path);
        QVERIFY(std::string(text.begin(), text.end()).find("OBJ1: 44 = OBJ1: 45\r\n") != std::string::npos);

        QCOMPARE(progress.open, 0);
    }

    void unwritableReportIsTold()
    {
        TempDir dir;
        Workspace ws;
        ws.project.projectPath = dir.file("missing/level1.qmm");
        ScriptedPrompter prompter;
        NullProgress progress;
        CommandHost host;
        host.workspace = &ws;
        host.prompter = &prompter;
        host.progress = &progress;
        QVERIFY(!runReportCommand(host, ReportKind::Palette));
        QCOMPARE(prompter.informed.back(),
                 "Unable to create file " + dir.file("missing/level1PaletteRpt.txt") + ": No such file or directory");
    }

    void priorityReportDialog()
    {
        Workspace ws;
        ws.project.map.create(3, 2);
        ws.project.map.cellAt(1, 0)->bgAttr |= ATTR_PRIORITY;
        CommandHost host;
        host.workspace = &ws;
        QString shown;
        host.exec = [&](QDialog& d) {
            auto& dialog = dynamic_cast<PriorityReportDialog&>(d);
            shown = dialog.textBox()->toPlainText();
            dialog.doneButton()->click();
            return dialog.result() == QDialog::Accepted;
        };
        showPriorityReport(host);
        QCOMPARE(shown, QStringLiteral("     0 1 2 \n0    0 1 0 \n1    0 0 0 "));
    }
};

QM_QTEST(ReportCommandsTest)
#include "ReportCommandsTest.moc"
