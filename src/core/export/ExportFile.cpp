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

WriteResult ExportFile::commit(std::string* failedPath)
{
    const auto failed = [&](const std::string& path, WriteResult result) {
        if (failedPath)
            *failedPath = path;
        return result;
    };
    if (format_ == ExportFormat::Binary) {
        const WriteResult written = writeFileAtomically(path_, bytes_);
        return written ? written : failed(path_, written);
    }
    const std::vector<std::string> files = paths();
    const std::string symbol = sourceSymbolOf(path_);
    AtomicFile source;
    if (source.open(files[0]))
        writeSourceText(format_, symbol, bytes_,
                        [&](std::span<const std::uint8_t> piece) { return source.write(piece); });
    if (!source.commit())
        return failed(files[0], WriteResult{source.error()});
    const std::string header = sourceHeaderText(format_, symbol, bytes_.size());
    const WriteResult written = writeFileAtomically(
        files[1], std::span(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
    return written ? written : failed(files[1], written);
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
                                         ExportReport& report, ExportFormat format)
{
    const std::vector<std::string> files = exportFormatPaths(path, format);
    for (const std::string& file : files) {
        if (const std::string refusal = exportPathRefusal(location, file); !refusal.empty()) {
            prompter.inform(refusal);
            report.skipped(file, refusal);
            return std::nullopt;
        }
    }
    for (const std::string& file : files) {
        const CreatedExportFile created = createExportFile(file, prompter);
        if (!created.file) {
            report.skipped(file, created.reason);
            return std::nullopt;
        }
    }
    return ExportFile(path, format);
}

std::string shownExportPath(const std::string& path, ExportFormat format)
{
    return exportFormatPaths(path, format).front();
}

void skipExportFile(const ExportFile& file, const std::string& reason, ExportReport& report)
{
    for (const std::string& path : file.paths())
        report.skipped(path, reason);
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
    std::string failed;
    const WriteResult written = file.commit(&failed);
    const std::string message =
        written ? std::string() : withOsReason(formatText(MSG_UNABLE_TO_WRITE_FILE, failed.c_str()), written.error);
    if (!written)
        prompter.inform(message);
    bool before = true; // the paths before the failed one were written
    for (const std::string& path : file.paths()) {
        before = before && (written || path != failed);
        if (before)
            report.written(path);
        else
            report.skipped(path, message);
    }
    return static_cast<bool>(written);
}

} // namespace qm
