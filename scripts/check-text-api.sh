#!/usr/bin/env bash
# Text inside the program is UTF-8 and reaches the system through the wide (W) functions. This
# fails on any ANSI (A) text function, ANSI structure or CP_ACP conversion in src/ that is not
# named below with the reason it may stay.
#   check-text-api.sh [ROOT]      (default: this work tree)
#   check-text-api.sh --self-test  shows that the check fails on a planted use
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

# Anywhere: calls that carry no text, or only the program's own ASCII constants (class,
# property, library, event and variable names, resource ids), or numbers.
allowed_anywhere=(
    SendMessageA PostMessageA PeekMessageA SendMessageTimeoutA SendDlgItemMessageA   # numeric messages only
    GetModuleHandleA LoadLibraryA SetWindowsHookExA CreateMutexA CreateEventA FindWindowExA
    GetWindowLongA SetWindowLongA GetWindowLongPtrA SetWindowLongPtrA GetClassLongPtrA
    DefWindowProcA CallWindowProcA RegisterClassA WNDCLASSA CreateWindowExA CBT_CREATEWNDA HOTKEY_CLASSA
    GetPropA SetPropA RemovePropA GetClassNameA MAKEINTRESOURCEA LoadIconA LoadCursorA LoadBitmapA FindResourceA
    SystemParametersInfoA GetMonitorInfoA GetObjectA MapVirtualKeyA MapVirtualKeyExA
    GetVersionExA OSVERSIONINFOA GetProfileIntA GetEnvironmentVariableA lstrcmpA lstrcmpiA   # ASCII names compared
    NOTIFYICONDATAA                                                                          # the tray tip is "Ketravo"
)
# In one file only: FILE:NAME, with why.
allowed_in_file=(
    src/platform/SystemCodePage.cpp:CP_ACP            # the code page service itself
    src/app/core/SchemeFile.cpp:fopen                 # the portable file system of native builds
    # The layout is asked by code-page byte, as the typing plan asks it; other characters go as themselves.
    src/platform/Win32KeyboardLayout.cpp:VkKeyScanExA src/platform/Win32KeyboardLayout.cpp:CP_ACP
    # Font face names and metrics: the face names the program offers are ASCII; left as they are.
    src/ui/Font.cpp:lstrcpynA src/ui/Font.cpp:CreateFontIndirectA src/ui/Font.cpp:LOGFONTA
    src/ui/Win32Messages.cpp:lstrcpynA src/ui/Win32Messages.cpp:LOGFONTA src/ui/Win32Messages.cpp:CHOOSEFONTA
    src/platform/ShellLibrary.cpp:CHOOSEFONTA src/platform/ShellLibrary.h:CHOOSEFONTA
    src/platform/ShellLibrary.cpp:NOTIFYICONDATAA src/platform/ShellLibrary.h:NOTIFYICONDATAA
    src/app/BarTrayMenu.cpp:lstrcpynA src/app/BarTrayMenu.cpp:CreateFontIndirectA src/app/BarTrayMenu.cpp:LOGFONTA
    src/skin/ui/WinSkinForm.cpp:CreateFontIndirectA src/skin/ui/WinSkinForm.cpp:LOGFONTA
    src/skin/ui/WinSkinForm.cpp:NONCLIENTMETRICSA src/skin/ui/WinSkinForm.cpp:GetTextExtentPoint32A
    src/ui/Forms.cpp:NONCLIENTMETRICSA src/ui/Menus.cpp:NONCLIENTMETRICSA src/skin/ui/WinSkinMenuItems.cpp:TEXTMETRICA
    src/skin/ui/WinSkinMenuItems.cpp:GetTextMetricsA src/app/BarSkins.cpp:NONCLIENTMETRICSA
    # Key names and the thousands separator come from the system in its own language.
    src/ui/Menus.cpp:GetKeyNameTextA src/config/About.cpp:GetLocaleInfoA
    # The skin's menu painter reads back the program's own English menu captions.
    src/skin/ui/SkinMenuDraw.cpp:GetMenuItemInfoA src/skin/ui/SkinMenuDraw.cpp:MENUITEMINFOA
    src/skin/ui/WinSkinMenu.cpp:GetMenuItemInfoA src/skin/ui/WinSkinMenu.cpp:SetMenuItemInfoA
    src/skin/ui/WinSkinMenu.cpp:MENUITEMINFOA src/skin/ui/WinSkinMenu.cpp:DrawTextA
    src/skin/ui/WinSkinMenu.cpp:GetTextExtentPoint32A src/skin/ui/WinSkinMenuItems.cpp:GetMenuStringA
    src/skin/ui/WinSkinMenuItems.cpp:GetMenuItemInfoA src/skin/ui/WinSkinMenuItems.cpp:MENUITEMINFOA
    src/ui/Menus.cpp:GetMenuItemInfoA src/ui/Menus.cpp:MENUITEMINFOA
)

if [[ ${1:-} == --self-test ]]; then
    # shellcheck source=self-test-plant.sh
    source "$(dirname "$self")/self-test-plant.sh"
    self_test_plants check-text-api 'src/ui/Controls.cpp:int x = MultiByteToWideChar(CP_ACP, 0, 0, 0, 0, 0);' \
                 'src/config/HelpCommands.cpp:static SHELLEXECUTEINFOA info;' \
                 'src/app/BarTyping.cpp:void f() { MessageBoxA(0, "", "", 0); }' \
                 'src/ui/Controls.cpp:static auto f = fopen;'
    exit $failed
fi

root=${1:-$(cd "$(dirname "$self")/.." && pwd)}
cd "$root"
structs='OPENFILENAMEA|SHELLEXECUTEINFOA|WIN32_FIND_DATAA|MENUITEMINFOA|TTTOOLINFOA|LOGFONTA|CHOOSEFONTA|NOTIFYICONDATAA|NONCLIENTMETRICSA|TEXTMETRICA|WNDCLASSA|WNDCLASSEXA|CBT_CREATEWNDA|OSVERSIONINFOA|STARTUPINFOA|BROWSEINFOA'
status=0
while IFS=: read -r file line name; do
    name=${name%(}
    [[ " ${allowed_anywhere[*]} " == *" $name "* ]] && continue
    [[ " ${allowed_in_file[*]} " == *" $file:$name "* ]] && continue
    echo "$file:$line: $name: ANSI text interface; use the wide form with UTF-8 (or name it in ${self##*/})"
    status=1
done < <(grep -rnoE "\b[A-Za-z_][A-Za-z0-9_]*[a-z0-9]A\(|\b($structs)\b|\bCP_ACP\b|\bfopen\b" src | sort -u)
exit $status
