#include "core/import/PictureFile.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/base/PngReader.h"
#include "core/import/BitmapImport.h"

namespace qm {

namespace {

// A bitmap of 32M pixels of 32 bits stays below this; a compressed PNG far below.
constexpr std::uintmax_t MAX_PICTURE_FILE = std::uintmax_t(1) << 30;

Result pngPicture(std::span<const std::uint8_t> bytes, const std::string& name, BitmapImage& out)
{
    PngPicture png;
    if (Result r = decodePng(bytes, png); !r)
        return Result::failure(name + ": " + r.text());
    BitmapImage image;
    image.width = png.width;
    image.height = png.height;
    image.pixels.resize(png.rgba.size() / 4);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t* p = png.rgba.data() + i * 4;
        image.pixels[i] = p[3] == 0 ? 0u : (std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
    }
    image.indices = std::move(png.indices);
    out = std::move(image);
    return Result::success();
}

} // namespace

Result readPicture(std::span<const std::uint8_t> bytes, const std::string& name, BitmapImage& out)
{
    if (hasPngSignature(bytes))
        return pngPicture(bytes, name, out);
    BitmapImage image;
    switch (decodeBitmap(bytes, image)) {
    case BitmapReadStatus::Ok:
        out = std::move(image);
        return Result::success();
    case BitmapReadStatus::TooManyColours:
        return Result::failure(MSG_BITMAP_TOO_MANY_COLOURS);
    case BitmapReadStatus::Damaged:
        return Result::failure(name + ": the bitmap is damaged or of a kind that cannot be read");
    case BitmapReadStatus::NotBitmap:
        break;
    }
    return Result::failure(formatText(MSG_NOT_A_PICTURE, name.c_str()));
}

Result readPictureFile(const std::string& path, BitmapImage& out)
{
    std::vector<std::uint8_t> bytes;
    if (const ReadResult read = readWholeFile(path, bytes, MAX_PICTURE_FILE); read != ReadStatus::Ok)
        return Result::failure(read == ReadStatus::TooLarge
                                   ? formatText("%s is too large to be a picture", path.c_str())
                                   : readFailureText(read, path, formatText("Unable to open file %s", path.c_str())));
    return readPicture(bytes, path, out);
}

} // namespace qm
