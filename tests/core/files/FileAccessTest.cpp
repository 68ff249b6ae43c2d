// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file all or nothing, and reading one whole: against a device that fails, a real
// file-size limit, pipes, FIFOs and device nodes.
#include "FilesTestSupport.h"
#include "core/files/AllOrNothingFile.h"
#include "core/files/WholeFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qmf::test {
namespace {

// Takes at most `chunk` bytes per write and `capacity` bytes in all; then fails as a full disk
// does, or, when `silent`, takes nothing without saying why.
class FailingDevice : public QIODevice {
public:
    FailingDevice(qint64 chunk, qint64 capacity, bool silent)
        : chunk_(chunk), capacity_(capacity), silent_(silent) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    QByteArray data;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* bytes, qint64 size) override {
        const qint64 room = capacity_ - data.size();
        if (room <= 0) {
            if (silent_) {
                return 0;
            }
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 taken = std::min({size, chunk_, room});
        data.append(bytes, taken);
        return taken;
    }

private:
    qint64 chunk_, capacity_;
    bool silent_;
};

TEST(WriteFully, ShortWritesGoOnAndTheDevicesReasonEndsAFailedOne) {
    const QByteArray bytes(1000, 'x');
    const struct {
        qint64 chunk, capacity;
        bool silent;
        const char* error; // empty: all written
    } cases[] = {
        {1000, 1000, false, ""},
        {7, 5000, false, ""}, // many short writes
        {300, 999, false, "No space left on device"},
        {1000, 0, false, "No space left on device"},
        {64, 640, true, "the device took no more data (640 of 1000 bytes written)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chunk << "/" << c.capacity);
        FailingDevice device(c.chunk, c.capacity, c.silent);
        EXPECT_EQ(writeFully(device, bytes), QString::fromLatin1(c.error));
        EXPECT_EQ(device.data, bytes.left(c.capacity));
    }
}

class AllOrNothing : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray contents(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files); }
    QTemporaryDir dir;
};

// Past a file-size limit (as on a full disk) the old file keeps its contents, the failure names
// the reason, and no temporary file is left beside it.
TEST_F(AllOrNothing, AFileIsReplacedOnlyWhenEveryByteWasWritten) {
    ASSERT_EQ(writeWholeFile(path("a.dat"), "old contents"), QString());
    const struct {
        qint64 size, limit;
        bool replaced;
    } cases[] = {{100, 4096, true},
                 {4096, 4096, true},
                 {4097, 4096, false},
                 {20000, 4096, false},
                 {100000, 65536, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes, limit " << c.limit);
        const QByteArray before = contents("a.dat");
        const QByteArray bytes(c.size, 'n');
        QString error;
        {
            const FileSizeLimit limit(c.limit);
            error = writeWholeFile(path("a.dat"), bytes);
        }
        EXPECT_EQ(error, c.replaced ? QString() : QStringLiteral("File too large"));
        EXPECT_EQ(contents("a.dat"), c.replaced ? bytes : before);
        EXPECT_EQ(entries(), QStringList{QStringLiteral("a.dat")});
    }
}

TEST_F(AllOrNothing, WritesInPiecesAndDiscardsWhatIsNotCommitted) {
    {
        AllOrNothingFile file(path("b.dat"));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("one,") && file.write("two"));
        ASSERT_TRUE(file.commit());
    }
    EXPECT_EQ(contents("b.dat"), "one,two");
    {
        AllOrNothingFile file(path("b.dat"));
        ASSERT_TRUE(file.open() && file.write("lost"));
        file.discard();
        EXPECT_FALSE(file.commit());
    }
    {
        AllOrNothingFile file(path("b.dat"));
        ASSERT_TRUE(file.open() && file.write("lost too"));
    } // never committed
    EXPECT_EQ(contents("b.dat"), "one,two");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("b.dat")});
    // What is not a regular file is not replaced by one.
    const QByteArray fifo = QFile::encodeName(path("f.dat"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    for (const QString& special : {path("f.dat"), QStringLiteral("/dev/null"), dir.path()}) {
        EXPECT_NE(writeWholeFile(special, "x"), QString()) << special.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::stat(fifo.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ::unlink(fifo.constData());
    AllOrNothingFile nowhere(path("no/such/dir/c.dat"));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.errorString().isEmpty());
    EXPECT_FALSE(nowhere.write("x") || nowhere.commit());
}

class WholeFileRead : public AllOrNothing {
protected:
    // A pipe holding `bytes`, its writing end closed; read through its /proc name.
    QString pipeWith(const QByteArray& bytes) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        EXPECT_EQ(::write(ends[1], bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(ends[1]);
        readEnds_ << ends[0];
        return QStringLiteral("/proc/self/fd/%1").arg(ends[0]);
    }
    ~WholeFileRead() override {
        for (const int end : readEnds_) {
            ::close(end);
        }
    }
    QList<int> readEnds_;
};

TEST_F(WholeFileRead, RegularFilesAndPipesAreReadToTheirEndWithinTheLimit) {
    using S = WholeFile::Status;
    const QByteArray big(200000, 'b'); // several reads
    ASSERT_EQ(writeWholeFile(path("big"), big), QString());
    ASSERT_EQ(writeWholeFile(path("empty"), ""), QString());
    const struct {
        QString path;
        qint64 limit;
        S status;
        QByteArray bytes;
    } cases[] = {
        {path("big"), 200000, S::Read, big},
        {path("big"), 199999, S::TooLarge, {}},
        {path("empty"), 10, S::Read, {}},
        {path("missing"), 10, S::NotFound, {}},
        {pipeWith("0,0\r\n1,10\r\n"), 100, S::Read, "0,0\r\n1,10\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const WholeFile file = readWholeFile(c.path, c.limit);
        EXPECT_EQ(file.status, c.status) << file.error.toStdString();
        EXPECT_EQ(file.bytes, c.bytes);
    }
    const QString overfull = pipeWith(QByteArray(101, 'p'));
    EXPECT_EQ(readWholeFile(overfull, 100).status, S::TooLarge);
}

TEST_F(WholeFileRead, DevicesAndDirectoriesAreRefusedSayingWhatTheyAre) {
    const struct {
        QString path;
        const char* error;
    } cases[] = {
        {QStringLiteral("/dev/zero"), "it is a device (character special file), not a file"},
        {QStringLiteral("/dev/null"), "it is a device (character special file), not a file"},
        {dir.path(), "it is a directory, not a file"},
    };
    for (const auto& c : cases) {
        const WholeFile file = readWholeFile(c.path, 1 << 20);
        EXPECT_EQ(file.status, WholeFile::Status::Failed) << c.path.toStdString();
        EXPECT_EQ(file.error, QString::fromLatin1(c.error));
    }
}

// A FIFO is read from whoever opens it for writing, to its close; one nobody writes to keeps the
// reader waiting (it is told once) until stop() ends the wait.
TEST_F(WholeFileRead, AFifoIsReadFromItsWriterAndAWaitForOneCanBeStopped) {
    const QByteArray fifo = QFile::encodeName(path("f.dat"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    std::thread writer([&fifo] {
        QFile out(QString::fromLocal8Bit(fifo)); // opening waits for the reader
        if (out.open(QIODevice::WriteOnly)) {
            out.write("D,41\r\n");
            out.flush();
            out.write("E,12\r\n");
        }
    });
    const WholeFile read = readWholeFile(path("f.dat"), 100);
    writer.join();
    EXPECT_EQ(read.status, WholeFile::Status::Read);
    EXPECT_EQ(read.bytes, "D,41\r\nE,12\r\n");

    int asked = 0, told = 0;
    ReadControl control{[&] { return ++asked > 3; }, [&] { ++told; }};
    EXPECT_EQ(readWholeFile(path("f.dat"), 100, control).status, WholeFile::Status::Interrupted);
    EXPECT_EQ(told, 1);
    EXPECT_GT(asked, 3);
}

} // namespace
} // namespace qmf::test
