#include "core/tiles/TileSetFile.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace qm {

namespace {

// A tile set file is at most 109 + 512 * (66 + 255) bytes; anything much
// larger is not one.
constexpr std::uintmax_t MAX_TILESET_FILE = 1u << 20;

TileKind fileKind(TileKind kind) { return kind == TILE_BG ? TILE_BG : TILE_OBJ; }

void writeColour(ByteWriter& w, const GbcColor& c)
{
    w.u8(c.red);
    w.u8(c.green);
    w.u8(c.blue);
}

bool readColour(ByteReader& r, GbcColor& c)
{
    std::uint8_t rgb[3];
    if (!r.bytes(rgb, 3))
        return false;
    c = GbcColor{std::min<std::uint8_t>(rgb[0], 31), std::min<std::uint8_t>(rgb[1], 31),
                 std::min<std::uint8_t>(rgb[2], 31)};
    return true;
}

} // namespace

std::string tileSetDamagedMessage(const std::string& path)
{
    return formatText("Unable to open file %s.\nFile may be damaged, operation abort.", path.c_str());
}

std::vector<std::uint8_t> encodeTileSetFile(const TileLibrary& library, TileKind kind)
{
    const TileKind k = fileKind(kind);
    const TileSet& set = k == TILE_BG ? library.bg : library.obj;
    ByteWriter w;
    w.reserve(TILESET_EMPTY_FILE_SIZE + 512 * 8);
    w.u8(set.attr);
    for (const GbcPalette& p : library.palettes.colourGroup(k))
        for (const GbcColor& c : p)
            writeColour(w, c);
    for (const GbcColor& c : library.palettes.monoGroup(k)[0])
        writeColour(w, c);
    for (const CTile& t : set.tiles) {
        const auto n = static_cast<std::uint8_t>(std::min<size_t>(std::strlen(t.comment), CTile::MAX_COMMENT));
        w.u8(t.attr);
        w.u8(n);
        w.bytes(t.comment, n);
        w.bytes(t.pixels.data(), 64);
    }
    return w.take();
}

bool decodeTileSetFile(std::span<const std::uint8_t> bytes, TileKind kind, TileSetFileData& out)
{
    const TileKind k = fileKind(kind);
    ByteReader r(bytes);
    out.set.reset(k);
    std::uint8_t attr = 0;
    if (!r.u8(attr))
        return false;
    out.set.attr = static_cast<std::uint8_t>((attr & 0x3F) | k);
    for (GbcPalette& p : out.colours)
        for (GbcColor& c : p)
            if (!readColour(r, c))
                return false;
    for (GbcColor& c : out.mono)
        if (!readColour(r, c))
            return false;
    for (CTile& t : out.set.tiles) {
        std::uint8_t n = 0;
        std::span<const std::uint8_t> comment;
        if (!r.u8(attr) || !r.u8(n) || !r.view(comment, n) || !r.bytes(t.pixels.data(), 64))
            return false;
        t.attr = static_cast<std::uint8_t>((attr & 0x3F) | k);
        t.maskPixels();
        // Longer comments than 32 are never written by us; keep the first 32.
        t.setComment(std::string_view(reinterpret_cast<const char*>(comment.data()), comment.size()));
    }
    return true;
}

void applyTileSetFile(TileLibrary& library, TileKind kind, TileSetFileData&& data)
{
    const TileKind k = fileKind(kind);
    TileSet& set = k == TILE_BG ? library.bg : library.obj;
    set = data.set;
    library.palettes.colourGroup(k) = data.colours;
    for (GbcPalette& p : library.palettes.monoGroup(k))
        p = data.mono;
    library.palettes.recomputeDisplay(k);
    library.palettes.recomputeDisplay(k == TILE_BG ? GROUP_BG_MONO : GROUP_OBJ_MONO);
}

Result saveTileSetFile(const std::string& path, TileKind kind, const TileLibrary& library, Progress& progress)
{
    ProgressScope scope(progress, fileKind(kind) == TILE_BG ? "Saving BG tile set" : "Saving OBJ tile set", 512);
    const std::vector<std::uint8_t> bytes = encodeTileSetFile(library, kind);
    for (int i = 0; i < 512; ++i)
        scope.step();
    const WriteResult written = path.empty() ? WriteResult{ENOENT} : writeFileAtomically(path, bytes);
    if (!written)
        return Result::failure(
            withOsReason(formatText("Unable to open file %s for writing.", path.c_str()), written.error));
    return Result::success();
}

TileSetLoadStatus loadTileSetFile(const std::string& path, TileKind kind, TileLibrary& library, Progress& progress,
                                  std::string* cannotOpen)
{
    const TileKind k = fileKind(kind);
    if (path.empty()) {
        library.resetTileSet(k);
        return TileSetLoadStatus::Reset;
    }
    std::vector<std::uint8_t> bytes;
    // A path on a Windows drive, from a project made there, names no file here.
    const ReadResult status =
        isDrivePath(path) ? ReadResult{ReadStatus::CannotOpen, ENOENT} : readWholeFile(path, bytes, MAX_TILESET_FILE);
    if (status == ReadStatus::TooLarge)
        return TileSetLoadStatus::Damaged;
    if (status != ReadStatus::Ok) {
        if (cannotOpen)
            *cannotOpen = readFailureText(status, path, "Unable to open file " + path);
        return TileSetLoadStatus::CannotOpen;
    }

    ProgressScope scope(progress, k == TILE_BG ? "Loading BG tileset" : "Loading Obj tileset", 512);
    auto data = std::make_unique<TileSetFileData>();
    if (!decodeTileSetFile(bytes, k, *data))
        return TileSetLoadStatus::Damaged;
    for (int i = 0; i < 512; ++i)
        scope.step();
    applyTileSetFile(library, k, std::move(*data));
    return TileSetLoadStatus::Loaded;
}

TileSetLoad loadTileSet(const std::string& path, TileKind kind, TileLibrary& library, Prompter& prompter,
                        Progress& progress)
{
    const TileKind k = fileKind(kind);
    TileSetLoad result;
    std::string cannotOpen;
    TileSetLoadStatus status = loadTileSetFile(path, k, library, progress, &cannotOpen);
    if (status == TileSetLoadStatus::Loaded) {
        result.loaded = true;
        return result;
    }
    if (status == TileSetLoadStatus::Reset)
        return result;
    if (status == TileSetLoadStatus::Damaged) {
        prompter.inform(tileSetDamagedMessage(path));
        return result;
    }

    prompter.inform(cannotOpen);
    const std::optional<std::string> located = prompter.locateTileSet(k, path);
    if (!located)
        return result;
    status = located->empty() ? TileSetLoadStatus::CannotOpen : loadTileSetFile(*located, k, library, progress);
    if (status != TileSetLoadStatus::Loaded) {
        prompter.inform(tileSetDamagedMessage(*located));
        return result;
    }
    result.loaded = true;
    result.locatedPath = *located;
    return result;
}

} // namespace qm
