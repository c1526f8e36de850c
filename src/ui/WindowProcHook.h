// A hook in front of a control object's WindowProc chain, by the same rules as TSubclass: it
// goes in as the outermost, and when taken out while another hook was put on after it, it
// stays in the chain and only passes messages on, so the later hook keeps working.
#pragma once
#include <functional>
#include <memory>

#include "ui/Controls.h"

namespace kt::ui {

class TWindowProcHook {
public:
    TWindowProcHook() = default;
    ~TWindowProcHook() { Remove(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    // handler sees each message first; it passes one on with CallPrevious.
    void Install(TWndMethod& chain, TWndMethod handler);
    void Remove();
    bool Installed() const { return link_ != nullptr; }
    // What the chain did before this hook went in.
    void CallPrevious(TMessage& m) const;
    // The hook's link (what it holds while in a chain); empty once removed.
    struct Link {
        TWndMethod Handler;
        TWndMethod Saved;
        bool Active = true;  // false once removed: the hook only passes on
    };
    std::shared_ptr<Link> CurrentLink() const { return link_; }

private:
    std::shared_ptr<Link> link_;
    TWndMethod* chain_ = nullptr;
};

}  // namespace kt::ui
