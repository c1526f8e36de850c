// Checks from outside whether a window's texts fit where it shows them, at the display's scale:
//   ktfit W     one line per text, "ok|cut|nofont<TAB>hwnd<TAB>class<TAB>text<TAB>needed WxH<TAB>room WxH"
// First the window's caption (the caption font against the caption's height and the width the
// frame leaves beside the icon and three title buttons), then each visible label, push button,
// check box, radio button and group box, its text measured with its own font (WM_GETFONT) the
// way the system draws that kind of control. What the control draws around its text (edges,
// the box of a check box) grows with the resolution, so it is taken scaled.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int g_dpi = 96;
int S(int v) { return MulDiv(v, g_dpi, 96); }

std::wstring TextOf(HWND h) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) || length == 0) return {};
    std::vector<wchar_t> text(length + 1, L'\0');
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return std::wstring(text.data());
}

std::string Printable(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w) {
        if (c == L'\t') out += "\\t";
        else if (c == L'\n') out += "\\n";
        else if (c == L'\r') out += "\\r";
        else if (c < 128) out += char(c);
        else out += '?';
    }
    return out;
}

void Report(const char* verdict, HWND h, const char* cls, const std::wstring& text, SIZE need, SIZE room) {
    printf("%s\t%lu\t%s\t%s\t%ldx%ld\t%ldx%ld\n", verdict, (unsigned long)(ULONG_PTR)h, cls, Printable(text).c_str(),
           need.cx, need.cy, room.cx, room.cy);
}

void CheckCaption(HWND w, HDC dc) {
    const std::wstring text = TextOf(w);
    if (text.empty()) return;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectW(&ncm.lfCaptionFont);
    HGDIOBJ old = SelectObject(dc, font);
    RECT need{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    RECT wr{}, cr{};
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    // The caption: from the window's top to the client's, less a menu bar the window has
    // (a skinned frame draws the menu bar itself, within the same strip).
    int caption = origin.y - wr.top;
    if (HMENU menu = GetMenu(w)) {
        MENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        if (GetMenuBarInfo(w, OBJID_MENU, 0, &mbi)) caption -= mbi.rcBar.bottom - mbi.rcBar.top;
        (void)menu;
    } else if (caption > GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU)) {
        caption -= GetSystemMetrics(SM_CYMENU);  // a skinned menu bar below the caption
    }
    // Beside the text: the window icon, three title buttons and the frame's edges.
    const LONG width = (wr.right - wr.left) - GetSystemMetrics(SM_CXSMICON) - 3 * GetSystemMetrics(SM_CXSIZE) -
                       2 * (origin.x - wr.left) - S(8);
    const SIZE needed{need.right, tm.tmHeight}, room{width, caption};
    Report(needed.cx <= room.cx && needed.cy <= room.cy ? "ok" : "cut", w, "caption", text, needed, room);
}

HFONT ControlFont(HWND c) {
    static const UINT query = RegisterWindowMessageW(L"KtravoControlFont");
    DWORD_PTR answer = 0, style = 0;
    LOGFONTA lf{};
    if (SendMessageTimeoutW(c, query, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && HIWORD(answer)) {
        const ATOM face = HIWORD(answer);
        GlobalGetAtomNameA(face, lf.lfFaceName, LF_FACESIZE);
        GlobalDeleteAtom(face);
        SendMessageTimeoutW(c, query, 1, 0, SMTO_ABORTIFHUNG, 2000, &style);
        lf.lfHeight = static_cast<SHORT>(LOWORD(answer));
        lf.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style & 2) ? 1 : 0;
        lf.lfUnderline = (style & 4) ? 1 : 0;
        lf.lfStrikeOut = (style & 8) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        return CreateFontIndirectA(&lf);
    }
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return CreateFontIndirectA(&ncm.lfMessageFont);
}

void CheckControl(HWND c, HDC dc) {
    if (!IsWindowVisible(c)) return;
    char clsBuf[64] = {};
    GetClassNameA(c, clsBuf, sizeof clsBuf);
    const bool isStatic = _stricmp(clsBuf, "Static") == 0, isButton = _stricmp(clsBuf, "Button") == 0;
    if (!isStatic && !isButton) return;
    const std::wstring text = TextOf(c);
    if (text.empty()) return;
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS;
    RECT client{};
    GetClientRect(c, &client);
    LONG roomW = client.right, roomH = client.bottom;
    const char* kind = clsBuf;
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
            roomW -= S(6);  // the edges and the focus frame
            kind = "button";
        } else if (type == BS_OWNERDRAW) {
            roomW -= S(6 + 16 + 4);  // a glyph button: the glyph and its spacing beside the text
            kind = "button";
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
            roomW -= S(13 + 5);  // the box and the gap after it
            kind = "checkbox";
        } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
            roomW -= S(13 + 5);
            kind = "radio";
        } else if (type == BS_GROUPBOX) {
            roomW -= S(16);  // the frame's corners on both sides of the caption
            roomH = 1 << 20;
            kind = "groupbox";
        } else {
            return;
        }
    }
    // A font handle is good in its own process only: the control describes its font, and the
    // same font is made here. A window the toolkit did not make (a message box) uses the
    // system's message font.
    HFONT font = ControlFont(c);
    RECT need{0, 0, roomW > 0 ? roomW : 1, 0};
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    if (!old) {
        Report("nofont", c, kind, text, {0, 0}, {roomW, roomH});
        if (font) DeleteObject(font);
        return;
    }
    DrawTextW(dc, text.c_str(), int(text.size()), &need, flags);
    if (getenv("KTFIT_FONTS")) {
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);  // the copy made here
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        wchar_t face[64] = {};
        GetTextFaceW(dc, 64, face);
        printf("font\t%ld\t%s\t%ld\t%s\n", lf.lfHeight, Printable(lf.lfFaceName).c_str(), tm.tmHeight, Printable(face).c_str());
    }
    SelectObject(dc, old);
    DeleteObject(font);
    const SIZE needed{need.right, need.bottom}, room{roomW, roomH};
    Report(needed.cx <= room.cx && needed.cy <= room.cy ? "ok" : "cut", c, kind, text, needed, room);
}

BOOL CALLBACK EachChild(HWND c, LPARAM dc) {
    CheckControl(c, reinterpret_cast<HDC>(dc));
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    SetProcessDPIAware();  // the same metrics the program sees
    if (argc < 2) {
        fputs("usage: ktfit WINDOW\n", stderr);
        return 2;
    }
    HWND w = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(strtoul(argv[1], nullptr, 10)));
    if (!IsWindow(w)) return 1;
    HDC screen = GetDC(nullptr);
    g_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    printf("dpi\t%d\n", g_dpi);
    CheckCaption(w, dc);
    EnumChildWindows(w, EachChild, reinterpret_cast<LPARAM>(dc));
    DeleteDC(dc);
    return 0;
}
