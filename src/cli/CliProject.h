#pragma once
// Opening a project from the command line: an old file is not converted, a
// missing tile set file is not located, and what the loader would tell the
// user goes to the error stream.

#include "cli/CliCommands.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <memory>
#include <optional>
#include <string>

namespace qm::cli {

struct OpenedProject {
    std::unique_ptr<Workspace> workspace; // none when the file was refused
    std::string path;                     // the full path opened
    int notices = 0;                      // loader messages printed on the error stream
};

// The full path of a file argument; nullopt after a message on the error
// stream when there is none (a relative path in a deleted directory).
std::optional<std::string> fullPathOf(const std::string& argument, CliContext& ctx);

// Prints "quiltmark-cli: PATH: message" on the error stream when refused.
OpenedProject openProjectForCli(const std::string& argument, CliContext& ctx);

// A tile set the project names did not load (the loader said so): unless
// allowed, says that the result would show blank tiles and returns true.
bool refuseMissingTiles(const OpenedProject& opened, bool allowMissing, CliContext& ctx);

// openProjectForCli, then refuseMissingTiles: the workspace, or none after
// the messages.
std::unique_ptr<Workspace> openProjectWithTiles(const std::string& argument, bool allowMissing, CliContext& ctx);

// The tile set named by a --set value: bg, obj, and tag where allowed.
std::optional<TileKind> tileSetNamed(const std::string& name, bool tagAllowed);

// Prints a failed result on the error stream; returns the exit status 1.
int failed(const Result& result, CliContext& ctx);

} // namespace qm::cli
