#include "ui/ComCtrls.h"

#include <commctrl.h>

namespace kt::ui {

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* owner) : TEdit(owner) {
    width_ = 185;
    height_ = 89;
}

void TMemo::CreateParams(TCreateParams& p) {
    TEdit::CreateParams(p);
    p.style &= ~ES_AUTOHSCROLL;
    p.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 17;
    TabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "SCROLLBAR";
    p.style |= Vertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() {
    TWinControl::HandleCreated();
    SetParams(pos_, min_, max_, page_);
}

void TScrollBar::SetParams(int position, int min, int max, int page) {
    pos_ = position;
    min_ = min;
    max_ = max;
    page_ = page;
    if (!handle_) return;
    SCROLLINFO si{sizeof si, SIF_ALL, min, max, static_cast<UINT>(page), position, 0};
    SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

int TScrollBar::Position() const { return handle_ ? GetScrollPos(handle_, SB_CTL) : pos_; }

// ---------------------------------------------------------------- common controls

void TCommonControl::CreateParams(TCreateParams& p) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                 ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES |
                                                 ICC_DATE_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
    TWinControl::CreateParams(p);
}

TProgressBar::TProgressBar(TComponent* owner) : TCommonControl(owner) {
    width_ = 150;
    height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "msctls_progress32";
}

void TProgressBar::HandleCreated() {
    TCommonControl::HandleCreated();
    SendMessageW(handle_, PBM_SETRANGE32, Min, Max);
    SendMessageW(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetPosition(int v) {
    position_ = v;
    if (handle_) SendMessageW(handle_, PBM_SETPOS, v, 0);
}

TTrackBar::TTrackBar(TComponent* owner) : TCommonControl(owner) {
    width_ = 150;
    height_ = 30;
    TabStop = true;
    parentColor_ = true;
}

void TTrackBar::WndProc(TMessage& m) {
    if (!AnswerCtlColor(*this, m)) TCommonControl::WndProc(m);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "msctls_trackbar32";
    p.style |= TBS_HORZ | TBS_AUTOTICKS;
}

void TTrackBar::HandleCreated() {
    TCommonControl::HandleCreated();
    SendMessageW(handle_, TBM_SETRANGE, FALSE, MAKELPARAM(Min, Max));
    SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

int TTrackBar::Position() const {
    return handle_ ? static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0)) : position_;
}

void TTrackBar::SetPosition(int v) {
    position_ = v;
    if (handle_) SendMessageW(handle_, TBM_SETPOS, TRUE, v);
}

TUpDown::TUpDown(TComponent* owner) : TCommonControl(owner) {
    width_ = 16;
    height_ = 24;
}

void TUpDown::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "msctls_updown32";
    p.style |= UDS_ARROWKEYS;
}

void TUpDown::HandleCreated() {
    TCommonControl::HandleCreated();
    SendMessageW(handle_, UDM_SETRANGE32, Min, Max);
}

int TUpDown::Position() const {
    return handle_ ? static_cast<int>(SendMessageW(handle_, UDM_GETPOS32, 0, 0)) : 0;
}

TStatusBar::TStatusBar(TComponent* owner) : TCommonControl(owner) {
    width_ = 200;
    height_ = 20;
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "msctls_statusbar32";
    // The bar keeps the place and size it is given, like every other control here.
    p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::SetSizeGrip(bool v) {
    sizeGrip_ = v;
    if (!handle_) return;
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    SetWindowLongW(handle_, GWL_STYLE, v ? (style | SBARS_SIZEGRIP) : (style & ~SBARS_SIZEGRIP));
    InvalidateRect(handle_, nullptr, TRUE);
}

void TStatusBar::HandleCreated() {
    TCommonControl::HandleCreated();
    if (PanelWidths.empty()) {
        SendMessageW(handle_, SB_SIMPLE, TRUE, 0);
        SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(ToWide(SimpleText).c_str()));
        return;
    }
    std::vector<int> rights;
    int x = 0;
    for (int w : PanelWidths) rights.push_back(x += w);
    rights.back() = -1;
    SendMessageW(handle_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (std::size_t i = 0; i < PanelTexts.size() && i < rights.size(); ++i) {
        // The system bar centres the text after one leading tab and right-aligns it after two.
        const TAlignment a = PanelAlignment(static_cast<int>(i));
        const std::string tabs = a == TAlignment::taCenter ? "\t" : a == TAlignment::taRightJustify ? "\t\t" : "";
        SendMessageW(handle_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(ToWide(tabs + PanelTexts[i]).c_str()));
    }
}

TAlignment TStatusBar::PanelAlignment(int index) const {
    return index >= 0 && index < static_cast<int>(PanelAlignments.size()) ? PanelAlignments[index]
                                                                          : TAlignment::taLeftJustify;
}

TTabControl::TTabControl(TComponent* owner) : TCommonControl(owner) {
    width_ = 289;
    height_ = 193;
    TabStop = true;
}

void TTabControl::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "SysTabControl32";
    p.style |= WS_CLIPCHILDREN;
}

void TTabControl::HandleCreated() {
    TCommonControl::HandleCreated();
    for (std::size_t i = 0; i < Tabs.size(); ++i) {
        std::wstring text = ToWide(Tabs[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

int TTabControl::TabIndex() const { return handle_ ? static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0)) : -1; }

void TTabControl::SetTabIndex(int index) {
    if (handle_) SendMessageW(handle_, TCM_SETCURSEL, index, 0);
}

namespace {
int HeaderFormat(TAlignment a) {
    switch (a) {
        case TAlignment::taCenter: return HDF_CENTER;
        case TAlignment::taRightJustify: return HDF_RIGHT;
        default: return HDF_LEFT;
    }
}
}  // namespace

THeaderControl::THeaderControl(TComponent* owner) : TCommonControl(owner) {
    width_ = 240;
    height_ = 20;
}

void THeaderControl::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "SysHeader32";
    p.style |= HDS_HORZ | HDS_BUTTONS;
}

void THeaderControl::HandleCreated() {
    TCommonControl::HandleCreated();
    for (std::size_t i = 0; i < Sections.size(); ++i) {
        std::wstring text = ToWide(Sections[i].Text);
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = text.data();
        item.cxy = Sections[i].Width;
        item.fmt = HDF_STRING | HeaderFormat(Sections[i].Alignment);
        SendMessageW(handle_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

TListView::TListView(TComponent* owner) : TCommonControl(owner) {
    width_ = 250;
    height_ = 150;
    TabStop = true;
}

void TListView::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "SysListView32";
    p.style |= LVS_REPORT | LVS_SHOWSELALWAYS;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListView::HandleCreated() {
    TCommonControl::HandleCreated();
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        std::wstring text = ToWide(Columns[i].Text);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = text.data();
        col.cx = Columns[i].Width;
        col.fmt = HeaderFormat(Columns[i].Alignment);
        SendMessageW(handle_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }
    for (std::size_t r = 0; r < Rows.size(); ++r)
        for (std::size_t c = 0; c < Rows[r].size(); ++c) {
            std::wstring text = ToWide(Rows[r][c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            SendMessageW(handle_, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
        }
}

// ---------------------------------------------------------------- TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonControl(owner) {
    width_ = 186;
    height_ = 21;
    TabStop = true;
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = "SysDateTimePick32";
    p.style |= DTS_SHORTDATEFORMAT | (DateMode == TDTDateMode::dmUpDown ? DTS_UPDOWN : 0);
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::HandleCreated() {
    TCommonControl::HandleCreated();
    if (dateSet_) SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_));
}

SYSTEMTIME TDateTimePicker::Date() const {
    SYSTEMTIME t = date_;
    if (handle_) SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

void TDateTimePicker::SetDate(const SYSTEMTIME& date) {
    date_ = date;
    dateSet_ = true;
    if (handle_) SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_));
}

void TDateTimePicker::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        const auto* h = reinterpret_cast<const NMHDR*>(m.LParam);
        if (h && h->code == DTN_DATETIMECHANGE && OnChange) OnChange();
        m.Result = 0;
        return;
    }
    TCommonControl::WndProc(m);
}

}  // namespace kt::ui
