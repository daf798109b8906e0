#pragma once
// Text taken from a file (paths, prefixes, messages that quote them) printed
// so that it cannot steer the terminal: control characters, and bytes that
// are no UTF-8, appear as \xHH.

#include <string>
#include <string_view>

namespace qm::cli {

// With keepLineBreaks, "\n" stays a line break (for the program's own
// messages, which are written with them).
std::string terminalText(std::string_view text, bool keepLineBreaks = false);

} // namespace qm::cli
