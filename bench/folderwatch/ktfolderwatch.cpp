// A folder of 500 schemes watched by the real bar (in this process): the time from a scheme
// file appearing (or going) to the chooser listing it (or not), against reading the folder
// once and against refilling the chooser once, in one run. Prints medians and the worst case
// in milliseconds, and the ratios.
//   ktfolderwatch [ROUNDS]
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

struct Figures {
    double median, worst;
};

Figures Measure(const std::function<void(int)>& run, int rounds) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Now();
        run(i);
        ms.push_back(Now() - t0);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "ktfolderwatch: %s\n", what);
    std::exit(1);
}

void WriteFile(const std::string& path, const std::string& content) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write a scheme");
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
}

// The message loop runs (as the program's would) until `done`; false after 5 s.
bool RunUntil(const std::function<bool()>& done) {
    const double end = Now() + 5000;
    while (!done()) {
        if (Now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        kt::ui::TApplication::Instance().ProcessMessages();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string start = std::string(temp) + "ktfolderwatch-" + std::to_string(GetCurrentProcessId());
    const std::string data = start + "\\data";
    std::filesystem::create_directories(data);
    for (int i = 0; i < 500; ++i)
        WriteFile(data + "\\scheme" + std::to_string(i) + ".dat", "C01B" + std::to_string(i) + "\r\nT01text\r\nD011\r\n");
    WriteFile(data + "\\button.dat", "C01Name\r\nT01Jane\r\nD011\r\n");
    SetCurrentDirectoryA(start.c_str());
    kt::Registry().DeleteKey("Software\\Orvall Software\\Ketravo");
    kt::ScopedScriptedMessages messages;
    auto& app = kt::ui::TApplication::Instance();
    app.Title = "Ketravo";
    kt::TButtonForm* bar = app.CreateForm<kt::TButtonForm>();
    bar->Show();
    RunUntil([] { return false; });  // 5 s: the start settles
    if (bar->ComboBoxFilename->Count() != 501) Fail("the chooser does not list 501 schemes");
    for (const auto& shown : messages.shown) std::printf("(at start: %s)\n", shown.text.c_str());

    const Figures read = Measure([&](int) {
        if (kt::ListSchemeNames(data).size() != 501) Fail("the folder does not hold 501 schemes");
    }, rounds);
    const Figures refill = Measure([&](int) { bar->LoadComboBoxFilename(); }, rounds);
    auto listed = [&](const std::string& name) {
        const auto& items = bar->ComboBoxFilename->Items();
        return std::find(items.begin(), items.end(), name) != items.end();
    };
    // A new scheme appears whole (written beside the folder, then moved in), as a save does.
    const Figures added = Measure([&](int i) {
        const std::string name = "new" + std::to_string(i);
        WriteFile(start + "\\" + name + ".tmp", "C01New\r\nT01new\r\nD011\r\n");
        if (!MoveFileA((start + "\\" + name + ".tmp").c_str(), (data + "\\" + name + ".dat").c_str())) Fail("move");
        if (!RunUntil([&] { return listed(name); })) Fail("the chooser did not list a new scheme");
    }, rounds);
    const Figures removed = Measure([&](int i) {
        const std::string name = "new" + std::to_string(i);
        DeleteFileA((data + "\\" + name + ".dat").c_str());
        if (!RunUntil([&] { return !listed(name); })) Fail("the chooser kept a deleted scheme");
    }, rounds);

    std::printf("a folder of 500 schemes watched by the bar (%d rounds, ms: median / worst)\n", rounds);
    std::printf("  read the folder once                    %7.1f / %7.1f\n", read.median, read.worst);
    std::printf("  refill the chooser once                 %7.1f / %7.1f\n", refill.median, refill.worst);
    std::printf("  a scheme added: listed after            %7.1f / %7.1f   ratio to one read %.1f\n", added.median,
                added.worst, added.median / read.median);
    std::printf("  a scheme deleted: gone after            %7.1f / %7.1f   ratio to one read %.1f\n", removed.median,
                removed.worst, removed.median / read.median);
    delete bar;
    kt::Registry().DeleteKey("Software\\Orvall Software\\Ketravo");
    SetCurrentDirectoryA(temp);
    std::error_code ec;
    std::filesystem::remove_all(start, ec);
    return 0;
}
