// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/SelfTest.h"

#include "gui/services/AppContext.h"
#include "gui/services/AppIcon.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/shell/StartUp.h"
#include "gui/views/CalcComponent.h"
#include "gui/widgets/StripChart.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>

namespace qmf {

void ConsoleDialogs::message(QWidget*, Icon, const QString& title, const QString& text,
                             const QString& informativeText) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    if (!informativeText.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(informativeText));
    }
}

QString ConsoleDialogs::fileName(QWidget*, FileMode, const QString&, const QString&) {
    return {};
}

namespace {

// The chart's temperature traces (after the two fan speeds).
constexpr int FirstTemperatureTrace = 2;
constexpr int TraceCount = 5;
// Long enough for a few 100 ms graph ticks on a loaded machine.
constexpr qint64 WaitForReadingsMs = 5000;

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

QWidget* topLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name)) {
            return widget;
        }
    }
    fail(QStringLiteral("the window %1 did not open").arg(QLatin1String(name)));
}

template <class T> T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        fail(QStringLiteral("%1 has no %2").arg(window->objectName(), QLatin1String(name)));
    }
    return found;
}

void click(QWidget* window, const char* name) {
    auto* button = control<QAbstractButton>(window, name);
    if (!button->isEnabled()) {
        fail(QStringLiteral("%1 of %2 cannot be clicked")
                 .arg(QLatin1String(name), window->objectName()));
    }
    button->click();
}

bool everyTemperatureDrawn(const StripChart& chart) {
    for (int trace = FirstTemperatureTrace; trace < TraceCount; ++trace) {
        if (chart.pointCount(trace) == 0) {
            return false;
        }
    }
    return true;
}

double lastValue(StripChart& chart, int trace) {
    const auto data = chart.graph(trace)->data();
    return data->isEmpty() ? std::nan("") : (data->constEnd() - 1)->value;
}

void run(AppContext& ctx) {
    // Where the graph window will find the library: the same search, made first, since once the
    // graph window holds the library the loader knows it by name.
    {
        const auto code0 = Code0Object::create();
        std::printf("Calculation library: %s (%s)\n", qPrintable(code0->libraryPath()),
                    qPrintable(code0->foundBy()));
    }
    StartUp(ctx);
    QWidget* search = topLevel("InitForm");
    click(search, "NextCMD"); // to the choice of medium
    click(search, "NextCMD"); // search
    click(search, "FinishCMD");
    QWidget* main = topLevel("frmMain");
    if (!main->isVisible()) {
        fail(QStringLiteral("the device search did not open the main window"));
    }
    control<QAction>(main, "mnuStrip")->trigger();
    QWidget* graph = main->findChild<QWidget*>(QStringLiteral("GraphFRM"));
    if (graph == nullptr) {
        graph = topLevel("GraphFRM");
    }
    click(graph, "StartStopGraphsCHK");

    auto* chart = control<StripChart>(graph, "FanSpeedAndTemp");
    QElapsedTimer waited;
    waited.start();
    while (!everyTemperatureDrawn(*chart) && ctx.errors.failureCount() == 0 &&
           waited.elapsed() < WaitForReadingsMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    if (ctx.errors.failureCount() > 0) {
        fail(ctx.errors.lastError());
    }
    if (!everyTemperatureDrawn(*chart)) {
        fail(
            QStringLiteral("no temperatures were drawn within %1 s").arg(WaitForReadingsMs / 1000));
    }
    for (int trace = FirstTemperatureTrace; trace < TraceCount; ++trace) {
        std::printf("%s: %g\n", qPrintable(chart->traceName(trace)), lastValue(*chart, trace));
    }
    const QString icon = applicationIconFile();
    std::printf("Icon: %s\n", icon.isEmpty() ? "drawn by the program" : qPrintable(icon));
}

} // namespace

int runSelfTest(AppContext& ctx) {
    // The user's own settings (window position, open views) stay untouched.
    QStandardPaths::setTestModeEnabled(true);
    try {
        run(ctx);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Self-test failed: %s\n", e.what());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

} // namespace qmf
