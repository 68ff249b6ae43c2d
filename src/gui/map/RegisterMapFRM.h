// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/RefreshableView.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTableView;
class QTimer;

namespace qmf {

struct AppContext;
class RegisterTextFilter;
class RegisterMapModel;

// All 256 registers in one table (RegisterTBL): address, name, register-list page, value in
// hexadecimal and binary, its meaning, the power-up value and whether a setting differs from it.
// The registers are read when the view is first shown and on "Read All"; live refresh
// (LiveRefreshCHK, off at first) reads the rows in sight every 500 ms. FilterTXT keeps the rows
// whose name contains the text or whose address it is. A double-click on a value edits it: the
// entry is checked as the register list checks its hexadecimal field, written, and read back.
// CopyCMD (and Ctrl+C) copies the selected rows as text.
class RegisterMapFRM : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit RegisterMapFRM(AppContext& ctx, QWidget* parent = nullptr);

    QSize sizeHint() const override { return preferredSize_; }

    static constexpr int LiveRefreshIntervalMs = 500;

    // Reads all 256 registers (the View menu's Refresh).
    void refreshView() override;
    // One tick of LiveRefreshTimer.
    void timerTick();
    // The registers of the rows in sight, top to bottom: what a tick reads.
    QList<quint8> visibleRegisters() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readAll();
    void readVisible();
    void writeEntered(quint8 reg, const QString& typed);
    void liveRefreshToggled();

    AppContext& ctx_;
    RegisterMapModel* model_ = nullptr;
    RegisterTextFilter* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* filterText_ = nullptr;
    QCheckBox* liveRefresh_ = nullptr;
    QTimer* timer_ = nullptr;
    bool readOnce_ = false;
    QSize preferredSize_;
};

} // namespace qmf
