// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a desktop application: the usual keys, Help > Documentation, and the
// licence in the About box.
#include "FrmMainFixture.h"
#include "gui/services/RefreshableView.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace qmf::test {

// Takes the URLs the desktop would be asked to open.
class UrlCatcher final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class CountingView final : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit CountingView(AppContext&) {}
    void refreshView() override { ++refreshes; }
    int refreshes = 0;
};

namespace {

class FrmMainHelp : public FrmMainFixture {
protected:
    FrmMainHelp() {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        for (const char* name : {"AutoSet", "Register_List"}) {
            t.ctx.openers.insert(QLatin1String(name), [] {});
        }
    }
    ~FrmMainHelp() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    // The documentation as the build tree has it beside bin/, like an installation.
    static QString docs() {
        return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                               QStringLiteral("/../share/doc/qmf4150"));
    }

    UrlCatcher catcher;
};

TEST_F(FrmMainHelp, TheUsualKeysWorkTheMenuItemsWhoseCaptionsStayAsTheyWere) {
    frmMain& main = createMain();
    main.show();
    QApplication::setActiveWindow(&main);
    CountingView& view = t.windows.show<CountingView>(t.ctx);
    const struct {
        const char* item;
        const char* caption;
        QKeySequence key;
    } cases[] = {
        {"mnuSave", "Save Settings to File", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuLoad", "Load Settings From File", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuViewRefresh", "&Refresh", QKeySequence(Qt::Key_F5)},
        {"mnuHelpDocumentation", "&Documentation", QKeySequence(Qt::Key_F1)},
        {"mnuFileExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        QAction* item = child(main, c.item);
        EXPECT_EQ(item->text(), QLatin1String(c.caption));
        EXPECT_EQ(item->shortcut(), c.key);
    }
    // Pressed on the main window, each key does what its item does.
    QTest::keySequence(&main, QKeySequence(Qt::CTRL | Qt::Key_S));
    QTest::keySequence(&main, QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(t.dialogs.fileRequests.size(), 2) << "a save and a load dialog";
    QTest::keySequence(&main, QKeySequence(Qt::Key_F5));
    EXPECT_EQ(view.refreshes, 1);
    QTest::keySequence(&main, QKeySequence(Qt::Key_F1));
    EXPECT_EQ(catcher.urls.size(), 1);
    QPointer<frmMain> closing = &main;
    QTest::keySequence(&main, QKeySequence(Qt::CTRL | Qt::Key_Q));
    flushDeletes();
    EXPECT_TRUE(closing.isNull());
}

TEST_F(FrmMainHelp, DocumentationOpensTheInstalledDocumentsNextToAbout) {
    frmMain& main = createMain();
    const QList<QAction*> items = child<QMenu>(main, "mnuHelp")->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mnuHelpAbout")) << "About stays first";
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("mnuHelpDocumentation"));
    ASSERT_TRUE(QFile::exists(docs() + QStringLiteral("/hardware.md")));
    items[1]->trigger();
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(docs())});
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();
    // Without a viewer for it, the user is told so.
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent"); // no xdg-open
    items[1]->trigger();
    qputenv("PATH", path);
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_TRUE(t.errors.lastError().contains(docs())) << t.errors.lastError().toStdString();
}

// About: title, version and licence in a modal box, brought up once, closed by OK; the licence
// opens its full text unchanged.
TEST_F(FrmMainHelp, TheAboutBoxShowsTitleVersionAndLicenceModallyUntilOk) {
    frmMain& main = createMain();
    main.show();
    EXPECT_EQ(child(main, "mnuHelpAbout")->text(), QStringLiteral("&About ")); // with its blank
    child(main, "mnuHelpAbout")->trigger();
    frmAbout* about = main.aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parentWidget(), &main);
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About QMF4150_Evaluation_Software"));
    EXPECT_EQ(child<QLabel>(*about, "lblTitle")->text(),
              QStringLiteral("QMF4150 Evaluation Software"));
    EXPECT_EQ(child<QLabel>(*about, "lblVersion")->text(), QStringLiteral("Version 3.0.4"));
    child(main, "mnuHelpAbout")->trigger();
    EXPECT_EQ(main.aboutBox(), about) << "a second choice brings up the same box";
    auto* notice = child<QLabel>(*about, "lblLicence");
    EXPECT_TRUE(notice->text().contains(QStringLiteral("ABSOLUTELY NO WARRANTY")));
    EXPECT_TRUE(notice->text().contains(QStringLiteral("GNU General Public License, version 3")));
    EXPECT_EQ(child<QLabel>(*about, "lblDescription")->text(),
              QStringLiteral("This software will allow the user to communicate and evaluate the "
                             "QMF4150 Hardware Monitor"));
    emit notice->linkActivated(QStringLiteral("licence"));
    auto* dialog = about->findChild<QDialog*>(QStringLiteral("LicenceDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    QFile licence(docs() + QStringLiteral("/LICENSE"));
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly));
    EXPECT_EQ(child<QPlainTextEdit>(*dialog, "LicenceTXT")->toPlainText(),
              QString::fromUtf8(licence.readAll()));
    dialog->close();
    QPointer<frmAbout> shown = about;
    QTest::mouseClick(child<QPushButton>(*about, "cmdOK"), Qt::LeftButton);
    flushDeletes();
    EXPECT_TRUE(shown.isNull() || !shown->isVisible());
    EXPECT_TRUE(main.isVisible());
}

} // namespace
} // namespace qmf::test

#include "frmMainHelpTest.moc"
