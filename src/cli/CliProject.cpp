#include "cli/CliProject.h"

#include "cli/TerminalText.h"
#include "core/base/Prompter.h"
#include "core/project/ProjectFile.h"

#include <filesystem>
#include <ostream>

namespace qm::cli {

namespace {

class CliOpenPrompter : public Prompter {
public:
    explicit CliOpenPrompter(std::ostream& err) : err_(err) {}
    Answer ask(const std::string&, Buttons) override { return Answer::No; }
    void inform(const std::string& text) override
    {
        err_ << "quiltmark-cli: " << terminalText(text, true) << "\n";
        ++notices;
    }
    int notices = 0;

private:
    std::ostream& err_;
};

} // namespace

std::optional<std::string> fullPathOf(const std::string& argument, CliContext& ctx)
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(argument, ec);
    if (ec) {
        ctx.err << "quiltmark-cli: " << terminalText(argument) << ": " << terminalText(ec.message()) << "\n";
        return std::nullopt;
    }
    return full.lexically_normal().string();
}

OpenedProject openProjectForCli(const std::string& argument, CliContext& ctx)
{
    OpenedProject opened;
    const std::optional<std::string> path = fullPathOf(argument, ctx);
    if (!path)
        return opened;
    opened.path = *path;
    auto ws = std::make_unique<Workspace>();
    CliOpenPrompter prompter(ctx.err);
    NullProgress quiet;
    const Result r = readProject(opened.path, *ws, prompter, quiet);
    opened.notices = prompter.notices;
    if (!r) {
        ctx.err << "quiltmark-cli: " << terminalText(opened.path) << ": " << terminalText(r.text(), true) << "\n";
        return opened;
    }
    opened.workspace = std::move(ws);
    return opened;
}

bool refuseMissingTiles(const OpenedProject& opened, bool allowMissing, CliContext& ctx)
{
    if (opened.notices == 0 || allowMissing)
        return false;
    ctx.err << "quiltmark-cli: a tile set of the project did not load, its tiles would be blank "
               "(--allow-missing-tiles goes on anyway)\n";
    return true;
}

std::unique_ptr<Workspace> openProjectWithTiles(const std::string& argument, bool allowMissing, CliContext& ctx)
{
    OpenedProject opened = openProjectForCli(argument, ctx);
    if (!opened.workspace || refuseMissingTiles(opened, allowMissing, ctx))
        return nullptr;
    return std::move(opened.workspace);
}

std::optional<TileKind> tileSetNamed(const std::string& name, bool tagAllowed)
{
    if (name == "bg")
        return TILE_BG;
    if (name == "obj")
        return TILE_OBJ;
    if (name == "tag" && tagAllowed)
        return TILE_TAG;
    return std::nullopt;
}

int failed(const Result& result, CliContext& ctx)
{
    ctx.err << terminalText(result.text(), true) << "\n";
    return 1;
}

} // namespace qm::cli
