// The one skin manager: watches the thread's windows (a CBT hook), attaches a skinned frame to
// each top-level window and a painter to each popup menu, and runs the skin data components'
// commands (switch skin on or off) after a short delay.
#pragma once
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "skin/ui/WinSkinForm.h"

namespace kt {

// ---- The one manager.
class TSkinManage : public ISkinManager {
public:
    TSkinManage();
    ~TSkinManage() override;

    // ISkinManager
    void AddSkinData(TSkinData* data) override;
    void RemoveSkinData(TSkinData* data) override;
    void InstallHook() override;
    void ActivateForOwner(void* ownerForm) override;
    void PrepareRefresh() override;
    void SetCommandSkinData(TSkinData* data) override { CommandSkinData = data; }
    void PostCommand(int command, int intervalMs) override;
    void AddControl(void* form, void* control) override;

    bool AttachForm(HWND window);
    bool DetachForm(HWND window);
    void AttachPopMenu(HWND window);
    void DetachPopMenu(HWND window);
    TSkinData* SelectSkinData(HWND window) const;
    void RunCommand();
    void SetMdiMaximized(bool value);

    TWinSkinForm* FrameOf(HWND window) const;
    bool HasPopMenu(HWND window) const;
    static ui::TForm* FormOf(HWND window);
    static bool IsMdiChild(HWND window);

    bool Active() const { return active_; }
    std::vector<std::unique_ptr<TWinSkinForm>> Forms;
    std::vector<std::pair<HWND, std::unique_ptr<TSkinControlBase>>> PopMenus;
    std::vector<TSkinData*> SkinDatas;
    bool ActivatingAll = false;
    int ActivationCount = 0;
    bool MdiMaximized = false;
    HWND MdiClient = nullptr;
    int PendingCommand = 0;
    TSkinData* CommandSkinData = nullptr;
    bool Win9x = false;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM w, LPARAM l);
    std::unique_ptr<ui::TTimer> timer_;
    HHOOK hook_ = nullptr;
    bool active_ = false;
};

// The manager, once a skin data component has made it (null before).
TSkinManage* SkinManage();
// Makes the skin data components create this manager; the program calls it once at start.
void InstallSkinManager();

}  // namespace kt
