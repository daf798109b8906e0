// quiltmark-cli info FILE.qmm: what a project file holds, one "name: value" a line.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/project/ProjectFile.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace qm::cli {

namespace {

std::string hex4(unsigned v)
{
    return formatText("0x%04X", v);
}

} // namespace

int infoCommand(CliContext& ctx)
{
    if (ctx.args.size() != 1) {
        ctx.err << "usage: quiltmark-cli info FILE.qmm\n";
        return 2;
    }
    const std::optional<std::string> full = fullPathOf(ctx.args[0], ctx);
    if (!full)
        return 1;
    const std::string& path = *full;
    std::vector<std::uint8_t> bytes;
    const ReadResult status = readWholeFile(path, bytes);
    if (status != ReadStatus::Ok && status != ReadStatus::TooLarge) {
        const std::string text = formatText("Error! Unable to open the project file %s", path.c_str());
        ctx.err << terminalText(readFailureText(status, path, text), true) << "\n";
        return 1;
    }
    auto data = std::make_unique<ProjectFileData>();
    NullProgress quiet;
    const Result parsed = status == ReadStatus::Ok ? parseProjectFile(bytes, ExportSettings{}, *data, quiet)
                                                    : Result::failure(MSG_INVALID_PROJECT);
    if (!parsed) {
        ctx.err << terminalText(path) << ": " << terminalText(parsed.text(), true) << "\n";
        return 1;
    }
    const ResolvedPaths paths = resolveProjectPaths(*data, directoryOf(path));
    const ExportSettings& s = data->exportSettings;
    std::ostream& o = ctx.out;
    o << "version: " << data->version / 10 << "." << data->version % 10 << "\n";
    o << "width: " << data->map.width << "\n";
    o << "height: " << data->map.height << "\n";
    o << "bgTileSet: " << terminalText(paths.bgTileSetPath) << "\n";
    o << "objTileSet: " << terminalText(paths.objTileSetPath) << "\n";
    o << "tagCountMode: " << s.tagCountMode << (s.tagCountMode ? " (256 Tags)" : " (16 Tags)") << "\n";
    o << "mapPrefix: " << terminalText(s.mapPrefix) << "\n";
    o << "mapSuffix: " << terminalText(s.mapSuffix) << "\n";
    o << "mapLocation: " << terminalText(paths.mapLocation) << "\n";
    o << "mapFlags: " << hex4(s.mapFlags) << "\n";
    o << "mapSplitCount: " << s.mapSplitCount << "\n";
    o << "tilesetPrefix: " << terminalText(s.tilesetPrefix) << "\n";
    o << "tilesetSuffix: " << terminalText(s.tilesetSuffix) << "\n";
    o << "tilesetLocation: " << terminalText(paths.tilesetLocation) << "\n";
    o << "tilesetFlags: " << hex4(s.tilesetFlags) << "\n";
    o << "bgMain: " << int(s.bgMainFrom) << ".." << int(s.bgMainTo) << "\n";
    o << "bgAlt: " << int(s.bgAltFrom) << ".." << int(s.bgAltTo) << "\n";
    o << "objMain: " << int(s.objMainFrom) << ".." << int(s.objMainTo) << "\n";
    o << "objAlt: " << int(s.objAltFrom) << ".." << int(s.objAltTo) << "\n";
    o << "palettePrefix: " << terminalText(s.palettePrefix) << "\n";
    o << "paletteSuffix: " << terminalText(s.paletteSuffix) << "\n";
    o << "paletteLocation: " << terminalText(paths.paletteLocation) << "\n";
    o << "paletteFlags: " << hex4(s.paletteFlags) << "\n";
    return 0;
}

} // namespace qm::cli
