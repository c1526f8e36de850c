// The tab set: a strip of tabs hanging below a page, drawn by the control itself, with a
// scroller that shows when the tabs do not fit.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/ComCtrls.h"

namespace kt::ui {

// The tab set's scroller: a horizontal up-down whose position is the first tab shown.
class TTabScroller : public TUpDown {
    KT_CLASS(TTabScroller, TUpDown, "TScroller")
public:
    explicit TTabScroller(TComponent* owner);
    std::function<void(int)> OnScroll;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
};

class TTabSet : public TWinControl {
    KT_CLASS(TTabSet, TWinControl)
public:
    explicit TTabSet(TComponent* owner);

    const std::vector<std::string>& Tabs() const { return tabs_; }
    void SetTabs(std::vector<std::string> tabs);
    // -1: no tab selected. A change goes through OnChange first, which may refuse it.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    // The first tab shown; the tabs before it are scrolled out at the left.
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int index);
    std::function<void(int newTab, bool& allowChange)> OnChange;

    // Where tab `index` is drawn, in client coordinates; empty when it is scrolled out or does
    // not fit. The selected tab reaches lower than the others: it joins the page above.
    RECT TabRect(int index);
    int TabAt(int x, int y);
    TTabScroller* Scroller() const { return scroller_; }

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    void WndProc(TMessage& m) override;

private:
    void Layout();
    void Paint(HDC dc);
    // Moves the first tab so that the selected one is shown whole.
    void ShowSelected();
    TTabScroller* scroller_;
    std::vector<std::string> tabs_;
    std::vector<int> widths_;  // of each tab, with the font of the last layout
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    int lastFirst_ = 0;      // the highest first tab the scroller offers
    int available_ = 0;      // width left for tabs beside the scroller
};

}  // namespace kt::ui
