#include "core/base/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace qm {

namespace {
long long g_failAfter = -1;
}

void simulateWriteFailureAfter(std::size_t bytes) { g_failAfter = static_cast<long long>(bytes); }

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
    long long failAfter = g_failAfter;
    g_failAfter = -1;

    const fs::path target(path);
    if (target.filename().empty())
        return false;
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return false;
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(tmpl.data());
    if (fd < 0)
        return false;

    bool ok = true;
    size_t done = 0;
    size_t limit = bytes.size();
    if (failAfter >= 0 && static_cast<size_t>(failAfter) < limit) {
        limit = static_cast<size_t>(failAfter);
        ok = false;
    }
    while (done < limit) {
        ssize_t n = ::write(fd, bytes.data() + done, limit - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0)
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
    if (ok && std::rename(tmpl.c_str(), path.c_str()) != 0)
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
