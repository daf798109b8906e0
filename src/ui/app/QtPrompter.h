#pragma once
// Core's questions and messages shown as message boxes titled with the
// application name, with exactly the buttons asked for.

#include "core/base/Prompter.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace qm::ui {

// The title of every message box.
QString applicationTitle();

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

    Answer ask(const std::string& text, Buttons buttons) override;
    void inform(const std::string& text) override;
    // The "Locate BG tile set(*.qmb) file" / "Locate OBJ tile set(*.qmo) file" dialog.
    std::optional<std::string> locateTileSet(std::uint8_t kind, const std::string& oldPath) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace qm::ui
