// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/JournalUndo.h"

#include "core/chip/SharedState.h"
#include "core/files/RegisterSettingsReport.h"
#include "core/journal/WriteJournal.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <map>

namespace qmf {

namespace {

QString missingEntry(const WriteJournal& journal, quint64 serial) {
    return QStringLiteral("Entry %1 is no longer in the journal, which keeps the last %2 writes.")
        .arg(serial)
        .arg(journal.capacity());
}

} // namespace

UndoPlan planUndoOf(const WriteJournal& journal, quint64 serial) {
    UndoPlan plan;
    plan.source = QStringLiteral("Undo of %1").arg(serial);
    const JournalEntry* entry = journal.find(serial);
    if (!entry) {
        plan.refusals << missingEntry(journal, serial);
    } else if (!entry->before) {
        plan.refusals << QStringLiteral("Entry %1 cannot be undone: the value of register %2 "
                                        "before it is not known (the register had not been read "
                                        "before it was written).")
                             .arg(serial)
                             .arg(text::hex(entry->reg));
    } else {
        plan.steps << UndoStep{entry->reg, *entry->before, {serial}};
    }
    return plan;
}

UndoPlan planUndoFrom(const WriteJournal& journal, quint64 serial) {
    UndoPlan plan;
    plan.source = QStringLiteral("Undo from %1").arg(serial);
    if (!journal.find(serial)) {
        plan.refusals << missingEntry(journal, serial);
        return plan;
    }
    struct Register {
        UndoStep step;
        bool known = true;
        quint64 newest = 0;
    };
    std::map<quint8, Register> registers;
    for (quint64 s = serial; s <= journal.lastSerial(); ++s) {
        const JournalEntry& entry = *journal.find(s);
        auto [it, first] = registers.try_emplace(entry.reg);
        Register& r = it->second;
        if (first) {
            r.step.reg = entry.reg;
            r.known = entry.before.has_value();
            r.step.value = entry.before.value_or(0);
        }
        r.step.entries << s;
        r.newest = s;
    }
    QList<int> unknown;
    std::vector<const Register*> order;
    for (const auto& [reg, r] : registers) {
        if (!r.known) {
            unknown << reg;
        }
        order.push_back(&r);
    }
    if (!unknown.isEmpty()) {
        plan.refusals << QStringLiteral("The registers as they were before entry %1 are not all "
                                        "known: the earlier value of %2 %3 is not known (not "
                                        "read before being written).")
                             .arg(serial)
                             .arg(unknown.size() == 1 ? QStringLiteral("register")
                                                      : QStringLiteral("registers"),
                                  numberRuns(unknown, true));
        return plan;
    }
    std::sort(order.begin(), order.end(),
              [](const Register* a, const Register* b) { return a->newest > b->newest; });
    for (const Register* r : order) {
        plan.steps << r->step;
    }
    return plan;
}

UndoResult runUndo(SharedState& state, const UndoPlan& plan) {
    UndoResult result;
    if (!plan.ok()) {
        return result;
    }
    WriteJournal& journal = state.journal();
    const JournalSource source(journal, plan.source);
    for (const UndoStep& step : plan.steps) {
        const QString reg = text::hex(step.reg);
        try {
            WriteRegisterAt(state, step.reg, step.value);
        } catch (const std::exception& e) {
            journal.markUndoOf(journal.lastSerial(), step.entries.first());
            result.problems << QStringLiteral("Register %1 could not be put back to %2: %3")
                                   .arg(reg, text::hex(step.value), errorMessage(e));
            continue;
        }
        const quint64 written = journal.lastSerial();
        journal.markUndoOf(written, step.entries.first());
        for (const quint64 serial : step.entries) {
            journal.markUndone(serial, written);
        }
        ++result.written;
        try {
            const quint8 readBack = ReadRegisterAt(state, step.reg);
            if (readBack != step.value) {
                result.problems << QStringLiteral("Register %1 reads %2 after %3 was put back.")
                                       .arg(reg, text::hex(readBack), text::hex(step.value));
            }
        } catch (const std::exception& e) {
            result.problems << QStringLiteral("Register %1 could not be read back: %2")
                                   .arg(reg, errorMessage(e));
        }
    }
    return result;
}

QStringList UndoResult::lines(const UndoPlan& plan) const {
    if (!plan.refusals.isEmpty()) {
        return plan.refusals + QStringList{QStringLiteral("Nothing was written.")};
    }
    const int planned = int(plan.steps.size());
    QStringList list;
    list << (written == planned
                 ? QStringLiteral("%1 put back.")
                 : QStringLiteral("%1 of %2 put back.").arg(QString::number(written)))
                .arg(planned == 1 ? QStringLiteral("1 register was")
                                  : QStringLiteral("%1 registers were").arg(planned));
    return list + problems;
}

} // namespace qmf
