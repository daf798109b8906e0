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

// Hook for tests: when set, writeFileAtomically fails after this many bytes
// of the temporary file are written (as a full disk would), then resets itself.
void simulateWriteFailureAfter(std::size_t bytes);

} // namespace qm
