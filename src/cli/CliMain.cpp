#include "cli/CliCommands.h"

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
    {"export", "export FILE.qmm [--map] [--tiles] [--palettes] [--out DIR] [--create-dirs]", exportCommand},
    {"report", "report FILE.qmm duplicates|comments|palette|unused-bg|unused-obj|priority [--set bg|obj]",
     reportCommand},
};

void usage(std::ostream& os)
{
    os << "usage: quiltmark-cli COMMAND ...\n";
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
    for (const Command& c : COMMANDS) {
        if (args[0] == c.name) {
            CliContext ctx{std::vector<std::string>(args.begin() + 1, args.end()), out, err, errIsTerminal};
            return c.run(ctx);
        }
    }
    err << "quiltmark-cli: unknown command '" << args[0] << "'\n";
    usage(err);
    return 2;
}

} // namespace qm::cli
