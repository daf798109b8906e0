#include "core/export/TagRleExport.h"

#include "core/export/ExportFile.h"

namespace qm {

namespace {

void putU16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// One row's runs; the progress advances once a row.
void encodeRow(const MapGrid& map, int row, TagRle& rle, std::uint32_t& offset)
{
    putU16(rle.header, offset);
    const MapCell* cells = map.cells.data() + static_cast<size_t>(row) * static_cast<size_t>(map.width);
    int c = 0;
    while (c < map.width) {
        const std::uint8_t t = cells[c].tag;
        int n = 1;
        while (c + n < map.width && cells[c + n].tag == t)
            ++n;
        putU16(rle.runs, static_cast<std::uint32_t>(n));
        rle.runs.push_back(t);
        offset += 3;
        c += n;
    }
}

} // namespace

TagRle encodeTagRle(const MapGrid& map)
{
    TagRle rle;
    std::uint32_t offset = 0;
    for (int r = 0; r < map.height; ++r)
        encodeRow(map, r, rle, offset);
    return rle;
}

void writeTagRle(const MapGrid& map, const std::string& basePath, Prompter& prompter, Progress& progress,
                 ExportReport& report)
{
    const std::string binPath = basePath + "TagRLE.bin";
    const std::string hdrPath = basePath + "TagRLE.hdr";
    std::optional<ExportFile> bin = openExportFile(binPath, prompter, report);
    if (!bin)
        return;
    std::optional<ExportFile> hdr = openExportFile(hdrPath, prompter, report);
    if (!hdr) {
        report.skipped(binPath, "Its header file " + hdrPath + " cannot be created.");
        return;
    }
    TagRle rle;
    rle.header.reserve(static_cast<size_t>(map.height) * 2);
    {
        ProgressScope scope(progress, "Exporting RLE compressed tag maps", map.height);
        std::uint32_t offset = 0;
        for (int r = 0; r < map.height; ++r) {
            encodeRow(map, r, rle, offset);
            scope.step();
        }
    }
    bin->bytes() = std::move(rle.runs);
    hdr->bytes() = std::move(rle.header);
    commitExportFile(*bin, prompter, report);
    commitExportFile(*hdr, prompter, report);
}

} // namespace qm
