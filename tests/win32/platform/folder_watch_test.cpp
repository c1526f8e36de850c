// The scheme folder's watch under the real system: a change reaches the thread that started
// the watch as a message; a file held by a writer refuses readers (read again later).
#include <gtest/gtest.h>

#include <windows.h>

#include "Pump.h"
#include "app/core/SchemeSnapshot.h"
#include "platform/FolderWatch.h"
#include "platform/Win32SchemeFileSystem.h"

using kt::test_support::PumpFor;
using kt::test_support::PumpUntil;

namespace {

std::string TempFolder(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string path = std::string(base) + name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void WriteText(const std::string& path, const char* text) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    WriteFile(f, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
    CloseHandle(f);
}

}  // namespace

TEST(FolderWatch, AChangeArrivesOnTheStartingThreadAndNoneAfterStop) {
    const std::string folder = TempFolder("kt_folder_watch");
    const std::string file = folder + "\\a.dat";
    DeleteFileA(file.c_str());
    int calls = 0;
    DWORD thread = 0;
    kt::FolderWatch watch;
    ASSERT_TRUE(watch.Start(folder, [&] {
        ++calls;
        thread = GetCurrentThreadId();
    }));
    EXPECT_TRUE(watch.Active());
    WriteText(file, "C01A\r\n");
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_EQ(thread, GetCurrentThreadId());

    watch.Stop();
    const int before = calls;
    DeleteFileA(file.c_str());
    PumpFor(300);
    EXPECT_EQ(calls, before);
    RemoveDirectoryA(folder.c_str());
}

TEST(FolderWatch, AFileHeldByItsWriterIsBusyUntilItIsClosed) {
    const std::string folder = TempFolder("kt_folder_held");
    const std::string file = folder + "\\a.dat";
    kt::Win32SchemeFileSystem fs;
    HANDLE writer = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(writer, "C01Half", 7, &n, nullptr);
    kt::SchemeSnapshot read;
    EXPECT_EQ(kt::ReadSnapshotOnce(fs, file, read), kt::SnapshotRead::Busy);
    CloseHandle(writer);
    EXPECT_EQ(kt::ReadSnapshotOnce(fs, file, read), kt::SnapshotRead::Read);
    EXPECT_EQ(read.content, "C01Half");
    EXPECT_EQ(read.stamp.size, 7u);
    EXPECT_GE(fs.MillisecondsSinceWrite(read.stamp), 0);
    EXPECT_LT(fs.MillisecondsSinceWrite(read.stamp), 60000);
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}
