// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/board/BoardControlFRM.h"
#include "gui/events/EventsFRM.h"
#include "gui/journal/JournalFRM.h"
#include "gui/link/InitForm.h"
#include "gui/map/RegisterMapFRM.h"
#include "gui/map/SettingsCompareFRM.h"
#include "gui/reglist/Register_List.h"
#include "gui/services/AppContext.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/mainWiring.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/GraphFRM.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/AutoSetFRM.h"
#include "gui/wizards/FanConfigFRM.h"
#include "gui/wizards/WizardListFRM.h"

#include <QCoreApplication>

namespace qmf {

namespace {
template <class Window> void addWindow(AppContext& ctx, const QString& name) {
    ctx.openers.insert(name, [&ctx] { ctx.windows.show<Window>(ctx); });
}
} // namespace

void registerOpeners(AppContext& ctx) {
    ctx.openers.insert(QStringLiteral("InitForm"), [&ctx] {
        InitForm& wizard = ctx.windows.show<InitForm>(ctx);
        // Closing the wizard without a device has unloaded every window: the program ends.
        QObject::connect(&wizard, &InitForm::programEnding, qApp, &QCoreApplication::quit,
                         Qt::QueuedConnection);
    });
    ctx.openers.insert(QStringLiteral("AutoSet"), [&ctx] { RunAutoSet(ctx); });
    addWindow<BoardControlFRM>(ctx, QStringLiteral("BoardControlFRM"));
    addWindow<Register_List>(ctx, QStringLiteral("Register_List"));
    addWindow<WizardListFRM>(ctx, QStringLiteral("WizardListFRM"));
    addWindow<FanConfigFRM>(ctx, QStringLiteral("FanConfigFRM"));
    addWindow<AFCTutorFRM>(ctx, QStringLiteral("AFCTutorFRM"));
    addWindow<BargraphForm>(ctx, QStringLiteral("BargraphForm"));
    addWindow<GraphFRM>(ctx, QStringLiteral("GraphFRM"));
    addWindow<ChipLayoutForm>(ctx, QStringLiteral("ChipLayoutForm"));
    addWindow<RegisterMapFRM>(ctx, QStringLiteral("RegisterMapFRM"));
    addWindow<JournalFRM>(ctx, QStringLiteral("JournalFRM"));
    addWindow<EventsFRM>(ctx, QStringLiteral("EventsFRM"));
    ctx.openers.insert(QStringLiteral("CompareWithSettingsFile"), [&ctx] {
        CompareWithSettingsFile(ctx,
                                ctx.windows.mdiArea() ? ctx.windows.mdiArea()->window() : nullptr);
    });
}

} // namespace qmf
