#pragma once
// The run-length tag map: basePath + "TagRLE.bin" holds each row's runs
// (u16 length, u8 tag), basePath + "TagRLE.hdr" the offset of each row's
// first run (u16, the low 16 bits of the offset).

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"
#include "core/project/MapGrid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

struct TagRle {
    std::vector<std::uint8_t> runs;
    std::vector<std::uint8_t> header;
};
TagRle encodeTagRle(const MapGrid& map);

// Writes "TagRLE.bin" and its header "TagRLE.hdr", both after the map prefix, into location.
void writeTagRle(const MapGrid& map, const std::string& location, const std::string& prefix, Prompter& prompter,
                 Progress& progress, ExportReport& report, ExportFormat format = ExportFormat::Binary);

} // namespace qm
