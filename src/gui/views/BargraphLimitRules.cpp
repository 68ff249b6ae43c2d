// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/BargraphLimitRules.h"

#include "core/link/LinkErrors.h"
#include "core/text/Rounding.h"
#include "gui/widgets/RoundGauge.h"

namespace qmf::bargraph {

namespace {

constexpr double FixedScale = 10000.0; // four decimals

qint64 toFixed(double value) {
    return qint64(text::roundHalfEven(value * FixedScale));
}

double fromFixed(qint64 value) {
    return double(value) / FixedScale;
}

qint16 toInt16(double value) {
    const std::optional<qint16> result = text::roundToInt16(value);
    if (!result) {
        throw OverflowError(QStringLiteral("limit %1 does not fit 16 bits").arg(value));
    }
    return *result;
}

// Selects `id` for the duration of a rule and puts the caller's selection back afterwards.
class KeepSelection {
public:
    explicit KeepSelection(RoundGauge& gauge) : gauge_(gauge), saved_(gauge.PointerID()) {}
    ~KeepSelection() { gauge_.setPointerID(saved_); }
    KeepSelection(const KeepSelection&) = delete;
    KeepSelection& operator=(const KeepSelection&) = delete;

private:
    RoundGauge& gauge_;
    int saved_;
};

double valueOf(RoundGauge& gauge, int id) {
    gauge.setPointerID(id);
    return gauge.PointerValue();
}

} // namespace

std::optional<double> lowLimitBelowHigh(double low, double high, double scaleMax) {
    const qint64 lowFixed = toFixed(low);
    const qint64 highFixed = toFixed(high);
    const qint64 minimumGap = toFixed(4.0 * scaleMax / 100.0);
    const qint64 movedGap = toFixed(8.0 * scaleMax / 100.0);
    if (lowFixed > highFixed - minimumGap) {
        return fromFixed(highFixed - movedGap);
    }
    return std::nullopt;
}

std::optional<double> highLimitAboveLow(double high, double low, double scaleMax) {
    const qint16 high16 = toInt16(high);
    const qint16 low16 = toInt16(low);
    const qint16 minimumHigh = toInt16(low16 + 4.0 * scaleMax / 100.0);
    if (high16 < minimumHigh) {
        return double(toInt16(low16 + 8.0 * scaleMax / 100.0));
    }
    return std::nullopt;
}

void KeepLowLimitBelowHigh(RoundGauge& gauge) {
    KeepSelection keep(gauge);
    const double high = valueOf(gauge, HighLimitPointer);
    const double low = valueOf(gauge, LowLimitPointer);
    if (const auto moved = lowLimitBelowHigh(low, high, gauge.ScaleMax())) {
        gauge.setPointerValue(*moved);
    }
    const double start = gauge.PointerValue();
    for (int band : {RangeBand, MirrorBand}) {
        gauge.setPointerID(band);
        gauge.setPointerStart(start);
    }
}

void KeepHighLimitAboveLow(RoundGauge& gauge) {
    KeepSelection keep(gauge);
    const double low = valueOf(gauge, LowLimitPointer);
    const double high = valueOf(gauge, HighLimitPointer);
    if (const auto moved = highLimitAboveLow(high, low, gauge.ScaleMax())) {
        gauge.setPointerValue(*moved);
    }
    const double stop = gauge.PointerValue();
    for (int band : {RangeBand, MirrorBand}) {
        gauge.setPointerID(band);
        gauge.setPointerStop(stop);
    }
}

void SyncGaugePointers(RoundGauge& gauge) {
    const int id = gauge.PointerID();
    switch (id) {
    case RangeBand:
    case MirrorBand: {
        KeepSelection keep(gauge);
        const double start = gauge.PointerStart();
        const double stop = gauge.PointerStop();
        gauge.setPointerID(id == RangeBand ? MirrorBand : RangeBand);
        gauge.setPointerStart(start);
        gauge.setPointerStop(stop);
        gauge.setPointerID(LowLimitPointer);
        gauge.setPointerValue(start);
        gauge.setPointerID(HighLimitPointer);
        gauge.setPointerValue(stop);
        break;
    }
    case LowLimitPointer:
        KeepLowLimitBelowHigh(gauge);
        break;
    case HighLimitPointer:
        KeepHighLimitAboveLow(gauge);
        break;
    default:
        break;
    }
}

} // namespace qmf::bargraph
