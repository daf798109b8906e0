#include "cli/TerminalText.h"

#include "core/base/Format.h"

namespace qm::cli {

namespace {

// The length of the valid UTF-8 sequence at text[i] that is no C1 control
// (U+0080..U+009F), or 0.
size_t printableSequence(std::string_view text, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size())
        return 0;
    for (size_t k = i + 1; k < i + length; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates, values past U+10FFFF and C1 controls.
    const unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90) || (lead == 0xC2 && second < 0xA0))
        return 0;
    return length;
}

} // namespace

std::string terminalText(std::string_view text, bool keepLineBreaks)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c >= 0x20 && c < 0x7F) || (c == '\n' && keepLineBreaks)) {
            out += text[i++];
        } else if (const size_t n = c >= 0x80 ? printableSequence(text, i) : 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            out += formatText("\\x%02x", c);
            ++i;
        }
    }
    return out;
}

} // namespace qm::cli
