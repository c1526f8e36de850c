// A font description with the handle made from it on demand.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace kt::ui {

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) { Assign(other); }
    TFont& operator=(const TFont& other) { Assign(other); return *this; }
    ~TFont();

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }   // pixels, negative: character height
    int Size() const;                         // points
    // The resolution Height is for: 96 for a height given in pixels as designed, the
    // screen's for one given in points (SetSize), and whatever ScaleTo made it.
    int PixelsPerInchOf() const { return ppi_; }
    // The same font at another resolution (a form scaled to the screen's); the height
    // follows, a size in points stays.
    void ScaleTo(int pixelsPerInch);
    unsigned Style() const { return style_; }
    COLORREF Color() const { return color_; }

    void SetName(const std::string& name);
    void SetHeight(int height);
    void SetSize(int points);
    void SetStyle(unsigned style);
    void SetColor(COLORREF color);
    void Assign(const TFont& other);

    HFONT Handle() const;
    bool SameAs(const TFont& other) const;

    std::function<void()> OnChange;

    static int PixelsPerInch();

private:
    void Changed();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int ppi_ = 96;
    unsigned style_ = 0;
    COLORREF color_ = 0;  // clWindowText is drawn as black on the default scheme
    mutable HFONT handle_ = nullptr;
};

}  // namespace kt::ui
