// ktgallery.exe: the tests' gallery form, skinned by the control painters.
//   ktgallery show SKIN LOG     SKIN: 0, 1, 2 (a built-in skin; "0u": Blue without its up-down
//                               pictures) or none; clicks and dates go to LOG
//   ktgallery toggle N          skin on and off N times; prints GDI and USER counts before and after
//   ktgallery bench N           paints the gallery N times unskinned and N times skinned; prints the ratio
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinPainters.h"
#include "skin/ui/WinSkinControls.h"
#include "../win32/GuiObjects.h"
#include "../win32/skin/ui/SkinGallery.h"

using namespace kt;

namespace {

FILE* g_log = nullptr;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PaintAll(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

void LogClicks(ui::TForm& form) {
    for (ui::TComponent* c : form.Components())
        if (auto* b = dynamic_cast<ui::TButton*>(c))
            b->OnClick = [b] {
                std::fprintf(g_log, "click %s\n", b->Name.c_str());
                std::fflush(g_log);
            };
    // A speed button's click also logs which grouped buttons are down after it.
    for (ui::TComponent* c : form.Components())
        if (auto* s = dynamic_cast<ui::TSpeedButton*>(c))
            s->OnClick = [s, &form] {
                std::fprintf(g_log, "click %s", s->Name.c_str());
                for (ui::TComponent* o : form.Components())
                    if (auto* g = dynamic_cast<ui::TSpeedButton*>(o); g && g->GroupIndex)
                        std::fprintf(g_log, " %s=%d", g->Name.c_str(), g->Down() ? 1 : 0);
                std::fprintf(g_log, "\n");
                std::fflush(g_log);
            };
}

// Each date a picker takes, as "date NAME YYYY-MM-DD".
void LogDates(ui::TForm& form) {
    for (ui::TComponent* c : form.Components())
        if (auto* p = dynamic_cast<ui::TDateTimePicker*>(c))
            p->OnChange = [p] {
                const SYSTEMTIME d = p->Date();
                std::fprintf(g_log, "date %s %04d-%02d-%02d\n", p->Name.c_str(), d.wYear, d.wMonth, d.wDay);
                std::fflush(g_log);
            };
}

// Tabs with images, at the bottom and on the left, and a header whose sections have images:
// what the program's own windows never show, but a skin author's do.
void AddTurnedTabsAndImages(ui::TForm& form) {
    HIMAGELIST images = gallery::MakeGlyphImages();
    gallery::AddStyledTabs(&form, 630, 200, 160, 80, TCS_BOTTOM, images);
    gallery::AddStyledTabs(&form, 630, 290, 160, 150, TCS_VERTICAL | TCS_MULTILINE, images);
    gallery::AddStyledTabs(&form, 630, 450, 160, 70, 0, images);
    for (ui::TComponent* c : form.Components())
        if (auto* lv = dynamic_cast<ui::TListView*>(c); lv && lv->Name == "ListView") {
            HWND header = reinterpret_cast<HWND>(SendMessageW(lv->Handle(), LVM_GETHEADER, 0, 0));
            SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
            for (int i = 0; i < 2; ++i) {
                HDITEMW item{HDI_FORMAT};
                SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
                item.mask = HDI_FORMAT | HDI_IMAGE, item.fmt |= HDF_IMAGE, item.iImage = i + 1;
                SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
        }
}

int Show(const char* skin, const char* logPath) {
    g_log = std::fopen(logPath, "w");
    if (!g_log) return 2;
    std::unique_ptr<ui::TForm> form(gallery::MakeGallery());
    LogClicks(*form);
    LogDates(*form);
    // The skin goes on as in the program: through the manager, which gives the form its frame
    // and the frame its control painters.
    InstallSkinManager();
    InstallControlPainters();
    auto data = std::make_unique<TSkinData>();
    form->OnClose = [](ui::TCloseAction&) { PostQuitMessage(0); };
    form->Show();
    AddTurnedTabsAndImages(*form);  // the list view's header has its window once the form has
    std::size_t painters = 0;
    if (std::strcmp(skin, "none") != 0) {
        gallery::LoadBuiltin(*data, std::atoi(skin));
        if (std::strchr(skin, 'u')) {  // "0u": a skin without the up-down pictures
            data->UpDownHorz.reset();
            data->UpDownVert.reset();
        }
        data->SetActive(true);
        if (SkinManage()) SkinManage()->RunCommand();
        Pump();
        if (TWinSkinForm* frame = SkinManage() ? SkinManage()->FrameOf(form->Handle()) : nullptr)
            painters = frame->ControlPainters.size();
        PaintAll(form->Handle());
    }
    std::fprintf(g_log, "ready %zu\n", painters);
    std::fflush(g_log);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (ui::IsDialogKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    form.reset();
    data.reset();
    ReleaseSkinManager();
    std::fclose(g_log);
    return 0;
}

int Toggle(int n) {
    std::unique_ptr<ui::TForm> form(gallery::MakeGallery());
    form->Show();
    TSkinData data;
    gallery::LoadBuiltin(data, 0);
    auto counts = [] {
        Pump();
        return test_support::GuiObjects();
    };
    // One round first: the system's own first-use objects (fonts, brushes, classes) are not ours.
    auto round = [&] {
        {
            TPainterSet painters;
            ScanControls(painters.Host(), data, form.get(), form->Handle(), nullptr);
            PaintAll(form->Handle());
            Pump();
        }
        PaintAll(form->Handle());
    };
    round();
    const auto before = counts();
    for (int i = 0; i < n; ++i) round();
    const auto after = counts();
    std::printf("gdi %lu %lu\nuser %lu %lu\n", before.first, after.first, before.second, after.second);
    return 0;
}

int Bench(int n) {
    std::unique_ptr<ui::TForm> form(gallery::MakeGallery());
    // At the screen's resolution, as the program's windows and skin are.
    form->DoCreate();
    form->Show();
    TSkinData data;
    data.PixelsPerInch = ui::TForm::ScreenPixelsPerInch();
    gallery::LoadBuiltin(data, 0);
    auto time = [&](int rounds) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            PaintAll(form->Handle());
            Pump();
        }
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    PaintAll(form->Handle());
    double plain = 0, skinned = 0;
    // Alternate in blocks so that drift of the machine hits both sides alike.
    for (int block = 0; block < 4; ++block) {
        plain += time(n / 4);
        TPainterSet painters;
        ScanControls(painters.Host(), data, form.get(), form->Handle(), nullptr);
        skinned += time(n / 4);
    }
    std::printf("at %d pixels per inch: ", ui::TForm::ScreenPixelsPerInch());
    std::printf("gallery painted %d times (ms per paint)\n  unskinned %8.2f\n  skinned   %8.2f\n  ratio     %8.2f\n",
                n / 4 * 4, plain / (n / 4 * 4), skinned / (n / 4 * 4), skinned / plain);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "show") == 0) return Show(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "toggle") == 0) return Toggle(std::atoi(argv[2]));
    if (argc >= 3 && std::strcmp(argv[1], "bench") == 0) return Bench(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: ktgallery show SKIN LOG | toggle N | bench N\n");
    return 2;
}
