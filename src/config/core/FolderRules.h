// How a folder setting is kept: which paths take the drive placeholder, what the placeholder
// stands for when the program starts from a folder without a drive letter, and how a folder
// typed by the user ("data2", "..\shared", "\\nas\schemes") becomes the folder he meant.
#pragma once
#include <string>

namespace kt {

// "C:..." : a drive letter and a colon.
bool HasDriveLetter(const std::string& path);
// "\\server\share..." (either slash).
bool IsUncPath(const std::string& path);
// The part the placeholder stands for: "C:" of a drive path, "\\server\share" of a UNC path,
// empty for anything else.
std::string FolderRoot(const std::string& path);

// The stored form of a folder: the placeholder replaces the drive letter and colon of a drive
// path only. A text already in placeholder form, a UNC path and anything else are stored as
// they stand; a text shorter than two characters becomes the placeholder alone.
std::string StoredFolderForm(const std::string& folder);
// Every placeholder in a stored folder replaced by the root of the start folder: its drive
// ("E:") or, for a start folder on a share, "\\server\share". A start folder without either
// leaves the drive "C:".
std::string ExpandStoredFolder(const std::string& stored, const std::string& startFolder);

// A folder the user typed, as the settings will hold it: `folder` is the full path, or
// `problem` says why the text names no folder (and `folder` is empty). A relative text is
// taken inside `programFolder`; "\x" on the program folder's drive or share; "." and ".."
// are resolved (never above the drive or the share); "/" becomes "\". An empty text gives
// an empty folder and no problem. A text in placeholder form is kept as it is.
struct TypedFolder {
    std::string folder;
    std::string problem;
};
TypedFolder ResolveTypedFolder(const std::string& typed, const std::string& programFolder);

}  // namespace kt
