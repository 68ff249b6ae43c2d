// SPDX-License-Identifier: GPL-3.0-or-later
// Register_List's traffic with the chip: reading the selected register for the display, flipping
// one bit, writing an entered byte.
#include "core/chip/SharedState.h"
#include "core/link/RegisterAccess.h"
#include "gui/reglist/ByteEntry.h"
#include "gui/reglist/ClickableLabel.h"
#include "gui/reglist/RegisterValueDisplay.h"
#include "gui/reglist/Register_List.h"
#include "gui/services/AppContext.h"
#include "gui/services/UserDialogs.h"

#include <QLineEdit>

namespace qmf {

void Register_List::refresh() {
    SharedState& state = ctx_.state;
    state.AddressPointer = state.CurrentRegisterIndex;
    ReadRegister(state);
    showRegisterValue(bands_, state.CurrentRegisterIndex, state.DataRead);
}

void Register_List::flipBit(int bit) {
    SharedState& state = ctx_.state;
    state.AddressPointer = state.CurrentRegisterIndex;
    ReadRegister(state);
    // The displayed digit decides, so a stale digit is set to the opposite of what the user sees.
    ClickableLabel* digit = bands_.digits[bit];
    const QString shown = digit->text();
    if (shown != QLatin1String("1")) {
        digit->setText(QStringLiteral("1"));
        state.DataToWrite = state.DataRead | (1 << bit);
    } else {
        digit->setText(QStringLiteral("0"));
        state.DataToWrite = state.DataRead & (255 - (1 << bit));
    }
    try {
        WriteRegister(state);
    } catch (...) {
        // The digit must not show a bit the chip never received.
        digit->setText(shown);
        throw;
    }
    ReadRegister(state);
}

void Register_List::writeHexEntry() {
    SharedState& state = ctx_.state;
    state.DataToWrite = hexEntryValue(bands_.hexText->text());
    state.AddressPointer = state.CurrentRegisterIndex;
    WriteRegister(state);
}

void Register_List::writeDecimalEntry() {
    const std::optional<qint32> value = decimalEntryValue(bands_.decText->text());
    if (!value) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation,
                             QStringLiteral("There was a Problem!"),
                             QStringLiteral("A register holds 0 to 255; the negative value \"%1\" "
                                            "was not written.")
                                 .arg(bands_.decText->text().trimmed()));
        return;
    }
    SharedState& state = ctx_.state;
    state.DataToWrite = *value;
    state.AddressPointer = state.CurrentRegisterIndex;
    WriteRegister(state);
}

} // namespace qmf
