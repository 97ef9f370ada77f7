// The wizard frame as a real window in the test process, with pages that record what the
// frame asks of them and can refuse it. Steps run inside the frame's own message loop.

#include "resources/resource.h"
#include "support/LoopScript.h"
#include "wizard/WindowState.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace testenv;

namespace {

using Log = std::vector<std::string>;

class TestPage : public WindowState {
public:
    TestPage(WindowStateController* owner, const char* name, Log& log)
        : WindowState(owner), name_(name), log_(log) {}

    bool nextOk = true, backOk = true, cancelOk = true, leaveOk = true;
    bool cancelShown = true, cancelEnabled = true, backEnabled = true;
    HWND edit = nullptr, r1 = nullptr, r2 = nullptr, r3 = nullptr, check = nullptr;
    bool withControls = false;

    bool OnNext(HWND) override { Note("OnNext"); return nextOk; }
    bool OnBack(HWND) override { Note("OnBack"); return backOk; }
    bool OnCancel(HWND) override { Note("OnCancel"); return cancelOk; }
    bool Leave(HWND) override { Note("Leave"); return leaveOk; }
    void DestroyControls(HWND) override { Note("DestroyControls"); }
    bool Enter(HWND) override
    {
        Note("Enter");
        owner->SetCancelButton(cancelShown, cancelEnabled, "Cancel");
        owner->SetBackButton(true, backEnabled, "< Back");
        owner->SetNextButton(true, true, "Next >");
        return true;
    }
    bool HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == 500)
            throw std::runtime_error("a failing page handler");
        if (message == WM_COMMAND)
            Note("Command " + std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
        return false;
    }
    // An edit box, a radio group whose middle button is checked, a check box, and a
    // hidden edit box at the end.
    void CreateControls(HWND frame) override
    {
        if (!withControls)
            return;
        edit = Add(frame, "EDIT", 0, "text");
        r1 = Add(frame, "button", WS_GROUP | BS_AUTORADIOBUTTON);
        r2 = Add(frame, "button", BS_AUTORADIOBUTTON);
        r3 = Add(frame, "button", BS_AUTORADIOBUTTON);
        check = Add(frame, "button", BS_AUTOCHECKBOX);
        ShowWindow(Add(frame, "EDIT", 0), SW_HIDE);
        SendMessageA(r2, BM_SETCHECK, BST_CHECKED, 0);
    }

private:
    HWND Add(HWND frame, const char* className, DWORD style, const char* text = "")
    {
        const HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10,
                                             10, 80, 20, frame, nullptr, nullptr, nullptr);
        AddControl(control);
        return control;
    }
    void Note(const std::string& what) { log_.push_back(what + " " + name_); }
    std::string name_;
    Log& log_;
};

class TestFrame : public WindowStateController {
public:
    HWND Frame() const { return frameWindow; }
    HWND Cancel() const { return cancelButton; }
    HWND Back() const { return backButton; }
    HWND Next() const { return nextButton; }
    std::size_t Index() const { return currentIndex; }

    LoopScriptResult Script(std::size_t start, std::vector<LoopStep> steps)
    {
        const RECT bounds = {0, 0, 520, 380};
        return RunLoopScript(
            [&] {
                return Run(0, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           "Frame test", bounds, nullptr, IDI_KESTROLA, IDI_KESTROLA_SMALL,
                           nullptr, start);
            },
            [&] { return frameWindow; }, std::move(steps));
    }
};

class WizardFrame : public ::testing::Test {
protected:
    // The class of an earlier frame in this process must not make Run fail.
    void SetUp() override { UnregisterClassA(WindowStateController::kClassName, GetModuleHandleA(nullptr)); }
    Log Take() { Log taken; taken.swap(log); return taken; }
    Log log;
};

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

// A button's left edge, from the right edge of the frame's client area.
int FromRight(HWND button)
{
    RECT rect = {}, client = {};
    GetWindowRect(button, &rect);
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&rect), 2);
    GetClientRect(GetParent(button), &client);
    return rect.left - client.right;
}

LRESULT Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0); }

TEST_F(WizardFrame, RunsFromTheFirstPageWhenTheStartIndexIsPastTheEndAndOnlyOnce)
{
    TestFrame frame;
    TestPage a(&frame, "A", log), b(&frame, "B", log);
    frame.AddPage(&a, 1);
    frame.AddPage(&b, 2);
    const auto run = frame.Script(2, {[&] { EXPECT_EQ(0u, frame.Index()); }});
    EXPECT_TRUE(run.runResult);
    EXPECT_EQ(1u, run.stepsRun);
    EXPECT_EQ((Log{"Enter A", "DestroyControls A", "DestroyControls B"}), Take());
    EXPECT_EQ(nullptr, frame.Frame());

    TestFrame second;  // the class is still registered
    second.AddPage(&a, 1);
    EXPECT_FALSE(second.Script(0, {}).runResult);
    EXPECT_EQ(nullptr, second.Frame());
    EXPECT_EQ(Log{}, Take());
}

TEST_F(WizardFrame, NextBackAndGoToPageAskThePageAndItsLeave)
{
    TestFrame frame;
    TestPage a(&frame, "A", log), b(&frame, "B", log), c(&frame, "C", log);
    frame.AddPage(&a, 1);
    frame.AddPage(&b, 2);
    frame.AddPage(&c, 3);
    frame.Script(0, {[&] {
        Take();
        a.nextOk = false;
        Click(frame.Next());
        a.nextOk = true;
        a.leaveOk = false;
        Click(frame.Next());
        EXPECT_FALSE(frame.GoToPage(2));
        EXPECT_EQ((Log{"OnNext A", "OnNext A", "Leave A", "Leave A"}), Take());
        a.leaveOk = true;
        Click(frame.Back());  // on the first page Back is the page's own business
        Click(frame.Next());
        EXPECT_EQ((Log{"Command 12:0 A", "OnNext A", "Leave A", "Enter B"}), Take());

        b.backOk = false;
        Click(frame.Back());
        b.backOk = true;
        Click(frame.Back());
        EXPECT_EQ((Log{"OnBack B", "OnBack B", "Leave B", "Enter A"}), Take());

        EXPECT_FALSE(frame.GoToPage(1));  // the current page's own identifier
        EXPECT_FALSE(frame.GoToPage(9));
        EXPECT_TRUE(frame.GoToPage(3));
        // Next on the last page: it is left but stays current and is not entered again.
        Click(frame.Next());
        EXPECT_EQ((Log{"Leave A", "Enter C", "OnNext C", "Leave C"}), Take());
        EXPECT_EQ(2u, frame.Index());

        c.cancelOk = false;
        Click(frame.Cancel());
        EXPECT_TRUE(IsWindow(frame.Frame()));
        c.cancelOk = true;
        Click(frame.Cancel());
    }});
    EXPECT_EQ((Log{"OnCancel C", "OnCancel C", "DestroyControls A", "DestroyControls B",
                   "DestroyControls C"}),
              Take());
}

TEST_F(WizardFrame, CancelTakesTheRightmostFreeSlotAndExitIsAllThatIsLeftWithoutPages)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    frame.AddPage(&a, 1);
    frame.Script(0, {[&] {
        EXPECT_EQ(-261, FromRight(frame.Cancel()));
        frame.SetNextButton(false, true, "Next >");
        EXPECT_EQ(-261, FromRight(frame.Cancel()));
        frame.SetBackButton(false, true, "< Back");
        EXPECT_EQ(-87, FromRight(frame.Cancel()));
        frame.SetNextButton(true, false, "Next >");
        EXPECT_EQ(-174, FromRight(frame.Cancel()));
        frame.SetBackButton(true, true, "< Back");
        EXPECT_EQ(-261, FromRight(frame.Cancel()));
    }});

    UnregisterClassA(WindowStateController::kClassName, GetModuleHandleA(nullptr));
    TestFrame empty;
    const auto run = empty.Script(0, {[&] {
        EXPECT_TRUE(IsWindowVisible(empty.Cancel()) && IsWindowEnabled(empty.Cancel()));
        char caption[16] = {};
        GetWindowTextA(empty.Cancel(), caption, sizeof(caption));
        EXPECT_STREQ("Exit", caption);
        EXPECT_FALSE(IsWindowVisible(empty.Back()) || IsWindowVisible(empty.Next()));
        EXPECT_EQ(-87, FromRight(empty.Cancel()));
        Click(empty.Cancel());
    }});
    EXPECT_TRUE(run.runResult);
}

TEST_F(WizardFrame, EscapeClosesOnlyWhileCancelIsEnabled)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    a.cancelEnabled = false;
    frame.AddPage(&a, 1);
    const auto run = frame.Script(0, {
        [&] { PostKey(VK_ESCAPE); },
        [&] {
            frame.SetCancelButton(false, true, "Cancel");
            PostKey(VK_ESCAPE);
        },
        [&] { ADD_FAILURE() << "Esc with a hidden, enabled Cancel left the frame open"; },
    });
    EXPECT_EQ(2u, run.stepsRun);
    EXPECT_EQ((Log{"Enter A", "Command 107:1 A", "DestroyControls A"}), Take());
}

TEST_F(WizardFrame, TabAndShiftTabCycleThroughButtonsAndPageStops)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    a.withControls = true;
    a.backEnabled = false;
    frame.AddPage(&a, 1);
    HWND cancel = nullptr, next = nullptr;
    std::vector<HWND> seen;
    std::vector<LoopStep> steps = {[&] {
        cancel = frame.Cancel();
        next = frame.Next();
        SetFocus(cancel);
    }};
    const auto press = [&](bool shift, int times) {
        for (int i = 0; i < times; ++i)
            steps.push_back([&, shift] {
                seen.push_back(GetFocus());
                PostKey(VK_TAB, shift);
            });
        steps.push_back([&] { seen.push_back(GetFocus()); });
    };
    press(false, 5);
    press(true, 5);
    steps.push_back([&] {
        frame.SetCancelButton(false, true, "Cancel");
        SetFocus(a.check);
    });
    press(false, 2);
    frame.Script(0, steps);

    ASSERT_NE(nullptr, cancel);
    EXPECT_EQ((std::vector<HWND>{
                  cancel, next, a.edit, a.r2, a.check, cancel,  // Back disabled; r2 checked
                  cancel, a.check, a.r2, a.edit, next, cancel,  // Shift+Tab
                  a.check, next, a.edit,                        // Cancel hidden
              }),
              seen);
}

TEST_F(WizardFrame, ArrowKeysMoveTheCheckInsideARadioGroupOnly)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    a.withControls = true;
    frame.AddPage(&a, 1);
    DWORD caret = 0;
    frame.Script(0, {
        [&] {
            SetFocus(a.r2);
            PostKey(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(a.r3, GetFocus());
            EXPECT_EQ(BST_CHECKED, Checked(a.r3));
            EXPECT_EQ(BST_UNCHECKED, Checked(a.r2));
            PostKey(VK_RIGHT);  // round to the first button
        },
        [&] {
            EXPECT_EQ(a.r1, GetFocus());
            EXPECT_EQ(BST_UNCHECKED, Checked(a.r3));
            PostKey(VK_UP);
        },
        [&] {
            EXPECT_EQ(a.r3, GetFocus());
            EXPECT_EQ(BST_CHECKED, Checked(a.r3));
            SetFocus(a.edit);
            SendMessageA(a.edit, EM_SETSEL, 0, 0);
            PostKey(VK_RIGHT);  // the edit box keeps its arrow keys
        },
        [&] { SendMessageA(a.edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0); },
    });
    EXPECT_EQ(1u, caret);
}

TEST_F(WizardFrame, FocusComesBackAfterDeactivationAndMinimising)
{
    TestFrame frame;
    TestPage a(&frame, "A", log);
    a.withControls = true;
    frame.AddPage(&a, 1);
    HWND other = nullptr;
    frame.Script(0, {
        [&] {
            SetFocus(a.edit);
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
            SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        },
        [&] {
            EXPECT_TRUE(IsIconic(frame.Frame()));
            SendMessageA(frame.Frame(), WM_SYSCOMMAND, SC_RESTORE, 0);
        },
        [&] { EXPECT_EQ(a.check, GetFocus()); },
    });
}

TEST_F(WizardFrame, StrayCommandsFailingPagesAndStrayQuitsDoNoHarm)
{
    HWND window = nullptr;
    {
        TestFrame frame;
        TestPage a(&frame, "A", log);
        a.withControls = true;
        frame.AddPage(&a, 1);
        const auto run = frame.Script(0, {[&] {
            window = frame.Frame();
            SetFocus(frame.Cancel());
            Take();
            // Notification code 1 from a control is no Tab, even with the Tab command's id.
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(102, 1), reinterpret_cast<LPARAM>(a.edit));
            EXPECT_EQ(frame.Cancel(), GetFocus());
            EXPECT_EQ((Log{"Command 102:1 A"}), Take());
            SendMessageA(window, WM_COMMAND, 500, 0);  // the page throws
            EXPECT_TRUE(IsWindow(window));
            PostQuitMessage(0);  // someone else ends the loop
        }});
        EXPECT_TRUE(run.runResult);
        EXPECT_TRUE(IsWindow(window));
    }
    // The window does not outlive its controller.
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
