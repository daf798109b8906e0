#include "core/project/Recovery.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"
#include "core/base/FileIO.h"
#include "core/base/Fnv.h"
#include "core/base/Format.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view MANIFEST_MAGIC = "Quilt Mark recovery 1\n";
constexpr const char* MANIFEST = "manifest";
constexpr const char* LOCK = "lock";
constexpr std::size_t MAX_MANIFEST = 1 << 20;
constexpr std::size_t MAX_FILE = std::size_t(1) << 31;

// The three files of a generation, in the manifest's order.
enum { FILE_PROJECT, FILE_BG, FILE_OBJ, FILE_COUNT };

std::string fileName(int file, std::uint32_t generation)
{
    static constexpr std::array<const char*, FILE_COUNT> stems{"project-", "bg-", "obj-"};
    static constexpr std::array<const char*, FILE_COUNT> exts{".qmm", ".qmb", ".qmo"};
    return stems[static_cast<std::size_t>(file)] + std::to_string(generation) + exts[static_cast<std::size_t>(file)];
}

std::string join(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

struct Manifest {
    RecoveryCopy copy;
    std::string locations[3]; // map, tile set and palette export locations
    std::array<std::uint32_t, FILE_COUNT> sizes{};
    std::array<std::uint64_t, FILE_COUNT> hashes{};
};

void putText(ByteWriter& w, const std::string& s)
{
    w.u32(static_cast<std::uint32_t>(s.size()));
    w.text(s);
}

bool getText(ByteReader& r, std::string& out)
{
    std::uint32_t n = 0;
    return r.u32(n) && n <= r.remaining() && r.text(out, n);
}

void putU64(ByteWriter& w, std::uint64_t v)
{
    w.u32(static_cast<std::uint32_t>(v));
    w.u32(static_cast<std::uint32_t>(v >> 32));
}

bool getU64(ByteReader& r, std::uint64_t& v)
{
    std::uint32_t lo = 0, hi = 0;
    if (!r.u32(lo) || !r.u32(hi))
        return false;
    v = std::uint64_t(hi) << 32 | lo;
    return true;
}

// The manifest: its fields, then the checksum of all bytes before it.
std::vector<std::uint8_t> encodeManifest(const Manifest& m)
{
    ByteWriter w;
    w.text(MANIFEST_MAGIC);
    w.u32(m.copy.generation);
    putU64(w, static_cast<std::uint64_t>(m.copy.time));
    for (const std::string* s : {&m.copy.projectPath, &m.copy.bgTileSetPath, &m.copy.objTileSetPath, &m.locations[0],
                                 &m.locations[1], &m.locations[2]})
        putText(w, *s);
    for (int f = 0; f < FILE_COUNT; ++f) {
        w.u32(m.sizes[static_cast<std::size_t>(f)]);
        putU64(w, m.hashes[static_cast<std::size_t>(f)]);
    }
    putU64(w, fnv1a64(w.data()));
    return w.take();
}

bool decodeManifest(std::span<const std::uint8_t> bytes, Manifest& m)
{
    if (bytes.size() < 8)
        return false;
    ByteReader r(bytes);
    std::uint64_t time = 0, sum = 0;
    if (!r.match(MANIFEST_MAGIC) || !r.u32(m.copy.generation) || !getU64(r, time))
        return false;
    m.copy.time = static_cast<std::int64_t>(time);
    for (std::string* s : {&m.copy.projectPath, &m.copy.bgTileSetPath, &m.copy.objTileSetPath, &m.locations[0],
                           &m.locations[1], &m.locations[2]})
        if (!getText(r, *s))
            return false;
    for (int f = 0; f < FILE_COUNT; ++f)
        if (!r.u32(m.sizes[static_cast<std::size_t>(f)]) || !getU64(r, m.hashes[static_cast<std::size_t>(f)]))
            return false;
    const std::size_t summed = r.position();
    return getU64(r, sum) && r.atEnd() && m.copy.generation > 0 && sum == fnv1a64(bytes.first(summed));
}

std::optional<Manifest> readManifest(const std::string& folder)
{
    std::vector<std::uint8_t> bytes;
    if (readWholeFile(join(folder, MANIFEST), bytes, MAX_MANIFEST) != ReadStatus::Ok)
        return std::nullopt;
    Manifest m;
    if (!decodeManifest(bytes, m))
        return std::nullopt;
    m.copy.folder = folder;
    return m;
}

// True while the editor that owns the folder runs: it holds the lock.
bool ownerRuns(const std::string& folder)
{
    const int fd = ::open(join(folder, LOCK).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool runs = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::flock(fd, LOCK_UN);
    } else if (errno == EWOULDBLOCK) {
        runs = true;
    } else {
        // No locks on this file system: the process named in the file decides.
        char text[32] = {};
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        const long pid = n > 0 ? std::strtol(text, nullptr, 10) : 0;
        runs = pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    }
    ::close(fd);
    return runs;
}

std::string projectName(const RecoveryCopy& copy)
{
    return copy.projectPath.empty() ? std::string("Untitled") : copy.projectPath;
}

// Moves a damaged copy into root/damaged; the folder it is kept in.
std::string putAside(const std::string& folder)
{
    const fs::path from(folder);
    const fs::path aside = from.parent_path() / RECOVERY_DAMAGED_FOLDER;
    std::error_code ec;
    fs::create_directories(aside, ec);
    fs::path to = aside / from.filename();
    for (int n = 1; fs::exists(to, ec); ++n)
        to = aside / (from.filename().string() + "-" + std::to_string(n));
    fs::rename(from, to, ec);
    return ec ? folder : to.string();
}

std::string damagedMessage(const std::string& name, const std::string& keptIn)
{
    return formatText(MSG_RECOVERY_DAMAGED, name.c_str(), keptIn.c_str());
}

void removeOtherGenerations(const std::string& folder, std::uint32_t keep)
{
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name == MANIFEST || name == LOCK)
            continue;
        bool kept = false;
        for (int f = 0; f < FILE_COUNT; ++f)
            kept = kept || name == fileName(f, keep);
        if (!kept)
            fs::remove(e.path(), ec);
    }
}

} // namespace

// ---- the writer ----------------------------------------------------------

RecoveryWriter::RecoveryWriter(std::string root) : root_(std::move(root)) {}

RecoveryWriter::~RecoveryWriter() { unlock(); }

void RecoveryWriter::unlock()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

bool RecoveryWriter::lockFolder(const std::string& folder)
{
    const int fd = ::open(join(folder, LOCK).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        errno = EWOULDBLOCK;
        return false;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    unlock();
    lockFd_ = fd;
    folder_ = folder;
    return true;
}

bool RecoveryWriter::makeFolder()
{
    std::error_code ec;
    fs::create_directories(root_, ec);
    const std::string stem = std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr));
    for (int n = 0; n < 1000; ++n) {
        const fs::path folder = fs::path(root_) / (n == 0 ? stem : stem + "-" + std::to_string(n));
        if (fs::create_directory(folder, ec))
            return lockFolder(folder.string());
        if (ec)
            break;
    }
    if (ec)
        errno = ec.value();
    return false;
}

Result RecoveryWriter::write(const Workspace& ws, std::int64_t time)
{
    const auto failed = [](int error) { return Result::failure(withOsReason(MSG_RECOVERY_WRITE_FAILED, error)); };
    if (folder_.empty() && !makeFolder())
        return failed(errno);
    const ProjectState& st = ws.project;
    Manifest m;
    m.copy = RecoveryCopy{folder_, st.projectPath, st.bgTileSetPath, st.objTileSetPath, time, generation_ + 1};
    m.locations[0] = st.exportSettings.mapLocation;
    m.locations[1] = st.exportSettings.tilesetLocation;
    m.locations[2] = st.exportSettings.paletteLocation;
    NullProgress none;
    const std::array<std::vector<std::uint8_t>, FILE_COUNT> files{
        encodeProject(ws, none), encodeTileSetFile(ws.tiles, TILE_BG), encodeTileSetFile(ws.tiles, TILE_OBJ)};
    for (int f = 0; f < FILE_COUNT; ++f) {
        const std::vector<std::uint8_t>& bytes = files[static_cast<std::size_t>(f)];
        if (bytes.size() > MAX_FILE)
            return failed(EFBIG);
        m.sizes[static_cast<std::size_t>(f)] = static_cast<std::uint32_t>(bytes.size());
        m.hashes[static_cast<std::size_t>(f)] = fnv1a64(bytes);
        if (const WriteResult w = writeFileAtomically(join(folder_, fileName(f, m.copy.generation)), bytes); !w) {
            removeOtherGenerations(folder_, generation_);
            return failed(w.error);
        }
    }
    // The manifest last: until it is in place the copy before stays whole.
    if (const WriteResult w = writeFileAtomically(join(folder_, MANIFEST), encodeManifest(m)); !w) {
        removeOtherGenerations(folder_, generation_);
        return failed(w.error);
    }
    generation_ = m.copy.generation;
    removeOtherGenerations(folder_, generation_);
    return Result::success();
}

void RecoveryWriter::remove()
{
    if (folder_.empty())
        return;
    std::error_code ec;
    fs::remove_all(folder_, ec);
    unlock();
    folder_.clear();
    generation_ = 0;
}

bool RecoveryWriter::adopt(const RecoveryCopy& copy)
{
    if (folder_ == copy.folder)
        return true;
    if (!lockFolder(copy.folder))
        return false;
    generation_ = copy.generation;
    return true;
}

// ---- finding and opening copies --------------------------------------------

std::vector<RecoveryCopy> findRecoveryCopies(const std::string& root, std::vector<std::string>* damaged)
{
    std::vector<RecoveryCopy> found;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(root, ec)) {
        const std::string folder = e.path().string();
        if (!e.is_directory(ec) || e.path().filename() == RECOVERY_DAMAGED_FOLDER || ownerRuns(folder))
            continue;
        if (!fs::exists(e.path() / MANIFEST, ec)) {
            fs::remove_all(e.path(), ec);
            continue;
        }
        if (const std::optional<Manifest> m = readManifest(folder)) {
            found.push_back(m->copy);
            continue;
        }
        // Whose work it holds is unknown: the folder names it.
        const std::string keptIn = putAside(folder);
        if (damaged)
            damaged->push_back(damagedMessage(folder, keptIn));
    }
    std::sort(found.begin(), found.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time < b.time; });
    return found;
}

std::string recoveryQuestion(const RecoveryCopy& copy)
{
    const std::time_t t = static_cast<std::time_t>(copy.time);
    std::tm local{};
    char when[64] = "?";
    if (::localtime_r(&t, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    return formatText(MSG_RECOVER_QUESTION, projectName(copy).c_str(), when);
}

Result openRecoveryCopy(const RecoveryCopy& copy, Workspace& ws, Progress& progress)
{
    const auto damagedCopy = [&copy] {
        return Result::failure(damagedMessage(projectName(copy), putAside(copy.folder)));
    };
    const std::optional<Manifest> m = readManifest(copy.folder);
    if (!m || m->copy.generation != copy.generation)
        return damagedCopy();
    std::array<std::vector<std::uint8_t>, FILE_COUNT> files;
    for (int f = 0; f < FILE_COUNT; ++f) {
        std::vector<std::uint8_t>& bytes = files[static_cast<std::size_t>(f)];
        if (readWholeFile(join(copy.folder, fileName(f, copy.generation)), bytes, MAX_FILE) != ReadStatus::Ok ||
            bytes.size() != m->sizes[static_cast<std::size_t>(f)] ||
            fnv1a64(bytes) != m->hashes[static_cast<std::size_t>(f)])
            return damagedCopy();
    }
    auto data = std::make_unique<ProjectFileData>();
    auto bg = std::make_unique<TileSetFileData>();
    auto obj = std::make_unique<TileSetFileData>();
    if (!parseProjectFile(files[FILE_PROJECT], ws.project.exportSettings, *data, progress) || !data->hasExportBlock ||
        !decodeTileSetFile(files[FILE_BG], TILE_BG, *bg) || !decodeTileSetFile(files[FILE_OBJ], TILE_OBJ, *obj))
        return damagedCopy();

    // All of it was good: take it over.
    ProjectState& st = ws.project;
    st.projectPath = m->copy.projectPath;
    st.projectDir = st.projectPath.empty() ? std::string() : directoryOf(st.projectPath);
    st.bgTileSetPath = m->copy.bgTileSetPath;
    st.objTileSetPath = m->copy.objTileSetPath;
    st.map = std::move(data->map);
    st.exportSettings = std::move(data->exportSettings);
    st.exportSettings.mapLocation = m->locations[0];
    st.exportSettings.tilesetLocation = m->locations[1];
    st.exportSettings.paletteLocation = m->locations[2];
    ws.colours = data->colours;
    ws.tiles.tag = data->tags;
    applyTileSetFile(ws.tiles, TILE_BG, std::move(*bg));
    applyTileSetFile(ws.tiles, TILE_OBJ, std::move(*obj));
    st.changeFlags = 0;
    st.setChanged(CHANGED_MAP | CHANGED_PROJECT | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES);
    return Result::success();
}

void discardRecoveryCopy(const RecoveryCopy& copy)
{
    std::error_code ec;
    fs::remove_all(copy.folder, ec);
}

} // namespace qm
