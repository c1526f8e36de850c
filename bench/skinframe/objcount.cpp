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

LPTHREAD_START_ROUTINE Kernel32(const char* name) {
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), name)));
}

// Runs fn(arg) on a new thread of the process and returns the thread's exit code.
bool RemoteCall(HANDLE process, LPTHREAD_START_ROUTINE fn, void* arg, DWORD& result) {
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, fn, arg, 0, nullptr);
    if (!thread) return false;
    const bool done = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return done;
}

// {windows, menus, icons and cursors, accelerator tables}, or nothing when the process cannot
// be entered.
std::vector<long> CountUser(HANDLE process) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dll(exe);
    dll.resize(dll.find_last_of(L"\\/") + 1);
    dll += L"ktobjects_in.dll";
    HMODULE local = LoadLibraryW(dll.c_str());
    if (!local) return {};
    const auto count = reinterpret_cast<BYTE*>(reinterpret_cast<void*>(GetProcAddress(local, "CountUserObjects")));
    const size_t bytes = (dll.size() + 1) * sizeof(wchar_t);
    void* name = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    std::vector<long> counts;
    DWORD remote = 0;
    if (count && name && WriteProcessMemory(process, name, dll.c_str(), bytes, nullptr) &&
        RemoteCall(process, Kernel32("LoadLibraryW"),
                   name, remote) && remote) {
        const auto fn = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            static_cast<uintptr_t>(remote) + (count - reinterpret_cast<BYTE*>(local)));
        for (uintptr_t kind = 0; kind < 4; ++kind) {
            DWORD n = 0;
            if (!RemoteCall(process, fn, reinterpret_cast<void*>(kind), n)) break;
            counts.push_back(static_cast<long>(n));
        }
        DWORD ignored;
        RemoteCall(process, Kernel32("FreeLibrary"),
                   reinterpret_cast<void*>(static_cast<uintptr_t>(remote)), ignored);
    }
    if (name) VirtualFreeEx(process, name, 0, MEM_RELEASE);
    FreeLibrary(local);
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
