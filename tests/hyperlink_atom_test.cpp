// The links' property atom: one reference per process, whatever the links do, given back
// when the process ends.
#include "toolkit/CHyperLink.h"

#include <gtest/gtest.h>

#include <process.h>

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
        for (CHyperLink* link : {&first, &second})
            link->Attach(CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 9, 9, parent, nullptr, nullptr, nullptr),
                         "x");
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
    EXPECT_EQ(0, _spawnl(_P_WAIT, exe, "child", kChildSwitch, nullptr)) << "a process that used links and ended";

    // Count the references by giving them all back: only this process's one may be left.
    // The atom is gone afterwards, so this test ends here.
    int references = 0;
    for (; GlobalFindAtomA(kAtomName) == atom && references < 100; ++references)
        GlobalDeleteAtom(atom);
    EXPECT_EQ(1, references);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == kChildSwitch) {
        UseLinks(2);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
