// quiltmark-cli tiles FILE.qmm OUT.png [--set bg|obj|tag] [--columns 16] [--palette N] [--allow-missing-tiles]:
// the 512 tiles of a set as a tile sheet, 8 x 8 pixels a tile, left to right
// and top to bottom, --columns tiles a row. Without --palette each tile is
// drawn with its own palette (the picture has all 32 colours of the set's
// palettes); with it every tile uses palette N and a pixel's index is its
// colour index 0..3.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/export/TileSheet.h"

#include <charconv>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* USAGE = "usage: quiltmark-cli tiles FILE.qmm OUT.png [--set bg|obj|tag] [--columns 16] "
                              "[--palette N] [--allow-missing-tiles]\n";

std::optional<int> numberIn(const std::string& text, int min, int max)
{
    int v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || v < min || v > max)
        return std::nullopt;
    return v;
}

} // namespace

int tilesCommand(CliContext& ctx)
{
    std::vector<std::string> files;
    TileKind set = TILE_BG;
    int columns = TILE_SHEET_COLUMNS;
    std::optional<int> palette;
    bool allowMissing = false;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        const bool valued = i + 1 < ctx.args.size();
        if (a == "--allow-missing-tiles") {
            allowMissing = true;
        } else if (a == "--set" && valued) {
            const std::optional<TileKind> named = tileSetNamed(ctx.args[++i], true);
            if (!named) {
                ctx.err << "quiltmark-cli tiles: --set takes bg, obj or tag\n";
                return 2;
            }
            set = *named;
        } else if (a == "--columns" && valued) {
            const std::optional<int> n = numberIn(ctx.args[++i], 1, TILES_PER_SET);
            if (!n) {
                ctx.err << "quiltmark-cli tiles: --columns takes 1 to 512\n";
                return 2;
            }
            columns = *n;
        } else if (a == "--palette" && valued) {
            palette = numberIn(ctx.args[++i], 0, 7);
            if (!palette) {
                ctx.err << "quiltmark-cli tiles: --palette takes 0 to 7\n";
                return 2;
            }
        } else if (a.starts_with("--")) {
            ctx.err << "quiltmark-cli tiles: unknown option '" << terminalText(a) << "'\n" << USAGE;
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
    if (const Result r = writeTileSheet(files[1], ws->tiles, set, columns, palette); !r)
        return failed(r, ctx);
    return 0;
}

} // namespace qm::cli
