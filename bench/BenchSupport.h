#pragma once
// Helpers shared by the benchmark programs.

#include <fstream>
#include <string>

namespace qm::bench {

// A field of /proc/self/status in kB ("VmRSS:" now, "VmHWM:" the peak).
inline long residentKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return 0;
}

} // namespace qm::bench
