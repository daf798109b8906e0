#pragma once
// The outcome of an operation that can fail: success, or the exact text the
// user is shown and the buttons it is shown with.

#include <string>
#include <utility>

namespace qm {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct Message {
    std::string text;
    Buttons buttons = Buttons::Ok;
};

class Result {
public:
    static Result success() { return Result(); }
    static Result failure(std::string text, Buttons buttons = Buttons::Ok)
    {
        Result r;
        r.ok_ = false;
        r.message_ = Message{std::move(text), buttons};
        return r;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Message& message() const { return message_; }
    const std::string& text() const { return message_.text; }

private:
    bool ok_ = true;
    Message message_;
};

} // namespace qm
