// The main window as start-up creates it (real templates, real pages, the package of the
// test program), driven the way the program's message loop drives it. The install steps
// are replaced by the recorder of tests/win/app_recorded_steps.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "setup/setup_context.h"
#include "tests/win/app_test_setup.h"

class WizardWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND window() const { return setup.context.mainWindow; }
    HWND page(uint32_t n) const { return setup.context.pages[n]; }
    HWND control(uint32_t n, int id) const { return GetDlgItem(page(n), id); }

    // Handles every waiting message as the program's loop does, the current page's dialog
    // manager first.
    void pump();
    // A key as the keyboard delivers it: down and up to the focus window, then pumped.
    void pressKey(UINT virtualKey);
    // Alt with a letter: the system character that the dialog manager takes as a mnemonic.
    void pressAlt(wchar_t letter);
    // A mouse click on a button, then pumped.
    void click(uint32_t n, int id);

    // Walks to page n with Next and Back.
    void goToPage(uint32_t n);
    bool closed();

    std::string textA(uint32_t n, int id) const;
    std::wstring textW(HWND window) const;

    TestSetup setup;
};
