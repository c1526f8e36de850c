#include <gtest/gtest.h>

#include "SkinContainerBuilder.h"
#include "core/Errors.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinWriter.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(SkinWriter, PackedSkinOpensWithTheSameEntries) {
    const std::vector<kt::SkinEntry> entries = {
        {"Blue.ini", Bytes("[Form]\r\n")}, {"a.bmp", Bytes("BMa")}, {"empty.bmp", {}}};
    kt::TSkinReader reader;
    ASSERT_TRUE(reader.Open(kt::PackSkin(entries))) << reader.LastError();
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"blue.ini", "a.bmp", "empty.bmp"}));
    EXPECT_EQ(kt::testing::Str(reader.ExtractByName("blue.ini")), "[Form]\r\n");
    EXPECT_EQ(kt::testing::Str(reader.ExtractByName("A.BMP")), "BMa");
    EXPECT_EQ(reader.Header().Reserved1, 0);
}

TEST(SkinWriter, ExpandedLayoutMatchesTheReadersView) {
    const auto expanded = kt::BuildExpandedSkin({{"x", Bytes("12")}, {"Y", Bytes("3")}});
    EXPECT_EQ(expanded, kt::testing::MakeSkin({{"x", "12"}, {"Y", "3"}}).Bytes());
}

TEST(SkinWriter, RefusesWhatTheReaderWouldRefuse) {
    EXPECT_THROW(kt::BuildExpandedSkin({{"a\r\nb", {}}}), kt::Exception);
    EXPECT_THROW(kt::BuildExpandedSkin({{"a\nb", {}}}), kt::Exception);
    EXPECT_THROW(kt::BuildExpandedSkin(std::vector<kt::SkinEntry>(1002)), kt::Exception);
    EXPECT_NO_THROW(kt::BuildExpandedSkin(std::vector<kt::SkinEntry>(1001)));
    EXPECT_THROW(kt::BuildExpandedSkin({{"big", std::vector<uint8_t>(64 * 1024 * 1024)}}),
                 kt::Exception);
}

}  // namespace
