#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/app_recorded_steps.h"
#include "tests/win/wizard_window.h"
#include "wizard/pages.h"

namespace {

using WizardPages = WizardWindow;

constexpr int ComponentBoxes[] = {1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013};

bool onlyVisiblePage(const SetupContext& setup, uint32_t n) {
    for (uint32_t i = 0; i < PageCount; ++i) {
        if ((IsWindowVisible(setup.pages[i]) != 0) != (i == n)) {
            return false;
        }
    }
    return setup.currentPage == n;
}

}  // namespace

TEST_F(WizardPages, StartsOnTheLicencePageWithTheFocusOnIAgree) {
    EXPECT_TRUE(onlyVisiblePage(setup.context, Licence));
    EXPECT_EQ(GetFocus(), control(Licence, 1));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Wizard));
}

TEST_F(WizardPages, EveryTextIsSetExactly) {
    EXPECT_EQ(textW(window()), L"Velkaris App Pack (Single User)");
    EXPECT_EQ(textA(Licence, 1000),
              "Please review the license agreement before installing Velkaris App Pack. If you "
              "accept all terms of the agreement, click I Agree.");
    EXPECT_EQ(textA(Components, 1001),
              "Check the components you want to install and uncheck the components you don't "
              "want to install. Click Next to continue.");
    EXPECT_EQ(textA(Destination, 1002),
              "Setup will install Velkaris App Pack in the following folder. To install in a "
              "different folder, click Browse and select another folder. Click Install to start "
              "the installation.");
    EXPECT_EQ(textA(Destination, 1015), "Destination Folder");
    EXPECT_EQ(textA(Licence, 1), "I &Agree");
    EXPECT_EQ(textA(Components, 1), "&Next >");
    EXPECT_EQ(textA(Destination, 1), "&Install");
    EXPECT_EQ(textA(Progress, 1), "&Close");
    EXPECT_EQ(textA(Licence, 2), "Cancel");
    EXPECT_EQ(textA(Components, 2), "Cancel");
    EXPECT_EQ(textA(Destination, 2), "Cancel");
    EXPECT_EQ(textA(Destination, 4), "B&rowse...");
    EXPECT_EQ(textA(Components, 3), "< &Back");
    EXPECT_EQ(textA(Destination, 3), "< &Back");
    EXPECT_EQ(textA(Progress, 5), "Show &Details");
    EXPECT_EQ(textW(control(Destination, 1005)), setup.context.installDir);
    EXPECT_EQ(textA(Progress, 1003), "");
}

TEST_F(WizardPages, EightBoxesAreLabelledAndCheckedAndTheNinthStaysHidden) {
    const wchar_t* names[] = {L"Brinet",   L"PaneVista", L"QuietVault", L"Padwick",
                              L"Tunewell", L"Notarel",   L"LockBin",    L"Packrill"};
    for (int i = 0; i < 8; ++i) {
        HWND box = control(Components, ComponentBoxes[i]);
        EXPECT_EQ(textW(box), names[i]);
        EXPECT_EQ(IsDlgButtonChecked(page(Components), ComponentBoxes[i]),
                  static_cast<UINT>(BST_CHECKED));
    }
    goToPage(Components);
    HWND ninth = control(Components, 1014);
    EXPECT_FALSE(IsWindowVisible(ninth));
    EXPECT_FALSE(IsWindowEnabled(ninth));
    EXPECT_EQ(textW(ninth), L"");
    EXPECT_EQ(IsDlgButtonChecked(page(Components), 1014), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(WizardPages, LicenceFieldIsReadOnlyWithoutScrollBarOrTabStop) {
    HWND field = control(Licence, 1004);
    const LONG style = GetWindowLongW(field, GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_FALSE(style & WS_TABSTOP);
    for (int i = 0; i < 4; ++i) {
        pressKey(VK_TAB);
        EXPECT_NE(GetFocus(), field);
        EXPECT_TRUE(GetFocus() == control(Licence, 1) || GetFocus() == control(Licence, 2));
    }
}

TEST_F(WizardPages, LicenceShowsThePackagesLicenceTextWhole) {
    const PackageEntry& licence = setup.context.entries[0];
    ASSERT_LT(licence.size, 511u) << "the sample licence is shorter than the field's limit";
    const std::string expected(
        reinterpret_cast<const char*>(setup.context.unpacked.data + licence.offset), licence.size);
    EXPECT_EQ(textA(Licence, 1004), expected);
    EXPECT_NE(expected.find("\r\n"), std::string::npos) << "line breaks are CR LF";
}

TEST_F(WizardPages, EnterMovesForwardAndBackStepsBack) {
    pressKey(VK_RETURN);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Components));
    EXPECT_EQ(GetFocus(), control(Components, 1));
    pressKey(VK_RETURN);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Destination));
    EXPECT_EQ(GetFocus(), control(Destination, 1));
    click(Destination, 3);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Components));
    click(Components, 3);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Licence));
    EXPECT_EQ(GetFocus(), control(Licence, 1));
    EXPECT_TRUE(recordedSteps.empty());
}

TEST_F(WizardPages, ShowingAPageAgainFocusesItsButtonOneWhereverTheFocusWasLeft) {
    goToPage(Components);
    SendMessageW(page(Components), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(control(Components, 1008)), TRUE);
    pump();
    ASSERT_EQ(GetFocus(), control(Components, 1008));
    click(Components, 1);
    click(Destination, 3);
    EXPECT_EQ(GetFocus(), control(Components, 1));

    pressKey(VK_TAB);
    ASSERT_NE(GetFocus(), control(Components, 1));
    click(Components, 3);
    click(Licence, 1);
    EXPECT_EQ(GetFocus(), control(Components, 1));
}

TEST_F(WizardPages, MnemonicsPressTheirButtons) {
    pressAlt(L'a');
    EXPECT_TRUE(onlyVisiblePage(setup.context, Components));
    pressAlt(L'n');
    EXPECT_TRUE(onlyVisiblePage(setup.context, Destination));
    pressAlt(L'b');
    EXPECT_TRUE(onlyVisiblePage(setup.context, Components));
    pressAlt(L'n');
    pressAlt(L'i');
    EXPECT_TRUE(onlyVisiblePage(setup.context, Progress));
    pressAlt(L'd');
    EXPECT_TRUE(IsWindowVisible(setup.context.detailsList));
}

TEST_F(WizardPages, BackFromTheLicencePageIsACloseRequest) {
    SendMessageW(page(Licence), WM_COMMAND, 3, 0);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, EscapeClosesTheLicencePage) {
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, CancelClosesTheComponentsPage) {
    goToPage(Components);
    click(Components, 2);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, EscapeClosesTheComponentsPage) {
    goToPage(Components);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, CancelClosesTheDestinationPage) {
    goToPage(Destination);
    click(Destination, 2);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, EscapeClosesTheDestinationPage) {
    goToPage(Destination);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, InstallSetsInstallingBeforeSchedulingStepZero) {
    goToPage(Destination);
    ASSERT_TRUE(IsWindowEnabled(control(Destination, 1)));
    SendMessageW(page(Destination), WM_COMMAND, 1, 0);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Progress));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Installing));
    MSG scheduled{};
    ASSERT_TRUE(PeekMessageW(&scheduled, window(), WM_APP, WM_APP, PM_NOREMOVE));
    EXPECT_EQ(scheduled.wParam, 0u);
    EXPECT_TRUE(recordedSteps.empty());
}

TEST_F(WizardPages, EnterOnTheDestinationPageRunsStepZeroOnATick) {
    goToPage(Destination);
    pressKey(VK_RETURN);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Progress));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Installing));
    EXPECT_EQ(GetFocus(), control(Progress, 1));
    for (int i = 0; i < 100 && recordedSteps.empty(); ++i) {
        Sleep(20);
        pump();
    }
    EXPECT_EQ(recordedSteps, std::vector<uint32_t>{0});
}

TEST_F(WizardPages, CloseAndEscapeDoNothingWhileInstallingAndCloseWhenFinished) {
    goToPage(Progress);
    pressKey(VK_ESCAPE);
    click(Progress, 1);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_TRUE(onlyVisiblePage(setup.context, Progress));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Installing));

    setup.context.state = Finished;
    click(Progress, 1);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, EscapeClosesTheProgressPageWhenFinished) {
    goToPage(Progress);
    setup.context.state = Finished;
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(closed());
}

TEST_F(WizardPages, ShowDetailsBeforeAnyLineShowsAnEmptyListThatKeepsTheFocus) {
    goToPage(Progress);
    HWND list = setup.context.detailsList;
    EXPECT_FALSE(IsWindowVisible(list));
    click(Progress, 5);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_FALSE(IsWindowVisible(control(Progress, 5)));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(GetFocus(), list);
    Sleep(300);
    pump();
    EXPECT_EQ(GetFocus(), list);
    EXPECT_TRUE(IsWindowVisible(list));
}

TEST_F(WizardPages, OtherCommandsAreLeftToTheDialogManager) {
    for (int id : {0, 6, 1004, 1006, 1013, 1018}) {
        EXPECT_EQ(pageProc(page(Components), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), 0) << id;
    }
    EXPECT_EQ(pageProc(page(Licence), WM_INITDIALOG, 0, 0), 0);
    EXPECT_TRUE(onlyVisiblePage(setup.context, Licence));
    EXPECT_EQ(pageProc(page(Licence), WM_COMMAND, MAKEWPARAM(1, BN_SETFOCUS), 0), 1)
        << "the notification code is not looked at";
    EXPECT_TRUE(onlyVisiblePage(setup.context, Components));
}
