#include "wizard/FrameAccelerators.h"

#include <vector>

OwnedAccelerators CreateFrameAccelerators(bool withArrowKeys)
{
    std::vector<ACCEL> entries = {
        {FVIRTKEY | FSHIFT, VK_TAB, kFocusPrevCommand},
        {FVIRTKEY, VK_TAB, kFocusNextCommand},
        {FVIRTKEY, VK_ESCAPE, kEscapeCommand},
    };
    if (withArrowKeys) {
        entries.push_back({FVIRTKEY, VK_LEFT, kPrevRadioCommand});
        entries.push_back({FVIRTKEY, VK_RIGHT, kNextRadioCommand});
        entries.push_back({FVIRTKEY, VK_UP, kPrevRadioCommand2});
        entries.push_back({FVIRTKEY, VK_DOWN, kNextRadioCommand2});
    }
    return OwnedAccelerators(
        CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size())));
}

bool IsArrowKey(WPARAM virtualKey)
{
    return virtualKey == VK_LEFT || virtualKey == VK_RIGHT || virtualKey == VK_UP ||
           virtualKey == VK_DOWN;
}
