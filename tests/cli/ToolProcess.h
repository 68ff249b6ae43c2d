// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::cli::test {

struct ToolResult {
    int exitCode = -1; // -1 after a crash
    QByteArray out;
    QByteArray err;
    QStringList outLines() const { return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts); }
};

QStringList words(const QString& line);
// Runs qmf4150ctl with these arguments and standard input, in `workDir` and with standard output
// to `outputFile` when given.
ToolResult runTool(const QStringList& args, const QByteArray& input = {},
                   const QString& workDir = {}, const QString& outputFile = {});
// runTool with --simulate and the words of `line` as the arguments.
ToolResult sim(const QString& line, const QByteArray& input = {}, const QString& workDir = {});
// Exit status `status`, nothing on standard output and `message` on standard error.
void expectFailure(const ToolResult& result, int status, const QString& message);

// A scratch directory, and a simulated board kept between runs in it.
class ToolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // In the scratch directory: --simulate --sim-state board.state, then the words of `line`.
    ToolResult kept(const QString& line, const QByteArray& input = {}) const;
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir dir;
};

} // namespace qmf::cli::test
