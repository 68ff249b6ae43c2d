// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/FanConfigFRM.h"

#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/FanConfigPages.h"
#include "gui/wizards/SharedPages.h"
#include "gui/wizards/SpinUpOptions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmf {

namespace {
void addPage(QVBoxLayout* layout, QWidget* page) {
    layout->addWidget(page, 1);
}
} // namespace

FanConfigFRM::FanConfigFRM(AppContext& ctx, QWidget* parent)
    : StepWizard(ctx, QStringLiteral("Fan Configuration Wizard."), parent) {
    setObjectName(QStringLiteral("FanConfigFRM"));

    const auto page = [this](const char* caption, const char* title, WizardPage* content) {
        addPage(addStep(QString::fromLatin1(caption), QString::fromLatin1(title),
                        [content] { content->load(); }),
                content);
    };

    page("Set Fan Norm Speed", "Set Fan Normal Speed",
         new SpeedPage(ctx, QStringLiteral("normal speed"),
                       {QStringLiteral("Fan1NormSpeedSlider"), QStringLiteral("Fan1SLBL"),
                        QStringLiteral("Fan 1 (60h)")},
                       {QStringLiteral("Fan2NormSpeedSlider"), QStringLiteral("Fan2SLBL"),
                        QStringLiteral("Fan 2 (61h)")},
                       0x60, LowNibble));
    page("Set Fan Alrm Speed", "Set Fan Alarm Speed",
         new SpeedPage(ctx, QStringLiteral("alarm speed"),
                       {QStringLiteral("Fan1AlarmSlider"), QStringLiteral("Fan1AlrmLBL"),
                        QStringLiteral("Fan 1 (60h)")},
                       {QStringLiteral("Fan2AlarmSlider"), QStringLiteral("Fan2AlrmLBL"),
                        QStringLiteral("Fan 2 (61h)")},
                       0x60, HighNibble));
    page("Set Fan Hot Plug Speed", "Set Fan Hot Plug Speed",
         new SpeedPage(ctx, QStringLiteral("hot-plug speed"),
                       {QStringLiteral("Fan1HotPlugSlider"), QStringLiteral("Fan1HotPlugLBL"),
                        QStringLiteral("Fan 1 (68h)")},
                       {QStringLiteral("Fan2HotPlugSlider"), QStringLiteral("Fan2HotPlugLBL"),
                        QStringLiteral("Fan 2 (69h)")},
                       0x68, LowNibble));
    page("Set Fan Fault Action", "Set Fan Fault Action", new FaultActionPage(ctx));
    page("Set Fan Fault Mask", "Set Fan Fault Mask", new MaskPage(ctx, MaskPage::FanFault));
    page("Set GPIO   Event Mask", "Set GPIO Event Mask", new MaskPage(ctx, MaskPage::Gpio));

    auto* cooling = new CoolingActionPage(ctx);
    QVBoxLayout* coolingLayout =
        addStep(QStringLiteral("Set Temp Cooling Act"),
                QStringLiteral("Set Temperature Cooling Action"), [cooling] { cooling->load(); });
    coolingLayout->addWidget(cooling, 1);
    auto* configAfc = new QPushButton(QStringLiteral("Configure AFC Settings"), this);
    configAfc->setObjectName(QStringLiteral("ConfigAFCCMD"));
    // The tutor opens beside this wizard, which stays open.
    connect(configAfc, &QPushButton::clicked, this,
            ctx.errors.guard(this, [this] { ctx_.open(QStringLiteral("AFCTutorFRM")); }));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(configAfc);
    coolingLayout->addLayout(buttonRow);

    page("Set Ain Event Mask", "Set Ain Event Mask", new MaskPage(ctx, MaskPage::Ain));
    page("Set Fan Spin up Time", "Set Fan Spin-up Time", new SpinUpOptions(ctx));
    page("Set PWM   Drive Freq", "Set PWM drive Frequency",
         new FrequencyPage(ctx, FrequencyPage::PwmDrive));
    page("Config Tach Oscillator", "Set Tach Oscillator Frequency",
         new FrequencyPage(ctx, FrequencyPage::TachOscillator));

    QVBoxLayout* last =
        addStep(QStringLiteral("Measure Fan Speed"), QStringLiteral("Measure Fan Speed"));
    auto* description =
        new QLabel(QStringLiteral("You can now measure the fan speed using the graph."), this);
    description->setObjectName(QStringLiteral("DescriptionLBL_11"));
    description->setWordWrap(true);
    last->addWidget(description);
    last->addStretch(1);

    start();
}

} // namespace qmf
