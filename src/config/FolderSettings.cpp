#include "config/FolderSettings.h"

#include "config/RegistryKeys.h"
#include "config/core/FolderRules.h"
#include "config/core/HelpAddress.h"
#include "config/core/SettingsText.h"
#include "core/MessageService.h"
#include "ui/Application.h"

namespace kt {

void TFolderSettings::Load(TVtRegistry& store, const std::string& baseKey, const std::string& startFolder) {
    const std::string path = baseKey + reg::kPath;
    // A value the store cannot read counts as never stored: it gets its first-run default.
    auto read = [&](const char* name, std::string& field) {
        try {
            store.LoadStringFromRegistry(path, name, field, reg::kFirstTime);
        } catch (const std::exception& e) {
            ui::TApplication::Instance().HandleException(e);
            field = reg::kFirstTime;
        }
    };
    read(reg::kInitialDir, InitialDir);
    read(reg::kCurrentDir, CurrentDir);
    read(reg::kPathApp, PathApp);
    read(reg::kOutputDir, OutputDir);
    // A scheme folder that names only a drive (left by a failed save of the settings) would
    // hide every scheme and put new ones into the drive's root: it gets its default again.
    if (OutputDir != reg::kFirstTime && !IsUsableFolder(OutputDir)) {
        Messages().Show("The scheme folder \"" + OutputDir + "\" names no folder (setting " +
                            TVtRegistry::SettingName(path, reg::kOutputDir) + "). Its default is used instead.",
                        "", MsgKind::Error, MsgButtons::OK);
        OutputDir = reg::kFirstTime;
    }

    // First-run defaults, saved at once through the "Path\" key path. Only a start folder
    // on a drive letter takes the placeholder; one on a share is stored as it stands.
    const std::string pathKey = path + "\\";
    const std::string placeheld = StoredFolderForm(startFolder);
    auto firstRun = [&](const char* name, std::string& field, const std::string& value) {
        if (field != reg::kFirstTime) return;
        field = value;
        store.SaveStringToRegistry(pathKey, name, field);
    };
    firstRun(reg::kPathApp, PathApp, placeheld);
    firstRun(reg::kInitialDir, InitialDir, placeheld);
    firstRun(reg::kCurrentDir, CurrentDir, placeheld);
    firstRun(reg::kOutputDir, OutputDir, placeheld + "\\data");

    Drive = HasDriveLetter(startFolder) ? startFolder[0] : 'C';
    PathApp = ExpandStoredFolder(PathApp, startFolder);
    InitialDir = ExpandStoredFolder(InitialDir, startFolder);
    CurrentDir = ExpandStoredFolder(CurrentDir, startFolder);
    OutputDir = ExpandStoredFolder(OutputDir, startFolder);
    // A scheme folder stored as a relative path (by hand, or by an older copy) lies inside
    // the program's folder, as the settings dialog resolves it today.
    if (FolderRoot(OutputDir).empty()) {
        const TypedFolder resolved = ResolveTypedFolder(OutputDir, PathApp);
        if (!resolved.folder.empty()) OutputDir = resolved.folder;
    }
}

void TFolderSettings::Store(TVtRegistry& store, const std::string& baseKey, const std::string& schemeFolder) const {
    const std::string key = baseKey + reg::kPath;
    auto put = [&](const char* name, const std::string& folder) {
        if (InPlaceholderForm(folder) || !IsUsableFolder(folder)) return;
        store.SaveStringToRegistry(key, name, StoredFolderText(folder));
    };
    put(reg::kPathApp, PathApp);
    put(reg::kCurrentDir, CurrentDir);
    put(reg::kInitialDir, InitialDir);
    put(reg::kOutputDir, schemeFolder);
}

}  // namespace kt
