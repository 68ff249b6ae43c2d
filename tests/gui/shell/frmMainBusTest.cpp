// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's view of the bus on the pin-level simulated board: the health panel in the
// status bar and its details, each injected fault counted while the program goes on, and
// Tools > Record Bus Trace... (also started by --trace) writing a file sigrok-cli decodes.
#include "boards/linux/BusTiming.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedChip.h"
#include "boards/sim/SimulatedParallelPort.h"
#include "core/files/FilesTestSupport.h"
#include "core/link/BoardLink.h"
#include "core/link/DeviceSearch.h"
#include "core/link/RegisterAccess.h"
#include "gui/shell/BusHealthStatus.h"
#include "gui/shell/BusTraceControl.h"
#include "gui/shell/frmMain.h"
#include "gui/support/TestContext.h"
#include "support/SigrokDecode.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

// The program on the pin-level board, its chip chosen through the printer port as the device
// search's Finish chooses it.
class BusOfTheMainWindow : public ::testing::Test {
protected:
    BusOfTheMainWindow() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        SearchFinds finds;
        DeviceSearch(t.state.board()).searchPrinterPorts(finds);
        EXPECT_TRUE(DeviceSearch::applyChoice(t.state, finds, 0x5E).isEmpty());
        board->busHealth().reset(); // as a new search does
    }

    frmMain& main() { return t.windows.get<frmMain>(t.ctx); }
    BusHealthStatus& panel() { return *main().findChild<BusHealthStatus*>("BusHealthCMD"); }
    QAction& traceItem() { return *main().findChild<QAction*>("mnuRecordBusTrace"); }
    // A handler of the program reading register D, inside the error boundary as every one is.
    void readChipId() {
        t.errors.guard(&main(), [this] { lastRead = ReadRegisterAt(t.state, 0x0D); })();
    }

    QTemporaryDir settingsDir, files;
    sim::PinLevelSimulatedBoard* board = nullptr;
    TestContext t{[this] {
        auto made = std::make_unique<sim::PinLevelSimulatedBoard>(t.clock);
        board = made.get();
        return made;
    }};
    int lastRead = -1;
};

TEST_F(BusOfTheMainWindow, ThePanelSumsUpTheCountersAndAClickShowsThemAll) {
    BusHealthStatus& status = panel();
    EXPECT_EQ(status.text(), "Bus: 0 transfers, 0 failed");
    EXPECT_EQ(status.parentWidget(), main().statusBar());
    for (int i = 0; i < 3; ++i) {
        readChipId();
    }
    EXPECT_EQ(status.text(), "Bus: 0 transfers, 0 failed") << "the panel follows its timer";
    status.refresh();
    const BusHealthCounts& counts = board->busHealth().counts();
    EXPECT_EQ(status.text(), QStringLiteral("Bus: 3 transfers, 0 failed, %1/s")
                                 .arg(std::llround(counts.effectiveTransferRate())));
    EXPECT_EQ(status.accessibleName(), status.text());
    EXPECT_GT(counts.effectiveTransferRate(), 100.0);

    QTest::mouseClick(&status, Qt::LeftButton);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, "Bus Health");
    EXPECT_EQ(t.dialogs.messages[0].icon, UserDialogs::Icon::Information);
    EXPECT_EQ(t.dialogs.messages[0].text, QStringLiteral("Since the last device search:\n") +
                                              busHealthReport(counts).join(u'\n'));
    EXPECT_TRUE(t.dialogs.messages[0].text.contains("\nNACKs: 0\n"));
}

TEST_F(BusOfTheMainWindow, EachFaultIsCountedAndTheProgramGoesOn) {
    const struct {
        const char* what;
        std::function<void(sim::PinLevelSimulatedBoard&, bool)> fault;
        const char* error;      // on the status bar; empty: the read goes through
        BusHealthCounts counts; // of the one read
    } cases[] = {
        {"SDA shorted",
         [](auto& b, bool on) { b.port().setSdaShorted(on); },
         "SDA stays low",
         {1, 1, 0, 0, 0, 1, 0}},
        {"SCL held low",
         [](auto& b, bool on) { b.port().setSclShorted(on); },
         "SCL held low for more than 20 ms",
         {1, 1, 0, 0, 1, 1, 0}},
        // A chip that never acknowledges is no failure for a read: it reads FFh, as nobody.
        {"a chip that never acknowledges",
         [](auto& b, bool on) { b.printerPortChip().setAnswering(!on); },
         "",
         {1, 0, 1, 0, 0, 0, 0}},
    };
    BusHealthStatus& status = panel();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        board->busHealth().reset();
        c.fault(*board, true);
        lastRead = -1;
        readChipId();
        EXPECT_TRUE(t.errors.lastError().contains(QLatin1String(c.error)))
            << t.errors.lastError().toStdString();
        EXPECT_EQ(lastRead, *c.error ? -1 : 0xFF);
        const BusHealthCounts& n = board->busHealth().counts();
        EXPECT_EQ(n.transfers, c.counts.transfers);
        EXPECT_EQ(n.failedTransfers, c.counts.failedTransfers);
        EXPECT_EQ(n.nacks, c.counts.nacks);
        EXPECT_EQ(n.timeouts, c.counts.timeouts);
        EXPECT_EQ(n.stuckBusRecoveries, c.counts.stuckBusRecoveries);
        status.refresh();
        EXPECT_TRUE(status.text().startsWith(
            QStringLiteral("Bus: 1 transfers, %1 failed").arg(c.counts.failedTransfers)));
        EXPECT_EQ(status.palette().color(QPalette::ButtonText) == QColor(192, 0, 0),
                  c.counts.failedTransfers > 0)
            << "failures show in red";

        // The fault gone, the program reads the chip again.
        c.fault(*board, false);
        board->busTiming().advanceUs(40000);
        readChipId();
        EXPECT_EQ(lastRead, 0x41);
        EXPECT_EQ(board->busHealth().counts().transfers, 2u);
        EXPECT_TRUE(main().isEnabled());
    }
    EXPECT_EQ(t.dialogs.messages.size(), 2) << "each failure's message box, once";
}

TEST_F(BusOfTheMainWindow, RecordBusTraceWritesTheChosenFileFromClickToClick) {
    QAction& item = traceItem();
    EXPECT_EQ(item.text(), "Record Bus &Trace...");
    EXPECT_FALSE(item.isChecked());
    // Cancelled: nothing recorded.
    item.trigger();
    EXPECT_FALSE(item.isChecked());
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1);
    EXPECT_EQ(t.dialogs.fileRequests[0].mode, UserDialogs::FileMode::Save);
    EXPECT_TRUE(t.dialogs.fileRequests[0].filter.contains("*.vcd"));

    t.dialogs.fileAnswers << files.filePath("read"); // the suffix is added
    item.trigger();
    EXPECT_TRUE(item.isChecked());
    EXPECT_EQ(main().statusBar()->currentMessage(),
              "Recording the bus into " + files.filePath("read.vcd"));
    readChipId();
    EXPECT_FALSE(QFile::exists(files.filePath("read.vcd")));
    item.trigger();
    EXPECT_FALSE(item.isChecked());
    EXPECT_TRUE(main().statusBar()->currentMessage().startsWith("Bus trace written to " +
                                                                files.filePath("read.vcd")));
    const I2cDecode decoded = decodeI2c(files.filePath("read.vcd"));
    EXPECT_EQ(decoded.error, QString());
    EXPECT_EQ(decoded.events, i2cRead(0x5E, 0x0D, 0x41));
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(BusOfTheMainWindow, TheTraceOptionRecordsFromTheLoadAndAFailedWriteStopsIt) {
    t.mainWindow.recordBusTraceFromLoad(files.filePath("search.vcd"));
    t.mainWindow.loadMainWindow();
    EXPECT_TRUE(traceItem().isChecked());
    readChipId();
    t.windows.destroyAll(); // the program ends: the file is complete
    EXPECT_EQ(decodeI2c(files.filePath("search.vcd")).events, i2cRead(0x5E, 0x0D, 0x41));

    // A write that fails in the middle: one message, the recording stops, the old file stays.
    QFile old(files.filePath("old.vcd"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    ASSERT_TRUE(main().busTrace().start(files.filePath("old.vcd")));
    {
        FileSizeLimit limit(2000);
        for (int i = 0; i < 200 && main().busTrace().recording(); ++i) {
            readChipId();
            QCoreApplication::processEvents();
        }
    }
    EXPECT_FALSE(traceItem().isChecked());
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains("File too large"));
    EXPECT_TRUE(t.dialogs.messages[0].text.endsWith("the file was not changed"));
    QFile kept(files.filePath("old.vcd"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    EXPECT_EQ(lastRead, 0x41) << "the traffic went on";
}

} // namespace
} // namespace qmf::test
