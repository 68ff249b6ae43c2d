// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf::install {

// The installed layout, as configured at build time (GNU installation directories). A folder
// given relative is relative to the installation prefix, so it can be found from the program's
// own folder (<prefix>/bin) also in a copy unpacked elsewhere.

QString relativeLibDir();  // "lib/x86_64-linux-gnu"
QString relativeDataDir(); // "share"
QString relativeDocDir();  // "share/doc/qmf4150"

// The documentation folder of the configured installation, and the hardware set-up guide in it.
QString documentationDir(); // "/usr/share/doc/qmf4150"
QString hardwareGuide();    // "/usr/share/doc/qmf4150/hardware.md"

// <programDir>/../<dir>, cleaned; an absolute dir is taken as it is.
QString besideProgram(const QString& programDir, const QString& dir);

} // namespace qmf::install
