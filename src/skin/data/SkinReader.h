// TSkinReader: expands a skin container (a 32-bit size, then an LZHUF stream) and hands out its
// named entries: the skin's bitmaps and its ".ini" description.
//
// Expanded layout: Version (20000), NamesLength L, two reserved words, L bytes of names ended
// by CR LF, CR or LF, one 32-bit size per name, then the entries' bytes back to back.
// Skin files come from anywhere: Open checks every size against what the stream really holds
// and refuses (returns false, keeping what it had) a container that does not add up.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

inline constexpr int32_t kSkinVersion = 20000;
inline constexpr int kSkinMaxEntries = 1001;
// An expanded container larger than this is refused before anything is decoded.
inline constexpr int64_t kSkinMaxExpandedSize = 64 * 1024 * 1024;
inline constexpr const char* kOlderSkinMessage =
    "This is Older Skin File\rPlease update to new version !";

// Expands a container into out (the whole decoded stream: the declared size plus up to 59
// bytes of the last match). Returns false, with a reason in error, when the declared size is
// negative, above kSkinMaxExpandedSize, or more than the stream could code even at LZHUF's
// best ratio; nothing is allocated for such a size. No message box.
bool ExpandSkinContainer(std::span<const uint8_t> container, std::vector<uint8_t>& out,
                         std::string* error = nullptr);

struct SkinHeader {
    int32_t Version = 0;
    int32_t NamesLength = 0;
    int32_t Reserved1 = 0;
    int32_t Reserved2 = 0;
};

class TSkinReader {
public:
    // Expands the container and loads its directory. False, with the model unchanged, on a
    // wrong version (after the "older skin" message box) or on a container that does not add
    // up (no message box; LastError() says why).
    bool Open(std::span<const uint8_t> container);
    // No message box for a wrong version: the caller reports the failure itself.
    bool Quiet = false;

    // Clears dest; if an entry of that name (compared in lower case) exists, its bytes go to
    // dest and the result is true. A listed name found twice: the first entry.
    bool ExtractByName(std::string_view name, std::vector<uint8_t>& dest) const;
    std::vector<uint8_t> ExtractByName(std::string_view name) const;
    // Clears dest; the first entry whose name contains part (taken as given, so pass it in
    // lower case) goes to dest and its name to foundName. No match: dest empty, foundName
    // untouched.
    bool ExtractByPart(std::string_view part, std::vector<uint8_t>& dest,
                       std::string& foundName) const;

    const std::vector<std::string>& Names() const { return names_; }  // lower case
    int Count() const { return static_cast<int>(names_.size()); }
    // Raises EListError outside 0..Count-1.
    int32_t Size(int index) const;
    const std::vector<uint8_t>& Data() const { return data_; }  // the entry data area
    const SkinHeader& Header() const { return header_; }
    // Why the last Open returned false; empty after a success.
    const std::string& LastError() const { return lastError_; }

private:
    std::span<const uint8_t> Entry(size_t index, size_t offset) const;

    std::vector<std::string> names_;
    std::array<int32_t, kSkinMaxEntries> sizes_{};
    std::vector<uint8_t> data_;
    SkinHeader header_;
    std::string lastError_;
};

// The name text split as the reader does: a line ends at CR LF, a lone CR or a lone LF; a last
// line without an ending counts; a final ending adds no empty line.
std::vector<std::string> SplitSkinNames(std::string_view text);
// ASCII lower case, as the reader compares names; other bytes unchanged.
std::string SkinLowerCase(std::string_view text);

}  // namespace kt
