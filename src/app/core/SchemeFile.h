// Button scheme files: one ".dat" text file per scheme, one record per line.
// A line's first character says what it is: 'C' a caption, 'T' a text, 'D' the end-of-line
// action; the payload starts at the fourth character. Captions and texts pair by order. A text
// tagged "T02" is a keys-in-braces text; "T01" and any other "T" line a plain one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

// End-of-line action of a scheme, as held by the three-choice control.
enum : int { kEolNone = -1, kEolNoAction = 0, kEolEnter = 1, kEolTab = 2 };

struct ButtonScheme {
    std::vector<std::string> captions;
    std::vector<std::string> texts;
    int eol = kEolNone;
    // What the reader had to leave out of the file, in words for the user ("line 3 cut to
    // 1048576 characters"); empty when the file was read in whole. Writing such a scheme back
    // would lose that content.
    std::string cut;
    // Indexes of the texts whose line was longer than the reader takes: such a text is not
    // whole and must not be typed as if it were.
    std::vector<std::size_t> cutTexts;
    // Per text: true for a keys-in-braces text (a "T02" line). Shorter than `texts` when the
    // rest are plain.
    std::vector<bool> keys;
};

// What a file's entry says of it: its size and last write time (in the file system's own
// units; only compared, never shown).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

// Longest line the readers take; the rest of a longer line is dropped (and said). Far beyond
// any text typed into a form, so a long text is read whole; the limit only keeps a broken
// file from being taken as one enormous button.
constexpr std::size_t kSchemeLineLimit = 1u << 20;

// The file operations the scheme module needs. The portable implementation serves native
// builds; the Win32 program installs one built on the wide functions (paths in UTF-8).
class SchemeFileSystem {
public:
    virtual ~SchemeFileSystem() = default;
    // True for an existing file that is not a folder.
    virtual bool IsFile(const std::string& path) = 0;
    // Names of every file of the folder (hidden ones included, folders left out), in the
    // order the system enumerates them. Empty for a missing folder.
    virtual std::vector<std::string> ListEntries(const std::string& folder) = 0;
    // Moves `from` onto `to`, replacing an existing file in one step. False on failure.
    virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
    // Deletes a file. False when it is still there (read-only, in use...).
    virtual bool RemoveFile(const std::string& path) = 0;
    // True when anything (a file or a folder) is at `path`.
    virtual bool Exists(const std::string& path) = 0;
    // Copies `from` to `to`, which must not exist yet. False on failure.
    virtual bool CopyToNew(const std::string& from, const std::string& to) = 0;
    // Renames `from` to `to`, never onto an existing entry. False on failure.
    virtual bool RenameToNew(const std::string& from, const std::string& to) = 0;
    // Reads the whole file into `content`.
    enum class ReadResult { Read, CannotOpen, CannotRead };
    virtual ReadResult ReadWhole(const std::string& path, std::string& content) = 0;
    // Creates `path`, which must not exist yet, with `content`, and makes sure every byte is
    // on the disk before it returns true. On failure nothing of it is left.
    virtual bool WriteNew(const std::string& path, std::string_view content);
    // True when another program holds the file so that it cannot be replaced now.
    virtual bool InUse(const std::string&) { return false; }
    // True when both texts name the same file, as the system compares names.
    virtual bool SamePath(const std::string& a, const std::string& b) = 0;
    // Size and last write time of a file ; false when it has none (no file,
    // or a file system that cannot tell: the content alone then tells a change).
    virtual bool Stamp(const std::string& path, FileStamp& stamp);
    // How long ago the file of `stamp` was last written, in milliseconds by this machine's
    // clock; -1 when unknown (a stamp's clock ahead of ours counts as unknown too).
    virtual long long MillisecondsSinceWrite(const FileStamp& stamp);
};

class PortableSchemeFileSystem : public SchemeFileSystem {
public:
    bool IsFile(const std::string& path) override;
    std::vector<std::string> ListEntries(const std::string& folder) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool CopyToNew(const std::string& from, const std::string& to) override;
    bool RenameToNew(const std::string& from, const std::string& to) override;
    ReadResult ReadWhole(const std::string& path, std::string& content) override;
    bool SamePath(const std::string& a, const std::string& b) override;  // ASCII letters in any case
    bool Stamp(const std::string& path, FileStamp& stamp) override;
    long long MillisecondsSinceWrite(const FileStamp& stamp) override;
};

// The installed file system, or the portable one when none is installed.
SchemeFileSystem& SchemeFiles();
// Installs a file system (not owned); nullptr restores the portable one.
void SetSchemeFileSystem(SchemeFileSystem* fs);

// Called with the index of each caption as its line is read (the bar creates its button then).
using CaptionRead = std::function<void(std::size_t index)>;

// Splits file content into lines: CR LF, a lone CR or a lone LF ends a line; a zero byte ends
// the text; each line is cut to kSchemeLineLimit characters. A UTF-8 byte-order mark at the
// start (as today's editors write) is not part of the first line.
std::vector<std::string_view> SplitSchemeLines(std::string_view content);

// Reads scheme records from a file's bytes into `scheme`, decoded first (see DecodeText: a
// UTF-8 or UTF-16 mark, UTF-8 without one, or else the system's code page); texts come out
// in UTF-8. A text in a line with bytes that are not valid in its encoding is named in `cut`
// and `cutTexts`, as is the line. Captions and texts are emptied first;
// The end-of-line index is kept when no "D" line is present. A "D" payload that is not a
// decimal integer throws EConvertError naming the line (and `source`, the file, when given);
// the lines before it stay loaded. `scheme.cut` tells what was not read: long lines cut, text
// after a zero byte, lines after a bad "D" line.
void ReadSchemeText(std::string_view content, ButtonScheme& scheme,
                    const CaptionRead& onCaption = {}, const std::string& source = {});

// Empties captions and texts, then reads the file at `path`. Returns false (lists left empty)
// when no file is there. A file that exists but cannot be read throws EInOutError.
bool LoadSchemeFile(const std::string& path, ButtonScheme& scheme,
                    const CaptionRead& onCaption = {});

// Whether text i of the scheme is a keys-in-braces text.
bool IsKeysText(const ButtonScheme& scheme, std::size_t i);

// The two line orders of the configuration window's writers. Both write every button (empty
// payloads too; a missing text is written empty so that the pairs stay aligned), then "D01".
// Lines end with CR LF, the last one included. The bytes are in the system's code page when
// every character fits it (as every earlier version wrote), otherwise UTF-8 behind a mark
// that stands on a line of its own.
// A keys-in-braces text is written as "T02" instead of "T01".
std::string FormatSchemeForSave(const ButtonScheme& scheme);      // "C01", "T01" per button
std::string FormatSchemeImplicit(const ButtonScheme& scheme);     // "T01", "C01" per button

// Writes `content` to a temporary file of this writer's own beside `path` ("~kt....tmp", a
// name no other writer uses at the same time, never ending in ".dat") and moves it over `path` only once
// every byte is on the disk; on any failure throws EInOutError "Cannot create file <path>" and
// leaves an existing file as it was.
void WriteSchemeFile(const std::string& path, std::string_view content);
// The same for a file that must not exist yet: false, with nothing written, when something is
// at `path` by the time it would be moved there (another writer was first).
bool WriteNewSchemeFile(const std::string& path, std::string_view content);

// The Save button's writer and the implicit writer of the configuration window.
void SaveSchemeFile(const std::string& path, const ButtonScheme& scheme);
void SaveSchemeFileImplicit(const std::string& path, const ButtonScheme& scheme);

// Scheme names of a folder: files whose name ends in exactly ".dat" (case-sensitive; a
// folder so named is left out), without those four characters, in enumeration order.
std::vector<std::string> ListSchemeNames(const std::string& folder);
std::vector<std::string> SchemeNamesFromEntries(const std::vector<std::string>& entries);

// The name the chooser shows for a scheme file name: folder part and last four characters
// removed ("data\button.dat" -> "button").
std::string SchemeDisplayName(const std::string& fileName);

}  // namespace kt
