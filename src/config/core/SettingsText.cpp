#include "config/core/SettingsText.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "core/Errors.h"

namespace kt {

std::string IntToText(int value) { return std::to_string(value); }

bool TryTextToInt(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    int64_t acc = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && std::isxdigit(c)) digit = std::tolower(c) - 'a' + 10;
        else return false;
        acc = acc * base + digit;
        // Hexadecimal texts may spell the full 32-bit pattern ("$FFFFFFFF" is -1).
        const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
        if (acc > limit) return false;
    }
    if (base == 16) {
        int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(acc));
        value = negative ? static_cast<int>(-static_cast<int64_t>(bits)) : bits;
        if (negative && bits == INT32_MIN) value = INT32_MIN;
        return true;
    }
    value = static_cast<int>(negative ? -acc : acc);
    return true;
}

int TextToInt(const std::string& text) {
    int value = 0;
    if (!TryTextToInt(text, value))
        throw EConvertError(FormatMessage1("'%s' is not a valid integer value", text));
    return value;
}

std::string BoolToText(bool value) { return value ? "-1" : "0"; }

namespace {

bool EqualsNoCase(const std::string& a, const char* b) {
    size_t n = 0;
    for (; b[n]; ++n) {
        if (n >= a.size() || std::tolower(static_cast<unsigned char>(a[n])) !=
                                 std::tolower(static_cast<unsigned char>(b[n])))
            return false;
    }
    return n == a.size();
}

// A plain decimal number, as a float text may be written: sign, digits, point, exponent.
bool TryParseNumber(const std::string& text, double& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; digits = true; }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; digits = true; }
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j >= text.size() || !std::isdigit(static_cast<unsigned char>(text[j]))) return false;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
        i = j;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    value = std::strtod(text.c_str() + start, nullptr);
    return true;
}

}  // namespace

bool TextToBool(const std::string& text) {
    double number = 0;
    if (TryParseNumber(text, number)) return number != 0;
    if (EqualsNoCase(text, "True")) return true;
    if (EqualsNoCase(text, "False")) return false;
    throw EConvertError(FormatMessage1("'%s' is not a valid boolean value", text));
}

std::string EncodeDrivePlaceholder(const std::string& path) {
    return std::string(kDrivePlaceholder) + (path.size() >= 2 ? path.substr(2) : std::string());
}

std::string ExpandDrivePlaceholder(const std::string& stored, char drive) {
    static const std::string placeholder = kDrivePlaceholder;
    const std::string replacement = std::string(1, drive) + ":";
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = stored.find(placeholder, pos);
        if (hit == std::string::npos) break;
        out.append(stored, pos, hit - pos);
        out += replacement;
        pos = hit + placeholder.size();
    }
    out.append(stored, pos, std::string::npos);
    return out;
}

bool IsUsableFolder(const std::string& path) {
    std::string rest = path;
    const std::string placeholder = kDrivePlaceholder;
    if (rest.compare(0, placeholder.size(), placeholder) == 0) rest = rest.substr(placeholder.size());
    else if (rest.size() >= 2 && rest[1] == ':') rest = rest.substr(2);
    return rest.find_first_not_of("\\/ ") != std::string::npos;
}

}  // namespace kt
