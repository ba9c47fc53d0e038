// A setup record for tests in the state start-up leaves it in: zeroed, named components,
// theSetup pointing at it, the package of the test program loaded.
#pragma once

#include <string>

#include "setup/setup_context.h"

struct TestSetup {
    SetupContext context{};
    TestSetup();
    ~TestSetup();
    TestSetup(const TestSetup&) = delete;
    TestSetup& operator=(const TestSetup&) = delete;
};

// Registry and folder fixtures of the tests.
void setAppPath(DWORD type, const void* data, DWORD size);
void setAppPathString(const std::wstring& value);
void deleteVelkarisKey();
std::wstring knownFolder(int csidl);
// Creates every folder along path (which may be long); returns the path.
std::wstring makeFolders(const std::wstring& path);
