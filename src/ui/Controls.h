// Controls: the visual base classes of the toolkit. A windowed control owns its HWND (made on
// demand) and sends every message through its replaceable WindowProc, so a painter can hook
// in front of the control's own handling and call on to it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Color.h"
#include "ui/Component.h"
#include "ui/Font.h"
#include "ui/Subclass.h"

namespace kt::ui {

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

// The toolkit's own notifications, sent through WindowProc.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ENABLEDCHANGED = CM_BASE + 3,
    // A navigation key (Tab, arrows, Enter, Escape) the focused control did not claim; sent to
    // the form, WParam the virtual key. Nonzero: the key was used.
    CM_DIALOGKEY = CM_BASE + 5,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21,
    // Alt+letter, sent to the form and from there to every control; WParam the character.
    // Nonzero: a control (or a hook in front of one) took it.
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_FONTCHANGED = CM_BASE + 9,
    CM_VISIBLECHANGED = CM_BASE + 4,
    // Notifications reflected from the parent to the control they concern: CN_BASE + WM_xxx.
    CN_BASE = 0xBC00,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
};

// The program's texts are in the ANSI code page; the toolkit's windows are Unicode windows,
// so that outside readers (accessibility, automation) get the system's own text handling.
std::wstring ToWide(const std::string& text);
std::string FromWide(const wchar_t* text, int length);
// A window's text as the system holds it (UTF-16), and in the program's code page.
std::wstring WindowTextW(HWND window);
std::string WindowText(HWND window);

// A hidden message-only window of class `className` (registered on first use) for the
// toolkit's own services (timers, delayed frees).
HWND CreateMessageWindow(const wchar_t* className, WNDPROC proc);

// Colours (core/Color.h) under the toolkit's names; a system colour is looked up when painting.
using kt::TColor;
using kt::clBtnFace;
using kt::clWindow;
using kt::clRed;
inline constexpr TColor clMenu = SysColor(COLOR_MENU);
inline constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
// The screen colour of a colour value (system colours looked up now).
COLORREF ColorToRGB(TColor color);

// Shows the hourglass while it lives, then the cursor that was shown before.
class TBusyCursor {
public:
    TBusyCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~TBusyCursor() { SetCursor(previous_); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    HCURSOR previous_;
};

class TWinControl;

class TControl : public TComponent {
    KT_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    virtual std::string Caption() const { return caption_; }
    virtual void SetCaption(const std::string& text);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    TColor Color() const { return color_; }
    // Setting a colour ends following the parent's (ParentColor false).
    void SetColor(TColor c);
    // A control that follows its parent's colour takes it when placed and whenever the parent's
    // colour changes (a skin recolouring the form, and back). Off by default: the classes
    // that show their parent's face (labels, check and radio boxes, group boxes) switch it on.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    // A solid brush of Color, owned by the control (remade when the colour changes).
    HBRUSH ColorBrush();
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont = true;
    std::string Hint;
    bool ShowHint = false;
    // A hint shows when the control or one of its parents asks for hints.
    bool EffectiveShowHint() const;

    virtual void Invalidate() {}
    // Called when the colour changed (own or inherited); passes it on to following children.
    virtual void ColorChanged();
    // Called when the font changed (own or inherited).
    virtual void FontChanged() {}

    std::function<void()> OnClick;

    // The layout made for `from` pixels per inch, at `to`: position and size, and a font of
    // the control's own (one it shares with its parent follows the parent's). A windowed
    // control scales its children with it.
    virtual void ChangeScale(int to, int from);
    // The resolution the control's layout is for (96 until it is scaled).
    int PixelsPerInch() const { return pixelsPerInch_; }
    // A measure designed at 96, at the control's resolution.
    int DpiScaled(int designed) const;

    // Sends a message through WindowProc.
    LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);
    TWndMethod WindowProc;

protected:
    virtual void WndProc(TMessage& m);
    virtual void DefaultHandler(TMessage& m) { m.Result = 0; }
    virtual void Click();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    int pixelsPerInch_ = 96;
    friend class TWinControl;

private:
    void TakeParentColor();
    HBRUSH brush_ = nullptr;
    COLORREF brushRgb_ = 0;
};

struct TCreateParams {
    std::string winClass;    // a system class to subclass, or empty for the toolkit's own
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
};

class TWinControl : public TControl {
    KT_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void DestroyHandle();

    const std::vector<TControl*>& Controls() const { return controls_; }
    int ControlCount() const { return static_cast<int>(controls_.size()); }

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    std::string Caption() const override;
    void SetCaption(const std::string& text) override;
    void Invalidate() override;
    void FontChanged() override;
    void ColorChanged() override;
    void ChangeScale(int to, int from) override;
    void SetFocus();
    bool Focused() const;
    // Changes the hint, also once the tip window holds the old one (empty: no tip).
    void SetHint(const std::string& hint);
    int TabOrder = 0;
    bool TabStop = false;

    // The object behind a window handle made by the toolkit, or null.
    static TWinControl* FromHandle(HWND hwnd);

    int ClientWidth();
    int ClientHeight();

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Called once the window exists (set fonts, fill lists, create children).
    virtual void HandleCreated();
    void WndProc(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    // A WM_COMMAND for this control, reflected from its parent (CN_COMMAND).
    virtual void CommandNotify(WORD /*code*/) {}
    // CM_DIALOGCHAR: the control's own "&" letter, then each child's; true when taken.
    virtual bool DialogChar(wchar_t ch);
    // The control's "&" letter was pressed with Alt; true when the control acted on it.
    virtual bool AccelPressed() { return false; }
    void UpdateBoundsFromWindow();
    void ApplyFont();
    // Hands the control's hint to the tip window of its top-level window.
    void RegisterHint();

    HWND handle_ = nullptr;
    // The window's own procedure behind ours (a system control), or DefWindowProcW (our class).
    TSubclass subclass_;
    std::vector<TControl*> controls_;

private:
    static LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    // The toolkit child a parent's notification (WM_COMMAND, WM_NOTIFY, ...) is about, or null.
    TWinControl* NotifyingChild(const TMessage& m) const;
    bool mouseInside_ = false;
    friend class TControl;
    friend class TApplication;
};

// The parent asks how to colour a static text, a check or radio box or a track bar (reflected
// as CN_CTLCOLORSTATIC or CN_CTLCOLORBTN): the control's Color behind, its font's colour for
// the text. False for any other message.
bool AnswerCtlColor(TControl& control, TMessage& m);

// A control of class T owned by `owner`, named, with its caption, placed on `parent`: the
// steps every form repeats for its labels, buttons and boxes.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int left,
               int top, int width, int height) {
    auto* c = new T(owner);
    c->Name = name;
    if (!caption.empty()) c->SetCaption(caption);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent);
    return c;
}

}  // namespace kt::ui
