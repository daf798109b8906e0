#pragma once
// The outside packer "ppibm" that the tile set export can pass its tile data
// files through. It is looked for in the compressor directory as "ppibm.exe"
// and "ppibm.pif"; "ppibm.pif" is the program run, as
//   <dir>/ppibm.pif p -m2 <dir>/temp.bin
// and it is expected to pack the file named on its command line in place.

#include "core/base/Prompter.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

inline constexpr const char* MSG_NO_PPIBM_EXE =
    "Can not find PPIbm.exe compression program. Make you have copied ppibm.exe & ppibm.pif into you Windows "
    "directory.";
inline constexpr const char* MSG_NO_PPIBM_PIF =
    "Can not find PPIbm.pif file to execute compress. Make you have this file in the directory same as "
    "Pixelwright.exe";
inline constexpr const char* MSG_PPIBM_NOT_STARTED = "Unable to create Ppibm(compression) process";
inline constexpr const char* MSG_PPIBM_FAILED = "Ppibm(compression) process failed, %s was not made.";

// The directory named by QUILTMARK_COMPRESSOR_DIR, else setting (the editor's
// "CompressorDir"), else the directory of the running program.
std::string compressorDirectory(const std::string& setting = {});

// Both files present; otherwise the message to show for the first one missing.
bool compressorPresent(const std::string& dir, std::string& message);

// Packs bytes through the compressor in dir: they are written to
// dir/temp.bin, the packer is run on it and what it leaves there is the
// result; temp.bin is removed afterwards. None when that fails: the message,
// which names packedPath (the file that then is not made), went to the
// prompter and into reason.
std::optional<std::vector<std::uint8_t>> runCompressor(const std::string& dir, std::span<const std::uint8_t> bytes,
                                                       const std::string& packedPath, Prompter& prompter,
                                                       std::string& reason);

// binPath without its last three characters, followed by "rnc".
std::string packedPathFor(const std::string& binPath);

} // namespace qm
