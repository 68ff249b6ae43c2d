// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SettingsFileCheck.h"

#include "core/files/RegisterSettingsReport.h"

#include <array>

namespace qmf::cli {

QStringList settingsFileProblems(const QString& path, const ParsedRegisterSettings& parsed) {
    QStringList problems;
    if (!parsed.badLines.isEmpty()) {
        problems << (parsed.badLines.size() == 1 ? QStringLiteral("%1: line %2 is not")
                                                 : QStringLiteral("%1: lines %2 are not"))
                            .arg(path, numberRuns(parsed.badLines, false)) +
                        QStringLiteral(" of the form register,value in hexadecimal (register 0 "
                                       "to FF).");
    }
    if (parsed.firstIgnoredLine != 0) {
        problems << QStringLiteral("%1: line %2: the file holds more than %3 settings.")
                        .arg(path)
                        .arg(parsed.firstIgnoredLine)
                        .arg(RegisterSettingsCount);
    }
    std::array<bool, RegisterSettingsCount> present{};
    for (const auto& line : parsed.settings) {
        present[line.setting.reg] = true;
    }
    QList<int> missing;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        if (!present[r]) {
            missing << r;
        }
    }
    if (!missing.isEmpty() && parsed.badLines.isEmpty()) {
        problems << QStringLiteral("%1: the file holds no setting for %2 %3.")
                        .arg(path,
                             missing.size() == 1 ? QStringLiteral("register")
                                                 : QStringLiteral("registers"),
                             numberRuns(missing, true));
    }
    return problems;
}

} // namespace qmf::cli
