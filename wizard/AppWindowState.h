#pragma once
// The base of the program's own wizard pages. Their owner is the application frame
// (AppWindowStateController), through which they reach the chosen file path and printer
// name; it is handed in, and kept in `owner`, as the generic frame it derives from.

#include "wizard/WindowState.h"

class AppWindowState : public WindowState {
public:
    explicit AppWindowState(WindowStateController* owner);
    ~AppWindowState() override;
};
