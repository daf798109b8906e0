#include "cli/CliProject.h"

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
        err_ << "quiltmark-cli: " << text << "\n";
        ++notices;
    }
    int notices = 0;

private:
    std::ostream& err_;
};

} // namespace

OpenedProject openProjectForCli(const std::string& argument, CliContext& ctx)
{
    OpenedProject opened;
    opened.path = std::filesystem::absolute(argument).lexically_normal().string();
    auto ws = std::make_unique<Workspace>();
    CliOpenPrompter prompter(ctx.err);
    NullProgress quiet;
    const Result r = readProject(opened.path, *ws, prompter, quiet);
    opened.notices = prompter.notices;
    if (!r) {
        ctx.err << "quiltmark-cli: " << opened.path << ": " << r.text() << "\n";
        return opened;
    }
    opened.workspace = std::move(ws);
    return opened;
}

} // namespace qm::cli
