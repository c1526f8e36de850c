// The bar's skin components and the user's skin choice: which skin shows at start, the
// operations of the configuration window's "Skins" menu, its check marks, and saving the
// choice once the engine has applied it.
#include <windows.h>


#include "app/ButtonFormDialog.h"
#include "config/ConfigWindow.h"
#include "config/RegistryKeys.h"
#include "core/MessageService.h"
#include "platform/WidePaths.h"
#include "skin/data/SkinUsability.h"

namespace kt {

namespace {

constexpr int kSkinNone = 3, kSkinLoaded = 4;

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesW(WidePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Why the skin file cannot dress this screen's windows; empty when it can, with its bytes.
std::string SkinFileProblem(const std::string& path, int pixelsPerInch, std::vector<std::uint8_t>& bytes) {
    std::string problem = ReadWholeFile(path, bytes);
    if (!problem.empty()) return problem;
    RECT work{0, 0, kCheckWorkAreaWidth, kCheckWorkAreaHeight};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return SkinContainerProblem(bytes, work.right - work.left, work.bottom - work.top, pixelsPerInch);
}

}  // namespace

void TButtonForm::CreateSkinComponents() {
    SkinStore1 = std::make_unique<TSkinStore>();
    if (HRSRC res = FindResourceA(nullptr, "SKINSTORE1", MAKEINTRESOURCEA(10) /* RT_RCDATA */)) {
        HGLOBAL data = LoadResource(nullptr, res);
        const DWORD size = SizeofResource(nullptr, res);
        if (data && size) SkinStore1->LoadFromStream(static_cast<const std::uint8_t*>(LockResource(data)), size);
    }
    SkinData1 = std::make_unique<TSkinData>(this);
    SkinData1->BeginLoading();
    SkinData1->SetActive(false);
    SkinData1->SkinFormtype = sfMainform;
    // The skin's pictures are drawn for 96 pixels per inch: at the screen's, as the windows are.
    SkinData1->PixelsPerInch = ui::TForm::ScreenPixelsPerInch();
    SkinData1->DisableTag = 99;
    SkinData1->SkinControls = kDefaultSkinControls;  // every kind the program has
    SkinData1->OnSkinChanged = [this](TSkinData&) { SkinData1SkinChanged(); };
    SkinData1->Loaded();
}

bool TButtonForm::LoadSkinFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const std::string problem = SkinFileProblem(path, SkinData1->PixelsPerInch, bytes);
    if (!problem.empty()) {
        Messages().Show("The skin file \"" + path + "\" cannot be used: " + problem + ".", "", MsgKind::Information,
                        MsgButtons::OK);
        return false;
    }
    SkinData1->LoadSkinFileBytes(path, std::move(bytes));
    return !SkinData1->Reloading();
}

void TButtonForm::ChooseSkinAtStart() {
    CreateSkinComponents();
    const std::string key = BaseKey + reg::kOptionsSkins + "\\";
    VtRegistry1->LoadStringFromRegistry(key, reg::kSkinFile, SkinFile, "");
    SkinIndex = VtRegistry1->LoadIntegerFromRegistry(key, reg::kSkinIndex, reg::kSkinIndexNeverChosen);
    if (SkinIndex == reg::kSkinIndexNeverChosen) {
        SkinIndex = 0;
        if (FileExists(DefaultSkinFile)) {
            SkinFile = DefaultSkinFile;
            SkinIndex = kSkinLoaded;
        }
    }
    switch (SkinIndex) {
    case 0:
    case 1:
    case 2: SkinData1->LoadFromStore(*SkinStore1, SkinIndex); break;
    case kSkinNone: break;
    case kSkinLoaded:
        // A file that is gone or cannot be used: reported, and the first built-in skin takes its
        // place for good, or every start would say it again.
        if (SkinFile.empty() || !LoadSkinFile(SkinFile)) {
            SkinIndex = 0;
            SkinData1->LoadFromStore(*SkinStore1, SkinIndex);
            SkinData1SkinChanged();
        }
        break;
    default: break;
    }
    if (SkinIndex != kSkinNone) SkinData1->SetActive(true);
}

void TButtonForm::SkinClick() {
    SkinData1->LoadFromStore(*SkinStore1, SkinIndex);
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    SkinMenuCheck();
}

void TButtonForm::SkinNoneClick() {
    CheckSkinMenuEntry(kSkinNone);
    SkinIndex = kSkinNone;
    SkinData1->SetActive(!SkinData1->Active());
}

void TButtonForm::ButtonLoadSkinClick() {
    FileDialogRequest request;
    request.title = "Load Skin";
    request.filter = "Skin files (*.skn)|*.SKN";
    request.initialDir = "\\Skins\\";
    if (!Messages().OpenFile(request) || request.fileName.empty()) return;
    if (!LoadSkinFile(request.fileName)) return;
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    SkinFile = request.fileName;
    SkinIndex = kSkinLoaded;
    SkinMenuCheck();
}

void TButtonForm::SkinMenuCheck() { CheckSkinMenuEntry(SkinIndex); }

void TButtonForm::SkinData1SkinChanged() {
    const std::string key = BaseKey + reg::kOptionsSkins + "\\";
    VtRegistry1->SaveStringToRegistry(key, reg::kSkinFile, SkinFile);
    VtRegistry1->SaveIntegerToRegistry(key, reg::kSkinIndex, SkinIndex);
}

}  // namespace kt
