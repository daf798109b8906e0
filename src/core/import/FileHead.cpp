#include "core/import/FileHead.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace qm {

ReadStatus readFileHead(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return ReadStatus::CannotOpen;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return ReadStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    bool error = false;
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
        const std::size_t got = std::fread(chunk, 1, want, f);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < want) {
            error = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (error)
        return ReadStatus::CannotOpen;
    out = std::move(bytes);
    return ReadStatus::Ok;
}

} // namespace qm
