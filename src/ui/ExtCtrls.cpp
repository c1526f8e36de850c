#include "ui/ExtCtrls.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <map>

#include "ui/Application.h"

namespace kt::ui {

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* owner) : TWinControl(owner) {
    width_ = 105;
    height_ = 105;
}

void TImage::SetPicture(const TBitmap32& picture) {
    picture_ = picture;
    Invalidate();
}

bool TImage::SetEnumProperty(std::string_view name, int value) {
    if (name == "Transparent") Transparent = value != 0;
    else if (name == "Stretch") Stretch = value != 0;
    else return false;
    Invalidate();
    return true;
}

void TImage::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass.clear();  // a window of the toolkit's own class, painted here
}

TBitmap32 TImage::Compose(int w, int h, Pixel face) const {
    TBitmap32 out(w < 0 ? 0 : w, h < 0 ? 0 : h, face);
    const int pw = picture_.Width(), ph = picture_.Height();
    if (out.Empty() || picture_.Empty()) return out;
    // Nearest-pixel sampling: the transparent colour stays exact at every scale.
    const int dw = Stretch ? w : std::min(w, pw), dh = Stretch ? h : std::min(h, ph);
    for (int y = 0; y < dh; ++y) {
        const int sy = Stretch ? int(std::int64_t(y) * ph / h) : y;
        for (int x = 0; x < dw; ++x) {
            const int sx = Stretch ? int(std::int64_t(x) * pw / w) : x;
            const Pixel p = picture_.At(sx, sy) & kRgbMask;
            if (!(Transparent && p == kMagenta)) out.At(x, y) = p;
        }
    }
    return out;
}

void TImage::Paint(HDC dc) {
    RECT r;
    GetClientRect(handle_, &r);
    const COLORREF c = ColorToRGB(parent_ ? parent_->Color() : color_);
    const TBitmap32 frame = Compose(r.right, r.bottom, MakePixel(GetRValue(c), GetGValue(c), GetBValue(c)));
    if (frame.Empty()) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = frame.Width();
    bi.bmiHeader.biHeight = -frame.Height();  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, frame.Width(), frame.Height(), 0, 0, 0, frame.Height(), frame.Row(0), &bi,
                      DIB_RGB_COLORS);
}

void TImage::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            Paint(dc);
            EndPaint(handle_, &ps);
            m.Result = 0;
            return;
        }
        default: break;
    }
    TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TWinControl(owner) {
    width_ = 50;
    height_ = 2;
}

void TBevel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "STATIC";
    p.style |= Shape == TBevelShape::bsTopLine ? SS_ETCHEDHORZ : SS_ETCHEDFRAME;
}

// ---------------------------------------------------------------- TTimer

namespace {
// The running timers by id; a timer leaves it when stopped or freed, so a late WM_TIMER of a
// freed timer finds nothing.
std::map<UINT_PTR, TTimer*>& Timers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

LRESULT CALLBACK TTimer::TimerWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_TIMER) {
        auto it = Timers().find(static_cast<UINT_PTR>(w));
        if (it != Timers().end()) it->second->Tick();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, w, l);
}

namespace {
HWND TimerWindow(WNDPROC proc) {
    static HWND window = CreateMessageWindow(L"KtTimerWindow", proc);
    return window;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Update(); }

TTimer::~TTimer() {
    enabled_ = false;
    Update();
}

void TTimer::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    Update();
}

void TTimer::Update() {
    if (id_) {
        KillTimer(TimerWindow(TimerWndProc), id_);
        Timers().erase(id_);
        id_ = 0;
    }
    if (!enabled_ || interval_ == 0) return;
    static UINT_PTR next = 0;
    do next = next % 0xFFFF + 1;
    while (Timers().count(next));
    if (!SetTimer(TimerWindow(TimerWndProc), next, interval_, nullptr)) return;
    id_ = next;
    Timers()[id_] = this;
}

void TTimer::Tick() {
    // A copy runs: the handler may free this timer, and its own closure with it.
    std::function<void()> handler = OnTimer;
    if (!handler) return;
    try {
        handler();
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
}

}  // namespace kt::ui
