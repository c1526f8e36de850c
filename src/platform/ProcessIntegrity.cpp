#include "platform/ProcessIntegrity.h"

namespace kt {

namespace {
// Vista's names, which the headers give only for newer targets than the program's.
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr TOKEN_INFORMATION_CLASS kTokenIntegrityLevel = static_cast<TOKEN_INFORMATION_CLASS>(25);

struct Label {
    SID_AND_ATTRIBUTES label;  // TOKEN_MANDATORY_LABEL
};

std::optional<std::uint32_t> TokenLevel(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
    std::optional<std::uint32_t> level;
    alignas(8) BYTE buffer[128];
    DWORD size = 0;
    if (GetTokenInformation(token, kTokenIntegrityLevel, buffer, sizeof buffer, &size) && size >= sizeof(Label)) {
        PSID sid = reinterpret_cast<Label*>(buffer)->label.Sid;
        if (sid && IsValidSid(sid)) {
            const UCHAR count = *GetSidSubAuthorityCount(sid);
            if (count > 0) level = *GetSidSubAuthority(sid, count - 1u);
        }
    }
    CloseHandle(token);
    return level;
}
}  // namespace

std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD pid) {
    HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, pid);
    if (!process) return std::nullopt;
    const std::optional<std::uint32_t> level = TokenLevel(process);
    CloseHandle(process);
    return level;
}

std::optional<std::uint32_t> Win32ProcessRights::OwnLevel() const {
    return ProcessIntegrityLevel(GetCurrentProcessId());
}

std::optional<std::uint32_t> Win32ProcessRights::TargetLevel() const {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(target_, &pid) || pid == 0) return std::nullopt;
    return ProcessIntegrityLevel(pid);
}

}  // namespace kt
