// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/Clock.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(ManualClock, MovesOnlyWhenTold) {
    ManualClock clock(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    EXPECT_EQ(clock.elapsedMs(), 0);
    clock.advanceMs(1500);
    EXPECT_EQ(clock.elapsedMs(), 1500);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2026, 3, 2), QTime(0, 0, 0, 500)));
}

TEST(ManualClock, SettingTheWallClockLeavesMonotonicTimeAlone) {
    ManualClock clock;
    clock.advanceMs(250);
    const QDateTime later(QDate(2030, 1, 1), QTime(8, 0));
    clock.setNow(later);
    EXPECT_EQ(clock.now(), later);
    EXPECT_EQ(clock.elapsedMs(), 250);
    clock.advanceMs(1000);
    EXPECT_EQ(clock.now(), later.addSecs(1));
}

TEST(SystemClock, NeverGoesBack) {
    SystemClock clock;
    const qint64 first = clock.elapsedMs();
    EXPECT_GE(first, 0);
    EXPECT_GE(clock.elapsedMs(), first);
}

} // namespace
} // namespace qmf
