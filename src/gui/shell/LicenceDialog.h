// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace qmf {

// The program's licence notice, as the GNU GPL asks an interactive program to show it, with a
// link that opens the licence itself (when its file is installed).
QString licenceNotice();

// The full text of the licence from the installed LICENSE file, read-only, line for line as the
// file has it. Opened from the About box; closing it returns there.
class LicenceDialog final : public QDialog {
    Q_OBJECT
public:
    // licenceFile: the LICENSE file to show.
    LicenceDialog(const QString& licenceFile, QWidget* owner);

private:
    QPlainTextEdit* text_;
};

// The installed LICENSE file, or empty when the documentation is not installed.
QString licenceFile();

} // namespace qmf
