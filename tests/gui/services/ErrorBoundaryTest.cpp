// SPDX-License-Identifier: GPL-3.0-or-later
// The error boundary: an error goes to the status bar and one message box, and leaves the
// status bar when the next action succeeds.
#include "gui/services/ErrorBoundary.h"

#include "gui/support/FakeDialogs.h"

#include <QStatusBar>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace qmf::test {
namespace {

class Boundary : public ::testing::Test {
protected:
    Boundary() {
        errors.setStatusBar(&statusBar);
        graph.setWindowTitle(QStringLiteral("Graph"));
        list.setWindowTitle(QStringLiteral("Registers"));
    }
    void fail(QWidget* where) {
        errors.run(where, [] { throw std::runtime_error("the chip does not answer"); });
    }
    QString shown() const { return statusBar.currentMessage(); }

    FakeDialogs dialogs;
    ErrorBoundary errors{dialogs};
    QStatusBar statusBar;
    QWidget graph;
    QWidget list;
};

TEST_F(Boundary, AFailureIsShownOnTheStatusBarAndInOneMessageBox) {
    bool cleanedUp = false;
    EXPECT_FALSE(errors.run(
        &graph, [] { throw std::runtime_error("the chip does not answer"); },
        [&] { cleanedUp = true; }));
    EXPECT_TRUE(cleanedUp);
    EXPECT_EQ(shown(), QStringLiteral("Graph: the chip does not answer"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, shown());
    EXPECT_EQ(errors.failureCount(), 1);
}

// What takes the error text away: a user's action anywhere, or any handler of the window that
// failed; not the timer ticks of other windows, and not the action that reported it.
TEST_F(Boundary, TheErrorLeavesTheStatusBarWhenTheNextActionSucceeds) {
    enum Kind { Tick, Action };
    const struct {
        const char* what;
        Kind kind;
        QWidget* where;
        bool cleared;
    } cases[] = {
        {"another window's tick", Tick, &list, false},
        {"the failed window's own tick", Tick, &graph, true},
        {"an action in another window", Action, &list, true},
        {"an action without a window", Action, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fail(&graph);
        ASSERT_FALSE(shown().isEmpty());
        bool ran = false;
        if (c.kind == Tick) {
            EXPECT_TRUE(errors.run(c.where, [&] { ran = true; }));
        } else {
            errors.guard(c.where, [&] { ran = true; })();
        }
        EXPECT_TRUE(ran);
        EXPECT_EQ(shown().isEmpty(), c.cleared) << shown().toStdString();
        statusBar.clearMessage();
    }
}

TEST_F(Boundary, AnActionThatReportsAFailureOfOneOfItsStepsKeepsIt) {
    // A handler that skips a failing step and goes on, as the device search's Finish does.
    errors.guard(&list, [this] { fail(&graph); })();
    EXPECT_EQ(shown(), QStringLiteral("Graph: the chip does not answer"));
    errors.guard(&list, [] {})();
    EXPECT_TRUE(shown().isEmpty()) << "the next action takes it away";
}

TEST_F(Boundary, TextPutOnTheStatusBarSinceTheErrorIsLeftAlone) {
    fail(&graph);
    statusBar.showMessage(QStringLiteral("Data Saved"));
    errors.guard(&list, [] {})();
    EXPECT_EQ(shown(), QStringLiteral("Data Saved"));
    // And once taken away, a later success has nothing to take.
    fail(&graph);
    errors.guard(&list, [] {})();
    statusBar.showMessage(QStringLiteral("Ready"));
    errors.guard(&list, [] {})();
    EXPECT_EQ(shown(), QStringLiteral("Ready"));
}

} // namespace
} // namespace qmf::test
