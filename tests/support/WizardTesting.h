#pragma once
// Running a wizard frame with real pages inside a test process.

#include "resources/resource.h"
#include "support/LoopScript.h"
#include "wizard/AppWindowState.h"
#include "wizard/AppWindowStateController.h"

#include <functional>
#include <string>

namespace testenv {

// A page with nothing on it, to stand before or after the page under test.
class BlankPage : public AppWindowState {
public:
    using AppWindowState::AppWindowState;
    bool Enter(HWND) override;
};

// A frame, the generic one or the application's, with its windows in reach of the test.
template <class Controller>
class FrameUnderTest : public Controller {
public:
    HWND Frame() const { return this->frameWindow; }
    HWND Next() const { return this->nextButton; }
    HWND Back() const { return this->backButton; }
    HWND Cancel() const { return this->cancelButton; }
    std::size_t Index() const { return this->currentIndex; }

    // Runs the frame at the program's own size and style from startIndex while the steps
    // run; an earlier frame's class is unregistered first.
    LoopScriptResult Script(std::size_t startIndex, std::vector<LoopStep> steps)
    {
        UnregisterClassA(WindowStateController::kClassName, GetModuleHandleA(nullptr));
        const RECT bounds = {0, 0, 458, 244};
        return RunLoopScript(
            [&] {
                return this->Run(WS_EX_DLGMODALFRAME, 0xCA0000, "Morrowick Kestrola", bounds,
                                 nullptr, IDI_KESTROLA, IDI_KESTROLA_SMALL, nullptr, startIndex);
            },
            [&] { return this->frameWindow; }, std::move(steps));
    }

    // Presses a frame button the way a click does.
    void Press(HWND button)
    {
        PostMessageA(this->frameWindow, WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
};

class TestWizard : public FrameUnderTest<AppWindowStateController> {
public:
    HWND About() const { return aboutButton; }
};

// A step that waits, tick by tick, until done() is true; on time-out it records a failure
// and the script goes on.
LoopStep WaitFor(std::function<bool()> done, const char* what, DWORD timeoutMs = 30000);

// A step that lets the loop run on for a while.
LoopStep Pause(DWORD ms);

// A visible top-level window of this thread with that title, or null.
HWND FindThreadWindow(const std::string& title);

// The text of a message box (its static control).
std::string MessageBoxText(HWND box);

}  // namespace testenv
