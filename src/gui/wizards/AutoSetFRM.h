// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace qmf {

struct AppContext;

// "AutoSet Details": the list of the register writes of the last auto-set run.
class AutoSetFRM : public QWidget {
    Q_OBJECT
public:
    explicit AutoSetFRM(AppContext& ctx, QWidget* parent = nullptr);

    // The report of one run: cleared at its start, one line appended after each write.
    void clearLines();
    void appendLine(const QString& line);

private:
    QLabel* label1_;
    QListWidget* listBox_;
    QPushButton* closeCmd_;
};

// What the Tools menu and the register list's EasySetup run (the program registers it as the
// opener "AutoSet"): shows the report view through the window registry, clears it and writes the
// auto-set table. A failed write throws out to the caller's error boundary; the lines of the rows
// written before it stay listed.
void RunAutoSet(AppContext& ctx);

} // namespace qmf
