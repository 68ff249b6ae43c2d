// SPDX-License-Identifier: GPL-3.0-or-later
// Replays a fuzz target's corpus in the normal build: every file of the folders (or the files)
// named on the command line goes through the target's entry point once. A finding aborts, which
// fails the test; a corpus that is missing or empty fails too, so a wrong path cannot pass.
#include "FuzzTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList files;
    for (const QString& argument : app.arguments().mid(1)) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            for (const QFileInfo& entry : QDir(argument).entryInfoList(QDir::Files, QDir::Name)) {
                files << entry.filePath();
            }
        } else {
            files << argument;
        }
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus files given\n");
        return 1;
    }
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(files.size()));
    return 0;
}
