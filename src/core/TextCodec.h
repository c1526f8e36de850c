// Text inside the program is UTF-8 in std::string. These are the conversions at its edges:
// UTF-16 for the system's wide functions, and the encodings a text file may come in.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kt {

constexpr char32_t kReplacementChar = 0xFFFD;

// The code point that starts at s[i], with i moved past it. A byte that starts no valid
// sequence (overlong, a surrogate, beyond U+10FFFF, cut short) gives U+FFFD and moves i by one.
char32_t NextCodePoint(std::string_view s, std::size_t& i);
// True when every byte belongs to a valid sequence; otherwise `bad` (when given) gets the
// offset of the first byte that does not.
bool IsValidUtf8(std::string_view s, std::size_t* bad = nullptr);
void AppendUtf8(std::string& out, char32_t c);

// A lone surrogate, or an invalid UTF-8 sequence, becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

// The system's "ANSI" code page, which files without a mark of their own are written in.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // The text in the code page; false when it holds a character the code page lacks (no
    // look-alike is ever put in its place).
    virtual bool FromUtf8(std::string_view text, std::string& bytes) const = 0;
};

// Windows-1252, the portable stand-in for the system's code page.
class Windows1252 : public CodePage {
public:
    std::string ToUtf8(std::string_view bytes) const override;
    bool FromUtf8(std::string_view text, std::string& bytes) const override;
};

// The installed code page (the system's in the program), or Windows-1252.
const CodePage& SystemCodePage();
void SetSystemCodePage(const CodePage* page);  // not owned; nullptr restores Windows-1252

enum class TextEncoding { CodePage, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedText {
    TextEncoding encoding = TextEncoding::CodePage;
    std::string text;                           // UTF-8, byte-order mark removed
    std::size_t bad = std::string::npos;        // offset in `text` of the first U+FFFD put in
                                                // for bytes that were not valid
};

// A UTF-8 or UTF-16 mark says what follows; without one, text that is valid UTF-8 and holds at
// least one multi-byte sequence is UTF-8, any other is in `page`. UTF-16 of an odd length
// leaves its last byte as a bad one.
DecodedText DecodeText(std::string_view bytes, const CodePage& page = SystemCodePage());
// The same, without a copy where the bytes are the text already (ASCII, valid UTF-8): the
// text is then a part of `bytes`, otherwise `storage.text`. `storage` gets encoding and bad.
std::string_view DecodeTextInPlace(std::string_view bytes, DecodedText& storage,
                                   const CodePage& page = SystemCodePage());
// True when no byte is beyond ASCII.
bool IsAscii(std::string_view s);

}  // namespace kt
