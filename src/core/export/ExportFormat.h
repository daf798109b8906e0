#pragma once
// The forms an export file can be written in: the headerless binary file, or
// its bytes as source code for a game's build, so that no converter is needed
// between the export and the compiler.
//
// C: NAME.c holds `const unsigned char NAME[] = { 0x.., };` (16 bytes a line)
// and NAME.h `#define NAME_SIZE n` and the `extern` declaration. Assembly for
// RGBDS: NAME.asm holds `NAME::`, `db $..` lines of 16 bytes and `NAME_End::`,
// NAME.inc `DEF NAME_SIZE EQU n`. NAME is the binary file's name made an
// identifier (sourceSymbolOf). The user's choice is no project setting.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class ExportFormat { Binary, C, Asm };

// "bin", "c", "asm", as the command line and the editor's settings name them.
const char* exportFormatName(ExportFormat format);
std::optional<ExportFormat> exportFormatNamed(std::string_view name);

// The identifier of an export file: its name without ".bin" (any other
// extension stays as "_ext", so that TagRLE.hdr and BG0.rnc do not take the
// names of TagRLE.bin and BG0.bin), every character but a letter, digit or
// "_" made "_", and "_" in front of a leading digit.
std::string sourceSymbolOf(const std::string& fileName);

// The files written for the binary file at binaryPath: the file itself, or
// NAME.c and NAME.h, or NAME.asm and NAME.inc, in its directory. The source
// file comes first: it is written before its header.
std::vector<std::string> exportFormatPaths(const std::string& binaryPath, ExportFormat format);

// Receives the text in pieces; false stops the writing.
using TextSink = std::function<bool(std::span<const std::uint8_t>)>;

// The C or assembly source holding bytes, handed to sink in pieces of about
// 64 KiB (whole lines). False when the sink stopped it.
bool writeSourceText(ExportFormat format, const std::string& symbol, std::span<const std::uint8_t> bytes,
                     const TextSink& sink);
// The header (.h) or include file (.inc) of a source of size bytes.
std::string sourceHeaderText(ExportFormat format, const std::string& symbol, std::size_t size);

} // namespace qm
