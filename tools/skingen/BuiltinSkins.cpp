#include "skingen/BuiltinSkins.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "skin/data/BmpDecoder.h"
#include "skin/data/IniFile.h"
#include "skin/data/SkinDraw.h"

namespace kt {

namespace {

struct Rgb {
    int r, g, b;
};
Pixel P(Rgb c) { return MakePixel(c.r, c.g, c.b); }
Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {int(std::lround(a.r + (b.r - a.r) * t)), int(std::lround(a.g + (b.g - a.g) * t)),
            int(std::lround(a.b + (b.b - a.b) * t))};
}
Rgb Lighter(Rgb a, double t) { return Mix(a, {255, 255, 255}, t); }
Rgb Darker(Rgb a, double t) { return Mix(a, {0, 0, 0}, t); }
// Pictures must never hold magenta by accident, or it would turn transparent.
Pixel Safe(Pixel p) { return p == kMagenta ? MakePixel(254, 0, 254) : p; }

struct Palette {
    const char* name;
    Rgb capTop, capBottom;        // active caption gradient
    Rgb capInTop, capInBottom;    // inactive caption gradient
    Rgb frame, frameIn;           // outer frame line
    Rgb face, faceDark;           // control face and its shade
    Rgb accent, accentDark;       // selection, progress, pressed states
    Rgb text, capText, capTextIn, menuText, hiText;
};

const Palette kPalettes[kBuiltinSkinCount] = {
    {"Blue", {92, 152, 236}, {28, 84, 184}, {170, 190, 220}, {128, 150, 188}, {18, 52, 120}, {96, 112, 144},
     {236, 241, 249}, {196, 208, 228}, {58, 122, 222}, {24, 70, 160}, {16, 24, 48}, {255, 255, 255},
     {232, 236, 244}, {20, 28, 52}, {255, 255, 255}},
    {"Silver", {232, 234, 240}, {168, 174, 188}, {238, 238, 240}, {204, 206, 212}, {96, 100, 112},
     {150, 152, 160}, {242, 242, 245}, {208, 210, 216}, {112, 132, 170}, {70, 86, 120}, {24, 26, 32},
     {28, 30, 40}, {110, 112, 120}, {24, 26, 32}, {255, 255, 255}},
    {"Green", {110, 190, 106}, {38, 122, 52}, {176, 206, 170}, {132, 164, 128}, {22, 80, 30}, {100, 128, 96},
     {237, 245, 235}, {198, 218, 194}, {72, 160, 74}, {30, 104, 40}, {18, 40, 20}, {255, 255, 255},
     {236, 244, 234}, {18, 40, 20}, {255, 255, 255}},
};

// ---- small drawing kit over TBitmap32 ----

struct Canvas {
    TBitmap32& bm;
    int ox = 0, oy = 0;  // origin of the current frame
    void Put(int x, int y, Rgb c) {
        x += ox;
        y += oy;
        if (x >= 0 && y >= 0 && x < bm.Width() && y < bm.Height()) bm.At(x, y) = Safe(P(c));
    }
    void Key(int x, int y) {
        x += ox;
        y += oy;
        if (x >= 0 && y >= 0 && x < bm.Width() && y < bm.Height()) bm.At(x, y) = kMagenta;
    }
    void Fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Put(x, y, c);
    }
    void VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
        for (int y = y0; y < y1; ++y) {
            const Rgb c = Mix(top, bottom, y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0);
            for (int x = x0; x < x1; ++x) Put(x, y, c);
        }
    }
    void HGradient(int x0, int y0, int x1, int y1, Rgb left, Rgb right) {
        for (int x = x0; x < x1; ++x) {
            const Rgb c = Mix(left, right, x1 - x0 > 1 ? double(x - x0) / (x1 - x0 - 1) : 0);
            for (int y = y0; y < y1; ++y) Put(x, y, c);
        }
    }
    void Frame(int x0, int y0, int x1, int y1, Rgb c) {
        for (int x = x0; x < x1; ++x) Put(x, y0, c), Put(x, y1 - 1, c);
        for (int y = y0; y < y1; ++y) Put(x0, y, c), Put(x1 - 1, y, c);
    }
    // Cuts rounded corners out of a rectangle (magenta outside) and draws its outline.
    void RoundOff(int x0, int y0, int x1, int y1, int radius, Rgb outline, bool top = true, bool bottom = true) {
        const double r = radius;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                double cx, cy;
                const bool left = x < x0 + radius, right = x >= x1 - radius;
                const bool up = top && y < y0 + radius, down = bottom && y >= y1 - radius;
                if (!((left || right) && (up || down))) continue;
                cx = left ? x0 + r - 0.5 : x1 - r - 0.5;
                cy = up ? y0 + r - 0.5 : y1 - r - 0.5;
                const double d = std::hypot(x - cx, y - cy);
                if (d > r - 0.15)
                    Key(x, y);
                else if (d > r - 1.25)
                    Put(x, y, outline);
            }
    }
    void Line(double xa, double ya, double xb, double yb, double width, Rgb c) {
        const int x0 = int(std::floor(std::min(xa, xb) - width)), x1 = int(std::ceil(std::max(xa, xb) + width));
        const int y0 = int(std::floor(std::min(ya, yb) - width)), y1 = int(std::ceil(std::max(ya, yb) + width));
        const double dx = xb - xa, dy = yb - ya, len2 = dx * dx + dy * dy;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                double t = len2 > 0 ? ((px - xa) * dx + (py - ya) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                if (std::hypot(px - (xa + t * dx), py - (ya + t * dy)) <= width / 2) Put(x, y, c);
            }
    }
    void Disc(double cx, double cy, double radius, Rgb c) {
        for (int y = int(cy - radius - 1); y <= int(cy + radius + 1); ++y)
            for (int x = int(cx - radius - 1); x <= int(cx + radius + 1); ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) Put(x, y, c);
    }
    // A filled triangle pointing in direction d (0 left, 1 right, 2 up, 3 down), centred.
    void Arrow(double cx, double cy, double size, int d, Rgb c) {
        for (int y = int(cy - size - 1); y <= int(cy + size + 1); ++y)
            for (int x = int(cx - size - 1); x <= int(cx + size + 1); ++x) {
                double u = x + 0.5 - cx, v = y + 0.5 - cy;  // u along the arrow, v across
                if (d == 0) u = -u;
                if (d == 2 || d == 3) std::swap(u, v);
                if (d == 2) u = -u;
                const double half = size / 2;
                if (u >= -half && u <= half && std::abs(v) <= (half - u) * 1.0 + 0.01) Put(x, y, c);
            }
    }
};

TBitmap32 Key(int w, int h) { return TBitmap32(w, h, kMagenta); }

// State colours of a raised face: 1 normal, 2 pressed, 3 disabled, 4 hot/focused, 5 default.
struct Face {
    Rgb top, bottom, edge;
};
Face FaceFor(const Palette& p, int state) {
    switch (state) {
        case 2: return {Darker(p.faceDark, 0.05), Lighter(p.faceDark, 0.35), p.accentDark};
        case 3: return {Lighter(p.face, 0.4), Lighter(p.faceDark, 0.5), Mix(p.faceDark, p.frameIn, 0.4)};
        case 4: return {Lighter(p.accent, 0.85), Lighter(p.accent, 0.55), p.accent};
        case 5: return {Lighter(p.face, 0.7), p.faceDark, p.accentDark};
        default: return {Lighter(p.face, 0.75), p.faceDark, Darker(p.faceDark, 0.35)};
    }
}

void RaisedFace(Canvas& c, int w, int h, int radius, const Face& f) {
    c.VGradient(0, 0, w, h, f.top, f.bottom);
    c.Frame(0, 0, w, h, f.edge);
    c.Fill(1, 1, w - 1, 2, Lighter(f.top, 0.5));
    if (radius > 0) c.RoundOff(0, 0, w, h, radius, f.edge);
}

// Frames side by side: draw(canvas, frame number from 1) for each.
TBitmap32 Strip(int fw, int fh, int count, const std::function<void(Canvas&, int)>& draw) {
    TBitmap32 bm = Key(fw * count, fh);
    for (int n = 1; n <= count; ++n) {
        Canvas c{bm, (n - 1) * fw, 0};
        draw(c, n);
    }
    return bm;
}
TBitmap32 Stacked(int fw, int fh, int count, const std::function<void(Canvas&, int)>& draw) {
    TBitmap32 bm = Key(fw, fh * count);
    for (int n = 1; n <= count; ++n) {
        Canvas c{bm, 0, (n - 1) * fh};
        draw(c, n);
    }
    return bm;
}

// ---- the window frame: one prototype window per state, cut into the four edges ----

constexpr int kCaption = 26, kBorder = 4, kBottom = 4, kCorner = 10;
constexpr int kProtoW = 120, kProtoH = 80;

TBitmap32 Window(const Palette& p, bool active) {
    TBitmap32 bm(kProtoW, kProtoH);
    Canvas c{bm};
    const Rgb top = active ? p.capTop : p.capInTop, bottom = active ? p.capBottom : p.capInBottom;
    const Rgb frame = active ? p.frame : p.frameIn;
    c.VGradient(0, 0, kProtoW, kCaption, top, bottom);
    // a soft sheen in the upper half of the caption
    for (int y = 1; y < kCaption / 2; ++y)
        for (int x = 0; x < kProtoW; ++x) {
            const Pixel q = bm.At(x, y);
            c.Put(x, y, Mix({PixelR(q), PixelG(q), PixelB(q)}, {255, 255, 255}, 0.18 * (1.0 - double(y) / (kCaption / 2))));
        }
    c.Fill(0, kCaption, kProtoW, kProtoH, bottom);
    c.Frame(0, 0, kProtoW, kProtoH, frame);
    // inner line where the client area starts
    c.Frame(kBorder - 1, kCaption - 1, kProtoW - kBorder + 1, kProtoH - kBottom + 1, Darker(bottom, 0.25));
    c.Fill(1, 1, kProtoW - 1, 2, Lighter(top, 0.45));
    c.Fill(1, 1, 2, kProtoH - 1, Lighter(bottom, 0.3));
    c.RoundOff(0, 0, kProtoW, kProtoH, kCorner, frame, true, false);
    c.Fill(kBorder, kCaption, kProtoW - kBorder, kProtoH - kBottom, p.face);  // client (not used)
    return bm;
}

TBitmap32 Cut(const TBitmap32& src, TRectI r) {
    TBitmap32 out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) out.At(x, y) = src.At(r.Left + x, r.Top + y);
    return out;
}

void Paste(TBitmap32& dst, const TBitmap32& src, int x, int y) { OpaqueCopy(dst.View(), x, y, src.View()); }

struct Edges {
    TBitmap32 left, right, top, bottom;
};

Edges FrameEdges(const Palette& p) {
    const TBitmap32 on = Window(p, true), off = Window(p, false);
    const TRectI L{0, 0, kBorder, kProtoH}, R{kProtoW - kBorder, 0, kProtoW, kProtoH},
        T{kBorder, 0, kProtoW - kBorder, kCaption}, B{kBorder, kProtoH - kBottom, kProtoW - kBorder, kProtoH};
    Edges e;
    e.left = TBitmap32(2 * kBorder, kProtoH);
    Paste(e.left, Cut(on, L), 0, 0);
    Paste(e.left, Cut(off, L), kBorder, 0);
    e.right = TBitmap32(2 * kBorder, kProtoH);
    Paste(e.right, Cut(on, R), 0, 0);
    Paste(e.right, Cut(off, R), kBorder, 0);
    e.top = TBitmap32(T.Width(), 2 * kCaption);
    Paste(e.top, Cut(on, T), 0, 0);
    Paste(e.top, Cut(off, T), 0, kCaption);
    e.bottom = TBitmap32(B.Width(), 2 * kBottom);
    Paste(e.bottom, Cut(on, B), 0, 0);
    Paste(e.bottom, Cut(off, B), 0, kBottom);
    return e;
}

// ---- title buttons ----

enum Glyph { kClose, kMax, kRestore, kMin };

void DrawGlyph(Canvas& c, Glyph g, int s, Rgb ink) {
    const double m = s * 0.3, a = m, b = s - m;
    switch (g) {
        case kClose:
            c.Line(a, a, b, b, 2.0, ink);
            c.Line(b, a, a, b, 2.0, ink);
            break;
        case kMax:
            c.Frame(int(a), int(a), int(b) + 1, int(b) + 1, ink);
            c.Fill(int(a), int(a), int(b) + 1, int(a) + 2, ink);
            break;
        case kRestore:
            c.Frame(int(a) + 2, int(a) - 1, int(b) + 2, int(b) - 1, ink);
            c.Fill(int(a) + 2, int(a) - 1, int(b) + 2, int(a), ink);
            c.Fill(int(a), int(a) + 2, int(b), int(b) + 2, Mix(ink, ink, 0));
            c.Frame(int(a), int(a) + 2, int(b), int(b) + 2, ink);
            break;
        case kMin:
            c.Fill(int(a), int(b) - 1, int(b) + 1, int(b) + 1, ink);
            break;
    }
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive (the title button painter's order).
TBitmap32 TitleButton(const Palette& p, Glyph g, int s, bool danger) {
    return Strip(s, s, 4, [&](Canvas& c, int n) {
        Rgb top = Lighter(p.capTop, 0.35), bottom = p.capBottom, edge = Darker(p.capBottom, 0.35);
        Rgb ink = p.capText;
        if (danger) top = {232, 120, 100}, bottom = {196, 52, 36}, edge = {120, 30, 20}, ink = {255, 255, 255};
        if (n == 2) std::swap(top, bottom), top = Darker(top, 0.15);
        if (n == 3) top = Lighter(top, 0.35), bottom = Lighter(bottom, 0.25);
        if (n == 4) top = p.capInTop, bottom = p.capInBottom, edge = Darker(p.capInBottom, 0.2), ink = p.capTextIn;
        c.VGradient(0, 0, s, s, top, bottom);
        c.Frame(0, 0, s, s, edge);
        c.Fill(1, 1, s - 1, 2, Lighter(top, 0.4));
        c.RoundOff(0, 0, s, s, 4, edge);
        DrawGlyph(c, g, s, ink);
    });
}

// ---- the description ----

std::string Rgb3(Rgb c) {
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

}  // namespace

const char* BuiltinSkinName(int index) {
    return index >= 0 && index < kBuiltinSkinCount ? kPalettes[index].name : "";
}

std::vector<SkinEntry> MakeBuiltinSkin(int index) {
    const Palette& p = kPalettes[std::clamp(index, 0, kBuiltinSkinCount - 1)];
    std::vector<std::pair<std::string, TBitmap32>> pics;
    auto add = [&](const std::string& name, TBitmap32 bm) { pics.emplace_back(name, std::move(bm)); };

    Edges e = FrameEdges(p);
    add("frameleft.bmp", std::move(e.left));
    add("frameright.bmp", std::move(e.right));
    add("frametop.bmp", std::move(e.top));
    add("framebottom.bmp", std::move(e.bottom));

    // Caption text background: a pill, 2 frames stacked (active, inactive).
    add("titleback.bmp", Stacked(40, 18, 2, [&](Canvas& c, int n) {
            const Rgb base = n == 1 ? p.capBottom : p.capInBottom;
            c.VGradient(0, 0, 40, 18, Darker(base, 0.12), Lighter(base, 0.1));
            c.RoundOff(0, 0, 40, 18, 8, Darker(base, 0.3));
        }));

    constexpr int kBtn = 18;
    add("btnclose.bmp", TitleButton(p, kClose, kBtn, true));
    add("btnmax.bmp", TitleButton(p, kMax, kBtn, false));
    add("btnrestore.bmp", TitleButton(p, kRestore, kBtn, false));
    add("btnmin.bmp", TitleButton(p, kMin, kBtn, false));

    // MDI buttons in the menu bar: 12 cells of 16 (minimise, restore, close; 4 states each).
    {
        TBitmap32 mdi = Key(12 * 16, 14);
        const Glyph glyphs[3] = {kMin, kRestore, kClose};
        for (int k = 0; k < 3; ++k)
            for (int s = 1; s <= 4; ++s) {
                Canvas c{mdi, (4 * k + s - 1) * 16, 0};
                const Face f = FaceFor(p, s == 3 ? 4 : s == 4 ? 3 : s);
                RaisedFace(c, 16, 14, 3, f);
                Canvas g{mdi, (4 * k + s - 1) * 16 + 1, 0};
                DrawGlyph(g, glyphs[k], 14, s == 4 ? p.faceDark : p.text);
            }
        add("mdicontrols.bmp", std::move(mdi));
    }

    // Push buttons: 5 frames, rounded.
    add("buttons.bmp", Strip(24, 22, 5, [&](Canvas& c, int n) { RaisedFace(c, 24, 22, 3, FaceFor(p, n)); }));
    // Check boxes: unchecked, checked, disabled unchecked, disabled checked.
    add("checkbox.bmp", Strip(13, 13, 4, [&](Canvas& c, int n) {
            const bool off = n > 2, checked = n % 2 == 0;
            c.VGradient(0, 0, 13, 13, off ? p.face : Rgb{255, 255, 255}, off ? p.faceDark : Lighter(p.faceDark, 0.5));
            c.Frame(0, 0, 13, 13, off ? p.faceDark : p.accentDark);
            if (checked) {
                const Rgb ink = off ? Darker(p.faceDark, 0.2) : p.accentDark;
                c.Line(3, 6.5, 5.5, 9.5, 2.0, ink);
                c.Line(5.5, 9.5, 10, 3.5, 2.0, ink);
            }
        }));
    add("radio.bmp", Strip(13, 13, 4, [&](Canvas& c, int n) {
            const bool off = n > 2, checked = n % 2 == 0;
            c.Disc(6.5, 6.5, 6.4, off ? p.faceDark : p.accentDark);
            c.Disc(6.5, 6.5, 5.3, off ? p.face : Rgb{255, 255, 255});
            if (checked) c.Disc(6.5, 6.5, 2.8, off ? Darker(p.faceDark, 0.2) : p.accent);
        }));

    // Combo box button, 4 states; its arrow comes from ExtraImages.
    add("combobutton.bmp", Strip(17, 20, 4, [&](Canvas& c, int n) {
            RaisedFace(c, 17, 20, 0, FaceFor(p, n == 4 ? 4 : n));
        }));
    // Sunken edge of edit-like controls, 4 states.
    add("sunkedge.bmp", Strip(16, 16, 4, [&](Canvas& c, int n) {
            const Rgb edge = n == 4 ? p.accent : n == 3 ? p.faceDark : Darker(p.faceDark, 0.3);
            c.Fill(0, 0, 16, 16, {255, 255, 255});
            c.Frame(0, 0, 16, 16, edge);
            c.Frame(1, 1, 15, 15, n == 3 ? p.face : Lighter(p.faceDark, 0.4));
        }));
    // Arrows for the combo button (normal, pressed, disabled, hot) and the size grip.
    add("extra.bmp", Strip(12, 12, 5, [&](Canvas& c, int n) {
            if (n == 5) {
                for (int k = 0; k < 3; ++k)
                    for (int j = 0; j <= k; ++j) {
                        c.Fill(9 - 3 * j, 9 - 3 * (k - j), 11 - 3 * j, 11 - 3 * (k - j), p.faceDark);
                        c.Put(9 - 3 * j, 9 - 3 * (k - j), {255, 255, 255});
                    }
                return;
            }
            c.Arrow(6, 6, 7, 3, n == 3 ? p.faceDark : n == 4 ? p.accentDark : p.text);
        }));
    add("groupbox.bmp", Strip(24, 24, 2, [&](Canvas& c, int n) {
            const Rgb line = n == 1 ? Darker(p.faceDark, 0.1) : p.faceDark;
            c.Fill(0, 0, 24, 24, p.face);
            c.Frame(0, 0, 24, 24, line);
            c.Frame(1, 1, 23, 23, Lighter(p.face, 0.6));
            c.RoundOff(0, 0, 24, 24, 5, line);
        }));
    add("toolbar.bmp", Strip(22, 22, 5, [&](Canvas& c, int n) {
            if (n == 1) {
                c.VGradient(0, 0, 22, 22, Lighter(p.face, 0.5), p.face);
                return;
            }
            RaisedFace(c, 22, 22, 3, FaceFor(p, n));
        }));
    add("statusbar.bmp", Strip(16, 16, 3, [&](Canvas& c, int n) {
            c.VGradient(0, 0, 16, 16, p.face, Lighter(p.faceDark, 0.3));
            if (n == 1) {
                c.Fill(0, 0, 16, 1, p.faceDark), c.Fill(0, 0, 1, 16, p.faceDark);
                c.Fill(0, 15, 16, 16, {255, 255, 255}), c.Fill(15, 0, 16, 16, {255, 255, 255});
            } else if (n == 2) {
                c.Fill(0, 0, 16, 1, {255, 255, 255}), c.Fill(0, 0, 1, 16, {255, 255, 255});
                c.Fill(0, 15, 16, 16, p.faceDark), c.Fill(15, 0, 16, 16, p.faceDark);
            }
        }));
    add("header.bmp", Strip(20, 18, 5, [&](Canvas& c, int n) {
            const Face f = FaceFor(p, n);
            c.VGradient(0, 0, 20, 18, f.top, f.bottom);
            c.Fill(0, 17, 20, 18, f.edge);
            c.Fill(19, 3, 20, 15, f.edge);
            c.Fill(0, 3, 1, 15, {255, 255, 255});
        }));
    // Menu bar: 2 frames stacked (active, inactive).
    add("menubar.bmp", Stacked(60, 20, 2, [&](Canvas& c, int n) {
            c.VGradient(0, 0, 60, 20, Lighter(n == 1 ? p.face : p.faceDark, 0.5), p.face);
            c.Fill(0, 19, 60, 20, p.faceDark);
        }));
    // Menu items: 1 normal (transparent), 2 separator, 3 disabled, 4 selected, 5 spare.
    add("menuitem.bmp", Strip(30, 20, 5, [&](Canvas& c, int n) {
            if (n == 2) {
                c.Fill(2, 9, 28, 10, p.faceDark);
                c.Fill(2, 10, 28, 11, {255, 255, 255});
            } else if (n == 4 || n == 5) {
                c.VGradient(0, 0, 30, 20, Lighter(p.accent, 0.35), p.accent);
                c.Frame(0, 0, 30, 20, p.accentDark);
                c.RoundOff(0, 0, 30, 20, 3, p.accentDark);
            }
        }));
    add("menuback.bmp", [&] {
        TBitmap32 bm(40, 40);
        Canvas c{bm};
        c.Fill(0, 0, 40, 40, Lighter(p.face, 0.6));
        c.HGradient(0, 0, 24, 40, p.faceDark, Lighter(p.face, 0.6));
        c.Frame(0, 0, 40, 40, Darker(p.faceDark, 0.4));
        c.Frame(1, 1, 39, 39, {255, 255, 255});
        c.Frame(2, 2, 38, 38, Lighter(p.face, 0.6));
        return bm;
    }());
    // Scroll bar arrows: 23 frames (left 1-4, right 5-8, up 9-12, down 13-16: normal, pressed,
    // hot, disabled; 17-23 corner and grip pieces).
    add("scrollbar.bmp", Strip(16, 16, 23, [&](Canvas& c, int n) {
            if (n > 16) {
                c.Fill(0, 0, 16, 16, p.face);
                return;
            }
            const int dir = (n - 1) / 4, state = (n - 1) % 4;
            const Face f = FaceFor(p, state == 1 ? 2 : state == 2 ? 4 : state == 3 ? 3 : 1);
            RaisedFace(c, 16, 16, 0, f);
            c.Arrow(8, 8, 6, dir, state == 3 ? p.faceDark : p.text);
        }));
    add("hscroll.bmp", Strip(24, 16, 4, [&](Canvas& c, int n) {
            c.VGradient(0, 0, 24, 16, n == 2 ? p.faceDark : Lighter(p.faceDark, 0.3), Lighter(p.face, 0.5));
            c.Fill(0, 0, 24, 1, p.faceDark);
        }));
    add("vscroll.bmp", Strip(16, 24, 4, [&](Canvas& c, int n) {
            c.HGradient(0, 0, 16, 24, n == 2 ? p.faceDark : Lighter(p.faceDark, 0.3), Lighter(p.face, 0.5));
            c.Fill(0, 0, 1, 24, p.faceDark);
        }));
    auto thumb = [&](bool horz) {
        const int w = horz ? 24 : 16, h = horz ? 16 : 24;
        return Strip(w, h, 3, [&, w, h, horz](Canvas& c, int n) {
            const Rgb a = n == 2 ? p.accentDark : n == 3 ? Lighter(p.accent, 0.3) : p.accent;
            const Rgb b = n == 2 ? p.accent : Darker(a, 0.25);
            if (horz)
                c.VGradient(0, 0, w, h, Lighter(a, 0.3), b);
            else
                c.HGradient(0, 0, w, h, Lighter(a, 0.3), b);
            c.Frame(0, 0, w, h, p.accentDark);
            c.RoundOff(0, 0, w, h, 4, p.accentDark);
            for (int k = -1; k <= 1; ++k)  // grip lines
                if (horz)
                    c.Fill(w / 2 + 3 * k, 5, w / 2 + 3 * k + 1, h - 5, Lighter(a, 0.6));
                else
                    c.Fill(5, h / 2 + 3 * k, w - 5, h / 2 + 3 * k + 1, Lighter(a, 0.6));
        });
    };
    add("hthumb.bmp", thumb(true));
    add("vthumb.bmp", thumb(false));
    // Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 spare; open at the bottom.
    add("tabs.bmp", Strip(30, 22, 5, [&](Canvas& c, int n) {
            const Rgb top = n == 2 ? Rgb{255, 255, 255} : n == 4 ? Lighter(p.accent, 0.7) : Lighter(p.face, 0.3);
            const Rgb bottom = n == 2 ? p.face : p.faceDark;
            c.VGradient(0, 0, 30, 22, top, bottom);
            c.Fill(0, 0, 1, 22, Darker(p.faceDark, 0.3));
            c.Fill(29, 0, 30, 22, Darker(p.faceDark, 0.3));
            c.Fill(0, 0, 30, 1, Darker(p.faceDark, 0.3));
            if (n == 2) c.Fill(1, 1, 29, 3, p.accent);
            c.RoundOff(0, 0, 30, 22, 4, Darker(p.faceDark, 0.3), true, false);
        }));
    add("tabborder.bmp", [&] {
        TBitmap32 bm(30, 30);
        Canvas c{bm};
        c.Fill(0, 0, 30, 30, p.face);
        c.Frame(0, 0, 30, 30, Darker(p.faceDark, 0.3));
        c.Frame(1, 1, 29, 29, {255, 255, 255});
        return bm;
    }());
    add("progress.bmp", Strip(30, 16, 2, [&](Canvas& c, int n) {
            if (n == 1) {
                c.VGradient(0, 0, 30, 16, p.faceDark, Lighter(p.face, 0.6));
                c.Frame(0, 0, 30, 16, Darker(p.faceDark, 0.3));
            } else {
                c.VGradient(0, 0, 30, 16, Lighter(p.accent, 0.5), p.accentDark);
                c.Fill(0, 1, 30, 2, Lighter(p.accent, 0.7));
            }
            c.RoundOff(0, 0, 30, 16, 3, n == 1 ? Darker(p.faceDark, 0.3) : p.accentDark);
        }));
    add("progresschunk.bmp", [&] {
        TBitmap32 bm = Key(8, 12);
        Canvas c{bm};
        c.VGradient(0, 0, 7, 12, Lighter(p.accent, 0.5), p.accentDark);
        return bm;
    }());
    // Up-down buttons, 8 frames: first button 1-4, second 5-8 (normal, pressed, disabled, hot).
    auto updown = [&](int w, int h) {
        return Strip(w, h, 8, [&, w, h](Canvas& c, int n) {
            const int s = (n - 1) % 4 + 1;
            RaisedFace(c, w, h, 2, FaceFor(p, s == 4 ? 4 : s));
        });
    };
    auto updownGlyphs = [&](int w, int h, int dirFirst, int dirSecond) {
        return Strip(w, h, 8, [&, w, h](Canvas& c, int n) {
            const int s = (n - 1) % 4 + 1;
            c.Arrow(w / 2.0, h / 2.0, std::min(w, h) * 0.45, n <= 4 ? dirFirst : dirSecond,
                    s == 3 ? p.faceDark : s == 4 ? p.accentDark : p.text);
        });
    };
    add("updownh.bmp", updown(16, 16));
    add("updownhglyph.bmp", updownGlyphs(16, 16, 0, 1));
    add("updownv.bmp", updown(16, 11));
    add("updownvglyph.bmp", updownGlyphs(16, 11, 2, 3));

    // ---- description ----
    std::ostringstream ini;
    const Rgb menuBack = Lighter(p.face, 0.6);
    ini << "; " << p.name << ": a built-in skin of Ketravo, drawn by tools/skingen.\r\n";
    ini << "[TitlebarSkin]\r\nSkinName=" << p.name << "\r\n";
    ini << "[Personality]\r\n";
    const int topPiece = kCorner + 6;
    ini << "Left=frameleft.bmp\r\nLeftTopHeight=" << kCaption + 4 << "\r\nLeftBotHeight=" << kBottom + 4
        << "\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=1\r\n";
    ini << "Right=frameright.bmp\r\nRightTopHeight=" << kCaption + 4 << "\r\nRightBotHeight=" << kBottom + 4
        << "\r\nRightFrame=2\r\nRightStretch=1\r\nRightTrans=1\r\n";
    ini << "Top=frametop.bmp\r\nTopTopHeight=" << topPiece << "\r\nTopBotHeight=" << topPiece
        << "\r\nTopFrame=2\r\nTopStretch=1\r\nTopTrans=1\r\n";
    ini << "Bottom=framebottom.bmp\r\nBottomTopHeight=4\r\nBottomBotHeight=4\r\nBottomFrame=2\r\nBottomStretch=1\r\n"
           "BottomTrans=0\r\n";
    ini << "TextBack=titleback.bmp\r\nTextShift=24\r\nTextShiftVert=0\r\nTextRightClip=70\r\nTextAlignment=0\r\n"
           "Textbackground=1\r\nTXTBackleft=8\r\nTXTBackRight=8\r\n";
    ini << "ActiveTextR=" << p.capText.r << "\r\nActiveTextG=" << p.capText.g << "\r\nActiveTextB=" << p.capText.b
        << "\r\nInActiveTextR=" << p.capTextIn.r << "\r\nInActiveTextG=" << p.capTextIn.g
        << "\r\nInActiveTextB=" << p.capTextIn.b << "\r\n";
    ini << "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n";
    ini << "[Fonts]\r\nFontHeight=14\r\n";
    ini << "[Colours]\r\n"
        << "WindowText=" << Rgb3(p.text) << "\r\nButtonText=" << Rgb3(p.text) << "\r\nButtonFace=" << Rgb3(p.face)
        << "\r\nButtonHilight=255 255 255\r\nScrollbar=" << Rgb3(Lighter(p.faceDark, 0.3))
        << "\r\nButtonlight=" << Rgb3(Lighter(p.face, 0.5)) << "\r\nHilightText=" << Rgb3(p.hiText)
        << "\r\nButtonShadow=" << Rgb3(p.faceDark) << "\r\nHilight=" << Rgb3(p.accent)
        << "\r\nButtonDkShadow=" << Rgb3(Darker(p.faceDark, 0.4)) << "\r\nMenubar=" << Rgb3(p.face)
        << "\r\nMenuBarText=" << Rgb3(p.menuText) << "\r\nMenu=" << Rgb3(menuBack) << "\r\nMenuText="
        << Rgb3(p.menuText) << "\r\nTitleTextActive=" << Rgb3(p.capText) << "\r\nTitleTextNoActive="
        << Rgb3(p.capTextIn) << "\r\n";
    const int y = (kCaption - kBtn) / 2;
    // Title buttons, measured from the right: close, maximise or restore, minimise; the
    // system menu (window icon) at the left.
    ini << "[Button0]\r\nAction=0\r\nAlign=1\r\nXcoord=" << kBorder + kBtn + 2 << "\r\nYcoord=" << y
        << "\r\nVisibility=0\r\nVisibility1=0\r\nframe=4\r\nButtonImage=btnclose.bmp\r\n";
    ini << "[Button1]\r\nAction=1\r\nAlign=1\r\nXcoord=" << kBorder + 2 * (kBtn + 2) << "\r\nYcoord=" << y
        << "\r\nVisibility=2\r\nVisibility1=6\r\nframe=4\r\nButtonImage=btnmax.bmp\r\n";
    ini << "[Button2]\r\nAction=1\r\nAlign=1\r\nXcoord=" << kBorder + 2 * (kBtn + 2) << "\r\nYcoord=" << y
        << "\r\nVisibility=1\r\nVisibility1=6\r\nframe=4\r\nButtonImage=btnrestore.bmp\r\n";
    ini << "[Button3]\r\nAction=2\r\nAlign=1\r\nXcoord=" << kBorder + 3 * (kBtn + 2) << "\r\nYcoord=" << y
        << "\r\nVisibility=8\r\nVisibility1=8\r\nframe=4\r\nButtonImage=btnmin.bmp\r\n";
    ini << "[Button4]\r\nAction=3\r\nAlign=0\r\nXcoord=" << kBorder + 2 << "\r\nYcoord=" << (kCaption - 16) / 2
        << "\r\nVisibility=0\r\nVisibility1=0\r\n";
    ini << "[MDICONTROLS]\r\nImage=mdicontrols.bmp\r\n";
    ini << "[Buttons]\r\nBitmap=buttons.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\nBottomHeight=4\r\n"
           "Trans=1\r\nTile=0\r\nCheckButton=checkbox.bmp\r\nRadioButton=radio.bmp\r\n"
        << "NormalColour2=" << Rgb3(p.text) << "\r\nMouseOverColour2=" << Rgb3(p.accentDark)
        << "\r\nPressedColour2=" << Rgb3(p.text) << "\r\n";
    auto element = [&](const char* section, const char* image, int l, int t, int r, int b, int trans, int tile,
                       const std::string& extra = "") {
        ini << "[" << section << "]\r\nImage=" << image << "\r\nStyle=0\r\nLeftWidth=" << l << "\r\nTopHeight=" << t
            << "\r\nRightWidth=" << r << "\r\nBottomHeight=" << b << "\r\nTrans=" << trans << "\r\nTile=" << tile
            << "\r\n" << extra;
    };
    const std::string textColours = "NormalColour2=" + Rgb3(p.text) + "\r\nMouseOverColour2=" + Rgb3(p.accentDark) +
                                    "\r\nPressedColour2=" + Rgb3(p.text) + "\r\n";
    element("ComboButton", "combobutton.bmp", 3, 3, 3, 3, 0, 0);
    element("SunkEdge", "sunkedge.bmp", 2, 2, 2, 2, 0, 0);
    element("ExtraImages", "extra.bmp", 0, 0, 0, 0, 1, 0);
    element("GroupBoxEdge", "groupbox.bmp", 6, 6, 6, 6, 1, 0);
    element("Toolbars", "toolbar.bmp", 4, 4, 4, 4, 1, 0);
    element("StatusBarEdges", "statusbar.bmp", 2, 2, 2, 2, 0, 0, "NormalColour2=" + Rgb3(p.text) + "\r\n");
    element("Headerbar", "header.bmp", 3, 3, 3, 3, 0, 0, textColours);
    element("MenuItem", "menuitem.bmp", 4, 4, 4, 4, 1, 0);
    element("MenuBackground", "menuback.bmp", 4, 4, 4, 4, 0, 0);
    element("Scrollbar", "scrollbar.bmp", 0, 0, 0, 0, 0, 0);
    element("HorzScroll", "hscroll.bmp", 2, 2, 2, 2, 0, 0);
    element("VertScroll", "vscroll.bmp", 2, 2, 2, 2, 0, 0);
    element("HorzScrollThumb", "hthumb.bmp", 5, 4, 5, 4, 1, 0, "FrameCount=3\r\n");
    element("VertScrollThumb", "vthumb.bmp", 4, 5, 4, 5, 1, 0, "FrameCount=3\r\n");
    ini << "[Tabs]\r\nImage=tabs.bmp\r\nBorder=tabborder.bmp\r\nLeftWidth=5\r\nTopHeight=5\r\nRightWidth=5\r\n"
           "BottomHeight=2\r\nTrans=1\r\nTile=0\r\n"
        << "NormalColour2=" << Rgb3(p.text) << "\r\nMouseOverColour2=" << Rgb3(p.accentDark) << "\r\n";
    ini << "[Progress]\r\nBitmap=progress.bmp\r\nChunk=progresschunk.bmp\r\nStyle=0\r\nLeftWidth=3\r\n"
           "TopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\nTrans=1\r\nTile=0\r\n";
    ini << "[UpDown.Horz]\r\nImage=updownh.bmp\r\nGlyphImage=updownhglyph.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\n"
           "RightWidth=3\r\nBottomHeight=3\r\nTrans=1\r\nTile=0\r\n";
    ini << "[UpDown.Vert]\r\nImage=updownv.bmp\r\nGlyphImage=updownvglyph.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\n"
           "RightWidth=3\r\nBottomHeight=3\r\nTrans=1\r\nTile=0\r\n";

    std::vector<SkinEntry> out;
    const std::string text = ini.str();
    out.push_back({LowerAscii(p.name) + ".ini", std::vector<std::uint8_t>(text.begin(), text.end())});
    std::sort(pics.begin(), pics.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [name, bm] : pics) out.push_back({name, EncodeBmp24(bm)});
    return out;
}

}  // namespace kt
