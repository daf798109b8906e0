#pragma once
// The "History" dock: the entries of the undo history by the names of their
// commands, oldest at the top and newest at the bottom, under a first row
// for the state before them. The row of the current state is marked; the
// rows ahead of it (undone, waiting for Redo) are greyed. Clicking a row
// asks to undo or redo until that row is the current state.

#include <QDockWidget>

#include <cstddef>

class QListWidget;

namespace qm {
class UndoStore;
}

namespace qm::ui {

class HistoryDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* FIRST_ROW = "Before the first step";

    HistoryDock(const UndoStore& store, QWidget* parent);

    QListWidget* list() const { return list_; }
    // The row of the current state.
    int currentRow() const { return current_; }

public slots:
    // Lists the entries again (after every step, Undo, Redo and clearing).
    void refresh();

signals:
    // The row chosen: that many entries should be done.
    void positionChosen(std::size_t position);

private:
    const UndoStore& store_;
    QListWidget* list_ = nullptr;
    int current_ = 0;
};

} // namespace qm::ui
