// Program entry: the bar first (it is the main window), then the About box and the
// configuration window, which needs the bar; then the message loop until "Exit".
// One copy runs per session: a second start hands over to the first and ends.
#include <windows.h>

#include "app/ButtonFormDialog.h"
#include "config/About.h"
#include "config/ConfigFormDialog.h"
#include "platform/SystemCodePage.h"
#include "platform/Win32SchemeFileSystem.h"
#include "skin/ui/WinSkinControls.h"
#include "skin/ui/WinSkinForm.h"
#include "skin/ui/WinSkinMenu.h"
#include "ui/Application.h"
#include "ui/Win32Messages.h"

namespace {

constexpr const char* kInstanceMutex = "Orvall Software Ketravo running";
// A message-only window of the running copy; a second copy asks it to bring the bar forward.
constexpr const char* kInstanceClass = "KetravoInstance";
constexpr UINT kShowBar = WM_APP + 1;

LRESULT CALLBACK InstanceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kShowBar) {
        if (!kt::ButtonForm) return 0;
        // Shown through the toolkit, so that the bar's own state knows it is visible.
        kt::ButtonForm->Show();
        HWND bar = kt::ButtonForm->Handle();
        SetForegroundWindow(bar);
        return reinterpret_cast<LRESULT>(bar);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CreateInstanceWindow(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = InstanceProc;
    wc.hInstance = instance;
    wc.lpszClassName = kInstanceClass;
    RegisterClassA(&wc);
    CreateWindowExA(0, kInstanceClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

// The first copy may still be starting (its first-run boxes, its scheme): wait a while for
// its window, then let it bring its bar to the front. Returns whether it answered.
bool HandOverToRunningCopy() {
    for (int i = 0; i < 200; ++i) {
        if (HWND running = FindWindowExA(HWND_MESSAGE, nullptr, kInstanceClass, nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(running, &pid);
            AllowSetForegroundWindow(pid);  // this start came from the user: pass the right on
            DWORD_PTR bar = 0;
            if (!SendMessageTimeoutA(running, kShowBar, 0, 0, SMTO_ABORTIFHUNG, 10000, &bar)) return false;
            if (bar) SetForegroundWindow(reinterpret_cast<HWND>(bar));
            return bar != 0;
        }
        Sleep(50);
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Two copies would share the hot key (only one gets it), show two icons and overwrite each
    // other's settings; the mutex lives until this process ends.
    HANDLE running = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
        HandOverToRunningCopy();
        return 0;
    }

    kt::ui::TApplication& app = kt::ui::TApplication::Instance();
    kt::ui::Win32Messages messages;
    kt::SetMessageService(&messages);
    kt::Win32SchemeFileSystem files;
    kt::SetSchemeFileSystem(&files);
    kt::Win32CodePage codePage;
    kt::SetSystemCodePage(&codePage);
    app.Title = "Ketravo";
    kt::InstallSkinManager();
    kt::InstallSkinMenus();
    kt::InstallControlPainters();
    app.CreateForm<kt::TButtonForm>();
    // The bar is the first screen: it shows before the About box and the configuration window
    // with its many controls are made, not after them.
    kt::ButtonForm->Show();
    app.CreateForm<kt::TAboutBox>();
    app.CreateForm<kt::TConfigForm>();
    CreateInstanceWindow(instance);
    const int result = app.Run();
    kt::ReleaseSkinManager();
    return result;
}
