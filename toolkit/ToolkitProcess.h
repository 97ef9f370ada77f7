#pragma once
// The window toolkit's process-wide state: the button tables and the registered
// "MWCancelHover" message, set up before WinMain, and the visual-styles library, loaded
// on first use. All of it is torn down at exit, the library first.
// User-interface thread only; nothing here is locked.

#include <windows.h>

#include <map>

class MWButton;

// A parent window hooked by its buttons: how many live buttons it holds and the window
// procedure it had before the first of them.
struct ParentHook {
    LONG useCount;
    WNDPROC previous;
};

using ButtonRegistryMap = std::map<HWND, MWButton*>;
using ParentHookMap = std::map<HWND, ParentHook>;

// Button window -> its object, from the button's Create to its WM_DESTROY.
ButtonRegistryMap& ButtonRegistry();
// Parent window -> its hook, while at least one registered button lives in it.
ParentHookMap& ParentHookTable();
// RegisterWindowMessageA("MWCancelHover").
UINT CancelHoverMessage();
// "uxtheme.dll" from the system folder, loaded on the first call; null when it cannot be loaded.
HMODULE ThemeLibrary();
