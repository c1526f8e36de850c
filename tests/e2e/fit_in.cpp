// Loaded into the program's process by `ktdrive fit W` (which reads FitResult back and unloads
// it): whether W's texts fit where it shows them, at the display's scale. A font handle is good
// in its own process only, so each control's font (WM_GETFONT) is used here, in the program.
// First a line "dpi <TAB> N" (the resolution as the program sees it), then one line per text:
//   ok|cut|nofont <TAB> hwnd <TAB> kind <TAB> text <TAB> needed WxH <TAB> room WxH
// kind: caption (the window's caption: the caption font against the caption's height and the
// width the frame leaves beside the icon and three title buttons), label, button, checkbox,
// radio, groupbox (each measured the way the system draws that kind of control). Edit, list and
// combo boxes hold data, not texts of the program: they are left out. What a control draws
// around its text (edges, the box of a check box) grows with the resolution, so it is scaled.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RecordText.h"

extern "C" {
__declspec(dllexport) char FitResult[1 << 16];
}

namespace {

struct Run {
    HDC dc;
    int dpi;
    std::string out;
    int S(int v) const { return MulDiv(v, dpi, 96); }
};

std::string Printable(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return ktrecord::Escape(s);
}

std::wstring TextOf(HWND h) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) || length == 0) return {};
    std::vector<wchar_t> text(length + 1, L'\0');
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return std::wstring(text.data());
}

void Report(Run& run, const char* verdict, HWND h, const char* kind, const std::wstring& text, SIZE need,
            SIZE room) {
    char line[96];
    snprintf(line, sizeof line, "\t%ldx%ld\t%ldx%ld\n", need.cx, need.cy, room.cx, room.cy);
    run.out += std::string(verdict) + "\t" + std::to_string(reinterpret_cast<UINT_PTR>(h)) + "\t" + kind + "\t" +
               Printable(text) + line;
}

void CheckCaption(HWND w, Run& run) {
    const std::wstring text = TextOf(w);
    if (text.empty()) return;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectW(&ncm.lfCaptionFont);
    HGDIOBJ old = SelectObject(run.dc, font);
    RECT need{0, 0, 0, 0};
    DrawTextW(run.dc, text.c_str(), int(text.size()), &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(run.dc, &tm);
    SelectObject(run.dc, old);
    DeleteObject(font);
    RECT wr{};
    GetWindowRect(w, &wr);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    // The caption: from the window's top to the client's, less a menu bar the window has
    // (a skinned frame draws the menu bar itself, within the same strip).
    int caption = origin.y - wr.top;
    if (GetMenu(w)) {
        MENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        if (GetMenuBarInfo(w, OBJID_MENU, 0, &mbi)) caption -= mbi.rcBar.bottom - mbi.rcBar.top;
    } else if (caption > GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU)) {
        caption -= GetSystemMetrics(SM_CYMENU);  // a skinned menu bar below the caption
    }
    // Beside the text: the window icon, three title buttons and the frame's edges.
    const LONG width = (wr.right - wr.left) - GetSystemMetrics(SM_CXSMICON) - 3 * GetSystemMetrics(SM_CXSIZE) -
                       2 * (origin.x - wr.left) - run.S(8);
    const SIZE needed{need.right, tm.tmHeight}, room{width, caption};
    Report(run, needed.cx <= room.cx && needed.cy <= room.cy ? "ok" : "cut", w, "caption", text, needed, room);
}

void CheckControl(HWND c, Run& run) {
    if (!IsWindowVisible(c)) return;
    wchar_t cls[64] = L"";
    GetClassNameW(c, cls, 64);
    const bool isStatic = _wcsicmp(cls, L"Static") == 0, isButton = _wcsicmp(cls, L"Button") == 0;
    if (!isStatic && !isButton) return;
    const std::wstring text = TextOf(c);
    if (text.empty()) return;
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS;
    // Room for the text: the client area less what the control draws around it.
    RECT client{};
    GetClientRect(c, &client);
    LONG roomW = client.right, roomH = client.bottom;
    const char* kind;
    if (isStatic) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) flags |= DT_WORDBREAK;
        else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) flags |= DT_SINGLELINE;
        else return;  // pictures, frames, rules
        if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
        kind = "label";
    } else {
        const LONG type = style & BS_TYPEMASK;
        flags |= DT_SINGLELINE;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            roomW -= run.S(6);  // the edges and the focus frame
            kind = "button";
        } else if (type == BS_OWNERDRAW) {
            roomW -= run.S(6 + 16 + 4);  // a glyph button: the glyph and its spacing beside the text
            kind = "button";
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
            roomW -= run.S(13 + 5);  // the box and the gap after it
            kind = "checkbox";
        } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
            roomW -= run.S(13 + 5);
            kind = "radio";
        } else if (type == BS_GROUPBOX) {
            roomW -= run.S(16);  // the frame's corners on both sides of the caption
            roomH = 1 << 20;
            kind = "groupbox";
        } else {
            return;
        }
    }
    // A control without a font of its own (a message box's) draws with the system's font.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
    RECT need{0, 0, roomW > 0 ? roomW : 1, 0};
    HGDIOBJ old = SelectObject(run.dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    if (!old) {
        Report(run, "nofont", c, kind, text, {0, 0}, {roomW, roomH});
        return;
    }
    DrawTextW(run.dc, text.c_str(), int(text.size()), &need, flags);
    SelectObject(run.dc, old);
    const SIZE needed{need.right, need.bottom}, room{roomW, roomH};
    Report(run, needed.cx <= room.cx && needed.cy <= room.cy ? "ok" : "cut", c, kind, text, needed, room);
}

BOOL CALLBACK EachChild(HWND c, LPARAM l) {
    CheckControl(c, *reinterpret_cast<Run*>(l));
    return TRUE;
}

}  // namespace

// Measures `window`; returns the length of the records left in FitResult.
extern "C" __declspec(dllexport) DWORD WINAPI MeasureTexts(void* window) {
    const auto w = static_cast<HWND>(window);
    HDC screen = GetDC(nullptr);
    Run run{CreateCompatibleDC(nullptr), GetDeviceCaps(screen, LOGPIXELSY), {}};
    ReleaseDC(nullptr, screen);
    run.out = "dpi\t" + std::to_string(run.dpi) + "\n";
    CheckCaption(w, run);
    EnumChildWindows(w, EachChild, reinterpret_cast<LPARAM>(&run));
    DeleteDC(run.dc);
    const size_t n = run.out.size() < sizeof FitResult - 1 ? run.out.size() : sizeof FitResult - 1;
    memcpy(FitResult, run.out.data(), n);
    FitResult[n] = '\0';
    return static_cast<DWORD>(n);
}
