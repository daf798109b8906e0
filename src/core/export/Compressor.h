#pragma once
// The outside packer "ppibm" that the tile set export can pass its tile data
// files through. It is looked for in the compressor directory as "ppibm.exe"
// and "ppibm.pif"; "ppibm.pif" is the program run, as
//   <dir>/ppibm.pif p -m2 <dir>/temp.bin
// and it is expected to pack the file named on its command line in place.

#include "core/base/Prompter.h"
#include "core/export/ExportReport.h"

#include <string>

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

// Packs the file at binPath through the compressor in dir into the name that
// ends in "rnc" instead of its last three characters. The uncompressed file
// stays. Messages go to the prompter; the outcome of the packed file goes into
// the report.
bool runCompressor(const std::string& dir, const std::string& binPath, Prompter& prompter, ExportReport& report);

// binPath without its last three characters, followed by "rnc".
std::string packedPathFor(const std::string& binPath);

} // namespace qm
