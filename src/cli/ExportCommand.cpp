// quiltmark-cli export FILE.qmm [--map] [--tiles] [--palettes] [--out DIR] [--create-dirs]
//                             [--format bin|c|asm] [--list]
//
// Writes the export files of a project with the settings stored in it, as the
// editor's export dialog would: every page unless some are named, into the
// project's own locations unless --out names one directory for all, as binary
// files or as C or assembly source. A missing directory is created only with
// --create-dirs. --list prints only the path of every file written, one a
// line, for build tools that track outputs. The exit status is 0 only when
// every file the settings ask for was written.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/base/Format.h"
#include "core/export/MapExport.h"
#include "core/export/PaletteExport.h"
#include "core/export/TileExport.h"
#include "core/project/ProjectFile.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* USAGE = "usage: quiltmark-cli export FILE.qmm [--map] [--tiles] [--palettes] [--out DIR] "
                              "[--create-dirs] [--format bin|c|asm] [--list]\n";

// Exporting: the directory question is answered from --create-dirs; what the
// user would be told is kept and printed with the report.
class ExportPrompter : public Prompter {
public:
    explicit ExportPrompter(bool createDirs) : createDirs_(createDirs) {}
    Answer ask(const std::string&, Buttons) override { return createDirs_ ? Answer::Yes : Answer::No; }
    void inform(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;

private:
    bool createDirs_;
};

// A one-line progress display on a terminal.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(std::ostream& err) : err_(err) {}
    void start(const std::string& caption, int total) override
    {
        caption_ = caption;
        total_ = std::max(total, 1);
        done_ = 0;
        shown_ = -1;
        show();
    }
    void step() override
    {
        ++done_;
        show();
    }
    void end() override { err_ << "\r\033[K" << std::flush; }

private:
    void show()
    {
        const int percent = std::min(100, done_ * 100 / total_);
        if (percent == shown_)
            return;
        shown_ = percent;
        err_ << "\r\033[K" << caption_ << "  " << formatText("Process completed %d%%", percent) << std::flush;
    }
    std::ostream& err_;
    std::string caption_;
    int total_ = 1;
    int done_ = 0;
    int shown_ = -1;
};

} // namespace

int exportCommand(CliContext& ctx)
{
    std::string projectArg;
    std::optional<std::string> outDir;
    bool map = false, tiles = false, palettes = false, createDirs = false, list = false;
    std::optional<std::string> formatArg;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--map")
            map = true;
        else if (a == "--tiles")
            tiles = true;
        else if (a == "--palettes")
            palettes = true;
        else if (a == "--create-dirs")
            createDirs = true;
        else if (a == "--list")
            list = true;
        else if (a == "--format" && i + 1 < ctx.args.size())
            formatArg = ctx.args[++i];
        else if (a.rfind("--format=", 0) == 0)
            formatArg = a.substr(9);
        else if (a == "--out" && i + 1 < ctx.args.size())
            outDir = ctx.args[++i];
        else if (a.rfind("--out=", 0) == 0)
            outDir = a.substr(6);
        else if (!a.empty() && a[0] != '-' && projectArg.empty())
            projectArg = a;
        else {
            ctx.err << USAGE;
            return 2;
        }
    }
    if (projectArg.empty() || (outDir && outDir->empty())) {
        ctx.err << USAGE;
        return 2;
    }
    const std::optional<ExportFormat> format = exportFormatNamed(formatArg.value_or("bin"));
    if (!format) {
        ctx.err << "quiltmark-cli export: --format takes bin, c or asm\n";
        return 2;
    }
    if (!map && !tiles && !palettes)
        map = tiles = palettes = true;

    OpenedProject opened = openProjectForCli(projectArg, ctx);
    if (!opened.workspace)
        return 1;
    Workspace* ws = opened.workspace.get();
    ExportSettings& s = ws->project.exportSettings;
    if (outDir)
        s.mapLocation = s.tilesetLocation = s.paletteLocation = *outDir;

    ExportPrompter prompter(createDirs);
    TerminalProgress terminal(ctx.err);
    NullProgress quiet;
    Progress& progress = ctx.errIsTerminal ? static_cast<Progress&>(terminal) : static_cast<Progress&>(quiet);
    ExportReport report;
    if (map)
        report.append(exportMapPage(*ws, prompter, progress, *format));
    if (tiles)
        report.append(exportTilesetPage(*ws, prompter, progress, {}, *format));
    if (palettes)
        report.append(exportPalettePage(*ws, prompter, progress, *format));

    for (const ExportOutcome& f : report.files) {
        if (f.written)
            ctx.out << (list ? "" : "wrote ") << terminalText(f.path) << "\n";
        else
            ctx.err << "quiltmark-cli: skipped " << (f.path.empty() ? std::string("export") : terminalText(f.path))
                    << ": " << terminalText(f.reason, true) << "\n";
    }
    // Anything the user would have been told that the report does not already say.
    for (const std::string& m : prompter.messages) {
        const bool reported = std::any_of(report.files.begin(), report.files.end(),
                                          [&](const ExportOutcome& f) { return f.reason == m; });
        if (!reported)
            ctx.err << "quiltmark-cli: " << terminalText(m, true) << "\n";
    }
    if (opened.notices > 0)
        ctx.err << "quiltmark-cli: the project did not open cleanly; the export is incomplete\n";
    return report.allWritten() && opened.notices == 0 ? 0 : 1;
}

} // namespace qm::cli
