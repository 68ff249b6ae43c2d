// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace qmf::cli::test {

QStringList words(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

ToolResult runTool(const QStringList& args, const QByteArray& input, const QString& workDir,
                   const QString& outputFile) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setStandardOutputFile(outputFile); // none when empty
    process.start(QStringLiteral(QMF4150CTL_PATH), args);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
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
