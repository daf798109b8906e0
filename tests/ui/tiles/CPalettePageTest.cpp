#include "ui/tiles/CPalettePage.h"

#include "ManagerFixture.h"
#include "core/tiles/PaletteClipboard.h"
#include "support/QtTestRunner.h"
#include "ui/tiles/RemapPaletteDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using namespace qm;
using namespace qm::ui;

namespace {
struct Fixture : qm::test::ManagerFixture {
    Fixture() { mgr->showPage(PAGE_PALETTE); }
    GbcColor& swatch(int s) { return swatchColour(ws.tiles.palettes, s); }
    std::vector<std::pair<qint64, qint64>> colours() const
    {
        std::vector<std::pair<qint64, qint64>> out;
        for (const qm::test::Sent& s : of(MSG_COLOURS_CHANGED))
            out.emplace_back(s.wParam, s.lParam);
        return out;
    }
    CPalettePage* pal = mgr->palettePage();
};
} // namespace

class CPalettePageTest : public QObject {
    Q_OBJECT
private slots:
    void clipboardOffsetsAndUndo()
    {
        Fixture f;
        f.swatch(5) = GbcColor{1, 2, 3};
        f.swatch(7) = GbcColor{4, 5, 6};
        const GbcColor gap = f.swatch(21);
        QTest::mouseClick(f.pal, Qt::LeftButton, {}, f.pal->swatchRect(5).center());
        QTest::mouseClick(f.pal, Qt::LeftButton, Qt::ControlModifier, f.pal->swatchRect(7).center());
        QCOMPARE(std::pair(f.pal->selection(), f.pal->selectedCount()), std::pair(std::uint64_t(0xA0), 2)); // 5 and 7
        QTest::keyClick(f.pal, Qt::Key_C, Qt::ControlModifier);
        QTest::mouseClick(f.pal, Qt::LeftButton, {}, f.pal->swatchRect(20).center());
        QCOMPARE(f.pal->componentBox(0)->text(), QStringLiteral("0"));
        QTest::keyClick(f.pal, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(std::tuple(f.swatch(20), f.swatch(21), f.swatch(22)), std::tuple(GbcColor{1, 2, 3}, gap, GbcColor{4, 5, 6}));
        QCOMPARE(f.colours(), (std::vector<std::pair<qint64, qint64>>{{0x40, 1 << 5}}));
        UndoListener listener;
        QVERIFY(f.undo.undo(f.ws, listener));
        QCOMPARE(f.swatch(22), (GbcColor{12, 12, 12}));
    }

    void typedValuesSpinsAndLeaving()
    {
        Fixture f;
        f.pal->clickSwatch(33, false);  // OBP0 colour 1
        f.pal->clickSwatch(34, true);   // OBP0 colour 2
        QLineEdit* red = f.pal->componentBox(0);
        red->selectAll();
        QTest::keyClicks(red, QStringLiteral("45"));
        QCOMPARE(std::pair(int(f.swatch(34).red), f.colours().back()), std::pair(31, std::pair<qint64, qint64>{0x80, 1 << 8}));
        emit red->editingFinished();
        QCOMPARE(red->text(), QStringLiteral("31"));

        // The spin skips swatches that would leave 0..31 and records nothing.
        f.swatch(34).green = 31;
        f.undo.beginStep(STEP_COLOURS, StepName::None);
        f.pal->componentSpin(1)->stepBy(1);
        QCOMPARE(std::tuple(int(f.swatch(33).green), int(f.swatch(34).green), f.undo.colourRecords().size()),
                 std::tuple(7, 31, size_t(0)));

        // Leaving the page tells the sheet once about the rows changed.
        f.sent.clear();
        f.mgr->showPage(TILE_BG);
        QCOMPARE(std::pair(f.colours().size(), int(f.pal->changedRows())), std::pair(size_t(1), 0));
    }

    void doubleClickTakesTheDialogColour()
    {
        Fixture f;
        f.mgr->colourPrompt = [](const QColor&) { return QColor(255, 128, 9); };
        // A double click arrives after the press of its first click.
        QTest::mouseClick(f.pal, Qt::LeftButton, {}, f.pal->swatchRect(10).center());
        QTest::mouseDClick(f.pal, Qt::LeftButton, {}, f.pal->swatchRect(10).center());
        QCOMPARE(f.swatch(10), (GbcColor{31, 16, 1}));
        f.mgr->colourPrompt = [](const QColor&) { return QColor(); };
        f.pal->doubleClickSwatch(11);
        QCOMPARE(f.swatch(11), (GbcColor{31, 31, 31}));
    }

    void monochromeShades()
    {
        Fixture f;
        QTest::mouseClick(f.pal, Qt::LeftButton, {}, f.pal->monoRect(1).center()); // BGP colour 1: shade 1
        QCOMPARE(f.pal->shade(), 1);
        // Its arrows span the three rows: easy to hit.
        QVERIFY(f.pal->shadeSpin()->height() >= f.pal->monoRect(8).bottom() - f.pal->monoRect(0).top()
                && f.pal->shadeSpin()->width() >= 20);
        f.pal->shadeSpin()->stepBy(-2);
        QCOMPARE(std::pair(f.pal->shade(), f.pal->shadeLabel()->text()), std::pair(3, QStringLiteral("3")));
        for (const auto& p : f.ws.tiles.palettes.bgMonoPalettes)
            QCOMPARE(p[1], (GbcColor{31, 31, 31}));
        // Outside DMG mode the message carries no palettes.
        QCOMPARE(f.colours().back(), (std::pair<qint64, qint64>{12, 0}));
        f.ws.tiles.dmgMode = true;
        f.pal->clickMono(5, false); // OBP1 colour 1
        f.pal->spinShade(1);
        QCOMPARE(f.colours().back(), (std::pair<qint64, qint64>{12, 0xFF00}));

        // "OBP2" changes nothing.
        const PaletteStore before = f.ws.tiles.palettes;
        f.sent.clear();
        f.pal->clickMono(9, false);
        f.pal->spinShade(1);
        QCOMPARE(std::tuple(f.ws.tiles.palettes.objMonoPalettes, f.ws.tiles.palettes.bgMonoPalettes, f.colours().size()),
                 std::tuple(before.objMonoPalettes, before.bgMonoPalettes, size_t(0)));
    }

    void remapDialog()
    {
        const DisplayTable colours{};
        RemapPaletteDialog dialog(RemapRequest{2, 256, 10, 12}, colours);
        QCOMPARE(dialog.paletteList()->currentIndex(), 2);
        QStringList shown;
        dialog.showMessage = [&](const QString& t) { shown << t; };
        dialog.fromBox()->setValue(20);
        dialog.accept();
        QCOMPARE(std::pair(shown, dialog.result()),
                 std::pair(QStringList{"Start tile must not be greater than stop tile."}, int(QDialog::Rejected)));
        dialog.fromBox()->setValue(5);
        dialog.colourList(0)->setCurrentIndex(3);
        dialog.accept();
        QCOMPARE(std::tuple(dialog.result(), dialog.request().bankBase, dialog.request().from, int(dialog.request().mapping[0])),
                 std::tuple(int(QDialog::Accepted), 256, 5, 3));
        dialog.paletteList()->setCurrentIndex(4);
        QCOMPARE(dialog.colourList(0)->currentIndex(), 0);
    }
};

QM_QTEST(CPalettePageTest)
#include "CPalettePageTest.moc"
