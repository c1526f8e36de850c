#include "platform/Win32SchemeFileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "platform/WidePaths.h"

namespace kt {

bool Win32SchemeFileSystem::IsFile(const std::string& path) {
    DWORD attr = GetFileAttributesW(OpenablePath(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32SchemeFileSystem::ListEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(OpenablePath(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // "x.dat" may be a folder
        const std::string name = Utf8(data.cFileName, wcslen(data.cFileName));
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::wstring ShownSchemeName(const std::string&, const std::string& scheme) { return Wide(scheme); }

bool Win32SchemeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    // Windows refuses to replace a read-only file, but not every implementation of the call
    // does; a scheme the user protected stays as it is everywhere.
    DWORD attr = GetFileAttributesW(OpenablePath(to).c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)) return false;
    return MoveFileExW(OpenablePath(from).c_str(), OpenablePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32SchemeFileSystem::RemoveFile(const std::string& path) { return DeleteFileW(OpenablePath(path).c_str()) != 0; }

bool Win32SchemeFileSystem::Exists(const std::string& path) {
    return GetFileAttributesW(OpenablePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32SchemeFileSystem::CopyToNew(const std::string& from, const std::string& to) {
    return CopyFileW(OpenablePath(from).c_str(), OpenablePath(to).c_str(), TRUE) != 0;
}

bool Win32SchemeFileSystem::RenameToNew(const std::string& from, const std::string& to) {
    return MoveFileW(OpenablePath(from).c_str(), OpenablePath(to).c_str()) != 0;
}

SchemeFileSystem::ReadResult Win32SchemeFileSystem::ReadWhole(const std::string& path, std::string& content) {
    // No writer may hold the file while it is read (a half-written file fails to open: a
    // sharing violation, read again later); a writer that replaces it whole by a rename may.
    HANDLE in = CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE) return ReadResult::CannotOpen;
    char buf[16384];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ::ReadFile(in, buf, sizeof buf, &got, nullptr)) && got > 0) content.append(buf, got);
    CloseHandle(in);
    return ok ? ReadResult::Read : ReadResult::CannotRead;
}

bool Win32SchemeFileSystem::WriteNew(const std::string& path, std::string_view content) {
    HANDLE out = CreateFileW(OpenablePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        ok = ::WriteFile(out, content.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
        done += wrote;
    }
    // On the disk before the rename makes it the scheme: a power loss then leaves the old
    // file or the new one, never an empty one.
    ok = FlushFileBuffers(out) && ok;
    ok = CloseHandle(out) && ok;
    if (!ok) DeleteFileW(OpenablePath(path).c_str());
    return ok;
}

bool Win32SchemeFileSystem::InUse(const std::string& path) {
    // Asking for the right to delete, while sharing everything: only a program that holds the
    // file without letting it be replaced makes this fail with a sharing violation.
    HANDLE h = CreateFileW(OpenablePath(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

bool Win32SchemeFileSystem::Stamp(const std::string& path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(OpenablePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                                data.ftLastWriteTime.dwLowDateTime);
    return true;
}

long long Win32SchemeFileSystem::MillisecondsSinceWrite(const FileStamp& stamp) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                                         now.dwLowDateTime);
    const std::int64_t age = ticks - stamp.writeTime;  // 100-nanosecond units, as the stamp
    return age < 0 ? -1 : static_cast<long long>(age / 10000);
}

bool Win32SchemeFileSystem::SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) == 0;
}

}  // namespace kt
