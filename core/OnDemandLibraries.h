#pragma once
// The common-dialog and shell entry points, bound the first time the wizard needs them:
// automatic printing then starts without loading those large libraries at all.

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>

// GetOpenFileNameW from comdlg32.dll; FALSE when the library cannot be had.
BOOL WINAPI OpenFileDialog(OPENFILENAMEW* dialog);

// CommDlgExtendedError: why the dialog returned FALSE, 0 when the user cancelled it;
// CDERR_INITIALIZATION when the library cannot be had.
DWORD OpenFileDialogError();

// ShellExecuteExA from shell32.dll; FALSE when the library cannot be had.
BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info);

// DragAcceptFiles(window, TRUE): files dropped from the shell arrive as WM_DROPFILES.
void AcceptDroppedFiles(HWND window);

// DragQueryFileW: with index 0xFFFFFFFF the number of names, otherwise the length of one
// name, copied into name when a buffer is given. 0 when the library cannot be had.
UINT DroppedFileName(HDROP drop, UINT index, wchar_t* name, UINT size);

// DragFinish: frees the drop's memory.
void ReleaseDrop(HDROP drop);
