#include "ui/tiles/CTileEditor.h"

#include "support/QtTestRunner.h"
#include "ui/tiles/TileEditArea.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorControls.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace qm;
using namespace qm::ui;

namespace {

struct Sent {
    AppMessage msg;
    qint64 wParam;
    TileRange range;          // for MSG_TILES_CHANGED with a range
    TilePaletteChange change; // for MSG_TILE_PALETTE_CHANGED
    qint64 lParam;
};

struct Fixture {
    Fixture()
    {
        ws = std::make_unique<Workspace>();
        bar = std::make_unique<CTileEditor>(*ws, undo);
        bar->showMessage = [this](const QString& t) { messages << t; };
        bar->screenHeight = [this] { return screen; };
        bar->ctrlHeld = [this] { return ctrl; };
        QObject::connect(bar.get(), &CTileEditor::message, [this](AppMessage m, qint64 w, qint64 l) {
            Sent s{m, w, {}, {}, l};
            if (m == MSG_TILES_CHANGED && (w & TILES_CHANGED_RANGE))
                s.range = *messageRecord<TileRange>(l);
            if (m == MSG_TILE_PALETTE_CHANGED) {
                s.change = *messageRecord<TilePaletteChange>(l);
                holdDuringNotice = undo.holdCells;
            }
            sent.push_back(s);
        });
    }
    CTile& tile(int i) { return ws->tiles.bg.tiles[static_cast<size_t>(i)]; }
    QPoint pixelPoint(int x, int y) const
    {
        const int z = bar->zoom();
        return QPoint(x * z + z / 2, y * z + z / 2);
    }
    void press(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(bar->area(), Qt::LeftButton, mods, pixelPoint(x, y));
    }
    void drag(int x, int y)
    {
        QMouseEvent move(QEvent::MouseMove, pixelPoint(x, y), bar->area()->mapToGlobal(pixelPoint(x, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar->area(), &move);
    }
    void release(int x, int y) { QTest::mouseRelease(bar->area(), Qt::LeftButton, Qt::NoModifier, pixelPoint(x, y)); }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    std::unique_ptr<CTileEditor> bar;
    QStringList messages;
    std::vector<Sent> sent;
    int screen = 768;
    bool ctrl = false;
    bool holdDuringNotice = false;
};

} // namespace

class CTileEditorTest : public QObject {
    Q_OBJECT
private slots:
    void startsAsTheBarIsLaidOut()
    {
        Fixture f;
        QCOMPARE(f.bar->zoom(), 16);
        QCOMPARE(f.bar->size(), QSize(225, 228));
        QCOMPARE(f.bar->areaRect(), QRect(23, 45, 128, 128));
        QCOMPARE(f.bar->tool(), CTileEditor::Tool::Pencil);
        QVERIFY(f.bar->gridShown());
        QCOMPARE(f.bar->gridLineColour(), QColor(128, 128, 128));
        QVERIFY(!f.bar->button("UNDO")->isEnabled());
        QVERIFY(!f.bar->button("REDO")->isEnabled());
        QCOMPARE(f.bar->button("BUCKET")->toolTip(), QString("Bucket fill tool"));
        QCOMPARE(f.bar->button("BACKWARD")->toolTip(), QString("Back Up Frame"));
        QCOMPARE(f.bar->controls().speedBox()->toolTip(), QString("Speed(Frame rate)"));
        QCOMPARE(f.bar->controls().speedBox()->text(), QString("100"));
        QCOMPARE(f.bar->controls().paletteList()->count(), 8);
        // The command buttons are pictures, and every label has its room.
        for (const char* name : {"PEN", "BUCKET", "SELECTOR", "SCROLLUP", "ROTATE", "GRID", "COMMENT", "PLAY", "STOP"}) {
            QVERIFY2(!f.bar->button(QString::fromLatin1(name))->icon().isNull(), name);
            QVERIFY2(f.bar->button(QString::fromLatin1(name))->text().isEmpty(), name);
        }
        for (QLabel* label : f.bar->findChildren<QLabel*>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                     qPrintable(label->text()));

        // Tile numbers are shown within their bank; the caption is the comment.
        f.tile(300).setPalette(6);
        f.tile(300).setComment("door");
        f.bar->setCurrentTile(300);
        QCOMPARE(f.bar->controls().tileLabel()->text(), QString("Tile #: 44"));
        QCOMPARE(f.bar->controls().paletteLabel()->text(), QString("Pal: 6"));
        QCOMPARE(f.bar->controls().paletteList()->currentIndex(), 6);
        QCOMPARE(f.bar->windowTitle(), QString("door"));
        f.bar->setCurrentTile(512); // not a tile: nothing
        QCOMPARE(f.bar->frame().start, 300);
    }

    void frameSizeBoxesAndArrows()
    {
        Fixture f;
        // A typed size counts on Enter: "31" is no 3 on the way.
        QLineEdit* width = f.bar->controls().widthBox();
        QTest::keyClicks(width, QStringLiteral("\b31"));
        QCOMPARE(f.bar->frame().width, 1);
        QVERIFY(f.messages.isEmpty());
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(f.messages, QStringList{"Frame width must be between 1 to 30"});
        QCOMPARE(width->text(), QString("1"));
        QTest::keyClicks(width, QStringLiteral("\b3"));
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(f.bar->frame().width, 3);
        f.bar->typeFrameWidth("1");
        f.messages.clear();

        f.bar->typeFrameWidth("31");
        QCOMPARE(f.messages, QStringList{"Frame width must be between 1 to 30"});
        QCOMPARE(f.bar->frame().width, 1);
        QCOMPARE(f.bar->controls().widthBox()->text(), QString("1"));
        f.bar->typeFrameWidth("0"); // ignored
        QCOMPARE(f.messages.size(), 1);

        f.bar->typeFrameWidth("12");
        QCOMPARE(f.bar->frame().width, 12);
        QCOMPARE(f.bar->zoom(), 4);
        QCOMPARE(f.bar->width(), 12 * 32 + 40);
        QCOMPARE(f.bar->height(), 228 + 32); // one row of three or more tiles

        // A small screen lowers the limits when a size is typed.
        f.screen = 500;
        f.bar->typeFrameHeight("12");
        QCOMPARE(f.messages.last(), QString("Frame hight must be between 1 to 11"));
        f.bar->typeFrameWidth("2");
        f.bar->typeFrameHeight("7");
        QCOMPARE(f.bar->zoom(), 4); // taller than 6 with the small limits
        QCOMPARE(f.bar->controls().heightBox()->text(), QString("7"));

        // The arrows stop at 1 and at the maximum.
        f.bar->typeFrameHeight("1");
        f.bar->typeFrameWidth("1");
        QTest::mouseClick(f.bar->button("WIDTHDOWN"), Qt::LeftButton);
        QCOMPARE(f.bar->frame().width, 1);
        QTest::mouseClick(f.bar->button("HEIGHTUP"), Qt::LeftButton);
        QCOMPARE(f.bar->frame().height, 2);
        QCOMPARE(f.bar->zoom(), 16);
        f.bar->typeFrameWidth("18");
        QTest::mouseClick(f.bar->button("WIDTHUP"), Qt::LeftButton);
        QCOMPARE(f.bar->frame().width, 18);
    }

    void pencilPaintsAndSnapshotsOnPress()
    {
        Fixture f;
        f.bar->show();
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(40);
        f.bar->setDrawColour(3);
        f.press(9, 1);
        QCOMPARE(f.tile(41).pixel(1, 1), 3);
        QCOMPARE(f.undo.stepKind, int(STEP_TILES));
        QCOMPARE(f.undo.tileRecords.size(), size_t(2));
        QVERIFY(f.bar->button("UNDO")->isEnabled());
        QCOMPARE(f.sent.size(), size_t(1));
        QCOMPARE(f.sent[0].wParam, qint64(TILE_BG | 0x100000));
        QCOMPARE(f.sent[0].lParam, qint64(41));

        // Dragging paints without another snapshot.
        f.undo.tileRecords.clear();
        f.drag(2, 1);
        f.release(2, 1);
        QCOMPARE(f.tile(40).pixel(2, 1), 3);
        QCOMPARE(f.sent.back().lParam, qint64(40));
        QVERIFY(f.undo.tileRecords.empty());
        // A pixel that already has the colour sends nothing.
        const size_t before = f.sent.size();
        f.press(2, 1);
        f.drag(2, 1);
        QCOMPARE(f.sent.size(), before + 1); // the press only
    }

    void bucketAndCtrlForATemporaryBucket()
    {
        Fixture f;
        f.bar->show();
        f.bar->setCurrentTile(7);
        // Bucket with the colour the pixel has: nothing changes, nothing is sent.
        f.bar->setTool(CTileEditor::Tool::Bucket);
        f.undo.beginStep(STEP_CELLS);
        f.press(0, 0);
        QVERIFY(f.sent.empty());
        QCOMPARE(f.undo.stepKind, int(STEP_CELLS));

        // Ctrl with the pencil fills; releasing Ctrl gives the pencil back.
        f.bar->setTool(CTileEditor::Tool::Pencil);
        f.bar->setDrawColour(2);
        QTest::keyPress(f.bar.get(), Qt::Key_Control, Qt::ControlModifier);
        f.press(3, 3);
        QCOMPARE(f.tile(7).pixel(7, 7), 2);
        QCOMPARE(f.sent.back().wParam, qint64(TILE_BG | 0x110000));
        QCOMPARE(f.sent.back().range.first, 7);
        QCOMPARE(f.sent.back().range.last, 7);
        QTest::keyRelease(f.bar.get(), Qt::Key_Control, Qt::NoModifier);
        f.bar->setDrawColour(1);
        f.press(0, 0);
        QCOMPARE(f.tile(7).pixel(0, 0), 1);
        QCOMPARE(f.tile(7).pixel(1, 0), 2);
    }

    void buttonsWithAndWithoutCtrl()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->typeFrameHeight("2");
        f.bar->setCurrentTile(20);
        f.tile(20).setPixel(0, 0, 3); // top left corner of the picture
        f.tile(20).setPalette(4);

        QTest::mouseClick(f.bar->button("ROTATE"), Qt::LeftButton);
        QCOMPARE(f.tile(21).pixel(7, 0), 3); // now the top right corner
        QCOMPARE(f.tile(21).palette(), 4);
        QCOMPARE(f.sent.back().wParam, qint64(TILE_BG | 0x10000));
        QCOMPARE(f.sent.back().range.first, 20);
        QCOMPARE(f.sent.back().range.last, 23);

        f.ctrl = true;
        QTest::mouseClick(f.bar->button("ROTATE"), Qt::LeftButton);
        QCOMPARE(f.tile(21).pixel(7, 7), 3); // turned within its own tile
        QCOMPARE(f.tile(21).palette(), 4);
        QTest::mouseClick(f.bar->button("FLIPH"), Qt::LeftButton);
        QCOMPARE(f.tile(21).pixel(0, 7), 3);
        f.ctrl = false;
        QTest::mouseClick(f.bar->button("FLIPV"), Qt::LeftButton);
        QCOMPARE(f.tile(23).pixel(0, 0), 3);
        QTest::mouseClick(f.bar->button("SCROLLLEFT"), Qt::LeftButton);
        QCOMPARE(f.tile(22).pixel(7, 0), 3);
        QVERIFY(f.messages.isEmpty());
    }

    void refusalsAtTile510()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->typeFrameHeight("2");
        f.bar->setCurrentTile(510);
        for (const char* name : {"SCROLLLEFT", "SCROLLRIGHT", "SCROLLUP", "SCROLLDOWN", "FLIPH", "FLIPV", "ROTATE"})
            QTest::mouseClick(f.bar->button(name), Qt::LeftButton);
        QCOMPARE(f.messages,
                 (QStringList{"Unable to scroll tiles because of number of the empty tile(s)",
                              "Unable to rotate tiles because of number of the empty tile(s)",
                              "Unable to rotate tiles because of number of the empty tile(s)",
                              "Unable to rotate tiles because of number of the empty tile(s)",
                              "Unable to flip tiles because of number of the empty tile(s)",
                              "Unable to flip tiles because of number of the empty tile(s)",
                              "Unable to rotate tiles because of the empty tile(s)"}));
        QVERIFY(f.sent.empty());
        QVERIFY(!f.bar->button("UNDO")->isEnabled());
    }

    void animationCycles()
    {
        Fixture f;
        f.bar->setCurrentTile(10);
        f.bar->controls().framesBox()->setText("3");
        f.bar->controls().speedBox()->setText("40");
        QTest::mouseClick(f.bar->button("PLAY"), Qt::LeftButton);
        QVERIFY(f.bar->animation().running());
        QCOMPARE(f.bar->animation().timer()->interval(), 40);
        QVERIFY(!f.bar->gridShown());
        QList<int> shown{f.bar->frame().start};
        for (int i = 0; i < 4; ++i) {
            f.bar->animation().tick();
            shown << f.bar->frame().start;
        }
        QCOMPARE(shown, (QList<int>{10, 11, 12, 10, 11}));
        QTest::mouseClick(f.bar->button("STOP"), Qt::LeftButton);
        QVERIFY(!f.bar->animation().running());

        f.bar->setCurrentTile(510);
        f.bar->animation().play();
        shown = {f.bar->frame().start};
        for (int i = 0; i < 3; ++i) {
            f.bar->animation().tick();
            shown << f.bar->frame().start;
        }
        QCOMPARE(shown, (QList<int>{510, 511, 510, 511}));
        // Typing into the frames box stops the animation.
        QTest::keyClick(f.bar->controls().framesBox(), Qt::Key_2);
        QVERIFY(!f.bar->animation().running());

        // The real timer drives it too.
        f.bar->setCurrentTile(10);
        f.bar->controls().framesBox()->setText("2");
        f.bar->controls().speedBox()->setText("5");
        f.bar->animation().play();
        QTRY_COMPARE(f.bar->frame().start, 11);
        f.bar->animation().stop();
    }

    void forwardAndBackFrameStayInTheBank()
    {
        Fixture f;
        QSignalSpy asked(f.bar.get(), &CTileEditor::currentTileRequested);
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(254);
        QTest::mouseClick(f.bar->button("FORWARD"), Qt::LeftButton);
        QCOMPARE(asked.size(), 0);
        f.bar->setCurrentTile(253);
        QTest::mouseClick(f.bar->button("FORWARD"), Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).at(0).toInt(), 255);
        f.bar->setCurrentTile(257);
        QTest::mouseClick(f.bar->button("BACKWARD"), Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        f.bar->setCurrentTile(258);
        QTest::mouseClick(f.bar->button("BACKWARD"), Qt::LeftButton);
        QCOMPARE(asked.at(1).at(0).toInt(), 256);
    }

    void paletteListAndContextMenu()
    {
        Fixture f;
        f.bar->typeFrameWidth("3");
        f.bar->setCurrentTile(50);
        f.tile(51).setPalette(2);
        f.undo.beginStep(STEP_CELLS);
        f.undo.cellRecords.push_back(CellRecord{});
        f.bar->choosePalette(2);
        QCOMPARE(f.sent.size(), size_t(2)); // tiles 50 and 52; 51 had palette 2 already
        QCOMPARE(f.sent[0].msg, MSG_TILE_PALETTE_CHANGED);
        QCOMPARE(f.sent[0].change.firstTile, 50);
        QCOMPARE(f.sent[1].change.firstTile, 52);
        QCOMPARE(int(f.sent[1].change.oldPalette), 0);
        QCOMPARE(int(f.sent[1].change.newPalette), 2);
        QCOMPARE(int(f.sent[1].change.layer), int(TILE_BG));
        QVERIFY(f.holdDuringNotice);
        QVERIFY(!f.undo.holdCells);
        QVERIFY(f.undo.cellRecords.empty()); // the old step's cells are gone
        QCOMPARE(f.undo.tileRecords.size(), size_t(3));
        QCOMPARE(f.ws->tiles.bg.currentPalette(), 2);
        QCOMPARE(f.bar->controls().paletteList()->currentIndex(), 2);

        // The context menu gives one tile a palette.
        std::unique_ptr<QMenu> menu(f.bar->area()->buildContextMenu(51));
        QMenu* palettes = menu->actions().at(0)->menu();
        QVERIFY(palettes);
        QCOMPARE(menu->actions().at(0)->text(), QString("Palettes"));
        QCOMPARE(palettes->actions().size(), 8);
        palettes->actions().at(5)->trigger();
        QCOMPARE(f.tile(51).palette(), 5);
        QCOMPARE(f.tile(50).palette(), 2);
        QCOMPARE(f.undo.tileRecords.size(), size_t(1));
        QCOMPARE(f.sent.back().change.firstTile, 51);
        // The palette it has already: no step, nothing sent.
        const size_t sentBefore = f.sent.size();
        f.undo.beginStep(STEP_CELLS);
        palettes->actions().at(5)->trigger();
        QCOMPARE(f.sent.size(), sentBefore);
        QCOMPARE(f.undo.stepKind, int(STEP_CELLS));
    }

    void tileDesignerCopyAndPaste()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(60);
        f.tile(60).pixels.fill(1);
        f.tile(60).setComment("left");
        f.tile(61).pixels.fill(2);
        f.tile(61).setPalette(3);
        f.bar->copy();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasFormat("TileDesigner"));
        const QByteArray bytes = data->data("TileDesigner");
        QCOMPARE(bytes.size(), 4 + 66 + 70);
        QCOMPARE(int(bytes[0]), 2);
        QCOMPARE(int(bytes[4]), 3);  // the right tile first: its palette
        QCOMPARE(int(bytes[5]), 2);  // and its pixels
        QCOMPARE(int(bytes[4 + 66 + 1]), 1);

        f.bar->setCurrentTile(70);
        QTest::keyClick(f.bar.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.tile(70).pixels, f.tile(60).pixels);
        QVERIFY(f.tile(70).commentText() == "left");
        QCOMPARE(f.tile(71).palette(), 3);
        QCOMPARE(f.tile(71).pixel(4, 4), 2);
        QCOMPARE(f.sent.back().wParam, qint64(TILE_BG | 0x10000));
        QCOMPARE(f.sent.back().range.first, 70);
        QCOMPARE(f.sent.back().range.last, 71);

        // A damaged record changes nothing.
        auto* damaged = new QMimeData;
        damaged->setData("TileDesigner", bytes.left(40));
        QGuiApplication::clipboard()->setMimeData(damaged);
        f.bar->setCurrentTile(80);
        const size_t before = f.sent.size();
        f.bar->paste();
        QCOMPARE(f.sent.size(), before);
        QCOMPARE(f.tile(80).pixel(0, 0), 0);
    }

    void pixelCopyAndPasteClipped()
    {
        Fixture f;
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(0);
        f.bar->setTool(CTileEditor::Tool::PixelSelector);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                f.tile(0).setPixel(x, y, 3);
        f.bar->area()->setPixelSelection(QPoint(0, 0), QPoint(3, 3));
        f.bar->copy();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("TileDesignerPixel").size(), 8 + 16);

        // At tile 511 with a 2x1 frame: the part past the set is dropped.
        f.bar->setCurrentTile(511);
        QVERIFY(!f.bar->area()->hasPixelSelection()); // taking a tile clears it
        f.bar->area()->setPixelSelection(QPoint(6, 6), QPoint(6, 6));
        f.bar->paste();
        QCOMPARE(f.tile(511).pixel(7, 7), 3);
        QCOMPARE(f.tile(511).pixel(5, 5), 0);
        QCOMPARE(f.undo.tileRecords.size(), size_t(1));
        QCOMPARE(f.sent.back().range.last, 511);

        // Without the selector the pixels do not paste.
        f.bar->setTool(CTileEditor::Tool::Pencil);
        f.bar->setCurrentTile(100);
        f.bar->paste();
        QCOMPARE(f.tile(100).pixel(0, 0), 0);
    }

    void picturePaste()
    {
        Fixture f;
        f.bar->setCurrentTile(200);
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(QColor(10, 10, 10));
        image.setPixel(1, 0, qRgb(200, 0, 0));
        image.setPixel(9, 3, qRgb(200, 0, 0));
        QGuiApplication::clipboard()->setImage(image);
        f.bar->paste();
        QCOMPARE(f.tile(200).pixel(1, 0), 1);
        QCOMPARE(f.tile(201).pixel(1, 3), 1);
        QCOMPARE(f.tile(201).pixel(0, 0), 0);
        QCOMPARE(f.sent.back().range.first, 200);
        QCOMPARE(f.sent.back().range.last, 201); // beyond the 1x1 frame too
        QVERIFY(f.messages.isEmpty());

        QImage mono(8, 8, QImage::Format_Mono);
        mono.fill(0);
        QGuiApplication::clipboard()->setImage(mono);
        f.bar->paste();
        QCOMPARE(f.messages, QStringList{"Invalid avi file, make sure the image is 8,16,24 bits per pixel"});
    }

    void commentBox()
    {
        Fixture f;
        f.bar->show();
        f.bar->typeFrameWidth("2");
        f.bar->setCurrentTile(510);
        QTest::mouseClick(f.bar->button("COMMENT"), Qt::LeftButton);
        QVERIFY(f.bar->commentShown());
        QTest::keyClicks(f.bar->controls().commentBox(), "wall");
        QVERIFY(f.tile(510).commentText() == "wall");
        QVERIFY(f.tile(511).commentText() == "wall");
        QCOMPARE(f.bar->windowTitle(), QString("wall"));
        QVERIFY(f.ws->project.changeFlags & CHANGED_BG_TILES);
        QTest::keyClick(f.bar->controls().commentBox(), Qt::Key_Escape);
        QVERIFY(!f.bar->commentShown());
        QVERIFY(f.bar->isVisible());
    }

    void keyboardTable()
    {
        Fixture f;
        f.bar->show();
        QSignalSpy arrows(f.bar.get(), &CTileEditor::managerArrowKey);
        QSignalSpy undo(f.bar.get(), &CTileEditor::undoRequested);
        QSignalSpy redo(f.bar.get(), &CTileEditor::redoRequested);
        QSignalSpy save(f.bar.get(), &CTileEditor::saveRequested);
        QSignalSpy closed(f.bar.get(), &CTileEditor::closed);
        f.tile(0).setPixel(0, 0, 1);
        QTest::keyClick(f.bar.get(), Qt::Key_H, Qt::ShiftModifier);
        QCOMPARE(f.tile(0).pixel(7, 0), 1);
        QTest::keyClick(f.bar.get(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.tile(0).pixel(0, 0), 1);
        QTest::keyClick(f.bar.get(), Qt::Key_K, Qt::ShiftModifier);
        QCOMPARE(f.bar->tool(), CTileEditor::Tool::Bucket);
        QTest::keyClick(f.bar.get(), Qt::Key_Y, Qt::ShiftModifier);
        QCOMPARE(f.bar->tool(), CTileEditor::Tool::Pencil);
        QTest::keyClick(f.bar.get(), Qt::Key_Down);
        QCOMPARE(arrows.size(), 1);
        QTest::keyClick(f.bar.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(f.bar.get(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(f.bar.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(undo.size(), 1);
        QCOMPARE(redo.size(), 1);
        QCOMPARE(save.size(), 1);
        f.bar->setUndoState(false, true);
        QVERIFY(!f.bar->button("UNDO")->isEnabled());
        QVERIFY(f.bar->button("REDO")->isEnabled());

        f.bar->animation().play();
        QTest::keyClick(f.bar.get(), Qt::Key_Escape);
        QVERIFY(!f.bar->isVisible());
        QVERIFY(!f.bar->animation().running());
        QCOMPARE(closed.size(), 1);
    }

    void messagesReceivedAndDrawing()
    {
        Fixture f;
        f.ws->tiles.obj.tiles[5].setPalette(1);
        f.ws->tiles.obj.tiles[5].pixels.fill(2);
        f.bar->handleMessage(MSG_CURRENT_TILE_CHANGED, TILE_OBJ, 5);
        QCOMPARE(f.bar->kind(), int(TILE_OBJ));
        QCOMPARE(f.bar->frame().start, 5);
        QCOMPARE(f.bar->animation().start(), 5);
        QCOMPARE(f.bar->controls().paletteList()->currentIndex(), 1);

        // Each tile is drawn with its own palette from the OBJ colours.
        const DisplayColour& c = f.ws->tiles.coloursOf(TILE_OBJ)[1][2];
        QImage image = f.bar->area()->picture();
        QCOMPARE(image.pixelColor(5, 5), QColor(c.red, c.green, c.blue));
        // Grid lines: one pixel between tile pixels, in the grid colour.
        QCOMPARE(image.pixelColor(16, 5), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(17, 5), QColor(c.red, c.green, c.blue));
        // Two pixels at a tile border.
        f.bar->typeFrameWidth("2");
        image = f.bar->area()->picture();
        QCOMPARE(image.pixelColor(126, 5), QColor(c.red, c.green, c.blue));
        QCOMPARE(image.pixelColor(127, 5), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(128, 5), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(130, 5), f.bar->area()->picture().pixelColor(131, 5));
        f.bar->typeFrameWidth("1");

        // A double click on GRID chooses its colour.
        f.bar->colourPrompt = [](const QColor&) { return QColor(0, 255, 0); };
        QTest::mouseDClick(f.bar->button("GRID"), Qt::LeftButton);
        QCOMPARE(f.bar->gridLineColour(), QColor(0, 255, 0));
        QCOMPARE(f.bar->area()->picture().pixelColor(16, 5), QColor(0, 255, 0));

        // Colours changed: the editor draws with the new ones.
        f.ws->tiles.palettes.objPalettes[1][2] = GbcColor{31, 0, 0};
        f.ws->tiles.palettes.recomputeAll();
        f.bar->handleMessage(MSG_COLOURS_CHANGED, 0x80, 0x2);
        const DisplayColour& red = f.ws->tiles.coloursOf(TILE_OBJ)[1][2];
        QCOMPARE(f.bar->area()->picture().pixelColor(5, 5), QColor(red.red, red.green, red.blue));

        f.bar->handleMessage(MSG_TILE_DOUBLE_CLICKED, 9, TILE_BG);
        QCOMPARE(f.bar->kind(), int(TILE_BG));
        QCOMPARE(f.bar->frame().start, 9);
    }
};

QM_QTEST(CTileEditorTest)
#include "CTileEditorTest.moc"
