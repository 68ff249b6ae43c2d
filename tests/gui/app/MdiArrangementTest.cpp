// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/MdiArrangement.h"

#include <gtest/gtest.h>

namespace qmf::mdi {
namespace {

TEST(MdiArrangement, TilesCoverTheAreaWithoutGapsOrOverlap) {
    const QRect area(10, 20, 601, 403);
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        for (int count = 1; count <= 7; ++count) {
            SCOPED_TRACE(testing::Message() << "orientation " << orientation << ", " << count);
            const QList<QRect> rects = tileRects(area, count, orientation);
            ASSERT_EQ(rects.size(), count);
            int next = orientation == Qt::Horizontal ? area.top() : area.left();
            for (const QRect& r : rects) {
                if (orientation == Qt::Horizontal) {
                    // Stacked one above another, each as wide as the area.
                    EXPECT_EQ(r.left(), area.left());
                    EXPECT_EQ(r.width(), area.width());
                    EXPECT_EQ(r.top(), next);
                    EXPECT_GE(r.height(), area.height() / count);
                    next = r.bottom() + 1;
                } else {
                    // Side by side, each as high as the area.
                    EXPECT_EQ(r.top(), area.top());
                    EXPECT_EQ(r.height(), area.height());
                    EXPECT_EQ(r.left(), next);
                    EXPECT_GE(r.width(), area.width() / count);
                    next = r.right() + 1;
                }
            }
            EXPECT_EQ(next, orientation == Qt::Horizontal ? area.bottom() + 1 : area.right() + 1);
        }
    }
    EXPECT_TRUE(tileRects(area, 0, Qt::Horizontal).isEmpty());
    EXPECT_TRUE(tileRects(QRect(), 3, Qt::Vertical).isEmpty());
}

TEST(MdiArrangement, IconsLineUpAlongTheBottomAndWrapUpwards) {
    const QList<QRect> icons = iconRects(QRect(0, 0, 500, 300), 4, QSize(160, 24));
    const QList<QRect> expected = {QRect(0, 276, 160, 24), QRect(160, 276, 160, 24),
                                   QRect(320, 276, 160, 24), QRect(0, 252, 160, 24)};
    EXPECT_EQ(icons, expected);
    EXPECT_TRUE(iconRects(QRect(0, 0, 500, 300), 0, QSize(160, 24)).isEmpty());
    // An area narrower than one icon still gets one icon per row.
    const QList<QRect> narrow = iconRects(QRect(0, 0, 100, 300), 2, QSize(160, 24));
    ASSERT_EQ(narrow.size(), 2);
    EXPECT_EQ(narrow[1].topLeft(), QPoint(0, 252));
}

} // namespace
} // namespace qmf::mdi
