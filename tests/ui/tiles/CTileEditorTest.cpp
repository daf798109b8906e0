#include "ui/tiles/CTileEditor.h"

#include "ManagerFixture.h"
#include "support/QtTestRunner.h"
#include "ui/tiles/TileEditArea.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorControls.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

using namespace qm;
using namespace qm::ui;

namespace {

struct Fixture {
    Fixture()
    {
        bar->showMessage = [this](const QString& t) { messages << t; };
        bar->screenHeight = [this] { return screen; };
        bar->ctrlHeld = [this] { return ctrl; };
        QObject::connect(bar.get(), &CTileEditor::message, [this](AppMessage m, qint64 w, qint64 l) {
            qm::test::Sent s{m, w, l, {}, {}};
            if (m == MSG_TILES_CHANGED && (w & TILES_CHANGED_RANGE))
                s.range = *messageRecord<TileRange>(l);
            if (m == MSG_TILE_PALETTE_CHANGED) {
                s.change = *messageRecord<TilePaletteChange>(l);
                tileStepDuringNotice = undo.stepKind() == STEP_TILES; // the cells join it
            }
            sent.push_back(s);
        });
    }
    CTile& tile(int i) { return ws->tiles.bg.tiles[static_cast<size_t>(i)]; }
    QPoint pixelPoint(int x, int y) const { return QPoint(x, y) * bar->zoom() + QPoint(1, 1) * (bar->zoom() / 2); }
    void press(int x, int y) { QTest::mousePress(bar->area(), Qt::LeftButton, {}, pixelPoint(x, y)); }

    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    std::unique_ptr<CTileEditor> bar = std::make_unique<CTileEditor>(*ws, undo);
    QStringList messages;
    std::vector<qm::test::Sent> sent;
    int screen = 768;
    bool ctrl = false;
    bool tileStepDuringNotice = false;
};

} // namespace

class CTileEditorTest : public QObject {
    Q_OBJECT
private slots:
    void startsAsTheBarIsLaidOut()
    {
        Fixture f;
        QCOMPARE(std::tuple(f.bar->zoom(), f.bar->size(), f.bar->areaRect(), f.bar->button("UNDO")->isEnabled()),
                 std::tuple(16, QSize(225, 228), QRect(23, 45, 128, 128), false));
        // The command buttons are pictures, and every label has its room.
        for (const char* name : {"PEN", "BUCKET", "SELECTOR", "SCROLLUP", "ROTATE", "GRID", "COMMENT", "PLAY", "STOP"})
            QVERIFY2(!f.bar->button(name)->icon().isNull() && f.bar->button(name)->text().isEmpty(), name);
        for (QLabel* label : f.bar->findChildren<QLabel*>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                     qPrintable(label->text()));
        // Tile numbers are shown within their bank; the caption is the comment.
        f.tile(300).setPalette(6);
        f.tile(300).setComment("door");
        f.bar->setCurrentTile(300);
        f.bar->setCurrentTile(512); // not a tile: nothing
        QCOMPARE(std::tuple(f.bar->frame().start, f.bar->controls().tileLabel()->text(),
                            f.bar->controls().paletteList()->currentIndex(), f.bar->windowTitle()),
                 std::tuple(300, QString("Tile #: 44"), 6, QString("door")));
    }

    void frameSizeBoxesAndArrows()
    {
        Fixture f;
        // A typed size counts on Enter: "31" is no 3 on the way.
        QLineEdit* width = f.bar->controls().widthBox();
        QTest::keyClicks(width, QStringLiteral("\b31"));
        QCOMPARE(std::pair(f.bar->frame().width, f.messages.size()), std::pair(1, qsizetype(0)));
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(f.messages, QStringList{"Frame width must be between 1 to 30"});
        QCOMPARE(width->text(), QString("1")); // the refused value is put back
        QTest::keyClicks(width, QStringLiteral("\b12"));
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(std::tuple(f.bar->frame().width, f.bar->zoom(), f.bar->size()),
                 std::tuple(12, 4, QSize(12 * 32 + 40, 228 + 32))); // one row of three or more tiles
        f.bar->typeFrameWidth("0"); // ignored
        QCOMPARE(width->text(), QString("12"));
        // Leaving the box counts too.
        QTest::keyClicks(f.bar->controls().heightBox(), QStringLiteral("\b3"));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(f.bar->controls().heightBox(), &out);
        QCOMPARE(f.bar->frame().height, 3);

        // A small screen lowers the limits when a size is typed.
        f.screen = 500;
        f.bar->typeFrameHeight("12");
        QCOMPARE(f.messages.last(), QString("Frame hight must be between 1 to 11"));
        f.bar->typeFrameWidth("2");
        f.bar->typeFrameHeight("7");
        QCOMPARE(f.bar->zoom(), 4); // taller than 6 with the small limits

        // The arrows stop at 1 and at the maximum.
        f.bar->typeFrameWidth("1");
        QTest::mouseClick(f.bar->button("WIDTHDOWN"), Qt::LeftButton);
        const int down = f.bar->frame().width;
        f.bar->typeFrameWidth("18");
        QTest::mouseClick(f.bar->button("WIDTHUP"), Qt::LeftButton);
        QCOMPARE(std::pair(down, f.bar->frame().width), std::pair(1, 18));
    }

    void pencilAndBucketSnapshotOnceAndAnnounce()
    {
        Fixture f;
        f.bar->show();
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(40);
        f.bar->setDrawColour(3);
        f.press(9, 1);
        QCOMPARE(std::pair(int(f.tile(41).pixel(1, 1)), f.undo.tileRecords().size()), std::pair(3, size_t(2)));
        QVERIFY(f.bar->button("UNDO")->isEnabled());
        QCOMPARE(std::pair(f.sent.back().wParam, f.sent.back().lParam),
                 std::pair(qint64(TILE_BG | TILES_CHANGED_KEEP_PAGE), qint64(41)));
        // Dragging paints without another snapshot.
        const size_t steps = f.undo.size();
        QMouseEvent move(QEvent::MouseMove, f.pixelPoint(2, 1), f.bar->area()->mapToGlobal(f.pixelPoint(2, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.bar->area(), &move);
        QTest::mouseRelease(f.bar->area(), Qt::LeftButton, {}, f.pixelPoint(2, 1));
        QCOMPARE(std::tuple(int(f.tile(40).pixel(2, 1)), f.undo.size(), f.undo.tileRecords().size()),
                 std::tuple(3, steps, size_t(2)));

        // Ctrl with the pencil fills the frame's region; releasing it gives the pencil back.
        f.bar->typeFrameWidth("1");
        f.bar->setCurrentTile(7);
        f.bar->setDrawColour(2);
        QTest::keyPress(f.bar.get(), Qt::Key_Control, Qt::ControlModifier);
        f.press(3, 3);
        QCOMPARE(std::pair(int(f.tile(7).pixel(7, 7)), f.sent.back().wParam),
                 std::pair(2, qint64(TILE_BG | TILES_CHANGED_RANGE | TILES_CHANGED_KEEP_PAGE)));
        QTest::keyRelease(f.bar.get(), Qt::Key_Control, Qt::NoModifier);
        f.bar->setDrawColour(1);
        f.press(0, 0);
        QCOMPARE(f.tile(7).pixel(1, 0), 2);
        // The bucket on a pixel of its own colour changes and sends nothing.
        f.bar->setTool(CTileEditor::Tool::Bucket);
        const size_t sent = f.sent.size();
        f.press(0, 0);
        QCOMPARE(f.sent.size(), sent);
    }

    void buttonsTakeCtrlAndRefuseFramesPastTheSet()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->typeFrameHeight("2");
        f.bar->setCurrentTile(20);
        f.tile(20).setPixel(0, 0, 3); // top left corner of the picture
        QTest::mouseClick(f.bar->button("ROTATE"), Qt::LeftButton);
        QCOMPARE(f.tile(21).pixel(7, 0), 3); // now the top right corner
        QCOMPARE(std::pair(f.sent.back().range.first, f.sent.back().range.last), std::pair(20, 23));
        f.ctrl = true;
        QTest::mouseClick(f.bar->button("ROTATE"), Qt::LeftButton);
        QCOMPARE(f.tile(21).pixel(7, 7), 3); // turned within its own tile
        f.ctrl = false;

        f.bar->setCurrentTile(510);
        f.sent.clear();
        f.undo.clear();
        f.bar->setUndoState(false, false);
        for (const char* name : {"SCROLLLEFT", "FLIPH", "ROTATE"})
            QTest::mouseClick(f.bar->button(name), Qt::LeftButton);
        QCOMPARE(f.messages, (QStringList{"Unable to scroll tiles because of number of the empty tile(s)",
                                          "Unable to flip tiles because of number of the empty tile(s)",
                                          "Unable to rotate tiles because of the empty tile(s)"}));
        QVERIFY(f.sent.empty() && !f.bar->button("UNDO")->isEnabled());
    }

    void animationAndFrameSteps()
    {
        Fixture f;
        f.bar->setCurrentTile(10);
        f.bar->controls().framesBox()->setText("3");
        f.bar->controls().speedBox()->setText("40");
        QTest::mouseClick(f.bar->button("PLAY"), Qt::LeftButton);
        QCOMPARE(std::pair(f.bar->animation().timer()->interval(), f.bar->gridShown()), std::pair(40, false));
        for (int expected : {11, 12, 10}) {
            f.bar->animation().tick();
            QCOMPARE(f.bar->frame().start, expected);
        }
        // Typing into the frames box stops it.
        QTest::keyClick(f.bar->controls().framesBox(), Qt::Key_2);
        QVERIFY(!f.bar->animation().running());
        // The real timer drives it too.
        f.bar->controls().framesBox()->setText("2");
        f.bar->controls().speedBox()->setText("5");
        f.bar->animation().play();
        QTRY_COMPARE(f.bar->frame().start, 11);
        f.bar->animation().stop();

        // Back Up Frame and Forward Frame ask for a tile in the same bank only.
        QSignalSpy asked(f.bar.get(), &CTileEditor::currentTileRequested);
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(254);
        QTest::mouseClick(f.bar->button("FORWARD"), Qt::LeftButton);
        f.bar->setCurrentTile(258);
        QTest::mouseClick(f.bar->button("BACKWARD"), Qt::LeftButton);
        QCOMPARE(asked, QList<QList<QVariant>>{{256}});
    }

    void paletteListAndContextMenu()
    {
        Fixture f;
        f.bar->typeFrameWidth("3");
        f.bar->setCurrentTile(50);
        f.tile(51).setPalette(2);
        f.bar->choosePalette(2);
        QCOMPARE(std::pair(f.sent.size(), f.sent[1].change.firstTile), std::pair(size_t(2), 52)); // 51 had palette 2
        QVERIFY(f.tileStepDuringNotice); // the map's cells join the tiles' step

        // The context menu gives one tile a palette; the palette it has already does nothing.
        std::unique_ptr<QMenu> menu(f.bar->area()->buildContextMenu(51));
        QMenu* palettes = menu->actions().at(0)->menu();
        palettes->actions().at(5)->trigger();
        QCOMPARE(std::tuple(f.tile(51).palette(), f.tile(50).palette(), f.sent.back().change.firstTile), std::tuple(5, 2, 51));
        const size_t sentBefore = f.sent.size();
        palettes->actions().at(5)->trigger();
        QCOMPARE(f.sent.size(), sentBefore);
    }

    void clipboardRecordsAndPictures()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(60);
        f.tile(60).pixels.fill(1);
        f.tile(61).setPalette(3);
        f.bar->copy();
        f.bar->setCurrentTile(70);
        QTest::keyClick(f.bar.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(std::tuple(f.tile(70).pixels, f.tile(71).palette(), f.sent.back().range.last),
                 std::tuple(f.tile(60).pixels, 3, 71));

        // Pixels paste only with the pixel selector and a selection.
        f.bar->setTool(CTileEditor::Tool::PixelSelector);
        f.bar->area()->setPixelSelection(QPoint(0, 0), QPoint(3, 3));
        f.bar->copy();
        f.bar->setTool(CTileEditor::Tool::Pencil);
        f.bar->setCurrentTile(100);
        f.bar->paste();
        QCOMPARE(f.tile(100).pixel(0, 0), 0);

        // A picture is announced past the frame as far as it reaches.
        f.bar->typeFrameWidth("1");
        f.bar->setCurrentTile(200);
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(QColor(10, 10, 10));
        QGuiApplication::clipboard()->setImage(image);
        f.bar->paste();
        QCOMPARE(f.sent.back().range.last, 201);
        QGuiApplication::clipboard()->setImage(QImage(8, 8, QImage::Format_Mono));
        f.bar->paste();
        QCOMPARE(f.messages, QStringList{"Invalid avi file, make sure the image is 8,16,24 bits per pixel"});
    }

    void commentAndKeys()
    {
        Fixture f;
        f.bar->show();
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(510);
        QTest::mouseClick(f.bar->button("COMMENT"), Qt::LeftButton);
        QTest::keyClicks(f.bar->controls().commentBox(), "wall");
        QCOMPARE(std::pair(QString::fromStdString(std::string(f.tile(511).commentText())), f.bar->windowTitle()),
                 std::pair(QString("wall"), QString("wall")));
        QVERIFY(f.ws->project.changeFlags & CHANGED_BG_TILES);
        QTest::keyClick(f.bar->controls().commentBox(), Qt::Key_Escape);
        QVERIFY(!f.bar->commentShown() && f.bar->isVisible());

        QSignalSpy arrows(f.bar.get(), &CTileEditor::managerArrowKey);
        QSignalSpy undo(f.bar.get(), &CTileEditor::undoRequested);
        QTest::keyClick(f.bar.get(), Qt::Key_K, Qt::ShiftModifier);
        QCOMPARE(f.bar->tool(), CTileEditor::Tool::Bucket);
        QTest::keyClick(f.bar.get(), Qt::Key_Down);
        QTest::keyClick(f.bar.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(arrows.size() + undo.size(), 2);
        f.bar->animation().play();
        QTest::keyClick(f.bar.get(), Qt::Key_Escape);
        QVERIFY(!f.bar->isVisible() && !f.bar->animation().running());
    }

    void drawsEachTileInItsPaletteWithTheGrid()
    {
        Fixture f;
        f.ws->tiles.obj.tiles[5].setPalette(1);
        f.ws->tiles.obj.tiles[5].pixels.fill(2);
        f.bar->handleMessage(MSG_CURRENT_TILE_CHANGED, TILE_OBJ, 5); // its kind and start: the ui app's tests
        const DisplayColour& shown = f.ws->tiles.coloursOf(TILE_OBJ)[1][2]; // follows the palettes
        const auto colour = [&shown] { return QColor(shown.red, shown.green, shown.blue); };
        const QColor grey(128, 128, 128);
        QImage image = f.bar->area()->picture();
        QCOMPARE(std::pair(image.pixelColor(5, 5), image.pixelColor(16, 5)), std::pair(colour(), grey)); // one between pixels
        f.bar->typeFrameWidth("2");
        image = f.bar->area()->picture();
        QCOMPARE(std::tuple(image.pixelColor(126, 5), image.pixelColor(127, 5), image.pixelColor(128, 5)),
                 std::tuple(colour(), grey, grey)); // two at a tile border

        // A double click on GRID chooses its colour; new colours are drawn at once.
        f.bar->colourPrompt = [](const QColor&) { return QColor(0, 255, 0); };
        QTest::mouseDClick(f.bar->button("GRID"), Qt::LeftButton);
        QCOMPARE(f.bar->gridLineColour(), QColor(0, 255, 0));
        f.ws->tiles.palettes.objPalettes[1][2] = GbcColor{31, 0, 0};
        f.ws->tiles.palettes.recomputeAll();
        f.bar->handleMessage(MSG_COLOURS_CHANGED, 0x80, 0x2);
        QCOMPARE(f.bar->area()->picture().pixelColor(5, 5), colour());
    }
};

QM_QTEST(CTileEditorTest)
#include "CTileEditorTest.moc"
