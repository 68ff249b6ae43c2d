// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/SpinUpOptions.h"

#include "core/link/RegisterAccess.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/ChipReadBack.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qmf {

SpinUpOptions::SpinUpOptions(AppContext& ctx, QWidget* parent) : WizardPage(parent), ctx_(ctx) {
    static const char* const captions[] = {"16 Seconds",   "8 Seconds",    "4 Seconds",
                                           "2 Seconds",    "1 Second",     "0.25 Seconds",
                                           "1/16 Seconds", "1/64 Seconds", "Spin-up Disabled"};

    auto* frame = new QGroupBox(this);
    auto* column = new QVBoxLayout(frame);
    for (int i = 0; i < 9; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), frame);
        option->setObjectName(QStringLiteral("FanSpinUpOP_%1").arg(i));
        // Only the option that becomes selected writes; the one losing the selection does not.
        connect(option, &QRadioButton::toggled, this, [this, option, i](bool selected) {
            if (selected) {
                ctx_.errors.run(
                    option,
                    [this, i] {
                        WriteRegisterAt(ctx_.state, Address, qint16(i));
                        chipOption_ = i;
                    },
                    [this] { showChipOption(); });
            }
        });
        column->addWidget(option);
        options_.append(option);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);
}

namespace {
// The option a code of 0x0C selects: bits 3..0 of 0..8, and "Spin-up Disabled" for 8..15.
int optionOf(int code) {
    code &= 0x0F;
    return code & 0x08 ? 8 : code;
}
} // namespace

void SpinUpOptions::showChipOption() {
    chipOption_ =
        chipValueOr([this] { return optionOf(ReadRegisterAt(ctx_.state, Address)); }, chipOption_);
    for (int i = 0; i < options_.size(); ++i) {
        // Showing the chip's option writes nothing; the exclusive group is lifted for the moment
        // so that no option stays selected when none is known.
        const QSignalBlocker quiet(options_[i]);
        options_[i]->setAutoExclusive(false);
        options_[i]->setChecked(i == chipOption_);
        options_[i]->setAutoExclusive(true);
    }
}

void SpinUpOptions::load() {
    const int code = ReadRegisterAt(ctx_.state, Address) & 0x0F;
    chipOption_ = optionOf(code);
    if (code <= 8) {
        options_[code]->setChecked(true);
    }
    if ((code & 0x08) != 0) {
        options_[8]->setChecked(true);
    }
}

} // namespace qmf
