// A 10 MB scheme (420,000 short buttons) loaded and shown by the configuration window, and by
// the bar, against reading the same file into memory (the floor), in one run. Prints the
// medians in milliseconds and the ratios.
//   ktschemeload [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ButtonFormDialog.h"
#include "app/core/SchemeFile.h"
#include "config/ConfigFormDialog.h"
#include "core/MessageService.h"
#include "platform/Registry.h"
#include "ui/Application.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / freq.QuadPart;
}

double Median(const std::function<void()>& run, int rounds) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Now();
        run();
        ms.push_back(Now() - t0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "ktschemeload: %s\n", what);
    std::exit(1);
}

// Everything the window has queued (paints included) is handled before the clock stops.
void Settle(HWND window) {
    UpdateWindow(window);
    kt::ui::TApplication::Instance().ProcessMessages();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string start = std::string(temp) + "ktschemeload-" + std::to_string(GetCurrentProcessId());
    const std::string data = start + "\\data";
    std::filesystem::create_directories(data);
    const std::string big = data + "\\big.dat";
    {
        std::string content;
        for (int i = 0; i < 420000; ++i) content += "C01b" + std::to_string(i) + "\r\nT01text" + std::to_string(i) + "\r\n";
        content += "D011\r\n";
        FILE* f = fopen(big.c_str(), "wb");
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
        FILE* b = fopen((data + "\\button.dat").c_str(), "wb");
        fputs("C01Name\r\nT01Jane\r\nD011\r\n", b);
        fclose(b);
    }
    SetCurrentDirectoryA(start.c_str());
    kt::Registry().DeleteKey("Software\\Orvall Software\\Ketravo");
    kt::ScopedScriptedMessages messages;
    auto& app = kt::ui::TApplication::Instance();
    app.Title = "Ketravo";
    kt::TButtonForm* bar = app.CreateForm<kt::TButtonForm>();
    kt::TConfigForm* config = app.CreateForm<kt::TConfigForm>();
    bar->Show();
    config->Show();
    Settle(config->Handle());

    const double read = Median([&] {
        std::string content;
        FILE* f = fopen(big.c_str(), "rb");
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, n);
        fclose(f);
        if (content.size() < 10000000) Fail("the file is short");
    }, rounds);

    const int bigIndex = config->ListBoxButtonScheme->IndexOf("big");
    const int otherIndex = config->ListBoxButtonScheme->IndexOf("button");
    auto pick = [&](int index) {
        config->ListBoxButtonScheme->SetItemIndex(index);
        HWND list = config->ListBoxButtonScheme->Handle();
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    };
    const double window = Median([&] {
        pick(otherIndex);  // the big lists go first: clearing them is part of the next load
        pick(bigIndex);
        Settle(config->Handle());
        if (config->Status().find("of 420000 buttons shown") == std::string::npos) Fail("the window did not read the file");
    }, rounds);

    const double barLoad = Median([&] {
        bar->ComboBoxFilename->SetText("big");
        bar->ComboBoxFilenameClick();
        Settle(bar->Handle());
        if (bar->ButtonCount != 420000) Fail("the bar did not read every button");
    }, rounds);

    std::printf("a 10 MB scheme (420,000 buttons, %d rounds, median ms)\n", rounds);
    std::printf("  read the file into memory            %8.1f\n", read);
    std::printf("  configuration window: load and show  %8.1f   ratio %.1f\n", window, window / read);
    std::printf("  bar: load and show its 10 buttons    %8.1f   ratio %.1f\n", barLoad, barLoad / read);
    delete config;
    delete bar;
    kt::Registry().DeleteKey("Software\\Orvall Software\\Ketravo");
    SetCurrentDirectoryA(temp);
    std::error_code ec;
    std::filesystem::remove_all(start, ec);
    return 0;
}
