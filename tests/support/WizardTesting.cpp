#include "support/WizardTesting.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <utility>

namespace testenv {

namespace {

struct Script {
    std::vector<LoopStep> steps;
    std::function<HWND()> window;
    std::size_t next = 0;
    bool running = false;  // a step that pumps messages itself must not be overtaken
    bool repeat = false;   // a waiting step runs again on the next tick
} * g_script = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    Script* script = g_script;
    if (script == nullptr || script->running)
        return;
    if (script->next == script->steps.size()) {
        if (IsWindow(script->window()))
            DestroyWindow(script->window());
        return;
    }
    const std::size_t index = script->next++;  // the step may end the loop
    script->running = true;
    script->steps[index]();
    script->running = false;
    if (std::exchange(script->repeat, false))
        script->next = index;
}

}  // namespace

std::size_t RunLoopScript(const std::function<void()>& run, const std::function<HWND()>& window,
                          std::vector<LoopStep> steps)
{
    Script script{std::move(steps), window};
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, OnTick);
    g_script = &script;
    run();
    g_script = nullptr;
    KillTimer(nullptr, timer);
    return script.next;
}

void PostKey(WORD virtualKey)
{
    const LPARAM scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(GetFocus() ? GetFocus() : GetActiveWindow(), WM_KEYDOWN, virtualKey, 1 | scan << 16);
}

LoopStep WaitFor(std::function<bool()> done, const char* what, DWORD timeoutMs)
{
    return [=, start = DWORD(0), started = false]() mutable {
        if (!std::exchange(started, true))
            start = GetTickCount();
        if (done())
            return;
        g_script->repeat = GetTickCount() - start <= timeoutMs;
        EXPECT_TRUE(g_script->repeat) << "timed out waiting for " << what;
    };
}

HWND FindThreadWindow(const std::string& title)
{
    HWND window = FindWindowExA(nullptr, nullptr, nullptr, title.c_str());
    while (window != nullptr && GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        window = FindWindowExA(nullptr, window, nullptr, title.c_str());
    return window;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

}  // namespace testenv
