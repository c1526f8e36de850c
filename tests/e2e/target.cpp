// The typing target of the end-to-end tests and the demo: one Unicode window with a multi-line
// edit box that takes the keyboard focus, so every character typed arrives whatever the code
// page.
//   kttarget [--title TITLE] [--no-focus] [--polling] [--form] [--keys]
// --no-focus: the window comes to the front but never holds the keyboard focus; any key
// message it gets anyway is written into its edit box, so a test sees it.
// --polling: the window reads the keyboard as remote consoles do, by asking for the state of
// every key each 15 ms instead of taking key messages, and appends each newly pressed letter,
// digit or space to its box.
// --form: a small form instead of the box: three one-line fields (Name, Street, City), Tab and
// Shift+Tab between them as in a dialog, and Enter submits it: the line under the fields counts
// the submissions ("Submitted 1"). A hidden line (id 111) logs each change of a field as
// "F:LENGTH@MS;" (field 0 to 2, its new length, GetTickCount), for tests that time the typing.
// --keys: Esc and Ctrl+T pressed in the window are written into its box as "[Esc]" and
// "[Ctrl+T]" instead of being handled, so a test sees whether they arrived.
#include <windows.h>

#include <cstring>
#include <string>

static HWND g_edit;
static bool g_noFocus, g_polling, g_form, g_keys;
static HWND g_fields[3], g_submitted, g_lastFocus, g_log;
static int g_submissions;

static void CreateForm(HWND h) {
    const wchar_t* labels[] = {L"Name", L"Street", L"City"};
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto make = [&](DWORD ex, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int hgt, int id) {
        HWND c = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, hgt, h,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        return c;
    };
    for (int i = 0; i < 3; ++i) {
        make(0, L"STATIC", labels[i], 0, 10, 14 + 32 * i, 60, 20, -1);
        g_fields[i] = make(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 80, 10 + 32 * i, 300, 24, 101 + i);
    }
    make(0, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 80, 110, 80, 26, IDOK);
    g_submitted = make(0, L"STATIC", L"Submitted 0", 0, 80, 146, 300, 20, 110);
    g_log = make(0, L"STATIC", L"", 0, 0, 0, 0, 0, 111);
    ShowWindow(g_log, SW_HIDE);
    g_lastFocus = g_fields[0];
}
static constexpr UINT_PTR kPollTimer = 1;

static void Append(const wchar_t* text) {
    int n = GetWindowTextLengthW(g_edit);
    SendMessageW(g_edit, EM_SETSEL, n, n);
    SendMessageW(g_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

static void Record(const char* what, WPARAM key) {
    wchar_t line[32];
    wsprintfW(line, L"[%hs %u]", what, static_cast<unsigned>(key));
    Append(line);
}

// One poll: a key counts once, when it is found down (or pressed since the last poll) and was
// not down at the poll before. Keys that go down and up between two polls in a burst are
// seen at most once each, in key order rather than typing order.
static bool g_record;
static wchar_t g_seen[64];
static DWORD WINAPI Poll(LPVOID) {
    static bool wasDown[256];
    int n = 0;
    for (int vk = 0x20; vk <= 0x5A; ++vk) {
        const bool letter = vk >= 'A' && vk <= 'Z', digit = vk >= '0' && vk <= '9';
        if (!letter && !digit && vk != ' ') continue;
        const SHORT state = GetAsyncKeyState(vk);
        const bool down = (state & 0x8000) != 0;
        if (g_record && (down || (state & 1)) && !wasDown[vk] && n < 63)
            g_seen[n++] = static_cast<wchar_t>(letter ? vk - 'A' + 'a' : vk);
        wasDown[vk] = down;
    }
    g_seen[n] = 0;
    return 0;
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_CREATE:
            if (g_form) {
                CreateForm(h);
                return 0;
            }
            g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                     0, 0, 10, 10, h, reinterpret_cast<HMENU>(100), nullptr, nullptr);
            SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
            // No limit: long texts must arrive whole.
            SendMessageW(g_edit, EM_LIMITTEXT, 0, 0);
            // A polling window reads no key messages: its box only shows what the polls found.
            if (g_noFocus || g_polling) EnableWindow(g_edit, FALSE);
            if (g_polling) SetTimer(h, kPollTimer, 15, nullptr);
            return 0;
        case WM_TIMER:
            if (w == kPollTimer) {
                // Keys pressed while another window was in front were not for this one.
                static bool inFront = false;
                const bool now = GetForegroundWindow() == h;
                if (now) {
                    // Wine keeps a thread's answers to GetAsyncKeyState for up to 50 ms: each
                    // poll asks from a new thread, so it really looks every 15 ms.
                    g_record = inFront;
                    HANDLE t = CreateThread(nullptr, 0, Poll, nullptr, 0, nullptr);
                    if (t) {
                        WaitForSingleObject(t, INFINITE);
                        CloseHandle(t);
                        if (g_seen[0]) Append(g_seen);
                    }
                }
                inFront = now;
            }
            return 0;
        case WM_COMMAND:
            if (g_form && HIWORD(w) == EN_CHANGE && LOWORD(w) >= 101 && LOWORD(w) <= 103) {
                static std::wstring log;
                wchar_t entry[48];
                wsprintfW(entry, L"%d:%d@%lu;", LOWORD(w) - 101, GetWindowTextLengthW(reinterpret_cast<HWND>(l)),
                          GetTickCount());
                log += entry;
                SetWindowTextW(g_log, log.c_str());
                return 0;
            }
            if (g_form && LOWORD(w) == IDOK) {
                wchar_t line[32];
                wsprintfW(line, L"Submitted %d", ++g_submissions);
                SetWindowTextW(g_submitted, line);
                return 0;
            }
            break;
        case WM_SIZE:
            if (g_form) return 0;
            MoveWindow(g_edit, 0, 0, LOWORD(l), HIWORD(l), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (g_form) {
                SetFocus(g_lastFocus);
                return 0;
            }
            if (g_polling) return 0;  // the window itself keeps the focus
            if (g_noFocus) SetFocus(nullptr);
            else SetFocus(g_edit);
            return 0;
        case WM_ACTIVATE:
            if (g_form) {
                // Back to the field that had the focus, as a dialog does.
                if (LOWORD(w) == WA_INACTIVE) {
                    HWND f = GetFocus();
                    if (f && IsChild(h, f)) g_lastFocus = f;
                } else {
                    SetFocus(g_lastFocus);
                }
                return 0;
            }
            if (g_noFocus) return 0;  // no focus for anything
            if (g_polling) return DefWindowProcW(h, m, w, l);
            if (LOWORD(w) != WA_INACTIVE) SetFocus(g_edit);
            return DefWindowProcW(h, m, w, l);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (g_polling) return 0;
            if (g_noFocus) Record("key", w);
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (g_polling) return 0;
            if (g_noFocus) Record("char", w);
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    std::string title = "Ketravo Test Target";
    for (int i = 1; i < __argc; ++i) {
        if (!strcmp(__argv[i], "--no-focus")) g_noFocus = true;
        if (!strcmp(__argv[i], "--polling")) g_polling = true;
        if (!strcmp(__argv[i], "--form")) g_form = true;
        if (!strcmp(__argv[i], "--keys")) g_keys = true;
        if (!strcmp(__argv[i], "--title") && i + 1 < __argc) title = __argv[++i];
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KetravoTestTarget";
    RegisterClassW(&wc);
    wchar_t wideTitle[256] = {};
    MultiByteToWideChar(CP_ACP, 0, title.c_str(), -1, wideTitle, 256);
    HWND h = CreateWindowExW(0, L"KetravoTestTarget", wideTitle, WS_OVERLAPPEDWINDOW, 60, 60, 420, 300, nullptr,
                             nullptr, inst, nullptr);
    ShowWindow(h, SW_SHOWNORMAL);
    SetForegroundWindow(h);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g_form && IsDialogMessageW(h, &msg)) continue;
        if (g_keys && msg.message == WM_KEYDOWN &&
            (msg.wParam == VK_ESCAPE || (msg.wParam == 'T' && (GetKeyState(VK_CONTROL) & 0x8000)))) {
            Append(msg.wParam == VK_ESCAPE ? L"[Esc]" : L"[Ctrl+T]");
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
