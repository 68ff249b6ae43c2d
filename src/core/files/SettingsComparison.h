// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/RegisterSettingsFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qmf {

class SharedState;

struct RegisterDifference {
    quint8 reg = 0;
    quint8 fileValue = 0; // as a load would write it (FF for anything larger)
    quint8 chipValue = 0;
    friend bool operator==(const RegisterDifference&, const RegisterDifference&) = default;
};

// A register settings file against the chip.
struct SettingsComparison {
    QList<RegisterDifference> differences; // in register order
    int compared = 0;                      // registers read and compared
    QList<int> readingsSkipped;            // registers the chip changes itself, not compared
    QList<int> missing;                    // registers for which the file holds no valid line
    QStringList unreadable;                // registers that could not be read, and why
};

// Reads once each register for which the file has a valid line (the last one, as a load leaves
// it) and compares. Registers whose content the chip changes itself are skipped unless
// includeReadings. Nothing is written.
SettingsComparison compareWithChip(SharedState& state, const ParsedRegisterSettings& file,
                                   bool includeReadings);

// What a comparison found, in sentences: the first says how many registers differ, the others
// what was not compared and why ("Readings not compared: 0, 5, 10, ...").
QStringList describeComparison(const SettingsComparison& comparison,
                               const ParsedRegisterSettings& file);

} // namespace qmf
