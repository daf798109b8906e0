#pragma once
// Whole-file reading and crash-safe writing.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

// NotRegular: a directory, FIFO, device or socket, refused before it is opened
// for reading, so that nothing can block on it.
enum class ReadStatus { Ok, CannotOpen, TooLarge, NotRegular };

// The outcome of a read, with the operating system's error number when the
// file could not be opened or read.
struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    int error = 0;
    operator ReadStatus() const { return status; }
};

inline constexpr const char* MSG_NOT_REGULAR_FILE = "%s is not a regular file";

// Reads the whole file; refuses files larger than maxBytes without reading them.
ReadResult readWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                         std::uintmax_t maxBytes = std::uintmax_t(1) << 31);
// Reads the first maxBytes of the file (all of a shorter one).
ReadResult readFileStart(const std::string& path, std::vector<std::uint8_t>& out, std::size_t maxBytes);
// The size of a regular file that can be opened for reading.
ReadResult readableFileSize(const std::string& path, std::uint64_t& size);

// The message for a read that failed: "%s is not a regular file" for a file
// that is not one, else text followed by the operating system's reason.
std::string readFailureText(const ReadResult& result, const std::string& path, const std::string& text);

// text followed by the operating system's reason for error (none for 0):
// "Unable to create file x: No space left on device"; a text that ends a
// sentence gets the reason as a sentence of its own.
std::string withOsReason(const std::string& text, int error);

// The outcome of a write: 0 or the operating system's error number.
struct WriteResult {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// One file written crash-safely, piece by piece: open, write any number of
// times, commit. Until commit the target keeps its old contents; a file that
// is destroyed or discarded without commit leaves nothing behind.
//
// A symbolic link is followed to its final target, which is replaced. A FIFO
// or a character or block device is written directly and never replaced.
// Anything else is written to a temporary file in the target's directory,
// flushed to disk and renamed over the target; where the file system allows,
// the temporary has no name until commit, so that a killed program leaves
// nothing. Named temporaries are ".<name>.qmtmp-<pid>-<6 characters>"; those
// of processes that no longer run are removed before the first write into a
// directory. An existing read-only file is replaced (its owner write
// permission is added); the other permission bits are kept.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(const std::string& path);
    bool write(std::span<const std::uint8_t> bytes);
    // Puts the bytes in place of the target. The file is closed either way.
    bool commit();
    // Drops everything written; the target stays as it was.
    void discard();

    // 0, or the error number of the first failure.
    int error() const { return error_; }

private:
    bool fail(int error);

    int fd_ = -1;
    int error_ = 0;
    bool direct_ = false;     // a FIFO or device, written in place
    bool unnamed_ = false;    // the temporary has no name yet
    std::string target_;      // the file replaced on commit
    std::string tempPath_;    // the named temporary, if any
    std::uint32_t mode_ = 0;  // permissions the target gets
    std::size_t written_ = 0;
    std::size_t failAfter_ = SIZE_MAX; // simulated full disk
    int failStage_ = -1;               // simulated failure at Sync or Rename
};

// Writes the bytes crash-safely through AtomicFile.
WriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Copies a file, replacing the target the same crash-safe way.
WriteResult copyFileAtomically(const std::string& from, const std::string& to);

// Follows symbolic links from path to the file they finally name (which need
// not exist). path itself when it is no link; nullopt for a loop.
std::optional<std::string> finalLinkTarget(const std::string& path);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// path without the extension of its file name: "maps/level.qmm" gives
// "maps/level"; "short/ab", "my.dir/map" and ".hidden" stay whole.
std::string pathWithoutExtension(const std::string& path);

// A path that begins with a Windows drive letter ("C:"). None exists here.
bool isDrivePath(const std::string& path);

// Hooks for tests.
// Where a simulated failure strikes inside a crash-safe write: creating the
// temporary file, writing its bytes (as a full disk would), flushing it to
// disk, or renaming it over the target. The failure reports ENOSPC for Data
// and EIO for the others.
enum class WriteStage { Create, Data, Sync, Rename };
struct SimulatedWriteFailure {
    int filesBefore = 0;       // this many crash-safe writes succeed first
    WriteStage stage = WriteStage::Data;
    std::size_t afterBytes = 0; // Data: bytes of the temporary file written before it fails
};
// Arms one failure; it resets itself once it struck.
void simulateWriteFailure(const SimulatedWriteFailure& failure);
// The next crash-safe write fails after this many bytes.
void simulateWriteFailureAfter(std::size_t bytes);
// Disarms a failure that has not struck yet.
void clearSimulatedWriteFailure();
// Every write to the disk then takes at most this many bytes at a time, as
// a write interrupted by a signal would; 0 goes back to normal.
void simulateShortWrites(std::size_t maxBytesPerWrite);
// Called at every stage of every crash-safe write, with the bytes written so
// far: after the temporary was made, after each piece of data, before the
// flush and before the rename. Empty turns it off.
void setWriteStageHook(std::function<void(WriteStage, std::size_t)> hook);
// Off: temporaries are named from the start, as on file systems that have no
// unnamed ones.
void useUnnamedTemporaries(bool on);

} // namespace qm
