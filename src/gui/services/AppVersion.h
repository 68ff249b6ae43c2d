// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf {

// The application's title: the window caption, the About box title and the name under which the
// per-user settings are kept.
QString applicationTitle();

// The program's version: major, minor and revision, from the build's project version.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

ProgramVersion programVersion();

// "3.0.4": decimal numbers without leading zeros.
QString versionNumberText(const ProgramVersion& version);

// "Version 3.0.4", as the About box shows it.
QString versionCaption(const ProgramVersion& version);

} // namespace qmf
