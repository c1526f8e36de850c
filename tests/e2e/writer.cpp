// A slow writer of a scheme file, as another program on a shared drive may be: it opens the
// file once (others may read it, as most programs allow), writes it line by line with a pause
// between the lines, and closes it only at the end.
//   ktwriter.exe PATH PAUSE_MS LINE...
// Or a program that holds a file open for a while, sharing nothing (a virus scanner, a backup):
//   ktwriter.exe --hold PATH MS [read]
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--hold") {
        // "read": others may still read it (as editors and backups allow), not replace it.
        const DWORD share = argc > 4 && std::string(argv[4]) == "read" ? FILE_SHARE_READ : 0;
        HANDLE f = CreateFileA(argv[2], GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) return 1;
        Sleep(static_cast<DWORD>(std::atoi(argv[3])));
        CloseHandle(f);
        return 0;
    }
    if (argc < 3) return 2;
    const DWORD pause = static_cast<DWORD>(std::atoi(argv[2]));
    HANDLE f = CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    for (int i = 3; i < argc; ++i) {
        const std::string line = std::string(argv[i]) + "\r\n";
        DWORD written = 0;
        if (!WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) return 1;
        FlushFileBuffers(f);
        if (i + 1 < argc) Sleep(pause);
    }
    CloseHandle(f);
    return 0;
}
