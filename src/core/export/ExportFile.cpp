#include "core/export/ExportFile.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/export/ExportFileName.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

// Whether a file can be made in dir, tried with a temporary file that is
// removed again (one without a name where the file system allows). Returns 0
// or the errno of the failure.
int probeDirectory(const std::string& dir)
{
    const int unnamed = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        ::close(unnamed);
        return 0;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return errno;
    std::string tmpl = dir + "/.qmexport.XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    return 0;
}

int probe(const std::string& path, const std::string& dir)
{
    if (directoryExists(path))
        return EISDIR;
    return probeDirectory(dir);
}

} // namespace

WriteResult ExportFile::commit()
{
    return writeFileAtomically(path_, bytes_);
}

CreatedExportFile createExportFile(const std::string& path, Prompter& prompter)
{
    CreatedExportFile result;
    const std::string inPath = exportDirectoryOf(path);
    const std::string dir = !inPath.empty() ? inPath : path.starts_with('/') ? std::string("/") : std::string(".");

    const int error = probe(path, dir);
    if (error == 0) {
        result.file.emplace(path);
        return result;
    }
    std::error_code ec;
    if (error != EISDIR && !std::filesystem::exists(dir, ec)) {
        const Answer answer = prompter.ask(formatText(MSG_CREATE_DIRECTORY, path.c_str()), Buttons::YesNoCancel);
        if (answer != Answer::Yes) {
            result.reason = formatText("The directory %s does not exist.", dir.c_str());
            return result;
        }
        if (::mkdir(dir.c_str(), 0777) != 0) {
            result.reason = withOsReason(MSG_DIRECTORY_NOT_CREATED, errno);
            prompter.inform(result.reason);
            return result;
        }
        if (const int again = probe(path, dir)) {
            result.reason = withOsReason(formatText(MSG_UNABLE_TO_CREATE_FILE, path.c_str()), again);
            prompter.inform(result.reason);
            return result;
        }
        result.file.emplace(path);
        return result;
    }
    if (error == EACCES || error == EPERM) {
        result.reason = formatText("Access to %s is denied.", path.c_str());
        return result;
    }
    result.reason = withOsReason(formatText(MSG_UNABLE_TO_OPEN_FILE, path.c_str()), error);
    prompter.inform(result.reason);
    return result;
}

std::string exportPathRefusal(const std::string& location, const std::string& path)
{
    namespace fs = std::filesystem;
    const std::string outside = formatText(MSG_OUTSIDE_LOCATION, path.c_str(), location.c_str());
    // By its name: exactly one component below the location.
    const fs::path relative =
        fs::path(path).lexically_normal().lexically_relative(fs::path(location).lexically_normal());
    if (relative.empty() || std::distance(relative.begin(), relative.end()) != 1 || relative == "." ||
        relative == "..")
        return outside;
    // By what is there already: a link must name a file in the same place.
    std::error_code ec;
    const std::optional<std::string> target = finalLinkTarget(path);
    if (!target)
        return outside;
    if (*target != path && fs::weakly_canonical(*target, ec).parent_path() != fs::weakly_canonical(location, ec))
        return outside;
    const fs::file_status st = fs::status(*target, ec);
    if (fs::exists(st) && !fs::is_regular_file(st) && !fs::is_directory(st))
        return formatText(MSG_NOT_REGULAR_FILE, path.c_str());
    return {};
}

std::optional<ExportFile> openExportFile(const std::string& location, const std::string& path, Prompter& prompter,
                                         ExportReport& report)
{
    if (const std::string refusal = exportPathRefusal(location, path); !refusal.empty()) {
        prompter.inform(refusal);
        report.skipped(path, refusal);
        return std::nullopt;
    }
    CreatedExportFile created = createExportFile(path, prompter);
    if (!created.file)
        report.skipped(path, created.reason);
    return std::move(created.file);
}

bool refuseExportNames(ExportPage page, const std::string& prefix, const std::string& suffix, Prompter& prompter,
                       ExportReport& report)
{
    const Result names = checkExportNames(page, prefix, suffix);
    if (names)
        return false;
    prompter.inform(names.text());
    report.skipped("", names.text());
    return true;
}

bool commitExportFile(ExportFile& file, Prompter& prompter, ExportReport& report)
{
    const WriteResult written = file.commit();
    if (written) {
        report.written(file.path());
        return true;
    }
    const std::string message = withOsReason(formatText(MSG_UNABLE_TO_WRITE_FILE, file.path().c_str()), written.error);
    prompter.inform(message);
    report.skipped(file.path(), message);
    return false;
}

} // namespace qm
