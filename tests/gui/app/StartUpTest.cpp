// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/StartUp.h"

#include "core/measure/Fan.h"
#include "gui/support/TestContext.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qmf::test {
namespace {

TEST(StartUp, OpensTheSearchWizardThenBindsTheFanChannels) {
    TestContext t(TestContext::Recording);
    for (Fan* fan : {&t.state.Fan0(), &t.state.Fan1()}) {
        fan->setLimitAddress(0);
        fan->setSpeedAddress(0);
        fan->setOscillatorFrequencyAddress(0);
    }
    int wizardOpened = 0;
    int fanLimitWhenOpened = -1;
    t.ctx.openers.insert(QStringLiteral("InitForm"), [&] {
        ++wizardOpened;
        fanLimitWhenOpened = t.state.Fan0().LimitAddress();
    });

    StartUp(t.ctx);

    EXPECT_EQ(wizardOpened, 1);
    EXPECT_EQ(fanLimitWhenOpened, 0) << "the wizard comes first";
    const struct {
        Fan& fan;
        int limit, speed, oscillator;
    } expected[] = {{t.state.Fan0(), 0x78, 0x70, 0x68}, {t.state.Fan1(), 0x79, 0x71, 0x69}};
    for (const auto& e : expected) {
        EXPECT_EQ(e.fan.LimitAddress(), e.limit);
        EXPECT_EQ(e.fan.SpeedAddress(), e.speed);
        EXPECT_EQ(e.fan.OscillatorFrequencyAddress(), e.oscillator);
    }
}

TEST(StartUp, WithoutTheWizardTheStartFailsLoudly) {
    TestContext t(TestContext::Recording);
    EXPECT_THROW(StartUp(t.ctx), std::logic_error);
}

} // namespace
} // namespace qmf::test
