#pragma once
// Splits a report text at its CR LF line ends.

#include <string>
#include <vector>

namespace qm::test {

inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace qm::test
