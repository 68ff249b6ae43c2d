// SPDX-License-Identifier: GPL-3.0-or-later
// Register_List's traffic with the chip: reading the selected register for the display, flipping
// one bit, writing an entered byte.
#include "core/chip/SharedState.h"
#include "core/link/RegisterAccess.h"
#include "core/text/ByteText.h"
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
    readBack();
}

void Register_List::readBack() {
    // What the chip holds now, which is not always what was sent (read-only bits, 255 for
    // larger values): the whole panel shows it.
    SharedState& state = ctx_.state;
    ReadRegister(state);
    showRegisterValue(bands_, state.CurrentRegisterIndex, state.DataRead);
}

void Register_List::writeHexEntry() {
    writeEntry(bands_.hexText, text::parseHexByte(bands_.hexText->text()),
               QStringLiteral("hexadecimal"), text::hexByteForms());
}

void Register_List::writeDecimalEntry() {
    writeEntry(bands_.decText, text::parseDecimalByte(bands_.decText->text()),
               QStringLiteral("decimal"), text::decimalByteForms());
}

void Register_List::writeEntry(QLineEdit* field, const text::ByteText& entered, const QString& kind,
                               const QString& forms) {
    if (!entered.ok()) {
        // Nothing is written and the entry stays as typed, selected, to be corrected.
        const QString typed = field->text().trimmed();
        const QString what = typed.isEmpty() ? QStringLiteral("The %1 field is empty").arg(kind)
                                             : QStringLiteral("\"%1\" is not a byte").arg(typed);
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation,
                             QStringLiteral("There was a Problem!"),
                             QStringLiteral("%1: the %2 field takes %3. Nothing was written.")
                                 .arg(what, kind, forms));
        field->setFocus();
        field->selectAll();
        return;
    }
    SharedState& state = ctx_.state;
    state.DataToWrite = entered.value;
    state.AddressPointer = state.CurrentRegisterIndex;
    WriteRegister(state);
    readBack();
}

} // namespace qmf
