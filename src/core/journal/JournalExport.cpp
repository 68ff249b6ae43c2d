// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/JournalExport.h"

#include "core/chip/SharedState.h"
#include "core/files/AllOrNothingFile.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/journal/JournalUndo.h"
#include "core/journal/WriteJournal.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

namespace qmf {

RegistersBefore registersBefore(SharedState& state, quint64 serial) {
    RegistersBefore result;
    // Undoing everything from that entry on gives exactly the values wanted for the registers
    // written since; the plan is only read, nothing is written.
    const UndoPlan plan = planUndoFrom(state.journal(), serial);
    if (!plan.refusals.isEmpty()) {
        result.refusals = plan.refusals;
        return result;
    }
    std::array<bool, 256> fromJournal{};
    for (const UndoStep& step : plan.steps) {
        result.values[step.reg] = step.value;
        fromJournal[step.reg] = true;
    }
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        if (fromJournal[r]) {
            continue;
        }
        try {
            result.values[r] = ReadRegisterAt(state, quint8(r));
        } catch (const std::exception& e) {
            result.unreadable << QStringLiteral("Register %1 could not be read: %2")
                                     .arg(text::hex(quint32(r)), errorMessage(e));
        }
    }
    return result;
}

JournalExportResult exportRegistersBefore(SharedState& state, quint64 serial, const QString& path) {
    JournalExportResult result;
    const RegistersBefore before = registersBefore(state, serial);
    if (!before.complete()) {
        result.lines << QStringLiteral("No file was written.") << before.refusals
                     << before.unreadable;
        return result;
    }
    QByteArray bytes;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        bytes += registerSettingsLine(quint8(r), before.values[r]);
    }
    const QString error = writeWholeFile(path, bytes);
    if (!error.isEmpty()) {
        result.lines << QStringLiteral("No file was written: %1").arg(error);
        return result;
    }
    result.written = true;
    result.lines << QStringLiteral("The registers as they were before entry %1 were saved to %2.")
                        .arg(serial)
                        .arg(path);
    return result;
}

} // namespace qmf
