// Drives a running program from outside, in the same Wine session: lists windows and
// controls, reads and answers message boxes, posts commands. Output is one record per line,
// fields separated by tabs, so scripts can read it.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RecordText.h"
#include "RemoteDll.h"

namespace {

std::string Text(HWND h) {
    // WM_GETTEXT reaches other processes' controls too (edit boxes included).
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return std::string();
    std::vector<char> buf(length + 64, '\0');
    if (!SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 2000,
                             nullptr))
        return std::string();
    return std::string(buf.data(), strnlen(buf.data(), buf.size()));
}

std::string ClassOf(HWND h) {
    char buf[256] = {0};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

using ktrecord::Escape;

void PrintWindow(HWND h, bool child) {
    RECT r{};
    GetWindowRect(h, &r);
    LONG ex = GetWindowLongA(h, GWL_EXSTYLE);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT c{};
    GetClientRect(h, &c);
    if (child) {
        printf("%lu\t%s\t%s\t%ld,%ld,%ld,%ld\t%d\t%lu\t%d\t%d\n", (unsigned long)(ULONG_PTR)h,
               Escape(ClassOf(h)).c_str(), Escape(Text(h)).c_str(), r.left, r.top, r.right, r.bottom,
               IsWindowVisible(h) ? 1 : 0, (unsigned long)(ULONG_PTR)GetParent(h), GetDlgCtrlID(h),
               IsWindowEnabled(h) ? 1 : 0);
    } else {
        printf("%lu\t%s\t%s\t%ld,%ld,%ld,%ld\t%d\t%d\t%lu\t%d\t%ld,%ld\n", (unsigned long)(ULONG_PTR)h,
               Escape(ClassOf(h)).c_str(), Escape(Text(h)).c_str(), r.left, r.top, r.right, r.bottom,
               (ex & WS_EX_TOPMOST) ? 1 : 0, IsWindowVisible(h) ? 1 : 0, pid, IsIconic(h) ? 1 : IsZoomed(h) ? 2 : 0,
               c.right, c.bottom);
    }
}

BOOL CALLBACK ListTop(HWND h, LPARAM) {
    PrintWindow(h, false);
    return TRUE;
}

BOOL CALLBACK ListChild(HWND h, LPARAM) {
    PrintWindow(h, true);
    return TRUE;
}

struct FindTop {
    std::string title, cls;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopProc(HWND h, LPARAM l) {
    auto* f = reinterpret_cast<FindTop*>(l);
    if (!IsWindowVisible(h)) return TRUE;
    if (!f->title.empty() && Text(h) != f->title) return TRUE;
    if (!f->cls.empty() && ClassOf(h) != f->cls) return TRUE;
    f->found = h;
    return FALSE;
}

// A window given as a handle number or as the title of a visible top-level window.
HWND Resolve(const char* s) {
    char* end = nullptr;
    unsigned long v = strtoul(s, &end, 0);
    if (end && *end == '\0' && v != 0) return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(v));
    FindTop f;
    f.title = s;
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

BOOL CALLBACK ListDialogItem(HWND c, LPARAM) {
    std::string cls = ClassOf(c);
    if (cls == "Static" || cls == "STATIC") {
        std::string t = Text(c);
        if (!t.empty()) printf("text\t%s\n", Escape(t).c_str());
    } else if (cls == "Button" || cls == "BUTTON") {
        printf("button\t%lu\t%s\n", (unsigned long)(ULONG_PTR)c, Escape(Text(c)).c_str());
    }
    return TRUE;
}

BOOL CALLBACK ListDialogs(HWND h, LPARAM) {
    if (!IsWindowVisible(h) || ClassOf(h) != "#32770") return TRUE;
    printf("dialog\t%lu\t%s\n", (unsigned long)(ULONG_PTR)h, Escape(Text(h)).c_str());
    EnumChildWindows(h, ListDialogItem, 0);
    return TRUE;
}

// Every item of a menu and its sub-menus: id (-1 for a sub-menu, 0 for a separator), the path
// of captions joined by " > ", and whether it can be chosen.
void ListMenu(HMENU menu, const std::string& path) {
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        const std::string item = path.empty() ? text : path + " > " + text;
        HMENU sub = GetSubMenu(menu, i);
        const int id = sub ? -1 : static_cast<int>(GetMenuItemID(menu, i));
        printf("%d\t%s\t%d\n", id, Escape(item).c_str(), (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1);
        if (sub) ListMenu(sub, item);
    }
}

// A program file's version strings ("name<TAB>value") and its manifest ("manifest<TAB>text").
int PrintVersion(const char* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    std::vector<char> info(size);
    if (size && GetFileVersionInfoA(file, 0, size, info.data())) {
        for (const char* name : {"CompanyName", "FileDescription", "FileVersion", "OriginalFilename", "ProductName",
                                 "ProductVersion"}) {
            char* value = nullptr;
            UINT length = 0;
            const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
            if (VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value)
                printf("%s\t%s\n", name, value);
        }
    }
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return 1;
    if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        if (const auto* text = static_cast<const char*>(LockResource(LoadResource(module, res))))
            printf("manifest\t%s\n", Escape(std::string(text, SizeofResource(module, res))).c_str());
    }
    FreeLibrary(module);
    return 0;
}

// `fit W`: whether each text of W's controls fits its control. A control's font can be read
// only inside its process (another process gets no font from WM_GETFONT), so ktfit_in.dll is
// loaded into the window's process with a remote thread, measures there (see fit_in.cpp) and
// leaves its records in its result buffer, which is read back here; then it is unloaded.
int PrintFit(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!process) return 1;
    int rc = 1;
    {
        const ktremote::RemoteDll dll(process, L"ktfit_in.dll", {"MeasureTexts", "FitResult"});
        DWORD length = 0;
        if (dll.Loaded() && dll.Call("MeasureTexts", w, length)) {
            std::vector<char> text(length + 1, '\0');
            SIZE_T got = 0;
            if (ReadProcessMemory(process, reinterpret_cast<void*>(dll.Address("FitResult")), text.data(), length,
                                  &got) && got == length) {
                fputs(text.data(), stdout);
                rc = 0;
            }
        }
    }
    CloseHandle(process);
    return rc;
}

int Usage() {
    fputs("usage: ktdrive windows | children W | dialogs | click W | settext W TEXT |\n"
          "       post W MSG WPARAM LPARAM | send W MSG WPARAM LPARAM | find TITLE [CLASS] |\n"
          "       foreground [W] | move W X Y WIDTH HEIGHT | items W [utf16] | text W [utf16] |\n"
          "       firsttext W MS | menu W | focus W | lbtext W INDEX | shape W | gui PID |\n"
          "       window W | itempoint W INDEX | version FILE | fit W | clientrect W | clip W UTF16HEX\n"
          "W: a window handle number, or the title of a visible top-level window\n",
          stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string cmd = argv[1];
    if (cmd == "windows") {
        EnumWindows(ListTop, 0);
        return 0;
    }
    if (cmd == "version" && argc >= 3) return PrintVersion(argv[2]);
    if (cmd == "dialogs") {
        EnumWindows(ListDialogs, 0);
        return 0;
    }
    if (cmd == "find" && argc >= 3) {
        FindTop f;
        f.title = argv[2];
        if (argc >= 4) f.cls = argv[3];
        EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
        if (!f.found) return 1;
        printf("%lu\n", (unsigned long)(ULONG_PTR)f.found);
        return 0;
    }
    if (cmd == "hotkey") {
        // Whether Ctrl+T is free for another program to take.
        if (RegisterHotKey(nullptr, 0x7000, MOD_CONTROL, 0x54)) {
            UnregisterHotKey(nullptr, 0x7000);
            puts("free");
        } else {
            puts("taken");
        }
        return 0;
    }
    if (cmd == "foreground") {
        if (argc >= 3) {
            HWND h = Resolve(argv[2]);
            if (!h) return 1;
            SetForegroundWindow(h);
        }
        printf("%lu\n", (unsigned long)(ULONG_PTR)GetForegroundWindow());
        return 0;
    }
    if (cmd == "gui" && argc >= 3) {
        // GDI and USER objects the process holds, and its private bytes.
        HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, strtoul(argv[2], nullptr, 0));
        if (!p) return 1;
        PROCESS_MEMORY_COUNTERS_EX mem{};
        mem.cb = sizeof mem;
        GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
        printf("%lu %lu %lu\n", GetGuiResources(p, GR_GDIOBJECTS), GetGuiResources(p, GR_USEROBJECTS),
               (unsigned long)mem.PrivateUsage);
        CloseHandle(p);
        return 0;
    }
    if (argc < 3) return Usage();
    HWND w = Resolve(argv[2]);
    if (!w || !IsWindow(w)) {
        fprintf(stderr, "ktdrive: no window %s\n", argv[2]);
        return 1;
    }
    if (cmd == "focus") {
        // The window that has the keyboard focus in the thread of the given window (0: none).
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
        printf("%lu\n", (unsigned long)(ULONG_PTR)info.hwndFocus);
        return 0;
    }
    if (cmd == "shape") {
        // Styles, window procedure, menu and region: what skinning changes and must give back.
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(w, r);
        RECT box{};
        if (kind != ERROR) GetRgnBox(r, &box);
        DeleteObject(r);
        printf("%lx %lx %lx %lu %d %ld,%ld,%ld,%ld\n", (unsigned long)GetWindowLongA(w, GWL_STYLE),
               (unsigned long)GetWindowLongA(w, GWL_EXSTYLE), (unsigned long)GetWindowLongPtrW(w, GWLP_WNDPROC),
               (unsigned long)(ULONG_PTR)GetMenu(w), kind, box.left, box.top, box.right, box.bottom);
        return 0;
    }
    if (cmd == "fit") return PrintFit(w);
    if (cmd == "clientrect") {
        // The client area in screen coordinates.
        RECT c{};
        GetClientRect(w, &c);
        MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
        printf("%ld,%ld,%ld,%ld\n", c.left, c.top, c.right, c.bottom);
        return 0;
    }
    if (cmd == "window") {
        // One window's record, in the form of `children`: where a pointer click on it lands.
        PrintWindow(w, true);
        return 0;
    }
    if (cmd == "itempoint" && argc >= 4) {
        // The screen point in the middle of a list box entry (a combo box's list too), for a
        // pointer click on it; fails when the entry is scrolled out of sight.
        const int index = atoi(argv[3]);
        DWORD_PTR top = 0, height = 0;
        if (!SendMessageTimeoutA(w, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &top) ||
            !SendMessageTimeoutA(w, LB_GETITEMHEIGHT, index, 0, SMTO_ABORTIFHUNG, 5000, &height))
            return 1;
        RECT c{};
        GetClientRect(w, &c);
        POINT p{c.right / 2, (index - static_cast<int>(top)) * static_cast<int>(height) + static_cast<int>(height) / 2};
        if (index < static_cast<int>(top) || p.y >= c.bottom) return 1;
        ClientToScreen(w, &p);
        printf("%ld %ld\n", p.x, p.y);
        return 0;
    }
    if (cmd == "children") {
        EnumChildWindows(w, ListChild, 0);
        return 0;
    }
    if (cmd == "firsttext" && argc >= 4) {
        // Waits (at most the given milliseconds) for the window's text to become non-empty;
        // prints when that was seen, in Unix milliseconds, so a caller can time an action it
        // started itself. Polls every millisecond.
        const DWORD end = GetTickCount() + strtoul(argv[3], nullptr, 10);
        puts("ready");
        fflush(stdout);
        while (GetTickCount() < end) {
            DWORD_PTR length = 0;
            if (SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) && length > 0) {
                FILETIME ft;
                GetSystemTimeAsFileTime(&ft);
                const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000 -
                                    11644473600000ULL;
                printf("%llu\n", t);
                return 0;
            }
            Sleep(1);
        }
        return 1;
    }
    if (cmd == "text") {
        if (argc >= 4 && !strcmp(argv[3], "utf16")) {
            // Every UTF-16 unit in hex: text beyond the code page comes through whole.
            DWORD_PTR length = 0;
            if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return 1;
            std::vector<wchar_t> wide(length + 64, L'\0');
            if (!SendMessageTimeoutW(w, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()),
                                     SMTO_ABORTIFHUNG, 2000, nullptr))
                return 1;
            for (size_t k = 0; k < wide.size() && wide[k]; ++k) printf("%04x", static_cast<unsigned>(wide[k]));
            printf("\n");
            return 0;
        }
        printf("%s\n", Escape(Text(w)).c_str());
        return 0;
    }
    if (cmd == "clip" && argc >= 4) {
        // Puts text given as UTF-16 units in hex on the clipboard, for a real Ctrl+V to paste.
        const std::string hex = argv[3];
        std::vector<wchar_t> wide;
        for (size_t k = 0; k + 4 <= hex.size(); k += 4) wide.push_back(static_cast<wchar_t>(strtoul(hex.substr(k, 4).c_str(), nullptr, 16)));
        wide.push_back(L'\0');
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, wide.size() * sizeof(wchar_t));
        memcpy(GlobalLock(mem), wide.data(), wide.size() * sizeof(wchar_t));
        GlobalUnlock(mem);
        if (!OpenClipboard(w)) return 1;
        EmptyClipboard();
        const bool set = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
        CloseClipboard();
        return set ? 0 : 1;
    }
    if (cmd == "settext" && argc >= 4) {
        SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        return 0;
    }
    if (cmd == "click") {
        PostMessageA(w, BM_CLICK, 0, 0);
        return 0;
    }
    if ((cmd == "post" || cmd == "send") && argc >= 6) {
        UINT msg = strtoul(argv[3], nullptr, 0);
        WPARAM wp = strtoul(argv[4], nullptr, 0);
        LPARAM lp = static_cast<LPARAM>(strtol(argv[5], nullptr, 0));
        if (cmd == "post") {
            PostMessageA(w, msg, wp, lp);
        } else {
            DWORD_PTR r = 0;
            SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &r);
            printf("%lu\n", (unsigned long)r);
        }
        return 0;
    }
    if (cmd == "move" && argc >= 7) {
        SetWindowPos(w, nullptr, atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), atoi(argv[6]),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (cmd == "menu") {
        // First line: the menu bar's handle and item count. Under Wine another process's
        // menu items cannot be read (the count is -1): then only that line is printed.
        HMENU m = GetMenu(w);
        const int count = m ? GetMenuItemCount(m) : 0;
        printf("bar\t%lu\t%d\n", (unsigned long)(ULONG_PTR)m, count);
        if (m && count > 0) ListMenu(m, "");
        return 0;
    }
    if (cmd == "lbtext" && argc >= 4) {
        // One list box entry read as accessibility tools read it: its length and its text, in
        // UTF-16 and in ANSI, with buffers of the size the length asks for. One line each:
        // "W|A <length> <what LB_GETTEXT returned> <characters in the buffer>". (Under Wine an
        // ANSI LB_GETTEXT from another process fills the buffer with UTF-16: its third field is 1.)
        const WPARAM index = strtoul(argv[3], nullptr, 0);
        DWORD_PTR len = 0, got = 0;
        if (!SendMessageTimeoutW(w, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG, 5000, &len)) return 1;
        std::vector<wchar_t> wide(static_cast<LRESULT>(len) < 0 ? 1 : len + 1, L'\0');
        if (!SendMessageTimeoutW(w, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 5000,
                                 &got))
            return 1;
        printf("W\t%ld\t%ld\t%ld\n", (long)len, (long)got, (long)wcsnlen(wide.data(), wide.size()));
        if (!SendMessageTimeoutA(w, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG, 5000, &len)) return 1;
        // Room for UTF-16 too: Wine writes that many bytes whatever the length said.
        std::vector<char> narrow(static_cast<LRESULT>(len) < 0 ? 2 : 2 * (len + 1), '\0');
        if (!SendMessageTimeoutA(w, LB_GETTEXT, index, reinterpret_cast<LPARAM>(narrow.data()), SMTO_ABORTIFHUNG,
                                 5000, &got))
            return 1;
        printf("A\t%ld\t%ld\t%ld\n", (long)len, (long)got, (long)strnlen(narrow.data(), narrow.size()));
        return 0;
    }
    if (cmd == "items") {
        // The entries of a list box or a combo box's list, one a line, in list order.
        const bool combo = _stricmp(ClassOf(w).c_str(), "ComboBox") == 0;
        LRESULT n = SendMessageA(w, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            // Asked in UTF-16: the ANSI form does not come back whole from another process.
            wchar_t wide[4096] = {0};
            LRESULT len = SendMessageW(w, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
            if (len < 0 || len >= static_cast<LRESULT>(sizeof wide / sizeof wide[0])) continue;
            SendMessageW(w, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
            if (argc >= 4 && !strcmp(argv[3], "utf16")) {
                // Every UTF-16 unit in hex: names beyond the code page come through whole.
                for (LRESULT k = 0; k < len; ++k) printf("%04x", static_cast<unsigned>(wide[k]));
                printf("\n");
                continue;
            }
            char buf[8192] = {0};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
            printf("%s\n", Escape(buf).c_str());
        }
        return 0;
    }
    return Usage();
}
