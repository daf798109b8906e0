// quiltmark-cli render FILE.qmm OUT.png [--tags] [--transparent-obj] [--hide-obj] [--dmg] [--true-color]:
// the map as the editor's map view draws it, 8 pixels a cell, as a palette PNG.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "core/base/FileIO.h"
#include "core/base/PngEncoder.h"
#include "core/project/ProjectFile.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* RENDER_USAGE =
    "usage: quiltmark-cli render FILE.qmm OUT.png [--tags] [--transparent-obj] [--hide-obj] [--dmg] [--true-color]\n";

} // namespace

int renderCommand(CliContext& ctx)
{
    std::vector<std::string> files;
    bool tags = false, transparentObj = false, hideObj = false, dmg = false, trueColour = false;
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
        else if (a.starts_with("--")) {
            ctx.err << "quiltmark-cli render: unknown option '" << a << "'\n" << RENDER_USAGE;
            return 2;
        } else
            files.push_back(a);
    }
    if (files.size() != 2) {
        ctx.err << RENDER_USAGE;
        return 2;
    }
    OpenedProject opened = openProjectForCli(files[0], ctx);
    if (!opened.workspace)
        return 1;
    Workspace* ws = opened.workspace.get();
    ws->tiles.dmgMode = dmg;
    ws->tiles.palettes.setTrueColour(trueColour);

    MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objHidden = hideObj;
    renderer.objTransparent = transparentObj;
    const MapRenderer::CreateResult created = renderer.createImages();
    const Result& needed = tags ? created.tag : created.map;
    if (!needed) {
        ctx.err << needed.text() << "\n";
        return 1;
    }
    renderer.renderAll();

    const ColourTable table = buildColourTable(ws->tiles);
    std::vector<PngColour> palette;
    for (const DisplayColour& c : table)
        palette.push_back(PngColour{c.red, c.green, c.blue});
    const std::vector<std::uint8_t> png =
        encodeIndexedPng(renderer.columns() * 8, renderer.rows() * 8, tags ? renderer.tagImage() : renderer.mapImage(),
                         renderer.stride(), palette);
    if (png.empty()) {
        ctx.err << "quiltmark-cli render: the map is empty\n";
        return 1;
    }
    if (!writeFileAtomically(files[1], png)) {
        ctx.err << "quiltmark-cli render: cannot write " << files[1] << "\n";
        return 1;
    }
    return 0;
}

} // namespace qm::cli
