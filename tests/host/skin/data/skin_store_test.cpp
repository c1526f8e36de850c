#include <gtest/gtest.h>

#include "SkinContainerBuilder.h"
#include "skin/data/SkinReader.h"
#include "skin/data/WinSkinStore.h"

namespace {

using kt::TSkinCollection;
using kt::TSkinStore;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(SkinStore, ItemsAreNamedByIdsThatAreNeverReused) {
    TSkinStore store;
    TSkinCollection& c = store.Store();
    c.Add();
    c.Add();
    c.Add();
    EXPECT_EQ(c[0].Name(), "SkinItem0");
    EXPECT_EQ(c[1].Name(), "SkinItem1");
    EXPECT_EQ(c[2].Name(), "SkinItem2");
    c.Delete(1);
    auto& added = c.Add();
    EXPECT_EQ(added.ID(), 3);
    EXPECT_EQ(added.Name(), "SkinItem3");
    EXPECT_EQ(added.Index(), 2);
    EXPECT_EQ(added.GetDisplayName(), "SkinItem3");
    EXPECT_EQ(&added.Collection(), &c);
    EXPECT_EQ(c.Owner(), &store);
    c.Clear();
    EXPECT_EQ(c.Add().Name(), "SkinItem4");
}

TEST(SkinStore, IndexOutOfBoundsIsAListError) {
    TSkinStore store;
    store.Store().Add();
    EXPECT_THROW(store.Store()[1], kt::EListError);
    EXPECT_THROW(store.Store().Delete(-1), kt::EListError);
    try {
        store.Store().Items(5);
    } catch (const kt::EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
}

TEST(SkinStore, SetNameRefusesAnotherItemsExactName) {
    TSkinStore store;
    auto& a = store.Store().Add();
    auto& b = store.Store().Add();
    a.SetName("Blue");
    a.SetName("Blue");  // its own name
    b.SetName("blue");  // the comparison is case-sensitive
    EXPECT_EQ(b.Name(), "blue");
    try {
        b.SetName("Blue");
        FAIL() << "no exception";
    } catch (const kt::Exception& e) {
        EXPECT_EQ(e.Message(), "The name Blue is already used.");
    }
    EXPECT_EQ(b.Name(), "blue");
}

TEST(SkinStore, DataSizeAndTheSkinDataHook) {
    TSkinStore store;
    auto& item = store.Store().Add();
    EXPECT_EQ(item.DataSize(), 0);
    item.Data() = Bytes("container");
    EXPECT_EQ(item.DataSize(), 9);
    EXPECT_EQ(item.SkinData(), "Load Skin");
    item.SetSkinData("C:\\skins\\blue.skn");
    EXPECT_EQ(item.SkinData(), "Load Skin");
    EXPECT_EQ(item.DataSize(), 9);
}

TEST(SkinStore, AssignCopiesNameAndDataWithoutTheUniquenessCheck) {
    TSkinStore store;
    auto& a = store.Store().Add();
    auto& b = store.Store().Add();
    a.Data() = Bytes("AAA");
    b.Assign(a);
    EXPECT_EQ(b.Name(), "SkinItem0");
    EXPECT_EQ(b.Data(), a.Data());
    EXPECT_EQ(b.ID(), 1);
}

TEST(SkinStore, AssigningAStoreCopiesItsItems) {
    TSkinStore source, target;
    source.Store().Add().Data() = Bytes("one");
    source.Store().Add().SetName("Green");
    target.Store().Add();
    target.Store().Add();
    target.Store().Add();
    target.SetStore(&source.Store());
    ASSERT_EQ(target.Store().Count(), 2);
    EXPECT_EQ(target.Store()[0].Name(), "SkinItem0");
    EXPECT_EQ(target.Store()[0].Data(), Bytes("one"));
    EXPECT_EQ(target.Store()[1].Name(), "Green");
    EXPECT_EQ(target.Store()[1].ID(), 4);
    target.SetStore(nullptr);
    EXPECT_EQ(target.Store().Count(), 2);
}

TEST(SkinStore, StoredFormFraming) {
    TSkinStore store;
    store.Store().Add().Data() = {0xAB, 0xCD};
    std::vector<uint8_t> out;
    store.SaveToStream(out);
    std::vector<uint8_t> expected = {'T', 'P', 'F', '0', 10};
    for (char c : std::string("TSkinStore")) expected.push_back(static_cast<uint8_t>(c));
    expected.push_back(10);
    for (char c : std::string("SkinStore1")) expected.push_back(static_cast<uint8_t>(c));
    auto add = [&](std::initializer_list<int> bytes, const std::string& text = "") {
        for (int b : bytes) expected.push_back(static_cast<uint8_t>(b));
        for (char c : text) expected.push_back(static_cast<uint8_t>(c));
    };
    add({5}, "Store");
    add({0x0E, 0x01, 4}, "Name");
    add({0x06, 9}, "SkinItem0");
    add({10}, "DataStream");
    add({0x0A, 2, 0, 0, 0, 0xAB, 0xCD, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(out, expected);
}

TEST(SkinStore, StoredFormRoundTripsByteIdentical) {
    TSkinStore store;
    store.Store().Add().Data() = kt::testing::MakeSkin({{"skin.ini", "[Form]"}}).Packed();
    store.Store().Add().Data() = std::vector<uint8_t>(70000, 0x5A);
    store.Store().Add().SetName(std::string(300, 'n'));  // long names take the 32-bit form
    store.Store().Delete(0);
    store.Store().Add().SetName("Green");

    std::vector<uint8_t> saved;
    store.SaveToStream(saved);
    TSkinStore loaded;
    std::string error;
    ASSERT_TRUE(loaded.LoadFromStream(saved, &error)) << error;
    ASSERT_EQ(loaded.Store().Count(), store.Store().Count());
    for (int i = 0; i < store.Store().Count(); ++i) {
        EXPECT_EQ(loaded.Store()[i].Name(), store.Store()[i].Name());
        EXPECT_EQ(loaded.Store()[i].Data(), store.Store()[i].Data());
        EXPECT_EQ(loaded.Store()[i].DataSize(), static_cast<int32_t>(store.Store()[i].Data().size()));
    }
    std::vector<uint8_t> again;
    loaded.SaveToStream(again);
    EXPECT_EQ(again, saved);
}

TEST(SkinStore, LoadedItemsOpenWithTheReader) {
    TSkinStore store;
    store.Store().Add().Data() =
        kt::testing::MakeSkin({{"skin.ini", "[Form]"}, {"a.bmp", "BM.."}}).Packed();
    std::vector<uint8_t> saved;
    store.SaveToStream(saved);
    TSkinStore loaded;
    ASSERT_TRUE(loaded.LoadFromStream(saved.data(), saved.size()));
    kt::TSkinReader reader;
    ASSERT_TRUE(reader.Open(loaded.Store()[0].Data()));
    EXPECT_EQ(kt::testing::Str(reader.ExtractByName("skin.ini")), "[Form]");
}

TEST(SkinStore, LoadingReplacesTheItemsAndContinuesTheIds) {
    TSkinStore source;
    source.Store().Add().SetName("Blue");
    std::vector<uint8_t> saved;
    source.SaveToStream(saved);
    TSkinStore store;
    store.Store().Add();
    store.Store().Add();
    ASSERT_TRUE(store.LoadFromStream(saved));
    ASSERT_EQ(store.Store().Count(), 1);
    EXPECT_EQ(store.Store()[0].Name(), "Blue");
    EXPECT_EQ(store.Store()[0].ID(), 2);
    EXPECT_EQ(store.Store().Add().Name(), "SkinItem3");
}

TEST(SkinStore, MalformedStoredFormsAreRefusedAndChangeNothing) {
    TSkinStore source;
    source.Store().Add().Data() = Bytes("abc");
    source.Store().Add().SetName("Second");
    std::vector<uint8_t> saved;
    source.SaveToStream(saved);

    TSkinStore store;
    store.Store().Add().SetName("Kept");
    for (size_t n = 0; n < saved.size(); ++n) {  // every truncation
        std::string error;
        EXPECT_FALSE(store.LoadFromStream(saved.data(), n, &error)) << n;
        EXPECT_FALSE(error.empty());
    }
    auto trailing = saved;
    trailing.push_back(0);
    EXPECT_FALSE(store.LoadFromStream(trailing));

    auto huge = saved;  // the first DataStream length made 2 GB
    const size_t at = 4 + 11 + 11 + 6 + 2 + 5 + 2 + 9 + 11 + 1;
    ASSERT_EQ(huge[at], 3);
    huge[at + 3] = 0x7F;
    std::string error;
    EXPECT_FALSE(store.LoadFromStream(huge, &error));
    EXPECT_NE(error.find("runs past the end"), std::string::npos);

    ASSERT_EQ(store.Store().Count(), 1);
    EXPECT_EQ(store.Store()[0].Name(), "Kept");
}

TEST(SkinStore, DuplicateNamesInAStoredFormAreRefused) {
    TSkinStore source;
    source.Store().Add().SetName("Twin");
    source.Store().Add();
    source.Store()[1].Assign(source.Store()[0]);  // the one path that allows a duplicate
    std::vector<uint8_t> saved;
    source.SaveToStream(saved);
    TSkinStore store;
    std::string error;
    EXPECT_FALSE(store.LoadFromStream(saved, &error));
    EXPECT_EQ(error, "The name Twin is already used.");
    EXPECT_EQ(store.Store().Count(), 0);
}

}  // namespace
