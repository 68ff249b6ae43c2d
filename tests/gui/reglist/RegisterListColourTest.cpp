// SPDX-License-Identifier: GPL-3.0-or-later
// The colours of the register names: selected, under the pointer, both, neither.
#include "RegisterListFixture.h"
#include "core/chip/RegisterMap.h"
#include "gui/reglist/RegisterNameColours.h"

#include <QTabBar>

namespace qmf::test {
namespace {

using namecolour::BrightGreen;
using namecolour::DarkGreen;
using namecolour::Yellow;
const QColor Workspace = namecolour::workspace();

class RegisterListColours : public RegisterListTest {
protected:
    void pointTo(QWidget* w) {
        showPageOf(w);
        QTest::mouseMove(w, spotOff(w));
        QCoreApplication::processEvents();
    }
    // A point of the widget that no register name covers (its centre when possible).
    static QPoint spotOff(QWidget* w) {
        const auto free = [w](QPoint p) {
            QWidget* child = w->childAt(p);
            return child == nullptr ||
                   !child->objectName().startsWith(QLatin1String("visualdisplay"));
        };
        if (free(w->rect().center())) {
            return w->rect().center();
        }
        for (int y = w->height() - 3; y > 0; y -= 4) {
            for (int x = w->width() - 3; x > 0; x -= 4) {
                if (free(QPoint(x, y))) {
                    return QPoint(x, y);
                }
            }
        }
        ADD_FAILURE() << "no free spot in " << w->objectName().toStdString();
        return {};
    }
    void pointToTabStrip() {
        QTabBar* bar = find<QTabWidget>(QStringLiteral("SSTab1"))->tabBar();
        QTest::mouseMove(bar, QPoint(bar->width() - 2, bar->height() / 2));
        QCoreApplication::processEvents();
    }
    // Every name other than the given ones shows the workspace colour.
    void othersAreWorkspace(std::initializer_list<int> except) {
        for (const quint8 address : RegisterMap::listedAddresses()) {
            if (std::find(except.begin(), except.end(), address) == except.end()) {
                EXPECT_EQ(colour(name(address)), Workspace) << int(address);
            }
        }
    }
};

TEST_F(RegisterListColours, ClickingANameMakesItTheOnlyColouredOne) {
    open();
    clickName(0x00);
    EXPECT_EQ(colour(name(0x00)), Yellow);
    othersAreWorkspace({0x00});

    clickName(0x98);
    EXPECT_EQ(colour(name(0x98)), Yellow);
    othersAreWorkspace({0x98}); // including the one selected before
}

TEST_F(RegisterListColours, PointerMovesBetweenSelectedNameOtherNameAndTabStrip) {
    open();
    clickName(0x00);
    pointTo(name(0x01));
    EXPECT_EQ(colour(name(0x00)), DarkGreen);
    EXPECT_EQ(colour(name(0x01)), BrightGreen);

    pointToTabStrip();
    EXPECT_EQ(colour(name(0x00)), DarkGreen);
    EXPECT_EQ(colour(name(0x01)), Workspace);

    pointTo(name(0x00));
    EXPECT_EQ(colour(name(0x00)), Yellow);
    othersAreWorkspace({0x00});
}

TEST_F(RegisterListColours, OnlyTheNameUnderThePointerIsBrightGreen) {
    open();
    pointTo(name(0x28));
    EXPECT_EQ(colour(name(0x28)), BrightGreen);
    pointTo(name(0x38));
    EXPECT_EQ(colour(name(0x38)), BrightGreen);
    othersAreWorkspace({0x38});
    EXPECT_TRUE(transfers().isEmpty()); // pointing reads nothing
}

// Every surface other than a name ends the highlight: bright green goes back to the workspace
// colour, yellow to dark green.
TEST_F(RegisterListColours, EverySurfaceOtherThanANameEndsTheHighlight) {
    open();
    const char* surfaces[] = {"SSPanel1",
                              "SSPanel2",
                              "SSPanel6",
                              "SSPanel8",
                              "SSPanel11",
                              "MainCoolBar",
                              "Binary_Panel",
                              "dec_hex_panel",
                              "ReginfoPanel",
                              "bit3",
                              "bitname_5",
                              "bitname_8",
                              "SoftwareSettingsPanel",
                              "HexValueLBL"};
    for (const char* surface : surfaces) {
        clickName(0x0D);
        pointTo(name(0x0E));
        ASSERT_EQ(colour(name(0x0E)), BrightGreen);
        pointTo(find<QWidget>(QLatin1String(surface)));
        EXPECT_EQ(colour(name(0x0E)), Workspace) << surface;
        EXPECT_EQ(colour(name(0x0D)), DarkGreen) << surface;

        pointTo(name(0x0D));
        ASSERT_EQ(colour(name(0x0D)), Yellow);
        pointTo(find<QWidget>(QLatin1String(surface)));
        EXPECT_EQ(colour(name(0x0D)), DarkGreen) << surface;
    }
}

TEST_F(RegisterListColours, SelectingFromTheKeyboardLeavesTheNameDarkGreen) {
    open();
    QLabel* n = name(0x01);
    n->setFocus(Qt::TabFocusReason);
    QTest::keyClick(n, Qt::Key_Space);
    EXPECT_EQ(t.state.CurrentRegisterIndex, 0x01);
    EXPECT_EQ(colour(n), DarkGreen);
    othersAreWorkspace({0x01});
}

TEST_F(RegisterListColours, SwitchingPagesKeepsTheSelectionAndTouchesNoRegister) {
    open();
    clickName(0x90);
    t.recording()->clearLog();
    auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
    for (int page : {0, 3, 2}) {
        tabs->setCurrentIndex(page);
    }
    EXPECT_TRUE(transfers().isEmpty());
    EXPECT_EQ(t.state.CurrentRegisterIndex, 0x90);
    EXPECT_NE(colour(name(0x90)), Workspace);
}

} // namespace
} // namespace qmf::test
