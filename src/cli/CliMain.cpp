#include "cli/CliCommands.h"
#include "cli/TerminalText.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace qm::cli {

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(CliContext&);
};

const Command COMMANDS[] = {
    {"info", "info FILE.qmm", infoCommand},
    {"render",
     "render FILE.qmm OUT.png [--tags] [--transparent-obj] [--hide-obj] [--dmg] [--true-color] "
     "[--allow-missing-tiles]",
     renderCommand},
    {"export",
     "export FILE.qmm [--map] [--tiles] [--palettes] [--out DIR] [--create-dirs] [--format bin|c|asm] [--list]",
     exportCommand},
    {"report",
     "report FILE.qmm duplicates|comments|palette|unused-bg|unused-obj|priority [--set bg|obj] "
     "[--allow-missing-tiles]",
     reportCommand},
    {"palette", "palette FILE.qmm OUT.pal|OUT.gpl|OUT.act|OUT.bin [--set bg|obj] [--allow-missing-tiles]",
     paletteCommand},
    {"tiles", "tiles FILE.qmm OUT.png [--set bg|obj|tag] [--columns 16] [--palette N] [--allow-missing-tiles]",
     tilesCommand},
    {"import", "import FILE.qmm PICTURE [--mode dmg|gbc] [--dedup none|exact|flips] [--create]", importCommand},
};

void usage(std::ostream& os)
{
    os << "usage: quiltmark-cli COMMAND ...\n       quiltmark-cli --version\n";
    for (const Command& c : COMMANDS)
        os << "  quiltmark-cli " << c.usage << "\n";
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        usage(args.empty() ? err : out);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        out << "quiltmark-cli " << QM_VERSION << "\n";
        return 0;
    }
    // An unset shell variable gives an empty argument: never a file name or an option.
    if (std::find(args.begin(), args.end(), std::string()) != args.end()) {
        err << "quiltmark-cli: an argument is empty\n";
        usage(err);
        return 2;
    }
    for (const Command& c : COMMANDS) {
        if (args[0] == c.name) {
            CliContext ctx{std::vector<std::string>(args.begin() + 1, args.end()), out, err, errIsTerminal};
            // What the commands do not foresee (a file system that fails under
            // them, memory running out) still ends with a message.
            try {
                return c.run(ctx);
            } catch (const std::exception& e) {
                err << "quiltmark-cli: " << terminalText(e.what()) << "\n";
                return 1;
            }
        }
    }
    err << "quiltmark-cli: unknown command '" << terminalText(args[0]) << "'\n";
    usage(err);
    return 2;
}

} // namespace qm::cli
