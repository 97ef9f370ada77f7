#include "toolkit/ToolkitProcess.h"

#include "core/SystemLibrary.h"

namespace {

class ToolkitProcess {
public:
    ToolkitProcess() : cancelHoverMessage(RegisterWindowMessageA("MWCancelHover")) {}

    ~ToolkitProcess()
    {
        // Nothing paints any more at exit: the library goes first, then the tables.
        if (themeLibrary)
            FreeLibrary(themeLibrary);
        themeLibrary = nullptr;
        parentHooks.clear();
        buttons.clear();
    }

    ToolkitProcess(const ToolkitProcess&) = delete;
    ToolkitProcess& operator=(const ToolkitProcess&) = delete;

    ButtonRegistryMap buttons;
    ParentHookMap parentHooks;
    const UINT cancelHoverMessage;
    HMODULE themeLibrary = nullptr;
    bool themeLibraryTried = false;
};

// Constructed before WinMain runs, destroyed after it returns.
ToolkitProcess g_toolkit;

}  // namespace

ButtonRegistryMap& ButtonRegistry()
{
    return g_toolkit.buttons;
}

ParentHookMap& ParentHookTable()
{
    return g_toolkit.parentHooks;
}

UINT CancelHoverMessage()
{
    return g_toolkit.cancelHoverMessage;
}

HMODULE ThemeLibrary()
{
    if (!g_toolkit.themeLibraryTried) {
        g_toolkit.themeLibraryTried = true;
        g_toolkit.themeLibrary = LoadSystemLibrary(L"uxtheme.dll");
    }
    return g_toolkit.themeLibrary;
}
