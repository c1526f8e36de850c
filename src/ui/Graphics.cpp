#include "ui/Graphics.h"

#include "ui/Controls.h"

namespace kt::ui {

namespace {
// Selects a font into the context for one call and puts the old one back, so the canvas's
// fonts can change or go at any time without being selected anywhere.
class FontIn {
public:
    FontIn(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, font)) {}
    ~FontIn() { SelectObject(dc_, old_); }
    FontIn(const FontIn&) = delete;
    FontIn& operator=(const FontIn&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
}  // namespace

TCanvas::TCanvas() {
    // Setting the font again ends a font given by handle.
    font_.OnChange = [this] { SetFontHandle(nullptr); };
}

TCanvas::~TCanvas() {
    if (ownFont_) DeleteObject(ownFont_);
}

void TCanvas::SetFontHandle(HFONT font) {
    if (ownFont_ == font) return;
    if (ownFont_) DeleteObject(ownFont_);
    ownFont_ = font;
}

HFONT TCanvas::FontHandle() const { return ownFont_ ? ownFont_ : font_.Handle(); }

void TCanvas::PrepareText() {
    SetTextColor(dc_, font_.Color());
    if (Brush.Style == TBrushStyle::bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(Brush.Color));
    }
}

void TCanvas::FillRect(const RECT& r) {
    if (!dc_ || Brush.Style == TBrushStyle::bsClear) return;
    HBRUSH b = CreateSolidBrush(ColorToRGB(Brush.Color));
    ::FillRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::FrameRect(const RECT& r) {
    if (!dc_) return;
    HBRUSH b = CreateSolidBrush(ColorToRGB(Brush.Color));
    ::FrameRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!dc_) return;
    FontIn f(dc_, FontHandle());
    PrepareText();
    const std::wstring wide = ToWide(text);
    ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

int TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
    if (!dc_) return 0;
    FontIn f(dc_, FontHandle());
    PrepareText();
    std::wstring wide = ToWide(text);
    return ::DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &r, format);
}

int TCanvas::TextWidth(const std::string& text) {
    if (!dc_) return 0;
    FontIn f(dc_, FontHandle());
    SIZE s{};
    const std::wstring wide = ToWide(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &s);
    return s.cx;
}

int TCanvas::TextHeight(const std::string& text) {
    if (!dc_) return 0;
    FontIn f(dc_, FontHandle());
    SIZE s{};
    const std::wstring wide = ToWide(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &s);
    return s.cy;
}

void TCanvas::MoveTo(int x, int y) {
    if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    if (!dc_) return;
    HPEN p = CreatePen(PS_SOLID, Pen.Width, ColorToRGB(Pen.Color));
    HGDIOBJ old = SelectObject(dc_, p);
    ::LineTo(dc_, x, y);
    SelectObject(dc_, old);
    DeleteObject(p);
}

}  // namespace kt::ui
