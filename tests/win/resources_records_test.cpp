// The installer's other resources as compiled into this module: icon 101, the manifest
// (and that the system applies it), the version record and the package resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "package_constants.h"
#include "tests/win/resources_dialog_template.h"

namespace {

constexpr WORD IconId = 101;
constexpr WORD PackageId = 102;
constexpr LANGID UsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved;
    WORD type;
    WORD count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST(IconResource, HoldsOneSixteenPixelImageInBlackAndBlue)
{
    const std::span<const uint8_t> group = moduleResource(RT_GROUP_ICON, IconId);
    ASSERT_GE(group.size(), sizeof(IconGroup));
    const auto* directory = reinterpret_cast<const IconGroup*>(group.data());
    EXPECT_EQ(directory->type, 1);
    ASSERT_EQ(directory->count, 1);
    const IconGroupEntry& entry = directory->entries[0];
    EXPECT_EQ(entry.width, 16);
    EXPECT_EQ(entry.height, 16);
    EXPECT_EQ(entry.colourCount, 2);
    EXPECT_EQ(entry.bitCount, 1);

    const std::span<const uint8_t> image = moduleResource(RT_ICON, entry.id);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biWidth, 16);
    EXPECT_EQ(header->biHeight, 32) << "colour plane and mask";
    EXPECT_EQ(header->biBitCount, 1);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(image.data() + header->biSize);
    const auto colour = [](const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); };
    EXPECT_EQ(colour(palette[0]), RGB(0, 0, 0));
    EXPECT_EQ(colour(palette[1]), RGB(52, 171, 255));
    EXPECT_EQ(image.size(), header->biSize + 2 * sizeof(RGBQUAD) + 2 * 16 * 4u);
}

TEST(IconResource, LoadsInItsOwnSixteenPixelSize)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    EXPECT_NE(LoadIconW(module, MAKEINTRESOURCEW(IconId)), nullptr);
    auto* icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IconId), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 16);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
}

std::string manifestText()
{
    const std::span<const uint8_t> bytes = moduleResource(RT_MANIFEST, 1);
    return std::string(bytes.begin(), bytes.end());
}

using Attributes = std::map<std::string, std::string>;

// The attributes of every start tag of this element name, in document order.
std::vector<Attributes> elements(const std::string& xml, const std::string& name)
{
    std::vector<Attributes> found;
    const std::string open = "<" + name;
    for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        const size_t end = xml.find('>', at);
        const char next = xml[at + open.size()];
        if (end == std::string::npos || (next != ' ' && next != '>' && next != '/')) {
            continue;
        }
        Attributes attributes;
        const std::string tag = xml.substr(at + open.size(), end - at - open.size());
        for (size_t eq = tag.find("=\""); eq != std::string::npos; eq = tag.find("=\"", eq + 2)) {
            const size_t keyStart = tag.find_last_of(" \t\r\n", eq) + 1;
            const size_t valueEnd = tag.find('"', eq + 2);
            attributes[tag.substr(keyStart, eq - keyStart)] = tag.substr(eq + 2, valueEnd - eq - 2);
        }
        found.push_back(attributes);
    }
    return found;
}

// The text between an element's start and end tags.
std::string elementText(const std::string& xml, const std::string& name)
{
    const size_t start = xml.find('>', xml.find("<" + name)) + 1;
    return xml.substr(start, xml.find("</" + name + ">", start) - start);
}

TEST(ManifestResource, NamesTheSetupAndItsRequirements)
{
    const std::string xml = manifestText();
    ASSERT_FALSE(xml.empty());
    const std::vector<Attributes> identities = elements(xml, "assemblyIdentity");
    ASSERT_EQ(identities.size(), 2u);
    EXPECT_EQ(identities[0], (Attributes{{"type", "win32"},
                                         {"name", "Velkaris.SetupSingle"},
                                         {"version", "1.0.0.0"},
                                         {"processorArchitecture", "*"}}));
    EXPECT_EQ(identities[1], (Attributes{{"type", "win32"},
                                         {"name", "Microsoft.Windows.Common-Controls"},
                                         {"version", "6.0.0.0"},
                                         {"processorArchitecture", "*"},
                                         {"publicKeyToken", "6595b64144ccf1df"},
                                         {"language", "*"}}));
    EXPECT_NE(xml.find("<dependentAssembly>"), std::string::npos);
    EXPECT_EQ(elementText(xml, "description"), "Velkaris App Pack");
    EXPECT_EQ(elementText(xml, "dpiAwareness"), "PerMonitorV2, PerMonitor");
    EXPECT_EQ(elementText(xml, "dpiAware"), "true/pm");

    std::vector<std::string> systems;
    for (const Attributes& os : elements(xml, "supportedOS")) {
        systems.push_back(os.at("Id"));
    }
    EXPECT_EQ(systems, (std::vector<std::string>{
                           "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10
                       }));
    const std::vector<Attributes> levels = elements(xml, "requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0], (Attributes{{"level", "asInvoker"}, {"uiAccess", "false"}}));
}

// The loader reads the manifest from the module at start: its settings are then visible
// through the process's activation context, and the first awareness of the list that the
// system knows is the process's.
TEST(ManifestResource, IsAppliedToTheProcess)
{
    wchar_t value[64] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", value, ARRAYSIZE(value), &written));
    EXPECT_STREQ(value, L"PerMonitorV2, PerMonitor");
    // Wine 8 gives a manifest's PerMonitorV2, even alone, the context of version 1; Wine 10
    // and Windows 10 1703 and later that of version 2. The runtime is named by the test's
    // registration (VELKARIS_RUNTIME).
    const char* runtime = std::getenv("VELKARIS_RUNTIME");
    const bool versionTwo = runtime == nullptr || std::strcmp(runtime, "wine8") != 0;
    EXPECT_TRUE(AreDpiAwarenessContextsEqual(
        GetThreadDpiAwarenessContext(), versionTwo ? DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
                                                   : DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
}

class VersionRecord : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
        ASSERT_GT(size, 0u);
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    }

    std::wstring string(const wchar_t* name)
    {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
            return L"(missing)";
        }
        return value;
    }

    std::vector<uint8_t> block;
};

TEST_F(VersionRecord, NumbersAre23_8_0_0ForAnApplication)
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(8, 23));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(8, 23));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flags";
}

TEST_F(VersionRecord, StringsAreUsEnglishUnicode)
{
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x409);
    EXPECT_EQ(translation[1], 1200);
    EXPECT_EQ(string(L"CompanyName"), L"Velkaris");
    EXPECT_EQ(string(L"FileDescription"), L"Velkaris App Pack (Single User)");
    EXPECT_EQ(string(L"ProductName"), L"Velkaris App Pack (Single User)");
    EXPECT_EQ(string(L"FileVersion"), L"23.8.0.0");
    EXPECT_EQ(string(L"ProductVersion"), L"23.8.0.0");
    EXPECT_EQ(string(L"OriginalFilename"), L"VelkarisSetup.exe");
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list)
{
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

TEST(PackageResource, IsRcdata102InUsEnglishOnlyWithTheBuiltSize)
{
    HMODULE module = GetModuleHandleW(nullptr);
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, RT_RCDATA, MAKEINTRESOURCEW(PackageId), collectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{UsEnglish});

    HRSRC found = FindResourceExW(module, RT_RCDATA, MAKEINTRESOURCEW(PackageId), UsEnglish);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(SizeofResource(module, found), PackageResourceSize);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_LT(bytes[0], 225) << "LZMA properties byte";
}

}  // namespace
