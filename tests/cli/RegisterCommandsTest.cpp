// SPDX-License-Identifier: GPL-3.0-or-later
// get and set, on the simulated chip, in one batch so that a set is seen by the next get.
#include "ToolProcess.h"

namespace qmf::cli::test {
namespace {

TEST(RegisterCommands, SetThenGetUnderMasks) {
    const struct {
        const char* script;
        const char* printed;
    } cases[] = {
        {"set 0x90 0x50\nget 0x90\n", "50\n"},
        {"set 90 0\nget 90\n", "0\n"},
        {"set 90 5\nget 90h\n", "5\n"},
        {"set 90 5A\nset 90 0F --mask 0F\nget 90\n", "5F\n"},
        {"set 90 FF\nset 90 0 -m 80\nget 90\n", "7F\n"},
        {"set 90 0\nset 90 FF --mask 12\nget 90\n", "12\n"},
        {"get D\nget 0xd\n", "41\n41\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")}, c.script);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QByteArray(c.printed));
        EXPECT_TRUE(result.err.isEmpty());
    }
}

// The manufacturer identification register is read-only: the written bits do not read back.
TEST(RegisterCommands, ABitThatDoesNotReadBackFails) {
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"set", "D", "42"}, "register Dh reads 41 after 42 was written"},
        {{"set", "D", "0", "--mask", "1"},
         "register Dh reads 41 after 40 was written (compared under the mask 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolResult result = runSim(c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
    // Bits outside the mask are not compared: the identification bits stay as they are.
    EXPECT_EQ(runSim({QStringLiteral("set"), QStringLiteral("D"), QStringLiteral("1"),
                      QStringLiteral("--mask"), QStringLiteral("1")})
                  .exitCode,
              0);
}

} // namespace
} // namespace qmf::cli::test
