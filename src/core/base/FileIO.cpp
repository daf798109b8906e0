#include "core/base/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace qm {

namespace {
std::optional<SimulatedWriteFailure> g_failure;
std::size_t g_maxWrite = 0;

// The failure that strikes this call, if any.
std::optional<SimulatedWriteFailure> takeSimulatedFailure()
{
    if (!g_failure)
        return std::nullopt;
    if (g_failure->filesBefore > 0) {
        --g_failure->filesBefore;
        return std::nullopt;
    }
    std::optional<SimulatedWriteFailure> now = g_failure;
    g_failure.reset();
    return now;
}
} // namespace

void simulateWriteFailure(const SimulatedWriteFailure& failure) { g_failure = failure; }
void simulateWriteFailureAfter(std::size_t bytes) { g_failure = SimulatedWriteFailure{0, WriteStage::Data, bytes}; }
void clearSimulatedWriteFailure() { g_failure.reset(); }
void simulateShortWrites(std::size_t maxBytesPerWrite) { g_maxWrite = maxBytesPerWrite; }

ReadStatus readWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::uintmax_t maxBytes)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return ReadStatus::CannotOpen;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return ReadStatus::CannotOpen;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0) {
        std::fclose(f);
        return ReadStatus::CannotOpen;
    }
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > maxBytes) {
        std::fclose(f);
        return ReadStatus::TooLarge;
    }
    out.resize(static_cast<size_t>(size));
    const size_t got = size ? std::fread(out.data(), 1, out.size(), f) : 0;
    const bool error = std::ferror(f) != 0;
    std::fclose(f);
    if (error)
        return ReadStatus::CannotOpen;
    out.resize(got);
    return ReadStatus::Ok;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::optional<SimulatedWriteFailure> fail = takeSimulatedFailure();
    const auto failsAt = [&fail](WriteStage stage) { return fail && fail->stage == stage; };

    const fs::path target(path);
    if (target.filename().empty())
        return false;
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return false;
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    if (failsAt(WriteStage::Create))
        return false;
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(tmpl.data());
    if (fd < 0)
        return false;

    bool ok = true;
    size_t done = 0;
    size_t limit = bytes.size();
    if (failsAt(WriteStage::Data) && fail->afterBytes < limit) {
        limit = fail->afterBytes;
        ok = false;
    }
    while (done < limit) {
        const size_t chunk = g_maxWrite ? std::min(g_maxWrite, limit - done) : limit - done;
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && (failsAt(WriteStage::Sync) || ::fsync(fd) != 0))
        ok = false;

    // Keep the permissions of the file being replaced, plus the owner's write bit.
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = (st.st_mode & 07777) | S_IWUSR;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (ok && ::fchmod(fd, mode) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && (failsAt(WriteStage::Rename) || std::rename(tmpl.c_str(), path.c_str()) != 0))
        ok = false;
    if (!ok)
        ::unlink(tmpl.c_str());
    return ok;
}

bool copyFileAtomically(const std::string& from, const std::string& to)
{
    std::vector<std::uint8_t> bytes;
    if (readWholeFile(from, bytes, std::uintmax_t(1) << 40) != ReadStatus::Ok)
        return false;
    return writeFileAtomically(to, bytes);
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool directoryExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

} // namespace qm
