// SPDX-License-Identifier: GPL-3.0-or-later
// The device search wizard's list of SMBus adapters, below the on-board SMBus medium: the
// automatic choice preselected, or the one chosen at the last start; the search uses the
// selected one. An adapter named with --smbus is the only choice.
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/text/NumberText.h"
#include "gui/link/InitForm.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/SettingsStore.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace qmf {

namespace {

const QString Section = QStringLiteral("SMBus");
const QString NodeKey = QStringLiteral("Adapter");
const QString NameKey = QStringLiteral("AdapterName");

// A bridge plugged in again gets another number, and the drivers put numbers in the name too
// ("CP2112 SMBus Bridge on hidraw1"): without its numbers the name still says which one it is.
QString withoutNumbers(QString name) {
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    return name.replace(digits, QStringLiteral("#"));
}

// The line of the adapter chosen before: the same node with the same name, else the same name,
// else the same name apart from its numbers; -1 when none of them is there.
int rememberedRow(const QList<SmbusAdapter>& adapters, const QString& node, const QString& name) {
    if (name.isEmpty() && node.isEmpty()) {
        return -1;
    }
    const std::function<bool(const SmbusAdapter&)> rules[] = {
        [&](const SmbusAdapter& a) { return a.node == node && a.name == name; },
        [&](const SmbusAdapter& a) { return !name.isEmpty() && a.name == name; },
        [&](const SmbusAdapter& a) {
            return !name.isEmpty() && withoutNumbers(a.name) == withoutNumbers(name);
        },
    };
    for (const auto& rule : rules) {
        for (int row = 0; row < adapters.size(); ++row) {
            if (rule(adapters[row])) {
                return row;
            }
        }
    }
    return -1;
}

QString lineText(const SmbusAdapter& adapter) {
    return QStringLiteral("%1 (%2, %3)")
        .arg(adapter.title(), smbusAdapterKindText(adapter.kind), adapter.node);
}

} // namespace

void InitForm::loadAdapters() {
    QListWidget* list = ui_.SMBusAdapterLIST;
    SmbusAdapterChoice* choice = ctx_.state.board().smbusAdapterChoice();
    if (choice == nullptr) {
        list->hide();
        return;
    }
    // The line on view stays chosen while its adapter is there.
    const int shown = list->currentRow();
    const SmbusAdapter before =
        shown >= 0 && shown < adapters_.size() ? adapters_[shown] : SmbusAdapter{};
    const SmbusAdapterList scan = choice->scanAdapters();
    const bool named = !choice->namedAdapter().isEmpty();
    adapters_ = scan.adapters;
    list->clear();
    for (const SmbusAdapter& adapter : adapters_) {
        auto* item = new QListWidgetItem(lineText(adapter), list);
        item->setToolTip(adapter.node);
    }
    int row = scan.automatic;
    if (!named) {
        const SettingsStore store(applicationTitle());
        for (const int found : {rememberedRow(adapters_, before.node, before.name),
                                rememberedRow(adapters_, store.value(Section, NodeKey, {}),
                                              store.value(Section, NameKey, {}))}) {
            if (found >= 0) {
                row = found;
                break;
            }
        }
    }
    list->setCurrentRow(row);
    if (row < 0) {
        list->clearSelection();
    }
    list->setToolTip(named ? QStringLiteral("Named on the command line with --smbus")
                           : QStringLiteral("The adapter the SMBus search uses"));
    list->setVisible(!adapters_.isEmpty());
    list->setEnabled(!named && ui_.SMBusCheck->isEnabled());
    showChosenAdapter();
}

void InitForm::showChosenAdapter() {
    if (adapters_.isEmpty()) {
        return; // the board link's own adapter, as the load showed it
    }
    // The chosen line's controller; a USB bridge has no base address, nor has no choice.
    const int row = ui_.SMBusAdapterLIST->currentRow();
    const bool chosen = row >= 0 && row < adapters_.size();
    ui_.SMBusBaseAddressTXT->setText(text::hex(quint32(chosen ? adapters_[row].baseAddress : 0)));
}

void InitForm::useChosenAdapter() {
    SmbusAdapterChoice* choice = ctx_.state.board().smbusAdapterChoice();
    const int row = ui_.SMBusAdapterLIST->currentRow();
    if (choice == nullptr || !choice->namedAdapter().isEmpty() || row < 0 ||
        row >= adapters_.size()) {
        return; // the board's own choice stands, or says why there is none
    }
    const SmbusAdapter& chosen = adapters_[row];
    const QList<SmbusAdapter> now = choice->scanAdapters().adapters;
    if (std::none_of(now.begin(), now.end(), [&](const SmbusAdapter& a) {
            return a.node == chosen.node && a.name == chosen.name;
        })) {
        throw std::runtime_error(
            QStringLiteral("%1 (%2) is no longer there: plug it back in, go back and choose it "
                           "again")
                .arg(chosen.title(), chosen.node)
                .toStdString());
    }
    choice->chooseAdapter(chosen);
    SettingsStore store(applicationTitle());
    if (!store.setValue(Section, NodeKey, chosen.node) ||
        !store.setValue(Section, NameKey, chosen.name)) {
        // The search goes on; only the next start will not know the choice.
        qWarning("The chosen SMBus adapter could not be stored in the settings.");
    }
}

} // namespace qmf
