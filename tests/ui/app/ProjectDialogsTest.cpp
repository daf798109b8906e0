#include "support/QtTestRunner.h"
#include "ui/app/DialogFolder.h"
#include "ui/app/ProjectDialogs.h"

#include <QtTest>

using namespace qm;
using namespace qm::ui;

class ProjectDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersAreRewrittenForQtAndTheDialogsGiveTheirFieldsAndTitles()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"Quilt Mark(*.qmm;*.qmd)|*.qmm;*.qmd|", "Quilt Mark (*.qmm *.qmd)"},
            {"BG Tileset(*.qmb;*.bts)|*.qmb; *.bts|;", "BG Tileset (*.qmb *.bts)"},
            {"Bin File (*.bin)|*.bin|", "Bin File (*.bin)"},
            {"BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|All Files (*.*)|*.*||", "BG Tileset (*.qmb *.bts);;All Files (*)"},
        };
        for (const auto& [windows, qt] : cases)
            QCOMPARE(qtFileFilters(QString::fromLatin1(windows)), QString::fromLatin1(qt));
        NewProjectDialog dialog;
        QCOMPARE(dialog.request().width, 20);
        dialog.setFields(QStringLiteral("/m/level"), QStringLiteral(" /m/bg.qmb "), QString(), QStringLiteral("32"),
                         QStringLiteral("0"));
        dialog.accept();
        const NewProjectRequest r = dialog.request();
        QCOMPARE(std::tuple(dialog.result(), r.bgTileSetPath, r.width, r.height),
                 std::tuple(int(QDialog::Accepted), std::string("/m/bg.qmb"), 32, 0)); // trimmed

        // A typed name is taken in the folder the dialogs open in.
        dialog.setFields(QStringLiteral("level"), QString(), QString(), QStringLiteral("1"), QStringLiteral("1"));
        QCOMPARE(QString::fromStdString(dialog.request().projectPath), QDir(dialogFolder()).absoluteFilePath("level"));
        ProjectState st;
        st.map.create(12, 7);
        st.projectPath = "/m/level.qmm";
        MapPropertiesDialog properties(st);
        QCOMPARE(properties.mapSize(), QSize(12, 7));
        properties.setSizeFields(QStringLiteral("30"), QStringLiteral(" 5"));
        properties.accept();
        QCOMPARE(std::pair(properties.result(), properties.mapSize()), std::pair(int(QDialog::Accepted), QSize(30, 5)));

        LocateTileSetDialog bg(TILE_BG, QStringLiteral("/old/bg.qmb")), obj(TILE_OBJ, QString());
        QCOMPARE(std::tuple(bg.windowTitle(), bg.path(), obj.windowTitle()),
                 std::tuple(QStringLiteral("Locate BG tile set(*.qmb) file"), QStringLiteral("/old/bg.qmb"),
                            QStringLiteral("Locate OBJ tile set(*.qmo) file")));
        SaveProjectDialog save(SavePaths{"/a.qmm", "/b.qmb", ""});
        QCOMPARE(std::pair(save.windowTitle(), save.paths().bgTileSetPath), std::pair(QStringLiteral("Save Project"), std::string("/b.qmb")));
    }

};

QM_QTEST(ProjectDialogsTest)
#include "ProjectDialogsTest.moc"
