// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace qmf {

struct AppContext;
class StepLabel;
class StepShape;

// The step-page mechanism both configuration wizards share: a list of steps on the left (each
// label in a rounded frame, clickable), one page per step of which exactly one is shown, and the
// buttons Back, Next, Finish and Cancel.
//
// Every page reads its registers from the chip each time it is shown, through the loader given to
// addStep(). Finish and Cancel only close the view: the controls write the chip at once.
//
// Controls of a step are named with their index: StepLBL_0, StepShape_0, StepPanel_0,
// StepTitleLBL_0 ...
class StepWizard : public QWidget {
    Q_OBJECT
public:
    ~StepWizard() override;

    // The step shown, 0 .. stepCount() - 1.
    int CurrentStep() const { return currentStep_; }
    int stepCount() const { return int(steps_.size()); }

    // Shows the page of `step` (framing its entry in the step list as the current one) and loads
    // its settings from the chip. A failed transfer propagates to the caller.
    void ShowStep(int step);

    // Reads the chip into the controls of `step`'s page.
    void LoadStepSettings(int step);

protected:
    StepWizard(AppContext& ctx, const QString& caption, QWidget* parent = nullptr);

    // Adds the next step: its caption in the step list, its page title, and the loader that reads
    // the page's registers (empty when the page reads nothing). Returns the layout of the page,
    // below its title, for the page's own controls.
    QVBoxLayout* addStep(const QString& listCaption, const QString& title,
                         std::function<void()> loader = {});

    // Called by the subclass at the end of its constructor, when every step exists: shows step 0.
    void start();

    AppContext& ctx_;

private:
    struct Step {
        StepShape* shape;
        StepLabel* label;
        QWidget* panel;
        std::function<void()> loader;
    };

    void next();
    void back();
    void jumpTo(int step);
    void updateButtons();
    void placePages(int step);
    void closeView();

    QList<Step> steps_;
    int currentStep_ = 0;
    QWidget* listWidget_ = nullptr;
    QVBoxLayout* stepList_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* hint_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace qmf
