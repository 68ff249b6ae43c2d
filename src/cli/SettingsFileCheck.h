// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/RegisterSettingsFile.h"

#include <QStringList>

namespace qmf::cli {

// Why `load` refuses a register settings file it has read: lines that do not parse, more than
// 256 settings, registers without a line. Empty when the file is a complete set of 256 settings
// and may be written. (The program writes what parses and reports the rest; the tool writes all
// or nothing, so that a script never leaves the chip half loaded from a damaged file.)
QStringList settingsFileProblems(const QString& path, const ParsedRegisterSettings& parsed);

} // namespace qmf::cli
