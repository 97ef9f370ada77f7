#pragma once
// The base of the program's own wizard pages. Their owner is the application frame, through
// which they reach the chosen file path and printer name.

#include "core/WideString.h"
#include "wizard/WindowState.h"

#include <vector>

class AppWindowStateController;

class AppWindowState : public WindowState {
public:
    explicit AppWindowState(AppWindowStateController* owner);
    ~AppWindowState() override;

    // A file handed to the wizard from outside it (dropped on the window). A page that
    // takes it becomes current with the file in place and returns true; by default a page
    // takes none.
    virtual bool TakeFile(HWND frame, const WideString& path);
    // The same for several files at once, full paths in order.
    virtual bool TakeFiles(HWND frame, const std::vector<WideString>& files);

protected:
    // The owner as the application frame it was constructed with.
    AppWindowStateController* AppOwner() const;
};
