#include "platform/ShellLibrary.h"

namespace kt::shell {

namespace {

// The function's address, looked up once; null when the library or the function is missing.
template <class F>
F* Proc(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return module ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

template <class F>
F* Cached(F*& slot, const char* library, const char* name) {
    if (!slot) slot = Proc<F>(library, name);
    return slot;
}

// ShellExecute's and FindExecutable's code for a missing library.
HINSTANCE NotFound() { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND)); }

}  // namespace

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
    static decltype(::Shell_NotifyIconA)* f;
    return Cached(f, "shell32.dll", "Shell_NotifyIconA") ? f(message, data) : FALSE;
}

HINSTANCE Execute(HWND hwnd, const char* verb, const char* file, const char* parameters, const char* folder, int show) {
    static decltype(::ShellExecuteA)* f;
    return Cached(f, "shell32.dll", "ShellExecuteA") ? f(hwnd, verb, file, parameters, folder, show) : NotFound();
}

BOOL ExecuteEx(SHELLEXECUTEINFOW* info) {
    static decltype(::ShellExecuteExW)* f;
    if (Cached(f, "shell32.dll", "ShellExecuteExW")) return f(info);
    info->hInstApp = NotFound();
    return FALSE;
}

HINSTANCE FindProgram(const wchar_t* file, const wchar_t* folder, wchar_t* result) {
    static decltype(::FindExecutableW)* f;
    return Cached(f, "shell32.dll", "FindExecutableW") ? f(file, folder, result) : NotFound();
}

BOOL OpenFileDialog(OPENFILENAMEW* ofn) {
    static decltype(::GetOpenFileNameW)* f;
    return Cached(f, "comdlg32.dll", "GetOpenFileNameW") ? f(ofn) : FALSE;
}

DWORD DialogError() {
    static decltype(::CommDlgExtendedError)* f;
    return Cached(f, "comdlg32.dll", "CommDlgExtendedError") ? f() : 0;
}

BOOL FontDialog(CHOOSEFONTA* cf) {
    static decltype(::ChooseFontA)* f;
    return Cached(f, "comdlg32.dll", "ChooseFontA") ? f(cf) : FALSE;
}

}  // namespace kt::shell
