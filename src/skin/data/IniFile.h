// An INI text read in memory with the rules of the platform's profile files: section and key
// names match without regard to letter case, a value is the text after the first "=" with the
// surrounding blanks removed, the first section and the first key of a name win, and sections
// are listed in text order (a repeated section name is listed each time it appears).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

class TIniText {
public:
    TIniText() = default;
    explicit TIniText(std::string_view text) { Load(text); }
    void Load(std::string_view text);

    // Section names as written, in text order.
    const std::vector<std::string>& Sections() const { return order_; }
    bool SectionExists(std::string_view section) const { return Find(section) != nullptr; }
    bool ValueExists(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // A decimal number with an optional sign; anything else, or a value outside 32 bits, gives def.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    const Section* Find(std::string_view section) const;
    const std::string* Value(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;
    std::vector<std::string> order_;
};

bool SameTextAscii(std::string_view a, std::string_view b);
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);
std::string_view TrimBlanks(std::string_view s);
// Strict decimal conversion as StrToInt does it: optional sign, digits, 32-bit range.
bool TryStrToInt(std::string_view s, std::int32_t& out);

}  // namespace kt
