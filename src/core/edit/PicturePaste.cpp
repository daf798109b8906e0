#include "core/edit/PicturePaste.h"

#include "core/edit/TileFrameEdit.h"

#include <algorithm>
#include <array>

namespace qm {

int picturePasteLines(int width, int height, int firstTile)
{
    const int columns = width / 8;
    const int rows = height / 8;
    if (columns <= 0 || rows <= 0 || firstTile < 0 || firstTile >= TILES_PER_SET)
        return 0;
    const int tileRows = (TILES_PER_SET - firstTile + columns - 1) / columns;
    return std::min(rows, tileRows) * 8;
}

PicturePasteResult pastePicture(TileSet& set, UndoStore& undo, int firstTile, const PictureData& picture)
{
    PicturePasteResult out;
    const int bpp = picture.bitsPerPixel;
    const int lines = picturePasteLines(picture.width, picture.height, firstTile);
    if ((bpp != 8 && bpp != 16 && bpp != 24) || picture.width < 0 || picture.height < 0 ||
        picture.values.size() < static_cast<size_t>(picture.width) * static_cast<size_t>(lines)) {
        out.result = Result::failure(MSG_INVALID_PICTURE);
        return out;
    }
    const int columns = picture.width / 8;
    const int rows = lines / 8;
    if (lines == 0)
        return out;
    const long long lastCovered = static_cast<long long>(firstTile) + static_cast<long long>(columns) * rows - 1;
    const int last = static_cast<int>(std::min<long long>(lastCovered, TILES_PER_SET - 1));
    if (Result r = snapshotTiles(set, undo, firstTile, last, StepName::PastePicture); !r) {
        out.result = r;
        return out;
    }

    // The first four different values met, top row first, become 0..3.
    std::array<std::uint32_t, 4> seen{};
    int distinct = 0;
    for (int y = 0; y < rows * 8 && distinct < 4; ++y) {
        for (int x = 0; x < columns * 8 && distinct < 4; ++x) {
            const std::uint32_t v = picture.values[static_cast<size_t>(y) * picture.width + x];
            if (std::find(seen.begin(), seen.begin() + distinct, v) == seen.begin() + distinct)
                seen[static_cast<size_t>(distinct++)] = v;
        }
    }

    for (int tr = 0; tr < rows; ++tr) {
        for (int tc = 0; tc < columns; ++tc) {
            const int index = firstTile + tr * columns + tc;
            if (index >= TILES_PER_SET)
                goto done;
            CTile& tile = set.tiles[static_cast<size_t>(index)];
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    const std::uint32_t v =
                        picture.values[static_cast<size_t>(tr * 8 + y) * picture.width + tc * 8 + x];
                    const auto it = std::find(seen.begin(), seen.begin() + distinct, v);
                    if (it != seen.begin() + distinct)
                        tile.setPixel(x, y, static_cast<std::uint8_t>(it - seen.begin()));
                }
            }
        }
    }
done:
    out.firstTile = firstTile;
    out.lastTile = last;
    return out;
}

} // namespace qm
