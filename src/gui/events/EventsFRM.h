// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QTableView;

namespace qmf {

struct AppContext;
class EventsModel;

// The chip's alarm events of the run, newest first (EventsTBL): begin, end (empty while the
// alarm lasts, shown in red) and what happened. CountLBL counts them; "Save as CSV..." (SaveCMD)
// writes them all to a CSV file.
class EventsFRM : public QWidget {
    Q_OBJECT
public:
    explicit EventsFRM(AppContext& ctx, QWidget* parent = nullptr);

    QSize sizeHint() const override { return preferredSize_; }

private:
    void updateCount();
    void save();

    AppContext& ctx_;
    EventsModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QSize preferredSize_;
};

} // namespace qmf
