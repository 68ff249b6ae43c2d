// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServeMetrics.h"

#include <functional>
#include <string>

namespace qmf::cli {

namespace {

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

const char* const SensorNames[ChipReadings::Sensors] = {"local", "remote0", "remote1"};

class Families {
public:
    Families(const PollSnapshot& snapshot, const QString& board) {
        common_ = {{"board", board.toStdString()},
                   {"chip", snapshot.chip.toStdString()},
                   {"medium", snapshot.medium.toStdString()}};
    }

    // A family whose samples `fill` adds with sample().
    void add(const char* name, const char* help, MetricType type,
             const std::function<void()>& fill) {
        families_.push_back({name, help, type, {}});
        fill();
        if (families_.back().metric.empty()) {
            families_.pop_back();
        }
    }

    void sample(double value, std::vector<ClientMetric::Label> labels = {}) {
        ClientMetric metric;
        metric.label = common_;
        metric.label.insert(metric.label.end(), labels.begin(), labels.end());
        if (families_.back().type == MetricType::Counter) {
            metric.counter.value = value;
        } else {
            metric.gauge.value = value;
        }
        families_.back().metric.push_back(std::move(metric));
    }

    std::vector<MetricFamily> take() { return std::move(families_); }

private:
    std::vector<ClientMetric::Label> common_;
    std::vector<MetricFamily> families_;
};

std::string number(int n) {
    return std::to_string(n);
}

void addFans(Families& f, const ChipReadings& r) {
    f.add("qmf4150_fan_speed_rpm", "Measured fan speed.", MetricType::Gauge, [&] {
        for (int fan = 0; fan < ChipReadings::Fans; ++fan) {
            f.sample(r.fanRpm[fan], {{"fan", number(fan)}});
        }
    });
    f.add("qmf4150_fan_speed_limit_rpm",
          "Fan speed below which the chip reports a fan fault (its tachometer limit).",
          MetricType::Gauge, [&] {
              for (int fan = 0; fan < ChipReadings::Fans; ++fan) {
                  f.sample(r.fanLimitRpm[fan], {{"fan", number(fan)}});
              }
          });
    f.add("qmf4150_fan_duty_ratio",
          "PWM duty of the fan drive (0 to 1), where the chip's registers tell it.",
          MetricType::Gauge, [&] {
              for (int fan = 0; fan < ChipReadings::Fans; ++fan) {
                  if (r.fanDuty[fan]) {
                      f.sample(*r.fanDuty[fan], {{"fan", number(fan)}});
                  }
              }
          });
}

void addTemperatures(Families& f, const ChipReadings& r) {
    const struct {
        const char* name;
        const char* help;
        const std::array<qint16, ChipReadings::Sensors>& values;
    } kinds[] = {
        {"qmf4150_temperature_celsius", "Temperature reading.", r.temperature},
        {"qmf4150_temperature_high_limit_celsius", "High temperature limit.", r.highLimit},
        {"qmf4150_temperature_low_limit_celsius", "Low temperature limit.", r.lowLimit},
    };
    for (const auto& kind : kinds) {
        f.add(kind.name, kind.help, MetricType::Gauge, [&] {
            for (int t = 0; t < ChipReadings::Sensors; ++t) {
                f.sample(kind.values[t], {{"sensor", SensorNames[t]}});
            }
        });
    }
}

void addInputs(Families& f, const ChipReadings& r) {
    const struct {
        const char* name;
        const char* help;
        const std::array<quint8, ChipReadings::Inputs>& values;
    } kinds[] = {
        {"qmf4150_ain_raw", "Analog input reading (raw byte).", r.ain},
        {"qmf4150_ain_high_limit_raw", "Analog input high limit (raw byte).", r.ainHighLimit},
        {"qmf4150_ain_low_limit_raw", "Analog input low limit (raw byte).", r.ainLowLimit},
    };
    for (const auto& kind : kinds) {
        f.add(kind.name, kind.help, MetricType::Gauge, [&] {
            for (int a = 0; a < ChipReadings::Inputs; ++a) {
                f.sample(kind.values[a], {{"input", number(a)}});
            }
        });
    }
}

void addAlarms(Families& f, const ChipReadings& r) {
    f.add(
        "qmf4150_alarm", "Alarm the chip's status registers report (1) or not (0).",
        MetricType::Gauge, [&] {
            for (int t = 0; t < ChipReadings::Sensors; ++t) {
                const events::TemperatureStatus& s = r.temperatureStatus[t];
                const bool on = s.alarm();
                f.sample(on && s.side == events::LimitSide::AboveHigh,
                         {{"kind", "temperature_high"}, {"channel", SensorNames[t]}});
                f.sample(on && s.side == events::LimitSide::BelowLow,
                         {{"kind", "temperature_low"}, {"channel", SensorNames[t]}});
            }
            for (int fan = 0; fan < ChipReadings::Fans; ++fan) {
                const events::FanStatus& s = r.fanStatus[fan];
                const std::string channel = number(fan);
                f.sample(s.missing, {{"kind", "fan_missing"}, {"channel", channel}});
                f.sample(s.missingLatched, {{"kind", "fan_missing_latched"}, {"channel", channel}});
                f.sample(s.fault, {{"kind", "fan_fault"}, {"channel", channel}});
                f.sample(s.faultLatched, {{"kind", "fan_fault_latched"}, {"channel", channel}});
            }
        });
}

void addBus(Families& f, const BusHealthCounts& bus) {
    const struct {
        const char* name;
        const char* help;
        double value;
    } counters[] = {
        {"qmf4150_bus_transfers_total", "Register transfers and address probes on the bus.",
         double(bus.transfers)},
        {"qmf4150_bus_transfer_failures_total", "Transfers that failed.",
         double(bus.failedTransfers)},
        {"qmf4150_bus_nacks_total", "Bytes a device did not acknowledge.", double(bus.nacks)},
        {"qmf4150_bus_clock_stretch_waits_total", "Times a device held the clock low.",
         double(bus.clockStretchWaits)},
        {"qmf4150_bus_timeouts_total", "Waits given up (clock held too long, adapter timeout).",
         double(bus.timeouts)},
        {"qmf4150_bus_stuck_recoveries_total", "Times a stuck bus line had to be freed.",
         double(bus.stuckBusRecoveries)},
        {"qmf4150_bus_transfer_seconds_total", "Bus time spent in transfers.",
         double(bus.transferTimeUs) / 1e6},
    };
    for (const auto& c : counters) {
        f.add(c.name, c.help, MetricType::Counter, [&] { f.sample(c.value); });
    }
}

// Counted by the core's event tracker from every status reading; kept while the chip is silent.
void addEvents(Families& f, const PollSnapshot& s) {
    f.add("qmf4150_events_total", "Alarm events begun since the start, by kind.",
          MetricType::Counter, [&] {
              for (std::size_t k = 0; k < events::EventKindCount; ++k) {
                  f.sample(double(s.eventsBegun[k]),
                           {{"kind", events::kindName(events::AllEventKinds[k]).toStdString()}});
              }
          });
    f.add("qmf4150_events_active", "Alarm events lasting now, by kind.", MetricType::Gauge, [&] {
        for (std::size_t k = 0; k < events::EventKindCount; ++k) {
            f.sample(s.eventsActive[k],
                     {{"kind", events::kindName(events::AllEventKinds[k]).toStdString()}});
        }
    });
}

} // namespace

std::vector<MetricFamily> metricFamilies(const PollSnapshot& snapshot, const QString& board) {
    Families f(snapshot, board);
    f.add("qmf4150_up", "1 when the last poll read the chip, 0 while it does not answer.",
          MetricType::Gauge, [&] { f.sample(snapshot.up); });
    f.add("qmf4150_polls_total", "Polls of the chip since the start.", MetricType::Counter,
          [&] { f.sample(double(snapshot.polls)); });
    f.add("qmf4150_poll_failures_total", "Polls that could not read the chip.", MetricType::Counter,
          [&] { f.sample(double(snapshot.failedPolls)); });
    addBus(f, snapshot.bus);
    if (snapshot.eventsKnown) {
        addEvents(f, snapshot);
    }
    if (snapshot.readings) {
        addFans(f, *snapshot.readings);
        addTemperatures(f, *snapshot.readings);
        addInputs(f, *snapshot.readings);
        addAlarms(f, *snapshot.readings);
    }
    return f.take();
}

std::vector<MetricFamily> SnapshotCollectable::Collect() const {
    return metricFamilies(store_.latest(), board_);
}

} // namespace qmf::cli
