// The real integrity query: the program's own process and a child it starts answer with the
// same level; the window of a process that cannot be asked has no level and is not refused.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/core/TargetRights.h"
#include "platform/ProcessIntegrity.h"

TEST(ProcessIntegrity, OwnProcessAndAChildAnswerAlike) {
    const auto own = kt::ProcessIntegrityLevel(GetCurrentProcessId());
    ASSERT_TRUE(own.has_value());
    EXPECT_TRUE(*own >= kt::kIntegrityLow && *own <= kt::kIntegritySystem) << std::hex << *own;

    char command[] = "cmd.exe /c exit";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                               nullptr, &si, &pi));
    const auto child = kt::ProcessIntegrityLevel(pi.dwProcessId);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(child.has_value());
    EXPECT_EQ(*child, *own);
}

TEST(ProcessIntegrity, OwnWindowMayBeTypedIntoAndAClosedOneHasNoLevel) {
    HWND own = CreateWindowExA(0, "STATIC", "mine", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(own);
    kt::Win32ProcessRights mine(own);
    ASSERT_TRUE(mine.OwnLevel().has_value());
    EXPECT_EQ(mine.TargetLevel(), mine.OwnLevel());
    EXPECT_FALSE(kt::TargetRunsHigher(mine));
    DestroyWindow(own);
    EXPECT_FALSE(kt::Win32ProcessRights(own).TargetLevel().has_value());
    EXPECT_FALSE(kt::TargetRunsHigher(kt::Win32ProcessRights(own)));
}
