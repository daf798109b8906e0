#include "core/project/ProjectFile.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/project/StoredPath.h"
#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileSetFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace qm {

namespace {

// A project file holds at most MAX_CELLS cells of 7 bytes, plus a little.
constexpr std::uintmax_t MAX_PROJECT_FILE = std::uintmax_t(MapGrid::MAX_CELLS) * 7 + (1u << 24);

bool readStringRecord(ByteReader& r, std::string& out)
{
    const size_t start = r.position();
    std::uint32_t n = 0;
    if (!r.u32(n) || n > r.remaining() || !r.text(out, n)) {
        r.seek(start);
        return false;
    }
    return true;
}

void putString(ByteWriter& w, const std::string& text)
{
    w.u32(static_cast<std::uint32_t>(text.size()));
    w.text(text);
}

// "d.d" as tenths, or -1.
int parseVersion(const std::string& v)
{
    if (v.size() != 3 || !std::isdigit(static_cast<unsigned char>(v[0])) || v[1] != '.' ||
        !std::isdigit(static_cast<unsigned char>(v[2])))
        return -1;
    return (v[0] - '0') * 10 + (v[2] - '0');
}

int cellRecordSize(int version)
{
    if (version < 40)
        return 5;
    if (version < 50)
        return 6;
    return 7;
}

void routeLayer(MapCell& cell, std::uint8_t attr, std::uint16_t tile)
{
    if ((attr & TILE_KIND_MASK) == 0)
        return;
    if (attr & 0x80) {
        cell.objAttr = attr;
        cell.objTile = tile;
    } else {
        cell.bgAttr = attr;
        cell.bgTile = tile;
    }
}

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

enum class BlockRead { Read, Absent, Truncated };

// Reads an export-settings block at the reader's position. Absent leaves the
// position where it was.
BlockRead readExportBlock(ByteReader& r, ExportSettings& s, bool insideVersion10, ProjectFileData& out)
{
    const size_t start = r.position();
    if (r.match(EXPORT_BLOCK_HEADER)) {
        ExportSettings n = s;
        bool ok = readStringRecord(r, n.mapPrefix) && readStringRecord(r, n.mapSuffix) &&
                  readStringRecord(r, n.mapLocation) && r.u16(n.mapFlags) && r.i32(n.mapSplitCount) &&
                  readStringRecord(r, n.tilesetPrefix) && readStringRecord(r, n.tilesetSuffix) &&
                  readStringRecord(r, n.tilesetLocation) && r.u16(n.tilesetFlags) && r.u8(n.bgMainFrom) &&
                  r.u8(n.bgMainTo) && r.u8(n.bgAltFrom) && r.u8(n.bgAltTo) && r.u8(n.objMainFrom) &&
                  r.u8(n.objMainTo) && r.u8(n.objAltFrom) && r.u8(n.objAltTo) && readStringRecord(r, n.palettePrefix) &&
                  readStringRecord(r, n.paletteSuffix) && readStringRecord(r, n.paletteLocation) &&
                  r.u16(n.paletteFlags);
        if (ok && insideVersion10) {
            ok = r.u32(out.colours.cursor) && r.u32(out.colours.grid);
            out.hasViewColours = ok;
        }
        if (!ok)
            return BlockRead::Truncated;
        s = std::move(n);
        return BlockRead::Read;
    }
    if (r.match(OLD_EXPORT_BLOCK_HEADER)) {
        ExportSettings n = s;
        std::string prefix, suffix, location;
        std::uint8_t ignored8;
        std::uint16_t ignored16;
        const bool ok = readStringRecord(r, prefix) && readStringRecord(r, suffix) && readStringRecord(r, location) &&
                        r.i32(n.mapSplitCount) && r.u8(n.bgMainFrom) && r.u8(n.bgMainTo) && r.u8(n.bgAltFrom) &&
                        r.u8(n.bgAltTo) && r.u8(n.objMainFrom) && r.u8(n.objMainTo) && r.u8(n.objAltFrom) &&
                        r.u8(n.objAltTo) && r.u8(ignored8) && r.u16(ignored16);
        if (!ok)
            return BlockRead::Truncated;
        n.mapPrefix = n.tilesetPrefix = n.palettePrefix = prefix;
        n.mapSuffix = n.tilesetSuffix = n.paletteSuffix = suffix;
        n.mapLocation = n.tilesetLocation = n.paletteLocation = location;
        s = std::move(n);
        return BlockRead::Read;
    }
    // A header cut short by the end of the file is damage, not an absent
    // block; a file that simply ends where the block would begin has none.
    const size_t left = r.remaining();
    if (left > 0 && left < EXPORT_BLOCK_HEADER.size()) {
        std::string rest;
        r.text(rest, left);
        r.seek(start);
        const std::string_view v(rest);
        if (EXPORT_BLOCK_HEADER.starts_with(v) || OLD_EXPORT_BLOCK_HEADER.starts_with(v))
            return BlockRead::Truncated;
    }
    return BlockRead::Absent;
}

void encodeExportBlock(ByteWriter& w, const ExportSettings& s, const std::string& projectDir, bool emptyAsProjectDir)
{
    auto location = [&](const std::string& loc) {
        if (loc.empty() && !emptyAsProjectDir)
            putString(w, std::string());
        else
            putString(w, storeLocation(projectDir, loc.empty() ? projectDir : loc));
    };
    w.text(EXPORT_BLOCK_HEADER);
    putString(w, s.mapPrefix);
    putString(w, s.mapSuffix);
    location(s.mapLocation);
    w.u16(s.mapFlags);
    w.i32(s.mapSplitCount);
    putString(w, s.tilesetPrefix);
    putString(w, s.tilesetSuffix);
    location(s.tilesetLocation);
    w.u16(s.tilesetFlags);
    w.u8(s.bgMainFrom);
    w.u8(s.bgMainTo);
    w.u8(s.bgAltFrom);
    w.u8(s.bgAltTo);
    w.u8(s.objMainFrom);
    w.u8(s.objMainTo);
    w.u8(s.objAltFrom);
    w.u8(s.objAltTo);
    putString(w, s.palettePrefix);
    putString(w, s.paletteSuffix);
    location(s.paletteLocation);
    w.u16(s.paletteFlags);
}

Result invalid() { return Result::failure(MSG_INVALID_PROJECT); }

// Reads up to and including the cell records; leaves r at the block position.
Result parseHead(ByteReader& r, const ExportSettings& current, ProjectFileData& out, Progress* progress,
                 std::optional<ProgressScope>& scope)
{
    if (!r.match(PROJECT_MAGIC))
        return invalid();
    std::string versionText;
    if (!r.text(versionText, 3))
        return invalid();
    out.version = parseVersion(versionText);
    if (out.version < 10 || out.version > PROJECT_VERSION)
        return Result::failure(MSG_INVALID_VERSION);

    out.exportSettings = current;
    if (!readStringRecord(r, out.bgStoredPath) || !readStringRecord(r, out.objStoredPath))
        return invalid();
    if (out.version == 10) {
        const BlockRead b = readExportBlock(r, out.exportSettings, true, out);
        if (b == BlockRead::Truncated)
            return invalid();
        out.hasExportBlock = b == BlockRead::Read;
    }
    if (out.version >= 20) {
        if (!r.u32(out.colours.bgSelection) || !r.u32(out.colours.objSelection) || !r.u32(out.colours.cursor) ||
            !r.u32(out.colours.grid))
            return invalid();
        out.hasPageColours = out.hasViewColours = true;
    }
    std::int32_t height = 0, width = 0;
    if (!r.i32(height) || !r.i32(width) || height < 0 || width < 0)
        return invalid();
    const int rec = cellRecordSize(out.version);
    const std::uint64_t cellBytes = std::uint64_t(width) * std::uint64_t(height) * std::uint64_t(rec);
    if (cellBytes > r.remaining())
        return invalid();
    if (!out.map.create(width, height))
        return Result::failure(MapGrid::createFailureText(width, height));

    if (progress)
        scope.emplace(*progress, "Loading map data", height + 16);
    for (int y = 0; y < height; ++y) {
        if (scope)
            scope->step();
        std::span<const std::uint8_t> row;
        r.view(row, size_t(width) * rec);
        const std::uint8_t* p = row.data();
        MapCell* cell = out.map.cells.data() + size_t(y) * width;
        for (int x = 0; x < width; ++x, p += rec, ++cell) {
            if (rec == 5) {
                routeLayer(*cell, p[0], le16(p + 1)); // the upper half of the u32 is not used
            } else {
                routeLayer(*cell, p[0], le16(p + 1));
                routeLayer(*cell, p[3], le16(p + 4));
                if (rec == 7)
                    cell->tag = p[6];
            }
        }
    }
    return Result::success();
}

} // namespace

std::string directoryOf(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string backupPathFor(const std::string& projectPath)
{
    return pathWithoutExtension(projectPath) + ".001";
}

Result parseProjectFile(std::span<const std::uint8_t> bytes, const ExportSettings& current, ProjectFileData& out,
                        Progress& progress)
{
    ByteReader r(bytes);
    std::optional<ProgressScope> scope;
    Result head = parseHead(r, current, out, &progress, scope);
    if (!head)
        return head;

    if (out.version >= 20) {
        const BlockRead b = readExportBlock(r, out.exportSettings, false, out);
        if (b == BlockRead::Truncated)
            return invalid();
        out.hasExportBlock = b == BlockRead::Read;
    }
    if (out.version == 55) {
        for (int i = 0; i < 16; ++i) {
            std::string ignored;
            if (!readStringRecord(r, ignored) || !r.skip(3))
                return invalid();
        }
    }
    if (out.version >= 56) {
        std::uint32_t mode = 0;
        if (!r.u32(mode))
            return invalid();
        out.exportSettings.tagCountMode = mode ? TAGS_256 : TAGS_16;
        if (r.remaining() < 256 * 65)
            return invalid();
        out.tags.reset(TILE_TAG);
        for (int i = 0; i < 256; ++i) {
            if (i % 16 == 0)
                scope->step();
            CTile& t = out.tags.tiles[static_cast<size_t>(i)];
            std::uint8_t attr = 0;
            r.u8(attr);
            r.bytes(t.pixels.data(), 64);
            t.maskPixels();
            t.attr = attr;
        }
    } else {
        out.exportSettings.tagCountMode = TAGS_16;
        out.tags.reset(TILE_TAG);
        for (int n = 0; n < 16; ++n) {
            scope->step();
            drawDefaultTagPicture(out.tags.tiles[static_cast<size_t>(n)], n);
        }
    }
    return Result::success();
}

ResolvedPaths resolveProjectPaths(const ProjectFileData& data, const std::string& projectDir)
{
    const std::string base = toStoredForm(projectDir);
    const bool relativePaths = data.version >= 30;
    auto file = [&](const std::string& stored) {
        if (stored.empty())
            return std::string();
        // Before 3.0 a tile set keeps only its file name, beside the project.
        return toNativeForm(relativePaths ? resolvePath(base, stored) : base + "\\" + storedFileName(stored));
    };
    auto location = [&](const std::string& stored) {
        if (!relativePaths) {
            // These versions stored locations as typed. One that names a drive
            // stays; one that names none cannot mean the root of a drive here,
            // so it is taken relative to the project as later versions do.
            if (stored.empty())
                return projectDir;
            if (stored.size() >= 2 && stored[1] == ':')
                return stored;
        }
        std::string r = resolvePath(base, stored);
        // Climbed past the root of a drive path: keep the project's drive.
        if (!r.empty() && r[0] == '\\' && base.size() >= 2 && base[1] == ':')
            r = base.substr(0, 1) + ":" + r;
        if (r.size() > 1 && r.back() == '\\')
            r.pop_back();
        return toNativeForm(r);
    };
    const ExportSettings& s = data.exportSettings;
    ResolvedPaths p;
    p.bgTileSetPath = file(data.bgStoredPath);
    p.objTileSetPath = file(data.objStoredPath);
    p.mapLocation = location(s.mapLocation);
    p.tilesetLocation = location(s.tilesetLocation);
    p.paletteLocation = location(s.paletteLocation);
    return p;
}

std::vector<std::uint8_t> encodeProject(const Workspace& ws, Progress& progress)
{
    const ProjectState& st = ws.project;
    const std::string projectDir = directoryOf(st.projectPath);
    const MapGrid& map = st.map;
    ByteWriter w;
    const size_t cellBytes = size_t(map.width) * size_t(map.height) * 7;
    w.reserve(cellBytes + 256 * 65 + 1024);
    w.text(PROJECT_MAGIC_56);
    putString(w, st.bgTileSetPath.empty() ? std::string() : storeFilePath(projectDir, st.bgTileSetPath));
    putString(w, st.objTileSetPath.empty() ? std::string() : storeFilePath(projectDir, st.objTileSetPath));
    w.u32(ws.colours.bgSelection);
    w.u32(ws.colours.objSelection);
    w.u32(ws.colours.cursor);
    w.u32(ws.colours.grid);
    w.i32(map.height);
    w.i32(map.width);

    ProgressScope scope(progress, "Saving map data", map.height + 256);
    std::vector<std::uint8_t>& out = w.data();
    size_t at = out.size();
    out.resize(at + cellBytes);
    const MapCell* cell = map.cells.data();
    for (int y = 0; y < map.height; ++y) {
        scope.step();
        for (int x = 0; x < map.width; ++x, ++cell) {
            std::uint8_t* p = out.data() + at;
            p[0] = cell->bgAttr;
            p[1] = static_cast<std::uint8_t>(cell->bgTile);
            p[2] = static_cast<std::uint8_t>(cell->bgTile >> 8);
            p[3] = cell->objAttr;
            p[4] = static_cast<std::uint8_t>(cell->objTile);
            p[5] = static_cast<std::uint8_t>(cell->objTile >> 8);
            p[6] = cell->tag;
            at += 7;
        }
    }
    encodeExportBlock(w, st.exportSettings, projectDir, true);
    w.u32(st.exportSettings.tagCountMode);
    for (int i = 0; i < 256; ++i) {
        scope.step();
        const CTile& t = ws.tiles.tag.tiles[static_cast<size_t>(i)];
        w.u8(t.attr);
        w.bytes(t.pixels.data(), 64);
    }
    return w.take();
}

Result writeProject(Workspace& ws, Progress& progress)
{
    ProjectState& st = ws.project;
    if (st.projectPath.empty())
        return Result::success();
    const std::string projectDir = directoryOf(st.projectPath);
    ExportSettings& s = st.exportSettings;
    for (std::string* loc : {&s.mapLocation, &s.tilesetLocation, &s.paletteLocation})
        if (loc->empty())
            *loc = projectDir;
    const std::vector<std::uint8_t> bytes = encodeProject(ws, progress);
    if (const WriteResult w = writeFileAtomically(st.projectPath, bytes); !w)
        return Result::failure(withOsReason("Unable to create new map file", w.error));
    st.projectDir = projectDir;
    st.clearChangedBits(CHANGED_MAP | CHANGED_PROJECT);
    return Result::success();
}

Result readProject(const std::string& path, Workspace& ws, Prompter& prompter, Progress& progress,
                   ProjectReadInfo* info)
{
    ProjectReadInfo ignored;
    ProjectReadInfo& read = info ? *info : ignored;
    read = ProjectReadInfo{};
    std::vector<std::uint8_t> bytes;
    const ReadResult status = readWholeFile(path, bytes, MAX_PROJECT_FILE);
    if (status == ReadStatus::TooLarge)
        return invalid();
    if (status != ReadStatus::Ok)
        return Result::failure(
            readFailureText(status, path, formatText("Error! Unable to open the project file %s", path.c_str())));

    // Nothing of the open project's settings stays: a file without a block
    // starts from the defaults, whose empty locations become its directory.
    auto data = std::make_unique<ProjectFileData>();
    Result parsed = parseProjectFile(bytes, ExportSettings{}, *data, progress);
    if (!parsed)
        return parsed;
    bytes.clear();
    bytes.shrink_to_fit();

    // The whole file was good: take it over.
    read.takenOver = true;
    ProjectState& st = ws.project;
    const std::string projectDir = directoryOf(path);
    const ResolvedPaths paths = resolveProjectPaths(*data, projectDir);
    st.changeFlags = 0;
    st.projectDir = projectDir;
    st.bgTileSetPath = paths.bgTileSetPath;
    st.objTileSetPath = paths.objTileSetPath;
    st.map = std::move(data->map);
    st.exportSettings = std::move(data->exportSettings);
    st.exportSettings.mapLocation = paths.mapLocation;
    st.exportSettings.tilesetLocation = paths.tilesetLocation;
    st.exportSettings.paletteLocation = paths.paletteLocation;
    ws.tiles.tag = data->tags;
    if (data->hasPageColours) {
        ws.colours.bgSelection = data->colours.bgSelection;
        ws.colours.objSelection = data->colours.objSelection;
    }
    if (data->hasViewColours) {
        ws.colours.cursor = data->colours.cursor;
        ws.colours.grid = data->colours.grid;
    }

    // The tile set files. A located file replaces the stored path.
    bool& bgLoaded = read.bgLoaded;
    bool& objLoaded = read.objLoaded;
    for (TileKind kind : {TILE_BG, TILE_OBJ}) {
        std::string& tsPath = kind == TILE_BG ? st.bgTileSetPath : st.objTileSetPath;
        const TileSetLoad load = loadTileSet(tsPath, kind, ws.tiles, prompter, progress);
        if (!load.locatedPath.empty()) {
            tsPath = load.locatedPath;
            st.changeFlags |= CHANGED_PROJECT;
        }
        (kind == TILE_BG ? bgLoaded : objLoaded) = load.loaded;
    }
    if (data->version < PROJECT_VERSION)
        st.changeFlags |= OLD_VERSION;
    st.projectPath = path;
    st.normalisePaths();
    st.setChanged(0);

    if (!(st.changeFlags & OLD_VERSION))
        return Result::success();

    const std::string backup = backupPathFor(path);
    const Answer answer = prompter.ask(
        formatText("This is an old version Quiltmark file.Do you want to make a back up copy of this file at:\n%s",
                   backup.c_str()),
        Buttons::YesNo);
    if (answer != Answer::Yes)
        return Result::success();
    // The backup is complete before anything replaces the original, and the
    // original is only ever replaced by a finished new file.
    if (const WriteResult w = copyFileAtomically(path, backup); !w)
        return Result::failure(
            withOsReason(formatText("Unable to open file %s for writing.", backup.c_str()), w.error));
    Result written = writeProject(ws, progress);
    if (!written)
        return written;
    // A tile set that did not load holds other tiles than its file: leave the file alone.
    if (!st.bgTileSetPath.empty() && bgLoaded) {
        Result r = saveTileSetFile(st.bgTileSetPath, TILE_BG, ws.tiles, progress);
        if (!r)
            return r;
    }
    if (!st.objTileSetPath.empty() && objLoaded) {
        Result r = saveTileSetFile(st.objTileSetPath, TILE_OBJ, ws.tiles, progress);
        if (!r)
            return r;
    }
    st.clearChanged();
    return Result::success();
}

Result storeExportSettings(ProjectState& st)
{
    if (st.projectPath.empty())
        return Result::success();
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readWholeFile(st.projectPath, bytes, MAX_PROJECT_FILE);
    if (read != ReadStatus::Ok)
        return Result::failure(
            readFailureText(read, st.projectPath, formatText("Unable to open file %s", st.projectPath.c_str())));

    ByteReader r(bytes);
    if (!r.match(PROJECT_MAGIC))
        return invalid();
    std::string versionText;
    if (!r.text(versionText, 3))
        return invalid();
    const int version = parseVersion(versionText);
    if (version < 10 || version > PROJECT_VERSION)
        return Result::failure(MSG_INVALID_VERSION);
    if (version < 20) {
        // The block of these files sits before the map: the next save writes a whole new file.
        st.setChanged(CHANGED_PROJECT);
        return Result::success();
    }

    r.seek(0);
    auto data = std::make_unique<ProjectFileData>();
    std::optional<ProgressScope> noProgress;
    Result head = parseHead(r, st.exportSettings, *data, nullptr, noProgress);
    if (!head)
        return head;
    const size_t blockStart = r.position();
    const BlockRead b = readExportBlock(r, data->exportSettings, false, *data);
    if (b == BlockRead::Truncated)
        return invalid();
    size_t tailStart = r.position();
    if (version >= 56) {
        // The tag-count mode that follows the block is rewritten with it.
        if (r.remaining() < 4)
            return invalid();
        tailStart += 4;
    }

    ByteWriter w;
    w.bytes(bytes.data(), blockStart);
    encodeExportBlock(w, st.exportSettings, directoryOf(st.projectPath), false);
    if (version >= 56)
        w.u32(st.exportSettings.tagCountMode);
    w.bytes(bytes.data() + tailStart, bytes.size() - tailStart);
    if (const WriteResult written = writeFileAtomically(st.projectPath, w.data()); !written)
        return Result::failure(
            withOsReason(formatText("Unable to open file %s", st.projectPath.c_str()), written.error));
    return Result::success();
}

} // namespace qm
