// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/AfcPages.h"

#include "core/link/RegisterAccess.h"
#include "core/measure/Temperature.h"
#include "core/wizards/SpeedCode.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/ChipReadBack.h"
#include "gui/wizards/WizardSlider.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qmf {

namespace {

const char* const ChannelCaptions[3] = {"Local Temp", "TDM 1", "TDM 2"};

std::optional<QString> plainNumber(int value) {
    return QString::number(value);
}

QVBoxLayout* pageLayout(QWidget* page, QGridLayout* grid) {
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(18);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addStretch(1);
    return layout;
}

} // namespace

TminPage::TminPage(AppContext& ctx, QWidget* parent) : WizardPage(parent), ctx_(ctx) {
    static const char* const names[3] = {"LocalTFSSlider", "TDM1FSSlider", "TDM2FSSlider"};
    auto* grid = new QGridLayout;
    for (int channel = 0; channel < 3; ++channel) {
        const QString caption = QString::fromLatin1(ChannelCaptions[channel]);
        auto* label = new QLabel(caption, this);
        auto* slider = new WizardSlider(QString::fromLatin1(names[channel]), -127, 126, this);
        slider->setAccessibleName(caption + QStringLiteral(" fan start temperature"));
        label->setBuddy(slider);
        grid->addWidget(label, channel, 0);
        grid->addWidget(slider, channel, 1);
        connect(slider, &QSlider::valueChanged, this, [this, slider, channel](int value) {
            ctx_.errors.run(
                slider,
                [this, channel, value] {
                    WriteRegisterAt(ctx_.state, quint8(0x80 + channel),
                                    Temperature::TemperatureToRegister(qint16(value)));
                    chipValues_[channel] = value;
                },
                [this, slider, channel] {
                    chipValues_[channel] = chipValueOr(
                        [this, channel] { return readTmin(channel); }, chipValues_[channel]);
                    slider->loadValue(chipValues_[channel]);
                });
        });
        sliders_.append(slider);
        chipValues_.append(0);
    }
    pageLayout(this, grid);
}

int TminPage::readTmin(int channel) {
    return Temperature::RegisterToTemperature(ReadRegisterAt(ctx_.state, quint8(0x80 + channel)));
}

void TminPage::load() {
    for (int channel = 0; channel < 3; ++channel) {
        chipValues_[channel] = readTmin(channel);
        sliders_[channel]->loadValue(chipValues_[channel]);
    }
}

AfcNibblePage::AfcNibblePage(AppContext& ctx, Kind kind, QWidget* parent) : WizardPage(parent) {
    static const char* const trangeNames[3][2] = {{"LocalTFSSSlider", "LTTrangeLBL"},
                                                  {"TDM1TFSSSlider", "TDM1TrangeLBL"},
                                                  {"TDM2TFSSSlider", "TDM2TrangeLBL"}};
    static const char* const hysteresisNames[3][2] = {{"LTCLHSlider", "LTCLHLBL"},
                                                      {"TDM1CLHSlider", "TDM1CLHLBL"},
                                                      {"TDM2CLHSlider", "TDM2CLHLBL"}};
    const bool trange = kind == Trange;
    const RegisterField field = trange ? LowNibble : HighNibble;
    const int maximum = trange ? 4 : 15;
    const QString purpose =
        trange ? QStringLiteral(" temperature range") : QStringLiteral(" hysteresis");

    auto* grid = new QGridLayout;
    for (int channel = 0; channel < 3; ++channel) {
        const auto& names = trange ? trangeNames[channel] : hysteresisNames[channel];
        const QString caption = QString::fromLatin1(ChannelCaptions[channel]);
        auto* label = new QLabel(caption, this);
        auto* slider = new WizardSlider(QString::fromLatin1(names[0]), 0, maximum, this);
        slider->setAccessibleName(caption + purpose);
        label->setBuddy(slider);
        auto* value = new QLabel(QStringLiteral("00"), this);
        value->setObjectName(QString::fromLatin1(names[1]));
        value->setAccessibleName(caption + purpose + QStringLiteral(" C"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000")));
        grid->addWidget(label, channel, 0);
        grid->addWidget(slider, channel, 1);
        grid->addWidget(value, channel, 2);
        grid->addWidget(new QLabel(QStringLiteral("C"), this), channel, 3);
        sliders_.append(new FieldSlider(ctx, slider, value, quint8(0x88 + channel), field,
                                        trange ? &TrangeText : &plainNumber));
    }
    pageLayout(this, grid);
}

void AfcNibblePage::load() {
    for (FieldSlider* slider : sliders_) {
        slider->load();
    }
}

} // namespace qmf
