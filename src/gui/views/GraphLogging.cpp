// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's log: its panel, choosing the file, starting and stopping, the lines of each
// tick, and how a log ends when it fails or is full.
#include "core/logs/CsvLog.h"
#include "core/logs/LogStartRegisters.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberText.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/SettingsStore.h"
#include "gui/services/UserDialogs.h"
#include "gui/views/GraphFRM.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to

namespace qmf {

namespace {

constexpr double MaximumIntervalS = 3600.0;
constexpr double MaximumLines = 1000000.0;
// Room for the log file's name in the log panel; a longer one is elided in the middle.
constexpr int LogFileLabelWidth = 220;

const QString NotLogging = QStringLiteral("Not Logging to File");
const QString Logging = QStringLiteral("Logging to File");
// The .xls log first, as it always was; the type chosen decides the format.
const QString LogFilter = QStringLiteral("Excel Files (*.xls);;CSV Files (*.csv)");
const QString LogExtension = QStringLiteral(".xls");
const QString BadNameTitle = QStringLiteral("There was a Problem!");
const QString BadNameText =
    QStringLiteral("Either an invalid filename or no file was selected, no settings were loaded.");
const QString LogFailureTitle = QStringLiteral("Error");
// The two sentences stand on two lines of the box.
const QString LogFailureText = QStringLiteral("There has been a problem writing to the log file.\n"
                                              "This file may be locked by another application.");
const QString LogFullTitle = QStringLiteral("Log Full");
const QString LogFullText =
    QStringLiteral("The log file is full (1,000,000 lines). Logging has stopped.\n"
                   "Make a new log to go on logging.");
// The dialogs' memory of the last chosen log file.
const QString LogFileKind = QStringLiteral("LogFile");

} // namespace

// --- panel --------------------------------------------------------------------------------------

QWidget* GraphFRM::buildLogPanel() {
    auto* logPanel = new QGroupBox(QStringLiteral("Log to File"), this);
    logPanel->setObjectName(QStringLiteral("SSPanel10"));
    makeLogButton_ = new QPushButton(QStringLiteral("Make New Log"), logPanel);
    makeLogButton_->setObjectName(QStringLiteral("MakeLog_CMD"));
    logBox_ = new QCheckBox(NotLogging, logPanel);
    logBox_->setObjectName(QStringLiteral("Check3"));
    logBox_->setTristate(true);
    logBox_->setCheckState(Qt::Unchecked);
    logBox_->setEnabled(false);
    auto* delayLabel = new QLabel(QStringLiteral("Delay(Sec):"), logPanel);
    delayLabel->setObjectName(QStringLiteral("Label15"));
    intervalEdit_ = new QLineEdit(QStringLiteral("5"), logPanel);
    intervalEdit_->setObjectName(QStringLiteral("Text1"));
    intervalEdit_->setAccessibleName(QStringLiteral("Delay in seconds"));
    intervalEdit_->setMaximumWidth(70);
    delayLabel->setBuddy(intervalEdit_);
    auto* loggedLabel = new QLabel(QStringLiteral("Logged:"), logPanel);
    loggedLabel->setObjectName(QStringLiteral("Label7"));
    countLabel_ = new QLabel(QStringLiteral("0"), logPanel);
    countLabel_->setObjectName(QStringLiteral("Label14"));
    countLabel_->setAccessibleName(QStringLiteral("Logged lines"));
    countLabel_->setMinimumWidth(
        countLabel_->fontMetrics().horizontalAdvance(QStringLiteral(" 0000000")));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* linesLabel = new QLabel(QStringLiteral("Lines"), logPanel);
    linesLabel->setObjectName(QStringLiteral("Label13"));
    // The file being logged to, while logging.
    logFileLabel_ = new QLabel(logPanel);
    logFileLabel_->setObjectName(QStringLiteral("LogFileLBL"));
    logFileLabel_->setAccessibleName(QStringLiteral("Log file"));
    logFileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* logRow = new QHBoxLayout(logPanel);
    logRow->addWidget(makeLogButton_);
    logRow->addWidget(logBox_);
    logRow->addSpacing(12);
    logRow->addWidget(delayLabel);
    logRow->addWidget(intervalEdit_);
    logRow->addSpacing(12);
    logRow->addWidget(loggedLabel);
    logRow->addWidget(countLabel_);
    logRow->addWidget(linesLabel);
    logRow->addSpacing(12);
    logRow->addWidget(logFileLabel_);

    connect(makeLogButton_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { MakeLog_CMD_Click(); }));
    connect(logBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(this, [this] { Check3_Click(); }));
    connect(intervalEdit_, &QLineEdit::textChanged, this,
            ctx_.errors.guard(this, [this] { Text1_Change(); }));
    return logPanel;
}

// --- lines --------------------------------------------------------------------------------------

void GraphFRM::logIfDue(const LogReadings& readings) {
    if (logBox_->checkState() != Qt::Checked || !graphsBox_->isChecked() ||
        logFileName_.isEmpty() || !log_.isOpen()) {
        return;
    }
    const QDateTime now = ctx_.clock.now();
    const QTime timeOfDay = now.time();
    const int nowMs = timeOfDay.msecsSinceStartOfDay();
    if (!measurementLogLineDue(nowMs, lastLogTimeMs_, text::leadingNumber(intervalEdit_->text()))) {
        return;
    }
    const double logged = text::leadingNumber(countLabel_->text());
    if (logged >= MaximumLines) {
        // The line after the millionth: the log is complete, not broken.
        logFull();
        return;
    }
    lastLogTimeMs_ = nowMs;
    const bool csv = isCsvLogName(logFileName_);
    if (logged == 0 && !log_.writeLine(csv ? csvPreamble() : measurementLogHeader())) {
        logFailed();
        return;
    }
    if (!log_.writeLine(csv ? csvLogLine(now, readings)
                            : measurementLogLine(timeOfDay, readings))) {
        logFailed();
        return;
    }
    countLabel_->setText(text::signedNumber(logged + 1));
}

QByteArray GraphFRM::csvPreamble() {
    try {
        return csvLogPreamble(readCsvLogStart(ctx_.state, applicationTitle() + u' ' +
                                                              versionNumberText(programVersion())));
    } catch (...) {
        // As a failed reading ends a running log: cleanly, then reported.
        logFailed();
        throw;
    }
}

// --- logging ------------------------------------------------------------------------------------

void GraphFRM::MakeLog_CMD_Click() {
    // The dialog opens in the folder of the last chosen log, also of an earlier run.
    SettingsStore store(applicationTitle());
    const QString name = ctx_.dialogs.fileName(this, UserDialogs::FileMode::Save, LogFilter,
                                               store.startFolder(LogFileKind));
    if (name.isEmpty()) {
        return;
    }
    logFileName_ = name;
    const bool accepted =
        logFileName_.endsWith(LogExtension, Qt::CaseSensitive) || isCsvLogName(logFileName_);
    store.setLastChosenFile(LogFileKind, accepted ? name : QString());
    if (!accepted) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, BadNameTitle, BadNameText);
        logFileName_.clear();
        return;
    }
    // Disabled first: a file that cannot be opened enables it again, so that the user can
    // choose another.
    makeLogButton_->setEnabled(false);
    logBox_->setEnabled(true);
    setLogging(Qt::Checked);
}

void GraphFRM::setLogging(Qt::CheckState state) {
    if (logBox_->checkState() == state) {
        return;
    }
    logBox_->setCheckState(state);
    Check3_Click();
}

void GraphFRM::Check3_Click() {
    switch (logBox_->checkState()) {
    case Qt::Checked:
        logBox_->setText(Logging);
        setGraphing(true);
        if (!log_.open(logFileName_)) {
            logFailed();
            return;
        }
        // The time of the last line is kept, so lines stay the interval apart across logs. A
        // stopped log has emptied the count; one that failed or filled up has not, and its count
        // would deny the new file its header: a new file counts from nothing.
        if (text::leadingNumber(countLabel_->text()) != 0) {
            countLabel_->clear();
        }
        showLogFile(logFileName_);
        break;
    case Qt::Unchecked: {
        logBox_->setText(NotLogging);
        const bool closed = log_.close();
        logBox_->setCheckState(Qt::PartiallyChecked);
        logBox_->setEnabled(false);
        countLabel_->clear();
        makeLogButton_->setEnabled(true);
        showLogFile(QString());
        if (!closed) {
            logFailed();
        }
        break;
    }
    case Qt::PartiallyChecked:
        break;
    }
}

void GraphFRM::logFailed() {
    log_.close();
    logBox_->setCheckState(Qt::PartiallyChecked);
    logBox_->setText(NotLogging);
    // Only a new log can start again: the failed file's name is no longer kept.
    logBox_->setEnabled(false);
    logFileName_ = QStringLiteral("0");
    makeLogButton_->setEnabled(true);
    showLogFile(QString());
    ctx_.dialogs.message(this, UserDialogs::Icon::None, LogFailureTitle, LogFailureText);
}

void GraphFRM::logFull() {
    if (!log_.close()) {
        logFailed();
        return;
    }
    // Ended as a stop ends it, except that the count stays to show what the file holds.
    logBox_->setCheckState(Qt::PartiallyChecked);
    logBox_->setText(NotLogging);
    logBox_->setEnabled(false);
    makeLogButton_->setEnabled(true);
    showLogFile(QString());
    ctx_.dialogs.message(this, UserDialogs::Icon::Information, LogFullTitle, LogFullText,
                         QDir::toNativeSeparators(logFileName_));
}

void GraphFRM::showLogFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    logFileLabel_->setText(path.isEmpty() ? QString()
                                          : logFileLabel_->fontMetrics().elidedText(
                                                name, Qt::ElideMiddle, LogFileLabelWidth));
    logFileLabel_->setToolTip(QDir::toNativeSeparators(path));
    logFileLabel_->setAccessibleDescription(QDir::toNativeSeparators(path));
}

void GraphFRM::Text1_Change() {
    if (text::leadingNumber(intervalEdit_->text()) > MaximumIntervalS) {
        intervalEdit_->setText(QStringLiteral("3600"));
    }
}

} // namespace qmf
