#pragma once
// A shown tile set manager on a fresh workspace, keeping what it says and sends.

#include "core/undo/UndoStore.h"
#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/CTilesetPage.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

#include <memory>

namespace qm::test {

struct Sent {
    qm::ui::AppMessage msg;
    qint64 wParam, lParam;
    qm::TilePaletteChange change; // copied while the record lives
    qm::ui::TileRange range;
};

struct ManagerFixture {
    ManagerFixture()
    {
        using namespace qm::ui;
        mgr = std::make_unique<CTilesetMgr>(ws, undo);
        mgr->showMessage = [this](const QString& t) { messages << t; };
        mgr->resize(220, 480);
        mgr->show();
        QObject::connect(mgr.get(), &CTilesetMgr::message, mgr.get(), [this](AppMessage m, qint64 w, qint64 l) {
            Sent s{m, w, l, {}, {}};
            if (m == MSG_TILE_PALETTE_CHANGED)
                s.change = *messageRecord<TilePaletteChange>(l);
            if (m == MSG_TILES_CHANGED && (w & TILES_CHANGED_RANGE))
                s.range = *messageRecord<TileRange>(l);
            sent.push_back(s);
        });
    }
    qm::ui::CTilesetPage* page(int kind) { return mgr->page(kind); }
    void click(int kind, int cell, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(page(kind), Qt::LeftButton, mods, page(kind)->cellRect(cell).center());
    }
    std::vector<Sent> of(qm::ui::AppMessage m) const
    {
        std::vector<Sent> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out), [m](const Sent& s) { return s.msg == m; });
        return out;
    }
    // Triggers the item of the page's context menu.
    void runMenuItem(int kind, const QString& text)
    {
        std::unique_ptr<QMenu> menu(page(kind)->buildContextMenu());
        const QList<QAction*> all = menu->findChildren<QAction*>(); // submenus too
        const auto item = std::find_if(all.begin(), all.end(), [&](QAction* a) { return a->text() == text; });
        QVERIFY2(item != all.end(), qPrintable(text));
        (*item)->trigger();
    }

    qm::Workspace ws;
    qm::UndoStore undo;
    std::unique_ptr<qm::ui::CTilesetMgr> mgr;
    std::vector<Sent> sent;
    QStringList messages;
};

} // namespace qm::test
