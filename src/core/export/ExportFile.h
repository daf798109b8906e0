#pragma once
// One export file being written. createExportFile makes sure the file can be
// created (asking whether to create a missing directory); the writer then
// fills the bytes, and commit puts them on disk in one crash-safe step, so an
// export that stops half-way never leaves a half-written file behind. In a
// source format the bytes become a source file and its header instead
// (ExportFormat.h), each written the same crash-safe way.

#include "core/base/FileIO.h"
#include "core/base/Prompter.h"
#include "core/export/ExportFileName.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

inline constexpr const char* MSG_CREATE_DIRECTORY = "%s.\nThis directory does not exist, create it?";
inline constexpr const char* MSG_DIRECTORY_NOT_CREATED =
    "Directory can not be created. Make sure the directory is in correct format.";
inline constexpr const char* MSG_UNABLE_TO_CREATE_FILE = "Unable to create file %s";
inline constexpr const char* MSG_UNABLE_TO_OPEN_FILE = "Unable to open file %s";
inline constexpr const char* MSG_UNABLE_TO_WRITE_FILE = "Unable to write file %s";
inline constexpr const char* MSG_OUTSIDE_LOCATION = "%s would be written outside the export location %s.";

class ExportFile {
public:
    explicit ExportFile(std::string path, ExportFormat format = ExportFormat::Binary)
        : path_(std::move(path)), format_(format)
    {
    }

    // The binary file's path, whose name the source files are named after.
    const std::string& path() const { return path_; }
    ExportFormat format() const { return format_; }
    // The files it is written as: the binary file, or the source and its header.
    std::vector<std::string> paths() const { return exportFormatPaths(path_, format_); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    void put(std::uint8_t b) { bytes_.push_back(b); }
    void putU16(std::uint16_t v)
    {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }

    // Replaces the files on disk (read-only ones too) in the order of paths;
    // stops at the first that fails, whose path goes to failedPath.
    WriteResult commit(std::string* failedPath = nullptr);

private:
    std::string path_;
    ExportFormat format_;
    std::vector<std::uint8_t> bytes_;
};

struct CreatedExportFile {
    std::optional<ExportFile> file;
    std::string reason; // why there is no file
};

// Makes sure the file at path (native, location + "/" + name) can be written.
// A missing directory is offered for creation (one level, parents are not
// made) with Yes/No/Cancel; only Yes creates it. Messages go to the prompter
// as the user is to see them, with the system's reason: a directory that
// cannot be made, a file that still cannot be created, any other failure.
// No, Cancel and a denied access give no message, only the reason.
CreatedExportFile createExportFile(const std::string& path, Prompter& prompter);

// Why path would not be a file directly inside location: it leaves it (by
// its name, or as a symbolic link to a file elsewhere) or it is something
// other than a regular file. Empty when it is fine.
std::string exportPathRefusal(const std::string& location, const std::string& path);

// Opens the file as createExportFile does, once exportPathRefusal found
// nothing to refuse (a refusal is told to the user); when it cannot be,
// notes the file as skipped in the report and gives none. In a source format
// every path of exportFormatPaths is checked and opened.
std::optional<ExportFile> openExportFile(const std::string& location, const std::string& path, Prompter& prompter,
                                         ExportReport& report, ExportFormat format = ExportFormat::Binary);

// The path that messages name for the binary file at path: the source file
// in a source format.
std::string shownExportPath(const std::string& path, ExportFormat format);

// Notes every file of file as not written, for reason.
void skipExportFile(const ExportFile& file, const std::string& reason, ExportReport& report);

// When checkExportNames refuses the page's prefix or suffix: tells the user,
// notes the page as skipped and returns true.
bool refuseExportNames(ExportPage page, const std::string& prefix, const std::string& suffix, Prompter& prompter,
                       ExportReport& report);

// Commits the file and notes the outcome of each of its paths; a file that
// cannot be written is reported to the user with "Unable to write file %s"
// and the reason, and the files after it are not written.
bool commitExportFile(ExportFile& file, Prompter& prompter, ExportReport& report);

} // namespace qm
