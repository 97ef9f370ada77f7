#include "support/LoopScript.h"

namespace testenv {
namespace {

struct Script {
    std::vector<LoopStep> steps;
    std::function<HWND()> window;
    std::size_t next = 0;
    UINT_PTR timer = 0;
    bool running = false;  // a step that pumps messages itself must not be overtaken
    bool repeat = false;   // the step asked to run again on the next tick
};

Script* g_script = nullptr;

void SetShift(bool down)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    state[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    Script* script = g_script;
    if (script == nullptr || script->running)
        return;
    SetShift(false);
    if (script->next < script->steps.size()) {
        // The step may end the loop; count it first.
        const std::size_t index = script->next++;
        script->running = true;
        script->steps[index]();
        script->running = false;
        if (script->repeat) {
            script->repeat = false;
            script->next = index;
        }
        return;
    }
    KillTimer(nullptr, script->timer);
    const HWND window = script->window();
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
}

}  // namespace

LoopScriptResult RunLoopScript(const std::function<bool()>& run,
                               const std::function<HWND()>& window,
                               std::vector<LoopStep> steps)
{
    Script script;
    script.steps = std::move(steps);
    script.window = window;
    script.timer = SetTimer(nullptr, 0, 1, OnTick);
    g_script = &script;
    LoopScriptResult result;
    result.runResult = run();
    g_script = nullptr;
    KillTimer(nullptr, script.timer);
    SetShift(false);
    result.stepsRun = script.next;
    return result;
}

void RepeatThisStep()
{
    if (g_script != nullptr)
        g_script->repeat = true;
}

void PostKey(WORD virtualKey, bool shift)
{
    SetShift(shift);
    HWND target = GetFocus();
    if (target == nullptr)
        target = GetActiveWindow();
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
}

}  // namespace testenv
