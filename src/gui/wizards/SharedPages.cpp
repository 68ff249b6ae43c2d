// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/SharedPages.h"

#include "core/chip/SharedState.h"
#include "core/wizards/SpeedCode.h"
#include "gui/services/AppContext.h"
#include "gui/wizards/BitCheckBox.h"
#include "gui/wizards/ExclusiveBoxGroup.h"
#include "gui/wizards/WizardSlider.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qmf {

namespace {
std::optional<QString> percentText(int code) {
    return SpeedPercentText(code);
}
} // namespace

SpeedPage::SpeedPage(AppContext& ctx, const QString& purpose, const SpeedSliderNames& fan1,
                     const SpeedSliderNames& fan2, quint8 address1, RegisterField field,
                     QWidget* parent)
    : WizardPage(parent) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(18);
    const SpeedSliderNames* fans[] = {&fan1, &fan2};
    for (int row = 0; row < 2; ++row) {
        const SpeedSliderNames& names = *fans[row];
        auto* caption = new QLabel(names.caption, this);
        auto* slider = new WizardSlider(names.slider, 0, field.maximum(), this);
        slider->setAccessibleName(names.caption + QLatin1Char(' ') + purpose);
        caption->setBuddy(slider);
        auto* value = new QLabel(QStringLiteral("XX"), this);
        value->setObjectName(names.label);
        value->setAccessibleName(names.caption + QLatin1Char(' ') + purpose + QStringLiteral(" %"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("100.00")));
        grid->addWidget(caption, row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(value, row, 2);
        grid->addWidget(new QLabel(QStringLiteral("%"), this), row, 3);
        sliders_.append(
            new FieldSlider(ctx, slider, value, quint8(address1 + row), field, &percentText));
    }
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addStretch(1);
}

void SpeedPage::load() {
    for (FieldSlider* slider : sliders_) {
        slider->load();
    }
}

MaskFrame::MaskFrame(AppContext& ctx, const QString& title, const QString& text,
                     const QString& prefix, const QStringList& captions, quint8 address,
                     QWidget* parent)
    : QGroupBox(title, parent) {
    auto* column = new QVBoxLayout(this);
    if (!text.isEmpty()) {
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        column->addWidget(label);
    }
    for (int bit = 0; bit < captions.size(); ++bit) {
        auto* box = new BitCheckBox(ctx, QStringLiteral("%1_%2").arg(prefix).arg(bit),
                                    captions[bit], address, quint8(bit), this);
        column->addWidget(box);
        boxes_.append(box);
    }
}

void MaskFrame::load() {
    for (BitCheckBox* box : boxes_) {
        box->load();
    }
}

CoolingActionPage::CoolingActionPage(AppContext& ctx, QWidget* parent) : WizardPage(parent) {
    struct Channel {
        const char* title;
        const char* event;
        const char* prefix;
        const char* afcName;
        quint8 address;
    };
    static const Channel channels[] = {
        {"Local Temp (h48)", "Local Temp out of limit event", "Temp0CHK", "Local Temp", 0x48},
        {"TDM 1 (h49)", "TDM1 out of limit event", "TDM1CHK", "TDM1", 0x49},
        {"TDM 2 (h4A)", "TDM2 out of limit event", "TDM2CHK", "TDM2", 0x4A},
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Channel& channel : channels) {
        const QString afc = QString::fromLatin1(channel.afcName);
        // The captions end in a blank.
        const QStringList captions = {
            QStringLiteral("1-set Fan1 to alarm speed, 0-set Fan1 to %1 AFC settings ").arg(afc),
            QStringLiteral("1-set Fan2 to alarm speed, 0-set Fan2 to %1 AFC settings ").arg(afc)};
        auto* frame = new MaskFrame(
            ctx, QString::fromLatin1(channel.title), QString::fromLatin1(channel.event),
            QString::fromLatin1(channel.prefix), captions, channel.address, this);
        layout->addWidget(frame);
        frames_.append(frame);
    }
    layout->addStretch(1);
}

void CoolingActionPage::load() {
    for (MaskFrame* frame : frames_) {
        frame->load();
    }
}

FrequencyPage::FrequencyPage(AppContext& ctx, Kind kind, QWidget* parent) : WizardPage(parent) {
    const bool tach = kind == TachOscillator;
    const QStringList captions =
        tach ? QStringList{QStringLiteral("Measurement Disabled"), QStringLiteral("470 Hz"),
                           QStringLiteral("940 Hz"), QStringLiteral("1880 Hz")}
             : QStringList{QStringLiteral("15.625 Hz"), QStringLiteral("62.5 Hz"),
                           QStringLiteral("250 Hz"), QStringLiteral("1000Hz")};
    const RegisterField field = tach ? RegisterField{0xC0, 6} : RegisterField{0x30, 4};
    Fan* fans[] = {&ctx.state.Fan0(), &ctx.state.Fan1()};

    auto* row = new QHBoxLayout;
    for (int fan = 0; fan < 2; ++fan) {
        auto* frame = new QGroupBox(QStringLiteral("Fan %1").arg(fan + 1), this);
        const QString prefix = tach ? QStringLiteral("Fan%1TachCHK").arg(fan + 1)
                                    : QStringLiteral("Fan%1Chk").arg(fan + 1);
        auto* group = new ExclusiveBoxGroup(ctx, prefix, captions, quint8(0x68 + fan), field,
                                            tach ? fans[fan] : nullptr, frame);
        auto* column = new QVBoxLayout(frame);
        for (QCheckBox* box : group->boxes()) {
            column->addWidget(box);
        }
        column->addStretch(1);
        row->addWidget(frame);
        groups_.append(group);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addStretch(1);
}

void FrequencyPage::load() {
    for (ExclusiveBoxGroup* group : groups_) {
        group->load();
    }
}

} // namespace qmf
