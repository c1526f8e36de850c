#include "skin/data/SkinReader.h"

#include <cstring>

#include "core/Errors.h"
#include "core/MessageService.h"
#include "skin/data/LzhCodec.h"

namespace kt {

namespace {

int32_t ReadInt32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 |
                                static_cast<uint32_t>(p[3]) << 24);
}

// The shortest code for a symbol is one bit and a position takes at least nine, so a match of
// at most F bytes costs at least ten bits: no stream codes more than this per input byte.
constexpr int64_t kBestExpansionPerByte = 8 * lzh::F / 10;

}  // namespace

bool ExpandSkinContainer(std::span<const uint8_t> container, std::vector<uint8_t>& out,
                         std::string* error) {
    out.clear();
    uint8_t sizeBytes[4] = {};
    if (!container.empty())
        std::memcpy(sizeBytes, container.data(), container.size() < 4 ? container.size() : 4);
    const int32_t declared = ReadInt32(sizeBytes);
    const std::span<const uint8_t> stream =
        container.size() > 4 ? container.subspan(4) : std::span<const uint8_t>();
    auto refuse = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (declared > kSkinMaxExpandedSize)
        return refuse("expanded size " + std::to_string(declared) + " is above the limit of " +
                      std::to_string(kSkinMaxExpandedSize) + " bytes");
    const int64_t codable = static_cast<int64_t>(stream.size()) * kBestExpansionPerByte;
    if (declared > codable)
        return refuse("expanded size " + std::to_string(declared) + " is more than its " +
                      std::to_string(stream.size()) + "-byte stream can hold");
    if (declared <= 0) return true;  // the codec makes nothing of it

    out.reserve(static_cast<size_t>(declared) + lzh::F - 1);
    LzhInStream in{stream.data(), stream.size(), 0};
    TLZH codec;
    codec.InStream = &in;
    codec.OutStream = &out;
    codec.UnpackStreams(declared);
    return true;
}

std::string SkinLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<std::string> SplitSkinNames(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

bool TSkinReader::Open(std::span<const uint8_t> container) {
    auto refuse = [this](std::string why) {
        lastError_ = std::move(why);
        return false;
    };
    std::vector<uint8_t> expanded;
    std::string why;
    if (!ExpandSkinContainer(container, expanded, &why)) return refuse(why);

    SkinHeader header;
    const size_t total = expanded.size();
    if (total >= 16) {
        header.Version = ReadInt32(&expanded[0]);
        header.NamesLength = ReadInt32(&expanded[4]);
        header.Reserved1 = ReadInt32(&expanded[8]);
        header.Reserved2 = ReadInt32(&expanded[12]);
    }
    if (header.Version != kSkinVersion) {
        if (!Quiet) ShowMessage(kOlderSkinMessage);
        return refuse("version " + std::to_string(header.Version) + ", not " +
                      std::to_string(kSkinVersion));
    }
    if (header.NamesLength < 0 || static_cast<size_t>(header.NamesLength) > total - 16)
        return refuse("name text of " + std::to_string(header.NamesLength) +
                      " bytes does not fit the " + std::to_string(total) + " expanded bytes");

    const std::string_view text(reinterpret_cast<const char*>(&expanded[16]),
                                static_cast<size_t>(header.NamesLength));
    std::vector<std::string> names = SplitSkinNames(SkinLowerCase(text));
    if (names.size() > static_cast<size_t>(kSkinMaxEntries))
        return refuse(std::to_string(names.size()) + " entries, more than " +
                      std::to_string(kSkinMaxEntries));
    const size_t tableStart = 16 + static_cast<size_t>(header.NamesLength);
    const size_t dataStart = tableStart + 4 * names.size();
    if (dataStart > total) return refuse("the size table runs past the expanded bytes");

    std::array<int32_t, kSkinMaxEntries> sizes{};
    int64_t sum = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        sizes[i] = ReadInt32(&expanded[tableStart + 4 * i]);
        if (sizes[i] < 0)
            return refuse("entry \"" + names[i] + "\" has a negative size");
        sum += sizes[i];
    }
    if (sum > static_cast<int64_t>(total - dataStart))
        return refuse("entry sizes add up to " + std::to_string(sum) + " bytes, the data holds " +
                      std::to_string(total - dataStart));

    names_ = std::move(names);
    sizes_ = sizes;
    data_.assign(expanded.begin() + static_cast<std::ptrdiff_t>(dataStart), expanded.end());
    header_ = header;
    lastError_.clear();
    return true;
}

int32_t TSkinReader::Size(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(FormatMessage1("List index out of bounds (%d)", std::to_string(index)));
    return sizes_[static_cast<size_t>(index)];
}

std::span<const uint8_t> TSkinReader::Entry(size_t index, size_t offset) const {
    return std::span<const uint8_t>(data_).subspan(offset, static_cast<size_t>(sizes_[index]));
}

bool TSkinReader::ExtractByName(std::string_view name, std::vector<uint8_t>& dest) const {
    dest.clear();
    const std::string wanted = SkinLowerCase(name);
    size_t offset = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == wanted) {
            const auto bytes = Entry(i, offset);
            dest.assign(bytes.begin(), bytes.end());
            return true;
        }
        offset += static_cast<size_t>(sizes_[i]);
    }
    return false;
}

std::vector<uint8_t> TSkinReader::ExtractByName(std::string_view name) const {
    std::vector<uint8_t> bytes;
    ExtractByName(name, bytes);
    return bytes;
}

bool TSkinReader::ExtractByPart(std::string_view part, std::vector<uint8_t>& dest,
                                std::string& foundName) const {
    dest.clear();
    size_t offset = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(part) != std::string::npos) {
            const auto bytes = Entry(i, offset);
            dest.assign(bytes.begin(), bytes.end());
            foundName = names_[i];
            return true;
        }
        offset += static_cast<size_t>(sizes_[i]);
    }
    return false;
}

}  // namespace kt
