// Skinned controls: the painter base that takes a control's messages over (through the control
// object's WindowProc, or by replacing a bare window's procedure), and the scan that decides
// which control of a skinned window gets which painter (its rules: SkinPainterTable.cpp).
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/data/WinSkinData.h"
#include "skin/ui/SkinDib.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Controls.h"
#include "ui/Subclass.h"
#include "ui/WindowProcHook.h"

namespace kt {

// Where painters live: the frame's painter list, hot control and state. The frame gives its
// own; a test can hold painters on a window that has no frame.
struct TPainterHost {
    std::vector<std::unique_ptr<TSkinControlBase>>& Painters;
    TSkinControlBase*& HotControl;
    const int& FrameState;
    TWinSkinForm* Frame = nullptr;
    static TPainterHost Of(TWinSkinForm& frame) {
        return {frame.ControlPainters, frame.HotControl, frame.FrameState, &frame};
    }
};
struct TPainterSet {
    std::vector<std::unique_ptr<TSkinControlBase>> Painters;
    TSkinControlBase* HotControl = nullptr;
    int FrameState = kFrameNormal;
    TPainterHost Host() { return {Painters, HotControl, FrameState, nullptr}; }
    ~TPainterSet() {
        for (auto& p : Painters) p->Detach();
    }
};

class TSkinControl : public TSkinControlBase {
public:
    enum : unsigned { msHot = 1, msPressed = 2 };

    explicit TSkinControl(TPainterHost host) : host_(host) {}
    ~TSkinControl() override;

    virtual void AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour);
    virtual void AttachWindow(HWND window, TSkinData& data);
    void Detach() override;
    // False keeps the message from the control's own procedure.
    virtual bool BeforeMessage(ui::TMessage& m);
    virtual void AfterMessage(ui::TMessage& m);
    virtual void PaintFrame(HDC dc);
    // r: the control's window rectangle moved to (0, 0).
    virtual void Draw(HDC /*dc*/, const RECT& /*r*/) {}

    HWND Window() const override { return window_; }
    ui::TControl* Control() const override { return control_; }
    void ReapplyColours() override;
    bool Attached() const { return attached_; }
    // Its window is destroyed: the painter holds nothing more and may be freed.
    bool WindowGone() const { return destroying_ && !attached_; }
    unsigned MouseState() const { return mouse_; }

    // Sends a message to the control as the system would (through the painter's procedure).
    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return SendMessageW(window_, msg, w, l); }
    // For painters that draw the whole control: the background erase is swallowed and
    // WM_PAINT draws the client area (on the DC in wParam, or between BeginPaint and EndPaint).
    // True when the message was one of the two and is done.
    bool PaintWhole(ui::TMessage& m);

protected:
    // Drops what the painter keeps for drawing (bitmaps, brushes) once it is detached: a painter
    // whose control is gone stays in its frame's list until the frame lets go of it.
    virtual void FreeResources() { bitmap_.SetSize(0, 0); }
    void Repaint();
    void FillFace(HDC dc, const RECT& r);
    // The whole-control bitmap made w x h and filled with the face colour, to draw on.
    void StartFace(int w, int h);
    COLORREF Colour(TColour c) const;
    Pixel PixelOf(TColour c) const;
    // The painter becomes the hot control of its frame, or stops being it.
    void BecomeHot();
    void StopBeingHot();
    HFONT ControlFont() const;
    // The mouse entering (+1) or leaving (-1) the control: the toolkit's notifications, or
    // for a bare window its own moves with leave tracking.
    int HotChange(const ui::TMessage& m);
    // The element is there and has a picture.
    static bool HasImage(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

    TPainterHost host_;
    TSkinData* data_ = nullptr;
    HWND window_ = nullptr;
    ui::TWinControl* control_ = nullptr;
    unsigned mouse_ = 0;
    bool handled_ = false;
    bool enabled_ = true;
    bool focused_ = false;
    std::string caption_;
    RECT windowRect_{};
    bool recolour_ = false;
    TColor savedColour_ = 0;
    bool savedParentColour_ = false;  // the control followed its parent's colour before
    void RestoreColour();
    // Where a painter that draws the whole control composes it before one copy to the screen.
    TDibBitmap bitmap_;

public:
    void MessageProc(ui::TMessage& m);

private:
    static LRESULT CALLBACK WindowHook(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    ui::TWindowProcHook hook_;  // a control object's: MessageProc in front of its WindowProc
    ui::TSubclass subclass_;  // a bare window's: WindowHook in front of its procedure
    bool bareWindow_ = false;
    bool attached_ = false;
    bool destroying_ = false;  // WM_NCDESTROY: the window takes the procedures with it
};

// What a control's painter is, by the scan's rules.
enum class TPainterKind {
    None, Button, BitButton, SpeedButton, CheckBox, RadioButton, ComBox, Edit, StatusBar, Box, Tab, TrackBar, UpDown, Progress,
    Sizer, Header, ScrollBar, ListView, ScControl, Tab31
};
std::unique_ptr<TSkinControl> MakePainter(TPainterKind kind, TPainterHost host);

// The painter kind for a bare child window of this class (lower case) and style.
TPainterKind BareWindowKind(const std::string& lowerClass, LONG style);
// The kind a Skin3rd entry names for a class ("" when no entry starts with "class=").
std::string Skin3rdKind(const std::vector<std::string>& skin3rd, const std::string& className);

// Runs the scan over a form's components (control null) or over one control and what it owns;
// window-only painters for a bare window when form is null. New painters join host.Painters.
void ScanControls(TPainterHost host, TSkinData& data, ui::TForm* form, HWND window, ui::TControl* control);

// Registers the scan with the frame; called once at program start.
void InstallControlPainters();

}  // namespace kt
