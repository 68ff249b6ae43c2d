// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/AFCTutorFRM.h"

#include "gui/wizards/AfcPages.h"
#include "gui/wizards/SharedPages.h"
#include "gui/wizards/SpinUpOptions.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qmf {

AFCTutorFRM::AFCTutorFRM(AppContext& ctx, QWidget* parent)
    : StepWizard(ctx, QStringLiteral("AFC Wizard"), parent) {
    setObjectName(QStringLiteral("AFCTutorFRM"));

    const auto page = [this](const char* caption, const char* title, WizardPage* content) {
        addStep(QString::fromLatin1(caption), QString::fromLatin1(title), [content] {
            content->load();
        })->addWidget(content, 1);
    };

    page("Fan Min Duty Cycle", "Fan Min Duty Cycle",
         new SpeedPage(ctx, QStringLiteral("minimum duty cycle"),
                       {QStringLiteral("Fan1NormSpeedSlider"), QStringLiteral("Fan1SLBL"),
                        QStringLiteral("Fan 1 (60h)")},
                       {QStringLiteral("Fan2NormSpeedSlider"), QStringLiteral("Fan2SLBL"),
                        QStringLiteral("Fan 2 (61h)")},
                       0x60, LowNibble));
    page("Temp Cooling Action", "Set Temperature Cooling Action", new CoolingActionPage(ctx));
    page("Fan Start Temp, Tmin", "Set Fan Start Temp", new TminPage(ctx));
    page("Temp-FanSpeed Slope", "Temp-Fan Speed Slope",
         new AfcNibblePage(ctx, AfcNibblePage::Trange));
    page("Control Loop Hysteresis", "Control Loop Hysteresis",
         new AfcNibblePage(ctx, AfcNibblePage::Hysteresis));
    page("Fan Spin-up Time", "Set Fan Spin-up Time", new SpinUpOptions(ctx));
    page("Set PWM Frequency", "Set PWM drive Frequency",
         new FrequencyPage(ctx, FrequencyPage::PwmDrive));
    page("Set Tach Oscillator Freq", "Set Tach Oscillator Frequency",
         new FrequencyPage(ctx, FrequencyPage::TachOscillator));

    QVBoxLayout* last =
        addStep(QStringLiteral("Measure Fan Speed"), QStringLiteral("Measure Fan Speed"));
    auto* description =
        new QLabel(QStringLiteral("You can now measure fan speed using the control panel."), this);
    description->setObjectName(QStringLiteral("Label18"));
    description->setWordWrap(true);
    last->addWidget(description);
    last->addStretch(1);

    start();
}

} // namespace qmf
