// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace qmf {

class RoundGauge;

// The limit pointers of the bar-graph monitor's gauges and the rules that keep a temperature
// gauge's low limit below its high limit.
namespace bargraph {

// Pointer numbers. A fan gauge has one limit marker; a temperature gauge has two bands that
// always span from its low to its high limit, and the two limit markers.
constexpr int FanLimitPointer = 0;
constexpr int RangeBand = 0;
constexpr int MirrorBand = 1;
constexpr int LowLimitPointer = 2;
constexpr int HighLimitPointer = 3;

// The minimum gap between the limits is 4 % of the scale maximum; a limit that comes closer is
// moved to 8 % away from the other one.

// In fixed point with four decimals: the low limit moved to high - 8 % when it lies above
// high - 4 %; nullopt when it may stay. (High 30, low 26, maximum 127: 19.84.)
std::optional<double> lowLimitBelowHigh(double low, double high, double scaleMax);

// In 16-bit whole numbers (half-even): the high limit moved to low + 8 % when it lies below
// low + 4 %; nullopt when it may stay. (Low 20, high 24, maximum 127: 30.) Throws OverflowError
// when a value does not fit 16 bits.
std::optional<double> highLimitAboveLow(double high, double low, double scaleMax);

// The same rules acting on a gauge, through its pointer selection as the monitor's handlers use
// them. SyncGaugePointers acts on the selected pointer: a band is copied to the other band and to
// the two limit markers; the low or high limit marker runs its rule above, after which both bands
// start (or stop) at it. Any other pointer: nothing. The selection is left where it was.
void SyncGaugePointers(RoundGauge& gauge);
void KeepLowLimitBelowHigh(RoundGauge& gauge);
void KeepHighLimitAboveLow(RoundGauge& gauge);

} // namespace bargraph
} // namespace qmf
