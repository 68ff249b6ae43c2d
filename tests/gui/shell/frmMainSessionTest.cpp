// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's session: its size and the open views with their places come back at the
// next start, next to the position it keeps as before.
#include "FrmMainFixture.h"
#include "gui/board/BoardControlFRM.h"
#include "gui/reglist/Register_List.h"
#include "gui/shell/MainWindowSession.h"
#include "gui/views/GraphFRM.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace qmf::test {
namespace {

class FrmMainSession : public FrmMainFixture {
protected:
    FrmMainSession() {
        addOpener<Register_List>("Register_List");
        addOpener<GraphFRM>("GraphFRM");
        addOpener<BoardControlFRM>("BoardControlFRM");
        // The auto-set writes registers when it opens: never part of a session.
        t.ctx.openers.insert(QStringLiteral("AutoSet"), [this] { opened << "AutoSet"; });
    }
    template <class W> void addOpener(const char* name) {
        t.ctx.openers.insert(QLatin1String(name), [this, name] {
            opened << QLatin1String(name);
            t.windows.show<W>(t.ctx);
        });
    }
    QString session(const char* key) const {
        return QSettings(file, QSettings::IniFormat)
            .value(QStringLiteral("Session/") + QLatin1String(key))
            .toString();
    }
    void storeSession(const char* key, const char* value) {
        QSettings(file, QSettings::IniFormat)
            .setValue(QStringLiteral("Session/") + QLatin1String(key), QLatin1String(value));
    }
    static QMdiSubWindow* sub(frmMain& main, const char* view) {
        for (QMdiSubWindow* s : main.mdiArea()->subWindowList()) {
            if (s->widget()->objectName() == QLatin1String(view)) {
                return s;
            }
        }
        return nullptr;
    }
    static QStringList stacking(frmMain& main) {
        QStringList names;
        for (QMdiSubWindow* s : main.mdiArea()->subWindowList(QMdiArea::StackingOrder)) {
            names << s->widget()->objectName();
        }
        return names;
    }

    QStringList opened;
};

TEST_F(FrmMainSession, SizeAndOpenViewsWithTheirPlacesComeBackAtTheNextStart) {
    frmMain& main = createMain();
    main.show();
    main.resize(700, 520);
    const struct {
        const char* item;
        const char* view;
        QRect place;
    } views[] = {
        {"mnuStrip", "GraphFRM", QRect(30, 45, 420, 300)},
        {"mnuHeaters", "BoardControlFRM", QRect(300, 15, 260, 180)},
        {"mnuRegList", "Register_List", QRect(0, 0, 500, 400)},
    };
    for (const auto& v : views) {
        child(main, v.item)->trigger();
        ASSERT_NE(sub(main, v.view), nullptr) << v.view;
        sub(main, v.view)->setGeometry(v.place);
    }
    main.mdiArea()->setActiveSubWindow(sub(main, "BoardControlFRM")); // to the front
    child(main, "mnuAutoSet")->trigger();
    const QStringList order = stacking(main);
    ASSERT_EQ(order.last(), QStringLiteral("BoardControlFRM"));
    const double dpiX = main.logicalDpiX(), dpiY = main.logicalDpiY();
    main.close();
    flushDeletes();
    EXPECT_EQ(session("Views"), order.join(u','));
    EXPECT_NEAR(session("MainWidth").toDouble(), text::pixelsToTwips(700, dpiX), 0.5);
    EXPECT_NEAR(session("MainHeight").toDouble(), text::pixelsToTwips(520, dpiY), 0.5);
    EXPECT_EQ(session("MainMaximized"), QStringLiteral("False"));
    EXPECT_FALSE(stored("MainLeft").isEmpty()) << "the position is kept as before";

    opened.clear();
    frmMain& again = createMain();
    EXPECT_EQ(again.size(), QSize(700, 520));
    again.show();
    again.reopenViews();
    again.reopenViews(); // once
    EXPECT_EQ(opened, order) << "back to front, each once, and never the auto-set";
    EXPECT_EQ(stacking(again), order);
    for (const auto& v : views) {
        SCOPED_TRACE(v.view);
        ASSERT_NE(sub(again, v.view), nullptr);
        const QRect place = sub(again, v.view)->geometry();
        EXPECT_LE((place.topLeft() - v.place.topLeft()).manhattanLength(), 2);
        EXPECT_LE(std::abs(place.width() - v.place.width()), 1);
        EXPECT_LE(std::abs(place.height() - v.place.height()), 1);
    }
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();

    // Closed minimised, it keeps the size stored before; the views are stored all the same.
    const QString width = session("MainWidth");
    again.resize(640, 480);
    sub(again, "GraphFRM")->close();
    again.setWindowState(Qt::WindowMinimized);
    child(again, "mnuFileExit")->trigger();
    flushDeletes();
    EXPECT_EQ(session("MainWidth"), width);
    EXPECT_EQ(session("Views"), QStringLiteral("Register_List,BoardControlFRM"));
}

// What cannot be used is left alone: a size that is not a number, a view of another name, a
// place that is not four numbers, a place above or left of the workspace.
TEST_F(FrmMainSession, StoredValuesThatCannotBeUsedAreLeftAlone) {
    QSize firstRun;
    {
        frmMain& main = createMain();
        firstRun = main.size();
        t.windows.destroyAll(); // gone without closing: nothing stored
    }
    storeSession("MainWidth", "abc");
    storeSession("MainHeight", "7000");
    storeSession("Views", "Nonsense,AutoSet,InitForm,GraphFRM,Register_List");
    storeSession("GraphFRM", "1,2,3");
    storeSession("Register_List", "-3000,-1500,6000,4500");
    frmMain& main = createMain();
    EXPECT_EQ(main.size(), firstRun);
    main.show();
    main.reopenViews();
    EXPECT_EQ(opened, QStringList({"GraphFRM", "Register_List"}));
    ASSERT_NE(sub(main, "Register_List"), nullptr);
    EXPECT_EQ(sub(main, "Register_List")->pos(), QPoint(0, 0)) << "within reach";
    EXPECT_EQ(t.errors.failureCount(), 0);
}

TEST(MainWindowSessionPlace, IsFourNumbersOfTwips) {
    const QRect place(30, 45, 420, 300);
    const QString text = MainWindowSession::placeText(place, 96, 96);
    EXPECT_EQ(text, QStringLiteral("450,675,6300,4500"));
    EXPECT_EQ(MainWindowSession::parsePlace(text, 96, 96), place);
    EXPECT_EQ(MainWindowSession::parsePlace(text, 144, 144), QRect(45, 68, 630, 450));
    for (const char* wrong : {"", "1,2,3", "1,2,3,4,5", "a,2,3,4", "1,2,0,4", "1,2,3,-4"}) {
        EXPECT_EQ(MainWindowSession::parsePlace(QLatin1String(wrong), 96, 96), std::nullopt)
            << wrong;
    }
}

} // namespace
} // namespace qmf::test
