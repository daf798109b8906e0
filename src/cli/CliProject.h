#pragma once
// Opening a project from the command line: an old file is not converted, a
// missing tile set file is not located, and what the loader would tell the
// user goes to the error stream.

#include "cli/CliCommands.h"
#include "core/project/Workspace.h"

#include <memory>
#include <string>

namespace qm::cli {

struct OpenedProject {
    std::unique_ptr<Workspace> workspace; // none when the file was refused
    std::string path;                     // the full path opened
    int notices = 0;                      // loader messages printed on the error stream
};

// Prints "quiltmark-cli: PATH: message" on the error stream when refused.
OpenedProject openProjectForCli(const std::string& argument, CliContext& ctx);

} // namespace qm::cli
