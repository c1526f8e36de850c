#include <gtest/gtest.h>

#include <string>

#include "core/TextCodec.h"

using kt::TextEncoding;

// Every way a file's bytes come in: the mark, or its absence, decides; a bad byte becomes U+FFFD
// and is found where it stands in the text.
TEST(TextCodec, DecodesEachEncodingAndFindsTheFirstBadByte) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
        std::string text;
        std::size_t bad;
    } cases[] = {
        {"plain", TextEncoding::CodePage, "plain", std::string::npos},
        {"caf\xE9 \x80" "5\x81", TextEncoding::CodePage, "caf\xC3\xA9 \xE2\x82\xAC" "5\xC2\x81", std::string::npos},
        {"Z\xC5\xBC \xF0\x9F\x98\x80", TextEncoding::Utf8, "Z\xC5\xBC \xF0\x9F\x98\x80", std::string::npos},
        // Overlong, surrogate and cut-short forms are no UTF-8: the code page reads them.
        {"\xC0\xAF\xED\xA0\x80", TextEncoding::CodePage, "\xC3\x80\xC2\xAF\xC3\xAD\xC2\xA0\xE2\x82\xAC", std::string::npos},
        {"\xEF\xBB\xBFok", TextEncoding::Utf8Bom, "ok", std::string::npos},
        {"\xEF\xBB\xBFo\xFFk\xE2\x82", TextEncoding::Utf8Bom, "o\xEF\xBF\xBDk\xEF\xBF\xBD\xEF\xBF\xBD", 1},
        {std::string("\xFF\xFEZ\0|\x01=\xD8\x00\xDE", 10), TextEncoding::Utf16Le, "Z\xC5\xBC\xF0\x9F\x98\x80", std::string::npos},
        {std::string("\xFE\xFF\0A\xDC\x00\0B\0", 9), TextEncoding::Utf16Be, "A\xEF\xBF\xBD" "B\xEF\xBF\xBD", 1},
    };
    for (const auto& c : cases) {
        const kt::DecodedText d = kt::DecodeText(c.bytes, kt::Windows1252());
        EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(d.text, c.text) << c.bytes;
        EXPECT_EQ(d.bad, c.bad) << c.bytes;
    }
}

TEST(TextCodec, Utf16RoundTripKeepsSurrogatePairsAndReplacesLoneOnes) {
    const std::string text = "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x97\xA5 \xF0\x9F\x98\x80";
    const std::u16string wide = kt::Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Łódź 日 😀");
    EXPECT_EQ(kt::Utf16ToUtf8(wide), text);
    EXPECT_EQ(kt::Utf16ToUtf8(u"a\xD800" "b\xDC00"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(kt::Utf8ToUtf16("a\xF4\x90\x80\x80"), u"a\xFFFD\xFFFD\xFFFD\xFFFD");  // beyond U+10FFFF
}

TEST(TextCodec, CodePageTellsWhetherATextFitsWithoutALookAlike) {
    const kt::Windows1252 page;
    std::string bytes;
    EXPECT_TRUE(page.FromUtf8("caf\xC3\xA9 \xE2\x82\xAC" "5\xC2\x81", bytes));
    EXPECT_EQ(bytes, "caf\xE9 \x80" "5\x81");
    EXPECT_EQ(page.ToUtf8(bytes), "caf\xC3\xA9 \xE2\x82\xAC" "5\xC2\x81");
    EXPECT_FALSE(page.FromUtf8("\xC5\x81ukasz", bytes));  // Ł, which best fit would make L
    EXPECT_EQ(bytes, "?ukasz");
}
