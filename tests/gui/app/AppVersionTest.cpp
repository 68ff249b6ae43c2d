// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/AppVersion.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(AppVersion, CaptionIsDecimalWithoutLeadingZeros) {
    const struct {
        ProgramVersion version;
        const char* numbers;
    } cases[] = {
        {{3, 0, 4}, "3.0.4"},
        {{10, 2, 15}, "10.2.15"},
        {{0, 0, 0}, "0.0.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(versionNumberText(c.version), QLatin1String(c.numbers));
        EXPECT_EQ(versionCaption(c.version), QStringLiteral("Version ") + QLatin1String(c.numbers));
    }
}

TEST(AppVersion, ProgramVersionComesFromTheBuild) {
    // The project is version 3.0.4 (file version 3.00.0004).
    const ProgramVersion version = programVersion();
    EXPECT_EQ(versionCaption(version), QStringLiteral("Version 3.0.4"));
    EXPECT_EQ(applicationTitle(), QStringLiteral("QMF4150 Evaluation Software"));
}

} // namespace
} // namespace qmf
