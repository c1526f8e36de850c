// The control painters: one TSkinControl descendant per kind of control. Some draw the whole
// control (push buttons, status bar, tabs, progress, up-down, header, stand-alone scroll bar),
// some let the control paint and draw over parts of it (check marks, borders, combo arrows,
// scroll bars), some only recolour (boxes). They are defined by family (Skin*Painters.cpp) and
// made through the table in SkinPainterTable.cpp; docs/design.md tells how to add one.
#pragma once
#include <string>
#include <vector>

#include "skin/data/PainterGeometry.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/WinSkinControls.h"
#include "ui/Buttons.h"

namespace kt {

class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(ui::TMessage& m) override;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;
    // The frame of the "Buttons" picture the button shows now (kt::FaceFrame's rule).
    virtual int FaceFrame();

protected:
    virtual bool TakesFocusOnPress() const { return true; }
    // Frames of the "Buttons" picture; 0: the element's own FrameCount.
    virtual int FaceCount() const { return 5; }
    // What goes on the face (the caption, centred): drawn on dc, w x h, with the font selected.
    virtual void DrawContent(HDC dc, int w, int h, int frame, const std::wstring& caption, COLORREF colour);

private:
    void PostClick();
    bool down_ = false;  // the left button went down on us and the mouse is captured
};

// A button with a glyph: the glyph and the caption laid out as the button lays them out.
class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
    bool BeforeMessage(ui::TMessage& m) override;

protected:
    int FaceCount() const override { return 0; }
    void DrawContent(HDC dc, int w, int h, int frame, const std::wstring& caption, COLORREF colour) override;
    // The glyph frame shown now: a bit button always shows its first.
    virtual int GlyphFrame(const ui::TButtonGlyph&, bool& greyed) {
        greyed = false;
        return 1;
    }
};

// A speed button keeps the focus where it is when pressed, and shows its Down state pressed.
class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;
    int FaceFrame() override;

protected:
    bool TakesFocusOnPress() const override { return false; }
    int GlyphFrame(const ui::TButtonGlyph& glyph, bool& greyed) override;

private:
    bool Pressed() const;
    bool IsDown() const;
};

class TSkinCheckBox : public TSkinControl {
public:
    TSkinCheckBox(TPainterHost host, bool radio) : TSkinControl(host), radio_(radio) {}
    bool BeforeMessage(ui::TMessage& m) override;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;
    int BoxFrame() const;
    // Where the box goes in a control of this size.
    RECT BoxRect(const RECT& r) const;

private:
    bool radio_;
    void FreeResources() override {
        TSkinControl::FreeResources();
        face_.Release();
    }
    TFaceBrush face_;  // the background behind the caption
};

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;
    int ButtonFrame() const;
};

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;

private:
    bool lookedForUpDown_ = false;
};

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
};

// A painter that draws its whole control (WM_ERASEBKGND swallowed, WM_PAINT drawn) whenever the
// skin has its picture; without it the control draws itself.
class TSkinWholePainter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(ui::TMessage& m) override { return !HasPicture() || !PaintWhole(m); }

protected:
    virtual bool HasPicture() const { return true; }
};

class TSkinStatusBar : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void Draw(HDC dc, const RECT& r) override;
};

// A status text as the system bar shows it: the part before a tab at firstAlign (0 left,
// 1 centre, 2 right), each tab moving the rest one place on.
struct TStatusTextPart {
    std::wstring Text;
    UINT Align;  // DT_LEFT, DT_CENTER or DT_RIGHT
};
std::vector<TStatusTextPart> StatusTextParts(const std::wstring& text, int firstAlign);

class TSkinTab : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void Draw(HDC dc, const RECT& r) override;

private:
    bool HasPicture() const override;
};

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(ui::TMessage& m) override;
};

class TSkinUpDown : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;

private:
    bool HasPicture() const override;
    const TDataSkinBorder* Element() const;
    void DrawFlat(int w, int h, bool horz);
    int pressedHalf_ = -1;  // 0 up or left, 1 down or right
};

class TSkinProgress : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void Draw(HDC dc, const RECT& r) override;

private:
    bool HasPicture() const override;
};

class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(ui::TMessage& m) override;
};

class TSkinHeader : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;
    // The "Headerbar" frame section i shows now (kt::SectionFrame's rule).
    int SectionFrame(int i) const;

private:
    bool HasPicture() const override;
    // The section a point of the header is on (not on a divider), or -1.
    int SectionAt(LPARAM point) const;
    int hot_ = -1, pressed_ = -1;
    bool tracking_ = false;  // leave tracking asked for a bare window
};

// The tab set: its tabs hang below the page, so the "Tabs" picture is drawn upside down.
class TSkinTab31 : public TSkinWholePainter {
public:
    using TSkinWholePainter::TSkinWholePainter;
    void AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) override;
    void Draw(HDC dc, const RECT& r) override;
    TSkinUpDown* ScrollerPainter() const { return upDown_; }

private:
    bool HasPicture() const override;
    void FreeResources() override {
        TSkinControl::FreeResources();
        tabImage_.Clear();
        upDown_ = nullptr;
        scroller_ = nullptr;
    }
    TBitmap32 tabImage_;
    TSkinUpDown* upDown_ = nullptr;  // held by the frame's painter list
    ui::TWinControl* scroller_ = nullptr;
};

// What a scroll bar shows: its numbers and which part is held down.
struct TScrollState {
    SCROLLINFO Info{};
    int Pressed = -1;  // SB_LINEUP, SB_LINEDOWN or SB_THUMBTRACK while held
    bool Enabled = true;
};
// ThumbGeometry (skin/data/PainterGeometry.h) with the scroll bar's own numbers.
TThumb ThumbGeometry(const SCROLLINFO& si, int length, int arrow, int minThumb);

// The scroll bars of a scrolling control (list box, memo, list view), drawn over its frame.
class TSkinScrollBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) override;
    void AttachWindow(HWND window, TSkinData& data) override;
    bool BeforeMessage(ui::TMessage& m) override;
    void AfterMessage(ui::TMessage& m) override;
    void PaintFrame(HDC dc) override;
    // The bars' rectangles in window coordinates (empty when not shown) and the corner square.
    void BarRects(RECT& vert, RECT& horz, RECT& corner) const;

private:
    void PaintBars(HDC dc);
    bool ScrollChanged();
    // A press on the skinned thumb: follows the mouse in a loop of its own until the button is up.
    bool DragThumb(bool horz, POINT windowPoint);
    TScrollState vert_, horz_;
};

class TSkinListView : public TSkinScrollBar {
public:
    using TSkinScrollBar::TSkinScrollBar;
    void AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) override;
};

// A stand-alone scroll bar control, drawn whole.
class TSkinScControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(ui::TMessage& m) override;
    void AfterMessage(ui::TMessage& m) override;
    void Draw(HDC dc, const RECT& r) override;

private:
    TScrollState state_;
};

}  // namespace kt
