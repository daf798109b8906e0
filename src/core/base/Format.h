#pragma once
// printf-style formatting of the user messages, which are written with
// printf conversions (%s, %d).

#include <string>

namespace qm {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace qm
