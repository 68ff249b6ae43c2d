// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace qmf::placement {
namespace {

TEST(WindowPlacement, StoredTextIsReadAsASingleNumber) {
    const struct {
        const char* text;
        std::optional<float> expected;
    } cases[] = {
        {"1000", 1000.0f},       {" 1005 ", 1005.0f},
        {"-15", -15.0f},         {"66.5", 66.5f},
        {"1E3", 1000.0f},        {"", std::nullopt},
        {"abc", std::nullopt},   {"12abc", std::nullopt},
        {"1,000", std::nullopt}, {"nan", std::nullopt},
        {"inf", std::nullopt},   {"1e40", std::nullopt}, // beyond single precision
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseTwips(QLatin1String(c.text)), c.expected);
    }
}

TEST(WindowPlacement, WrittenTextReadsBackUnchanged) {
    for (float value : {1000.0f, 1005.0f, -15.0f, 66.5f, 14385.0f, 0.0f}) {
        const QString text = twipsText(value);
        EXPECT_FALSE(text.contains(QLatin1Char(','))) << text.toStdString();
        EXPECT_EQ(parseTwips(text), value) << text.toStdString();
    }
    EXPECT_EQ(twipsText(1005.0f), QStringLiteral("1005"));
}

TEST(WindowPlacement, ReachableWhenTheTitleStripShows) {
    const QList<QRect> screens = {QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    const struct {
        QRect frame;
        bool reachable;
    } cases[] = {
        {QRect(67, 67, 736, 640), true},
        {QRect(1500, 900, 736, 640), true},  // mostly off the right, title still on screen 2
        {QRect(-700, 10, 736, 640), false},  // only 36 px of the title strip show
        {QRect(-600, 10, 736, 640), true},   // 136 px show
        {QRect(100, -30, 736, 640), false},  // title bar above the screen
        {QRect(100, 990, 736, 640), false},  // only 10 px high at the bottom
        {QRect(3000, 100, 736, 640), false}, // right of every screen
        {QRect(100, 1010, 736, 640), false}, // below the first screen, beside the second
        {QRect(1700, 995, 736, 640), true},  // the second screen is taller
        {QRect(100, 100, 0, 0), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.x() << "," << c.frame.y());
        EXPECT_EQ(reachable(c.frame, screens), c.reachable);
    }
    EXPECT_FALSE(reachable(QRect(0, 0, 100, 100), {}));
}

} // namespace
} // namespace qmf::placement
