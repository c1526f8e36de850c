// The faces of the program's windows on the screen, in each built-in skin and unskinned: every
// label, check box, radio button and group box of the bar, the configuration window, the
// settings dialog and the About box shows the face it sits on behind its text, so no box of
// another colour stands around a text. The colours are read back from the windows' pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <sstream>

#include "Pump.h"
#include "app/ButtonFormDialog.h"
#include "config/About.h"
#include "config/ConfigFormDialog.h"
#include "config/FormOptionsDirectoryDialog.h"
#include "core/MessageService.h"
#include "ProgramTestSupport.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

using namespace kt;

namespace {

// A window's client area as it is on the screen.
class ClientPixels {
public:
    explicit ClientPixels(HWND window) {
        RECT r{};
        GetClientRect(window, &r);
        w_ = r.right, h_ = r.bottom;
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, w_, -h_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(window);
        HDC mem = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w_, h_, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        px_.assign(p, p + std::size_t(w_) * h_);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(window, screen);
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    COLORREF At(int x, int y) const {
        const std::uint32_t v = px_[std::size_t(y) * w_ + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<std::uint32_t> px_;
};

RECT RectIn(HWND of, HWND window) {
    RECT r{};
    GetWindowRect(of, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool InAny(const std::vector<RECT>& rects, int x, int y) {
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

// The colour most pixels of a set have; -1 when the set is empty.
template <class Each>
long Dominant(Each each) {
    std::map<COLORREF, int> count;
    each([&](COLORREF c) { ++count[c]; });
    long best = -1;
    int most = 0;
    for (auto [c, n] : count)
        if (n > most) most = n, best = long(c);
    return best;
}

std::vector<RECT> VisibleRects(const std::vector<ui::TControl*>& controls, const ui::TControl* except, HWND window) {
    std::vector<RECT> out;
    for (ui::TControl* c : controls) {
        auto* w = dynamic_cast<ui::TWinControl*>(c);
        if (c != except && w && w->HandleAllocated() && IsWindowVisible(w->Handle())) out.push_back(RectIn(w->Handle(), window));
    }
    return out;
}

std::string Hex(long c) {
    char s[16];
    snprintf(s, sizeof s, "%02X%02X%02X", int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255));
    return c < 0 ? "none" : s;
}

// For every label, check box, radio button and group box below `parent`: the colour behind
// its text (its own pixels, its children left out) and just outside it (a ring two pixels
// wide, its siblings left out) are both `face`. Returns what differs.
void CheckFaces(ui::TWinControl& parent, HWND window, const ClientPixels& px, COLORREF face, std::ostream& out) {
    for (ui::TControl* c : parent.Controls()) {
        auto* w = dynamic_cast<ui::TWinControl*>(c);
        if (!w || !w->HandleAllocated() || !IsWindowVisible(w->Handle())) continue;
        const bool kind = c->IsKindOf("TLabel") || c->IsKindOf("TCheckBox") || c->IsKindOf("TRadioButton") ||
                          c->IsKindOf("TGroupBox");
        const RECT r = RectIn(w->Handle(), window);
        if (kind && r.right > r.left && r.bottom > r.top) {
            const std::vector<RECT> children = VisibleRects(w->Controls(), nullptr, window);
            const long inside = Dominant([&](auto add) {
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        if (px.Inside(x, y) && !InAny(children, x, y)) add(px.At(x, y));
            });
            const RECT room = RectIn(parent.Handle(), window);
            const std::vector<RECT> siblings = VisibleRects(parent.Controls(), c, window);
            const long outside = Dominant([&](auto add) {
                for (int y = r.top - 2; y < r.bottom + 2; ++y)
                    for (int x = r.left - 2; x < r.right + 2; ++x) {
                        const bool ring = x < r.left || x >= r.right || y < r.top || y >= r.bottom;
                        const bool shown = x >= room.left && x < room.right && y >= room.top && y < room.bottom;
                        if (ring && shown && px.Inside(x, y) && !InAny(siblings, x, y)) add(px.At(x, y));
                    }
            });
            if (inside != long(face) || outside != long(face))
                out << "  " << c->Name << " (" << c->ClassName() << "): inside " << Hex(inside) << ", outside "
                    << Hex(outside) << ", face " << Hex(long(face)) << "\n";
        }
        CheckFaces(*w, window, px, face, out);
    }
}

class WindowFacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinManager();
        kt::test_support::WriteBytes(scratch.data + "\\button.dat", "C01Name\r\nT01Jane\r\nD011\r\n");
        auto& app = ui::TApplication::Instance();
        bar = app.CreateForm<TButtonForm>();
        config = app.CreateForm<TConfigForm>();
        SkinManage()->ActivationCount = 1;  // as in a running program
    }
    void TearDown() override {
        delete about;
        delete settings;
        delete config;
        delete bar;
        ReleaseSkinManager();
    }
    // Every window shown where no other covers it, its frame attached or gone.
    void Settle(bool skinned) {
        const std::pair<ui::TForm*, POINT> places[] = {
            {config, {0, 0}}, {bar, {620, 0}}, {about, {620, 300}}, {settings, {0, 660}}};
        for (auto [form, at] : places) {
            form->Show();
            SetWindowPos(form->Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SetForegroundWindow(form->Handle());
            test_support::PumpUntil([&] { return (SkinManage()->FrameOf(form->Handle()) != nullptr) == skinned; });
            EXPECT_EQ(SkinManage()->FrameOf(form->Handle()) != nullptr, skinned) << form->Name;
        }
        for (auto [form, at] : places)
            RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test_support::PumpFor(100);
    }
    std::string Seams(COLORREF face) {
        std::ostringstream out;
        for (ui::TForm* form : {static_cast<ui::TForm*>(bar), static_cast<ui::TForm*>(config),
                                static_cast<ui::TForm*>(about), static_cast<ui::TForm*>(settings)}) {
            const ClientPixels px(form->Handle());
            CheckFaces(*form, form->Handle(), px, face, out);
        }
        return out.str();
    }

    kt::test_support::ScratchStart scratch{"ktfaces"};
    ScopedScriptedMessages msgs;
    TButtonForm* bar = nullptr;
    TConfigForm* config = nullptr;
    TAboutBox* about = nullptr;
    TFormOptionsDirectory* settings = nullptr;
};

}  // namespace

TEST_F(WindowFacesTest, EveryTextSitsOnTheFaceAroundItInEachSkinAndUnskinned) {
    about = new TAboutBox(config);
    about->DoCreate();
    settings = ShowSettingsDialog(*config, nullptr);
    for (int index : {0, 1, 2, 3}) {
        SCOPED_TRACE("skin index " + std::to_string(index));
        bar->SkinIndex = index;
        if (index < 3)
            bar->SkinClick();
        else
            bar->SkinNoneClick();  // switches the last skin off
        SkinManage()->RunCommand();
        Settle(index < 3);
        const COLORREF face = index < 3 ? SkinColorRef(bar->SkinData1->ButtonFace) : GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(Seams(face), "");
    }
}
