// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/StepWizard.h"

#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/WindowRegistry.h"
#include "gui/wizards/StepLabel.h"
#include "gui/wizards/StepShape.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace qmf {

namespace {
const QColor CurrentBorder(0x00, 0x80, 0x00);
const QColor OtherBorder(0x80, 0x80, 0x80);
const QColor OtherFill(0xE0, 0xE0, 0xE0);
constexpr int StepMargin = 8; // between a step's frame and its caption

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}
} // namespace

StepWizard::StepWizard(AppContext& ctx, const QString& caption, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setWindowTitle(caption);

    auto* listColumn = new QVBoxLayout;
    listColumn->setContentsMargins(0, 6, 0, 6);
    listColumn->setSpacing(6);
    stepList_ = new QVBoxLayout;
    stepList_->setSpacing(4);
    listColumn->addLayout(stepList_);
    listColumn->addStretch(1);
    hint_ = new QLabel(
        QStringLiteral("Click any one of the steps above to go directly to that step"), this);
    hint_->setObjectName(QStringLiteral("Label26"));
    hint_->setWordWrap(true);
    hint_->setForegroundRole(QPalette::PlaceholderText);
    listColumn->addWidget(hint_);

    listWidget_ = new QWidget(this);
    listWidget_->setLayout(listColumn);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("StepPages"));

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* body = new QHBoxLayout;
    body->addWidget(listWidget_);
    body->addWidget(separator);
    body->addWidget(pages_, 1);

    back_ = new QPushButton(QStringLiteral("< Back"), this);
    back_->setObjectName(QStringLiteral("BackCMD"));
    next_ = new QPushButton(QStringLiteral("Next >"), this);
    next_->setObjectName(QStringLiteral("NextCMD"));
    finish_ = new QPushButton(QStringLiteral("Finish"), this);
    finish_->setObjectName(QStringLiteral("FinishCMD"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelCMD"));
    back_->setEnabled(false);
    finish_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addSpacing(12);
    buttons->addWidget(finish_);
    buttons->addWidget(cancel_);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* root = new QVBoxLayout(this);
    root->addLayout(body, 1);
    root->addWidget(rule);
    root->addLayout(buttons);

    connect(next_, &QPushButton::clicked, this, ctx_.errors.guard(this, [this] { next(); }));
    connect(back_, &QPushButton::clicked, this, ctx_.errors.guard(this, [this] { back(); }));
    // Neither writes anything: every control has written its bits already.
    connect(finish_, &QPushButton::clicked, this, [this] { closeView(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { closeView(); });
}

StepWizard::~StepWizard() = default;

QVBoxLayout* StepWizard::addStep(const QString& listCaption, const QString& title,
                                 std::function<void()> loader) {
    const int index = stepCount();

    auto* shape = new StepShape(this);
    shape->setObjectName(indexed("StepShape", index));
    auto* label = new StepLabel(listCaption, shape);
    label->setObjectName(indexed("StepLBL", index));
    auto* shapeLayout = new QVBoxLayout(shape);
    shapeLayout->setContentsMargins(StepMargin, 4, StepMargin, 4);
    shapeLayout->addWidget(label);
    stepList_->addWidget(shape);
    connect(label, &StepLabel::clicked, this,
            ctx_.errors.guard(this, [this, index] { jumpTo(index); }));

    auto* panel = new QFrame;
    panel->setObjectName(indexed("StepPanel", index));
    auto* pageLayout = new QVBoxLayout(panel);
    pageLayout->setContentsMargins(12, 6, 6, 6);
    auto* titleLabel = new QLabel(title, panel);
    titleLabel->setObjectName(indexed("StepTitleLBL", index));
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleLabel->setFont(titleFont);
    pageLayout->addWidget(titleLabel);
    pageLayout->addSpacing(6);
    pages_->addWidget(panel);

    steps_.append({shape, label, panel, std::move(loader)});
    return pageLayout;
}

void StepWizard::start() {
    // The current step's caption is bold: the list is as wide as the widest bold caption, so that
    // nothing wraps or moves when the current step changes.
    int widest = 0;
    for (const Step& entry : steps_) {
        QFont bold = entry.label->font();
        bold.setBold(true);
        widest = qMax(widest, QFontMetrics(bold).horizontalAdvance(entry.label->text()));
    }
    listWidget_->setFixedWidth(widest + 2 * StepMargin + 10);
    // A page that cannot be read still shows; the boundary tells the user why it is empty.
    ctx_.errors.run(this, [this] { ShowStep(0); });
}

void StepWizard::ShowStep(int step) {
    placePages(step);
    LoadStepSettings(step);
}

void StepWizard::LoadStepSettings(int step) {
    if (step < 0 || step >= stepCount()) {
        return;
    }
    if (const auto& loader = steps_[step].loader) {
        loader();
    }
}

void StepWizard::placePages(int step) {
    const QColor currentFill = QApplication::palette().color(QPalette::ToolTipBase);
    const QColor currentText = QApplication::palette().color(QPalette::ToolTipText);
    for (int i = 0; i < stepCount(); ++i) {
        const Step& entry = steps_[i];
        const bool current = i == step;
        entry.shape->setColors(current ? CurrentBorder : OtherBorder,
                               current ? currentFill : OtherFill);
        QPalette palette = entry.label->palette();
        palette.setColor(QPalette::WindowText, current ? currentText : QColor(Qt::black));
        entry.label->setPalette(palette);
        QFont font = entry.label->font();
        font.setBold(current);
        entry.label->setFont(font);
        if (current) {
            pages_->setCurrentWidget(entry.panel);
        }
    }
}

// The buttons follow the step at once, before the page is read, so that a failed read leaves
// them consistent with the step shown.
void StepWizard::updateButtons() {
    const int last = stepCount() - 1;
    back_->setEnabled(currentStep_ > 0);
    next_->setEnabled(currentStep_ < last);
    finish_->setEnabled(currentStep_ == last);
}

void StepWizard::next() {
    if (currentStep_ < stepCount() - 1) {
        ++currentStep_;
    }
    updateButtons();
    ShowStep(currentStep_);
}

void StepWizard::back() {
    if (currentStep_ != 0) {
        --currentStep_;
    }
    updateButtons();
    ShowStep(currentStep_);
}

void StepWizard::jumpTo(int step) {
    currentStep_ = step;
    updateButtons();
    ShowStep(step);
}

void StepWizard::closeView() {
    WindowRegistry::closeView(*this);
}

} // namespace qmf
