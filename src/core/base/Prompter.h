#pragma once
// How core asks the user something. The editor shows message boxes, the
// command-line tool answers from its flags, tests answer from a script.

#include "core/base/Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

class Prompter {
public:
    virtual ~Prompter() = default;

    // A Yes/No or Yes/No/Cancel question with the exact text.
    virtual Answer ask(const std::string& text, Buttons buttons) = 0;

    // A message with one OK button, shown while an operation goes on.
    virtual void inform(const std::string& text) = 0;

    // A tile set file of the given kind (TILE_BG or TILE_OBJ) could not be
    // opened at oldPath: the user may name another file. nullopt is Cancel.
    virtual std::optional<std::string> locateTileSet(std::uint8_t kind, const std::string& oldPath)
    {
        (void)kind;
        (void)oldPath;
        return std::nullopt;
    }
};

// Answers every question with one fixed answer and keeps what it was told.
class FixedPrompter : public Prompter {
public:
    explicit FixedPrompter(Answer answer = Answer::No) : answer_(answer) {}
    Answer ask(const std::string& text, Buttons) override
    {
        lastQuestion = text;
        ++questions;
        return answer_;
    }
    void inform(const std::string& text) override
    {
        lastInfo = text;
        ++infos;
    }

    std::string lastQuestion;
    std::string lastInfo;
    int questions = 0;
    int infos = 0;

private:
    Answer answer_;
};

} // namespace qm
