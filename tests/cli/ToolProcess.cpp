// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolProcess.h"

#include "core/text/NumberText.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace qmf::cli::test {

QStringList ToolResult::outLines() const {
    QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

ToolResult runTool(const QStringList& args, const QByteArray& input, const QString& workDir) {
    QProcess process;
    process.setProgram(QStringLiteral(QMF4150CTL_PATH));
    process.setArguments(args);
    if (!workDir.isEmpty()) {
        process.setWorkingDirectory(workDir);
    }
    process.start();
    ToolResult result;
    if (!process.waitForStarted(30000)) {
        ADD_FAILURE() << "qmf4150ctl did not start: " << process.errorString().toStdString();
        return result;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "qmf4150ctl did not finish";
        process.kill();
        process.waitForFinished();
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

ToolResult runSim(const QStringList& args, const QByteArray& input, const QString& workDir) {
    return runTool(QStringList{QStringLiteral("--simulate")} + args, input, workDir);
}

ToolResult ToolTest::runKept(const QStringList& args, const QByteArray& input) const {
    return runSim(QStringList{QStringLiteral("--sim-state"), path(QStringLiteral("board.state"))} +
                      args,
                  input, dir.path());
}

QByteArray ToolTest::readFile(const QString& name) const {
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name.toStdString();
        return {};
    }
    return file.readAll();
}

void ToolTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray hexLine(int value) {
    return text::hex(quint32(value)).toLatin1() + '\n';
}

} // namespace qmf::cli::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
