#pragma once
// The common-dialog and shell entry points, bound the first time the wizard needs them:
// automatic printing then starts without loading those large libraries at all.

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

// GetOpenFileNameA from comdlg32.dll; FALSE when the library cannot be had.
BOOL WINAPI OpenFileDialog(OPENFILENAMEA* dialog);

// ShellExecuteExA from shell32.dll; FALSE when the library cannot be had.
BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info);
