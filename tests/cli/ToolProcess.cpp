// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>

namespace qmf::cli::test {

QStringList words(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

ToolResult runTool(const QStringList& args, const QByteArray& input, const QString& workDir,
                   const QString& outputFile, qint64 fileSizeLimit, bool ignoreSigxfsz) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setStandardOutputFile(outputFile); // none when empty
    if (fileSizeLimit >= 0) {
        // In the child, before the tool starts: only async-signal-safe calls here.
        process.setChildProcessModifier([fileSizeLimit, ignoreSigxfsz] {
            const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, ignoreSigxfsz ? SIG_IGN : SIG_DFL);
        });
    }
    process.start(QStringLiteral(QMF4150CTL_PATH), args);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

std::unique_ptr<QProcess> startTool(const QStringList& args, const QString& workDir) {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(workDir);
    process->start(QStringLiteral(QMF4150CTL_PATH), args);
    EXPECT_TRUE(process->waitForStarted()) << process->errorString().toStdString();
    return process;
}

bool waitForError(QProcess& process, const QByteArray& text, QByteArray& err) {
    process.setReadChannel(QProcess::StandardError);
    while (!err.contains(text)) {
        if (!process.waitForReadyRead(60000)) {
            return false;
        }
        err += process.readAllStandardError();
    }
    return true;
}

ToolResult sim(const QString& line, const QByteArray& input, const QString& workDir) {
    return runTool(words("--simulate " + line), input, workDir);
}

void expectFailure(const ToolResult& result, int status, const QString& message) {
    EXPECT_EQ(result.exitCode, status);
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(message)) << result.err.toStdString();
}

ToolResult ToolTest::kept(const QString& line, const QByteArray& input) const {
    return sim("--sim-state board.state " + line, input, dir.path());
}

QByteArray ToolTest::readFile(const QString& name) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

void ToolTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace qmf::cli::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
