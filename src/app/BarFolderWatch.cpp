// The bar follows its scheme folder: a scheme someone adds, removes or renames shows in the
// chooser, and a change to the current scheme's file rebuilds its buttons, never from half a
// file. The watch's thread only says that something changed; everything else runs here, on a
// short timer, so a burst of changes is read once.
#include "app/ButtonFormDialog.h"
#include "app/core/BarLayout.h"
#include "app/core/SchemeFile.h"
#include "config/RegistryKeys.h"
#include "core/MessageService.h"

namespace kt {

namespace {
// A file that stays unreadable is looked at again every second, for half a minute.
constexpr unsigned kHeldRetryMs = 1000;
constexpr int kHeldRounds = 30;
constexpr unsigned kDroppedRetryMs = 200;  // the chooser's list is open
}  // namespace

void TButtonForm::StartFolderWatch() {
    folderFollow_.OnPolling = [this](const std::string& folder) {
        static bool told = false;  // once a run
        if (told) return;
        told = true;
        TellUser("The scheme folder " + folder +
                 " gives no notice of changes, so Ketravo looks at it once a second to show what others save there.");
    };
    folderFollow_.Start(this, Folders.OutputDir, [this] { FollowSchemeFolder(); }, [this] { folderChanged_ = true; });
}

void TButtonForm::SchemeFolderChanged() {
    folderChanged_ = true;
    folderFollow_.Settle();  // every further change starts the quiet moment again
}

void TButtonForm::FollowSchemeFolder() {
    folderFollow_.Hold();
    // A message box of this very step is open: its loop brought us here. Once it is closed
    // the folder is read again.
    if (following_) {
        followAgain_ = true;
        return;
    }
    {
        following_ = true;
        struct Done {
            TButtonForm* bar;
            ~Done() {
                bar->following_ = false;
                if (bar->followAgain_) {
                    bar->followAgain_ = false;
                    bar->SchemeFolderChanged();
                }
            }
        } done{this};
        FollowSchemeFolderStep();
    }
    // Said once the step is over: while the box is open, the folder is followed on (a folder
    // made again shows at once, not only after OK).
    std::vector<std::string> notices;
    notices.swap(followNotices_);
    for (const std::string& text : notices) ShowInformation(text);
}

void TButtonForm::SchemeGoneNotice(const std::string& path) {
    if (const auto said = FallBackToFirstScheme(path)) {
        followNotices_.push_back(*said);
        return;
    }
    ResetButtons();
    followNotices_.push_back("Cannot find button file: " + path);
}

void TButtonForm::FollowSchemeFolderStep() {
    const std::string path = Folders.OutputDir + "\\" + Filename;
    if (schemeRead_ && schemeRead_->Path() != path) schemeRead_.reset();  // another scheme was chosen
    // The chooser follows at once, also while the current scheme is still being read.
    if (folderChanged_) {
        const std::vector<std::string> names = ListSchemeNames(Folders.OutputDir);
        if (names == ComboBoxFilename->Items()) {
            folderChanged_ = false;
        } else if (ComboBoxFilename->HandleAllocated() &&
                   SendMessageW(ComboBoxFilename->Handle(), CB_GETDROPPEDSTATE, 0, 0)) {
            // Its list is open: refilled now, a click could open another scheme than the one
            // pointed at. Looked at again once it has closed.
            folderFollow_.Again(kDroppedRetryMs);
        } else {
            folderChanged_ = false;
            LoadComboBoxFilename();
        }
    }
    if (!schemeRead_) {
        SchemeSnapshot now;
        const SnapshotRead look = ReadSnapshotOnce(SchemeFiles(), path, now);
        switch (schemeFollow_.Judge(path, look, now)) {
        case SchemeFileFollow::Action::None: return;
        case SchemeFileFollow::Action::ReportMissing:
            SchemeGoneNotice(path);
            return;
        case SchemeFileFollow::Action::Reload: schemeRead_ = std::make_unique<SteadySchemeRead>(SchemeFiles(), path);
        }
    }
    switch (schemeRead_->Attempt()) {
    case SteadySchemeRead::Step::Again:
        // The file is still being written: a look again after a short pause.
        folderFollow_.Again(SteadySchemeRead::kPauseMs);
        return;
    case SteadySchemeRead::Step::Steady: {
        heldRounds_ = 0;
        const SchemeSnapshot read = schemeRead_->Result();
        schemeRead_.reset();
        schemeFollow_.Shown(path, read);
        ShowSchemeText(path, read.content);
        return;
    }
    case SteadySchemeRead::Step::Missing: {
        schemeRead_.reset();
        if (schemeFollow_.Judge(path, SnapshotRead::Missing, SchemeSnapshot{}) ==
            SchemeFileFollow::Action::ReportMissing)
            SchemeGoneNotice(path);
        return;
    }
    case SteadySchemeRead::Step::Failed:
        // Held by a writer for seconds: the buttons stay, and the file is looked at again in
        // a while (its writer's last change may have been the last notification).
        schemeRead_.reset();
        if (++heldRounds_ < kHeldRounds) {
            folderFollow_.Again(kHeldRetryMs);
        }
        return;
    }
}

std::optional<std::string> TButtonForm::FallBackToFirstScheme(const std::string& gonePath) {
    const std::vector<std::string> names = ListSchemeNames(Folders.OutputDir);
    if (names.empty()) return std::nullopt;
    ResetButtons();
    Filename = names.front() + ".dat";
    ComboBoxFilename->SetText(names.front());
    // Stored, so that the next start does not look for the missing scheme again.
    VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
    LoadButtonAssignment();
    return "The scheme " + SchemeDisplayName(gonePath) +
           " is no longer in the scheme folder (deleted or renamed): the bar shows " + names.front() + " now.";
}

void TButtonForm::ShowSchemeText(const std::string& path, const std::string& content) {
    ResetButtons();
    ButtonCount = 0;
    ui::TBusyCursor busy;
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL;
    auto finish = [&] {
        ListBoxCaption = std::move(scheme.captions);
        ListBoxText = std::move(scheme.texts);
        ListBoxKeys = std::move(scheme.keys);
        cutTexts_ = std::move(scheme.cutTexts);
        RadioGroupEOL = scheme.eol;
        Invalidate();
    };
    try {
        ReadSchemeText(content, scheme, [&](std::size_t i) {
            ++ButtonCount;
            if (i >= static_cast<std::size_t>(kButtonSlots)) return;
            ListBoxCaption.push_back(scheme.captions[i]);
            CreateButtonClick();
        }, path);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace kt
