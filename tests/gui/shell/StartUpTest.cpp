// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/StartUp.h"

#include "core/measure/Fan.h"
#include "gui/shell/CommandLine.h"
#include "gui/support/TestContext.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qmf::test {
namespace {

TEST(StartUp, CommandLineSelectsTheSimulatedBoardOrAnAdapterButNotBoth) {
    auto parse = [](QStringList arguments) {
        return parseCommandLine(QStringList{QStringLiteral("qmf4150eval")} + arguments);
    };
    EXPECT_TRUE(parse({"--simulate"}).simulate);
    EXPECT_TRUE(parse({"--simulate", "--pin-level"}).pinLevel);
    EXPECT_TRUE(parse({"--simulate", "--self-test"}).selfTest);
    EXPECT_EQ(parse({"--smbus", "/dev/i2c-3"}).smbusDevice, QStringLiteral("/dev/i2c-3"));
    EXPECT_EQ(parse({"--simulate", "--sim-smbus-address", "0x5E"}).simSmbusAddress, 0x5E);
    EXPECT_EQ(parse({"--simulate"}).simSmbusAddress, std::nullopt);
    EXPECT_EQ(parse({"--simulate", "--pin-level", "--trace", "bus.vcd"}).traceFile, "bus.vcd");
    EXPECT_EQ(parse({"--trace=bus.vcd"}).traceFile, "bus.vcd");
    for (const QStringList& wrong :
         {QStringList{"--simulate", "--smbus", "/dev/i2c-3"}, QStringList{"--smbus", " "},
          QStringList{"--pin-level"}, QStringList{"--self-test"}, QStringList{"stray"},
          QStringList{"--sim-smbus-address=5E"},
          QStringList{"--simulate", "--pin-level", "--sim-smbus-address=5E"},
          QStringList{"--simulate", "--sim-smbus-address=5D"},
          QStringList{"--simulate", "--trace", "bus.vcd"}, QStringList{"--trace="}}) {
        EXPECT_EQ(parse(wrong).action, CommandLine::Action::Error)
            << wrong.join(u' ').toStdString();
    }
    EXPECT_EQ(parse({"--version"}).text, QStringLiteral("QMF4150 Evaluation Software 3.0.4"));
}

TEST(StartUp, OpensTheSearchWizardThenBindsTheFanChannels) {
    TestContext t(TestContext::Recording);
    EXPECT_THROW(StartUp(t.ctx), std::logic_error) << "without the wizard the start fails loudly";
    Fan* fans[] = {&t.state.Fan0(), &t.state.Fan1()};
    for (Fan* fan : fans) {
        fan->setLimitAddress(0);
        fan->setSpeedAddress(0);
        fan->setOscillatorFrequencyAddress(0);
    }
    int fanLimitWhenOpened = -1;
    t.ctx.openers.insert(QStringLiteral("InitForm"),
                         [&] { fanLimitWhenOpened = t.state.Fan0().LimitAddress(); });
    StartUp(t.ctx);
    EXPECT_EQ(fanLimitWhenOpened, 0) << "the wizard comes first";
    QList<int> addresses; // limit, speed, oscillator of each fan
    for (const Fan* fan : fans) {
        addresses << fan->LimitAddress() << fan->SpeedAddress()
                  << fan->OscillatorFrequencyAddress();
    }
    EXPECT_EQ(addresses, QList<int>({0x78, 0x70, 0x68, 0x79, 0x71, 0x69}));
}

} // namespace
} // namespace qmf::test
