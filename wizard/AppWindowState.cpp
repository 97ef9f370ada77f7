#include "wizard/AppWindowState.h"

#include "wizard/AppWindowStateController.h"

AppWindowState::AppWindowState(AppWindowStateController* owner) : WindowState(owner) {}

AppWindowState::~AppWindowState() = default;

bool AppWindowState::TakeFile(HWND, const WideString&) { return false; }

bool AppWindowState::TakeFiles(HWND, const std::vector<WideString>&) { return false; }

AppWindowStateController* AppWindowState::AppOwner() const
{
    return static_cast<AppWindowStateController*>(owner);
}
