// Resizes one window through 200 sizes up to 1920 x 1080, painting each, unskinned and then
// skinned with the built-in Blue skin, in rounds that alternate; prints the medians and ratio.
// Then the program's own windows: the memory with the configuration window shown, unskinned
// and skinned.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "GuiObjects.h"
#include "app/ButtonFormDialog.h"
#include "config/ConfigFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"

using namespace kt;

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

double ResizeRun(HWND w) {
    const double start = Now();
    for (int i = 0; i < 200; ++i) {
        const int width = 300 + (1920 - 300) * i / 199, height = 200 + (1080 - 200) * i / 199;
        SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    GdiFlush();
    return Now() - start;
}

void Pump(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(2))
        ui::TApplication::Instance().ProcessMessages();
}

struct Memory {
    unsigned long privateKb, gdi, user;
};
// Private bytes: the committed private pages of the address space (Wine leaves the counter
// of GetProcessMemoryInfo at 0), walked with VirtualQuery.
unsigned long PrivateKb() {
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION mbi{};
    for (char* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi; p = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        if (static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize < p) break;
    }
    return static_cast<unsigned long>(total / 1024);
}

Memory Measure() { return {PrivateKb(), test_support::GdiObjects(), test_support::UserObjects()}; }

// The bar and the configuration window as the program makes them, first with the stored
// choice "no skin", then switched to Blue as the Skins menu does it.
void ProgramMemory() {
    TVtRegistry store;
    store.SaveStringToRegistry("Software\\Orvall Software\\Ketravo\\Options\\Skins", "SkinIndex", "3");
    CreateDirectoryA("data", nullptr);
    ScriptedMessages quiet;  // a first start's boxes are answered, not shown
    SetMessageService(&quiet);
    auto& app = ui::TApplication::Instance();
    auto* bar = app.CreateForm<TButtonForm>();
    auto* config = app.CreateForm<TConfigForm>();
    bar->Show();
    config->Show();
    SetForegroundWindow(config->Handle());
    Pump(500);
    const Memory plain = Measure();
    SkinManage()->ActivationCount = 1;
    bar->SkinIndex = 0;
    bar->SkinClick();
    SkinManage()->RunCommand();
    SetForegroundWindow(config->Handle());
    Pump(500);
    const Memory skinned = Measure();
    std::printf("the program with its configuration window shown\n");
    std::printf("             private KB  GDI objects  USER objects\n");
    std::printf("  unskinned  %10lu  %11lu  %12lu\n", plain.privateKb, plain.gdi, plain.user);
    std::printf("  skinned    %10lu  %11lu  %12lu\n", skinned.privateKb, skinned.gdi, skinned.user);
    std::printf("  ratio      %10.2f  %11.2f  %12.2f\n", double(skinned.privateKb) / plain.privateKb,
                double(skinned.gdi) / plain.gdi, double(skinned.user) / plain.user);
    SetMessageService(nullptr);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    InstallSkinManager();
    static TSkinData data;  // lives on with the manager the program's windows use next
    data.SkinStream = PackSkin(MakeBuiltinSkin(0));
    data.UnpackSkin();
    data.Loaded();
    static ui::TForm form(nullptr);
    form.SetCaption("Resize bench");
    form.SetBounds(0, 0, 300, 200);
    form.Show();
    TSkinManage& m = *SkinManage();
    m.ActivationCount = 1;
    std::vector<double> plain, skinned;
    for (int round = 0; round < 5; ++round) {
        plain.push_back(ResizeRun(form.Handle()));
        data.SetActive(true);
        m.RunCommand();
        ui::TApplication::Instance().ProcessMessages();
        if (!m.FrameOf(form.Handle())) {
            std::puts("the window did not take the skin");
            return 1;
        }
        skinned.push_back(ResizeRun(form.Handle()));
        data.SetActive(false);
        m.RunCommand();
        ui::TApplication::Instance().ProcessMessages();
    }
    form.Hide();
    m.RemoveSkinData(&data);
    const double p = Median(plain), s = Median(skinned);
    std::printf("200 resizes up to 1920 x 1080, %zu rounds (median ms)\n", plain.size());
    std::printf("  unskinned %8.1f\n  skinned   %8.1f\n  ratio     %8.2f\n", p, s, s / p);
    ProgramMemory();
    return 0;
}
