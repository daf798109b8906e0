// quiltmark-cli render FILE.qmm OUT.png [--tags] [--transparent-obj] [--hide-obj] [--dmg] [--true-color]
//                                      [--allow-missing-tiles]:
// the map as the editor's map view draws it, 8 pixels a cell, as a palette PNG.
// A tile set that did not load fails the command unless --allow-missing-tiles
// asks for the picture with blank tiles. OUT.png may be a FIFO or a device
// (written directly) or a link (its target is replaced).

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/base/FileIO.h"
#include "core/base/PngWriter.h"
#include "core/project/ProjectFile.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* RENDER_USAGE =
    "usage: quiltmark-cli render FILE.qmm OUT.png [--tags] [--transparent-obj] [--hide-obj] [--dmg] [--true-color] "
    "[--allow-missing-tiles]\n";

} // namespace

int renderCommand(CliContext& ctx)
{
    std::vector<std::string> files;
    bool tags = false, transparentObj = false, hideObj = false, dmg = false, trueColour = false, allowMissing = false;
    for (const std::string& a : ctx.args) {
        if (a == "--tags")
            tags = true;
        else if (a == "--transparent-obj")
            transparentObj = true;
        else if (a == "--hide-obj")
            hideObj = true;
        else if (a == "--dmg")
            dmg = true;
        else if (a == "--true-color")
            trueColour = true;
        else if (a == "--allow-missing-tiles")
            allowMissing = true;
        else if (a.starts_with("--")) {
            ctx.err << "quiltmark-cli render: unknown option '" << terminalText(a) << "'\n" << RENDER_USAGE;
            return 2;
        } else
            files.push_back(a);
    }
    if (files.size() != 2) {
        ctx.err << RENDER_USAGE;
        return 2;
    }
    const std::unique_ptr<Workspace> ws = openProjectWithTiles(files[0], allowMissing, ctx);
    if (!ws)
        return 1;
    ws->tiles.dmgMode = dmg;
    ws->tiles.palettes.setTrueColour(trueColour);

    MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objHidden = hideObj;
    renderer.objTransparent = transparentObj;
    renderer.reset();
    if (renderer.columns() == 0 || renderer.rows() == 0) {
        ctx.err << "quiltmark-cli render: the map is empty\n";
        return 1;
    }

    const ColourTable table = buildColourTable(ws->tiles);
    std::vector<PngColour> palette;
    for (const DisplayColour& c : table)
        palette.push_back(PngColour{c.red, c.green, c.blue});
    const std::string& out = files[1];
    auto cannotWrite = [&](int error) {
        ctx.err << terminalText(withOsReason("quiltmark-cli render: cannot write " + out, error)) << "\n";
        return 1;
    };
    AtomicFile file;
    if (!file.open(out))
        return cannotWrite(file.error());
    IndexedPngWriter png([&file](std::span<const std::uint8_t> bytes) { return file.write(bytes); });
    // The picture is drawn a band of cell rows at a time (some 64K cells) and
    // each band is compressed before the next is drawn.
    const int BAND = std::clamp(65536 / renderer.columns(), 1, 64);
    const int width = renderer.columns() * 8;
    std::vector<std::uint8_t> band(static_cast<std::size_t>(width) * BAND * 8);
    bool ok = png.begin(width, renderer.rows() * 8, palette);
    for (int y = 0; ok && y < renderer.rows(); y += BAND) {
        const int rows = std::min(BAND, renderer.rows() - y);
        renderer.drawRows(tags ? MapImage::Tags : MapImage::Map, y, rows, band.data(), static_cast<std::size_t>(width));
        for (int r = 0; ok && r < rows * 8; ++r)
            ok = png.writeRow(band.data() + static_cast<std::size_t>(r) * width);
    }
    ok = ok && png.finish();
    if (!ok && !png.sinkFailed()) {
        ctx.err << "quiltmark-cli render: cannot encode the picture: " << png.error() << "\n";
        return 1;
    }
    if (!ok || !file.commit())
        return cannotWrite(file.error());
    return 0;
}

} // namespace qm::cli
