// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/SharedState.h"

#include "core/link/LinkErrors.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "support/RecordingBoard.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(SharedState, StartsAtZeroAndCreatesTheBoardOnceOnFirstUse) {
    int created = 0;
    SharedState state([&] {
        ++created;
        return std::make_unique<test::RecordingBoard>();
    });
    EXPECT_EQ(state.CommsMedium, 0);
    EXPECT_EQ(state.DeviceAddress, 0);
    EXPECT_EQ(state.DeviceChosen, 0);
    EXPECT_EQ(state.DataToWrite, 0);
    EXPECT_EQ(state.CurrentRegisterIndex, 0);
    EXPECT_FALSE(state.hasBoard());
    EXPECT_EQ(created, 0);
    BoardLink& first = state.board();
    BoardLink& second = state.board();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(state.hasBoard());
}

TEST(SharedState, WithoutABoardRaisesALinkError) {
    SharedState none(nullptr);
    EXPECT_THROW(none.board(), LinkError);
    SharedState empty([] { return std::unique_ptr<BoardLink>(); });
    EXPECT_THROW(empty.board(), LinkError);
    EXPECT_FALSE(empty.hasBoard());
}

TEST(SharedState, ChannelObjectsAreCreatedOnceAndKept) {
    SharedState state(nullptr);
    state.Fan0().setSpeedAddress(0x70);
    state.IntTemp().setValueAddressPointer(0xA0);
    EXPECT_EQ(state.Fan0().SpeedAddress(), 0x70);
    EXPECT_EQ(state.IntTemp().ValueAddressPointer(), 0xA0);
    EXPECT_EQ(&state.Fan0(), &state.Fan0());
    EXPECT_NE(static_cast<void*>(&state.Fan0()), static_cast<void*>(&state.Fan1()));
    EXPECT_NE(&state.ExtTemp0(), &state.ExtTemp1());
    EXPECT_NE(&state.IntTemp(), &state.ExtTemp0());
}

} // namespace
} // namespace qmf
