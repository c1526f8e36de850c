// Program entry: the bar first (it is the main window), then the About box and the
// configuration window, which needs the bar; then the message loop until "Exit".
#include <windows.h>

#include "app/ButtonFormDialog.h"
#include "config/About.h"
#include "config/ConfigFormDialog.h"
#include "platform/Win32SchemeFileSystem.h"
#include "ui/Application.h"
#include "ui/Win32Messages.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kt::ui::TApplication& app = kt::ui::TApplication::Instance();
    kt::ui::Win32Messages messages;
    kt::SetMessageService(&messages);
    kt::Win32SchemeFileSystem files;
    kt::SetSchemeFileSystem(&files);
    app.Title = "Ketravo";
    app.CreateForm<kt::TButtonForm>();
    app.CreateForm<kt::TAboutBox>();
    app.CreateForm<kt::TConfigForm>();
    return app.Run();
}
