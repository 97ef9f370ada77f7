// The wizard frame as a real window in the test process, with pages that record what the
// frame asks of them and can refuse it. Steps run inside the frame's own message loop.

#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"
#include "wizard/WindowState.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace testenv;

namespace {

using Log = std::vector<std::string>;
using TestFrame = FrameUnderTest<WindowStateController>;

// Its tab stops: an edit box, a radio group whose middle button is checked, a check box and
// a hidden edit box. The call named in `refuse` is refused, once.
class TestPage : public WindowState {
public:
    TestPage(WindowStateController* owner, const char* name, Log& log)
        : WindowState(owner), name_(name), log_(log) {}

    std::string refuse;
    HWND edit = nullptr, r2 = nullptr, r3 = nullptr, check = nullptr;

    bool OnNext(HWND) override { return Note("OnNext"); }
    bool OnBack(HWND) override { return Note("OnBack"); }
    bool OnCancel(HWND) override { return Note("OnCancel"); }
    bool Leave(HWND) override { return Note("Leave"); }
    bool Enter(HWND) override
    {
        owner->SetCancelButton(true, true, "Cancel");
        owner->SetBackButton(true, true, "< Back");
        owner->SetNextButton(true, true, "Next >");
        return Note("Enter");
    }
    bool HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == 500)
            throw std::runtime_error("a failing page handler");
        if (message == WM_COMMAND)
            Note("Command " + std::to_string(LOWORD(wParam)) + ":" +
                 std::to_string(HIWORD(wParam)));
        return false;
    }
    void CreateControls(HWND frame) override
    {
        const auto add = [&](const char* className, DWORD style) {
            const HWND control = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style,
                                                 10, 10, 80, 20, frame, nullptr, nullptr, nullptr);
            AddControl(control);
            return control;
        };
        edit = add("EDIT", 0);
        add("button", WS_GROUP | BS_AUTORADIOBUTTON);
        r2 = add("button", BS_AUTORADIOBUTTON);
        r3 = add("button", BS_AUTORADIOBUTTON);
        check = add("button", BS_AUTOCHECKBOX);
        ShowWindow(add("EDIT", 0), SW_HIDE);
        SendMessageA(r2, BM_SETCHECK, BST_CHECKED, 0);
    }

private:
    bool Note(const std::string& what)
    {
        log_.push_back(what + " " + name_);
        const bool refused = refuse == what;
        if (refused)
            refuse.clear();
        return !refused;
    }
    std::string name_;
    Log& log_;
};

class WizardFrame : public ::testing::Test {
protected:
    Log Take() { Log taken; taken.swap(log); return taken; }
    Log log;
};

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

LONG Left(HWND control) { RECT rect = {}; GetWindowRect(control, &rect); return rect.left; }

// Commands that are not the frame's own reach the page, and an exception from the page does
// not end the frame; with its window closed, Run returns true.
TEST_F(WizardFrame, StartsOnTheFirstPageForAnIndexPastTheEndAndSurvivesStrayCommands)
{
    TestFrame frame;
    TestPage a(&frame, "A", log), b(&frame, "B", log);
    frame.AddPage(&a, 1);
    frame.AddPage(&b, 2);
    EXPECT_TRUE(frame.Script(2, {[&] {
        EXPECT_EQ(0u, frame.Index());
        SetFocus(frame.Cancel());
        // Notification code 1 from a control is no Tab, even with the Tab command's id.
        SendMessageA(frame.Frame(), WM_COMMAND, MAKEWPARAM(102, 1),
                     reinterpret_cast<LPARAM>(a.edit));
        EXPECT_EQ(frame.Cancel(), GetFocus());
        SendMessageA(frame.Frame(), WM_COMMAND, 500, 0);  // the page throws
        EXPECT_TRUE(IsWindow(frame.Frame()));
    }}).runResult);
    EXPECT_EQ((Log{"Enter A", "Command 102:1 A"}), Take());
}

TEST_F(WizardFrame, RunFailsWhileTheClassIsRegisteredAndWithoutPagesOnlyExitIsLeft)
{
    TestFrame frame;
    frame.Script(0, {});
    EXPECT_FALSE(frame.Run(0, 0, "", {0, 0, 100, 100}, nullptr, 0, 0, nullptr, 0));
    EXPECT_EQ(nullptr, frame.Frame());
    EXPECT_TRUE(frame.Script(0, {[&] {
        EXPECT_TRUE(IsWindowVisible(frame.Cancel()) && IsWindowEnabled(frame.Cancel()));
        EXPECT_EQ("Exit", WindowText(frame.Cancel()));
        EXPECT_FALSE(IsWindowVisible(frame.Back()) || IsWindowVisible(frame.Next()));
        EXPECT_EQ(Left(frame.Next()), Left(frame.Cancel()));
        Click(frame.Cancel());
    }}).runResult);
}

TEST_F(WizardFrame, NextBackCancelAndGoToPageAskThePageAndItsLeave)
{
    TestFrame frame;
    TestPage a(&frame, "A", log), b(&frame, "B", log), c(&frame, "C", log);
    frame.AddPage(&a, 1);
    frame.AddPage(&b, 2);
    frame.AddPage(&c, 3);
    frame.Script(0, {[&] {
        Take();
        a.refuse = "OnNext";
        Click(frame.Next());
        a.refuse = "Leave";
        Click(frame.Next());
        Click(frame.Back());  // on the first page Back is the page's own business
        Click(frame.Next());
        EXPECT_EQ((Log{"OnNext A", "OnNext A", "Leave A", "Command 12:0 A", "OnNext A", "Leave A",
                       "Enter B"}),
                  Take());
        b.refuse = "OnBack";
        Click(frame.Back());
        Click(frame.Back());
        EXPECT_EQ((Log{"OnBack B", "OnBack B", "Leave B", "Enter A"}), Take());

        EXPECT_FALSE(frame.GoToPage(1));  // the current page's own identifier
        EXPECT_TRUE(frame.GoToPage(3));
        Click(frame.Next());  // the last page is left but stays current, not entered again
        EXPECT_EQ((Log{"Leave A", "Enter C", "OnNext C", "Leave C"}), Take());
        EXPECT_EQ(2u, frame.Index());

        c.refuse = "OnCancel";
        Click(frame.Cancel());
        EXPECT_TRUE(IsWindow(frame.Frame()));
        Click(frame.Cancel());
        EXPECT_FALSE(IsWindow(frame.Frame()));
    }});
    EXPECT_EQ((Log{"OnCancel C", "OnCancel C"}), Take());
}

TEST_F(WizardFrame, CancelTakesTheRightmostFreeSlotAndEscapeClosesOnlyWhileItIsEnabled)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    frame.AddPage(&a, 1);
    const auto run = frame.Script(0, {
        [&] {
            const LONG back = Left(frame.Back()), next = Left(frame.Next());
            const LONG own = 2 * back - next;  // one slot left of Back
            EXPECT_EQ(own, Left(frame.Cancel()));
            frame.SetNextButton(false, true, "Next >");
            EXPECT_EQ(own, Left(frame.Cancel()));
            frame.SetBackButton(false, true, "< Back");
            EXPECT_EQ(next, Left(frame.Cancel()));
            frame.SetNextButton(true, false, "Next >");
            EXPECT_EQ(back, Left(frame.Cancel()));
            frame.SetBackButton(true, true, "< Back");
            EXPECT_EQ(own, Left(frame.Cancel()));
            frame.SetCancelButton(true, false, "Cancel");
            PostKey(VK_ESCAPE);
        },
        [&] {
            frame.SetCancelButton(false, true, "Cancel");
            PostKey(VK_ESCAPE);
        },
        [&] { ADD_FAILURE() << "Esc with a hidden, enabled Cancel left the frame open"; },
    });
    EXPECT_EQ(2u, run.stepsRun);  // and not 1: Esc with Cancel disabled did nothing
}

// Back is disabled and r2 checked; an arrow key moves the check, and Tab then stops at r3.
// The focus comes back after the frame was inactive or minimised.
TEST_F(WizardFrame, TabCyclesThroughButtonsAndPageStopsAndFocusIsRestored)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    frame.AddPage(&a, 1);
    HWND cancel = nullptr, next = nullptr, other = nullptr;
    std::vector<HWND> seen;
    std::vector<LoopStep> steps = {[&] {
        cancel = frame.Cancel();
        next = frame.Next();
        frame.SetBackButton(true, false, "< Back");
        SetFocus(cancel);
    }};
    // t Tab, T Shift+Tab, d Down arrow
    const auto press = [&](const std::string& keys) {
        for (char key : keys)
            steps.push_back([&, key] {
                seen.push_back(GetFocus());
                PostKey(key == 'd' ? VK_DOWN : VK_TAB, key == 'T');
            });
    };
    press("tttdttTTTTT");
    steps.push_back([&] {
        seen.push_back(GetFocus());
        frame.SetCancelButton(false, true, "Cancel");
        SetFocus(a.check);
    });
    press("tt");
    steps.insert(steps.end(), {
        [&] {
            seen.push_back(GetFocus());
            other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                    nullptr, nullptr, nullptr);
            SetActiveWindow(other);
        },
        [&] {
            EXPECT_NE(a.edit, GetFocus());
            SetActiveWindow(frame.Frame());
        },
        [&] {
            EXPECT_EQ(a.edit, GetFocus());
            DestroyWindow(other);
            SetFocus(a.check);
            // The low four bits of a system command are the system's own.
            SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
        },
        [&] {
            EXPECT_TRUE(IsIconic(frame.Frame()));
            SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_RESTORE, 0);
        },
        [&] { EXPECT_EQ(a.check, GetFocus()); },
    });
    frame.Script(0, steps);

    EXPECT_EQ((std::vector<HWND>{cancel, next, a.edit, a.r2, a.r3, a.check, cancel,  // Tab, Down
                                 a.check, a.r3, a.edit, next, cancel,  // Shift+Tab
                                 a.check, next, a.edit}),              // Cancel hidden
              seen);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(a.r2, BM_GETCHECK, 0, 0));
}

}  // namespace
