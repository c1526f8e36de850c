// The scheme chooser and the scheme buttons of the bar.
#include <algorithm>

#include "app/ButtonFormDialog.h"
#include "app/core/BarLayout.h"
#include "app/core/SchemeFile.h"
#include "config/RegistryKeys.h"
#include "core/DpiScale.h"
#include "config/core/SchemeName.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"

namespace kt {

namespace {

// A text's width as a control draws it on one line with `font`.
int TextWidth(HDC dc, HFONT font, const std::wstring& text, UINT flags) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | flags);
    SelectObject(dc, old);
    return r.right - r.left;
}

// The height a word-wrapped label of this width needs for its text.
int WrappedTextHeight(HDC dc, HFONT font, const std::wstring& text, int width) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    return r.bottom - r.top;
}

int WorkAreaWidth(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (window && GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork.right - info.rcWork.left;
    RECT work{};
    return SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ? work.right - work.left : 0;
}

}  // namespace

void TButtonForm::FontChanged() {
    ui::TForm::FontChanged();
    // The controls have taken the new font by now: measure with it.
    ArrangeBar();
}

void TButtonForm::ArrangeBar() {
    // Moving the label below re-enters through its own change notices.
    if (arranging_ || !laidOut_) return;
    arranging_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{arranging_};
    // The layout rule is in designed pixels (96 per inch): measures of the screen go in rounded
    // up, so nothing shrinks below its text, and what comes out is scaled to the screen.
    const int ppi = PixelsPerInch();
    auto designed = [ppi](int px) { return ppi == kDesignPixelsPerInch ? px : (px * kDesignPixelsPerInch + ppi - 1) / ppi; };
    HDC dc = GetDC(nullptr);
    int widest = 0, buttons = 0;
    for (std::size_t i = 0; i < RuntimeButton.size(); ++i) {
        if (!RuntimeButton[i]) continue;
        ++buttons;
        widest = std::max(widest, TextWidth(dc, RuntimeButton[i]->Font().Handle(), ui::ToWide(schemeCaptions_[i]), 0));
    }
    BarMeasures m;
    m.buttonWidth = BarButtonWidth(designed(widest),
                                   Rescale(WorkAreaWidth(HandleAllocated() ? Handle() : nullptr), kDesignPixelsPerInch, ppi));
    m.labelTextHeight = designed(WrappedTextHeight(dc, Label1->Font().Handle(), ui::ToWide(Label1->Caption()),
                                                   DpiScaled(BarLabelWidth(m.buttonWidth))));
    m.buttons = buttons;
    m.baseWidth = Rescale(baseWidth_, kDesignPixelsPerInch, ppi);
    const BarGeometry g = BarLayoutFor(m);

    GroupBox1->SetBounds(GroupBox1->Left(), GroupBox1->Top(), DpiScaled(g.groupWidth), DpiScaled(g.groupHeight));
    Label1->SetBounds(Label1->Left(), Label1->Top(), DpiScaled(g.labelWidth), DpiScaled(g.labelHeight));
    ComboBoxFilename->SetBounds(ComboBoxFilename->Left(), DpiScaled(g.chooserTop), DpiScaled(g.chooserWidth),
                                ComboBoxFilename->Height());
    LabelMessage->SetTop(DpiScaled(g.messageTop));
    CreateButton->SetTop(DpiScaled(g.anchorTop));
    const int room = DpiScaled(CaptionRoom(g.buttonWidth));
    for (std::size_t i = 0; i < RuntimeButton.size(); ++i) {
        ui::TButton* button = RuntimeButton[i];
        if (!button) continue;
        const ButtonRect r = SchemeButtonRect(static_cast<int>(i) + 1, Rescale(CreateButton->Left(), kDesignPixelsPerInch, ppi),
                                              g.anchorTop, g.buttonWidth);
        button->SetBounds(DpiScaled(r.left), DpiScaled(r.top), DpiScaled(r.width), DpiScaled(r.height));
        const HFONT font = button->Font().Handle();
        const std::string& whole = schemeCaptions_[i];
        const std::wstring fitted =
            EllipsizedCaption(ui::ToWide(whole), room, [&](const std::wstring& s) { return TextWidth(dc, font, s, 0); });
        const std::string shown = ui::FromWide(fitted.data(), static_cast<int>(fitted.size()));
        if (button->Caption() != shown) button->SetCaption(shown);
        button->SetHint(shown == whole ? std::string() : whole);
    }
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), DpiScaled(g.width), DpiScaled(g.height));
}

void TButtonForm::LoadComboBoxFilename() {
    // Refilling the list must not change what the chooser's edit part shows.
    const std::string text = ComboBoxFilename->Text();
    ComboBoxFilename->ClearItems();
    ComboBoxFilename->SetText(text);
    SetCurrentFolder(Folders.OutputDir);
    {
        ui::TBusyCursor busy;
        for (const std::string& name : ListSchemeNames(Folders.OutputDir)) ComboBoxFilename->AddItem(name);
    }
    SetCurrentFolder(Folders.CurrentDir);
    SelectChosenItem();
}

void TButtonForm::SelectChosenItem() {
    const std::string text = ComboBoxFilename->Text();
    int at = -1;
    for (int i = 0; i < ComboBoxFilename->Count() && at < 0; ++i)
        if (ComboBoxFilename->Item(i) == text) at = i;
    if (at < 0) at = ComboBoxFilename->IndexOf(text);
    if (at >= 0 && ComboBoxFilename->ItemIndex() != at) ComboBoxFilename->SetItemIndex(at);
}

// The chooser and the buttons always show the same scheme: the one the bar opens next.
void TButtonForm::SetSchemeFileName(const std::string& fileName) {
    Filename = fileName;
    ComboBoxFilename->SetText(SchemeDisplayName(fileName));
    SelectChosenItem();
    ResetButtons();
    if (SchemeFiles().IsFile(Folders.OutputDir + "\\" + Filename)) LoadButtonAssignment();
}

void TButtonForm::SchemeRenamed(const std::string& oldFile, const std::string& newFile) {
    if (lstrcmpiA(Filename.c_str(), oldFile.c_str()) == 0) {
        SetSchemeFileName(newFile);
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
    }
}

// Enter in the chooser opens the scheme typed there, as picking it from the list does.
bool TButtonForm::DialogKey(WORD key) {
    if (key == VK_RETURN && ActiveControl() == ComboBoxFilename) {
        SelectChosenItem();
        ComboBoxFilenameClick();
        return true;
    }
    return ui::TForm::DialogKey(key);
}

void TButtonForm::ComboBoxFilenameClick() {
    // A name typed into the chooser is a file name in the scheme folder and nothing else.
    if (const std::string problem = SchemeNameProblem(ComboBoxFilename->Text()); !problem.empty()) {
        ShowInformation(problem);
        return;
    }
    Filename = ComboBoxFilename->Text() + ".dat";
    // Picked from a list that was open while the scheme was deleted: the first one instead.
    if (ComboBoxFilename->IndexOf(ComboBoxFilename->Text()) >= 0 &&
        !SchemeFiles().IsFile(Folders.OutputDir + "\\" + Filename)) {
        if (const auto said = FallBackToFirstScheme(Folders.OutputDir + "\\" + Filename)) {
            LoadComboBoxFilename();
            ShowInformation(*said);
            return;
        }
    }
    ResetButtons();
    LoadButton(Filename);
    // The file name is saved even when the load below fails, so re-raise only afterwards.
    try {
        LoadButtonAssignment();
    } catch (...) {
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
        throw;
    }
    VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
}

void TButtonForm::LoadButton(const std::string& fileName) {
    ListBoxSave.clear();
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL;
    try {
        LoadSchemeFile(fileName, scheme);
    } catch (...) {
        ListBoxCaption = scheme.captions;
        ListBoxText = scheme.texts;
        ListBoxKeys = scheme.keys;
        RadioGroupEOL = scheme.eol;
        throw;
    }
    ListBoxCaption = scheme.captions;
    ListBoxText = scheme.texts;
    ListBoxKeys = scheme.keys;
    RadioGroupEOL = scheme.eol;
}

void TButtonForm::LoadButtonAssignment() {
    const std::string path = Folders.OutputDir + "\\" + Filename;
    ButtonCount = 0;
    SchemeSnapshot read;
    SnapshotRead look = ReadSnapshotOnce(SchemeFiles(), path, read);
    // A virus scanner or a backup holds a file for a moment.
    for (int i = 1; look == SnapshotRead::Busy && i < 10; ++i) {
        Sleep(SteadySchemeRead::kPauseMs);
        look = ReadSnapshotOnce(SchemeFiles(), path, read);
    }
    if (look == SnapshotRead::Missing) {
        NoteSchemeMissing(path);  // said here: the folder's watch does not say it again
        ShowInformation("Cannot find button file: " + path);
        return;
    }
    if (look == SnapshotRead::Busy) {
        // Its buttons come once the other program lets go: the follow looks again.
        schemeFollow_ = SchemeFileFollow{};
        folderFollow_.Again(1000);
        throw EInOutError(FormatMessage1("Cannot open file %s", path));
    }
    // What the bar shows is recorded, so a change elsewhere in the folder does not rebuild it.
    schemeFollow_.Shown(path, read);
    SetCurrentFolder(Folders.OutputDir);
    struct Back {
        const std::string& folder;
        ~Back() { SetCurrentFolder(folder); }
    } back{Folders.CurrentDir};
    ShowSchemeText(path, read.content);
}

void TButtonForm::CreateButtonClick() {
    const int k = ButtonCount;
    if (IsButtonSlot(k) && !RuntimeButton[k - 1]) {
        auto* button = new ui::TButton(this);
        button->Name = "RuntimeButton" + std::to_string(k);
        const ButtonRect r = SchemeButtonRect(k, CreateButton->Left(), CreateButton->Top());
        button->SetBounds(r.left, r.top, r.width, r.height);
        schemeCaptions_[k - 1] = k <= static_cast<int>(ListBoxCaption.size()) ? ListBoxCaption[k - 1] : std::string();
        button->SetCaption(schemeCaptions_[k - 1]);
        button->ShowHint = true;
        button->OnClick = [this, button] { RuntimeButtonClick(button); };
        HookSchemeButton(button);
        button->SetParent(this);
        // A skinned bar paints the new button too (its painter goes in front of the hook above).
        if (SkinData1) SkinData1->AddControl(this, button);
        RuntimeButton[k - 1] = button;
        ArrangeBar();
    }
    Invalidate();
}

void TButtonForm::ResetButtons() {
    for (ui::TButton*& slot : RuntimeButton) {
        if (!slot) continue;
        ForgetSchemeButton(slot);
        if (clicking_ > 0) {
            // Its click (or another's) is still running: gone from sight now, deleted later.
            slot->SetVisible(false);
            retired_.push_back(slot);
        } else {
            delete slot;
        }
        slot = nullptr;
    }
    ButtonCount = 1;
    ArrangeBar();
    Invalidate();
    ListBoxSave.clear();
    ListBoxCaption.clear();
    ListBoxText.clear();
    ListBoxKeys.clear();
    cutTexts_.clear();
}

void TButtonForm::DeleteRetiredButtons() {
    if (clicking_ > 0) return;  // the click's end posts this again
    for (ui::TButton* button : retired_) delete button;
    retired_.clear();
}

}  // namespace kt
