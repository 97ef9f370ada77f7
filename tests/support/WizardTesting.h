#pragma once
// Running the application frame with real pages inside a test process.

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

class TestWizard : public AppWindowStateController {
public:
    HWND Frame() const { return frameWindow; }
    HWND Next() const { return nextButton; }
    HWND Back() const { return backButton; }
    HWND Cancel() const { return cancelButton; }
    std::size_t Index() const { return currentIndex; }
    // Runs the frame at the program's own size from startIndex while the steps run.
    LoopScriptResult Script(std::size_t startIndex, std::vector<LoopStep> steps);
    // Presses a frame button the way a click does.
    void Press(HWND button);
};

// A step that waits, tick by tick, until done() is true; on time-out it records a failure
// and the script goes on.
LoopStep WaitFor(std::function<bool()> done, const char* what, DWORD timeoutMs = 30000);

// A step that lets the loop run on for a while.
LoopStep Pause(DWORD ms);

// Pumps messages until done() is true or the time runs out; false on time-out.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// A visible top-level window of this thread with that title, or null.
HWND FindThreadWindow(const std::string& title);

// The text of a message box (its static control).
std::string MessageBoxText(HWND box);

}  // namespace testenv
