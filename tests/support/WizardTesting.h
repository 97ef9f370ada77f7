#pragma once
// Windows in the test process: a wizard frame with real pages, plain test windows, and
// scripted steps that run inside a window's own message loop.

#include "resources/resource.h"
#include "wizard/AppWindowState.h"
#include "wizard/AppWindowStateController.h"

#include <functional>
#include <string>
#include <vector>

namespace testenv {

// A visible, topmost pop-up window that takes the pointer and the focus like any other.
struct TestWindow {
    ~TestWindow() { DestroyWindow(hwnd); }
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "test", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 100, 100,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
};

// Each step runs once the loop's queue has emptied (a thread timer's message comes last),
// so whatever a step posts has been handled when the next one runs.
using LoopStep = std::function<void()>;
// Calls run() (a loop that ends with its window) while the steps run; after the last step
// the window that window() names then is destroyed. Returns how many steps ran.
std::size_t RunLoopScript(const std::function<void()>& run, const std::function<HWND()>& window,
                          std::vector<LoopStep> steps);
// Posts a key press to the focused window.
void PostKey(WORD virtualKey);
// A step that waits until done() is true; on time-out it records a failure and goes on.
LoopStep WaitFor(std::function<bool()> done, const char* what, DWORD timeoutMs = 30000);
// A top-level window of this thread with that title, shown or not yet; and a message box's text.
HWND FindThreadWindow(const std::string& title);
std::string MessageBoxText(HWND box);

// A frame, the generic one or the application's, with its windows in reach of the test.
template <class Controller>
class FrameUnderTest : public Controller {
public:
    HWND Frame() const { return this->frameWindow; }
    HWND Next() const { return this->nextButton; }
    HWND Back() const { return this->backButton; }
    std::size_t Index() const { return this->currentIndex; }
    // Runs the frame at the program's own size and style from startIndex while the steps run.
    std::size_t Script(std::size_t startIndex, std::vector<LoopStep> steps)
    {
        UnregisterClassA(WindowStateController::kClassName, GetModuleHandleA(nullptr));
        return RunLoopScript([&] { this->Run(WS_EX_DLGMODALFRAME, 0xCA0000, "Morrowick Kestrola",
                                             {0, 0, 458, 244}, nullptr, IDI_KESTROLA,
                                             IDI_KESTROLA_SMALL, nullptr, startIndex); },
                             [&] { return this->frameWindow; }, std::move(steps));
    }
    void Press(HWND button)  // as a click does
    {
        PostMessageA(this->frameWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
};
using TestWizard = FrameUnderTest<AppWindowStateController>;

}  // namespace testenv
