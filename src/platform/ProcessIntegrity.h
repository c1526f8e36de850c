// The integrity level of processes, read from their tokens, for the typing's rights check.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "app/core/TargetRights.h"

namespace kt {

// The level of process `pid` (OpenProcess with PROCESS_QUERY_LIMITED_INFORMATION,
// OpenProcessToken, TokenIntegrityLevel); nullopt when the process cannot be opened that way
// or its token does not say.
std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD pid);

// The program's own level and that of the process owning `target`.
class Win32ProcessRights : public ProcessRights {
public:
    explicit Win32ProcessRights(HWND target) : target_(target) {}
    std::optional<std::uint32_t> OwnLevel() const override;
    std::optional<std::uint32_t> TargetLevel() const override;

private:
    HWND target_;
};

}  // namespace kt
