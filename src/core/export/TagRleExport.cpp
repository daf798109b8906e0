#include "core/export/TagRleExport.h"

#include "core/export/ExportFile.h"

#include <algorithm>

namespace qm {

namespace {

// One row's runs, written at out; returns the end of what was written.
// Without branches on the tags: the record of the current run is written at
// every cell and kept only when the next cell begins a new run.
std::uint8_t* encodeRow(const MapCell* cells, int width, std::uint8_t* out)
{
    if (width <= 0)
        return out;
    int start = 0;
    std::uint8_t prev = cells[0].tag;
    for (int c = 1; c < width; ++c) {
        const std::uint8_t t = cells[c].tag;
        const int n = c - start;
        out[0] = static_cast<std::uint8_t>(n);
        out[1] = static_cast<std::uint8_t>(n >> 8);
        out[2] = prev;
        const bool fresh = t != prev;
        out += fresh ? 3 : 0;
        start = fresh ? c : start;
        prev = t;
    }
    const int n = width - start;
    out[0] = static_cast<std::uint8_t>(n);
    out[1] = static_cast<std::uint8_t>(n >> 8);
    out[2] = prev;
    return out + 3;
}

class RleEncoder {
public:
    explicit RleEncoder(const MapGrid& map) : map_(map)
    {
        // At most one run a cell.
        rle.runs.resize(map.cells.size() * 3);
        rle.header.resize(static_cast<size_t>(std::max(map.height, 0)) * 2);
    }
    void row(int r)
    {
        const std::uint32_t offset = static_cast<std::uint32_t>(used_);
        rle.header[static_cast<size_t>(r) * 2] = static_cast<std::uint8_t>(offset);
        rle.header[static_cast<size_t>(r) * 2 + 1] = static_cast<std::uint8_t>(offset >> 8);
        const MapCell* cells = map_.cells.data() + static_cast<size_t>(r) * static_cast<size_t>(map_.width);
        std::uint8_t* start = rle.runs.data() + used_;
        used_ += static_cast<size_t>(encodeRow(cells, map_.width, start) - start);
    }
    TagRle finish()
    {
        rle.runs.resize(used_);
        return std::move(rle);
    }

private:
    const MapGrid& map_;
    TagRle rle;
    size_t used_ = 0;
};

bool consistent(const MapGrid& map)
{
    return map.width >= 0 && map.height >= 0 &&
           static_cast<std::uint64_t>(map.width) * static_cast<std::uint64_t>(map.height) == map.cells.size();
}

} // namespace

TagRle encodeTagRle(const MapGrid& map)
{
    if (!consistent(map))
        return {};
    RleEncoder encoder(map);
    for (int r = 0; r < map.height; ++r)
        encoder.row(r);
    return encoder.finish();
}

void writeTagRle(const MapGrid& map, const std::string& location, const std::string& prefix, Prompter& prompter,
                 Progress& progress, ExportReport& report, ExportFormat format)
{
    const std::string binPath = exportPath(location, exportFileName(EXPORT_TAG_RLE, prefix, ""));
    const std::string hdrPath = exportPath(location, exportFileName(EXPORT_TAG_RLE_HEADER, prefix, ""));
    std::optional<ExportFile> bin = openExportFile(location, binPath, prompter, report, format);
    if (!bin)
        return;
    std::optional<ExportFile> hdr = openExportFile(location, hdrPath, prompter, report, format);
    if (!hdr) {
        skipExportFile(*bin, "Its header file " + shownExportPath(hdrPath, format) + " cannot be created.", report);
        return;
    }
    if (!consistent(map)) {
        skipExportFile(*bin, "The map has no cells.", report);
        skipExportFile(*hdr, "The map has no cells.", report);
        return;
    }
    TagRle rle;
    {
        ProgressScope scope(progress, "Exporting RLE compressed tag maps", map.height);
        RleEncoder encoder(map);
        for (int r = 0; r < map.height; ++r) {
            encoder.row(r);
            scope.step();
        }
        rle = encoder.finish();
    }
    bin->bytes() = std::move(rle.runs);
    hdr->bytes() = std::move(rle.header);
    commitExportFile(*bin, prompter, report);
    commitExportFile(*hdr, prompter, report);
}

} // namespace qm
