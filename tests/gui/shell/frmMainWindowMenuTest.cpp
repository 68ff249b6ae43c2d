// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's Window menu: the window list and the arrangements.
#include "FrmMainFixture.h"
#include "gui/board/BoardControlFRM.h"
#include "gui/reglist/Register_List.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/GraphFRM.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/AutoSetFRM.h"
#include "gui/wizards/FanConfigFRM.h"
#include "gui/wizards/WizardListFRM.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>

namespace qmf::test {
namespace {

using FrmMainWindowMenu = FrmMainFixture;

// The least size Qt's layouts give a control: its minimum size hint, where the control sets no
// minimum size of its own, and never more than its maximum size.
QSize leastSize(const QWidget& control) {
    QSize least = control.minimumSizeHint();
    if (control.minimumWidth() > 0) {
        least.setWidth(control.minimumWidth());
    }
    if (control.minimumHeight() > 0) {
        least.setHeight(control.minimumHeight());
    }
    return least.boundedTo(control.maximumSize());
}

TEST_F(FrmMainWindowMenu, WindowMenuListsActivatesAndArrangesTheChildWindows) {
    frmMain& main = createMain();
    main.resize(900, 700);
    main.show();
    QMdiArea* area = main.mdiArea();
    child(main, "mnuWindowTileVertical")->trigger(); // nothing to tile
    QList<QMdiSubWindow*> subs;
    for (const char* title : {"One", "Two & Three", "Four"}) {
        subs << area->addSubWindow(new QWidget);
        subs.last()->setWindowTitle(QLatin1String(title));
        subs.last()->show();
    }
    auto* menu = child<QMenu>(main, "mnuWindow");
    auto listed = [&] {
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* entry : menu->actions()) {
            if (entry->objectName() == QLatin1String("mnuWindowList")) {
                entries << entry->text() + (entry->isChecked() ? QStringLiteral(" *") : QString());
            }
        }
        return entries;
    };
    EXPECT_EQ(listed(), QStringList({"&1 One", "&2 Two && Three", "&3 Four *"}));
    for (QAction* entry : menu->actions()) {
        if (entry->text() == QLatin1String("&1 One")) {
            entry->trigger();
        }
    }
    EXPECT_EQ(area->activeSubWindow(), subs[0]);
    EXPECT_EQ(listed(), QStringList({"&1 One *", "&2 Two && Three", "&3 Four"}));

    // Horizontal tiles are stacked, each as wide as the area; vertical ones stand side by side.
    // Seen through `flip`, both are stacked and cover the area without gaps.
    const QRect viewport = area->viewport()->rect();
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        auto flip = [orientation](const QRect& r) {
            return orientation == Qt::Horizontal ? r : QRect(r.y(), r.x(), r.height(), r.width());
        };
        child(main,
              orientation == Qt::Horizontal ? "mnuWindowTileHorizontal" : "mnuWindowTileVertical")
            ->trigger();
        int next = 0;
        for (QMdiSubWindow* sub : subs) {
            const QRect r = flip(sub->geometry());
            EXPECT_EQ(QRect(0, next, flip(viewport).width(), r.height()), r) << orientation;
            EXPECT_GE(r.height(), flip(viewport).height() / 3);
            next = r.bottom() + 1;
        }
        EXPECT_EQ(next, flip(viewport).bottom() + 1);
    }

    // Scattered icons line up along the bottom; tiling then leaves their row free.
    subs[0]->showMinimized();
    subs[2]->showMinimized();
    subs[0]->move(300, 100);
    subs[2]->move(20, 40);
    child(main, "mnuWindowArrangeIcons")->trigger();
    EXPECT_EQ(subs[0]->geometry().bottomLeft(), QPoint(0, viewport.bottom()));
    EXPECT_EQ(subs[2]->geometry().bottomLeft(), QPoint(subs[0]->width(), viewport.bottom()));
    child(main, "mnuWindowTileHorizontal")->trigger();
    EXPECT_EQ(subs[1]->geometry(), QRect(0, 0, viewport.width(), subs[0]->y()));
}

// Tiles share the room as evenly as the windows' minimum sizes allow; what does not fit makes the
// workspace scroll. Sizes are in sixteenths of the room along the tiling direction.
TEST_F(FrmMainWindowMenu, TilesKeepEveryWindowsMinimumSizeAndTheWorkspaceScrolls) {
    frmMain& main = createMain();
    main.resize(900, 700);
    main.show();
    QMdiArea* area = main.mdiArea();
    QList<QMdiSubWindow*> subs;
    for (int i = 0; i < 3; ++i) {
        subs << area->addSubWindow(new QWidget);
        subs.last()->show();
    }
    const struct {
        Qt::Orientation orientation;
        int minimums[3]; // sixteenths; 0: the window's own small minimum
        int lengths[3];  // sixteenths; -1: the window's own minimum
        bool scrolls;
    } cases[] = {
        {Qt::Horizontal, {8, 0, 0}, {8, 4, 4}, false},
        {Qt::Vertical, {0, 10, 0}, {3, 10, 3}, false},
        {Qt::Horizontal, {16, 8, 0}, {16, 8, -1}, true},
        {Qt::Vertical, {0, 0, 20}, {-1, -1, 20}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.orientation << " " << c.minimums[0] << " "
                                        << c.minimums[1] << " " << c.minimums[2]);
        const bool stacked = c.orientation == Qt::Horizontal;
        const auto along = [stacked](QSize s) { return stacked ? s.height() : s.width(); };
        const auto across = [stacked](QSize s) { return stacked ? s.width() : s.height(); };
        const int room = along(area->maximumViewportSize());
        for (int i = 0; i < 3; ++i) {
            subs[i]->setMinimumSize(0, 0);
            subs[i]->setMinimumSize(stacked ? QSize(0, room * c.minimums[i] / 16)
                                            : QSize(room * c.minimums[i] / 16, 0));
        }
        child(main, stacked ? "mnuWindowTileHorizontal" : "mnuWindowTileVertical")->trigger();
        QCoreApplication::processEvents();
        int next = 0;
        for (int i = 0; i < 3; ++i) {
            const QRect r = subs[i]->geometry();
            EXPECT_EQ(stacked ? r.top() : r.left(), next) << i;
            const int expected =
                c.lengths[i] < 0 ? along(subs[i]->minimumSizeHint()) : room * c.lengths[i] / 16;
            EXPECT_NEAR(along(r.size()), expected, 2) << i; // thirds and sixteenths round
            EXPECT_GE(across(r.size()), across(area->viewport()->size()) - 1) << i;
            next += along(r.size());
        }
        QScrollBar* bar = stacked ? area->verticalScrollBar() : area->horizontalScrollBar();
        EXPECT_EQ(bar->isVisible(), c.scrolls);
        if (!c.scrolls) {
            EXPECT_EQ(next, along(area->viewport()->size())) << "the tiles cover the area";
        }
    }
}

// Every view of the program, tiled in a small main window both ways, keeps the size it needs:
// no view and no control in it gets less than its minimum size hint (the register digits, the
// gauges, the chip drawing).
TEST_F(FrmMainWindowMenu, TiledViewsStayReadable) {
    frmMain& main = createMain();
    main.resize(1000, 700);
    main.show();
    const QList<QWidget*> views = {
        &t.windows.show<Register_List>(t.ctx),   &t.windows.show<ChipLayoutForm>(t.ctx),
        &t.windows.show<GraphFRM>(t.ctx),        &t.windows.show<BargraphForm>(t.ctx),
        &t.windows.show<BoardControlFRM>(t.ctx), &t.windows.show<WizardListFRM>(t.ctx),
        &t.windows.show<FanConfigFRM>(t.ctx),    &t.windows.show<AFCTutorFRM>(t.ctx),
        &t.windows.show<AutoSetFRM>(t.ctx)};
    for (const char* item : {"mnuWindowTileHorizontal", "mnuWindowTileVertical"}) {
        SCOPED_TRACE(item);
        child(main, item)->trigger();
        QCoreApplication::processEvents();
        for (QWidget* view : views) {
            SCOPED_TRACE(view->windowTitle().toStdString());
            QList<QWidget*> parts = view->findChildren<QWidget*>();
            parts.prepend(view);
            for (QWidget* part : std::as_const(parts)) {
                if (part->isVisibleTo(view)) {
                    const QSize need = leastSize(*part);
                    EXPECT_TRUE(part->width() >= need.width() && part->height() >= need.height())
                        << part->metaObject()->className() << " "
                        << part->objectName().toStdString() << " " << part->width() << "x"
                        << part->height() << " < " << need.width() << "x" << need.height();
                }
            }
        }
    }
}

} // namespace
} // namespace qmf::test
