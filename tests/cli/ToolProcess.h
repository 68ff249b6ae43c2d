// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace qmf::cli::test {

struct ToolResult {
    int exitCode = -1; // -1 after a crash
    QByteArray out;
    QByteArray err;
    QStringList outLines() const { return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts); }
};

QStringList words(const QString& line);
// Runs qmf4150ctl with these arguments and standard input, in `workDir` and with standard output
// to `outputFile` when given. With `fileSizeLimit` no file the tool writes can grow past that many
// bytes: a write beyond fails with "File too large", as on a full disk, with SIGXFSZ ignored
// (as a shell may leave it) or, unless `ignoreSigxfsz`, with the signal's default action.
ToolResult runTool(const QStringList& args, const QByteArray& input = {},
                   const QString& workDir = {}, const QString& outputFile = {},
                   qint64 fileSizeLimit = -1, bool ignoreSigxfsz = true);
// Starts qmf4150ctl in `workDir` and leaves it running, its standard input open.
std::unique_ptr<QProcess> startTool(const QStringList& args, const QString& workDir);
// Waits until the running tool wrote `text` to standard error (false when it ended first).
bool waitForError(QProcess& process, const QByteArray& text, QByteArray& err);
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
