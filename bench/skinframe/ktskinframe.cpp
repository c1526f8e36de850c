// Resizes one window through 200 sizes up to 1920 x 1080, painting each, unskinned and then
// skinned with the built-in Blue skin, in rounds that alternate; prints the medians and ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "skin/data/BuiltinSkins.h"
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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    InstallSkinManager();
    TSkinData data;
    data.SkinStream = PackSkin(MakeBuiltinSkin(0));
    data.UnpackSkin();
    data.Loaded();
    ui::TForm form(nullptr);
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
    const double p = Median(plain), s = Median(skinned);
    std::printf("200 resizes up to 1920 x 1080, %zu rounds (median ms)\n", plain.size());
    std::printf("  unskinned %8.1f\n  skinned   %8.1f\n  ratio     %8.2f\n", p, s, s / p);
    ReleaseSkinManager();
    return 0;
}
