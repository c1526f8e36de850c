// The skin manager: the thread's window hook, the rules that decide which window gets a frame,
// and the on, off and refresh commands run from its timer.
#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/ui/SkinManage.h"
#include "skin/ui/WinSkinFrameParts.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"

namespace kt {

namespace {

using frame::ClassNameOf;

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TSkinPlugins& SkinPlugins() {
    static TSkinPlugins plugins;
    return plugins;
}

TSkinManage* SkinManage() { return dynamic_cast<TSkinManage*>(SkinManager()); }

void InstallSkinManager() {
    SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
}

TSkinManage::TSkinManage() : timer_(std::make_unique<ui::TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->SetInterval(TSkinData::kCommandDelayMs);
    timer_->OnTimer = [this] { RunCommand(); };
}

TSkinManage::~TSkinManage() {
    ActivationCount = 4;
    timer_.reset();
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    while (!Forms.empty()) {
        std::unique_ptr<TWinSkinForm> frame = std::move(Forms.back());
        Forms.pop_back();
        frame->FrameState = kFrameDestroying;
        frame->Detach();
    }
    while (!PopMenus.empty()) {
        std::unique_ptr<TSkinControlBase> painter = std::move(PopMenus.back().second);
        PopMenus.pop_back();
        painter->Detach();
    }
}

void TSkinManage::AddSkinData(TSkinData* data) {
    if (std::find(SkinDatas.begin(), SkinDatas.end(), data) == SkinDatas.end()) SkinDatas.push_back(data);
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
    SkinDatas.erase(std::remove(SkinDatas.begin(), SkinDatas.end(), data), SkinDatas.end());
    for (auto& frame : Forms)
        if (frame->SkinData() == data) frame->ForgetSkinData();
    if (CommandSkinData == data) CommandSkinData = nullptr;
}

void TSkinManage::InstallHook() {
    Win9x = (GetVersion() & 0x80000000u) != 0;
    if (!hook_) hook_ = SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::ActivateForOwner(void* ownerForm) {
    active_ = true;
    ++ActivationCount;
    if (auto* form = static_cast<ui::TForm*>(ownerForm)) AttachForm(form->Handle());
}

void TSkinManage::PrepareRefresh() {
    for (auto& frame : Forms) frame->FreeTitleButtons();
}

void TSkinManage::PostCommand(int command, int intervalMs) {
    PendingCommand = command;
    timer_->SetInterval(unsigned(intervalMs));
    if (ActivationCount != 0) {
        timer_->SetEnabled(true);
    } else if (command == TSkinData::kSkinOn || command == TSkinData::kSkinOff) {
        // Before the first activation a switch is applied at once (the windows are taken as they
        // are activated): it is told at once too, or a first start would never save its choice.
        active_ = command == TSkinData::kSkinOn;
        if (CommandSkinData) CommandSkinData->DoSkinChanged();
    }
}

void TSkinManage::AddControl(void* form, void* control) {
    auto* f = static_cast<ui::TForm*>(form);
    if (!f || !f->HandleAllocated()) return;
    for (auto& frame : Forms) {
        if (frame->Window() != f->Handle()) continue;
        if (SkinPlugins().ScanControls) SkinPlugins().ScanControls(*frame, static_cast<ui::TControl*>(control));
        return;
    }
}

TWinSkinForm* TSkinManage::FrameOf(HWND window) const {
    for (auto& frame : Forms)
        if (frame->Window() == window) return frame.get();
    return nullptr;
}

bool TSkinManage::HasPopMenu(HWND window) const {
    return std::any_of(PopMenus.begin(), PopMenus.end(), [&](auto& p) { return p.first == window; });
}

ui::TForm* TSkinManage::FormOf(HWND window) {
    for (ui::TForm* form : ui::TApplication::Instance().Forms())
        if (form->HandleAllocated() && form->Handle() == window) return form;
    return nullptr;
}

bool TSkinManage::IsMdiChild(HWND window) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
    HWND parent = GetParent(window);
    return parent && Lower(ClassNameOf(parent)) == "mdiclient";
}

TSkinData* TSkinManage::SelectSkinData(HWND window) const {
    TSkinData* found = nullptr;
    for (TSkinData* d : SkinDatas) {
        auto* owner = static_cast<ui::TForm*>(d->OwnerForm());
        if (d->SkinFormtype == sfOnlyThisForm && owner && owner->HandleAllocated() && owner->Handle() == window)
            found = d;
    }
    if (found) return found;
    const std::string cls = Lower(ClassNameOf(window));
    if (cls == "tmessageform" || cls == "#32770")
        for (TSkinData* d : SkinDatas)
            if (d->SkinFormtype == sfDialog) found = d;
    if (found) return found;
    for (TSkinData* d : SkinDatas)
        if (d->SkinFormtype == sfMainform) found = d;
    if (found) return found;
    return SkinDatas.empty() ? nullptr : SkinDatas.front();
}

bool TSkinManage::AttachForm(HWND window) {
    if (!active_ || !IsWindow(window)) return false;
    if (SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1 || FrameOf(window)) return false;
    if (!ActivatingAll && IsMdiChild(window)) return false;
    RECT r{};
    GetWindowRect(window, &r);
    if (std::int64_t(r.right - r.left) * (r.bottom - r.top) == 0) return false;
    ui::TForm* form = FormOf(window);
    if (form && form->Tag == 99) return false;
    const std::string cls = ClassNameOf(window);
    if (cls == "TApplication") return false;
    bool doSkin = true;
    for (TSkinData* d : SkinDatas) {
        if (d->SkinFormtype != sfMainform) continue;
        d->CheckFormSkin(cls, doSkin);
        break;
    }
    if (!doSkin) return false;
    TSkinData* data = SelectSkinData(window);
    if (!data || data->Reloading()) return false;

    auto frame = std::make_unique<TWinSkinForm>();
    TWinSkinForm* f = frame.get();
    Forms.push_back(std::move(frame));
    if (form)
        f->AttachForm(*form, *data);
    else
        f->AttachWindow(window, *data);
    PostMessageA(window, SKM_ATTACHED, 0, kAttachedMark);
    return true;
}

bool TSkinManage::DetachForm(HWND window) {
    auto it = std::find_if(Forms.begin(), Forms.end(), [&](auto& f) { return f->Window() == window; });
    if (it == Forms.end()) return false;
    std::unique_ptr<TWinSkinForm> frame = std::move(*it);
    Forms.erase(it);
    frame->FrameState = kFrameDestroying;
    frame->Detach();
    return true;
}

void TSkinManage::AttachPopMenu(HWND window) {
    if (!active_ || SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1 || HasPopMenu(window)) return;
    TSkinData* data = SelectSkinData(window);
    if (!data || data->Reloading() || !data->HasControl(xcMainMenu)) return;
    if (!SkinPlugins().CreatePopMenuPainter) return;
    if (auto painter = SkinPlugins().CreatePopMenuPainter(window, *data))
        PopMenus.emplace_back(window, std::move(painter));
}

void TSkinManage::DetachPopMenu(HWND window) {
    auto it = std::find_if(PopMenus.begin(), PopMenus.end(), [&](auto& p) { return p.first == window; });
    if (it == PopMenus.end()) return;
    std::unique_ptr<TSkinControlBase> painter = std::move(it->second);
    PopMenus.erase(it);
    painter->Detach();
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM w, LPARAM l) {
    TSkinManage* m = SkinManage();
    HHOOK hook = m ? m->hook_ : nullptr;
    if (code < 0 || !m) return CallNextHookEx(hook, code, w, l);
    HWND window = reinterpret_cast<HWND>(w);
    switch (code) {
    case HCBT_CREATEWND: {
        const std::string cls = ClassNameOf(window);
        if (cls == "ScrollBar") {
            auto* cw = reinterpret_cast<CBT_CREATEWNDA*>(l);
            if (cw && cw->lpcs && cw->lpcs->hwndParent && m->FrameOf(cw->lpcs->hwndParent)) return 10;
        } else if (cls == "#32768") {
            m->AttachPopMenu(window);
        }
        break;
    }
    case HCBT_DESTROYWND:
        m->DetachPopMenu(window);
        m->DetachForm(window);
        break;
    case HCBT_ACTIVATE:
        if (m->ActivationCount == 0) m->ActivationCount = 1;
        m->AttachForm(window);
        break;
    default: break;
    }
    return CallNextHookEx(hook, code, w, l);
}

namespace {
void RepaintWhole(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
}  // namespace

// A skin data for one form only (sfOnlyThisForm) works on its owner form's frame alone; the
// others on every form. The steps are the same.
void TSkinManage::RunCommand() {
    TSkinData* s = CommandSkinData;
    if (!s) return;
    timer_->SetEnabled(false);
    const bool onlyOwner = s->SkinFormtype == sfOnlyThisForm;
    switch (PendingCommand) {
    case TSkinData::kSkinOn: {
        active_ = true;
        ActivatingAll = true;
        // A form may be created or freed by an attachment's side effects: walk a copy.
        const std::vector<ui::TForm*> forms = ui::TApplication::Instance().Forms();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
            if (onlyOwner && *it != s->OwnerForm()) continue;
            if ((*it)->HandleAllocated()) AttachForm((*it)->Handle());
            if (onlyOwner) break;
        }
        ActivatingAll = false;
        break;
    }
    case TSkinData::kSkinOff:
        active_ = false;
        // Last attached first; a detaching frame may change the list: look again each time.
        for (;;) {
            auto it = std::find_if(Forms.rbegin(), Forms.rend(),
                                   [&](const auto& f) { return !onlyOwner || f->SkinData() == s; });
            if (it == Forms.rend()) break;
            std::unique_ptr<TWinSkinForm> frame = std::move(*it);
            Forms.erase(std::next(it).base());
            HWND window = frame->Window();
            frame->Detach();
            frame.reset();
            RepaintWhole(window);
            if (onlyOwner) break;
        }
        break;
    case TSkinData::kSkinRefresh: {
        std::vector<TWinSkinForm*> frames;
        for (auto& frame : Forms)
            if (frame->SkinData() == s) {
                frames.push_back(frame.get());
                if (onlyOwner) break;
            }
        for (TWinSkinForm* frame : frames) {
            frame->FreeTitleButtons();
            frame->ComputeMetrics();
        }
        for (TWinSkinForm* frame : frames) frame->ReapplyColoursAndLayout();
        break;
    }
    default: break;
    }
    s->DoSkinChanged();
    CommandSkinData = nullptr;
}

void TSkinManage::SetMdiMaximized(bool value) {
    if (value == MdiMaximized) return;
    MdiMaximized = value;
    for (auto& frame : Forms)
        if (frame->MdiRole() == kMdiChild) frame->MdiMaximizedChanged(value);
}

}  // namespace kt
