// The common controls (tabs, track bar, up-down, progress bar, status bar, list view, header),
// the memo and the stand-alone scroll bar: thin objects over the Windows controls of their
// kinds, so that every kind the skin engine paints exists on a real window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/StdCtrls.h"

namespace kt::ui {

// A multi-line edit with a vertical scroll bar.
class TMemo : public TEdit {
    KT_CLASS(TMemo, TEdit, "TCustomMemo")
public:
    explicit TMemo(TComponent* owner);

protected:
    void CreateParams(TCreateParams& p) override;
};

class TScrollBar : public TWinControl {
    KT_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* owner);
    bool Vertical = false;
    void SetParams(int position, int min, int max, int page = 0);
    int Position() const;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;

private:
    int pos_ = 0, min_ = 0, max_ = 100, page_ = 0;
};

// The base of the controls of comctl32: the classes are registered once before the first window.
class TCommonControl : public TWinControl {
    KT_CLASS(TCommonControl, TWinControl)
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& p) override;
};

class TProgressBar : public TCommonControl {
    KT_CLASS(TProgressBar, TCommonControl)
public:
    explicit TProgressBar(TComponent* owner);
    int Min = 0, Max = 100;
    int Position() const { return position_; }
    void SetPosition(int v);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;

private:
    int position_ = 0;
};

class TTrackBar : public TCommonControl {
    KT_CLASS(TTrackBar, TCommonControl)
public:
    explicit TTrackBar(TComponent* owner);
    int Min = 0, Max = 10;
    int Position() const;
    void SetPosition(int v);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void WndProc(TMessage& m) override;

private:
    int position_ = 0;
};

class TUpDown : public TCommonControl {
    KT_CLASS(TUpDown, TCommonControl)
public:
    explicit TUpDown(TComponent* owner);
    int Min = 0, Max = 100;
    int Position() const;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
};

class TStatusBar : public TCommonControl {
    KT_CLASS(TStatusBar, TCommonControl)
public:
    explicit TStatusBar(TComponent* owner);
    // Panel widths; empty: one simple panel showing SimpleText.
    std::vector<int> PanelWidths;
    std::vector<std::string> PanelTexts;
    // Where each panel's text sits; a panel without an entry is left-aligned.
    std::vector<TAlignment> PanelAlignments;
    TAlignment PanelAlignment(int index) const;
    std::string SimpleText;
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;

private:
    bool sizeGrip_ = true;
};

class TTabControl : public TCommonControl {
    KT_CLASS(TTabControl, TCommonControl, "TCustomTabControl")
public:
    explicit TTabControl(TComponent* owner);
    std::vector<std::string> Tabs;
    int TabIndex() const;
    void SetTabIndex(int index);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
};

class THeaderControl : public TCommonControl {
    KT_CLASS(THeaderControl, TCommonControl)
public:
    explicit THeaderControl(TComponent* owner);
    struct Section {
        std::string Text;
        int Width = 80;
        TAlignment Alignment = TAlignment::taLeftJustify;
    };
    std::vector<Section> Sections;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
};

// A report-style list view: columns with headers, rows of texts.
class TListView : public TCommonControl {
    KT_CLASS(TListView, TCommonControl, "TCustomListView")
public:
    explicit TListView(TComponent* owner);
    std::vector<THeaderControl::Section> Columns;
    std::vector<std::vector<std::string>> Rows;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
};

// A date picker over the system's: a drop-down calendar, or up-down arrows beside the date.
enum class TDTDateMode : std::uint8_t { dmComboBox = 0, dmUpDown = 1 };
static_assert(sizeof(TDTDateMode) == 1);

class TDateTimePicker : public TCommonControl {
    KT_CLASS(TDateTimePicker, TCommonControl, "TCommonCalendar")
public:
    explicit TDateTimePicker(TComponent* owner);
    TDTDateMode DateMode = TDTDateMode::dmComboBox;
    SYSTEMTIME Date() const;
    void SetDate(const SYSTEMTIME& date);
    std::function<void()> OnChange;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void WndProc(TMessage& m) override;

private:
    SYSTEMTIME date_{};
    bool dateSet_ = false;
};

}  // namespace kt::ui
