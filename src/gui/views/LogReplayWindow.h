// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace qmf {

struct AppContext;
struct LogRecording;
class ChartTools;
class StripChart;

// A measurement log read back: its readings on a chart like the graph window's, read-only, with
// the same zoom, pan, span, cursor, trace choice, table and Save Chart. At first it shows the
// whole log.
class LogReplayWindow : public QWidget {
    Q_OBJECT
public:
    LogReplayWindow(AppContext& ctx, const LogRecording& log, const QString& path,
                    QWidget* parent = nullptr);
    ~LogReplayWindow() override;

    StripChart* chart() const { return chart_; }

private:
    StripChart* chart_ = nullptr;
    ChartTools* tools_ = nullptr;
};

} // namespace qmf
