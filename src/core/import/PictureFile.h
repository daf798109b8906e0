#pragma once
// Reads a picture to import: a PNG picture (through libspng) or a Windows
// bitmap (through our own reader), told apart by their first bytes.

#include "core/base/Result.h"
#include "core/import/BitmapReader.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_NOT_A_PICTURE = "%s is neither a PNG picture nor a Windows bitmap";

// A picture of more than 32M pixels is refused before it is decoded. PNG
// pixels that are wholly transparent count as black. name is the text the
// messages name the picture by. Failures: MSG_NOT_A_PICTURE, "%s: <what is
// wrong>", and for an indexed bitmap with a table of more than 256 entries
// "Can not import more that 256 color bitmap.".
Result readPicture(std::span<const std::uint8_t> bytes, const std::string& name, BitmapImage& out);

// The same from a file: the file must be a regular file; its reason is
// given when it cannot be read.
Result readPictureFile(const std::string& path, BitmapImage& out);

} // namespace qm
