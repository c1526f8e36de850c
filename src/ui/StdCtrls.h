// The standard controls, each over the Windows control of its kind.
#pragma once
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace kt::ui {

class TButton : public TWinControl {
    KT_CLASS(TButton, TWinControl, "TCustomButton", "TButtonControl")
public:
    explicit TButton(TComponent* owner);
    bool Default = false;
    bool Cancel = false;
    // Simulates a user click (as the framework's Click method does).
    void Click() override { TControl::Click(); }

protected:
    void CreateParams(TCreateParams& p) override;
    void CommandNotify(WORD code) override;
    bool AccelPressed() override;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TWinControl {
    KT_CLASS(TLabel, TWinControl, "TCustomLabel")
public:
    explicit TLabel(TComponent* owner);
    // Alt and the caption's "&" letter focus this control. Off, "&" shows as typed: most
    // labels here show data (file names, the status line).
    TWinControl* FocusControl = nullptr;
    bool ShowAccelChar = false;
    bool WordWrap = false;
    bool Transparent = false;
    TAlignment Alignment = TAlignment::taLeftJustify;
    bool SetEnumProperty(std::string_view name, int value) override;
    // A one-line label scaled is at least as tall as its font's line: fonts do not grow in
    // step with the resolution (screen fonts come in sizes).
    void ChangeScale(int to, int from) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
    bool AccelPressed() override;
};

class TGroupBox : public TWinControl {
    KT_CLASS(TGroupBox, TWinControl, "TCustomGroupBox")
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
};

// A list of strings mirrored into a list or combo box.
class TStringsControl : public TWinControl {
    KT_CLASS(TStringsControl, TWinControl)
public:
    using TWinControl::TWinControl;
    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int i) const;
    int AddItem(const std::string& s);
    // Appends many at once: the window is not redrawn per item and its storage is reserved
    // first, so a list of hundreds of thousands fills in linear time.
    void AddItems(const std::vector<std::string>& list);
    void InsertItem(int index, const std::string& s);
    void DeleteItem(int index);
    void SetItem(int index, const std::string& s);
    void ClearItems();
    int IndexOf(const std::string& s) const;  // case-insensitive, as list lookups are
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    // What the window shows for an item, when it differs from the item's text: a name the
    // program's code page cannot hold is kept under a stand-in and shown as it really is.
    std::function<std::wstring(const std::string&)> ItemDisplay;
    // The same for a display that depends on the item's place in the list (used before
    // ItemDisplay). SetItem shows an item anew.
    std::function<std::wstring(int index, const std::string& item)> ItemDisplayAt;

protected:
    void HandleCreated() override;
    std::wstring Shown(int index) const {
        const std::string& item = items_[static_cast<size_t>(index)];
        if (ItemDisplayAt) return ItemDisplayAt(index, item);
        return ItemDisplay ? ItemDisplay(item) : ToWide(item);
    }
    virtual UINT MsgAdd() const = 0;
    virtual UINT MsgInsert() const = 0;
    virtual UINT MsgDelete() const = 0;
    virtual UINT MsgReset() const = 0;
    virtual UINT MsgInitStorage() const = 0;
    std::vector<std::string> items_;
    int pendingIndex_ = -1;
};

class TComboBox : public TStringsControl {
    KT_CLASS(TComboBox, TStringsControl, "TCustomComboBox")
public:
    explicit TComboBox(TComponent* owner);
    int MaxLength = 0;
    std::string Caption() const override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::function<void()> OnChange;
    // Height of the edit part (the window is made taller to hold the drop-down list).
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void CommandNotify(WORD code) override;
    UINT MsgAdd() const override;
    UINT MsgInsert() const override;
    UINT MsgDelete() const override;
    UINT MsgReset() const override;
    UINT MsgInitStorage() const override;
};

class TListBox : public TStringsControl {
    KT_CLASS(TListBox, TStringsControl, "TCustomListBox")
public:
    explicit TListBox(TComponent* owner);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::function<void()> OnEnter, OnExit, OnDblClick;

protected:
    void CreateParams(TCreateParams& p) override;
    void CommandNotify(WORD code) override;
    void WndProc(TMessage& m) override;
    UINT MsgAdd() const override;
    UINT MsgInsert() const override;
    UINT MsgDelete() const override;
    UINT MsgReset() const override;
    UINT MsgInitStorage() const override;
};

class TEdit : public TWinControl {
    KT_CLASS(TEdit, TWinControl, "TCustomEdit")
public:
    explicit TEdit(TComponent* owner);
    int MaxLength = 0;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    std::function<void()> OnChange, OnEnter, OnExit, OnDblClick;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void CommandNotify(WORD code) override;
    void WndProc(TMessage& m) override;

private:
    bool readOnly_ = false;
};

class TCheckBox : public TWinControl {
    KT_CLASS(TCheckBox, TWinControl, "TCustomCheckBox", "TButtonControl")
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const;
    // Changing the mark by code runs OnClick, as a click does.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void CommandNotify(WORD code) override;
    bool AccelPressed() override;
    void WndProc(TMessage& m) override;

private:
    bool checked_ = false;
};

class TRadioGroup;

class TRadioButton : public TWinControl {
    KT_CLASS(TRadioButton, TWinControl, "TButtonControl")
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    // Setting the mark by code runs OnClick only when it turns on, as a click does.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void CommandNotify(WORD code) override;
    bool AccelPressed() override;
    void WndProc(TMessage& m) override;

private:
    bool checked_ = false;
    friend class TRadioGroup;
};

// A group box with one radio button per item; ItemIndex is the checked one (-1: none).
class TRadioGroup : public TGroupBox {
    KT_CLASS(TRadioGroup, TGroupBox, "TCustomRadioGroup")
public:
    explicit TRadioGroup(TComponent* owner);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return itemIndex_; }
    // Choosing by code does not run OnClick; a user's click on another item does.
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    TRadioButton* Button(int index) const;
    void SetBounds(int left, int top, int width, int height) override;
    void ChangeScale(int to, int from) override;

private:
    void ButtonClicked(TRadioButton* button);
    void ArrangeButtons();
    std::vector<std::string> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
    friend class TRadioButton;
};

}  // namespace kt::ui
