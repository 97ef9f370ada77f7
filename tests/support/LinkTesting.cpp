#include "support/LinkTesting.h"

namespace testenv {
namespace {

std::vector<std::string> g_calls;
BOOL g_answer = TRUE;

BOOL WINAPI RecordShellOpen(SHELLEXECUTEINFOA* info)
{
    g_calls.push_back(std::to_string(info->cbSize) + " " + std::to_string(info->fMask) + " " +
                      (info->lpVerb ? info->lpVerb : "<null>") + " " + std::to_string(info->nShow) + " " +
                      (info->lpFile ? info->lpFile : "<null>"));
    return g_answer;
}

}  // namespace

ShellOpenRecorder::ShellOpenRecorder(BOOL answer) : previous_(CHyperLink::SetShellOpenCall(RecordShellOpen))
{
    g_calls.clear();
    g_answer = answer;
}

ShellOpenRecorder::~ShellOpenRecorder() { CHyperLink::SetShellOpenCall(previous_); }

const std::vector<std::string>& ShellOpenRecorder::Calls() const { return g_calls; }

WNDPROC WindowProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

CHyperLink* LinkObjectOf(HWND control)
{
    return reinterpret_cast<CHyperLink*>(GetPropA(control, MAKEINTATOM(CHyperLink::PropertyAtom())));
}

}  // namespace testenv
