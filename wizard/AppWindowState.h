#pragma once
// The base of the program's own wizard pages. Their owner is the application frame, through
// which they reach the chosen file path and printer name.

#include "wizard/WindowState.h"

class AppWindowStateController;

class AppWindowState : public WindowState {
public:
    explicit AppWindowState(AppWindowStateController* owner);
    ~AppWindowState() override;

protected:
    // The owner as the application frame it was constructed with.
    AppWindowStateController* AppOwner() const;
};
