#pragma once
// Names and full paths of export files.

#include "core/base/Result.h"

#include <string>

namespace qm {

// The three pages of the export dialog.
enum class ExportPage { Map, Tileset, Palette };

// File codes of exportFileName.
inline constexpr int EXPORT_TAG_RLE_HEADER = 0;
inline constexpr int EXPORT_MAP_BG = 1;
inline constexpr int EXPORT_MAP_ATTR_BG = 2;
inline constexpr int EXPORT_PALETTE_BG = 4;
inline constexpr int EXPORT_PALETTE_OBJ = 8;
inline constexpr int EXPORT_BG_MAIN = 16;
inline constexpr int EXPORT_BG_ALT = 32;
inline constexpr int EXPORT_BG_MAIN_ATTR = 64;
inline constexpr int EXPORT_BG_ALT_ATTR = 128;
inline constexpr int EXPORT_OBJ_MAIN = 256;
inline constexpr int EXPORT_OBJ_ALT = 512;
inline constexpr int EXPORT_OBJ_MAIN_ATTR = 1024;
inline constexpr int EXPORT_OBJ_ALT_ATTR = 2048;
inline constexpr int EXPORT_MAP_OBJ = 4096;
inline constexpr int EXPORT_MAP_ATTR_OBJ = 8192;
inline constexpr int EXPORT_TAG = 16384;
inline constexpr int EXPORT_TAG_RLE = 32768;

// prefix + stem + suffix + ".bin" (".hdr" for code 0). For the map data codes
// (1 and 4096) with oneFile false, the preview of the first two split names
// that the export page shows instead. An unknown code gives "".
std::string exportFileName(int code, const std::string& prefix, const std::string& suffix, bool oneFile = true);

// The location, the native separator, then the name. The location is used as
// it is, nothing trimmed or normalised.
std::string exportPath(const std::string& location, const std::string& name);

// Everything before the last separator of path ("" when there is none).
std::string exportDirectoryOf(const std::string& path);

// A prefix or suffix with "/", "\\", ".." or a drive letter ("C:") in it
// could put a file outside the page's location: refused with "The map prefix
// '../x' would write outside the export location."
Result checkExportNames(ExportPage page, const std::string& prefix, const std::string& suffix);

} // namespace qm
