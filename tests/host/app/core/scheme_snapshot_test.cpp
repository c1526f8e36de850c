// Reading a scheme file that another program may be writing at the same moment: never half of
// it, a held file waited for, a brief absence not taken for a deletion.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/SchemeSnapshot.h"

namespace fs = std::filesystem;
using namespace kt;

namespace {

// Real files, plus a writer that holds the file (reads fail as with a sharing violation).
class HeldFiles : public PortableSchemeFileSystem {
public:
    int heldReads = 0;
    long long age = 10000;  // how long ago every file was written, by this file system's word
    long long MillisecondsSinceWrite(const FileStamp&) override { return age; }
    ReadResult ReadWhole(const std::string& path, std::string& content) override {
        if (heldReads > 0) {
            --heldReads;
            return ReadResult::CannotOpen;
        }
        return PortableSchemeFileSystem::ReadWhole(path, content);
    }
};

class SchemeSnapshotTest : public ::testing::Test {
protected:
    SchemeSnapshotTest() {
        path = (fs::temp_directory_path() /
                ("kt_snapshot_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string();
        fs::remove(path);
    }
    ~SchemeSnapshotTest() override { fs::remove(path); }
    void Write(const std::string& content, std::ios::openmode mode = std::ios::trunc) {
        std::ofstream(path, std::ios::binary | std::ios::out | mode) << content;
    }
    std::string path;
    HeldFiles files;
};

const std::string kWhole = "C01One\r\nT01one\r\nC01Two\r\nT01two\r\nD011\r\n";

}  // namespace

TEST_F(SchemeSnapshotTest, AFileWrittenInPiecesIsTakenOnlyWhenTwoLooksAgree) {
    // The writer adds one piece during each pause: every look before the last piece sees a
    // part of the file, and none of them may be the result.
    const std::vector<std::string> pieces{"C01One\r\n", "T01one\r\n", "C01Two\r\n", "T01two\r\n", "D011\r\n"};
    Write(pieces[0]);
    std::size_t next = 1;
    int pauses = 0;
    SchemeSnapshot read;
    const auto step = ReadSchemeSteadily(files, path, read, [&](int ms) {
        EXPECT_EQ(ms, SteadySchemeRead::kPauseMs);
        ++pauses;
        if (next < pieces.size()) Write(pieces[next++], std::ios::app);
    });
    EXPECT_EQ(step, SteadySchemeRead::Step::Steady);
    EXPECT_EQ(read.content, kWhole);
    EXPECT_TRUE(read.exists);
    EXPECT_EQ(read.stamp.size, kWhole.size());
    EXPECT_EQ(pauses, 5);  // four pieces added, then one look to see nothing more came
}

TEST_F(SchemeSnapshotTest, AFileWrittenJustNowIsTakenOnlyOnceItHasBeenQuiet) {
    // A writer that pauses longer than a look takes, and holds no lock: the two looks agree,
    // but the file is younger than the quiet time.
    Write(kWhole);
    files.age = SteadySchemeRead::kQuietMs - 1;
    int pauses = 0;
    SchemeSnapshot read;
    EXPECT_EQ(ReadSchemeSteadily(files, path, read, [&](int) {
                  if (++pauses == 3) files.age = SteadySchemeRead::kQuietMs;
              }),
              SteadySchemeRead::Step::Steady);
    EXPECT_EQ(pauses, 3);
    files.age = -1;  // a clock that cannot tell: the looks alone decide
    EXPECT_EQ(ReadSchemeSteadily(files, path, read, [&](int) { ++pauses; }), SteadySchemeRead::Step::Steady);
    EXPECT_EQ(pauses, 4);
}

TEST_F(SchemeSnapshotTest, AHeldFileIsWaitedForAndOneHeldTooLongFails) {
    Write(kWhole);
    files.heldReads = 3;
    SchemeSnapshot read;
    int pauses = 0;
    EXPECT_EQ(ReadSchemeSteadily(files, path, read, [&](int) { ++pauses; }), SteadySchemeRead::Step::Steady);
    EXPECT_EQ(read.content, kWhole);
    EXPECT_EQ(pauses, 4);

    files.heldReads = SteadySchemeRead::kMaxAttempts;
    SteadySchemeRead held(files, path);
    SteadySchemeRead::Step step;
    while ((step = held.Attempt()) == SteadySchemeRead::Step::Again) {
    }
    EXPECT_EQ(step, SteadySchemeRead::Step::Failed);
    EXPECT_EQ(held.Attempts(), SteadySchemeRead::kMaxAttempts);
}

TEST_F(SchemeSnapshotTest, AFileAbsentForOneLookIsReadAndAbsentForTwoIsMissing) {
    SchemeSnapshot read;
    // A writer that deletes the old file and then writes the new one.
    EXPECT_EQ(ReadSchemeSteadily(files, path, read, [&](int) {
                  if (!fs::exists(path)) Write(kWhole);
              }),
              SteadySchemeRead::Step::Steady);
    EXPECT_EQ(read.content, kWhole);
    fs::remove(path);
    int pauses = 0;
    EXPECT_EQ(ReadSchemeSteadily(files, path, read, [&](int) { ++pauses; }), SteadySchemeRead::Step::Missing);
    EXPECT_EQ(pauses, 1);
    EXPECT_FALSE(read.exists);
    // A folder of that name is no scheme file either.
    fs::create_directory(path);
    EXPECT_EQ(ReadSnapshotOnce(files, path, read), SnapshotRead::Missing);
    fs::remove(path);
}

TEST(SchemeSnapshot, TheContentDecidesWhetherAFileChanged) {
    const SchemeSnapshot none;
    const SchemeSnapshot a{true, {5, 100}, "C01A\n"};
    const struct {
        SchemeSnapshot now;
        bool changed;
    } cases[] = {
        {{true, {5, 100}, "C01A\n"}, false},
        {{true, {5, 999}, "C01A\n"}, false},  // saved again with the same bytes: nothing to lose
        {{true, {5, 100}, "C01B\n"}, true},   // a coarse clock kept size and time
        {{true, {6, 100}, "C01A\n"}, true},   // grew after the bytes were read
        {none, true},
    };
    for (const auto& c : cases) EXPECT_EQ(ChangedSince(a, c.now), c.changed) << c.now.content;
    EXPECT_TRUE(ChangedSince(none, a));
    EXPECT_FALSE(ChangedSince(none, none));
}

TEST(SchemeSnapshot, TheBarReloadsOnAChangeAndReportsADeletionOnce) {
    using A = SchemeFileFollow::Action;
    const SchemeSnapshot v1{true, {5, 1}, "C01A\n"}, v2{true, {5, 2}, "C01B\n"}, gone;
    SchemeFileFollow follow;
    follow.Shown("a.dat", v1);
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Read, v1), A::None);        // another file changed
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Read, v2), A::Reload);
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Busy, gone), A::Reload);    // a writer holds it
    follow.Shown("a.dat", v2);
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Missing, gone), A::ReportMissing);
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Missing, gone), A::None);   // once
    EXPECT_EQ(follow.Judge("a.dat", SnapshotRead::Read, v1), A::Reload);      // back again
    // The user chose another scheme meanwhile: its load said what there was to say.
    EXPECT_EQ(follow.Judge("b.dat", SnapshotRead::Missing, gone), A::None);
    EXPECT_EQ(follow.Judge("b.dat", SnapshotRead::Read, v1), A::Reload);
    follow.Shown("b.dat", v1);
    EXPECT_EQ(follow.Judge("c.dat", SnapshotRead::Read, v1), A::Reload);
}
