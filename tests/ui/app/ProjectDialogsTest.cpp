#include "support/QtTestRunner.h"
#include "ui/app/DialogFolder.h"
#include "ui/app/ProjectDialogs.h"

#include <QtTest>

using namespace qm;
using namespace qm::ui;

class ProjectDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersAreRewrittenForQt()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"Quilt Mark(*.qmm;*.qmd)|*.qmm;*.qmd|", "Quilt Mark (*.qmm *.qmd)"},
            {"BG Tileset(*.qmb;*.bts)|*.qmb; *.bts|;", "BG Tileset (*.qmb *.bts)"},
            {"Bin File (*.bin)|*.bin|", "Bin File (*.bin)"},
            {"BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|All Files (*.*)|*.*||", "BG Tileset (*.qmb *.bts);;All Files (*)"},
        };
        for (const auto& [windows, qt] : cases)
            QCOMPARE(qtFileFilters(QString::fromLatin1(windows)), QString::fromLatin1(qt));
    }

    void newProjectDialogGivesItsFields()
    {
        NewProjectDialog dialog;
        QCOMPARE(dialog.request().width, 20);
        dialog.setFields(QStringLiteral("/m/level"), QStringLiteral(" /m/bg.qmb "), QString(), QStringLiteral("32"),
                         QStringLiteral("0"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const NewProjectRequest r = dialog.request();
        QCOMPARE(r.bgTileSetPath, std::string("/m/bg.qmb")); // trimmed
        QCOMPARE(std::pair(r.width, r.height), std::pair(32, 0));

        // A typed name is taken in the folder the dialogs open in.
        dialog.setFields(QStringLiteral("level"), QString(), QString(), QStringLiteral("1"), QStringLiteral("1"));
        QCOMPARE(QString::fromStdString(dialog.request().projectPath), QDir(dialogFolder()).absoluteFilePath("level"));
    }

    void mapPropertiesAndLocatorTitles()
    {
        ProjectState st;
        st.map.create(12, 7);
        st.projectPath = "/m/level.qmm";
        MapPropertiesDialog properties(st);
        QCOMPARE(properties.mapSize(), QSize(12, 7));
        properties.setSizeFields(QStringLiteral("30"), QStringLiteral(" 5"));
        properties.accept();
        QCOMPARE(properties.result(), int(QDialog::Accepted));
        QCOMPARE(properties.mapSize(), QSize(30, 5));

        LocateTileSetDialog bg(TILE_BG, QStringLiteral("/old/bg.qmb"));
        QCOMPARE(bg.windowTitle(), QStringLiteral("Locate BG tile set(*.qmb) file"));
        QCOMPARE(bg.path(), QStringLiteral("/old/bg.qmb"));
        LocateTileSetDialog obj(TILE_OBJ, QString());
        QCOMPARE(obj.windowTitle(), QStringLiteral("Locate OBJ tile set(*.qmo) file"));

        SaveProjectDialog save(SavePaths{"/a.qmm", "/b.qmb", ""});
        QCOMPARE(save.windowTitle(), QStringLiteral("Save Project"));
        QCOMPARE(save.paths().bgTileSetPath, std::string("/b.qmb"));
    }
};

QM_QTEST(ProjectDialogsTest)
#include "ProjectDialogsTest.moc"
