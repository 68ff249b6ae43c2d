// SPDX-License-Identifier: GPL-3.0-or-later
// The bar-graph monitor's limit writing: what dragging a limit on a gauge writes to the chip, and
// the limit rules looked up by gauge name.
#include "core/chip/SharedState.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/text/Rounding.h"
#include "gui/services/AppContext.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"

namespace qmf {

namespace {

// A limit as the channel takes it: limited to the gauge's scale (a snapped limit can land
// beyond it, and the chip cannot hold such a value), then rounded to a whole number.
qint16 wholeLimit(const RoundGauge& gauge, double value) {
    const auto whole = text::roundToInt16(gauge::clampToScale(gauge.scale(), value));
    return whole.value_or(0); // unreachable: the scale lies well inside 16 bits
}

} // namespace

// --- dragging -----------------------------------------------------------------------------------

void BargraphForm::fanGaugeChanged(const FanGauge& fan) {
    RoundGauge& gauge = *fan.gauge;
    Fan& channel = (ctx_.state.*fan.channel)();
    gauge.setPointerID(bargraph::FanLimitPointer);
    // Without the oscillator frequency every limit converts to a count of 0, which would wipe the
    // chip's limit: learn the frequency first, and write nothing while the tachometer is off.
    if (channel.storedOscillatorFrequency() == 0) {
        channel.RefreshParams();
        if (channel.storedOscillatorFrequency() == 0) {
            return;
        }
    }
    const auto limit = text::roundToInt32(gauge.PointerValue());
    channel.setLimit(limit.value_or(0));
}

void BargraphForm::writeTemperatureLimits(const TempGauge& temp) {
    RoundGauge& gauge = *temp.gauge;
    Temperature& channel = (ctx_.state.*temp.channel)();
    const int selected = gauge.PointerID();
    gauge.setPointerID(bargraph::LowLimitPointer);
    channel.setMinLimit(wholeLimit(gauge, gauge.PointerValue()));
    gauge.setPointerID(bargraph::HighLimitPointer);
    channel.setMaxLimit(wholeLimit(gauge, gauge.PointerValue()));
    gauge.setPointerID(selected);
}

void BargraphForm::tempGaugeChanged(const TempGauge& temp, int pointerId) {
    // On the on-board SMBus the limits follow the pointer while it moves.
    if (ctx_.state.CommsMedium == 0) {
        writeTemperatureLimits(temp);
    }
    temp.gauge->setPointerID(pointerId);
}

void BargraphForm::tempGaugeReleased(const TempGauge& temp, int pointerId) {
    RoundGauge& gauge = *temp.gauge;
    const QString name = gauge.objectName();
    // The rules act on the pointer that was let go, whatever the drag selected meanwhile.
    // A released band sets the low limit to its start and the high limit to its stop, and those
    // two are written as they are: the limit the user did not move is not pushed away.
    gauge.setPointerID(pointerId);
    SyncGaugePointers(name);
    // Both paths write at release, so the chip holds what the gauge shows.
    writeTemperatureLimits(temp);
}

// --- gauge rules by name ------------------------------------------------------------------------

RoundGauge* BargraphForm::gaugeNamed(const QString& name) const {
    for (const FanGauge& fan : fans_) {
        if (fan.gauge->objectName() == name) {
            return fan.gauge;
        }
    }
    for (const TempGauge& temp : temps_) {
        if (temp.gauge->objectName() == name) {
            return temp.gauge;
        }
    }
    return nullptr;
}

void BargraphForm::SyncGaugePointers(const QString& gaugeName) {
    if (RoundGauge* gauge = gaugeNamed(gaugeName)) {
        bargraph::SyncGaugePointers(*gauge);
    }
}

} // namespace qmf
