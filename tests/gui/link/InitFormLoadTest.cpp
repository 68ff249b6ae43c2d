// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitFormFixture.h"

namespace qmf::test {
namespace {

using InitFormLoad = InitFormTest;

TEST_F(InitFormLoad, ShowsTheWelcomeStepWithEveryText) {
    openWizard();
    EXPECT_EQ(wizard_->windowTitle(), QStringLiteral("QMF4150 Search Wizard"));
    EXPECT_EQ(wizard_->currentStep(), 1);
    EXPECT_EQ(visiblePanel(), QStringLiteral("WelcomePanel"));
    const struct {
        const char* label;
        const char* text;
    } texts[] = {
        {"WelcomeLBL", "This QMF4150 Search Wizard will find any QMF4150s that can be controled "
                       "by this software"},
        {"WelcomeInstructionsLBL", "Click 'Next' to start."},
        {"PPSearchDescLBL", "Remember to connect the QMF4150 evaluation board to the printer port"},
        {"SMBusSearchDescLBL", "The Southbridge or ICH of Intel chipsets. For unsupported Intel "
                               "chipsets, enter SMBBA here (Hex)."},
        {"USBSearchDescLBL", "Connect the evaluation board to the printer port"},
        {"SearchMediumInstLBL", "Click 'Next' to search for the QMF4150."},
        {"SearchingLBL", "Searching"},
        {"SearchingDetailsLBL", "Please wait while searching for available QMF4150s."},
        {"SearchResultsDescLBL", "Search Results"},
        {"SearchResultsLBL", "Please select one of the QMF4150s found above."},
        {"SearchInsLBL", "Click 'Next' to Continue"},
    };
    for (const auto& expected : texts) {
        EXPECT_EQ(text(expected.label), QLatin1String(expected.text)) << expected.label;
    }
    const struct {
        const char* button;
        const char* text;
        bool enabled;
    } buttons[] = {{"BackCMD", "< Back", false},
                   {"NextCMD", "Next >", true},
                   {"FinishCMD", "Finish", false},
                   {"CancelCMD", "Cancel", true}};
    for (const auto& expected : buttons) {
        EXPECT_EQ(control<QPushButton>(expected.button)->text(), QLatin1String(expected.text));
        EXPECT_EQ(enabled(expected.button), expected.enabled) << expected.button;
    }
    const struct {
        const char* box;
        const char* text;
        bool checked, enabled;
    } media[] = {{"PPCheck", "Parallel Printer Port", true, true},
                 {"SMBusCheck", "On-Board SMBus", false, true},
                 {"USBCheck", "USB", false, false}};
    for (const auto& expected : media) {
        auto* box = control<QCheckBox>(expected.box);
        EXPECT_EQ(box->text(), QLatin1String(expected.text));
        EXPECT_EQ(box->isChecked(), expected.checked) << expected.box;
        EXPECT_EQ(box->isEnabled(), expected.enabled) << expected.box;
    }
    // The SMBus controller's base address, in hex.
    EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), QStringLiteral("400"));
}

TEST_F(InitFormLoad, SwitchesTheHeatersOffWithoutTouchingTheChip) {
    openWizard();
    EXPECT_TRUE(board().log.contains(QStringLiteral("AuxOutputs=0")));
    EXPECT_EQ(board().auxOutputs(), 0);
    EXPECT_TRUE(board().transfers().isEmpty());
}

TEST_F(InitFormLoad, WithoutAnSmbusControllerTheMediumCannotBeChosen) {
    board().setSmbusAvailable(false);
    openWizard();
    auto* description = control<QLabel>("SMBusSearchDescLBL");
    EXPECT_EQ(description->text(),
              QStringLiteral(
                  "Sorry, SMBus communication is only supported on Windows 95 and Windows 98."));
    EXPECT_EQ(description->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    EXPECT_FALSE(control<QCheckBox>("SMBusCheck")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("SMBusCheck")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>("SMBusBaseAddressTXT")->isEnabled());
    EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), QStringLiteral("000"));
    EXPECT_FALSE(board().log.contains(QStringLiteral("Smbus.BaseAddress")));
    // USB keeps its text: the build is not one of the oldest ones.
    EXPECT_EQ(text("USBSearchDescLBL"),
              QStringLiteral("Connect the evaluation board to the printer port"));
}

TEST_F(InitFormLoad, AFailureIsReportedOnceAndTheWizardStaysUsable) {
    // A PC without a printer port: switching the heaters off fails.
    board().failNext(1, QStringLiteral("AuxOutputs"));
    openWizard();
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    const auto& message = t.dialogs.messages[0];
    EXPECT_EQ(message.icon, UserDialogs::Icon::Critical);
    EXPECT_EQ(message.title, QStringLiteral("Error"));
    EXPECT_TRUE(message.text.startsWith(QStringLiteral("Error in Init Form Load")));
    EXPECT_TRUE(message.text.contains(QStringLiteral("injected failure")));

    // The rest of the load ran: texts, SMBus medium, step 1.
    EXPECT_EQ(text("WelcomeInstructionsLBL"), QStringLiteral("Click 'Next' to start."));
    EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), QStringLiteral("400"));
    EXPECT_EQ(visiblePanel(), QStringLiteral("WelcomePanel"));
    click("NextCMD");
    EXPECT_EQ(visiblePanel(), QStringLiteral("SeclectComsMediumPanel"));
}

TEST_F(InitFormLoad, NextAndBackWalkTheFirstTwoSteps) {
    openWizard();
    click("NextCMD");
    EXPECT_EQ(wizard_->currentStep(), 2);
    EXPECT_EQ(visiblePanel(), QStringLiteral("SeclectComsMediumPanel"));
    EXPECT_TRUE(enabled("BackCMD"));
    click("BackCMD");
    EXPECT_EQ(wizard_->currentStep(), 1);
    EXPECT_EQ(visiblePanel(), QStringLiteral("WelcomePanel"));
    EXPECT_FALSE(enabled("BackCMD"));
    // The keyboard: Enter is Next.
    QTest::keyClick(wizard_, Qt::Key_Return);
    EXPECT_EQ(wizard_->currentStep(), 2);
    EXPECT_TRUE(board().transfers().isEmpty());
}

} // namespace
} // namespace qmf::test
