#pragma once
// What the link and About box tests share: a recorder in place of the shell call that
// opens a link (so that no browser ever starts) and a look at a control's hook.

#include "toolkit/CHyperLink.h"

#include <string>
#include <vector>

namespace testenv {

// Records each shell call, answering it with the given result, for its lifetime.
class ShellOpenRecorder {
public:
    explicit ShellOpenRecorder(BOOL answer = TRUE);
    ~ShellOpenRecorder();
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;
    // Each call as "<cbSize> <fMask> <verb> <nShow> <file>".
    const std::vector<std::string>& Calls() const;

private:
    CHyperLink::ShellOpenCall previous_;
};

WNDPROC WindowProcOf(HWND window);
CHyperLink* LinkObjectOf(HWND control);  // null when the control is no link

}  // namespace testenv
