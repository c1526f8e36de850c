#include "ui/StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "core/Errors.h"

namespace kt::ui {

namespace {
// Entering and leaving a control are moves of the focus inside its window: a switch to
// another window (or a message box) and back is neither.
bool FocusMovesWithin(HWND self, WPARAM other) {
    HWND o = reinterpret_cast<HWND>(other);
    return o && GetAncestor(o, GA_ROOT) == GetAncestor(self, GA_ROOT);
}

void CheckIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw EListError::IndexOutOfBounds(index);
}

}  // namespace

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    width_ = 75;
    height_ = 25;
    TabStop = true;
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "BUTTON";
    p.style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) Click();
}

bool TButton::AccelPressed() {
    SetFocus();
    Click();
    return true;
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
    width_ = 65;
    height_ = 13;
    parentColor_ = true;
}

bool TLabel::SetEnumProperty(std::string_view name, int value) {
    if (name == "Transparent") {
        Transparent = value != 0;
        Invalidate();
        return true;
    }
    return false;
}

void TLabel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "STATIC";
    if (!ShowAccelChar) p.style |= SS_NOPREFIX;
    switch (Alignment) {
        case TAlignment::taCenter: p.style |= SS_CENTER; break;
        case TAlignment::taRightJustify: p.style |= SS_RIGHT; break;
        case TAlignment::taLeftJustify: p.style |= WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP; break;
    }
}

void TLabel::ChangeScale(int to, int from) {
    if (to == from) return;
    TWinControl::ChangeScale(to, from);
    if (WordWrap) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_.Handle());
    TEXTMETRICW tm{};
    const bool measured = GetTextMetricsW(dc, &tm) != 0;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (measured && tm.tmHeight > height_) SetBounds(left_, top_, width_, tm.tmHeight);
}

bool TLabel::AccelPressed() {
    if (!ShowAccelChar || !FocusControl || !FocusControl->Enabled() || !FocusControl->Visible()) return false;
    FocusControl->SetFocus();
    return true;
}

void TLabel::WndProc(TMessage& m) {
    if (!AnswerCtlColor(*this, m)) TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 105;
    parentColor_ = true;
}

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "BUTTON";
    p.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TGroupBox::WndProc(TMessage& m) {
    // The system's frame paints only its line and caption: the face is ours to fill.
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
        m.Result = 1;
        return;
    }
    if (!AnswerCtlColor(*this, m)) TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TStringsControl

const std::string& TStringsControl::Item(int i) const {
    CheckIndex(i, Count());
    return items_[static_cast<size_t>(i)];
}

int TStringsControl::AddItem(const std::string& s) {
    items_.push_back(s);
    if (handle_) SendMessageW(handle_, MsgAdd(), 0, reinterpret_cast<LPARAM>(Shown(Count() - 1).c_str()));
    return Count() - 1;
}

void TStringsControl::AddItems(const std::vector<std::string>& list) {
    items_.reserve(items_.size() + list.size());
    const bool bulk = handle_ && list.size() > 1;
    if (bulk) {
        std::size_t bytes = 0;
        for (const std::string& s : list) bytes += s.size() + 1;
        SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
        SendMessageA(handle_, MsgInitStorage(), list.size(), static_cast<LPARAM>(bytes));
    }
    for (const std::string& s : list) AddItem(s);
    if (bulk) {
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void TStringsControl::InsertItem(int index, const std::string& s) {
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    items_.insert(items_.begin() + index, s);
    if (handle_) SendMessageW(handle_, MsgInsert(), index, reinterpret_cast<LPARAM>(Shown(index).c_str()));
}

void TStringsControl::DeleteItem(int index) {
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
    if (handle_) SendMessageW(handle_, MsgDelete(), index, 0);
}

void TStringsControl::SetItem(int index, const std::string& s) {
    CheckIndex(index, Count());
    int selected = ItemIndex();
    DeleteItem(index);
    InsertItem(index, s);
    if (selected == index) SetItemIndex(index);
}

void TStringsControl::ClearItems() {
    items_.clear();
    pendingIndex_ = -1;
    if (handle_) SendMessageW(handle_, MsgReset(), 0, 0);
}

int TStringsControl::IndexOf(const std::string& s) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        const std::string& a = items_[i];
        if (a.size() == s.size() &&
            std::equal(a.begin(), a.end(), s.begin(), [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
            }))
            return static_cast<int>(i);
    }
    return -1;
}

void TStringsControl::HandleCreated() {
    TWinControl::HandleCreated();
    if (items_.size() > 1) SendMessageA(handle_, MsgInitStorage(), items_.size(), 0);
    for (int i = 0; i < Count(); ++i) SendMessageW(handle_, MsgAdd(), 0, reinterpret_cast<LPARAM>(Shown(i).c_str()));
    if (pendingIndex_ >= 0) SetItemIndex(pendingIndex_);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TStringsControl(owner) {
    width_ = 145;
    height_ = 21;
    TabStop = true;
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "COMBOBOX";
    p.style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    p.height = DpiScaled(200);  // room for the drop-down list
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_) SetWindowPos(handle_, nullptr, left, top, width, DpiScaled(200), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::HandleCreated() {
    TStringsControl::HandleCreated();
    if (MaxLength > 0) SendMessageW(handle_, CB_LIMITTEXT, MaxLength, 0);
    if (!caption_.empty() && pendingIndex_ < 0) SetWindowTextW(handle_, ToWide(caption_).c_str());
}

std::string TComboBox::Caption() const {
    // The edit part shows the picked item as the list does; the item's own text stands for it.
    if (handle_ && ItemDisplay) {
        const int i = ItemIndex();
        if (i >= 0 && i < Count()) {
            if (WindowTextW(handle_) == Shown(i)) return items_[static_cast<size_t>(i)];
        }
    }
    return TWinControl::Caption();
}

int TComboBox::ItemIndex() const {
    if (!handle_) return pendingIndex_;
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    pendingIndex_ = index;
    if (handle_) SendMessageW(handle_, CB_SETCURSEL, index, 0);
    if (index >= 0 && index < Count()) caption_ = items_[static_cast<size_t>(index)];
}

void TComboBox::CommandNotify(WORD code) {
    if (code == CBN_SELCHANGE) {
        // The edit part still shows the old text while the notification runs.
        int i = ItemIndex();
        if (i >= 0 && i < Count()) SetWindowTextW(handle_, Shown(i).c_str());
        Click();
        if (OnChange) OnChange();
    } else if (code == CBN_EDITCHANGE) {
        if (OnChange) OnChange();
    }
}

UINT TComboBox::MsgAdd() const { return CB_ADDSTRING; }
UINT TComboBox::MsgInsert() const { return CB_INSERTSTRING; }
UINT TComboBox::MsgDelete() const { return CB_DELETESTRING; }
UINT TComboBox::MsgReset() const { return CB_RESETCONTENT; }
UINT TComboBox::MsgInitStorage() const { return CB_INITSTORAGE; }

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TStringsControl(owner) {
    width_ = 121;
    height_ = 97;
    TabStop = true;
}

void TListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "LISTBOX";
    p.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

int TListBox::ItemIndex() const {
    if (!handle_) return pendingIndex_;
    return static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    pendingIndex_ = index;
    if (handle_) SendMessageW(handle_, LB_SETCURSEL, index, 0);
}

void TListBox::CommandNotify(WORD code) {
    if (code == LBN_SELCHANGE) Click();
    else if (code == LBN_DBLCLK && OnDblClick) OnDblClick();
}

void TListBox::WndProc(TMessage& m) {
    if (m.Msg == WM_SETFOCUS && OnEnter && FocusMovesWithin(handle_, m.WParam)) OnEnter();
    if (m.Msg == WM_KILLFOCUS && OnExit && FocusMovesWithin(handle_, m.WParam)) OnExit();
    TStringsControl::WndProc(m);
}

UINT TListBox::MsgAdd() const { return LB_ADDSTRING; }
UINT TListBox::MsgInsert() const { return LB_INSERTSTRING; }
UINT TListBox::MsgDelete() const { return LB_DELETESTRING; }
UINT TListBox::MsgReset() const { return LB_RESETCONTENT; }
UINT TListBox::MsgInitStorage() const { return LB_INITSTORAGE; }

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 21;
    TabStop = true;
}

void TEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "EDIT";
    p.style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::HandleCreated() {
    TWinControl::HandleCreated();
    if (MaxLength > 0) SendMessageW(handle_, EM_LIMITTEXT, MaxLength, 0);
}

void TEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (handle_) SendMessageW(handle_, EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TEdit::CommandNotify(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

void TEdit::WndProc(TMessage& m) {
    if (m.Msg == WM_SETFOCUS && OnEnter && FocusMovesWithin(handle_, m.WParam)) OnEnter();
    if (m.Msg == WM_KILLFOCUS && OnExit && FocusMovesWithin(handle_, m.WParam)) OnExit();
    if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) {
        TWinControl::WndProc(m);  // the edit selects the word first, as usual
        OnDblClick();
        return;
    }
    TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    width_ = 97;
    height_ = 17;
    TabStop = true;
    parentColor_ = true;
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "BUTTON";
    p.style |= BS_CHECKBOX;
}

void TCheckBox::HandleCreated() {
    TWinControl::HandleCreated();
    SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const { return checked_; }

void TCheckBox::SetChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    if (handle_) SendMessageW(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCheckBox::CommandNotify(WORD code) {
    if (code == BN_CLICKED) SetChecked(!checked_);
}

bool TCheckBox::AccelPressed() {
    SetFocus();
    SetChecked(!checked_);
    return true;
}

void TCheckBox::WndProc(TMessage& m) {
    if (!AnswerCtlColor(*this, m)) TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    width_ = 113;
    height_ = 17;
    TabStop = true;
    parentColor_ = true;
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "BUTTON";
    // The marks are kept here, not by the system, so a group can set them without clicks.
    p.style |= BS_RADIOBUTTON;
}

void TRadioButton::HandleCreated() {
    TWinControl::HandleCreated();
    SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    if (handle_) SendMessageW(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!v) return;
    if (auto* group = dynamic_cast<TRadioGroup*>(parent_)) group->ButtonClicked(this);
    Click();
}

void TRadioButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) SetChecked(true);
}

bool TRadioButton::AccelPressed() {
    SetFocus();
    SetChecked(true);
    return true;
}

void TRadioButton::WndProc(TMessage& m) {
    if (!AnswerCtlColor(*this, m)) TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TRadioGroup

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
    for (TRadioButton* b : buttons_) delete b;
    buttons_.clear();
    items_ = items;
    for (const std::string& text : items_) {
        auto* b = new TRadioButton(this);
        b->SetCaption(text);
        b->SetParent(this);
        buttons_.push_back(b);
    }
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    if (itemIndex_ >= 0) {
        updating_ = true;
        buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
        updating_ = false;
    }
    ArrangeButtons();
}

TRadioButton* TRadioGroup::Button(int index) const {
    CheckIndex(index, static_cast<int>(buttons_.size()));
    return buttons_[static_cast<size_t>(index)];
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        throw EListError::IndexOutOfBounds(index);
    updating_ = true;
    itemIndex_ = index;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TRadioButton* b = buttons_[i];
        if (static_cast<int>(i) == index) {
            b->checked_ = false;  // so SetChecked sets the mark without a second look
            b->SetChecked(true);
        } else if (b->checked_) {
            b->checked_ = false;
            if (b->HandleAllocated()) SendMessageW(b->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    updating_ = false;
}

void TRadioGroup::ButtonClicked(TRadioButton* button) {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TRadioButton* b = buttons_[i];
        if (b == button) {
            if (!updating_) itemIndex_ = static_cast<int>(i);
        } else if (b->checked_) {
            b->checked_ = false;
            if (b->HandleAllocated()) SendMessageW(b->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    if (!updating_) Click();
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = columns < 1 ? 1 : columns;
    ArrangeButtons();
}

void TRadioGroup::SetBounds(int left, int top, int width, int height) {
    TGroupBox::SetBounds(left, top, width, height);
    ArrangeButtons();
}

void TRadioGroup::ChangeScale(int to, int from) {
    TGroupBox::ChangeScale(to, from);
    ArrangeButtons();  // its own rule, at the new resolution
}

void TRadioGroup::ArrangeButtons() {
    // Items run down each column, the columns share the width below the caption.
    const int count = static_cast<int>(buttons_.size());
    if (count == 0) return;
    const int rows = (count + columns_ - 1) / columns_;
    const int top = DpiScaled(16), side = DpiScaled(8), line = DpiScaled(17);
    const int colWidth = (width_ - 2 * side) / columns_;
    const int rowHeight = rows > 0 ? std::max(line, (height_ - top - DpiScaled(4)) / rows) : line;
    for (int i = 0; i < count; ++i) {
        const int col = i / rows, row = i % rows;
        buttons_[static_cast<size_t>(i)]->SetBounds(side + col * colWidth, top + row * rowHeight,
                                                    colWidth - DpiScaled(4), line);
    }
}

}  // namespace kt::ui
