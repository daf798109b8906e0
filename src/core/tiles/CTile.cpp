#include "core/tiles/CTile.h"

#include <algorithm>
#include <cstring>

namespace qm {

void CTile::setComment(std::string_view text)
{
    const size_t n = std::min<size_t>(text.size(), MAX_COMMENT);
    std::memset(comment, 0, sizeof comment);
    std::memcpy(comment, text.data(), n);
    // A NUL inside the text ends the comment, as it would for a C string.
    commentLength = static_cast<std::uint8_t>(std::strlen(comment));
}

void CTile::setPixels(const std::array<std::uint8_t, 64>& source)
{
    pixels = source;
    maskPixels();
}

void CTile::maskPixels()
{
    for (std::uint8_t& p : pixels)
        p &= 3;
}

void CTile::clearContent()
{
    pixels.fill(0);
    std::memset(comment, 0, sizeof comment);
    commentLength = 0;
}

void CTile::scrollUp() { std::rotate(pixels.begin(), pixels.begin() + 8, pixels.end()); }

void CTile::scrollDown() { std::rotate(pixels.begin(), pixels.end() - 8, pixels.end()); }

void CTile::scrollLeft()
{
    for (int y = 0; y < 8; ++y) {
        auto row = pixels.begin() + y * 8;
        std::rotate(row, row + 1, row + 8);
    }
}

void CTile::scrollRight()
{
    for (int y = 0; y < 8; ++y) {
        auto row = pixels.begin() + y * 8;
        std::rotate(row, row + 7, row + 8);
    }
}

bool CTile::sameContent(const CTile& other) const
{
    return attr == other.attr && commentText() == other.commentText() && pixels == other.pixels;
}

} // namespace qm
