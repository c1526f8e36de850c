// Counts the GDI and USER objects of another process where GetGuiResources cannot (it reads 0
// under Wine):
//   ktobjects PID  ->  "GDI USER WINDOWS MENUS ICONS ACCELERATORS"
// GDI objects are read from the process's own GDI handle table (the PEB points at it; an entry
// whose type word is not zero is a live object). USER objects can only be asked about from
// inside the process: ktobjects loads ktobjects_in.dll into it with a remote thread, calls its
// CountUserObjects for each kind and unloads it again. Hooks are not counted: no call tells a
// live hook handle from a dead one without removing it.
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RemoteDll.h"

namespace {

constexpr size_t kGdiHandles = 0x10000;
constexpr size_t kGdiEntrySize = 24;   // object pointer, owner, unique word, type word, user data
constexpr size_t kGdiTypeOffset = 14;
constexpr DWORD kPebGdiTableOffset = 0x94;  // 32-bit PEB

long CountGdi(HANDLE process) {
    const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported) return reported;
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, nullptr)) return -1;
    DWORD table = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(info.PebBaseAddress) + kPebGdiTableOffset,
                           &table, sizeof table, &got) || !table)
        return -1;
    std::vector<BYTE> entries(kGdiHandles * kGdiEntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<uintptr_t>(table)), entries.data(),
                           entries.size(), &got))
        return -1;
    long live = 0;
    for (size_t i = 0; i < kGdiHandles; ++i) {
        uint16_t type;
        memcpy(&type, &entries[i * kGdiEntrySize + kGdiTypeOffset], sizeof type);
        if (type) ++live;
    }
    return live;
}

// {windows, menus, icons and cursors, accelerator tables}, or nothing when the process cannot
// be entered.
std::vector<long> CountUser(HANDLE process) {
    const ktremote::RemoteDll dll(process, L"ktobjects_in.dll", {"CountUserObjects"});
    std::vector<long> counts;
    if (!dll.Loaded()) return counts;
    for (uintptr_t kind = 0; kind < 4; ++kind) {
        DWORD n = 0;
        if (!dll.Call("CountUserObjects", reinterpret_cast<void*>(kind), n)) break;
        counts.push_back(static_cast<long>(n));
    }
    return counts;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: ktobjects PID\n");
        return 2;
    }
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, strtoul(argv[1], nullptr, 0));
    if (!process) {
        fprintf(stderr, "ktobjects: cannot open process %s\n", argv[1]);
        return 1;
    }
    const long gdi = CountGdi(process);
    const std::vector<long> user = CountUser(process);
    CloseHandle(process);
    if (gdi < 0 || user.size() != 4) {
        fprintf(stderr, "ktobjects: cannot count the %s objects of process %s (error %lu)\n",
                gdi < 0 ? "GDI" : "USER", argv[1], GetLastError());
        return 1;
    }
    printf("%ld %ld %ld %ld %ld %ld\n", gdi, user[0] + user[1] + user[2] + user[3], user[0], user[1], user[2], user[3]);
    return 0;
}
