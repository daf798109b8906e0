#pragma once
// Reads no more of a file than an import can use, so that a huge file given
// by mistake costs nothing.

#include "core/base/FileIO.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// The first maxBytes bytes of the file (all of it when it is shorter).
ReadResult readFileHead(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out);

} // namespace qm
