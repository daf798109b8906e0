#include "core/import/FileHead.h"

namespace qm {

ReadResult readFileHead(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out)
{
    return readFileStart(path, out, maxBytes);
}

} // namespace qm
