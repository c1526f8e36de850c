// skingen: makes the three built-in skins at build time.
//   skingen write DIR                      one folder per skin (DIR/Blue, ...) with its pictures
//                                          and description, ready for "ktskin pack"
//   skingen store OUT A.skn B.skn C.skn    the stored form of a TSkinStore holding the containers
//                                          in the given order (items 0, 1, 2)
//   skingen preview STORE DIR              loads each skin of the store into a TSkinData and
//                                          draws its elements on DIR/preview_<name>.png
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "PngWriter.h"
#include "core/Errors.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"

namespace fs = std::filesystem;
using namespace kt;

namespace {

std::vector<std::uint8_t> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw Exception("cannot read " + p.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw Exception("cannot write " + p.string());
}

int Write(const fs::path& dir) {
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        const fs::path folder = dir / BuiltinSkinName(i);
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const SkinEntry& e : MakeBuiltinSkin(i)) WriteFile(folder / e.name, e.data);
    }
    return 0;
}

int Store(const fs::path& out, const std::vector<fs::path>& skins) {
    TSkinStore store;
    for (const fs::path& p : skins) store.Store().Add().Data() = ReadFile(p);
    std::vector<std::uint8_t> bytes;
    store.SaveToStream(bytes);
    WriteFile(out, bytes);
    return 0;
}

// ---- preview sheet ----

class Sheet {
public:
    Sheet(const TSkinData& d, int w, int h) : d_(d), bm_(w, h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bm_.At(x, y) = ((x / 8 + y / 8) & 1) ? 0xE4E4E4 : 0xFAFAFA;
    }
    TBitmap32& Bitmap() { return bm_; }

    Pixel C(TColour c) const { return ColourToPixel(c); }
    void Fill(PixelView v, TRectI r, Pixel p) { FillRect(v, r, p); }
    // Stand-in for a line of text.
    void Text(PixelView v, int x, int y, int w, Pixel p) {
        FillRect(v, {x, y, x + w, y + 5}, p);
        FillRect(v, {x + w / 3, y, x + w / 3 + 2, y + 5}, MixHalf(p));
    }
    static Pixel MixHalf(Pixel p) { return MakePixel((PixelR(p) + 255) / 2, (PixelG(p) + 255) / 2, (PixelB(p) + 255) / 2); }

    void Nine(PixelView v, const TDataSkinObject* e, TRectI r, int frame, bool stacked = false, int count = 0) {
        if (!e) return;
        DrawNinePiece(v, r, e->Image, e->Margins(), stacked, e->Tile != 0, count ? count : e->FrameCount, frame,
                      e->Trans != 0);
    }

    void Window(int ox, int oy, int W, int H, bool active, bool full) {
        TBitmap32 win(W, H, C(d_.ButtonFace));
        PixelView v = win.View();
        auto edgeSize = [](const TDataSkinObject& e, bool stacked) {
            return stacked ? e.Image.Height() / std::max(1, e.FrameCount) : e.Image.Width() / std::max(1, e.FrameCount);
        };
        const int L = edgeSize(*d_.FrameLeft, false), R = edgeSize(*d_.FrameRight, false);
        const int Cap = edgeSize(*d_.FrameTop, true), B = edgeSize(*d_.FrameBottom, true);
        const int MB = d_.MenuBar ? 20 : 0;
        auto edge = [&](const TDataSkinBorder& e, bool stacked, TRectI r) {
            const int frame = active || e.FrameCount == 1 ? 1 : 2;
            TBitmap32 piece = BuildNinePiece(e.Image, e.Margins(), stacked, e.Tile != 1, e.FrameCount, frame,
                                             r.Width(), r.Height());
            OpaqueCopy(v, r.Left, r.Top, piece.View());
        };
        edge(*d_.FrameLeft, false, {0, 0, L, H});
        edge(*d_.FrameRight, false, {W - R, 0, W, H});
        edge(*d_.FrameBottom, true, {L, H - B, W - R, H});
        edge(*d_.FrameTop, true, {L, 0, W - R, Cap});
        // Caption text on its background.
        const TDataSkinTitle& t = *d_.Title;
        const int textW = 64, textH = 14;
        TRectI tr{L + t.LeftWidth, (Cap - textH) / 2 + t.TopHeight / 2, 0, 0};
        tr.Right = tr.Left + textW + t.TextBackLeft + t.TextBackRight;
        tr.Bottom = tr.Top + textH;
        if (!t.Image.Empty()) {
            const int fh = t.Image.Height() / 2;
            TRectI back{tr.Left, (Cap - fh) / 2, tr.Right, (Cap - fh) / 2 + fh};
            DrawThreePiece(v, back, t.Image, true, true, 2, active ? 1 : 2, t.TextBackLeft, t.TextBackRight);
        }
        Text(v, tr.Left + t.TextBackLeft, (Cap - 5) / 2, textW,
             C(active ? t.ActiveTextColour : t.InactiveTextColour));
        // Title buttons of a normal window with minimise and maximise boxes.
        auto visible = [](int code) { return code == 0 || code == 2 || code == 6 || code == 8 || (code >= 200 && code <= 2000); };
        for (const auto& b : d_.SysButtons) {
            if (!visible(b->Visibility) || !visible(b->Visibility1)) continue;
            int x = b->Align == 1 ? W - b->XCoord : b->XCoord;
            if (b->Action == 3 || b->Action == 11) {  // the window icon
                TBitmap32 icon(16, 16, kMagenta);
                FillRect(icon.View(), {1, 1, 15, 15}, 0x2060C0);
                FillRect(icon.View(), {4, 4, 12, 12}, 0xFFFFFF);
                TransparentCopy(v, x, b->YCoord, icon.View());
                continue;
            }
            if (b->Image.Empty()) continue;
            const int fw = b->Image.Width() / b->FrameCount;
            const int frame = active || b->FrameCount < 4 ? 1 : 4;
            DrawSingleFrame(v, {x, b->YCoord, x + fw, b->YCoord + b->Image.Height()}, b->Image, true, b->FrameCount,
                            frame);
        }
        int y = Cap;
        if (MB) {
            const TDataSkinObject& m = *d_.MenuBar;
            const TRectI bar{L, Cap, W - R, Cap + MB};
            if (m.Tile == 1)
                DrawNinePiece(v, bar, m.Image, m.Margins(), true, false, 2, active ? 1 : 2, false);
            else
                DrawThreePiece(v, bar, m.Image, true, false, 2, active ? 1 : 2, m.LeftWidth, m.RightWidth);
            int x = L + m.LeftWidth + 4;
            for (int w : {24, 24, 30, 22}) {
                Text(v, x + 5, Cap + 8, w, C(d_.MenuBarText));
                x += w + 10;
            }
            y += MB;
        }
        if (full) Client(v, L + 8, y + 8, W - R - 8, H - B);
        // The window's shape: only the non-magenta pixels of the frame reach the sheet.
        for (const TRectI& run : RegionRuns(win.View(), ox, oy))
            for (int x = run.Left; x < run.Right; ++x)
                if (x >= 0 && x < bm_.Width() && run.Top >= 0 && run.Top < bm_.Height())
                    bm_.At(x, run.Top) = win.At(x - ox, run.Top - oy);
    }

    void Client(PixelView v, int x0, int y0, int x1, int y1) {
        const Pixel text = C(d_.ButtonText);
        // Toolbar
        for (int i = 0; i < 5; ++i) Nine(v, d_.Toolbars.get(), {x0 + i * 26, y0, x0 + i * 26 + 24, y0 + 24}, i + 1);
        int y = y0 + 32;
        // Push buttons in their five states
        for (int i = 0; i < 5; ++i) {
            TRectI r{x0 + i * 82, y, x0 + i * 82 + 76, y + 24};
            Nine(v, d_.Buttons.get(), r, i + 1);
            const TColour tc = i == 0 ? d_.Buttons->NormalColour2 : i == 3 ? d_.Buttons->MouseOverColour2
                             : i == 1 ? d_.Buttons->PressedColour2 : d_.ButtonShadow;
            Text(v, r.Left + 20, r.Top + 10, 36, C(tc));
        }
        y += 34;
        // Check boxes and radio buttons, 4 frames each
        const TDataSkinButton& b = *d_.Buttons;
        for (int i = 0; i < 4; ++i) {
            DrawSingleFrame(v, {x0 + i * 82, y, x0 + i * 82 + 13, y + 13}, b.CheckImage, true, b.CheckFrameCount, i + 1);
            Text(v, x0 + i * 82 + 18, y + 4, 40, i < 2 ? text : C(d_.ButtonShadow));
            DrawSingleFrame(v, {x0 + i * 82, y + 20, x0 + i * 82 + 13, y + 33}, b.RadioImage, true, b.RadioFrameCount,
                            i + 1);
            Text(v, x0 + i * 82 + 18, y + 24, 40, i < 2 ? text : C(d_.ButtonShadow));
        }
        y += 44;
        // Combo box: sunken edge, button and arrow; then a plain edit
        for (int i = 0; i < 2; ++i) {
            const int cx = x0 + i * 170;
            TRectI r{cx, y, cx + 150, y + 22};
            Nine(v, d_.SunkEdge.get(), r, i == 0 ? 1 : 4);
            Text(v, r.Left + 6, r.Top + 8, 60, text);
            TRectI btn{r.Right - 19, r.Top + 2, r.Right - 2, r.Bottom - 2};
            Nine(v, d_.ComboButton.get(), btn, i == 0 ? 1 : 4);
            if (d_.ExtraImages) {
                const int fw = d_.ExtraImages->Image.Width() / 5, fh = d_.ExtraImages->Image.Height();
                const int ax = btn.Left + (btn.Width() - fw) / 2, ay = btn.Top + (btn.Height() - fh) / 2;
                DrawSingleFrame(v, {ax, ay, ax + fw, ay + fh}, d_.ExtraImages->Image, true, 5, i == 0 ? 1 : 4);
            }
        }
        // Up-down beside the second combo
        if (d_.UpDownVert) {
            const auto& u = *d_.UpDownVert;
            const int ux = x0 + 330, fw = u.Image.Width() / 8, fh = u.Image.Height();
            for (int k = 0; k < 2; ++k) {
                TRectI r{ux, y + k * fh, ux + fw, y + (k + 1) * fh};
                Nine(v, &u, r, 1 + 4 * k);
                DrawSingleFrame(v, r, u.Image2, true, 8, 1 + 4 * k);
            }
        }
        y += 32;
        // Group box with radio buttons; tabs with their page border beside it
        Nine(v, d_.GroupBoxEdge.get(), {x0, y, x0 + 150, y + 96}, 1);
        FillRect(v, {x0 + 10, y - 3, x0 + 70, y + 4}, C(d_.ButtonFace));
        Text(v, x0 + 14, y - 2, 48, text);
        for (int i = 0; i < 3; ++i) {
            DrawSingleFrame(v, {x0 + 14, y + 18 + i * 22, x0 + 27, y + 31 + i * 22}, b.RadioImage, true,
                            b.RadioFrameCount, i == 1 ? 2 : 1);
            Text(v, x0 + 34, y + 22 + i * 22, 60, text);
        }
        if (d_.Tabs) {
            const int tx = x0 + 166;
            FillRect(v, {tx, y, tx + 220, y + 96}, C(d_.ButtonFace));
            TRectI page{tx, y + 21, tx + 220, y + 96};
            DrawNinePiece(v, page, d_.Tabs->Image2, {4, 5, 4, 4}, false, false, 1, 1, false);
            for (int i = 2; i >= 0; --i) {
                const bool sel = i == 0;
                TRectI r{tx + i * 64 + (sel ? 0 : 2), y + (sel ? 0 : 3), tx + i * 64 + 66, y + 23};
                Nine(v, d_.Tabs.get(), r, sel ? 2 : 1);
                Text(v, r.Left + 14, r.Top + 9, 36, C(sel ? d_.Tabs->MouseOverColour2 : d_.Tabs->NormalColour2));
            }
        }
        y += 106;
        // Progress: trough, bar and chunks
        if (d_.Progress) {
            const auto& p = *d_.Progress;
            TRectI trough{x0, y, x0 + 180, y + 16};
            Nine(v, &p, trough, 1);
            Nine(v, &p, {x0, y, x0 + 110, y + 16}, 2);
            TRectI t2{x0 + 190, y, x0 + 370, y + 16};
            Nine(v, &p, t2, 1);
            if (!p.Image2.Empty())
                for (int cx = t2.Left + 3; cx + p.Image2.Width() <= t2.Left + 120; cx += p.Image2.Width())
                    DrawSingleFrame(v, {cx, t2.Top + 2, cx + p.Image2.Width(), t2.Bottom - 2}, p.Image2, true, 1, 1);
        }
        y += 26;
        // Header and a list with both scroll bars
        const int lx = x0, ly = y, lw = 250, lh = std::min(110, y1 - 30 - y);
        FillRect(v, {lx, ly, lx + lw, ly + lh}, 0xFFFFFF);
        for (int i = 0; i < 3; ++i) {
            TRectI r{lx + i * 78, ly, lx + (i + 1) * 78, ly + 18};
            Nine(v, d_.Headerbar.get(), r, i == 1 ? 4 : 1);
            Text(v, r.Left + 8, r.Top + 7, 40, C(d_.Headerbar ? d_.Headerbar->NormalColour2 : d_.ButtonText));
        }
        for (int i = 0; i < 5 && ly + 26 + i * 16 < ly + lh - 20; ++i) Text(v, lx + 8, ly + 26 + i * 16, 90 + (i * 37) % 60, C(d_.WindowText));
        ScrollBar(v, {lx + lw - 16, ly + 18, lx + lw, ly + lh - 16}, false);
        ScrollBar(v, {lx, ly + lh - 16, lx + lw - 16, ly + lh}, true);
        FillRect(v, {lx + lw - 16, ly + lh - 16, lx + lw, ly + lh}, C(d_.ButtonFace));
        // Popup menu to the right of the list
        Menu(v, lx + lw + 16, ly, 150, lh);
        // Status bar along the bottom of the client
        TRectI sb{x0 - 8, y1 - 22, v.Width - (v.Width - x1) + 8, y1};
        FillRect(v, sb, C(d_.ButtonFace));
        int sx = sb.Left + 2;
        for (int w : {120, 160, sb.Right - sb.Left - 290}) {
            Nine(v, d_.StatusBarEdges.get(), {sx, sb.Top + 2, sx + w, sb.Bottom - 1}, 1);
            Text(v, sx + 6, sb.Top + 9, std::min(70, w - 12), C(d_.StatusBarEdges ? d_.StatusBarEdges->NormalColour2 : d_.ButtonText));
            sx += w + 2;
        }
        if (d_.ExtraImages) {
            const int fw = d_.ExtraImages->Image.Width() / 5, fh = d_.ExtraImages->Image.Height();
            DrawSingleFrame(v, {sb.Right - fw - 1, sb.Bottom - fh - 1, sb.Right - 1, sb.Bottom - 1},
                            d_.ExtraImages->Image, true, 5, 5);
        }
    }

    void ScrollBar(PixelView v, TRectI r, bool horz) {
        const int len = horz ? r.Width() : r.Height();
        TBitmap32 bar(horz ? len : 16, horz ? 16 : len, C(d_.ScrollbarColour));
        PixelView bv = bar.View();
        const int a = 16;
        const TDataSkinObject* track = horz ? d_.HorzScroll.get() : d_.VertScroll.get();
        const TDataSkinObject* thumb = horz ? d_.HorzScrollThumb.get() : d_.VertScrollThumb.get();
        auto along = [&](int from, int to) { return horz ? TRectI{from, 0, to, 16} : TRectI{0, from, 16, to}; };
        Nine(bv, track, along(a, len - a), 1);
        if (d_.Scrollbar) {
            DrawSingleFrame(bv, along(0, a), d_.Scrollbar->Image, false, 23, horz ? 1 : 9);
            DrawSingleFrame(bv, along(len - a, len), d_.Scrollbar->Image, false, 23, horz ? 5 : 13);
        }
        Nine(bv, thumb, along(a + (len - 2 * a) / 4, a + (len - 2 * a) / 4 + std::max(20, (len - 2 * a) / 3)), 1);
        OpaqueCopy(v, r.Left, r.Top, bar.View());
    }

    void Menu(PixelView v, int x, int y, int w, int h) {
        TRectI r{x, y, x + w, y + h};
        if (d_.MenuBackground)
            DrawNinePiece(v, r, d_.MenuBackground->Image, d_.MenuBackground->Margins(), false,
                          d_.MenuBackground->Tile != 0, 1, 1, false);
        else
            FillRect(v, r, C(d_.Menu));
        int iy = y + 3;
        const char kinds[] = {'n', 's', 'n', '-', 'd', 'n'};
        for (char k : kinds) {
            const int ih = k == '-' ? 8 : 20;
            if (iy + ih > y + h - 3) break;
            TRectI ir{x + 3, iy, x + w - 3, iy + ih};
            if (d_.MenuItem && k != '-') Nine(v, d_.MenuItem.get(), ir, k == 's' ? 4 : 1);
            if (d_.MenuItem && k == '-') {
                const auto& im = d_.MenuItem->Image;
                const TRectI fr = FrameRect(im.Width(), im.Height(), false, 5, 2);
                const int rows = std::min(ih, fr.Height());
                TBitmap32 sep(fr.Width(), rows);
                OpaqueCopy(sep.View(), -fr.Left, -(fr.Bottom - rows), im.View());
                DrawThreePiece(v, ir, sep, false, true, 1, 1, d_.MenuItem->LeftWidth, d_.MenuItem->RightWidth);
            }
            if (k != '-')
                Text(v, ir.Left + 24, ir.Top + 8, 60,
                     C(k == 's' ? d_.HilightText : k == 'd' ? d_.ButtonShadow : d_.MenuText));
            iy += ih;
        }
    }

    void MdiButtons(int x, int y) {
        for (std::size_t i = d_.SysButtons.size() - 3; i < d_.SysButtons.size(); ++i) {
            const auto& b = *d_.SysButtons[i];
            for (int f = 1; f <= 4; ++f) {
                const int fw = b.Image.Width() / 4;
                DrawSingleFrame(bm_.View(), {x, y, x + fw, y + b.Image.Height()}, b.Image, true, 4, f);
                x += fw + 2;
            }
            x += 8;
        }
    }

    void Swatches(int x, int y) {
        for (TColour c : {d_.WindowText, d_.ButtonText, d_.ButtonFace, d_.ButtonHilight, d_.ScrollbarColour,
                          d_.Buttonlight, d_.HilightText, d_.ButtonShadow, d_.Hilight, d_.ButtonDkShadow, d_.Menubar,
                          d_.MenuBarText, d_.Menu, d_.MenuText, d_.TitleTextActive, d_.TitleTextNoActive}) {
            FillRect(bm_.View(), {x, y, x + 18, y + 18}, 0x404040);
            FillRect(bm_.View(), {x + 1, y + 1, x + 17, y + 17}, C(c));
            x += 20;
        }
    }

private:
    const TSkinData& d_;
    TBitmap32 bm_;
};

int Preview(const fs::path& storeFile, const fs::path& dir) {
    TSkinStore store;
    std::string error;
    if (!store.LoadFromStream(ReadFile(storeFile), &error)) throw Exception("bad store: " + error);
    fs::create_directories(dir);
    for (int i = 0; i < store.Store().Count(); ++i) {
        TSkinData data;
        data.LoadFromStore(store, i);
        if (data.Reloading()) throw Exception("skin " + std::to_string(i) + " did not load");
        Sheet sheet(data, 900, 600);
        sheet.Window(16, 16, 580, 560, true, true);
        sheet.Window(616, 16, 268, 150, false, false);
        sheet.Window(616, 186, 268, 120, true, false);
        sheet.MdiButtons(616, 330);
        sheet.Swatches(616, 360);
        const fs::path out = dir / ("preview_" + data.SkinName + ".png");
        if (!WritePng(out.string(), sheet.Bitmap())) throw Exception("cannot write " + out.string());
        std::cout << "wrote " << out.string() << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 2 && args[0] == "write") return Write(args[1]);
        if (args.size() >= 3 && args[0] == "store")
            return Store(args[1], std::vector<fs::path>(args.begin() + 2, args.end()));
        if (args.size() == 3 && args[0] == "preview") return Preview(args[1], args[2]);
        std::cerr << "usage: skingen write DIR | store OUT A.skn B.skn C.skn | preview STORE DIR\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << "\n";
        return 1;
    }
}
