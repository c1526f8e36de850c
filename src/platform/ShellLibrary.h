// The shell and common-dialog calls of the program. shell32 and comdlg32 serve the notification
// icon, help, web and mail commands and the file and font dialogs, none of which the first
// screen needs, and loading them (with shcore, shlwapi, winspool...) is a good part of a start
// under Wine: each library is loaded on its first call instead. A library or function that
// cannot be had makes the call fail as the call itself reports failure. (The names differ from
// the system's: those are macros for their ANSI or wide forms.)
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

namespace kt::shell {

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data);
HINSTANCE Execute(HWND hwnd, const char* verb, const char* file, const char* parameters, const char* folder, int show);
// The wide forms take and give names in any script.
BOOL ExecuteEx(SHELLEXECUTEINFOW* info);
HINSTANCE FindProgram(const wchar_t* file, const wchar_t* folder, wchar_t* result);
BOOL OpenFileDialog(OPENFILENAMEW* ofn);
BOOL FontDialog(CHOOSEFONTA* cf);
// CommDlgExtendedError: why the last common dialog returned FALSE (0: the user cancelled).
DWORD DialogError();

}  // namespace kt::shell
