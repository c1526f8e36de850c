#include "core/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace kt {

char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) return ++i, b;
    // The length of the sequence and the range its second byte must lie in (so that no
    // overlong form, surrogate or value beyond U+10FFFF passes).
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) n = 2, c = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, c = b & 0x0F, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4) n = 4, c = b & 0x07, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    if (n == 0 || i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi) return ++i, kReplacementChar;
    for (std::size_t k = 1; k < n; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return ++i, kReplacementChar;
        c = (c << 6) | (at(i + k) & 0x3F);
    }
    i += n;
    return c;
}

bool IsValidUtf8(std::string_view s, std::size_t* bad) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t start = i;
        // U+FFFD written out is valid; the one that stands for a bad byte takes a single byte.
        if (NextCodePoint(s, i) == kReplacementChar && i == start + 1) {
            if (bad) *bad = start;
            return false;
        }
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementChar;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char32_t c = NextCodePoint(s, i);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

namespace {

// Decodes UTF-16 units (read by `unit`) of `count` units; `bad` gets the text offset of the
// first lone surrogate.
template <class Unit>
void AppendUtf16(std::string& out, std::size_t count, Unit unit, std::size_t& bad) {
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t u = unit(i);
        char32_t c = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            if (bad == std::string::npos) bad = out.size();
            c = kReplacementChar;
        }
        AppendUtf8(out, c);
    }
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t bad = std::string::npos;
    AppendUtf16(out, s.size(), [&](std::size_t i) { return s[i]; }, bad);
    return out;
}

namespace {

// Windows-1252's characters for 0x80..0x9F; the five it leaves undefined keep their value,
// as the system's own conversion does, so that every byte survives a round trip.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string Windows1252::ToUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : b);
    }
    return out;
}

bool Windows1252::FromUtf8(std::string_view text, std::string& bytes) const {
    bytes.clear();
    bool whole = true;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        int b = c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? static_cast<int>(c) : -1;
        for (int k = 0; b < 0 && k < 32; ++k)
            if (kHigh1252[k] == c) b = 0x80 + k;
        if (b < 0) whole = false, b = '?';
        bytes += static_cast<char>(b);
    }
    return whole;
}

namespace {
const Windows1252 g_windows1252;
const CodePage* g_page = nullptr;
}  // namespace

const CodePage& SystemCodePage() { return g_page ? *g_page : g_windows1252; }
void SetSystemCodePage(const CodePage* page) { g_page = page; }

bool IsAscii(std::string_view s) {
    // Eight bytes at a time: a scheme file of megabytes is looked at before every read.
    std::size_t i = 0;
    std::uint64_t high = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        high |= word;
    }
    for (; i < s.size(); ++i) high |= static_cast<unsigned char>(s[i]);
    return (high & 0x8080808080808080ull) == 0;
}

std::string_view DecodeTextInPlace(std::string_view bytes, DecodedText& d, const CodePage& page) {
    d = DecodedText{};
    const bool marked = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    const std::string_view rest = marked ? bytes.substr(3) : bytes;
    if (!marked && !(bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF"))) {
        if (IsAscii(bytes)) return bytes;
        if (IsValidUtf8(bytes)) return d.encoding = TextEncoding::Utf8, bytes;
    } else if (marked && IsValidUtf8(rest)) {
        return d.encoding = TextEncoding::Utf8Bom, rest;
    }
    d = DecodeText(bytes, page);
    return d.text;
}

DecodedText DecodeText(std::string_view bytes, const CodePage& page) {
    DecodedText d;
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) {
        d.encoding = TextEncoding::Utf8Bom;
        bytes.remove_prefix(3);
    } else if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
        d.encoding = bytes[0] == '\xFF' ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        bytes.remove_prefix(2);
        const std::size_t hi = d.encoding == TextEncoding::Utf16Le ? 1 : 0;
        const auto unit = [&](std::size_t i) {
            return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i + hi]) << 8 |
                                         static_cast<unsigned char>(bytes[2 * i + 1 - hi]));
        };
        d.text.reserve(bytes.size());
        AppendUtf16(d.text, bytes.size() / 2, unit, d.bad);
        if (bytes.size() % 2 != 0) {
            if (d.bad == std::string::npos) d.bad = d.text.size();
            AppendUtf8(d.text, kReplacementChar);
        }
        return d;
    } else {
        const bool multiByte = !IsAscii(bytes);
        if (multiByte && IsValidUtf8(bytes)) d.encoding = TextEncoding::Utf8;
        d.text = multiByte && d.encoding == TextEncoding::CodePage ? page.ToUtf8(bytes) : std::string(bytes);
        return d;
    }
    // After a UTF-8 mark: taken as it is when valid, the common case; otherwise each bad byte
    // becomes U+FFFD.
    std::size_t bad = 0;
    if (IsValidUtf8(bytes, &bad)) {
        d.text.assign(bytes);
        return d;
    }
    d.text.reserve(bytes.size() + 8);
    d.text.assign(bytes.substr(0, bad));
    for (std::size_t i = bad; i < bytes.size();) {
        const std::size_t start = i;
        const char32_t c = NextCodePoint(bytes, i);
        if (c == kReplacementChar && i == start + 1 && d.bad == std::string::npos) d.bad = d.text.size();
        AppendUtf8(d.text, c);
    }
    return d;
}

}  // namespace kt
