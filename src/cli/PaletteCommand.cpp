// quiltmark-cli palette FILE.qmm OUT [--set bg|obj] [--allow-missing-tiles]:
// writes the 8 BG (or OBJ) colour palettes as a palette file of the format
// OUT's name asks for: .pal JASC-PAL, .gpl GIMP, .act raw RGB, anything else
// the 64-byte palette data of the export. The palettes live in the tile set
// files, so one that did not load fails the command unless allowed.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/export/PaletteExport.h"

#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* USAGE = "usage: quiltmark-cli palette FILE.qmm OUT.pal|OUT.gpl|OUT.act|OUT.bin [--set bg|obj] "
                              "[--allow-missing-tiles]\n";

} // namespace

int paletteCommand(CliContext& ctx)
{
    std::vector<std::string> files;
    TileKind set = TILE_BG;
    bool allowMissing = false;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--allow-missing-tiles") {
            allowMissing = true;
        } else if (a == "--set" && i + 1 < ctx.args.size()) {
            const std::optional<TileKind> named = tileSetNamed(ctx.args[++i], false);
            if (!named) {
                ctx.err << "quiltmark-cli palette: --set takes bg or obj\n";
                return 2;
            }
            set = *named;
        } else if (a.starts_with("--")) {
            ctx.err << "quiltmark-cli palette: unknown option '" << terminalText(a) << "'\n" << USAGE;
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        ctx.err << USAGE;
        return 2;
    }
    const std::unique_ptr<Workspace> ws = openProjectWithTiles(files[0], allowMissing, ctx);
    if (!ws)
        return 1;
    if (const Result r = writePaletteFile(files[1], ws->tiles.palettes, set); !r)
        return failed(r, ctx);
    return 0;
}

} // namespace qm::cli
