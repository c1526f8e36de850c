// Starts a program and measures the time until a visible top-level window of a given class
// belongs to it; then ends the program. Prints milliseconds.
//   ktlaunch CLASS EXE
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD pid;
    const char* cls;
    bool found;
};

BOOL CALLBACK Find(HWND h, LPARAM l) {
    auto* s = reinterpret_cast<Search*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[256];
    if (pid == s->pid && IsWindowVisible(h) && GetClassNameA(h, cls, sizeof cls) && strcmp(cls, s->cls) == 0) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fputs("usage: ktlaunch CLASS EXE\n", stderr);
        return 2;
    }
    std::string cmd = std::string("\"") + argv[2] + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "ktlaunch: cannot start %s\n", argv[2]);
        return 1;
    }
    Search s{pi.dwProcessId, argv[1], false};
    for (int i = 0; i < 30000 && !s.found; ++i) {
        EnumWindows(Find, reinterpret_cast<LPARAM>(&s));
        if (!s.found) Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    if (!s.found) {
        fputs("ktlaunch: no window\n", stderr);
        return 1;
    }
    printf("%.1f\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart);
    return 0;
}
