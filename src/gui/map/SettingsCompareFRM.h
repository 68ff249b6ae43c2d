// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QTableView;

namespace qmf {

struct AppContext;
class SettingsDiffModel;

// The registers in which a register settings file and the chip differ (DifferencesTBL: register,
// name, file value, chip value), with what was not compared in SummaryLBL. "Write selected to
// chip" (WriteSelectedCMD) writes the file's value of the selected rows, reads them back and
// compares again; CompareAgainCMD reads the file and the chip again; IncludeReadingsCHK also
// compares the registers the chip changes itself.
class SettingsCompareFRM : public QWidget {
    Q_OBJECT
public:
    explicit SettingsCompareFRM(AppContext& ctx, QWidget* parent = nullptr);

    QSize sizeHint() const override { return preferredSize_; }

    // Reads the file and the chip and shows the differences. A file that cannot be read is
    // reported in a message box, the view keeps what it showed, and the result is false.
    bool compareWith(const QString& path);
    const QString& path() const { return path_; }

private:
    void compareAgain();
    void writeSelected();

    AppContext& ctx_;
    QString path_;
    SettingsDiffModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLabel* summary_ = nullptr;
    QCheckBox* includeReadings_ = nullptr;
    QSize preferredSize_;
};

// "Compare with Settings File...": asks for the file, checks its name as the settings commands
// do, then shows the comparison.
void CompareWithSettingsFile(AppContext& ctx, QWidget* parent);

} // namespace qmf
