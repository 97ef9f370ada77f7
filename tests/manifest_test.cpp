// The application manifest carried by the built Kestrola.exe.
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>

using namespace testenv;

namespace {

// The text of the exe's manifest resource (type RT_MANIFEST, id 1); empty when missing.
std::string ManifestOf(const std::string& modulePath)
{
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return std::string();
    std::string text;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    if (const void* bytes = data ? LockResource(data) : nullptr)
        text.assign(static_cast<const char*>(bytes), SizeofResource(module, info));
    FreeLibrary(module);
    return text;
}

TEST(Manifest, AsksForInvokerRightsAndNamesEverySupportedWindows)
{
    const std::string manifest = ManifestOf(KestrolaExePath());
    ASSERT_FALSE(manifest.empty()) << "Kestrola.exe carries no manifest resource 1";
    for (const char* expected : {
             "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
             "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",  // Vista
             "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
             "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
             "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
         })
        EXPECT_NE(std::string::npos, manifest.find(expected)) << expected;
}

// The loader must accept the manifest and, through it, bind the side-by-side common
// controls 6 rather than the system folder's version 5.
TEST(Manifest, ActivationContextOfTheExeBindsCommonControlsSix)
{
    const std::string exe = KestrolaExePath();
    ACTCTXA request = {};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    SetLastError(0xDEADBEEF);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "error " << GetLastError();

    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    char path[MAX_PATH + 1] = {};
    if (HMODULE controls = LoadLibraryA("comctl32.dll")) {
        GetModuleFileNameA(controls, path, MAX_PATH);
        FreeLibrary(controls);
    }
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);

    std::string loaded = path;
    CharLowerA(&loaded[0]);
    EXPECT_NE(std::string::npos,
              loaded.find("\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << path;
}

}  // namespace
