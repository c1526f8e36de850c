#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/core/SchemeFile.h"
#include "core/Errors.h"

namespace fs = std::filesystem;
using kt::ButtonScheme;

namespace {

using Strings = std::vector<std::string>;

ButtonScheme Read(std::string_view content, int eolBefore = kt::kEolNone) {
    ButtonScheme s;
    s.eol = eolBefore;
    kt::ReadSchemeText(content, s);
    return s;
}

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                ("kt_scheme_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string str() const { return path_.string(); }
    Strings Entries() const {
        Strings names;
        for (auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Put(const std::string& path, std::string_view content) {
    std::ofstream(path, std::ios::binary).write(content.data(), std::streamsize(content.size()));
}

}  // namespace

TEST(SchemeRead, LineEndsCrLfLoneCrLoneLf) {
    auto s = Read("C01one\r\nT01first\rC01two\nT01second");
    EXPECT_EQ(s.captions, (Strings{"one", "two"}));
    EXPECT_EQ(s.texts, (Strings{"first", "second"}));
    // LF CR is two line ends, not one: the empty line between them is ignored.
    EXPECT_EQ(Read("C01a\n\rC01b\r\n\r\n").captions, (Strings{"a", "b"}));
}

TEST(SchemeRead, OnlyTheUpperCaseFirstCharacterCounts) {
    auto s = Read("c01lower\r\nCxyplain\r\nC\r\nT01\r\nT\r\nX01other\r\n C01space\r\nTab\r\n");
    EXPECT_EQ(s.captions, (Strings{"plain", ""}));
    EXPECT_EQ(s.texts, (Strings{"", "", ""}));
}

TEST(SchemeRead, CaptionsAndTextsPairByOrderWhateverTheInterleaving) {
    auto grouped = Read("T01x\r\nT01y\r\nC01a\r\nC01b\r\nD012\r\n");
    auto interleaved = Read("C01a\r\nT01x\r\nC01b\r\nT01y\r\nD012\r\n");
    EXPECT_EQ(grouped.captions, interleaved.captions);
    EXPECT_EQ(grouped.texts, interleaved.texts);
    EXPECT_EQ(grouped.eol, 2);
    // A byte-order mark (today's editors write one) must not hide the first caption.
    EXPECT_EQ(Read("\xEF\xBB\xBF" "C01a\r\nT01x\r\nC01b\r\nT01y\r\nD012\r\n").captions, interleaved.captions);
}

TEST(SchemeRead, EndOfLineIsClampedKeptWhenMissingAndLastOneWins) {
    EXPECT_EQ(Read("D015\r\n").eol, 2);
    EXPECT_EQ(Read("D01-7\r\n").eol, -1);
    EXPECT_EQ(Read("D01+1\r\n").eol, 1);
    EXPECT_EQ(Read("D010\r\n", 2).eol, 0);
    EXPECT_EQ(Read("C01a\r\n", 1).eol, 1);
    EXPECT_EQ(Read("D011\r\nD012\r\nD010\r\n").eol, 0);
    EXPECT_EQ(Read("D012147483647\r\n").eol, 2);
    EXPECT_EQ(Read("D01-2147483648\r\n").eol, -1);
}

TEST(SchemeRead, BadEndOfLineStopsReadingAndKeepsEarlierLines) {
    for (const char* bad : {"abc", "", "1x", " 1", "1 ", "-", "2147483648", "0x1"}) {
        ButtonScheme s;
        s.eol = 1;
        std::string file = std::string("C01a\r\nT01x\r\nD01") + bad + "\r\nC01b\r\nD012\r\n";
        try {
            kt::ReadSchemeText(file, s);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const kt::EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid integer value (line 3)");
        }
        EXPECT_EQ(s.captions, Strings{"a"}) << bad;
        EXPECT_EQ(s.texts, Strings{"x"}) << bad;
        EXPECT_EQ(s.eol, 1) << bad;
        EXPECT_EQ(s.cut, "reading stopped at the bad line 3") << bad;
    }
}

// What a reader leaves out is said, so that nobody saves over it unknowingly.
TEST(SchemeRead, SaysWhatWasNotReadAndWhere) {
    using namespace std::string_literals;
    const std::size_t limit = kt::kSchemeLineLimit;
    const std::string longText = "T01" + std::string(limit + 100, 'x');
    const std::string cutTo = "cut to " + std::to_string(limit) + " characters";
    const std::string badBytes = "holds bytes that are not valid ", shown = " (shown as \xEF\xBF\xBD)";
    const struct {
        std::string content, cut;
    } cases[] = {
        {"C01a\r\nT01x\r\nD011\r\n", ""},
        {"C01" + std::string(limit - 3, 'c') + "\r\nT01" + std::string(limit - 3, 't'), ""},  // exactly the limit
        {"C01a\r\n" + longText + "\r\n", "line 2 " + cutTo},
        {longText + "\n" + longText + "\r" + longText, "line 1 " + cutTo + " (and 2 more lines)"},
        {"C01a\r\nT01x\0y\r\nC01b\r\n"s, "text after a zero byte in line 2 not read (10 bytes)"},
        {"\xFF\xFE" "C\0" "0\0" "1\0" "\n\0" "T\0" "0\0" "1\0" "\0\xD8"s, "line 2 " + badBytes + "UTF-16" + shown},
        {"\xEF\xBB\xBF" "C01a\r\nT01\xFF\r\n"s, "line 2 " + badBytes + "UTF-8" + shown},
        {longText + "\r\nT01\0"s, "text after a zero byte in line 2 not read (1 byte); line 1 " + cutTo},
    };
    for (const auto& c : cases) {
        ButtonScheme s;
        s.cut = "stale";
        kt::ReadSchemeText(c.content, s);
        EXPECT_EQ(s.cut, c.cut) << c.content.substr(0, 40);
    }
}

// A text far longer than any form field is read whole; only one beyond the reader's limit is
// cut, and it is named so that the bar types nothing of it.
TEST(SchemeRead, LongTextsAreWholeAndACutOneIsNamed) {
    const std::string twenty(20000, 'a');
    auto s = Read("C01a\r\nT01" + twenty + "\r\nC01b\r\nT01" + std::string(kt::kSchemeLineLimit, 'b') + "\r\n");
    ASSERT_EQ(s.texts.size(), 2u);
    EXPECT_EQ(s.texts[0], twenty);
    EXPECT_EQ(s.cutTexts, (std::vector<std::size_t>{1}));
}

TEST(SchemeFileIo, ABadEndOfLineNamesTheFileAndLine) {
    TempFolder dir;
    const std::string path = dir / "home.dat";
    Put(path, "C01a\r\n\r\nD01abc\r\nC01b\r\n");
    ButtonScheme s;
    try {
        kt::LoadSchemeFile(path, s);
        ADD_FAILURE() << "no error";
    } catch (const kt::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value (scheme file " + path + ", line 3)");
    }
    EXPECT_EQ(s.captions, Strings{"a"});
    EXPECT_EQ(s.cut, "reading stopped at the bad line 3");
    // A missing file holds nothing that could be lost.
    EXPECT_FALSE(kt::LoadSchemeFile(dir / "none.dat", s));
    EXPECT_EQ(s.cut, "");
}

TEST(SchemeRead, LongLineIsCutAndItsRestIsNoRecord) {
    const std::size_t limit = kt::kSchemeLineLimit;
    std::string text(limit + 100, 'x');
    text.replace(limit, 6, "C01bad");
    auto s = Read("T01" + text + "\r\nC01ok\r\n");
    ASSERT_EQ(s.texts.size(), 1u);
    EXPECT_EQ(s.texts[0], text.substr(0, limit - 3));
    EXPECT_EQ(s.captions, Strings{"ok"});
}

TEST(SchemeRead, ZeroByteEndsTheText) {
    using namespace std::string_view_literals;
    auto s = Read("C01a\r\nT01x\0y\r\nC01b\r\n"sv);
    EXPECT_EQ(s.captions, Strings{"a"});
    EXPECT_EQ(s.texts, Strings{"x"});
}

TEST(SchemeRead, ReportsEachCaptionAsItIsRead) {
    ButtonScheme s;
    std::vector<std::size_t> seen;
    EXPECT_THROW(kt::ReadSchemeText("C01a\r\nT01x\r\nC01b\r\nDbad\r\nC01c\r\n", s,
                                    [&](std::size_t i) {
                                        seen.push_back(i);
                                        EXPECT_EQ(s.captions.size(), i + 1);
                                    }),
                 kt::EConvertError);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));
}

TEST(SchemeWrite, BothLineOrdersExactly) {
    ButtonScheme s{{"One", ""}, {"first text", ""}, kt::kEolTab};
    EXPECT_EQ(kt::FormatSchemeForSave(s), "C01One\r\nT01first text\r\nC01\r\nT01\r\nD012\r\n");
    EXPECT_EQ(kt::FormatSchemeImplicit(s), "T01first text\r\nC01One\r\nT01\r\nC01\r\nD012\r\n");
    EXPECT_EQ(kt::FormatSchemeForSave(ButtonScheme{}), "D01-1\r\n");
}

TEST(SchemeWrite, ReadBackGivesTheSamePairs) {
    ButtonScheme s{{"a", "", "c"}, {"", "t2", "t3 with spaces "}, kt::kEolEnter};
    for (auto format : {kt::FormatSchemeForSave, kt::FormatSchemeImplicit}) {
        auto back = Read(format(s));
        EXPECT_EQ(back.captions, s.captions);
        EXPECT_EQ(back.texts, s.texts);
        EXPECT_EQ(back.eol, s.eol);
    }
}

TEST(SchemeFile, KeysInBracesTextsAreT02LinesOtherTLinesStayPlain) {
    // Only "T02" marks a keys-in-braces text; "T01", "T", "T03", "Tx" read plain as always.
    auto read = Read("C01a\r\nT02{TAB}x\r\nC01b\r\nT01{TAB}y\r\nC01c\r\nT\r\nC01d\r\nT03z\r\nC01e\r\nT02\r\nD011\r\n");
    EXPECT_EQ(read.texts, (Strings{"{TAB}x", "{TAB}y", "", "z", ""}));
    EXPECT_EQ(read.keys, (std::vector<bool>{true, false, false, false, true}));
    EXPECT_TRUE(kt::IsKeysText(read, 0));
    EXPECT_FALSE(kt::IsKeysText(read, 1));
    EXPECT_FALSE(kt::IsKeysText(read, 7));  // beyond the list: plain

    ButtonScheme s{{"Form", "Plain", "Short"}, {"a{TAB}b", "{x}", "t"}, kt::kEolEnter};
    s.keys = {true};  // shorter than the texts: the rest are plain
    EXPECT_EQ(kt::FormatSchemeForSave(s), "C01Form\r\nT02a{TAB}b\r\nC01Plain\r\nT01{x}\r\nC01Short\r\nT01t\r\nD011\r\n");
    EXPECT_EQ(kt::FormatSchemeImplicit(s), "T02a{TAB}b\r\nC01Form\r\nT01{x}\r\nC01Plain\r\nT01t\r\nC01Short\r\nD011\r\n");
    for (auto format : {kt::FormatSchemeForSave, kt::FormatSchemeImplicit}) {
        auto back = Read(format(s));
        EXPECT_EQ(back.texts, s.texts);
        EXPECT_EQ(back.keys, (std::vector<bool>{true, false, false}));
    }
    // A caption without a text: its empty text is written plain.
    ButtonScheme missing{{"a", "b"}, {"x"}, 0};
    missing.keys = {true, true};
    EXPECT_EQ(kt::FormatSchemeForSave(missing), "C01a\r\nT02x\r\nC01b\r\nT01\r\nD010\r\n");
}

TEST(SchemeWrite, MisalignedOrMultiLinePayloadsCannotShiftLaterRecords) {
    // Fewer texts than captions: the missing texts are written empty.
    ButtonScheme shortTexts{{"a", "b"}, {"x"}, 0};
    EXPECT_EQ(kt::FormatSchemeForSave(shortTexts), "C01a\r\nT01x\r\nC01b\r\nT01\r\nD010\r\n");
    // A payload never carries a line break or zero byte into the file.
    using namespace std::string_literals;
    ButtonScheme broken{{"cap\r\nC01evil", "b"}, {"x\0T01y"s, "z\rw"}, 1};
    auto back = Read(kt::FormatSchemeImplicit(broken));
    EXPECT_EQ(back.captions, (Strings{"cap", "b"}));
    EXPECT_EQ(back.texts, (Strings{"x", "z"}));
    EXPECT_EQ(back.eol, 1);
}

TEST(SchemeFileIo, LoadMissingFileOrFolderLeavesListsEmpty) {
    TempFolder dir;
    ButtonScheme s{{"old"}, {"old"}, 2};
    EXPECT_FALSE(kt::LoadSchemeFile(dir / "button.dat", s));
    EXPECT_TRUE(s.captions.empty());
    EXPECT_TRUE(s.texts.empty());
    EXPECT_EQ(s.eol, 2);
    fs::create_directory(dir / "folder.dat");
    EXPECT_FALSE(kt::LoadSchemeFile(dir / "folder.dat", s));
}

TEST(SchemeFileIo, SaveTwiceGivesTheSameFileAndLeavesNoTemporary) {
    TempFolder dir;
    const std::string path = dir / "work.dat";
    Put(path, "C01stale\r\nC01stale\r\nC01stale\r\nD011\r\n");
    ButtonScheme s{{"Name"}, {"John"}, kt::kEolTab};
    kt::SaveSchemeFileImplicit(path, s);
    const std::string first = Slurp(path);
    kt::SaveSchemeFileImplicit(path, s);
    EXPECT_EQ(Slurp(path), first);
    EXPECT_EQ(first, "T01John\r\nC01Name\r\nD012\r\n");
    EXPECT_EQ(dir.Entries(), Strings{"work.dat"});

    // Each writer has a temporary file of its own; a new scheme never replaces one.
    struct Recording : kt::PortableSchemeFileSystem {
        std::set<std::string> temps;
        bool WriteNew(const std::string& p, std::string_view c) override {
            return temps.insert(p).second && SchemeFileSystem::WriteNew(p, c);
        }
    } recording;
    kt::SetSchemeFileSystem(&recording);
    kt::SaveSchemeFileImplicit(path, s);
    kt::SaveSchemeFileImplicit(path, s);
    kt::SetSchemeFileSystem(nullptr);
    EXPECT_EQ(recording.temps.size(), 2u);
    EXPECT_FALSE(kt::WriteNewSchemeFile(path, "D010\r\n"));
    EXPECT_EQ(Slurp(path), first);
    EXPECT_TRUE(kt::WriteNewSchemeFile(dir / "new.dat", "D010\r\n"));
    EXPECT_EQ(dir.Entries().size(), 2u);

    kt::SaveSchemeFile(path, s);
    ButtonScheme back;
    ASSERT_TRUE(kt::LoadSchemeFile(path, back));
    EXPECT_EQ(back.captions, s.captions);
    EXPECT_EQ(back.texts, s.texts);
    EXPECT_EQ(back.eol, kt::kEolTab);
}

TEST(SchemeFileIo, FailedWriteReportsAndKeepsTheOldFile) {
    TempFolder dir;
    ButtonScheme s{{"new"}, {"new"}, 1};

    const std::string missing = dir / "no-such-folder/x.dat";
    try {
        kt::SaveSchemeFile(missing, s);
        ADD_FAILURE() << "no error";
    } catch (const kt::EInOutError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + missing);
    }

    // A folder in the file's place cannot be replaced.
    const std::string folder = dir / "taken.dat";
    fs::create_directory(folder);
    EXPECT_THROW(kt::SaveSchemeFile(folder, s), kt::EInOutError);
    EXPECT_TRUE(fs::is_directory(folder));

    // The final move fails: the old content stays and the temporary file is gone.
    struct FailingMove : kt::PortableSchemeFileSystem {
        bool MoveReplacing(const std::string&, const std::string&) override { return false; }
    } failing;
    const std::string path = dir / "keep.dat";
    Put(path, "C01old\r\nT01old\r\nD010\r\n");
    kt::SetSchemeFileSystem(&failing);
    EXPECT_THROW(kt::SaveSchemeFile(path, s), kt::EInOutError);
    kt::SetSchemeFileSystem(nullptr);
    EXPECT_EQ(Slurp(path), "C01old\r\nT01old\r\nD010\r\n");
    auto entries = dir.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (Strings{"keep.dat", "taken.dat"}));
}

TEST(SchemeFolder, ListsExactDatFilesInEnumerationOrderButNoFolder) {
    EXPECT_EQ(kt::SchemeNamesFromEntries({"b.dat", "a.DAT", "x.y.dat", "note.dat.txt", "dat",
                                          "button.dat", "folder.dat", ".", "..", "a.Dat"}),
              (Strings{"b", "x.y", "button", "folder"}));

    TempFolder dir;
    for (const char* name : {"one.dat", "TWO.DAT", "three.dat.bak", "four.dat"}) Put(dir / name, "D010\r\n");
    fs::create_directory(dir / "sub.dat");
    Strings expected;
    for (const std::string& e : dir.Entries())
        if (e != "TWO.DAT" && e != "three.dat.bak" && e != "sub.dat") expected.push_back(e.substr(0, e.size() - 4));
    EXPECT_EQ(kt::ListSchemeNames(dir.str()), expected);
    EXPECT_TRUE(kt::ListSchemeNames(dir / "missing").empty());
}

TEST(SchemeFolder, ChooserNameDropsFolderAndExtension) {
    EXPECT_EQ(kt::SchemeDisplayName("button.dat"), "button");
    EXPECT_EQ(kt::SchemeDisplayName("C:\\Typing\\data\\long.name.dat"), "long.name");
    EXPECT_EQ(kt::SchemeDisplayName("C:x.dat"), "x");
    EXPECT_EQ(kt::SchemeDisplayName(".dat"), "");
    EXPECT_EQ(kt::SchemeDisplayName("ab"), "");
}

// A scheme the code page holds is written as every earlier version wrote it; any other goes as
// UTF-8 behind a mark on a line of its own, and each reads back as it was.
TEST(SchemeWrite, CodePageWhenItFitsElseUtf8AndEitherReadsBack) {
    const struct {
        std::string caption, bytes;
    } cases[] = {
        {"caf\xC3\xA9 \xE2\x82\xAC" "5", "C01caf\xE9 \x80" "5\r\nT01t\r\nD01-1\r\n"},
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA \xF0\x9F\x98\x80", "\xEF\xBB\xBF\r\nC01\xC5\x81\xC3\xB3" "d\xC5\xBA \xF0\x9F\x98\x80\r\nT01t\r\nD01-1\r\n"},
        // In the code page these bytes would read as UTF-8 ("é"): written as UTF-8 instead.
        {"\xC3\x83\xC2\xA9", "\xEF\xBB\xBF\r\nC01\xC3\x83\xC2\xA9\r\nT01t\r\nD01-1\r\n"},
    };
    for (const auto& c : cases) {
        ButtonScheme s;
        s.captions = {c.caption};
        s.texts = {"t"};
        EXPECT_EQ(kt::FormatSchemeForSave(s), c.bytes);
        const ButtonScheme back = Read(c.bytes);
        EXPECT_EQ(back.captions, Strings{c.caption});
        EXPECT_EQ(back.texts, Strings{"t"});
        EXPECT_EQ(back.cut, "");
        // A reader that looks only at first characters sees the same records.
        EXPECT_EQ(kt::SplitSchemeLines(c.bytes).size(), c.bytes.starts_with("\xEF") ? 4u : 3u);
    }
}

// A tag is three characters: one of the code page beyond ASCII in it is not split in two.
TEST(SchemeRead, ATagByteBeyondAsciiIsOneCharacterOfTheTag) {
    EXPECT_EQ(Read("C0\x82\xD1z\r\n").captions, Strings{"\xC3\x91z"});
}
