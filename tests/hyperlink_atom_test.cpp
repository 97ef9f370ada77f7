// The links' property atom: one reference per process, whatever the links do, given back
// when the process ends.
#include "toolkit/CHyperLink.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kAtomName[] = "_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}";
const char kChildSwitch[] = "--attach-links-and-exit";

// Two links attached and destroyed a few times over, as when the About box is reopened.
void UseLinks(int rounds)
{
    CHyperLink first, second;
    for (int i = 0; i < rounds; ++i) {
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        first.Attach(CreateWindowExA(0, "STATIC", "1", WS_CHILD, 0, 0, 9, 9, parent, nullptr, nullptr, nullptr), "1");
        second.Attach(CreateWindowExA(0, "STATIC", "2", WS_CHILD, 0, 0, 9, 9, parent, nullptr, nullptr, nullptr), "2");
        DestroyWindow(parent);
    }
}

TEST(HyperLinkAtom, OneReferencePerProcessAndNoneLeftByAProcessThatEnded)
{
    const ATOM atom = CHyperLink::PropertyAtom();
    ASSERT_NE(0, atom);
    EXPECT_EQ(atom, GlobalFindAtomA(kAtomName)) << "added before any link exists";
    UseLinks(3);

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string commandLine = "\"" + std::string(exe) + "\" " + kChildSwitch;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &child));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 60000));
    DWORD exitCode = 1;
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(0u, exitCode);

    // Count the references by giving them all back: only this process's one may be left.
    // The atom is gone afterwards, so this test ends here.
    int references = 0;
    while (GlobalFindAtomA(kAtomName) == atom && references < 100) {
        GlobalDeleteAtom(atom);
        ++references;
    }
    EXPECT_EQ(1, references);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == kChildSwitch) {
        UseLinks(2);
        return CHyperLink::AttachedCount() == 0 ? 0 : 3;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
