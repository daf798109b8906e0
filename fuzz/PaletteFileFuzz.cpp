// Import > Palette: any file gives 5-bit colours in the chosen group. Read as
// a JASC-PAL, GIMP or raw RGB palette under each name, an accepted file gives
// at most 32 colours, which every format writes and reads back unchanged.

#include "FuzzCheck.h"

#include "core/import/PaletteFileImport.h"
#include "core/tiles/PaletteFile.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    for (qm::TileKind kind : {qm::TILE_BG, qm::TILE_OBJ}) {
        auto ws = std::make_unique<qm::Workspace>();
        qm::NullProgress progress;
        FUZZ_CHECK(qm::importPaletteBytes({bytes, size}, *ws, kind, progress).ok());
        fuzz::checkColours(ws->tiles.palettes.colourGroup(kind));
    }
    for (const char* name : {"in.pal", "in.gpl", "in.act", "in.bin"}) {
        const qm::DecodedPalette decoded = qm::decodePaletteFile({bytes, size}, name);
        FUZZ_CHECK(decoded.colours.size() <= 32);
        FUZZ_CHECK(decoded.error.empty() || decoded.colours.empty());
        if (decoded.colours.empty())
            continue;
        qm::GbcPaletteGroup group{};
        for (size_t i = 0; i < decoded.colours.size(); ++i)
            group[i / 4][i % 4] = decoded.colours[i];
        fuzz::checkColours(group);
        for (const char* out : {"out.pal", "out.gpl", "out.act"}) {
            const std::vector<std::uint8_t> file =
                qm::encodePaletteFile(group, qm::paletteFileFormatOf(out), qm::TILE_BG);
            const qm::DecodedPalette again = qm::decodePaletteFile(file, out);
            FUZZ_CHECK(again.error.empty() && again.colours.size() == 32);
            for (size_t i = 0; i < 32; ++i)
                FUZZ_CHECK(again.colours[i] == group[i / 4][i % 4]);
        }
    }
    return 0;
}
