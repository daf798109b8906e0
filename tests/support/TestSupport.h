#pragma once
// Helpers shared by the test programs: temporary directories, file bytes and
// a builder of file images, prefix sweeps, a prompter that answers from a
// script, and the test data directory.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qm {
struct Workspace;
}

namespace qm::test {

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A FIFO made at path with a thread at its other end that reads everything
// written into it, or writes bytes into it, once the test opens its own end.
// Nothing waits for ever when the test never opens it.
class FifoPeer {
public:
    enum class Role { Reader, Writer };
    FifoPeer(std::string path, Role role, std::vector<std::uint8_t> bytes = {});
    ~FifoPeer();
    // Ends the thread; then what the reader received.
    const std::vector<std::uint8_t>& finish();

private:
    std::string path_;
    Role role_;
    std::vector<std::uint8_t> bytes_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

using Bytes = std::vector<std::uint8_t>;

// Builds a file image field by field, little-endian.
struct ByteBuilder {
    Bytes b;
    ByteBuilder& text(std::string_view s) { b.insert(b.end(), s.begin(), s.end()); return *this; }
    ByteBuilder& u8(int v) { b.push_back(static_cast<std::uint8_t>(v)); return *this; }
    ByteBuilder& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    ByteBuilder& u32(std::uint32_t v) { return u16(int(v & 0xFFFF)).u16(int(v >> 16)); }
    ByteBuilder& str(std::string_view s) { return u32(static_cast<std::uint32_t>(s.size())).text(s); } // length + text
    ByteBuilder& bytes(std::initializer_list<int> list) { for (int v : list) u8(v); return *this; }
};

// A reader must refuse every proper prefix of a whole file and accept the
// whole: the first length at which accepts(prefix) says otherwise, or none.
template <class Accepts>
std::optional<size_t> wrongPrefix(std::span<const std::uint8_t> bytes, Accepts accepts)
{
    for (size_t n = 0; n <= bytes.size(); ++n)
        if (static_cast<bool>(accepts(bytes.first(n))) != (n == bytes.size()))
            return n;
    return std::nullopt;
}

// Changes the current directory for the life of the object.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& dir);
    ~InDirectory();

private:
    std::filesystem::path old_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// The bytes of the file as they are.
inline std::string readText(const std::string& path) { const Bytes b = readBytes(path); return {b.begin(), b.end()}; }
// How many entries dir holds.
long entriesIn(const std::filesystem::path& dir);
// The file names (without directory) of the paths of records such as an export report's files.
template <class Records>
std::vector<std::string> fileNamesOf(const Records& records)
{
    std::vector<std::string> names;
    for (const auto& r : records)
        names.push_back(std::filesystem::path(r.path).filename().string());
    return names;
}
// The CRC-32 of PNG chunks, for tests that damage them by hand.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size);
// A PNG picture of 8-bit RGBA pixels (w x h x 4 bytes, rows from the top).
std::vector<std::uint8_t> rgbaPng(std::uint32_t w, std::uint32_t h, const std::vector<std::uint8_t>& pixels);

std::string dataDir();   // tests/data
std::string samplesDir(); // tests/data/samples
// Copies the sample project of a version ("v5_6") with its tile set files
// into dir; returns the project's path there.
std::string copySample(const TempDir& dir, const std::string& version);
// What Save would write for the workspace: the project file and both tile set files, one after the other.
std::vector<std::uint8_t> savedBytes(const Workspace& ws);
// Writes the project file name into dir: a map of width x height, after edit
// changed the workspace. Returns its path.
std::string writeProjectFile(const TempDir& dir, const std::string& name, int width, int height,
                             const std::function<void(Workspace&)>& edit = {});

// Answers questions in order from a script (then with the fallback), and
// keeps every question and message it was given.
class ScriptedPrompter : public Prompter {
public:
    explicit ScriptedPrompter(std::deque<Answer> answers = {}, Answer fallback = Answer::No)
        : answers_(std::move(answers)), fallback_(fallback)
    {
    }
    Answer ask(const std::string& text, Buttons buttons) override;
    void inform(const std::string& text) override { informed.push_back(text); }
    std::optional<std::string> locateTileSet(std::uint8_t kind, const std::string& oldPath) override;

    std::vector<std::string> questions;
    std::vector<Buttons> questionButtons;
    std::vector<std::string> informed;
    std::deque<std::optional<std::string>> locations; // answers to locateTileSet
    std::vector<std::string> locateRequests;

private:
    std::deque<Answer> answers_;
    Answer fallback_;
};

// Counts what it is told.
class CountingProgress : public Progress {
public:
    void start(const std::string& caption, int total) override
    {
        captions.push_back(caption);
        totals.push_back(total);
        ++open;
    }
    void step() override { ++steps; }
    void end() override { --open; }
    std::vector<std::string> captions;
    std::vector<int> totals;
    int steps = 0;
    int open = 0;
};

} // namespace qm::test
