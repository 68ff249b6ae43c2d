// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the bus lines as a value change dump and reading them back; what the reader takes from
// other writers, and what it refuses.
#include "TimingWave.h"
#include "core/trace/VcdReader.h"
#include "core/trace/VcdTraceWriter.h"
#include "files/FilesTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using trace::VcdReader;
using trace::VcdTraceWriter;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct ReadBack {
    QList<LineLevels> levels;
    bool ok = false;
    QString error;
    qint64 endNs = 0;
};

// Reads `text` in pieces of `chunk` bytes, so that words and lines are cut anywhere.
ReadBack readVcd(const QByteArray& text, qsizetype chunk = 1 << 20, const QString& scl = "SCL",
                 const QString& sda = "SDA") {
    ReadBack result;
    VcdReader reader(scl, sda);
    reader.onLevels = [&](qint64 t, bool c, bool d) { result.levels.append({t, c, d}); };
    bool ok = true;
    for (qsizetype at = 0; ok && at < text.size(); at += chunk) {
        ok = reader.feed(QByteArrayView(text).sliced(at, qMin(chunk, text.size() - at)));
    }
    result.ok = ok && reader.finish();
    result.error = reader.error();
    result.endNs = reader.endTimeNs();
    return result;
}

TEST(VcdTrace, WhatIsObservedIsWhatIsReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bus.vcd");
    TimingWave wave;
    wave.readTransfer();
    VcdTraceWriter writer(path);
    ASSERT_TRUE(writer.open(QStringLiteral("get 0D $end of comment")));
    // Bus time starts anywhere; every level is observed twice, as a read-back and a sample give.
    const qint64 origin = 123456789;
    for (const LineLevels& l : wave.levels) {
        writer.observe(origin + l.timeNs / 1000, l.scl, l.sda);
        writer.observe(origin + l.timeNs / 1000, l.scl, l.sda);
    }
    EXPECT_FALSE(QFile::exists(path)) << "the file appears only when it is complete";
    ASSERT_TRUE(writer.finish()) << writer.error().toStdString();

    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.startsWith("$comment get 0D end of comment $end\n$timescale 1us $end\n"));
    EXPECT_TRUE(text.contains("$var wire 1 ! SCL $end\n$var wire 1 \" SDA $end\n"));
    EXPECT_TRUE(text.contains("$enddefinitions $end\n#0\n1!\n1\"\n"));
    EXPECT_TRUE(text.endsWith(QByteArray::number(wave.t / 1000 + 1) + "\n"));
    quint64 changes = 2; // the first levels give both wires
    for (qsizetype i = 1; i < wave.levels.size(); ++i) {
        changes += (wave.levels[i].scl != wave.levels[i - 1].scl ? 1 : 0) +
                   (wave.levels[i].sda != wave.levels[i - 1].sda ? 1 : 0);
    }
    EXPECT_EQ(writer.changes(), changes);
    for (const qsizetype chunk : {qsizetype(1), qsizetype(7), qsizetype(1 << 20)}) {
        SCOPED_TRACE(chunk);
        const ReadBack back = readVcd(text, chunk);
        ASSERT_TRUE(back.ok) << back.error.toStdString();
        EXPECT_EQ(back.levels, wave.levels);
        EXPECT_EQ(back.endNs, wave.t + 1000);
    }
}

TEST(VcdTrace, AFailedWriteIsReportedAndLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bus.vcd");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older trace\n");
    old.close();

    VcdTraceWriter writer(path);
    int failures = 0;
    writer.onFailure = [&] { ++failures; };
    ASSERT_TRUE(writer.open());
    {
        FileSizeLimit limit(VcdTraceWriter::BlockBytes / 2);
        for (qint64 t = 0; t < 100000 && !writer.failed(); ++t) {
            writer.observe(t * 5, (t & 1) != 0, (t & 2) != 0);
        }
    }
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(writer.error().contains("File too large")) << writer.error().toStdString();
    writer.observe(1000000, false, false); // ignored from now on
    EXPECT_FALSE(writer.finish());
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(readAll(path), "an older trace\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"bus.vcd"});

    VcdTraceWriter nowhere(dir.filePath("no/such/folder/bus.vcd"));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.error().isEmpty());
    EXPECT_FALSE(nowhere.finish());
}

TEST(VcdTrace, TheReaderTakesWhatOtherWritersWrite) {
    const struct {
        const char* what;
        QByteArray text;
        QList<LineLevels> levels;
        QString scl = "SCL", sda = "SDA";
    } cases[] = {
        {"a logic analyser's export: 10 ns steps, other wires, x and z, dump blocks",
         "$date today $end $version la 1.0 $end\n$timescale 10 ns $end\n"
         "$scope module top $end $scope module i2c $end\n"
         "$var wire 1 a clk $end $var wire 1 ( scl $end $var wire 1 ) sda $end\n"
         "$var wire 8 * bus [7:0] $end $var real 1 + level $end\n"
         "$upscope $end $upscope $end $enddefinitions $end\n"
         "$comment starts here $end\n#0 $dumpvars x( z) 0a b00000000 * r0.5 + $end\n"
         "#3 1a\n#5 0)\n#10 0( b1 * 1a\n#12 0a\n#15 0(\n#20 1)\n",
         {{0, true, true}, {50, true, false}, {100, false, false}, {200, false, true}}},
        {"time scale 100 ps, a wire shared by two names, names in another case",
         "$timescale 100ps $end $var wire 1 ! Clock $end $var wire 1 ! other $end "
         "$var wire 1 # Data [0] $end $enddefinitions $end #0 1! 1# #25 0# #40 0! #40 1#",
         {{0, true, true}, {2, true, false}, {4, false, true}},
         "clock",
         "DATA"},
        {"time scale 1 s",
         "$timescale 1s $end $var wire 1 ! SCL $end $var wire 1 \" SDA $end "
         "$enddefinitions $end #0 1! 1\" #2 0\"",
         {{0, true, true}, {2000000000, true, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const qsizetype chunk : {qsizetype(1), qsizetype(1 << 20)}) {
            const ReadBack back = readVcd(c.text, chunk, c.scl, c.sda);
            ASSERT_TRUE(back.ok) << back.error.toStdString();
            EXPECT_EQ(back.levels, c.levels);
        }
    }
}

TEST(VcdTrace, TheReaderRefusesWhatIsNoTraceOfTheLines) {
    const QByteArray defs = "$timescale 1us $end\n$var wire 1 ! SCL $end\n"
                            "$var wire 1 \" SDA $end\n$enddefinitions $end\n";
    const struct {
        const char* what;
        QByteArray text;
        const char* error;
    } cases[] = {
        {"no trace at all", "register,value\n0,41\n",
         "line 1: \"register,value\" where a $ "
         "command was expected"},
        {"an empty file", "", "ends before $enddefinitions"},
        {"a header cut short", "$timescale 1us $end\n$var wire 1 ! SCL",
         "line 2: the file ends "
         "inside $var"},
        {"no SDA",
         "$timescale 1us $end $var wire 1 ! SCL $end $var wire 1 # D1 $end\n"
         "$enddefinitions $end",
         "line 2: no one-bit wire named SDA (its wires are SCL, D1)"},
        {"a wide SCL", "$var wire 4 ! SCL $end", "SCL is 4 bits wide"},
        {"an odd time scale", "$timescale 5 us $end", "the time scale \"5us\" is not 1, 10 or 100"},
        {"time going back", defs + "#10\n1!\n#9\n", "line 7: the time goes back"},
        {"a time that is no number", defs + "#1x\n", "\"#1x\" is not a time stamp"},
        {"a time too large", defs + "#999999999999999999\n", "too large"},
        {"garbage in the values", defs + "#0\nhello\n", "\"hello\" is neither a time stamp nor"},
        {"a value without a wire", defs + "#0\n1\n", "the value 1 names no wire"},
        {"an endless word", QByteArray(VcdReader::MaxWordBytes + 1, 'a'), "a word of more than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadBack back = readVcd(c.text);
        EXPECT_FALSE(back.ok);
        EXPECT_TRUE(back.error.contains(QLatin1String(c.error))) << back.error.toStdString();
    }
}

} // namespace
} // namespace qmf::test
