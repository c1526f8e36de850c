#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SampleData.h"
#include "SkinContainerBuilder.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinReader.h"

namespace {

using kt::TSkinReader;
using kt::testing::ExpandedSkin;
using kt::testing::MakeSkin;
using kt::testing::Str;

const ExpandedSkin kBasic = MakeSkin({{"Form.bmp", "BMform"},
                                      {"skin.INI", "[Form]\r\nBorder=1\r\n"},
                                      {"button.bmp", "BMbutton"},
                                      {"empty.bmp", ""}});

TEST(SkinReader, OpensAndLowercasesNames) {
    kt::ScopedScriptedMessages msgs;
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(kBasic.Packed())) << reader.LastError();
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"form.bmp", "skin.ini", "button.bmp",
                                                        "empty.bmp"}));
    EXPECT_EQ(reader.Count(), 4);
    EXPECT_EQ(reader.Size(2), 8);
    EXPECT_THROW(reader.Size(4), kt::EListError);
    EXPECT_EQ(reader.Header().Version, 20000);
    EXPECT_EQ(reader.Header().NamesLength, static_cast<int32_t>(kBasic.names.size()));
    EXPECT_EQ(reader.Data(), kBasic.data);
    EXPECT_TRUE(msgs.shown.empty());
}

TEST(SkinReader, ExtractByNameIgnoresLetterCase) {
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(kBasic.Packed()));
    EXPECT_EQ(Str(reader.ExtractByName("BUTTON.Bmp")), "BMbutton");
    EXPECT_EQ(Str(reader.ExtractByName("form.bmp")), "BMform");
    std::vector<uint8_t> dest = {1, 2, 3};
    EXPECT_FALSE(reader.ExtractByName("missing.bmp", dest));
    EXPECT_TRUE(dest.empty());
}

TEST(SkinReader, EmptyEntryExtractsAsEmpty) {
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(kBasic.Packed()));
    std::vector<uint8_t> dest = {9};
    EXPECT_TRUE(reader.ExtractByName("empty.bmp", dest));
    EXPECT_TRUE(dest.empty());
}

TEST(SkinReader, DuplicateNameGivesTheFirstEntry) {
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(MakeSkin({{"a.bmp", "first"}, {"b.bmp", "x"}, {"A.BMP", "second"}})
                                .Packed()));
    EXPECT_EQ(Str(reader.ExtractByName("a.bmp")), "first");
}

TEST(SkinReader, ExtractByPartFindsTheFirstContainingName) {
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(MakeSkin({{"a.bmp", "A"}, {"Blue.INI.bak", "old"}, {"blue.ini", "new"}})
                                .Packed()));
    std::vector<uint8_t> dest;
    std::string found = "unchanged";
    EXPECT_TRUE(reader.ExtractByPart(".ini", dest, found));
    EXPECT_EQ(found, "blue.ini.bak");
    EXPECT_EQ(Str(dest), "old");

    found = "unchanged";
    EXPECT_FALSE(reader.ExtractByPart(".txt", dest, found));
    EXPECT_TRUE(dest.empty());
    EXPECT_EQ(found, "unchanged");
    // The part is taken as given: callers pass it in lower case.
    EXPECT_FALSE(reader.ExtractByPart(".INI", dest, found));
}

TEST(SkinReader, NameLineEndings) {
    EXPECT_EQ(kt::SplitSkinNames("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(kt::SplitSkinNames("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(kt::SplitSkinNames("a\rb\nc\r\n"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(kt::SplitSkinNames("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(kt::SplitSkinNames("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(kt::SplitSkinNames("").empty());
    EXPECT_EQ(kt::SplitSkinNames("\r\n"), (std::vector<std::string>{""}));
}

TEST(SkinReader, NameTextWithoutFinalLineEndHasTheSameCount) {
    ExpandedSkin skin = kBasic;
    skin.names.resize(skin.names.size() - 2);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(skin.Packed()));
    EXPECT_EQ(reader.Count(), 4);
    EXPECT_EQ(Str(reader.ExtractByName("button.bmp")), "BMbutton");

    skin.names = "Form.bmp\rskin.ini\nbutton.bmp\r\nempty.bmp\n";
    ASSERT_TRUE(reader.Open(skin.Packed()));
    EXPECT_EQ(reader.Count(), 4);
    EXPECT_EQ(Str(reader.ExtractByName("skin.ini")), "[Form]\r\nBorder=1\r\n");
}

TEST(SkinReader, FileAndEmbeddedBytesOpenAlike) {
    const auto packed = kBasic.Packed();
    const auto path = std::filesystem::temp_directory_path() / "kt_reader_test.skn";
    {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
    }
    std::ifstream f(path, std::ios::binary);
    const std::vector<uint8_t> fromFile{std::istreambuf_iterator<char>(f), {}};
    std::filesystem::remove(path);
    TSkinReader a, b;
    ASSERT_TRUE(a.Open(fromFile));
    ASSERT_TRUE(b.Open(packed));
    EXPECT_EQ(a.Names(), b.Names());
    EXPECT_EQ(a.Data(), b.Data());
}

TEST(SkinReader, ReservedWordsAreKeptNotInterpreted) {
    ExpandedSkin skin = kBasic;
    skin.reserved1 = 0x12345678;
    skin.reserved2 = -5;
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(skin.Packed()));
    EXPECT_EQ(reader.Header().Reserved1, 0x12345678);
    EXPECT_EQ(reader.Header().Reserved2, -5);
}

TEST(SkinReader, WrongVersionShowsTheMessageAndKeepsTheModel) {
    kt::ScopedScriptedMessages msgs;
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(kBasic.Packed()));
    ExpandedSkin old = MakeSkin({{"x.bmp", "x"}});
    old.version = 19999;
    EXPECT_FALSE(reader.Open(old.Packed()));
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.Count(), 4);
    EXPECT_EQ(reader.Header().Version, 20000);
    EXPECT_EQ(Str(reader.ExtractByName("form.bmp")), "BMform");
}

TEST(SkinReader, ShortExpandedFormReadsAsVersionZero) {
    kt::ScopedScriptedMessages msgs;
    TSkinReader reader;
    const std::vector<uint8_t> fifteen(15, 0x20);
    EXPECT_FALSE(reader.Open(kt::LzhPackContainer(fifteen)));
    EXPECT_FALSE(reader.Open(std::vector<uint8_t>{}));
    // A negative size expands to nothing.
    EXPECT_FALSE(reader.Open(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}));
    EXPECT_EQ(msgs.shown.size(), 3u);
    EXPECT_EQ(reader.Count(), 0);
}

// Structural refusals: False, no message box, the model as it was.
class SkinReaderRefuses : public ::testing::Test {
protected:
    void ExpectRefused(const std::vector<uint8_t>& container) {
        kt::ScopedScriptedMessages msgs;
        TSkinReader reader;
        ASSERT_TRUE(reader.Open(kBasic.Packed()));
        EXPECT_FALSE(reader.Open(container));
        EXPECT_FALSE(reader.LastError().empty());
        EXPECT_TRUE(msgs.shown.empty());
        EXPECT_EQ(reader.Count(), 4);
        EXPECT_EQ(Str(reader.ExtractByName("button.bmp")), "BMbutton");
    }
};

TEST_F(SkinReaderRefuses, MoreThan1001Names) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 1002; ++i) entries.emplace_back("e" + std::to_string(i), "");
    ExpectRefused(MakeSkin(entries).Packed());

    entries.pop_back();
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(MakeSkin(entries).Packed()));
    EXPECT_EQ(reader.Count(), 1001);
}

TEST_F(SkinReaderRefuses, NegativeSize) {
    ExpandedSkin skin = kBasic;
    skin.sizes[1] = -1;
    ExpectRefused(skin.Packed());
}

TEST_F(SkinReaderRefuses, SizesAddingUpToMoreThanTheData) {
    ExpandedSkin skin = kBasic;
    skin.sizes[3] = 1;
    ExpectRefused(skin.Packed());
    skin.sizes = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    ExpectRefused(skin.Packed());
}

TEST_F(SkinReaderRefuses, NameTextLongerThanTheExpandedBytes) {
    auto bytes = kBasic.Bytes();
    bytes[4] = 0xFF;
    bytes[5] = 0xFF;  // NamesLength 65535
    ExpectRefused(kt::LzhPackContainer(bytes));
    bytes[7] = 0x80;  // negative
    ExpectRefused(kt::LzhPackContainer(bytes));
}

TEST_F(SkinReaderRefuses, SizeTablePastTheEnd) {
    ExpandedSkin skin = MakeSkin({{"a", ""}, {"b", ""}});
    auto bytes = skin.Bytes();
    bytes.resize(bytes.size() - 2);
    ExpectRefused(kt::LzhPackContainer(bytes));
}

TEST_F(SkinReaderRefuses, AbsurdExpandedSize) {
    auto packed = kBasic.Packed();
    const int32_t huge = 64 * 1024 * 1024 + 1;
    for (int i = 0; i < 4; ++i) packed[i] = static_cast<uint8_t>(huge >> (8 * i));
    packed.resize(packed.size() + 2'000'000, 0);  // even with the input to code it
    ExpectRefused(packed);
}

TEST_F(SkinReaderRefuses, SizeTheStreamCannotHold) {
    // 1 GB declared over a few bytes: refused before anything is allocated for it.
    ExpectRefused({0x00, 0x00, 0x00, 0x40, 0x12, 0x34});
    // 48 bytes per input byte is LZHUF's best; one more is refused.
    std::vector<uint8_t> packed = {0x31, 0x00, 0x00, 0x00, 0x00};
    ExpectRefused(packed);
}

TEST(SkinReader, HighlyCompressibleSkinStaysWithinTheBound) {
    ExpandedSkin skin = MakeSkin({{"big.bmp", std::string(3'000'000, '\0')}});
    const auto packed = skin.Packed();
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed)) << reader.LastError();
    EXPECT_EQ(reader.ExtractByName("big.bmp").size(), 3'000'000u);
}

TEST(SkinReader, DataKeepsTheBytesOfAnOverrunningLastMatch) {
    const std::string expanded = Str(MakeSkin({{"a", "xyz"}}).Bytes());
    kt::LzhSymbolWriter w;
    for (char c : expanded) w.Literal(static_cast<uint8_t>(c));
    w.Match(10, 0);
    auto stream = w.Finish();
    std::vector<uint8_t> packed;
    kt::testing::PutInt32(packed, static_cast<int32_t>(expanded.size() + 1));
    packed.insert(packed.end(), stream.begin(), stream.end());
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed));
    EXPECT_EQ(Str(reader.Data()), "xyz" + std::string(10, 'z'));
    EXPECT_EQ(Str(reader.ExtractByName("a")), "xyz");
}

TEST(SkinReader, ExpandWritesTheWholeDecodedStream) {
    const auto text = kt::sample::TextLike(10000);
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(kt::ExpandSkinContainer(kt::LzhPackContainer(text), out, &error));
    ASSERT_GE(out.size(), text.size());
    EXPECT_TRUE(std::equal(text.begin(), text.end(), out.begin()));
    EXPECT_FALSE(kt::ExpandSkinContainer(std::vector<uint8_t>{0, 0, 0, 0x10}, out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(out.empty());
}

}  // namespace
