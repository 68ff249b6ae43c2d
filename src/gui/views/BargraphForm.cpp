// SPDX-License-Identifier: GPL-3.0-or-later
// The bar-graph monitor's window, its start control and tabs, and its three polling timers. The
// pages are built in BargraphPages.cpp, the limits written in BargraphLimits.cpp.
#include "gui/views/BargraphForm.h"

#include "core/chip/SharedState.h"
#include "core/events/ChipStatus.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/text/Boolean16.h"
#include "core/text/NumberText.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qmf {

BargraphForm::BargraphForm(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("BargraphForm"));
    setWindowTitle(QStringLiteral("Limits/Bargraphs"));

    startBox_ = new QCheckBox(QStringLiteral("Start"), this);
    startBox_->setObjectName(QStringLiteral("BargraphCHK"));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("BargraphTab"));
    tabs_->addTab(buildFanTab(), QStringLiteral("Fan Speed"));
    tabs_->addTab(buildTempTab(), QStringLiteral("Temperature"));

    auto* top = new QHBoxLayout;
    top->addWidget(startBox_);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);

    auto makeTimer = [this](const QString& name, int ms) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(ms);
        return timer;
    };
    fanTimer_ = makeTimer(QStringLiteral("FanBargraphTimer"), 200);
    tempTimer_ = makeTimer(QStringLiteral("TempTimer"), 200);
    limitsTimer_ = makeTimer(QStringLiteral("LimitsTimer"), 1000);
    connect(fanTimer_, &QTimer::timeout, this, [this] { FanBargraphTimer_Timer(); });
    connect(tempTimer_, &QTimer::timeout, this, [this] { TempTimer_Timer(); });
    connect(limitsTimer_, &QTimer::timeout, this, [this] { LimitsTimer_Timer(); });

    connect(startBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(
                this, [this] { BargraphCHK_Click(); }, [this] { stopAfterFailure(); }));
    // Both the click on a tab (also the shown one) and the change of the shown tab apply the
    // tab's timer rule.
    connect(tabs_->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        ctx_.errors.run(this, [this, index] { BargraphTab_Click(index); });
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        ctx_.errors.run(this, [this, index] { BargraphTab_Click(index); });
    });

    for (const FanGauge& fan : fans_) {
        connect(fan.gauge, &RoundGauge::pointerChanged, this, [this, fan](int) {
            ctx_.errors.run(
                this, [this, fan] { fanGaugeChanged(fan); }, [fan] { fan.gauge->cancelDrag(); });
        });
    }
    for (const TempGauge& temp : temps_) {
        connect(temp.gauge, &RoundGauge::pointerChanged, this, [this, temp](int id) {
            ctx_.errors.run(
                this, [this, temp, id] { tempGaugeChanged(temp, id); },
                [temp] { temp.gauge->cancelDrag(); });
        });
        connect(temp.gauge, &RoundGauge::pointerReleased, this, [this, temp](int id) {
            ctx_.errors.run(this, [this, temp, id] { tempGaugeReleased(temp, id); });
        });
    }

    limitsTimer_->start();
    resize(840, 430);
}

BargraphForm::~BargraphForm() = default;

// --- start, stop and tabs -----------------------------------------------------------------------

void BargraphForm::BargraphCHK_Click() {
    ctx_.state.Fan1().RefreshParams();
    ctx_.state.Fan0().RefreshParams();
    if (startBox_->isChecked()) {
        startBox_->setText(QStringLiteral("Stop"));
        if (tabs_->currentIndex() == 0) {
            fanTimer_->start();
            tempTimer_->stop();
        } else if (tabs_->currentIndex() == 1) {
            tempTimer_->start();
            fanTimer_->stop();
        }
        limitsTimer_->start();
    } else {
        startBox_->setText(QStringLiteral("Start"));
        fanTimer_->stop();
        tempTimer_->stop();
        limitsTimer_->stop();
    }
}

void BargraphForm::BargraphTab_Click(int index) {
    if (index == 0) {
        fanTimer_->start();
        tempTimer_->stop();
    } else if (index == 1) {
        tempTimer_->start();
        fanTimer_->stop();
    }
}

void BargraphForm::stopAfterFailure() {
    fanTimer_->stop();
    tempTimer_->stop();
    limitsTimer_->stop();
    startBox_->setChecked(false);
    startBox_->setText(QStringLiteral("Start"));
}

// --- ticks --------------------------------------------------------------------------------------

void BargraphForm::FanBargraphTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readFans(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::TempTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readTemperatures(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::LimitsTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readLimits(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::refreshView() {
    ctx_.errors.run(
        this,
        [this] {
            if (tabs_->currentIndex() == 1) {
                readTemperatures();
            } else {
                readFans();
            }
            readLimits();
        },
        [this] { stopAfterFailure(); });
}

void BargraphForm::readFans() {
    for (const FanGauge& fan : fans_) {
        double speed = (ctx_.state.*fan.channel)().Speed();
        if (fan.gauge->ScaleMax() < speed) {
            speed = fan.gauge->ScaleMax();
        }
        fan.gauge->setReading(speed);
        fan.gauge->setCaption(text::signedNumber(speed) + QStringLiteral("RPM"));
    }
    // Then each fan's status: missing or faulty, now or since its latches were cleared.
    for (std::size_t n = 0; n < fans_.size(); ++n) {
        const quint8 status = ReadRegisterAt(ctx_.state, quint8(events::fanstatus::Address + n));
        fans_[n].alert->setValue(toBoolean16(events::decodeFanStatus(status).alarm()));
    }
}

void BargraphForm::readTemperatures() {
    std::array<qint16, 3> values{};
    for (std::size_t i = 0; i < temps_.size(); ++i) {
        const TempGauge& temp = temps_[i];
        values[i] = (ctx_.state.*temp.channel)().Value();
        temp.gauge->setReading(values[i]);
        temp.gauge->setCaption(text::signedNumber(values[i]) + QStringLiteral("C"));
    }
    // Then the chip's thermal event, laid on each channel by its value and limits.
    const quint8 mainStatus = ReadRegisterAt(ctx_.state, events::mainstatus::Address);
    for (std::size_t i = 0; i < temps_.size(); ++i) {
        if (const auto& limits = tempLimits_[i]) {
            const auto status =
                events::decodeTemperatureStatus(mainStatus, values[i], limits->low, limits->high);
            temps_[i].alert->setValue(toBoolean16(status.alarm()));
        }
    }
}

void BargraphForm::readLimits() {
    // A gauge whose pointer the user holds keeps it: the chip's older value must not pull the
    // pointer away under the mouse (the release writes the new limits).
    for (const FanGauge& fan : fans_) {
        if (fan.gauge->isDragging()) {
            continue;
        }
        const qint32 limit = (ctx_.state.*fan.channel)().Limit();
        fan.gauge->setPointerID(bargraph::FanLimitPointer);
        fan.gauge->setPointerValue(limit);
    }
    for (std::size_t i = 0; i < temps_.size(); ++i) {
        const TempGauge& temp = temps_[i];
        if (temp.gauge->isDragging()) {
            continue;
        }
        Temperature& channel = (ctx_.state.*temp.channel)();
        RoundGauge& gauge = *temp.gauge;
        Limits limits;
        limits.low = channel.MinLimit();
        gauge.setPointerID(bargraph::LowLimitPointer);
        gauge.setPointerValue(limits.low);
        limits.high = channel.MaxLimit();
        gauge.setPointerID(bargraph::HighLimitPointer);
        gauge.setPointerValue(limits.high);
        tempLimits_[i] = limits;
        SyncGaugePointers(gauge.objectName());
        gauge.setPointerID(bargraph::LowLimitPointer);
        SyncGaugePointers(gauge.objectName());
    }
}

} // namespace qmf
