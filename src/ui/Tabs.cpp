#include "ui/Tabs.h"

#include <commctrl.h>

#include <algorithm>

namespace kt::ui {

namespace {
constexpr int kStart = 4;        // room before the first tab
constexpr int kPadding = 8;      // beside a tab's text
constexpr int kScrollerWidth = 32;
}  // namespace

// ---------------------------------------------------------------- TTabScroller

TTabScroller::TTabScroller(TComponent* owner) : TUpDown(owner) {
    width_ = kScrollerWidth;
    height_ = 16;
    Min = Max = 0;
    visible_ = false;
}

void TTabScroller::CreateParams(TCreateParams& p) {
    TUpDown::CreateParams(p);
    // No buddy and no keys of its own: the tab set takes the arrows.
    p.style = (p.style & ~UDS_ARROWKEYS) | UDS_HORZ;
}

void TTabScroller::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL) {
        if (LOWORD(m.WParam) == SB_THUMBPOSITION && OnScroll) OnScroll(Position());
        m.Result = 0;
        return;
    }
    TUpDown::WndProc(m);
}

// ---------------------------------------------------------------- TTabSet

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 21;
    TabStop = true;
    // The first component the tab set owns, as painters look for it.
    scroller_ = new TTabScroller(this);
    scroller_->Name = "Scroller";
    scroller_->OnScroll = [this](int first) { SetFirstIndex(first); };
    scroller_->SetParent(this);
}

void TTabSet::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass.clear();  // a window of the toolkit's own class, painted here
    p.style |= WS_CLIPCHILDREN;
}

void TTabSet::HandleCreated() {
    TWinControl::HandleCreated();
    Layout();
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
    tabs_ = std::move(tabs);
    if (tabIndex_ >= static_cast<int>(tabs_.size())) tabIndex_ = static_cast<int>(tabs_.size()) - 1;
    Layout();
    Invalidate();
}

void TTabSet::SetTabIndex(int index) {
    if (index == tabIndex_ || index < -1 || index >= static_cast<int>(tabs_.size())) return;
    bool allow = true;
    if (OnChange) OnChange(index, allow);
    if (!allow) return;
    tabIndex_ = index;
    ShowSelected();
    Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
    index = std::clamp(index, 0, lastFirst_);
    if (handle_ && scroller_->HandleAllocated())
        SendMessageW(scroller_->Handle(), UDM_SETPOS32, 0, index);
    if (index == firstIndex_) return;
    firstIndex_ = index;
    Invalidate();
}

void TTabSet::ShowSelected() {
    if (tabIndex_ < 0 || !handle_) return;
    if (tabIndex_ < firstIndex_) return SetFirstIndex(tabIndex_);
    // Forward until the selected tab fits whole, or it is the first one shown.
    int first = firstIndex_;
    auto right = [&](int f) {
        int x = kStart;
        for (int i = f; i <= tabIndex_; ++i) x += widths_[i];
        return x;
    };
    while (first < tabIndex_ && first < lastFirst_ && right(first) > available_) ++first;
    SetFirstIndex(first);
}

void TTabSet::Layout() {
    const int n = static_cast<int>(tabs_.size());
    widths_.assign(n, 0);
    if (!handle_) return;
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, font_.Handle());
    int total = kStart;
    for (int i = 0; i < n; ++i) {
        const std::wstring text = ToWide(tabs_[i]);
        SIZE s{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
        widths_[i] = std::max<int>(s.cx + 2 * kPadding, 20);
        total += widths_[i];
    }
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);

    RECT cr;
    GetClientRect(handle_, &cr);
    const bool scroll = total > cr.right;
    available_ = scroll ? cr.right - kScrollerWidth - 4 : cr.right;
    lastFirst_ = 0;
    if (scroll) {
        // The first tab from which the rest all fit; the last tab when even one alone is too wide.
        lastFirst_ = std::max(n - 1, 0);
        int rest = kStart;
        for (int f = n - 1; f >= 0; --f) {
            rest += widths_[f];
            if (rest > available_) break;
            lastFirst_ = f;
        }
    }
    firstIndex_ = std::clamp(firstIndex_, 0, lastFirst_);
    const int sh = std::min<int>(cr.bottom - 2, 18);
    scroller_->SetBounds(cr.right - kScrollerWidth - 1, std::max<int>((cr.bottom - sh) / 2, 0), kScrollerWidth, sh);
    if (scroller_->HandleAllocated()) {
        SendMessageW(scroller_->Handle(), UDM_SETRANGE32, 0, lastFirst_);
        SendMessageW(scroller_->Handle(), UDM_SETPOS32, 0, firstIndex_);
    }
    scroller_->SetVisible(scroll);
}

RECT TTabSet::TabRect(int index) {
    const int n = static_cast<int>(tabs_.size());
    if (!handle_ || index < firstIndex_ || index >= n || static_cast<int>(widths_.size()) != n) return {};
    int x = kStart;
    for (int i = firstIndex_; i < index; ++i) x += widths_[i];
    if (x + widths_[index] > available_ && index != firstIndex_) return {};
    RECT cr;
    GetClientRect(handle_, &cr);
    return {x, 0, x + widths_[index], index == tabIndex_ ? cr.bottom - 1 : cr.bottom - 3};
}

int TTabSet::TabAt(int x, int y) {
    const POINT p{x, y};
    for (int i = firstIndex_; i < static_cast<int>(tabs_.size()); ++i) {
        const RECT r = TabRect(i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void TTabSet::Paint(HDC target) {
    RECT cr;
    GetClientRect(handle_, &cr);
    if (cr.right <= 0 || cr.bottom <= 0) return;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bm = CreateCompatibleBitmap(target, cr.right, cr.bottom);
    HGDIOBJ oldBm = SelectObject(dc, bm);
    HBRUSH face = CreateSolidBrush(ColorToRGB(color_));
    FillRect(dc, &cr, face);
    DeleteObject(face);
    HGDIOBJ oldFont = SelectObject(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(handle_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT selected{};
    for (int i = firstIndex_; i < static_cast<int>(tabs_.size()); ++i) {
        RECT r = TabRect(i);
        if (IsRectEmpty(&r)) break;
        // The selected tab has the page's colour, the others the window colour.
        FillRect(dc, &r, GetSysColorBrush(i == tabIndex_ ? COLOR_BTNFACE : COLOR_WINDOW));
        DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_RIGHT | BF_BOTTOM);
        const std::wstring text = ToWide(tabs_[i]);
        RECT tr = r;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (i == tabIndex_) selected = r;
    }
    // The page's lower edge runs along the top, open above the selected tab.
    HBRUSH edge = GetSysColorBrush(COLOR_3DDKSHADOW);
    RECT left{0, 0, IsRectEmpty(&selected) ? cr.right : selected.left + 1, 1};
    FillRect(dc, &left, edge);
    if (!IsRectEmpty(&selected)) {
        RECT right{selected.right - 1, 0, cr.right, 1};
        FillRect(dc, &right, edge);
        if (GetFocus() == handle_) {
            InflateRect(&selected, -3, -3);
            DrawFocusRect(dc, &selected);
        }
    }
    BitBlt(target, 0, 0, cr.right, cr.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBm);
    DeleteObject(bm);
    DeleteDC(dc);
}

void TTabSet::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
            Paint(dc);
            if (!m.WParam) EndPaint(handle_, &ps);
            m.Result = 0;
            return;
        }
        case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
        case WM_KEYDOWN:
            if (m.WParam == VK_LEFT && tabIndex_ > 0) SetTabIndex(tabIndex_ - 1);
            else if (m.WParam == VK_RIGHT && tabIndex_ + 1 < static_cast<int>(tabs_.size())) SetTabIndex(tabIndex_ + 1);
            m.Result = 0;
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (TabStop && GetFocus() != handle_) ::SetFocus(handle_);
            const int i = TabAt(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
            if (i >= 0) SetTabIndex(i);
            m.Result = 0;
            return;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case CM_ENABLEDCHANGED:
            Invalidate();
            break;
        case WM_SIZE:
            TWinControl::WndProc(m);
            Layout();
            ShowSelected();
            Invalidate();
            return;
        case CM_FONTCHANGED:
            Layout();
            Invalidate();
            m.Result = 0;
            return;
        default: break;
    }
    TWinControl::WndProc(m);
}

}  // namespace kt::ui
