#include "ui/WindowProcHook.h"

namespace kt::ui {

namespace {
// What a hook puts in the chain; found again at removal by its type.
struct THookCall {
    std::shared_ptr<TWindowProcHook::Link> link;
    void operator()(TMessage& m) const {
        // The hook may be taken out while this runs (WM_NCDESTROY): hold the link.
        const std::shared_ptr<TWindowProcHook::Link> keep = link;
        if (keep->Active)
            keep->Handler(m);
        else if (keep->Saved)
            keep->Saved(m);
    }
};
}  // namespace

void TWindowProcHook::Install(TWndMethod& chain, TWndMethod handler) {
    Remove();
    link_ = std::make_shared<Link>(Link{std::move(handler), chain, true});
    chain_ = &chain;
    chain = THookCall{link_};
}

void TWindowProcHook::Remove() {
    if (!link_) return;
    link_->Active = false;
    // The previous WindowProc back only while ours is the outermost.
    const THookCall* h = chain_ ? chain_->target<THookCall>() : nullptr;
    if (h && h->link == link_) *chain_ = link_->Saved;
    link_.reset();
    chain_ = nullptr;
}

void TWindowProcHook::CallPrevious(TMessage& m) const {
    if (link_ && link_->Saved) link_->Saved(m);
}

}  // namespace kt::ui
