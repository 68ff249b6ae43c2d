// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace qmf {

struct AppContext;
namespace trace {
class BusTraceRecording;
}

// "Record Bus Trace..." (mnuRecordBusTrace), the last item of the Tools menu: a click asks for a
// file and records every change of the printer port's bus lines into it; the item is checked
// while it records, and the next click stops it, the file then complete. A recording whose
// writing fails stops at once and says so; the old file stays.
class BusTraceControl final : public QObject {
    Q_OBJECT
public:
    BusTraceControl(AppContext& ctx, QMenu& tools, QWidget* window);
    // A recording still running is completed.
    ~BusTraceControl() override;

    QAction* action() const { return action_; }
    bool recording() const;
    // Starts recording into `path`; a failure is shown. True when the recording runs.
    bool start(const QString& path);
    // Stops, completing the file; a failure is shown.
    void stop();

private:
    void clicked();
    void showFailure(const QString& text);
    void showState();

    AppContext& ctx_;
    QWidget* window_;
    QAction* action_;
    std::unique_ptr<trace::BusTraceRecording> recording_;
};

} // namespace qmf
