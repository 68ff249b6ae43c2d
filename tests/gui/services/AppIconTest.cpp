// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon: the installed SVG file when Qt can read it (the build tree has it where an
// installation does), and that file shows the pictogram the program draws.
#include "gui/services/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

TEST(AppIcon, TheProgramUsesTheInstalledIconBesideIt) {
    const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             "/../share/icons/hicolor/scalable/apps/" +
                                             QLatin1String(ApplicationId) + ".svg");
    EXPECT_EQ(applicationIconFile(), expected) << "needs Qt's SVG support (libqt6svg6)";
    const QIcon icon = applicationIcon();
    EXPECT_FALSE(icon.pixmap(64).isNull());
}

// Pixel by pixel at 128 px, the file and the drawing agree but for antialiasing and the font of
// the label.
TEST(AppIcon, TheIconFileIsTheDrawnPictogram) {
    const QString file = applicationIconFile();
    ASSERT_FALSE(file.isEmpty());
    const QImage svg = QImage(file).convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = chipPixmap(128).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(svg.size(), drawn.size());
    qint64 difference = 0;
    int different = 0;
    for (int y = 0; y < svg.height(); ++y) {
        for (int x = 0; x < svg.width(); ++x) {
            const QColor a = svg.pixelColor(x, y), b = drawn.pixelColor(x, y);
            const int d = std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                          std::abs(a.blue() - b.blue()) + std::abs(a.alpha() - b.alpha());
            difference += d;
            different += d > 96;
        }
    }
    std::printf("icon file vs drawn: mean difference %.2f, %d pixels apart\n",
                double(difference) / (128 * 128), different);
    EXPECT_LT(double(difference) / (128 * 128), 6.0); // a label 10 px off gives 35
    EXPECT_LT(different, 128 * 128 / 50);
}

} // namespace
} // namespace qmf::test
