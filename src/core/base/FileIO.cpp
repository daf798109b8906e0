#include "core/base/FileIO.h"

#include "core/base/Format.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace qm {

namespace {

std::optional<SimulatedWriteFailure> g_failure;
std::size_t g_maxWrite = 0;
std::function<void(WriteStage, std::size_t)> g_hook;
bool g_unnamedTemporaries = true;

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

void stage(WriteStage s, std::size_t written)
{
    if (g_hook)
        g_hook(s, written);
}

// ---- Reading ------------------------------------------------------------------

// Opens a regular file for reading. Anything else is refused before it is
// opened, and opening never waits (a FIFO swapped in meanwhile is refused too).
ReadResult openRegular(const std::string& path, int& fd, struct stat& st)
{
    fd = -1;
    if (path.empty())
        return {ReadStatus::CannotOpen, ENOENT};
    if (::stat(path.c_str(), &st) != 0)
        return {ReadStatus::CannotOpen, errno};
    if (!S_ISREG(st.st_mode))
        return {ReadStatus::NotRegular, 0};
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {ReadStatus::CannotOpen, errno};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fd = -1;
        return {ReadStatus::NotRegular, 0};
    }
    return {};
}

// Reads up to out.size() bytes; out keeps what was read.
ReadResult readInto(int fd, std::vector<std::uint8_t>& out)
{
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return {ReadStatus::CannotOpen, error};
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    out.resize(got);
    return {};
}

// ---- Writing ------------------------------------------------------------------

constexpr std::string_view TEMP_MARK = ".qmtmp-";

// A name for a temporary of target in dir that no other live process uses:
// ".<target>.qmtmp-<pid>-<6 characters>".
std::string temporaryName(const std::string& dir, const std::string& target)
{
    static std::atomic<std::uint64_t> counter{static_cast<std::uint64_t>(::time(nullptr)) * 7919u};
    static const char DIGITS[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::uint64_t n = ++counter;
    std::string tail(6, '0');
    for (char& c : tail) {
        c = DIGITS[n % 62];
        n /= 62;
    }
    // Keep the whole name within the usual limit of 255 bytes.
    const std::string shown = target.substr(0, 200);
    return dir + "/." + shown + std::string(TEMP_MARK) + std::to_string(::getpid()) + "-" + tail;
}

// The process id in a temporary's name, or 0 when the name is none of ours.
pid_t temporaryOwner(const std::string& name)
{
    const size_t mark = name.rfind(TEMP_MARK);
    if (name.empty() || name[0] != '.' || mark == std::string::npos)
        return 0;
    const size_t digits = mark + TEMP_MARK.size();
    const size_t dash = name.find('-', digits);
    if (dash == std::string::npos || dash == digits || dash - digits > 9 || name.size() != dash + 7)
        return 0;
    pid_t pid = 0;
    for (size_t i = digits; i < dash; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    for (size_t i = dash + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return 0;
    return pid;
}

// Removes the temporaries left in dir by our processes that were killed.
// Once a directory for the life of the process, so that an export of
// thousands of files does not read its directory again for every one.
void removeStaleTemporaries(const std::string& dir)
{
    static std::mutex lock;
    static std::set<std::string> cleaned;
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (!cleaned.insert(dir).second)
            return;
    }
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t owner = temporaryOwner(name);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

std::uint32_t modeForNewFile()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the unnamed temporary fd a name in dir; returns 0 or the error.
int linkUnnamed(int fd, const std::string& dir, const std::string& target, std::string& linked)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryName(dir, target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
            linked = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

} // namespace

void simulateWriteFailure(const SimulatedWriteFailure& failure) { g_failure = failure; }
void simulateWriteFailureAfter(std::size_t bytes) { g_failure = SimulatedWriteFailure{0, WriteStage::Data, bytes}; }
void clearSimulatedWriteFailure() { g_failure.reset(); }
void simulateShortWrites(std::size_t maxBytesPerWrite) { g_maxWrite = maxBytesPerWrite; }
void setWriteStageHook(std::function<void(WriteStage, std::size_t)> hook) { g_hook = std::move(hook); }
void useUnnamedTemporaries(bool on) { g_unnamedTemporaries = on; }

ReadResult readWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::uintmax_t maxBytes)
{
    int fd = -1;
    struct stat st {};
    const ReadResult opened = openRegular(path, fd, st);
    if (opened != ReadStatus::Ok)
        return opened;
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > maxBytes) {
        ::close(fd);
        return {ReadStatus::TooLarge, 0};
    }
    out.resize(static_cast<size_t>(size));
    return readInto(fd, out);
}

ReadResult readFileStart(const std::string& path, std::vector<std::uint8_t>& out, std::size_t maxBytes)
{
    int fd = -1;
    struct stat st {};
    const ReadResult opened = openRegular(path, fd, st);
    if (opened != ReadStatus::Ok)
        return opened;
    std::vector<std::uint8_t> bytes(std::min<std::uintmax_t>(maxBytes, static_cast<std::uintmax_t>(st.st_size)));
    const ReadResult read = readInto(fd, bytes);
    if (read == ReadStatus::Ok)
        out = std::move(bytes);
    return read;
}

ReadResult readableFileSize(const std::string& path, std::uint64_t& size)
{
    int fd = -1;
    struct stat st {};
    const ReadResult opened = openRegular(path, fd, st);
    if (opened == ReadStatus::Ok) {
        ::close(fd);
        size = static_cast<std::uint64_t>(st.st_size);
    }
    return opened;
}

std::string readFailureText(const ReadResult& result, const std::string& path, const std::string& text)
{
    if (result.status == ReadStatus::NotRegular)
        return formatText(MSG_NOT_REGULAR_FILE, path.c_str());
    return withOsReason(text, result.error);
}

std::string withOsReason(const std::string& text, int error)
{
    if (error == 0)
        return text;
    const std::string reason = std::strerror(error);
    if (!text.empty() && text.back() == '.')
        return text + " " + reason + ".";
    return text + ": " + reason;
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::fail(int error)
{
    if (error_ == 0)
        error_ = error ? error : EIO;
    return false;
}

bool AtomicFile::open(const std::string& path)
{
    discard();
    error_ = 0;
    written_ = 0;
    failAfter_ = SIZE_MAX;
    failStage_ = -1;
    if (const std::optional<SimulatedWriteFailure> f = takeSimulatedFailure()) {
        if (f->stage == WriteStage::Create)
            return fail(EIO);
        if (f->stage == WriteStage::Data)
            failAfter_ = f->afterBytes;
        else
            failStage_ = static_cast<int>(f->stage);
    }

    const std::optional<std::string> target = finalLinkTarget(path);
    if (!target)
        return fail(ELOOP);
    target_ = *target;
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        // A FIFO or a device takes the bytes as they come; it is never replaced.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            return fail(errno);
        direct_ = true;
        return true;
    }

    const fs::path t(target_);
    const std::string name = t.filename().string();
    if (name.empty() || name == "." || name == "..")
        return fail(EISDIR);
    std::string dir = t.parent_path().string();
    if (dir.empty())
        dir = ".";
    removeStaleTemporaries(dir);
    mode_ = exists ? ((st.st_mode & 07777) | S_IWUSR) : modeForNewFile();

    // The unnamed file gets its name at the end through /proc.
    static const bool canLink = ::access("/proc/self/fd", X_OK) == 0;
    if (g_unnamedTemporaries && canLink) {
        fd_ = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        unnamed_ = fd_ >= 0;
    }
    for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
        tempPath_ = temporaryName(dir, name);
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd_ < 0) {
            const int error = errno;
            tempPath_.clear();
            if (error != EEXIST)
                return fail(error);
        }
    }
    if (fd_ < 0)
        return fail(EEXIST);
    stage(WriteStage::Create, 0);
    return true;
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0 || error_)
        return fail(EBADF);
    size_t limit = bytes.size();
    bool full = false;
    if (failAfter_ != SIZE_MAX && written_ + limit > failAfter_) {
        limit = failAfter_ - std::min(written_, failAfter_);
        full = true;
    }
    size_t done = 0;
    while (done < limit) {
        const size_t chunk = g_maxWrite ? std::min(g_maxWrite, limit - done) : limit - done;
        const ssize_t n = ::write(fd_, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += static_cast<size_t>(n);
        written_ += static_cast<size_t>(n);
        stage(WriteStage::Data, written_);
    }
    if (full)
        return fail(ENOSPC);
    return true;
}

bool AtomicFile::commit()
{
    if (fd_ < 0 || error_) {
        discard();
        return fail(EBADF);
    }
    if (direct_) {
        const int closed = ::close(fd_);
        fd_ = -1;
        direct_ = false;
        return closed == 0 || fail(errno);
    }
    const std::string dir = fs::path(target_).parent_path().string();
    stage(WriteStage::Sync, written_);
    if (failStage_ == static_cast<int>(WriteStage::Sync))
        fail(EIO);
    else if (::fsync(fd_) != 0 || ::fchmod(fd_, static_cast<mode_t>(mode_)) != 0)
        fail(errno);
    else if (unnamed_) {
        if (const int error = linkUnnamed(fd_, dir.empty() ? "." : dir, fs::path(target_).filename().string(),
                                          tempPath_))
            fail(error);
        unnamed_ = false;
    }
    if (::close(fd_) != 0)
        fail(errno);
    fd_ = -1;
    if (!error_) {
        stage(WriteStage::Rename, written_);
        if (failStage_ == static_cast<int>(WriteStage::Rename))
            fail(EIO);
        else if (std::rename(tempPath_.c_str(), target_.c_str()) != 0)
            fail(errno);
        else
            tempPath_.clear();
    }
    if (error_) {
        discard();
        return false;
    }
    syncDirectory(dir.empty() ? "." : dir);
    return true;
}

void AtomicFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty())
        ::unlink(tempPath_.c_str());
    tempPath_.clear();
    direct_ = unnamed_ = false;
}

WriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    AtomicFile file;
    if (!file.open(path) || !file.write(bytes) || !file.commit())
        return {file.error()};
    return {};
}

WriteResult copyFileAtomically(const std::string& from, const std::string& to)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readWholeFile(from, bytes, std::uintmax_t(1) << 40);
    if (read != ReadStatus::Ok)
        return {read.error ? read.error : EINVAL};
    return writeFileAtomically(to, bytes);
}

std::optional<std::string> finalLinkTarget(const std::string& path)
{
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec)))
            return at;
        const fs::path link = fs::read_symlink(at, ec);
        if (ec)
            return at;
        at = link.is_absolute() ? link.string() : (fs::path(at).parent_path() / link).string();
    }
    return std::nullopt;
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

std::string pathWithoutExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t name = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= name)
        return path;
    return path.substr(0, dot);
}

bool isDrivePath(const std::string& p)
{
    return p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

} // namespace qm
