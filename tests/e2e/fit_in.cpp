// Loaded into the program's process by `ktdrive fit W` (which reads FitResult back and unloads
// it): whether each visible text of W's controls fits its control, measured with the control's
// own font (WM_GETFONT; only this process can use it) the way the system draws that kind of
// control. One line per control with a text:
//   ok|cut|nofont <TAB> hwnd <TAB> class <TAB> text <TAB> needed WxH <TAB> room WxH
// Edit, list and combo boxes hold data, not texts of the program: they are left out. The
// measures are those of the display as it is, so the check holds at any display scale.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RecordText.h"

extern "C" {
__declspec(dllexport) char FitResult[1 << 16];
}

namespace {

std::string Utf8(const wchar_t* text, int length) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, s.data(), n, nullptr, nullptr);
    return ktrecord::Escape(s);
}

struct Run {
    HDC dc;
    std::string out;
};

void CheckFit(HWND c, Run& run) {
    if (!IsWindowVisible(c)) return;
    wchar_t cls[64] = L"";
    GetClassNameW(c, cls, 64);
    const bool isStatic = _wcsicmp(cls, L"Static") == 0, isButton = _wcsicmp(cls, L"Button") == 0;
    if (!isStatic && !isButton) return;
    const int length = GetWindowTextLengthW(c);
    if (length <= 0) return;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(c, text.data(), length + 1);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS;
    // Room for the text: the client area less what the control draws around it.
    RECT client{};
    GetClientRect(c, &client);
    int roomW = client.right, roomH = client.bottom;
    if (isStatic) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) flags |= DT_WORDBREAK;
        else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) flags |= DT_SINGLELINE;
        else return;  // pictures, frames, rules
        if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
    } else {
        const LONG type = style & BS_TYPEMASK;
        flags |= DT_SINGLELINE;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            roomW -= 6;  // the edges and the focus frame
        } else if (type == BS_OWNERDRAW) {
            roomW -= 6 + 16 + 4;  // a glyph button: the glyph and its spacing beside the text
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE ||
                   type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON) {
            roomW -= 13 + 5;  // the box and the gap after it
        } else if (type == BS_GROUPBOX) {
            roomW -= 16;  // the frame's corners on both sides of the caption
            roomH = 1 << 20;
        } else {
            return;
        }
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
    const char* verdict = "ok";
    RECT need{0, 0, roomW > 0 ? roomW : 1, 0};
    HGDIOBJ old = SelectObject(run.dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    if (!old) {
        verdict = "nofont";
    } else {
        DrawTextW(run.dc, text.data(), n, &need, flags);
        if (need.right > roomW || need.bottom > roomH) verdict = "cut";
        SelectObject(run.dc, old);
    }
    char line[96];
    snprintf(line, sizeof line, "\t%ldx%ld\t%dx%d\n", need.right, need.bottom, roomW, roomH);
    run.out += std::string(verdict) + "\t" + std::to_string(reinterpret_cast<UINT_PTR>(c)) + "\t" +
               Utf8(cls, -1).c_str() + "\t" + Utf8(text.data(), n) + line;
}

BOOL CALLBACK CheckFitProc(HWND c, LPARAM l) {
    CheckFit(c, *reinterpret_cast<Run*>(l));
    return TRUE;
}

}  // namespace

// Measures the controls of `window`; returns the length of the records left in FitResult.
extern "C" __declspec(dllexport) DWORD WINAPI MeasureTexts(void* window) {
    Run run{CreateCompatibleDC(nullptr), {}};
    EnumChildWindows(static_cast<HWND>(window), CheckFitProc, reinterpret_cast<LPARAM>(&run));
    DeleteDC(run.dc);
    const size_t n = run.out.size() < sizeof FitResult - 1 ? run.out.size() : sizeof FitResult - 1;
    memcpy(FitResult, run.out.data(), n);
    FitResult[n] = '\0';
    return static_cast<DWORD>(n);
}
