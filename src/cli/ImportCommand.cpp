// quiltmark-cli import FILE.qmm PICTURE [--mode dmg|gbc] [--dedup none|exact|flips] [--create]
//
// Turns a PNG picture or a Windows bitmap into the project's map, BG tile set
// and BG palettes; the export settings, the OBJ tile set, the OBJ layer of the
// map and its tags stay. --create makes a new project (with its tile set
// files beside it) when FILE does not exist. Everything is saved with the
// crash-safe writer; a failure leaves every file as it was and exits with 1.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/import/BitmapImport.h"
#include "core/import/PictureFile.h"
#include "core/project/ProjectCommands.h"
#include "core/project/ProjectFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* USAGE =
    "usage: quiltmark-cli import FILE.qmm PICTURE [--mode dmg|gbc] [--dedup none|exact|flips] [--create]\n";

struct ImportArgs {
    std::string project;
    std::string picture;
    std::optional<PictureMode> mode;
    TileReuse reuse = TileReuse::Exact;
    bool create = false;
};

std::optional<ImportArgs> parseArgs(const std::vector<std::string>& args)
{
    ImportArgs a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--create") {
            a.create = true;
        } else if (arg == "--mode" && hasValue) {
            const std::string& v = args[++i];
            if (v != "dmg" && v != "gbc")
                return std::nullopt;
            a.mode = v == "dmg" ? PictureMode::Dmg : PictureMode::Gbc;
        } else if (arg == "--dedup" && hasValue) {
            const std::string& v = args[++i];
            if (v == "none")
                a.reuse = TileReuse::None;
            else if (v == "exact")
                a.reuse = TileReuse::Exact;
            else if (v == "flips")
                a.reuse = TileReuse::Flips;
            else
                return std::nullopt;
        } else if (!arg.empty() && arg[0] != '-' && a.project.empty()) {
            a.project = arg;
        } else if (!arg.empty() && arg[0] != '-' && a.picture.empty()) {
            a.picture = arg;
        } else {
            return std::nullopt;
        }
    }
    if (a.project.empty() || a.picture.empty())
        return std::nullopt;
    return a;
}

// The files a save may replace, as they were, so that a failed save can put
// them back (or remove those it made).
class SavedFiles {
public:
    explicit SavedFiles(const ProjectState& st)
    {
        for (const std::string* path : {&st.projectPath, &st.bgTileSetPath, &st.objTileSetPath}) {
            Copy c{*path, {}, fileExists(*path)};
            if (c.existed && readWholeFile(*path, c.bytes) != ReadStatus::Ok)
                readable_ = false;
            copies_.push_back(std::move(c));
        }
    }
    bool readable() const { return readable_; }
    void restore() const
    {
        for (const Copy& c : copies_) {
            if (c.existed)
                writeFileAtomically(c.path, c.bytes);
            else
                std::remove(c.path.c_str());
        }
    }

private:
    struct Copy {
        std::string path;
        std::vector<std::uint8_t> bytes;
        bool existed = false;
    };
    std::vector<Copy> copies_;
    bool readable_ = true;
};

// A project file that does not exist yet: default settings, the tile set
// files beside it.
std::unique_ptr<Workspace> newWorkspace(const std::string& path)
{
    auto ws = std::make_unique<Workspace>();
    ProjectState& st = ws->project;
    st.projectPath = path;
    st.projectDir = directoryOf(path);
    return ws;
}

// A project without a tile set file of a kind gets one beside it, unless a
// file it does not name is already there.
bool nameTileSetFiles(ProjectState& st, CliContext& ctx)
{
    const std::string stem = pathWithoutExtension(st.projectPath);
    struct Kind {
        std::string* path;
        const char* ext;
        const char* name;
    };
    for (const Kind& k : {Kind{&st.bgTileSetPath, ".qmb", "BG"}, Kind{&st.objTileSetPath, ".qmo", "OBJ"}}) {
        std::string* path = k.path;
        if (!path->empty())
            continue;
        const std::string beside = stem + k.ext;
        if (fileExists(beside)) {
            ctx.err << "quiltmark-cli: import: the project names no " << k.name << " tile set file, and "
                    << terminalText(beside) << " is not the project's\n";
            return false;
        }
        *path = beside;
        st.changeFlags |= CHANGED_PROJECT;
    }
    return true;
}

} // namespace

int importCommand(CliContext& ctx)
{
    const std::optional<ImportArgs> args = parseArgs(ctx.args);
    if (!args) {
        ctx.err << USAGE;
        return 2;
    }
    const auto fail = [&ctx](const std::string& text) {
        ctx.err << "quiltmark-cli: import: " << terminalText(text, true) << "\n";
        return 1;
    };

    BitmapImage image;
    if (Result r = readPictureFile(args->picture, image); !r)
        return fail(r.text());
    PictureImportOptions options;
    options.mode = args->mode.value_or(defaultModeFor(image));
    options.reuse = args->reuse;
    options.placement = MapPlacement::Replace;
    if (options.mode == PictureMode::Dmg) {
        // A DMG picture is drawn in the four colours of its key, its first
        // four pixels; any other colour would silently become colour 0.
        if (const int colours = countColours(image, 257); colours > 4)
            return fail(formatText("the picture has %s%d colours; DMG mode takes 4 (--mode gbc takes more)",
                                   colours > 256 ? "more than " : "", colours > 256 ? 256 : colours));
        const auto key = image.pixels.begin() + std::min<std::ptrdiff_t>(4, std::ssize(image.pixels));
        for (std::uint32_t c : image.pixels)
            if (std::find(image.pixels.begin(), key, c) == key)
                return fail(formatText("colour #%06X is not one of the first four pixels, which are the key of "
                                       "colours 0 to 3 in DMG mode (--mode gbc takes the picture as it is)",
                                       c));
    }

    const std::optional<std::string> path = fullPathOf(args->project, ctx);
    if (!path)
        return 1;
    std::unique_ptr<Workspace> ws;
    if (!fileExists(*path)) {
        if (!args->create)
            return fail(*path + " does not exist (--create makes a new project)");
        ws = newWorkspace(*path);
    } else {
        ws = openProjectWithTiles(*path, false, ctx);
        if (!ws)
            return 1;
        if (ws->project.changeFlags & OLD_VERSION)
            return fail(*path + " is an old version: open it in the editor once, which converts it and keeps a copy");
    }
    if (!nameTileSetFiles(ws->project, ctx))
        return 1;

    BitmapImportSummary summary;
    if (Result r = importPicture(image, *ws, options, &summary); !r)
        return fail(r.text());

    const SavedFiles before(ws->project);
    if (!before.readable())
        return fail("the project's files cannot be read back, so a failed save could not be undone");
    NullProgress quiet;
    if (Result r = saveProject(*ws, quiet); !r) {
        before.restore();
        return fail(r.text());
    }
    ctx.out << formatText("imported %d x %d blocks: %d %s (bank 1: %d), %d %s\n", summary.blocksWide,
                          summary.blocksHigh, summary.tilesMade, summary.tilesMade == 1 ? "tile" : "tiles",
                          summary.bank1Tiles, summary.palettes, summary.palettes == 1 ? "palette" : "palettes");
    return 0;
}

} // namespace qm::cli
