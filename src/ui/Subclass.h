// The one way a procedure of ours goes in front of a window's: the toolkit's windows, the
// skinned frame and its MDI client, the control painters of bare windows and the popup-menu
// painter all hold a TSubclass. It keeps the table from window (and our procedure) to the object
// the procedure works for, installs, and takes itself out only while it is still the outermost
// procedure; otherwise it stays in the chain and passes every message on to the procedure it
// replaced. docs/design.md tells in which order the hooks see a message.
#pragma once
#include <windows.h>

namespace kt::ui {

class TSubclass {
public:
    // The character set of the procedure calls: as the window is (IsWindowUnicode), or forced.
    enum class TCharset { AsWindow, Wide, Ansi };

    TSubclass() = default;
    ~TSubclass() { Remove(); }
    TSubclass(const TSubclass&) = delete;
    TSubclass& operator=(const TSubclass&) = delete;

    // Puts proc in front of the window's procedure; OwnerOf(window, proc) finds owner from then on.
    void Install(HWND window, WNDPROC proc, void* owner, TCharset charset = TCharset::AsWindow);
    // For a window whose class procedure is proc already (made by us): only the table entry;
    // CallOld goes to DefWindowProcW.
    void Adopt(HWND window, WNDPROC proc, void* owner);
    // Takes proc out again while it is the window's outermost procedure. Otherwise another
    // procedure was put in front since: proc stays in its chain and passes messages on to the
    // procedure it replaced (not when the window is being destroyed). The owner is forgotten
    // either way. True when the replaced procedure was put back.
    bool Remove(bool windowGoing = false);
    // WM_DESTROY / WM_NCDESTROY: the replaced procedure back, whatever stands in front.
    void Restore();

    bool Installed() const { return window_ != nullptr; }
    HWND Window() const { return window_; }
    WNDPROC Old() const { return old_; }
    bool Unicode() const { return unicode_; }
    // The replaced procedure with this message (DefWindowProc when there is none).
    LRESULT CallOld(UINT msg, WPARAM w, LPARAM l) const { return Call(old_, unicode_, window_, msg, w, l); }
    static LRESULT Call(WNDPROC proc, bool unicode, HWND window, UINT msg, WPARAM w, LPARAM l);

    // The object proc works for on window, or null.
    static void* OwnerOf(HWND window, WNDPROC proc);
    template <class T>
    static T* Find(HWND window, WNDPROC proc) {
        return static_cast<T*>(OwnerOf(window, proc));
    }
    // For a message that reached proc on a window whose owner is gone: what the procedure
    // proc replaced answers, when proc had to stay in the chain; else DefWindowProc (W or A).
    static LRESULT PassOn(HWND window, WNDPROC proc, UINT msg, WPARAM w, LPARAM l, bool unicodeDefault = true);

private:
    void Forget();
    HWND window_ = nullptr;
    void* owner_ = nullptr;
    WNDPROC proc_ = nullptr;
    WNDPROC old_ = nullptr;
    bool unicode_ = true;
    bool installed_ = false;  // false for an adopted window: nothing to put back
};

}  // namespace kt::ui
