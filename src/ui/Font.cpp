#include "ui/Font.h"

#include <cstring>

#include "core/DpiScale.h"

namespace kt::ui {

TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

int TFont::PixelsPerInch() {
    static int ppi = [] {
        HDC dc = GetDC(nullptr);
        int v = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        return SanePixelsPerInch(v);
    }();
    return ppi;
}

int TFont::Size() const { return FontPointsForHeight(height_, ppi_); }

void TFont::ScaleTo(int pixelsPerInch) {
    pixelsPerInch = SanePixelsPerInch(pixelsPerInch);
    if (pixelsPerInch == ppi_) return;
    height_ = Rescale(height_, pixelsPerInch, ppi_);
    ppi_ = pixelsPerInch;
    Changed();
}

void TFont::Changed() {
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}
void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}
void TFont::SetSize(int points) {
    const int height = FontHeightForPoints(points, PixelsPerInch());
    if (height == height_ && ppi_ == PixelsPerInch()) return;
    height_ = height;
    ppi_ = PixelsPerInch();
    Changed();
}
void TFont::SetStyle(unsigned style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}
void TFont::SetColor(COLORREF color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (&other == this || SameAs(other)) return;
    name_ = other.name_;
    height_ = other.height_;
    ppi_ = other.ppi_;
    style_ = other.style_;
    color_ = other.color_;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && ppi_ == other.ppi_ && style_ == other.style_ &&
           color_ == other.color_;
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

}  // namespace kt::ui
