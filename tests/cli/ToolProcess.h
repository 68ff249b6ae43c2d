// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::cli::test {

struct ToolResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;
    QStringList outLines() const; // standard output split at "\n", the empty tail dropped
};

// Runs qmf4150ctl with these arguments and standard input, in `workDir` when given.
ToolResult runTool(const QStringList& args, const QByteArray& input = {},
                   const QString& workDir = {});

// The same with --simulate in front.
ToolResult runSim(const QStringList& args, const QByteArray& input = {},
                  const QString& workDir = {});

// A fixture with a scratch directory and a simulated board kept between runs in it.
class ToolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // --simulate --sim-state <dir>/board.state, then the arguments.
    ToolResult runKept(const QStringList& args, const QByteArray& input = {}) const;
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir dir;
};

// What the tool prints for a register: upper-case hex without leading zeros and a new line.
QByteArray hexLine(int value);

} // namespace qmf::cli::test
