#include "ui/Win32Messages.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cwchar>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "platform/ShellLibrary.h"
#include "platform/WidePaths.h"

namespace kt::ui {

namespace {

BOOL CALLBACK FindShownTopmost(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// Whether one of the thread's windows that shows stays on top of the others (the bar): a box
// that does not would open under it.
bool ThreadShowsTopmost() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindShownTopmost, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Lifts the message box into the topmost band as it is activated: MB_TOPMOST alone does not
// everywhere (Wine leaves the box under a topmost window).
LRESULT CALLBACK LiftBox(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_ACTIVATE) {
        char name[16] = {};
        HWND window = reinterpret_cast<HWND>(w);
        if (GetClassNameA(window, name, sizeof name) && std::string(name) == "#32770")
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

MsgResult Win32Messages::Show(const std::string& text, const std::string& caption, MsgKind kind,
                              MsgButtons buttons) {
    UINT flags = MB_TASKMODAL | MB_SETFOREGROUND;
    switch (kind) {
        case MsgKind::Plain: break;
        case MsgKind::Information: flags |= MB_ICONINFORMATION; break;
        case MsgKind::Warning: flags |= MB_ICONWARNING; break;
        case MsgKind::Error: flags |= MB_ICONERROR; break;
        case MsgKind::Confirmation: flags |= MB_ICONQUESTION; break;
    }
    switch (buttons) {
        case MsgButtons::OK: flags |= MB_OK; break;
        case MsgButtons::OKCancel: flags |= MB_OKCANCEL; break;
        case MsgButtons::YesNo: flags |= MB_YESNO; break;
        case MsgButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    HHOOK lift = nullptr;
    if (ThreadShowsTopmost()) {
        flags |= MB_TOPMOST;
        lift = SetWindowsHookExA(WH_CBT, LiftBox, nullptr, GetCurrentThreadId());
    }
    const std::string& title = caption.empty() ? TApplication::Instance().Title : caption;
    // The control that had the focus has it again once the box is answered.
    HWND focus = GetFocus();
    int r = MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(title).c_str(), flags);
    if (lift) UnhookWindowsHookEx(lift);
    if (focus && IsWindow(focus) && GetFocus() != focus && IsWindowVisible(focus) && IsWindowEnabled(focus) &&
        GetActiveWindow() == GetAncestor(focus, GA_ROOT))
        SetFocus(focus);
    return static_cast<MsgResult>(r);
}

namespace {

// The longest path the file dialogs hand over. The dialog joins folder and typed name in a
// buffer of this size of its own: a longer name is refused before it gets there.
constexpr int kPathLimit = MAX_PATH - 1;
constexpr char kNameTooLong[] = "The file name is too long: a path may have at most 259 characters.";

void ReportNameTooLong() {
    try {
        Messages().Show(kNameTooLong, "", MsgKind::Information, MsgButtons::OK);
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
}

// Whether the name in the dialog's name box, with the folder the dialog will put before a
// relative one, fits in a path.
bool NameFits(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    if (!box) box = GetDlgItem(dialog, edt1);
    if (!box) return true;
    const int length = GetWindowTextLengthW(box);
    if (length > kPathLimit) return false;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(box, text.data(), length + 1);
    const bool absolute = length >= 2 && (text[1] == L':' || (text[0] == L'\\' && text[1] == L'\\'));
    // The size the folder's path needs, its closing zero counted.
    const LRESULT folder = SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
    return absolute || (folder > 0 ? folder : 0) + length <= kPathLimit;
}

constexpr char kDialogProcProp[] = "KtFileDialogProc";

// The dialog itself, in front of its own procedure: it joins the folder and the typed name
// in a buffer of one path's size before any notification reaches the hook, so a name that
// would not fit is refused here, while the dialog stays open.
LRESULT CALLBACK DialogFrontProc(HWND dialog, UINT msg, WPARAM w, LPARAM l) {
    const auto own = reinterpret_cast<WNDPROC>(GetPropA(dialog, kDialogProcProp));
    if (msg == WM_COMMAND && LOWORD(w) == IDOK && !NameFits(dialog)) {
        ReportNameTooLong();
        if (HWND box = GetDlgItem(dialog, cmb13)) SetFocus(box);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropA(dialog, kDialogProcProp);
    }
    return own ? CallWindowProcW(own, dialog, msg, w, l) : DefWindowProcW(dialog, msg, w, l);
}

// The explorer-style dialog's hook: the name box takes no more than a path holds, a path
// too long is refused (see DialogFrontProc), and each folder the dialog moves to is reported;
// an error in the report must not cross the dialog.
UINT_PTR CALLBACK ExplorerHook(HWND hook, UINT msg, WPARAM, LPARAM l) {
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(l);
        SetWindowLongPtrA(hook, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
        HWND dialog = GetParent(hook);
        if (dialog && !GetPropA(dialog, kDialogProcProp)) {
            SetPropA(dialog, kDialogProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(dialog, GWLP_WNDPROC)));
            SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogFrontProc));
        }
    } else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == CDN_INITDONE) {
        HWND dialog = GetParent(hook);
        SendDlgItemMessageA(dialog, cmb13, CB_LIMITTEXT, kPathLimit, 0);
        SendDlgItemMessageA(dialog, edt1, EM_LIMITTEXT, kPathLimit, 0);
    } else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == CDN_FILEOK) {
        // The size the path needs, its closing zero counted.
        const LRESULT needed = SendMessageW(GetParent(hook), CDM_GETFILEPATH, 0, 0);
        if (needed > MAX_PATH) {
            ReportNameTooLong();
            SetWindowLongPtrA(hook, DWLP_MSGRESULT, 1);
            return 1;
        }
    } else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == CDN_FOLDERCHANGE) {
        auto* request = reinterpret_cast<FileDialogRequest*>(GetWindowLongPtrA(hook, GWLP_USERDATA));
        if (request && request->onFolderChange) {
            try {
                request->onFolderChange();
            } catch (const std::exception& e) {
                TApplication::Instance().HandleException(e);
            }
        }
    }
    return 0;
}
}  // namespace

bool Win32Messages::OpenFile(FileDialogRequest& request) {
    // The filter's "|" separators become the zero bytes the dialog wants.
    std::string filter = request.filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    const std::wstring wideFilter = Wide(filter);
    const std::wstring initialDir = WidePath(request.initialDir), title = WidePath(request.title),
                       defaultExt = WidePath(request.defaultExt);
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    lstrcpynW(file.data(), WidePath(request.fileName).c_str(), static_cast<int>(file.size()));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = request.filter.empty() ? nullptr : wideFilter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    // The explorer-style dialog; its hook guards the length of what is typed.
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                (request.mustExist ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    ofn.lpfnHook = ExplorerHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&request);
    if (!shell::OpenFileDialog(&ofn)) {
        // The buffer holds any path the dialog lets through; should one still not fit, the
        // user hears why nothing happened.
        if (shell::DialogError() == FNERR_BUFFERTOOSMALL) ReportNameTooLong();
        return false;
    }
    file.back() = L'\0';
    request.fileName = Utf8(file.data(), wcslen(file.data()));
    return !request.fileName.empty();
}

namespace {

FontChoice FromLogFont(const LOGFONTA& lf, HDC dc) {
    FontChoice f;
    f.name = lf.lfFaceName;
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    const int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    f.size = MulDiv(height, 72, ppi > 0 ? ppi : 96);
    f.bold = lf.lfWeight >= FW_BOLD;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeout = lf.lfStrikeOut != 0;
    return f;
}

struct FontDialogState {
    const std::function<void(const FontChoice&)>* onApply;
};

// The Apply button (id 0x402) reports the font the dialog shows at that moment.
UINT_PTR CALLBACK FontApplyHook(HWND dialog, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_INITDIALOG) {
        auto* cf = reinterpret_cast<CHOOSEFONTA*>(l);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(cf->lCustData));
    } else if (msg == WM_COMMAND && LOWORD(w) == 0x402) {
        auto* state = reinterpret_cast<FontDialogState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
        if (state && state->onApply && *state->onApply) {
            LOGFONTA lf{};
            SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
            HDC dc = GetDC(nullptr);
            const FontChoice f = FromLogFont(lf, dc);
            ReleaseDC(nullptr, dc);
            try {
                (*state->onApply)(f);
            } catch (const std::exception& e) {
                TApplication::Instance().HandleException(e);
            }
        }
        return TRUE;
    }
    return 0;
}

}  // namespace

bool Win32Messages::FontDialog(FontChoice& font, const FontDialogOptions& options,
                               const std::function<void(const FontChoice&)>& onApply) {
    HDC dc = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);

    FontDialogState state{&onApply};
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = GetActiveWindow();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | (options.effects ? CF_EFFECTS : 0);
    if (options.minSize > 0 || options.maxSize > 0) {
        cf.Flags |= CF_LIMITSIZE;
        cf.nSizeMin = options.minSize;
        cf.nSizeMax = options.maxSize > 0 ? options.maxSize : 72;
    }
    if (onApply) {
        cf.Flags |= CF_APPLY | CF_ENABLEHOOK;
        cf.lpfnHook = FontApplyHook;
        cf.lCustData = reinterpret_cast<LPARAM>(&state);
    }
    if (!shell::FontDialog(&cf)) return false;
    dc = GetDC(nullptr);
    font = FromLogFont(lf, dc);
    ReleaseDC(nullptr, dc);
    if (cf.iPointSize > 0) font.size = cf.iPointSize / 10;
    return true;
}

}  // namespace kt::ui
