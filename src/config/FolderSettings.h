// The folders the bar and the configuration window work with: read, given their first-run
// defaults, expanded and stored again in this one place.
#pragma once
#include <string>

#include "config/VtRegistryComponent.h"

namespace kt {

struct TFolderSettings {
    // In memory every folder carries the drive; stored, the drive is the placeholder.
    std::string PathApp, InitialDir, CurrentDir, OutputDir;
    char Drive = 'C';

    // Reads the folders below "Path": one that cannot be read, or a scheme folder that names
    // only a drive, is reported and gets its first-run default (the start folder, the scheme
    // folder "data" inside it), which is saved at once. Then the start drive stands in for
    // the placeholder.
    void Load(TVtRegistry& store, const std::string& baseKey, const std::string& startFolder);
    // Stores the folders with `schemeFolder` as the scheme folder; a folder already held in
    // placeholder form, or one that is no usable folder, is left as it is stored.
    void Store(TVtRegistry& store, const std::string& baseKey, const std::string& schemeFolder) const;
};

}  // namespace kt
