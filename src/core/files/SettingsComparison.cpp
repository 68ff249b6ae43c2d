// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/SettingsComparison.h"

#include "core/chip/PowerUpValues.h"
#include "core/files/RegisterSettingsReport.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

#include <array>
#include <optional>

namespace qmf {

SettingsComparison compareWithChip(SharedState& state, const ParsedRegisterSettings& file,
                                   bool includeReadings) {
    std::array<std::optional<quint8>, RegisterSettingsCount> wanted{};
    for (const auto& line : file.settings) {
        wanted[line.setting.reg] = quint8(qMin<qint16>(line.setting.value, 255));
    }
    SettingsComparison result;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        const quint8 reg = quint8(r);
        if (!wanted[r]) {
            result.missing << r;
            continue;
        }
        if (!includeReadings && isChipReading(reg)) {
            result.readingsSkipped << r;
            continue;
        }
        quint8 chip = 0;
        try {
            chip = ReadRegisterAt(state, reg);
        } catch (const std::exception& e) {
            result.unreadable << QStringLiteral("Register %1 could not be read: %2")
                                     .arg(text::hex(reg), errorMessage(e));
            continue;
        }
        ++result.compared;
        if (chip != *wanted[r]) {
            result.differences << RegisterDifference{reg, *wanted[r], chip};
        }
    }
    return result;
}

QStringList describeComparison(const SettingsComparison& comparison,
                               const ParsedRegisterSettings& file) {
    QStringList lines;
    const auto differ = comparison.differences.size();
    const QString compared = QStringLiteral(" (%1 compared)").arg(comparison.compared);
    lines << (differ == 0   ? QStringLiteral("The chip matches the file.")
              : differ == 1 ? QStringLiteral("1 register differs.")
                            : QStringLiteral("%1 registers differ.").arg(differ))
                     .chopped(1) +
                 compared + QLatin1Char('.');
    if (!comparison.readingsSkipped.isEmpty()) {
        lines << QStringLiteral("Readings not compared: %1.")
                     .arg(numberRuns(comparison.readingsSkipped, true));
    }
    if (!file.badLines.isEmpty()) {
        lines << QStringLiteral("Not of the form register,value, not compared: line %1.")
                     .arg(numberRuns(file.badLines, false));
    }
    if (file.firstIgnoredLine != 0) {
        lines << QStringLiteral("The file holds more than 256 settings; from line %1 on it was "
                                "not compared.")
                     .arg(file.firstIgnoredLine);
    }
    if (!comparison.missing.isEmpty()) {
        lines << QStringLiteral("The file holds no setting for %1 %2.")
                     .arg(comparison.missing.size() == 1 ? QStringLiteral("register")
                                                         : QStringLiteral("registers"),
                          numberRuns(comparison.missing, true));
    }
    return lines + comparison.unreadable;
}

} // namespace qmf
