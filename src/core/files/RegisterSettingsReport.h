// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/RegisterSettingsFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qmf {

// What a save or load of register settings did, in sentences for a message box or the command
// line. The first line says what happened; the lines after it what went wrong. A complete save
// is "Register settings were saved to file.", a complete load "Register settings were loaded from
// file."; anything less says so and never reads as a plain success.
QStringList describeSave(const SaveRegisterSettingsResult& result);
QStringList describeLoad(const LoadRegisterSettingsResult& result);

// Ascending numbers, three or more in a row as a run: {1, 2, 3, 7, 8} -> "1 to 3, 7, 8"; in
// hexadecimal "A to C, 10". After eight entries the rest is counted: "..., and 12 more".
QString numberRuns(QList<int> numbers, bool hexadecimal);

} // namespace qmf
