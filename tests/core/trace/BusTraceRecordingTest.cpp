// SPDX-License-Identifier: GPL-3.0-or-later
// Recording an engine's lines into a file: only where the engine has lines, the file complete
// at the stop (or when the recording goes), a failed write reported once and the old file kept.
#include "core/trace/BusTraceRecording.h"

#include "core/link/BoardLink.h"
#include "core/trace/LineObserver.h"
#include "files/FilesTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

// An engine whose every read toggles SCL twice and reports it, as the bit-banged engine does.
class LinesEngine final : public BusEngine {
public:
    explicit LinesEngine(bool hasLines) : hasLines_(hasLines) {}
    void setAuxOutputs(quint8) override {}
    void setAuxOutputsPrepare(quint8) override {}
    qint16 TransferSetting() override { return 10; }
    void setTransferSetting(qint16) override {}
    void setTargetAddress(quint8) override {}
    bool AlternateMode() override { return false; }
    void setAlternateMode(bool) override {}
    void ReadByte(quint8, quint8, quint8& value) override {
        for (bool scl : {false, true}) {
            now_ += 10;
            if (observer_) {
                observer_->observe(now_, scl, true);
            }
        }
        value = 0x41;
    }
    void WriteByte(quint8, quint8, quint8) override {}
    bool setLineObserver(trace::LineObserver* observer) override {
        if (!hasLines_) {
            return BusEngine::setLineObserver(observer);
        }
        observer_ = observer;
        return true;
    }
    trace::LineObserver* observer_ = nullptr;

private:
    bool hasLines_;
    qint64 now_ = 1000;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(BusTraceRecording, RecordsFromStartToStopIntoACompleteFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bus.vcd");
    LinesEngine engine(true);
    quint8 value = 0;
    {
        trace::BusTraceRecording recording(engine);
        ASSERT_TRUE(recording.start(path, QStringLiteral("test")));
        EXPECT_TRUE(recording.recording());
        EXPECT_NE(engine.observer_, nullptr);
        engine.ReadByte(0x5E, 0x0D, value);
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_TRUE(recording.stop()) << recording.error().toStdString();
        EXPECT_EQ(engine.observer_, nullptr);
        EXPECT_EQ(recording.changes(), 3u);
        EXPECT_TRUE(contents(path).endsWith("#0\n0!\n1\"\n#10\n1!\n#11\n"));

        // A second recording into another file; the recording's end completes it.
        ASSERT_TRUE(recording.start(dir.filePath("second.vcd")));
        engine.ReadByte(0x5E, 0x0D, value);
        engine.ReadByte(0x5E, 0x0D, value);
    }
    EXPECT_EQ(engine.observer_, nullptr);
    EXPECT_TRUE(contents(dir.filePath("second.vcd")).endsWith("#30\n1!\n#31\n"));
}

TEST(BusTraceRecording, RefusesAnEngineWithoutLinesAndReportsFailedWrites) {
    QTemporaryDir dir;
    LinesEngine noLines(false);
    trace::BusTraceRecording refused(noLines);
    EXPECT_FALSE(refused.start(dir.filePath("bus.vcd")));
    EXPECT_TRUE(refused.error().contains("no bus lines of its own"))
        << refused.error().toStdString();
    EXPECT_FALSE(refused.recording());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    trace::BusTraceRecording nowhere(noLines);
    EXPECT_FALSE(nowhere.start(dir.filePath("missing/bus.vcd")));
    EXPECT_TRUE(nowhere.error().startsWith("The bus trace could not be written to"));

    const QString path = dir.filePath("old.vcd");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    LinesEngine engine(true);
    trace::BusTraceRecording recording(engine);
    QStringList reported;
    recording.onWriteFailure = [&](const QString& error) { reported << error; };
    ASSERT_TRUE(recording.start(path));
    {
        FileSizeLimit limit(1000);
        quint8 value = 0;
        for (int i = 0; i < 20000 && reported.isEmpty(); ++i) {
            engine.ReadByte(0x5E, 0x0D, value);
        }
    }
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains("File too large")) << reported.first().toStdString();
    EXPECT_FALSE(recording.stop());
    EXPECT_TRUE(recording.error().endsWith("the file was not changed"));
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(reported.size(), 1);
}

} // namespace
} // namespace qmf::test
