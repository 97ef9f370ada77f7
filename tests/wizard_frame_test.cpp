// The wizard frame as a real window in the test process; steps run inside its own loop.

#include "support/WizardTesting.h"
#include "wizard/WindowState.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

using TestFrame = FrameUnderTest<WindowStateController>;

// A page whose one tab stop is an edit box.
class EditPage : public WindowState {
public:
    using WindowState::WindowState;
    HWND edit = nullptr;
    bool Enter(HWND) override
    {
        owner->SetCancelButton(true, true, "Cancel");
        owner->SetBackButton(true, true, "< Back");
        owner->SetNextButton(true, true, "Next >");
        return true;
    }
    void CreateControls(HWND frame) override
    {
        AddControl(edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, frame,
                                          nullptr, nullptr, nullptr));
    }
};

LONG Left(HWND control) { RECT rect = {}; GetWindowRect(control, &rect); return rect.left; }

// Tab and Shift+Tab go round Cancel, Back, Next and the page, passing over a disabled
// button; the focus comes back after the frame was minimised.
TEST(WizardFrame, TabCyclesThroughButtonsAndPageStopsAndFocusIsRestored)
{
    TestFrame frame;
    EditPage page(&frame);
    frame.AddPage(&page, 1);
    std::vector<HWND> seen, buttons;
    std::vector<LoopStep> steps = {[&] {
        buttons = {frame.Cancel(), frame.Back(), frame.Next()};
        SetFocus(frame.Cancel());
    }};
    for (bool shift : {false, false, false, false, true, true, true, true})
        steps.push_back([&seen, shift] { seen.push_back(GetFocus()); PostKey(VK_TAB, shift); });
    steps.insert(steps.end(), {[&] {
        seen.push_back(GetFocus());
        frame.SetBackButton(true, false, "< Back");
        PostKey(VK_TAB);
    }, [&] {
        seen.push_back(GetFocus());
        SetFocus(page.edit);
        // The low four bits of a system command are the system's own.
        SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
    }, [&] { SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_RESTORE, 0); },
       [&] { seen.push_back(GetFocus()); }});
    frame.Script(0, steps);
    ASSERT_EQ(3u, buttons.size());
    const HWND cancel = buttons[0], back = buttons[1], next = buttons[2];
    EXPECT_EQ((std::vector<HWND>{cancel, back, next, page.edit, cancel, page.edit, next, back, cancel,
                                 next, page.edit}),
              seen);
}

TEST(WizardFrame, CancelTakesTheRightmostFreeSlotAndEscapeClosesOnlyWhileItIsEnabled)
{
    TestFrame frame;
    EditPage page(&frame);
    frame.AddPage(&page, 1);
    const auto run = frame.Script(0, {[&] {
        const LONG back = Left(frame.Back()), next = Left(frame.Next()), own = Left(frame.Cancel());
        frame.SetBackButton(false, true, "< Back");
        EXPECT_EQ(back, Left(frame.Cancel()));
        frame.SetNextButton(false, true, "Next >");
        EXPECT_EQ(next, Left(frame.Cancel()));
        frame.SetBackButton(true, true, "< Back");
        EXPECT_EQ(own, Left(frame.Cancel()));
        frame.SetCancelButton(true, false, "Cancel");
        PostKey(VK_ESCAPE);
    }, [&] {
        frame.SetCancelButton(false, true, "Cancel");
        PostKey(VK_ESCAPE);
    }, [] {}});
    EXPECT_EQ(2u, run.stepsRun) << "Esc closes only, and always, while Cancel is enabled";
}

}  // namespace
