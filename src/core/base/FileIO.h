#pragma once
// Whole-file reading and crash-safe writing.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

enum class ReadStatus { Ok, CannotOpen, TooLarge };

// Reads the whole file; refuses files larger than maxBytes without reading them.
ReadStatus readWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                         std::uintmax_t maxBytes = std::uintmax_t(1) << 31);

// Writes the bytes to a temporary file beside path and renames it over path
// once everything is on disk, so that a failure leaves the old file as it was.
// An existing read-only file is replaced (its owner write permission is added).
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Copies a file, replacing the target the same crash-safe way.
bool copyFileAtomically(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// Hooks for tests.
// Where a simulated failure strikes inside writeFileAtomically: creating the
// temporary file, writing its bytes (as a full disk would), flushing it to
// disk, or renaming it over the target.
enum class WriteStage { Create, Data, Sync, Rename };
struct SimulatedWriteFailure {
    int filesBefore = 0;       // this many calls of writeFileAtomically succeed first
    WriteStage stage = WriteStage::Data;
    std::size_t afterBytes = 0; // Data: bytes of the temporary file written before it fails
};
// Arms one failure; it resets itself once it struck.
void simulateWriteFailure(const SimulatedWriteFailure& failure);
// The next writeFileAtomically fails after this many bytes.
void simulateWriteFailureAfter(std::size_t bytes);
// Disarms a failure that has not struck yet.
void clearSimulatedWriteFailure();
// Every write to the disk then takes at most this many bytes at a time, as
// a write interrupted by a signal would; 0 goes back to normal.
void simulateShortWrites(std::size_t maxBytesPerWrite);

} // namespace qm
