// SPDX-License-Identifier: GPL-3.0-or-later
// A log file of either kind, read whole and told apart by its first line.
#include "core/files/WholeFileReader.h"
#include "core/logs/LogRecording.h"

#include <QFileInfo>

namespace qmf {

LogRecording readLogFile(const QString& path) {
    const WholeFile file = readWholeFile(path, MaxLogFileBytes);
    if (!file.ok()) {
        LogRecording log;
        log.error = file.status == WholeFile::Status::NotFound
                        ? QStringLiteral("there is no such file")
                        : file.error;
        return log;
    }
    if (file.bytes.startsWith("Time\t")) {
        return readXlsLog(file.bytes, QFileInfo(path).lastModified().date());
    }
    return readCsvLog(file.bytes);
}

} // namespace qmf
