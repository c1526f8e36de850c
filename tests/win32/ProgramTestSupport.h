// What the tests of the program's windows share: a scratch start folder that becomes the
// process's current folder, the program's registry key wiped before and after, and a click
// sent as the user's click is (the control's notification to its parent).
#pragma once
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Registry.h"
#include "ui/Controls.h"

namespace kt::test_support {

inline const char* const kProgramKey = "Software\\Orvall Software\\Ketravo";

// A temporary start folder "<temp>\<prefix>-<pid>-<n>\start" with an empty "data" folder.
class ScratchStart {
public:
    explicit ScratchStart(const std::string& prefix) {
        Registry().DeleteKey(kProgramKey);
        char buf[MAX_PATH];
        GetCurrentDirectoryA(sizeof buf, buf);
        previousDir_ = buf;
        GetTempPathA(sizeof buf, buf);
        static int counter = 0;
        root = std::string(buf) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        start = root + "\\start";
        data = start + "\\data";
        std::filesystem::create_directories(data);
        SetCurrentDirectoryA(start.c_str());
    }
    ~ScratchStart() {
        SetCurrentDirectoryA(previousDir_.c_str());
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
        Registry().DeleteKey(kProgramKey);
    }
    ScratchStart(const ScratchStart&) = delete;
    ScratchStart& operator=(const ScratchStart&) = delete;

    std::string root, start, data;

private:
    std::string previousDir_;
};

inline void Notify(ui::TWinControl* c, WORD code) {
    HWND h = c->Handle();
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
}
// A file's whole content, written and read back as bytes.
inline void WriteBytes(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void Press(ui::TWinControl* c) { Notify(c, BN_CLICKED); }

}  // namespace kt::test_support
