// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/CommandLine.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, OptionsSelectTheBoardAndTheAdapter) {
    const struct {
        QStringList arguments;
        Action action;
        bool simulate;
        const char* smbus;
    } cases[] = {
        {{}, Action::Run, false, ""},
        {{"--simulate"}, Action::Run, true, ""},
        {{"--smbus", "/dev/i2c-3"}, Action::Run, false, "/dev/i2c-3"},
        {{"--smbus=/dev/i2c-1"}, Action::Run, false, "/dev/i2c-1"},
        {{"--simulate", "--smbus", "/dev/i2c-3"}, Action::Error, true, "/dev/i2c-3"},
        {{"--smbus", " "}, Action::Error, false, ""},
        {{"--smbus"}, Action::Error, false, ""},
        {{"--frobnicate"}, Action::Error, false, ""},
        {{"stray"}, Action::Error, false, ""},
        {{"--help"}, Action::ShowHelp, false, ""},
        {{"--version"}, Action::ShowVersion, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine result =
            parseCommandLine(QStringList{QStringLiteral("qmf4150eval")} + c.arguments);
        EXPECT_EQ(result.action, c.action);
        if (result.action == Action::Run) {
            EXPECT_EQ(result.simulate, c.simulate);
            EXPECT_EQ(result.smbusDevice, QLatin1String(c.smbus));
        } else {
            EXPECT_FALSE(result.text.isEmpty()) << "every answer but Run carries a text";
        }
    }
}

TEST(CommandLine, VersionAndHelpTexts) {
    const CommandLine version =
        parseCommandLine({QStringLiteral("qmf4150eval"), QStringLiteral("--version")});
    EXPECT_EQ(version.text, QStringLiteral("QMF4150 Evaluation Software 3.0.4"));

    const CommandLine help =
        parseCommandLine({QStringLiteral("qmf4150eval"), QStringLiteral("--help")});
    EXPECT_TRUE(help.text.contains(QStringLiteral("--simulate")));
    EXPECT_TRUE(help.text.contains(QStringLiteral("--smbus")));
}

} // namespace
} // namespace qmf
