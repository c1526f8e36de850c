// Pictures and rules: a control that shows a bitmap, and an etched line; the timer.
#pragma once
#include "skin/data/Bitmap32.h"
#include <functional>

#include "ui/Controls.h"

namespace kt::ui {

class TImage : public TWinControl {
    KT_CLASS(TImage, TWinControl)
public:
    explicit TImage(TComponent* owner);
    const TBitmap32& Picture() const { return picture_; }
    void SetPicture(const TBitmap32& picture);
    bool Stretch = false;      // fill the control; else drawn at its own size in the corner
    bool Transparent = false;  // magenta shows the parent's colour
    bool SetEnumProperty(std::string_view name, int value) override;

    // What a paint puts into a w x h area over background colour `face` (0x00RRGGBB).
    TBitmap32 Compose(int w, int h, Pixel face) const;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;

private:
    void Paint(HDC dc);
    TBitmap32 picture_;
};

enum class TBevelShape { bsTopLine, bsBox };

class TBevel : public TWinControl {
    KT_CLASS(TBevel, TWinControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape = TBevelShape::bsTopLine;

protected:
    void CreateParams(TCreateParams& p) override;
};

// Runs OnTimer every Interval milliseconds while Enabled, on the thread that made it (a
// thread timer of one hidden window shared by all timers). A handler may free its own timer.
class TTimer : public TComponent {
    KT_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    // 0 stops the timer until another interval is set.
    void SetInterval(unsigned ms);
    std::function<void()> OnTimer;

private:
    static LRESULT CALLBACK TimerWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void Update();
    void Tick();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    UINT_PTR id_ = 0;  // nonzero while the system timer runs
};

}  // namespace kt::ui
