// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf {

// The folder of the user documentation: beside the program (<program>/../share/doc/qmf4150, as
// installed, and as the build tree has it too), else where the installation put it. Throws
// std::runtime_error naming the places looked at when neither holds it.
QString documentationFolder();

// Help > Documentation: shows the documentation folder with the desktop's file viewer. Throws
// std::runtime_error when there is none or the desktop cannot show it.
void OpenDocumentation();

} // namespace qmf
