#pragma once
// The editor's map view on a workspace of its own, shown 1920 x 1080, for the
// benchmarks of opening, painting and editing.

#include "core/project/Workspace.h"
#include "core/undo/UndoStore.h"
#include "ui/app/AppMessage.h"
#include "ui/map/CQuiltmarkView.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace qm::bench {

struct ViewEditor {
    ViewEditor()
    {
        view->resize(1920, 1080);
        view->show();
        view->handleMessage(qm::ui::MSG_MAP_RESET, 1, 0);
    }
    void paint(QImage& screen)
    {
        QPainter p(&screen);
        view->paintView(p, screen.rect());
    }

    std::unique_ptr<qm::Workspace> ws = std::make_unique<qm::Workspace>();
    qm::UndoStore undo;
    std::unique_ptr<qm::ui::CQuiltmarkView> view = std::make_unique<qm::ui::CQuiltmarkView>(*ws, undo);
};

} // namespace qm::bench
