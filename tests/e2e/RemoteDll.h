// A helper DLL that lies beside this program, loaded into another process with a remote thread
// so that its exports run there (on threads of that process), and unloaded again when done.
// Used by `ktdrive fit` and by the bench's ktobjects.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace ktremote {

inline LPTHREAD_START_ROUTINE Kernel32(const char* name) {
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), name)));
}

// Runs fn(arg) on a new thread of the process and returns the thread's exit code.
inline bool RemoteCall(HANDLE process, LPTHREAD_START_ROUTINE fn, void* arg, DWORD& result) {
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, fn, arg, 0, nullptr);
    if (!thread) return false;
    const bool done = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return done;
}

class RemoteDll {
public:
    // Loads `file` here, and into `process` when it exports every one of `exports`.
    RemoteDll(HANDLE process, const wchar_t* file, std::initializer_list<const char*> exports) : process_(process) {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring dll(exe);
        dll.resize(dll.find_last_of(L"\\/") + 1);
        dll += file;
        local_ = LoadLibraryW(dll.c_str());
        if (!local_) return;
        for (const char* e : exports)
            if (!GetProcAddress(local_, e)) return;
        const size_t bytes = (dll.size() + 1) * sizeof(wchar_t);
        name_ = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
        DWORD remote = 0;
        if (name_ && WriteProcessMemory(process, name_, dll.c_str(), bytes, nullptr) &&
            RemoteCall(process, Kernel32("LoadLibraryW"), name_, remote))
            base_ = static_cast<uintptr_t>(remote);
    }
    ~RemoteDll() {
        if (base_) {
            DWORD ignored;
            RemoteCall(process_, Kernel32("FreeLibrary"), reinterpret_cast<void*>(base_), ignored);
        }
        if (name_) VirtualFreeEx(process_, name_, 0, MEM_RELEASE);
        if (local_) FreeLibrary(local_);
    }
    RemoteDll(const RemoteDll&) = delete;
    RemoteDll& operator=(const RemoteDll&) = delete;

    bool Loaded() const { return base_ != 0; }
    // Where the export `name` lies in the other process (the DLL loaded, and the name exported).
    uintptr_t Address(const char* name) const {
        const auto here = reinterpret_cast<BYTE*>(reinterpret_cast<void*>(GetProcAddress(local_, name)));
        return base_ + static_cast<uintptr_t>(here - reinterpret_cast<BYTE*>(local_));
    }
    // Runs the export `name`(arg) in the other process.
    bool Call(const char* name, void* arg, DWORD& result) const {
        return RemoteCall(process_, reinterpret_cast<LPTHREAD_START_ROUTINE>(Address(name)), arg, result);
    }

private:
    HANDLE process_;
    HMODULE local_ = nullptr;
    void* name_ = nullptr;
    uintptr_t base_ = 0;
};

}  // namespace ktremote
