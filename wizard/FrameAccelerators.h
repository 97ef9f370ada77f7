#pragma once
// The wizard frame's keyboard: it runs no dialog manager, so Tab, Shift+Tab, Esc and the
// arrow keys inside radio groups become commands through accelerator tables of its own.

#include <windows.h>

#include "core/OwnedHandle.h"

struct DestroyAccelerators {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
using OwnedAccelerators = Owned<HACCEL, DestroyAccelerators>;

// Commands, delivered as WM_COMMAND with high word 1 and no control window.
constexpr WORD kFocusPrevCommand = 101;   // Shift+Tab
constexpr WORD kFocusNextCommand = 102;   // Tab
constexpr WORD kPrevRadioCommand = 103;   // Left arrow
constexpr WORD kNextRadioCommand = 104;   // Right arrow
constexpr WORD kPrevRadioCommand2 = 105;  // Up arrow
constexpr WORD kNextRadioCommand2 = 106;  // Down arrow
constexpr WORD kEscapeCommand = 107;      // Esc

// Tab, Shift+Tab and Esc; withArrowKeys adds the four arrow keys. The frame offers the
// arrow table only while the focus is on a radio button of the page, so that edit boxes
// and lists keep their own arrow keys.
OwnedAccelerators CreateFrameAccelerators(bool withArrowKeys);

bool IsArrowKey(WPARAM virtualKey);
