// SPDX-License-Identifier: GPL-3.0-or-later
// Which windows this build contains is decided by the build: a window library that exists is
// linked into the program and defines QMF_HAVE_<library>.
#include "gui/app/AppContext.h"
#include "gui/app/WindowRegistry.h"
#include "gui/app/mainWiring.h"

#include <QCoreApplication>

#if defined(QMF_HAVE_GUI_LINK) && __has_include("gui/link/InitForm.h")
#include "gui/link/InitForm.h"
#define QMF_WIRE_INIT_FORM
#endif
#if defined(QMF_HAVE_GUI_BOARD) && __has_include("gui/board/BoardControlFRM.h")
#include "gui/board/BoardControlFRM.h"
#define QMF_WIRE_BOARD_CONTROL
#endif
#if defined(QMF_HAVE_GUI_REGLIST) && __has_include("gui/reglist/Register_List.h")
#include "gui/reglist/Register_List.h"
#define QMF_WIRE_REGISTER_LIST
#endif
#if defined(QMF_HAVE_GUI_AUTOSET) && __has_include("gui/wizards/AutoSetFRM.h")
#include "gui/wizards/AutoSetFRM.h"
#define QMF_WIRE_AUTOSET
#endif
#if defined(QMF_HAVE_GUI_WIZARDS) && __has_include("gui/wizards/WizardListFRM.h")
#include "gui/wizards/WizardListFRM.h"
#define QMF_WIRE_WIZARD_LIST
#endif
#if defined(QMF_HAVE_GUI_WIZARDS) && __has_include("gui/wizards/FanConfigFRM.h")
#include "gui/wizards/FanConfigFRM.h"
#define QMF_WIRE_FAN_CONFIG
#endif
#if defined(QMF_HAVE_GUI_WIZARDS) && __has_include("gui/wizards/AFCTutorFRM.h")
#include "gui/wizards/AFCTutorFRM.h"
#define QMF_WIRE_AFC_TUTOR
#endif
#if defined(QMF_HAVE_GUI_VIEWS) && __has_include("gui/views/BargraphForm.h")
#include "gui/views/BargraphForm.h"
#define QMF_WIRE_BARGRAPH
#endif
#if defined(QMF_HAVE_GUI_VIEWS) && __has_include("gui/views/GraphFRM.h")
#include "gui/views/GraphFRM.h"
#define QMF_WIRE_GRAPH
#endif
#if defined(QMF_HAVE_GUI_VIEWS) && __has_include("gui/views/ChipLayoutForm.h")
#include "gui/views/ChipLayoutForm.h"
#define QMF_WIRE_CHIP_LAYOUT
#endif

namespace qmf {

namespace {
template <class Window> void addWindow(AppContext& ctx, const QString& name) {
    ctx.openers.insert(name, [&ctx] { ctx.windows.show<Window>(ctx); });
}
} // namespace

void registerOpeners(AppContext& ctx) {
#ifdef QMF_WIRE_INIT_FORM
    ctx.openers.insert(QStringLiteral("InitForm"), [&ctx] {
        InitForm& wizard = ctx.windows.show<InitForm>(ctx);
        // Closing the wizard without a device has unloaded every window: the program ends.
        QObject::connect(&wizard, &InitForm::programEnding, qApp, &QCoreApplication::quit,
                         Qt::QueuedConnection);
    });
#endif
#ifdef QMF_WIRE_BOARD_CONTROL
    addWindow<BoardControlFRM>(ctx, QStringLiteral("BoardControlFRM"));
#endif
#ifdef QMF_WIRE_REGISTER_LIST
    addWindow<Register_List>(ctx, QStringLiteral("Register_List"));
#endif
#ifdef QMF_WIRE_AUTOSET
    ctx.openers.insert(QStringLiteral("AutoSet"), [&ctx] { RunAutoSet(ctx); });
#endif
#ifdef QMF_WIRE_WIZARD_LIST
    addWindow<WizardListFRM>(ctx, QStringLiteral("WizardListFRM"));
#endif
#ifdef QMF_WIRE_FAN_CONFIG
    addWindow<FanConfigFRM>(ctx, QStringLiteral("FanConfigFRM"));
#endif
#ifdef QMF_WIRE_AFC_TUTOR
    addWindow<AFCTutorFRM>(ctx, QStringLiteral("AFCTutorFRM"));
#endif
#ifdef QMF_WIRE_BARGRAPH
    addWindow<BargraphForm>(ctx, QStringLiteral("BargraphForm"));
#endif
#ifdef QMF_WIRE_GRAPH
    addWindow<GraphFRM>(ctx, QStringLiteral("GraphFRM"));
#endif
#ifdef QMF_WIRE_CHIP_LAYOUT
    addWindow<ChipLayoutForm>(ctx, QStringLiteral("ChipLayoutForm"));
#endif
}

} // namespace qmf
