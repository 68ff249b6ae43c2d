// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/support/TestContext.h"
#include "gui/views/GraphFRM.h"
#include "gui/widgets/StripChart.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace qmf::test {

// Points XDG_CONFIG_HOME at a folder of its own for its lifetime, so that no registration record
// of the machine decides where the calculation library comes from.
class ScopedConfigHome {
public:
    ScopedConfigHome() : had_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        old_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
    }
    ~ScopedConfigHome() {
        if (had_) {
            qputenv("XDG_CONFIG_HOME", old_);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
    }
    QString path() const { return dir_.path(); }

    // Registers Code0 as served by the library at `library`.
    void registerCode0(const QString& library) const {
        QDir(dir_.path()).mkpath(QStringLiteral("VexaCalculate00"));
        QFile record(dir_.filePath(QStringLiteral("VexaCalculate00/registration.ini")));
        ASSERT_TRUE(record.open(QIODevice::WriteOnly));
        record.write("[{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}]\nClass=Code0\nLibrary=" +
                     QFile::encodeName(library) + "\n");
    }

private:
    QTemporaryDir dir_;
    bool had_;
    QByteArray old_;
};

// A graph window on a board of the given kind, with helpers to tick it and to read its files.
class GraphFixture : public ::testing::Test {
protected:
    explicit GraphFixture(TestContext::BoardKind kind = TestContext::Simulated) : t(kind) {}

    // The window, created on first use (tests set up the board before the window loads).
    GraphFRM& window() {
        if (!window_) {
            window_ = &t.windows.get<GraphFRM>(t.ctx);
        }
        return *window_;
    }

    template <class T> T* child(const char* name) {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QCheckBox* graphsBox() { return child<QCheckBox>("StartStopGraphsCHK"); }
    QCheckBox* logBox() { return child<QCheckBox>("Check3"); }
    QPushButton* makeLogButton() { return child<QPushButton>("MakeLog_CMD"); }
    QLineEdit* intervalEdit() { return child<QLineEdit>("Text1"); }
    QLabel* countLabel() { return child<QLabel>("Label14"); }
    QTimer* timer() { return child<QTimer>("GraphTimer"); }
    StripChart* chart() { return child<StripChart>("FanSpeedAndTemp"); }

    // One timer period passes, then the tick runs.
    void tick() {
        t.clock.advanceMs(100);
        window().GraphTimer_Timer();
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            tick();
        }
    }

    QString logPath(const QString& name = QStringLiteral("log.xls")) const {
        return dir.filePath(name);
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
    // The data lines of a log (without the header), each without its CR prefix and CR LF end.
    static QList<QByteArray> dataLines(const QString& path) {
        QList<QByteArray> lines = bytes(path).split('\n');
        QList<QByteArray> data;
        for (int i = 1; i < lines.size(); ++i) { // 0 is the header
            if (!lines[i].isEmpty()) {
                data.append(lines[i].mid(1).chopped(1));
            }
        }
        return data;
    }

    // The messages with this title.
    QList<FakeDialogs::Message> messagesTitled(const QString& title) const {
        QList<FakeDialogs::Message> found;
        for (const auto& m : t.dialogs.messages) {
            if (m.title == title) {
                found.append(m);
            }
        }
        return found;
    }
    int logErrorCount() const { return int(messagesTitled(QStringLiteral("Error")).size()); }

    // The value of the newest point of a trace.
    double lastValue(int trace) {
        const auto data = chart()->graph(trace)->data();
        return data->isEmpty() ? std::nan("") : (data->constEnd() - 1)->value;
    }

    ScopedConfigHome config;
    QTemporaryDir dir;
    TestContext t;

private:
    GraphFRM* window_ = nullptr;
};

// The same on the recording board, whose registers a test sets byte by byte.
class GraphRecordingFixture : public GraphFixture {
protected:
    GraphRecordingFixture() : GraphFixture(TestContext::Recording) {}
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }

    // Oscillators 470 / 940 Hz, counts 28 / 45 (2014 / 2507 RPM), temperatures 31, -55, 0 C.
    void setKnownReadings() {
        chip()[0x68] = 0x40;
        chip()[0x69] = 0x80;
        chip()[0x70] = 28;
        chip()[0x71] = 45;
        chip()[0xA0] = 31;
        chip()[0xA1] = 201;
        chip()[0xA2] = 0;
    }
};

inline const QString LogFailureText =
    QStringLiteral("There has been a problem writing to the log file.\n"
                   "This file may be locked by another application.");

} // namespace qmf::test
