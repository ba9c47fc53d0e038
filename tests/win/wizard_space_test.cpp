#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "tests/win/wizard_browse_script.h"
#include "tests/win/wizard_window.h"
#include "wizard/destination.h"

namespace {

constexpr int FirstBox = 1006;

class SpaceFigures : public WizardWindow {
protected:
    std::string requiredLine() const { return textA(Destination, 1017); }
    std::string availableLine() const { return textA(Destination, 1016); }
    bool installEnabled() const { return IsWindowEnabled(control(Destination, 1)) != 0; }

    // Sets the eight boxes on the components page: bit i checks application i.
    void chooseApplications(uint32_t mask) {
        goToPage(Components);
        for (uint32_t i = 0; i < 8; ++i) {
            const bool checked = IsDlgButtonChecked(page(Components), FirstBox + i) == BST_CHECKED;
            if (checked != ((mask >> i & 1) != 0)) {
                click(Components, FirstBox + static_cast<int>(i));
            }
        }
    }

    // What the chosen applications and the uninstaller take, from the package's table.
    uint32_t sizeOf(uint32_t mask) const {
        uint32_t sum = 0;
        for (uint32_t i = 0; i < 8; ++i) {
            sum += (mask >> i & 1) != 0 ? setup.context.entries[i + 1].size : 0;
        }
        return sum == 0 ? 0 : sum + setup.context.entries[10].size;
    }

    static std::string requiredText(uint32_t bytes) {
        return "Space required:  " + std::to_string((uint64_t{bytes} + 1048575) / 1048576) + " MB";
    }

    void recomputeFor(const std::wstring& installDir) {
        wcscpy(setup.context.installDir, installDir.c_str());
        updateSpace();
    }
};

}  // namespace

TEST_F(SpaceFigures, AllApplicationsNeedTheirSizesAndTheUninstaller) {
    goToPage(Destination);
    const uint32_t all = sizeOf(0xFF);
    EXPECT_GT(all, 1048576u);
    EXPECT_EQ(setup.context.requiredBytes, all);
    EXPECT_EQ(requiredLine(), requiredText(all));
    EXPECT_TRUE(installEnabled());
}

TEST_F(SpaceFigures, AvailableLineShowsTheVolumesFreeSpaceInMegabytes) {
    goToPage(Destination);
    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &freeBytes, nullptr, nullptr));
    const std::string line = availableLine();
    ASSERT_EQ(line.rfind("Space available: ", 0), 0u) << line;
    ASSERT_EQ(line.substr(line.size() - 3), " MB") << line;
    const long long shown = std::atoll(line.substr(17, line.size() - 20).c_str());
    const long long measured = static_cast<long long>(freeBytes.QuadPart >> 20);
    EXPECT_LE(std::llabs(shown - measured), 256) << line;
}

TEST_F(SpaceFigures, NothingChosenNeedsZeroAndDisablesInstall) {
    chooseApplications(0);
    click(Components, 1);
    ASSERT_EQ(setup.context.currentPage, static_cast<uint32_t>(Destination));
    EXPECT_EQ(requiredLine(), "Space required:  0 MB");
    EXPECT_EQ(setup.context.requiredBytes, 0u);
    EXPECT_FALSE(installEnabled());
    // The focus went on from the disabled Install to Browse: Enter browses, never installs.
    ASSERT_EQ(GetFocus(), control(Destination, 4));

    BrowseScript script;
    script.accept = false;
    runWithBrowseScript(script, [&] { pressKey(VK_RETURN); });
    EXPECT_EQ(setup.context.currentPage, static_cast<uint32_t>(Destination));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Wizard));
    EXPECT_EQ(script.browsers.size(), 1u);
}

TEST_F(SpaceFigures, GoingBackAndForwardRecomputes) {
    goToPage(Destination);
    EXPECT_EQ(setup.context.requiredBytes, sizeOf(0xFF));

    chooseApplications(0xFE);
    click(Components, 1);
    EXPECT_EQ(setup.context.requiredBytes, sizeOf(0xFE));
    EXPECT_EQ(requiredLine(), requiredText(sizeOf(0xFE)));

    chooseApplications(0x10);
    click(Components, 1);
    EXPECT_EQ(setup.context.requiredBytes,
              setup.context.entries[5].size + setup.context.entries[10].size);
    EXPECT_EQ(requiredLine(), requiredText(sizeOf(0x10)));
    EXPECT_TRUE(installEnabled());

    chooseApplications(0);
    click(Components, 1);
    EXPECT_FALSE(installEnabled());
    chooseApplications(0x01);
    click(Components, 1);
    EXPECT_TRUE(installEnabled());
}

TEST_F(SpaceFigures, BoxesChangedWhileTheDestinationIsShownCountOnlyWhenItIsShownAgain) {
    goToPage(Destination);
    CheckDlgButton(page(Components), FirstBox, BST_UNCHECKED);
    EXPECT_EQ(setup.context.requiredBytes, sizeOf(0xFF));
    click(Destination, 3);
    click(Components, 1);
    EXPECT_EQ(setup.context.requiredBytes, sizeOf(0xFE));
}

TEST_F(SpaceFigures, UnknownVolumeShowsAQuestionMarkAndStillAllowsInstall) {
    goToPage(Destination);
    recomputeFor(L"Q:\\Velkaris\\");
    EXPECT_EQ(availableLine(), "Space available: ?");
    EXPECT_TRUE(installEnabled());

    recomputeFor(L"\\\\nohost\\noshare\\Velkaris\\");
    EXPECT_EQ(availableLine(), "Space available: ?");
    EXPECT_TRUE(installEnabled());
}

TEST_F(SpaceFigures, MissingFolderOnALocalDriveTakesTheFigureFromTheRoot) {
    goToPage(Destination);
    recomputeFor(L"C:\\no such folder\\deeper\\");
    EXPECT_EQ(availableLine().rfind("Space available: ", 0), 0u);
    EXPECT_NE(availableLine(), "Space available: ?");
}

TEST_F(SpaceFigures, DestinationTooLongForTheInstalledPathsDisablesInstall) {
    goToPage(Destination);
    const std::wstring base = L"C:\\";
    recomputeFor(base + std::wstring(241, L'a') + L"\\");
    EXPECT_TRUE(installEnabled()) << "245 characters leave room for every file name";
    ASSERT_EQ(GetFocus(), control(Destination, 1));
    recomputeFor(base + std::wstring(242, L'a') + L"\\");
    EXPECT_FALSE(installEnabled());
    // Install had the focus when the figures disabled it, as after a browse started with a
    // mnemonic that leaves the focus in place: Browse takes it over, and keeps it.
    pump();
    EXPECT_EQ(GetFocus(), control(Destination, 4));
    EXPECT_EQ(requiredLine(), requiredText(sizeOf(0xFF))) << "the figures are still shown";
}
