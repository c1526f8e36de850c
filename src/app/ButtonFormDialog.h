// The button bar: the program's main window. It holds the folder settings, the loaded scheme,
// the ten button slots, the target window and the hot key.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/CaptureKey.h"
#include "app/core/TypingMessages.h"
#include "app/core/SchemeSnapshot.h"
#include "config/BarLink.h"
#include "config/FolderSettings.h"
#include "config/VtRegistryComponent.h"
#include "ui/FolderFollow.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"
#include "ui/Forms.h"
#include "ui/Graphics.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace kt {

class StrokeTyping;
class UserKeyWatch;
class Win32TypingTarget;
struct TypingStrokes;

// The bar; the configuration window reaches it only through BarLink.
class TButtonForm : public ui::TForm, public BarLink {
    KT_CLASS(TButtonForm, ui::TForm)
public:
    explicit TButtonForm(ui::TComponent* owner);
    ~TButtonForm() override;

    // Controls as laid out at design time.
    ui::TGroupBox* GroupBox1;
    ui::TLabel* Label1;
    ui::TComboBox* ComboBoxFilename;
    ui::TLabel* LabelMessage;
    ui::TButton* CreateButton;      // hidden anchor: the origin of the scheme buttons
    ui::TButton* ButtonTestHandle;  // hidden, unused
    TVtRegistry* VtRegistry1;

    // The menu of the notification icon, also the right-click menu of the bar and of the
    // configuration window.
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem *ShowConfigForm1, *HideConfigForm1, *N3, *ShowButtonForm1, *HideButtonForm1, *N2, *Exit1;
    // The icon's registration, in its 88-byte form; kept for the whole run.
    NOTIFYICONDATAA IconData{};
    bool IconAdded = false;
    // Clicks on the icon arrive as this message; its second parameter is the mouse message.
    static constexpr UINT kTrayIconMessage = WM_USER + 1;

    // The loaded scheme.
    std::vector<std::string> ListBoxCaption, ListBoxText, ListBoxSave;
    std::vector<bool> ListBoxKeys;  // per text: keys in braces ("T02")
    int RadioGroupEOL = -1;  // -1 none, 0 "No Action", 1 "Enter", 2 "Tab"

    // Folder settings, expanded (in memory they always carry the drive).
    TFolderSettings Folders;
    std::string BaseKey;
    std::string Filename = "button.dat";

    // The pause between key strokes in milliseconds ("Options\Typing", "KeyDelay"); 0 types
    // each text in one burst.
    int KeyDelay = 0;

    // The capture key ("Options\Typing", "CaptureHotKey"), held while the bar is shown.
    CaptureKey CaptureWith;
    bool ChangeCaptureKey(const CaptureKey& key) override;
    void SuspendCaptureKey(bool suspended) override;

    HWND TargetWindow = nullptr;
    DWORD TargetThread = 0;  // the target's thread when it was captured
    int ButtonCount = 0;
    std::array<ui::TButton*, 10> RuntimeButton{};
    std::string SkinFile;
    int SkinIndex = 999;
    std::string DefaultSkinFile = "default.skn";
    // The skin engine's components: the skin shown and the three skins carried in the program.
    std::unique_ptr<TSkinData> SkinData1;
    std::unique_ptr<TSkinStore> SkinStore1;

    // The skin choice; the configuration window's "Skins" menu calls these after it has set
    // SkinIndex (0 to 2, 3, 4).
    void SkinClick() override;
    void SkinNoneClick() override;
    void ButtonLoadSkinClick() override;
    void SkinMenuCheck() override;
    void SkinData1SkinChanged();

    // The rest of BarLink.
    ui::TForm& BarWindow() override { return *this; }
    ui::TPopupMenu* TrayMenu() override { return PopupMenu1; }
    const TFolderSettings& BarFolders() const override { return Folders; }
    void SetSchemeFileName(const std::string& fileName) override;
    void SchemeRenamed(const std::string& oldFile, const std::string& newFile) override;
    void SetKeyDelay(int milliseconds) override { KeyDelay = milliseconds; }
    void SetSkinIndex(int index) override { SkinIndex = index; }

    void FormCreate();
    void FormClose(ui::TCloseAction& action);
    void FormDestroy();
    void RegistrySave();

    // Start-up steps that belong to the notification icon, the scheme chooser and buttons,
    // the skin choice and the hot key; each is filled in by its own module.
    // The icon is added on a thread of its own from the moment the bar's window exists, and
    // is in place before the bar first shows (FinishNotificationIcon, which everything that
    // reads IconAdded calls first).
    void SetUpNotificationIcon();
    void FinishNotificationIcon();
    void RemoveNotificationIcon();
    void LoadComboBoxFilename() override;
    void ChooseSkinAtStart();
    void RegisterTypingHotKey();
    void LoadButtonAssignment() override;

    // Scheme buttons.
    void ComboBoxFilenameClick() override;
    void CreateButtonClick();
    void ResetButtons();
    // Lays the bar out for its instruction, its font and its buttons' captions, as measured
    // now: a label that needs more lines grows and moves what is below it; buttons widen
    // (all one width) to the longest caption up to a third of the work area, and a caption
    // still too long ends with "..." and shows whole as its button's hint.
    void ArrangeBar();
    // A new font for the bar measures its texts anew.
    void FontChanged() override;
    // The plain load: a file name relative to the current folder; no buttons, nothing shown.
    void LoadButton(const std::string& fileName);

    // Notification icon and its menu.
    void TrayIconMessage(LPARAM mouseMessage);
    void ShowConfigForm1Click();
    void HideConfigForm1Click();
    void ShowButtonForm1Click();
    void HideButtonForm1Click();
    void Exit1Click();
    void Show1FormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected);
    void HideConfigForm1DrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected);
    void ShowButtonFormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected);
    void HideButtonFormDrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected);
    void Exit1DrawItem(ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected);
    void Exit1MeasureItem(ui::TMenuItem* sender, ui::TCanvas& canvas, int& width, int& height);
    // The grey strip down the menu's left edge with the product name written upward.
    void DrawBar(ui::TCanvas& canvas);

    // Typing.
    void RuntimeButtonClick(ui::TButton* sender);
    void SendmessageText(const std::string& text);
    // Types button k's keys-in-braces text; one that does not parse types nothing and says why.
    void SendKeysText(int k);
    // Types a plan into the target: in one burst, or `timed`, stroke by stroke on the timer.
    void TypePlan(TypingStrokes plan, bool timed);
    // Scheme buttons click without activating the bar, so the target keeps the focus.
    void HookSchemeButton(ui::TButton* button);
    void ForgetSchemeButton(ui::TButton* button);
    // The pointer is on `window` (a mouse message of the program's thread).
    void PointerOn(HWND window);

    static constexpr int kBaseHeight = 140;

    // The scheme folder may be shared: the bar watches it, and the chooser and the buttons
    // follow what anyone saves there (BarFolderWatch.cpp).
    void StartFolderWatch();
    void SchemeFolderChanged();
    void FollowSchemeFolder();
    void NoteSchemeMissing(const std::string& path) { schemeFollow_.Shown(path, SchemeSnapshot{}); }
    // The buttons of the scheme at `path`, made from its content as read.
    void ShowSchemeText(const std::string& path, const std::string& content);
    // The scheme shown is no longer in the folder: the bar shows the folder's first scheme and
    // stores it as the current one. What to tell the user; nothing when the folder has none.
    std::optional<std::string> FallBackToFirstScheme(const std::string& gonePath);

protected:
    void WndProc(ui::TMessage& m) override;
    void HandleCreated() override;
    bool DialogKey(WORD key) override;

private:
    // The chooser's list selects the item its edit part names, so the arrows start there.
    void SelectChosenItem();
    bool IsSchemeButton(HWND hwnd);
    bool SchemeButtonUnderCursor();
    void SetTakesActivation(bool takes);
    // Each scheme button's whole caption (the button may show it shortened).
    std::array<std::string, 10> schemeCaptions_{};
    int baseWidth_ = 204;  // the bar's width as placed: buttons widen it, never narrow it
    bool arranging_ = false;
    bool laidOut_ = false;  // the controls ArrangeBar moves exist
    ui::TButton* pressedButton_ = nullptr;
    std::vector<HWND> refusingActivation_;
    bool typing_ = false;
    // A click's handler runs (its message box may be open): buttons removed meanwhile are
    // hidden and deleted only once it has returned, never under its feet.
    int clicking_ = 0;
    std::vector<ui::TButton*> retired_;
    static constexpr UINT kDeleteRetiredMessage = WM_APP + 0x34;
    void DeleteRetiredButtons();
    // Per text of the scheme shown: read in part (a line longer than the reader takes).
    std::vector<std::size_t> cutTexts_;
    // A slowed-down typing in progress: one key stroke per tick of the typing timer, into
    // the target captured when it started.
    std::unique_ptr<StrokeTyping> strokeTyping_;
    std::unique_ptr<Win32TypingTarget> strokeTarget_;
    void TypeNextStroke();
    void EndStrokeTyping(int outcome, TypingStop why);
    void ReportTypingOutcome(int outcome);
    // While a slow typing runs: the user's keys stop it (Esc is kept from the target).
    std::unique_ptr<UserKeyWatch> keyWatch_;
    int userStop_ = -1;  // the TypingStop of a key the user pressed, -1 none
    static constexpr UINT kUserStopMessage = WM_APP + 0x33;
    // The capture key's registration follows the bar: held while it shows, let go while it
    // is closed, and while the typing dialog (where it is chosen) is open.
    bool captureKeyHeld_ = false;
    bool captureFailureShown_ = false;
    int captureSuspended_ = 0;
    void HoldCaptureKey();
    void ReleaseCaptureKey();
    void CaptureForeground();
    // Messages of the typing wait while a menu or a dropped list is open (a box over them
    // would leave the display answering nothing) and while the user holds a modifier (a
    // shortcut on its way, such as the capture key). One box at a time, and the same words
    // never twice at once: a held or repeated capture key asks again while its box shows.
    std::vector<std::string> pendingMessages_;
    std::string shownMessage_;
    void TellUser(const std::string& text);
    void ShowPendingMessages();
    void StartNotificationIcon();
    // The quiet moment after a change before the folder is read (40 ms), and the re-reads.
    ui::FolderFollow folderFollow_{40};
    std::unique_ptr<SteadySchemeRead> schemeRead_;
    SchemeFileFollow schemeFollow_;
    bool following_ = false;
    bool followAgain_ = false;
    bool folderChanged_ = false;  // a change came since the chooser was compared with the folder
    int heldRounds_ = 0;  // steady reads that failed in a row
    std::vector<std::string> followNotices_;  // told once a step of the follow is over
    void FollowSchemeFolderStep();
    void SchemeGoneNotice(const std::string& path);
    HANDLE iconThread_ = nullptr;  // adding the notification icon

    void CreateTrayMenu();
    void CreateSkinComponents();
    // Loads a skin file; on failure says so, naming the file, and returns false (the skin
    // shown before stays).
    bool LoadSkinFile(const std::string& path);
    void ReadFolderSettings(const std::string& start);
    void CheckSchemeFilename();
    void RestorePlacement();
};

extern TButtonForm* ButtonForm;

}  // namespace kt
