#include "ui/app/PaneRouter.h"

#include "ui/app/MapTool.h"

namespace qm::ui {

PaneRouter::PaneRouter(RouteTarget& target, QObject* parent) : QObject(parent), target_(target) {}

void PaneRouter::attach(Pane role, QWidget* widget, Deliver deliverTo)
{
    Slot& slot = panes_[static_cast<size_t>(role)];
    slot.widget = widget;
    slot.deliver = std::move(deliverTo);
}

QWidget* PaneRouter::pane(Pane role) const
{
    return panes_[static_cast<size_t>(role)].widget;
}

void PaneRouter::deliver(Pane role, AppMessage msg, qint64 wParam, qint64 lParam)
{
    const Slot& slot = panes_[static_cast<size_t>(role)];
    if (slot.widget && slot.deliver)
        slot.deliver(msg, wParam, lParam);
}

void PaneRouter::deliverToOpenEditor(AppMessage msg, qint64 wParam, qint64 lParam)
{
    if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
        deliver(Pane::TileEditor, msg, wParam, lParam);
}

void PaneRouter::route(AppMessage msg, qint64 wParam, qint64 lParam) { dispatch(msg, wParam, lParam, true); }

void PaneRouter::notify(AppMessage msg, qint64 wParam, qint64 lParam) { dispatch(msg, wParam, lParam, false); }

void PaneRouter::dispatch(AppMessage msg, qint64 wParam, qint64 lParam, bool setFlags)
{
    switch (msg) {
    case MSG_SET_ZOOM:
    case MSG_MAP_RESET:
    case MSG_GRID:
        deliver(Pane::MapView, msg, wParam, lParam);
        break;
    case MSG_INIT_MAP:
        target_.initMap();
        break;
    case MSG_ZOOM_CHANGED:
        target_.zoomChanged(static_cast<int>(wParam));
        break;
    case MSG_SELECT_TOOL:
        switch (wParam) {
        case TOOL_SELECT:
        case TOOL_HAND:
        case TOOL_PENCIL:
        case TOOL_BUCKET:
        case TOOL_EYEDROPPER:
        case TOOL_REV_EYEDROPPER:
        case TOOL_LINE:
            target_.selectTool(static_cast<int>(wParam));
            break;
        default:
            break;
        }
        break;
    case MSG_TILE_DOUBLE_CLICKED:
        target_.showTileEditor();
        deliver(Pane::TileEditor, msg, wParam, lParam);
        break;
    case MSG_TILES_CHANGED: {
        deliver(Pane::MapView, msg, wParam, lParam);
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        const TileKind kind = static_cast<TileKind>(wParam & 0xFF);
        if (setFlags)
            target_.setChanged(kind == TILE_BG ? CHANGED_BG_TILES : kind == TILE_OBJ ? CHANGED_OBJ_TILES : TILE_TAG);
        break;
    }
    case MSG_COLOURS_CHANGED:
        deliver(Pane::MapView, msg, wParam, lParam);
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        deliverToOpenEditor(msg, wParam, lParam);
        if (setFlags)
            target_.setChanged(CHANGED_PALETTE);
        break;
    case MSG_TILE_PALETTE_CHANGED: {
        deliver(Pane::MapView, msg, wParam, lParam);
        if (const auto* change = messageRecord<TilePaletteChange>(lParam); change && setFlags) {
            if (change->layer == TILE_BG || change->layer == TILE_OBJ || change->layer == TILE_TAG)
                target_.setChanged(change->layer);
        }
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        deliverToOpenEditor(msg, wParam, lParam);
        break;
    }
    case MSG_CURRENT_TILE_CHANGED:
        deliverToOpenEditor(msg, wParam, lParam);
        break;
    }
}

} // namespace qm::ui
