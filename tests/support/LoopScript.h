#pragma once
// Drives a window's own message loop from inside: a thread timer runs scripted steps one
// at a time, each once the queue has emptied (timer messages come last), so whatever a
// step posts has been handled when the next step runs.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace testenv {

using LoopStep = std::function<void()>;

struct LoopScriptResult {
    bool runResult = false;   // what run() returned
    std::size_t stepsRun = 0;  // steps that ran before the loop ended
};

// Calls run() (which runs a message loop until its window is destroyed) while the steps
// run. After the last step, the window that window() names then is destroyed if it still
// exists. Before every step the Shift key is released in the thread's keyboard state.
LoopScriptResult RunLoopScript(const std::function<bool()>& run,
                               const std::function<HWND()>& window,
                               std::vector<LoopStep> steps);

// Called from a step: that step runs again on the next tick instead of the next step, so a
// step can wait for something without pumping messages itself.
void RepeatThisStep();

// Posts a key press to the focused window (or the active one) as the keyboard would; with
// shift, Shift counts as held until the next step.
void PostKey(WORD virtualKey, bool shift = false);

}  // namespace testenv
