// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the monitoring view tests share: one view on a test board, its controls by name, the
// register traffic in short form, and for the graph window its log files and a private
// registration record of the calculation library.
#include "gui/support/TestContext.h"
#include "gui/views/GraphFRM.h"
#include "gui/widgets/StripChart.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace qmf::test {

// Saves the widget's picture into $QMF_RENDER_DIR, when set, for a look.
inline void keepPicture(QWidget& widget, const char* file) {
    const QString dir = qEnvironmentVariable("QMF_RENDER_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(widget.grab().save(QDir(dir).filePath(QLatin1String(file))));
    }
}

// One view of class V on a test board (the recording fake unless told otherwise: chip at 5Eh on
// the printer port), created on first use so that a test can set the board up before it loads.
// Each test has a folder of its own, which also stands for the per-user settings, so that no
// registration record of the machine decides where the calculation library comes from, and the
// program's settings (the dialogs' last folders) stay the test's.
template <class V> class ViewTest : public ::testing::Test {
protected:
    explicit ViewTest(TestContext::BoardKind kind = TestContext::Recording) : t(kind) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    }
    V& view() {
        if (view_ == nullptr) {
            view_ = &t.windows.show<V>(t.ctx);
        }
        return *view_;
    }
    template <class T> T* child(const char* name) {
        T* found = view().template findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }

    // The transfers since the last call: "R70 W90=1E" for a read of 70h and a write to 90h.
    std::string traffic() {
        QStringList out;
        for (const QString& line : t.recording()->transfers()) {
            const QStringList f = line.section(QLatin1Char('('), 1)
                                      .section(QLatin1Char(')'), 0, 0)
                                      .split(QLatin1Char(','));
            out << (line.contains(QLatin1String("WriteByte"))
                        ? QStringLiteral("W%1=%2").arg(f[1], f[2])
                        : QStringLiteral("R") + f[1]);
        }
        t.recording()->clearLog();
        return out.join(QLatin1Char(' ')).toStdString();
    }

    // Registers Code0 as served by the library at `library`.
    void registerCode0(const QString& library) {
        QDir(dir.path()).mkpath(QStringLiteral("VexaCalculate00"));
        QFile record(dir.filePath(QStringLiteral("VexaCalculate00/registration.ini")));
        ASSERT_TRUE(record.open(QIODevice::WriteOnly));
        record.write("[{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}]\nClass=Code0\nLibrary=" +
                     QFile::encodeName(library) + "\n");
    }

    QTemporaryDir dir;
    TestContext t;

private:
    V* view_ = nullptr;
};

// The graph window, with helpers to tick it and to read its log files.
class GraphTest : public ViewTest<GraphFRM> {
protected:
    explicit GraphTest(TestContext::BoardKind kind = TestContext::Simulated) : ViewTest(kind) {}
    QCheckBox* graphsBox() { return child<QCheckBox>("StartStopGraphsCHK"); }
    QCheckBox* logBox() { return child<QCheckBox>("Check3"); }
    QPushButton* makeLogButton() { return child<QPushButton>("MakeLog_CMD"); }
    QLabel* countLabel() { return child<QLabel>("Label14"); }
    QTimer* timer() { return child<QTimer>("GraphTimer"); }
    StripChart* chart() { return child<StripChart>("FanSpeedAndTemp"); }

    // One timer period passes, then the tick runs.
    void ticks(int count = 1) {
        for (int i = 0; i < count; ++i) {
            t.clock.advanceMs(100);
            view().GraphTimer_Timer();
        }
    }
    double lastValue(int trace) {
        const auto data = chart()->graph(trace)->data();
        return data->isEmpty() ? std::nan("") : (data->constEnd() - 1)->value;
    }

    QString logPath(const char* name = "log.xls") const {
        return dir.filePath(QLatin1String(name));
    }
    // "Make New Log" with the file dialog answering `path`.
    void makeLog(const QString& path) {
        t.dialogs.fileAnswers.append(path);
        makeLogButton()->click();
    }
    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The data lines of a log: what stands between each one's CR prefix and its CR LF end.
    static QList<QByteArray> dataLines(const QString& path) {
        const QList<QByteArray> parts = bytes(path).split('\r'); // header, LF, line, LF, ...
        QList<QByteArray> data;
        for (qsizetype i = 2; i < parts.size(); i += 2) {
            data.append(parts[i]);
        }
        return data;
    }
    // How many log-failure messages were shown; each must be the exact one.
    int logErrors() const {
        int count = 0;
        for (const auto& m : t.dialogs.messages) {
            if (m.title == QStringLiteral("Error")) {
                EXPECT_EQ(m.text, QStringLiteral("There has been a problem writing to the log "
                                                 "file.\nThis file may be locked by another "
                                                 "application."));
                EXPECT_EQ(m.icon, UserDialogs::Icon::None);
                ++count;
            }
        }
        return count;
    }
};

// On the recording board: oscillators 470 / 940 Hz, counts 28 / 45 (2014 / 2507 RPM),
// temperatures 31, -55 and 0 C.
class GraphRecording : public GraphTest {
protected:
    GraphRecording() : GraphTest(TestContext::Recording) {
        const std::pair<int, quint8> registers[] = {{0x68, 0x40}, {0x69, 0x80}, {0x70, 28},
                                                    {0x71, 45},   {0xA0, 31},   {0xA1, 201}};
        for (const auto& [reg, value] : registers) {
            chip()[reg] = value;
        }
    }
};

} // namespace qmf::test
