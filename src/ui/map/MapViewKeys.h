#pragma once
// The map view's keys: the key table (tools held while a key is down, the
// edit commands of Enter, Delete and Ctrl+C/V/X, scrolling, cursor moves,
// Undo and Redo, the tag switch), the B, O and A keys held for the cell
// information and the selector, and the type-in mode, in which keys name
// tiles relative to a base tile and place them cell after cell while the
// cursor outline blinks.

#include <QObject>

class QKeyEvent;
class QTimer;

namespace qm::ui {

class CQuiltmarkView;

class MapViewKeys : public QObject {
    Q_OBJECT
public:
    explicit MapViewKeys(CQuiltmarkView& view);

    void press(QKeyEvent* event);
    void release(QKeyEvent* event);
    // True when the view keeps a key from the menus: in the type-in mode
    // keys come to the mode before any menu key.
    bool takesShortcut(const QKeyEvent* event) const;

    bool bHeld() const { return bHeld_; }
    bool oHeld() const { return oHeld_; }
    bool aHeld() const { return aHeld_; }

    void startTypeIn();
    void stopTypeIn();
    bool typeInMode() const { return typeInMode_; }
    int typeInBase() const { return typeInBase_; }
    // The selection outline is drawn (it blinks in the type-in mode).
    bool outlineShown() const { return !typeInMode_ || blinkOn_; }

private:
    // True when the type-in mode consumed the key.
    bool typeInKey(QKeyEvent* event);
    void moveCursorByKey(int key);

    CQuiltmarkView& view_;
    bool bHeld_ = false;
    bool oHeld_ = false;
    bool aHeld_ = false;
    bool typedIn_ = false; // the key being handled named a type-in tile
    bool typeInMode_ = false;
    int typeInBase_ = -1;
    bool blinkOn_ = true;
    QTimer* blinkTimer_ = nullptr;
};

} // namespace qm::ui
