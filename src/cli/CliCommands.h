#pragma once
// quiltmark-cli: the headless tool for build pipelines. Each command lives in
// a file of its own and is listed in the table of CliMain.cpp.

#include <iosfwd>
#include <string>
#include <vector>

namespace qm::cli {

struct CliContext {
    std::vector<std::string> args; // the arguments after the command name
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

// Runs one command line (args without the program name); returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal = false);

int infoCommand(CliContext& ctx);
int renderCommand(CliContext& ctx);
int exportCommand(CliContext& ctx);
int reportCommand(CliContext& ctx);
int paletteCommand(CliContext& ctx);
int tilesCommand(CliContext& ctx);
int importCommand(CliContext& ctx);

} // namespace qm::cli
