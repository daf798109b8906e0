#include "core/edit/TypeIn.h"

namespace qm {

std::optional<int> typeInOffset(int keyCode)
{
    if (keyCode >= 'A' && keyCode <= 'Z')
        return keyCode - 'A';
    if (keyCode >= '0' && keyCode <= '9')
        return 26 + keyCode - '0';
    if (keyCode == ' ')
        return 36;
    if (keyCode >= VK_TYPE_IN_FIRST && keyCode <= VK_TYPE_IN_LAST)
        return keyCode - VK_TYPE_IN_FIRST;
    return std::nullopt;
}

CellPos nextTypeInCell(const MapGrid& map, CellPos cell)
{
    if (cell.x + 1 < map.width)
        return {cell.x + 1, cell.y};
    if (cell.y + 1 < map.height)
        return {0, cell.y + 1};
    return {0, 0};
}

} // namespace qm
