#include "support/WizardTesting.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace testenv {

bool BlankPage::Enter(HWND)
{
    owner->SetNextButton(true, true, "Next >");
    owner->SetBackButton(true, true, "< Back");
    owner->SetCancelButton(true, true, "Cancel");
    return true;
}

namespace {

// The tick count at a step's first run.
struct StepClock {
    bool started = false;
    DWORD start = 0;
    DWORD Elapsed()
    {
        if (!started) {
            started = true;
            start = GetTickCount();
        }
        return GetTickCount() - start;
    }
};

}  // namespace

LoopStep WaitFor(std::function<bool()> done, const char* what, DWORD timeoutMs)
{
    auto clock = std::make_shared<StepClock>();
    return [=] {
        const DWORD elapsed = clock->Elapsed();
        if (done())
            return;
        if (elapsed > timeoutMs) {
            ADD_FAILURE() << "timed out waiting for " << what;
            return;
        }
        RepeatThisStep();
    };
}

LoopStep Pause(DWORD ms)
{
    auto clock = std::make_shared<StepClock>();
    return [=] {
        if (clock->Elapsed() < ms)
            RepeatThisStep();
    };
}

namespace {

struct TitleSearch {
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TitleSearch*>(param);
    if (IsWindowVisible(window) && WindowText(window) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::string& title)
{
    TitleSearch search{title};
    EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

}  // namespace testenv
