// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ReadingsChart.h"

#include "gui/widgets/StripChart.h"

namespace qmf {

namespace {

const char* const TraceNames[ReadingTraceCount] = {"Speed Fan 0", "Speed Fan 1",
                                                   "Internal Temperature", "External Temperature 0",
                                                   "External Temperature 1"};

} // namespace

void setUpReadingsChart(StripChart& chart) {
    chart.setTimeAxis(QStringLiteral("Time"), QStringLiteral("HH mm ss"));
    chart.setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("Fan speed (RPM)"),
                       {true, 1000.0});
    chart.setValueAxis(StripChart::ValueAxis::Right, QStringLiteral("Temperature (°C)"),
                       {false, 10.0});
    for (int trace = 0; trace < ReadingTraceCount; ++trace) {
        // Trace i takes the chart's style number i + 3; speeds left, temperatures right.
        chart.addTrace(QString::fromLatin1(TraceNames[trace]), StripChart::standardStyle(trace + 3),
                       trace < 2 ? StripChart::ValueAxis::Left : StripChart::ValueAxis::Right);
    }
}

QStringList readingUnits() {
    return {QStringLiteral("RPM"), QStringLiteral("RPM"), QStringLiteral("°C"),
            QStringLiteral("°C"), QStringLiteral("°C")};
}

} // namespace qmf
