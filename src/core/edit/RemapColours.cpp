#include "core/edit/RemapColours.h"

#include <algorithm>

namespace qm {

RemapRequest remapPreset(const TileLibrary& lib, TileKind kind, const std::vector<int>& selection)
{
    RemapRequest r;
    if (selection.empty())
        return r;
    const int first = selection.front();
    const int last = selection.back();
    r.bankBase = first >= TILES_PER_BANK ? TILES_PER_BANK : 0;
    r.from = std::clamp(first - r.bankBase, 0, TILES_PER_BANK - 1);
    r.to = std::clamp(last - r.bankBase, 0, TILES_PER_BANK - 1);
    if (const CTile* tile = lib.tile(kind, last))
        r.palette = tile->palette();
    return r;
}

Result checkRemapRange(const RemapRequest& request)
{
    if (request.from > request.to)
        return Result::failure(MSG_REMAP_RANGE);
    return Result::success();
}

TileEditResult remapTileColours(TileLibrary& lib, TileKind kind, const RemapRequest& request, UndoStore& undo)
{
    TileEditResult out;
    if (!checkRemapRange(request)) {
        out.result = checkRemapRange(request);
        return out;
    }
    const int base = request.bankBase >= TILES_PER_BANK ? TILES_PER_BANK : 0;
    const int from = base + std::clamp(request.from, 0, TILES_PER_BANK - 1);
    const int to = base + std::min(request.to + 1, TILES_PER_BANK) - 1;
    undo.beginStep(STEP_TILES, StepName::RemapColours);
    for (int index = from; index <= to; ++index) {
        CTile* tile = lib.tile(kind, index);
        if (!tile || tile->palette() != request.palette)
            continue;
        if (!undo.saveTile(*tile)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            break;
        }
        for (auto& p : tile->pixels)
            p = request.mapping[p & 3] & 3;
        out.add(index);
    }
    return out;
}

} // namespace qm
