// The notification icon and its menu: the icon is added at start and removed when the bar
// goes; a right click on it (or on either window) opens the menu that shows and hides the
// two windows and ends the program. The menu's items draw themselves beside a grey strip.
#include "app/ButtonFormDialog.h"
#include "config/ConfigWindow.h"
#include "core/MessageService.h"
#include "platform/ShellLibrary.h"
#include "ui/Application.h"

namespace kt {

namespace {

// The first, 88-byte form of the record: every shell takes it.
constexpr DWORD kIconDataSize = 88;
static_assert(NOTIFYICONDATAA_V1_SIZE == kIconDataSize);

DWORD WINAPI AddIcon(void* data) {
    return shell::NotifyIcon(NIM_ADD, static_cast<NOTIFYICONDATAA*>(data)) != FALSE ? 1 : 0;
}

constexpr int kItemLeft = 25;
constexpr RECT kStripRect{0, 0, 20, 92};

ui::TMenuItem* MakeItem(TButtonForm* bar, const char* name, const char* caption) {
    auto* item = new ui::TMenuItem(bar);
    item->Name = name;
    item->SetCaption(caption);
    bar->PopupMenu1->Items()->Add(item);
    return item;
}

// The five text items are drawn alike: the item's colour from x = 25 on, the caption on one
// line, vertically centred.
void DrawTextItem(ui::TMenuItem* item, ui::TCanvas& canvas, const RECT& rect, bool selected) {
    canvas.Brush.Color = selected ? ui::clHighlight : ui::clMenu;
    RECT r = rect;
    r.left = kItemLeft;
    canvas.FillRect(r);
    canvas.DrawText(item->Caption(), r, DT_NOCLIP | DT_SINGLELINE | DT_VCENTER);
}

}  // namespace

void TButtonForm::CreateTrayMenu() {
    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Name = "PopupMenu1";
    ShowConfigForm1 = MakeItem(this, "ShowConfigForm1", "Show &Config Form");
    HideConfigForm1 = MakeItem(this, "HideConfigForm1", "&Hide Config Form");
    N3 = MakeItem(this, "N3", "-");
    ShowButtonForm1 = MakeItem(this, "ShowButtonForm1", "Show &Button Form");
    HideButtonForm1 = MakeItem(this, "HideButtonForm1", "Hide B&utton Form");
    N2 = MakeItem(this, "N2", "-");
    Exit1 = MakeItem(this, "Exit1", "E&xit");

    ShowConfigForm1->OnClick = [this] { ShowConfigForm1Click(); };
    HideConfigForm1->OnClick = [this] { HideConfigForm1Click(); };
    ShowButtonForm1->OnClick = [this] { ShowButtonForm1Click(); };
    HideButtonForm1->OnClick = [this] { HideButtonForm1Click(); };
    Exit1->OnClick = [this] { Exit1Click(); };

    using namespace std::placeholders;
    ShowConfigForm1->OnDrawItem = std::bind(&TButtonForm::Show1FormDrawItem, this, _1, _2, _3, _4);
    HideConfigForm1->OnDrawItem = std::bind(&TButtonForm::HideConfigForm1DrawItem, this, _1, _2, _3, _4);
    ShowButtonForm1->OnDrawItem = std::bind(&TButtonForm::ShowButtonFormDrawItem, this, _1, _2, _3, _4);
    HideButtonForm1->OnDrawItem = std::bind(&TButtonForm::HideButtonFormDrawItem, this, _1, _2, _3, _4);
    Exit1->OnDrawItem = std::bind(&TButtonForm::Exit1DrawItem, this, _1, _2, _3, _4);
    Exit1->OnMeasureItem = std::bind(&TButtonForm::Exit1MeasureItem, this, _1, _2, _3, _4);

    PopupMenu = PopupMenu1;
    // The bar's menu is its only one: the chooser's edit menu does not hide it from the keys.
    KeyboardPopupEverywhere = true;
    KeepFocus = true;
}

void TButtonForm::HandleCreated() {
    StartNotificationIcon();
    ui::TForm::HandleCreated();
}

void TButtonForm::SetUpNotificationIcon() {
    PopupMenu1->SetOwnerDraw(true);
    StartNotificationIcon();
}

void TButtonForm::StartNotificationIcon() {
    // Making the window starts the icon too (HandleCreated): once is enough.
    HWND bar = Handle();
    if (iconThread_ || IconAdded) return;
    IconData = NOTIFYICONDATAA{};
    IconData.cbSize = kIconDataSize;
    IconData.hWnd = bar;
    IconData.uID = 0;
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    IconData.uCallbackMessage = kTrayIconMessage;
    IconData.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    lstrcpynA(IconData.szTip, ui::TApplication::Instance().Title.c_str(), 64);
    // The shell answers once its notification area holds the icon. A shell that first has to
    // make that area (Wine's stand-in tray window on a desktop without a tray) takes about as
    // long as the rest of the bar's start, so the two run side by side.
    iconThread_ = CreateThread(nullptr, 0, AddIcon, &IconData, 0, nullptr);
    if (!iconThread_) IconAdded = shell::NotifyIcon(NIM_ADD, &IconData) != FALSE;
}

void TButtonForm::FinishNotificationIcon() {
    if (!iconThread_) return;
    // The shell may send to the bar while it adds the icon: such messages are handled while
    // waiting, or each side would wait for the other.
    while (MsgWaitForMultipleObjects(1, &iconThread_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    DWORD added = 0;
    GetExitCodeThread(iconThread_, &added);
    CloseHandle(iconThread_);
    iconThread_ = nullptr;
    IconAdded = added == 1;
}

void TButtonForm::RemoveNotificationIcon() {
    FinishNotificationIcon();
    if (!IconAdded) return;
    shell::NotifyIcon(NIM_DELETE, &IconData);
    IconAdded = false;
}

void TButtonForm::TrayIconMessage(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDOWN:
            ShowMessage("Right click your mouse for options on this icon");
            break;
        case WM_RBUTTONDOWN: {
            // In front first, or the menu would not close when the user clicks elsewhere.
            SetForegroundWindow(Handle());
            POINT p{};
            GetCursorPos(&p);
            PopupMenu1->Popup(p.x, p.y, Handle());
            PostMessageA(Handle(), WM_NULL, 0, 0);
            break;
        }
        default:
            break;
    }
}

void TButtonForm::ShowConfigForm1Click() { ShowConfigWindow(); }

void TButtonForm::HideConfigForm1Click() { HideConfigWindow(); }

void TButtonForm::ShowButtonForm1Click() { Show(); }

void TButtonForm::HideButtonForm1Click() { Hide(); }

// The only way to end the program. The close handling does not run, so the bar's placement
// is not saved on this path; the icon goes when the bar is destroyed.
void TButtonForm::Exit1Click() {
    if (ConfigWindowLetsProgramEnd()) ui::TApplication::Instance().Terminate();
}

void TButtonForm::Show1FormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected) {
    DrawTextItem(sender, canvas, rect, selected);
}

void TButtonForm::HideConfigForm1DrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect,
                                          bool selected) {
    DrawTextItem(sender, canvas, rect, selected);
}

void TButtonForm::ShowButtonFormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect,
                                         bool selected) {
    DrawTextItem(sender, canvas, rect, selected);
}

void TButtonForm::HideButtonFormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect,
                                         bool selected) {
    DrawTextItem(sender, canvas, rect, selected);
}

void TButtonForm::Exit1DrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected) {
    DrawTextItem(sender, canvas, rect, selected);
    DrawBar(canvas);
}

void TButtonForm::Exit1MeasureItem(ui::TMenuItem*, ui::TCanvas&, int& width, int&) { width = 120; }

void TButtonForm::DrawBar(ui::TCanvas& canvas) {
    canvas.Brush.Color = RGB(128, 128, 128);
    canvas.FillRect(kStripRect);
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetSize(7);
    canvas.Font().SetStyle(0);
    canvas.Font().SetColor(RGB(255, 255, 255));
    // The same font turned to run upward, two pixels taller.
    LOGFONTA lf{};
    if (GetObjectA(canvas.Font().Handle(), sizeof lf, &lf) == 0) return;
    lf.lfEscapement = 900;
    lf.lfHeight = canvas.Font().Height() - 2;
    canvas.SetFontHandle(CreateFontIndirectA(&lf));
    canvas.TextOut(2, 70, "Ketravo");
}

}  // namespace kt
