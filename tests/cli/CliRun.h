#pragma once
// Runs quiltmark-cli in-process and keeps what it printed.

#include "cli/CliCommands.h"

#include <sstream>
#include <string>
#include <vector>

namespace qm::test {

struct CliRun {
    int status = 0;
    std::string out, err;
};

inline CliRun runCliCommand(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    CliRun r;
    r.status = cli::runCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace qm::test
