// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/frmAbout.h"

#include "gui/app/AppVersion.h"
#include "gui/app/SettingsSandbox.h"
#include "gui/app/frmMain.h"
#include "gui/support/TestContext.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class FrmAboutTest : public ::testing::Test {
protected:
    void TearDown() override { t.windows.destroyAll(); }

    frmAbout* openAbout(frmMain& main) {
        main.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
        return main.aboutBox();
    }
    template <class T> T* child(QWidget* parent, const char* name) {
        auto* found = parent->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    SettingsSandbox sandbox;
    TestContext t{TestContext::Recording};
};

TEST_F(FrmAboutTest, ShowsTitleVersionAndPurposeModallyOverTheMainWindow) {
    frmMain& main = t.windows.get<frmMain>(t.ctx);
    main.show();
    frmAbout* about = openAbout(main);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->parentWidget(), &main);
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About QMF4150_Evaluation_Software"));
    EXPECT_EQ(child<QLabel>(about, "lblTitle")->text(),
              QStringLiteral("QMF4150 Evaluation Software"));
    EXPECT_EQ(child<QLabel>(about, "lblTitle")->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(child<QLabel>(about, "lblVersion")->text(), versionCaption(programVersion()));
    EXPECT_EQ(child<QLabel>(about, "lblVersion")->text(), QStringLiteral("Version 3.0.4"));
    EXPECT_EQ(child<QLabel>(about, "lblDescription")->text(),
              QStringLiteral("This software will allow the user to communicate and evaluate the "
                             "QMF4150 Hardware Monitor"));
    EXPECT_FALSE(child<QLabel>(about, "picIcon")->pixmap().isNull());
    EXPECT_EQ(child<QPushButton>(about, "cmdOK")->text(), QStringLiteral("OK"));

    // The separator: a grey line over a white one.
    QWidget* line = child<QWidget>(about, "Line1");
    const QImage image = line->grab().toImage();
    ASSERT_GE(image.height(), 2);
    const int x = image.width() / 2;
    EXPECT_EQ(image.pixelColor(x, 0), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(x, 1), QColor(255, 255, 255));

    // A second choice of the item brings up the same box.
    EXPECT_EQ(openAbout(main), about);
}

TEST_F(FrmAboutTest, OkAndEscapeCloseTheBox) {
    frmMain& main = t.windows.get<frmMain>(t.ctx);
    main.show();
    for (bool byKeyboard : {false, true}) {
        QPointer<frmAbout> about = openAbout(main);
        ASSERT_FALSE(about.isNull());
        if (byKeyboard) {
            QTest::keyClick(about, Qt::Key_Escape);
        } else {
            QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull() || !about->isVisible());
    }
    EXPECT_TRUE(main.isVisible());
}

} // namespace
} // namespace qmf::test
