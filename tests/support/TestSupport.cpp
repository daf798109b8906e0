#include "support/TestSupport.h"

#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <spng.h>
#include <unistd.h>

namespace qm::test {

TempDir::TempDir()
{
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("qmtest-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Read-only files and directories made by tests must not stop the cleanup.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

FifoPeer::FifoPeer(std::string path, Role role, std::vector<std::uint8_t> bytes)
    : path_(std::move(path)), role_(role), bytes_(std::move(bytes))
{
    if (::mkfifo(path_.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make a FIFO");
    thread_ = std::thread([this] {
        if (const int fd = ::open(path_.c_str(), role_ == Role::Reader ? O_RDONLY : O_WRONLY); fd >= 0) {
            std::uint8_t chunk[4096];
            if (role_ == Role::Writer && ::write(fd, bytes_.data(), bytes_.size()) < 0)
                bytes_.clear();
            for (ssize_t n; role_ == Role::Reader && (n = ::read(fd, chunk, sizeof chunk)) > 0;)
                bytes_.insert(bytes_.end(), chunk, chunk + n);
            ::close(fd);
        }
        done_ = true;
    });
}

const std::vector<std::uint8_t>& FifoPeer::finish()
{
    if (!thread_.joinable())
        return bytes_;
    // Opening our end without waiting releases a thread still waiting in open;
    // a writing end opens only once the reader waits there.
    int fd = -1;
    while (!done_ && (fd = ::open(path_.c_str(), (role_ == Role::Reader ? O_WRONLY : O_RDONLY) | O_NONBLOCK)) < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (role_ == Role::Reader && fd >= 0)
        ::close(fd); // the reader sees the end at once
    thread_.join();
    if (role_ == Role::Writer && fd >= 0)
        ::close(fd);
    return bytes_;
}

FifoPeer::~FifoPeer() { finish(); }

InDirectory::InDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path())
{
    std::filesystem::current_path(dir);
}

InDirectory::~InDirectory() { std::filesystem::current_path(old_); }

std::vector<std::uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<std::uint8_t> rgbaPng(std::uint32_t w, std::uint32_t h, const std::vector<std::uint8_t>& pixels)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{w, h, 8, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 0, 0, 0};
    spng_set_ihdr(ctx, &ihdr);
    std::size_t size = 0;
    int error = spng_encode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    auto* png = static_cast<std::uint8_t*>(error ? nullptr : spng_get_png_buffer(ctx, &size, &error));
    spng_ctx_free(ctx);
    if (!png)
        throw std::runtime_error("cannot encode the test picture");
    std::vector<std::uint8_t> bytes(png, png + size);
    std::free(png);
    return bytes;
}

std::string dataDir() { return QM_TEST_DATA_DIR; }
std::string samplesDir() { return std::string(QM_TEST_DATA_DIR) + "/samples"; }


long entriesIn(const std::filesystem::path& dir)
{
    namespace fs = std::filesystem;
    return static_cast<long>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

std::string writeProjectFile(const TempDir& dir, const std::string& name, int width, int height,
                             const std::function<void(Workspace&)>& edit)
{
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file(name);
    if (!ws->project.map.create(width, height))
        throw std::runtime_error("cannot make the test map");
    if (edit)
        edit(*ws);
    NullProgress quiet;
    if (const Result written = writeProject(*ws, quiet); !written)
        throw std::runtime_error(written.text());
    return ws->project.projectPath;
}

std::vector<std::uint8_t> savedBytes(const Workspace& ws)
{
    NullProgress none;
    std::vector<std::uint8_t> all = encodeProject(ws, none);
    for (TileKind kind : {TILE_BG, TILE_OBJ}) {
        const std::vector<std::uint8_t> set = encodeTileSetFile(ws.tiles, kind);
        all.insert(all.end(), set.begin(), set.end());
    }
    return all;
}

std::string copySample(const TempDir& dir, const std::string& version)
{
    for (const auto& entry : std::filesystem::directory_iterator(samplesDir() + "/" + version))
        std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
    return dir.file(version + ".qmm");
}

Answer ScriptedPrompter::ask(const std::string& text, Buttons buttons)
{
    questions.push_back(text);
    questionButtons.push_back(buttons);
    if (answers_.empty())
        return fallback_;
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::string> ScriptedPrompter::locateTileSet(std::uint8_t, const std::string& oldPath)
{
    locateRequests.push_back(oldPath);
    if (locations.empty())
        return std::nullopt;
    auto answer = locations.front();
    locations.pop_front();
    return answer;
}

} // namespace qm::test
