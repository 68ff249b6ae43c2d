// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace qmf {

class StripChart;

// The chart of the five readings, as the graph window and the log replay show it: traces 0 to 4
// "Speed Fan 0", "Speed Fan 1", "Internal Temperature", "External Temperature 0" and "External
// Temperature 1" in the chart's styles 3 to 7, speeds on the left axis and temperatures on the
// right, under a time axis "Time" labelled "HH mm ss".
inline constexpr int ReadingTraceCount = 5;
void setUpReadingsChart(StripChart& chart);

// The unit of each reading trace ("RPM", "°C").
QStringList readingUnits();

} // namespace qmf
