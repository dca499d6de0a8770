// The database file: names, text written, text accepted, messages.
#include "database/ADataBase.h"

#include "support/CapturedLog.h"
#include "support/ScratchDir.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace korvana;
using korvana::test::readAll;
using korvana::test::ScratchDir;
using korvana::test::writeAll;

namespace {

AData record(std::vector<uint8_t> stones, std::vector<std::pair<int, int>> candidates, int32_t id = 1024)
{
    AData r;
    r.setId(id);
    r.setStones(stones.data(), static_cast<int>(stones.size()));
    r.candidates().resize(static_cast<int32_t>(candidates.size()));
    for (size_t i = 0; i < candidates.size(); ++i)
        r.candidates()[static_cast<int32_t>(i)] =
            ADataElement{static_cast<uint8_t>(candidates[i].first), candidates[i].second};
    return r;
}

// Every record of the database as its file line would read (LF only).
std::string dump(ADataBase &db)
{
    std::string out;
    int32_t key = 0;
    const AData *r = nullptr;
    db.resetWalk();
    while (db.nextRecord(key, r)) {
        out += std::to_string(r->id());
        for (int i = 0; i < r->stoneCount(); ++i)
            out += ' ' + std::to_string(r->stone(i));
        for (int i = 0; i < r->candidateCount(); ++i)
            out += ' ' + std::to_string(r->candidates()[i].point) + ' ' + std::to_string(r->candidates()[i].value);
        out += '\n';
    }
    return out;
}

struct NameCase {
    const char *directory;
    int stones;
    const char *expected;
};
[[maybe_unused]] std::string nameOf(const NameCase &c)
{
    return korvana::test::caseName(std::string(c.directory) + " stones " + std::to_string(c.stones));
}
[[maybe_unused]] void PrintTo(const NameCase &c, std::ostream *os) { *os << nameOf(c); }

class ADataBaseFileName : public testing::TestWithParam<NameCase> {};

TEST_P(ADataBaseFileName, KeepsTheDirectoryPart)
{
    EXPECT_EQ(ADataBase::fileName(GetParam().directory, GetParam().stones), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ADataBaseFileName,
                         testing::Values(NameCase{"", 0, "kumo000.adb"}, NameCase{"", 7, "kumo007.adb"},
                                         NameCase{"/opt/k/adb/", 224, "/opt/k/adb/kumo224.adb"},
                                         NameCase{"/opt/k/adb", 20, "/opt/k/kumo020.adb"},
                                         NameCase{"adb", 3, "adb/kumo003.adb"},
                                         NameCase{"C:\\k\\adb\\", 12, "C:\\k\\adb\\kumo012.adb"},
                                         NameCase{"C:adb", 1, "C:kumo001.adb"},
                                         NameCase{"a/b\\c", 2, "a/b\\kumo002.adb"}),
                         [](const auto &info) { return nameOf(info.param); });

TEST(ADataBaseFile, SaveWritesHeaderRecordsAndCrLf)
{
    ScratchDir tmp;
    ADataBase db(2, tmp.dir());
    ASSERT_TRUE(db.Add(record({112, 113}, {{97, 0}, {127, 5}})));
    ASSERT_TRUE(db.Add(record({112, 128}, {{98, -3}}, 7)));
    ASSERT_TRUE(db.Save());
    EXPECT_EQ(readAll(tmp.file("kumo002.adb")), "210 2 2\r\n"
                                                "1024 112 113 97 0 127 5\r\n"
                                                "7 112 128 98 -3\r\n");
    // Nothing but the book is left in the directory.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.dir()), {}), 1);
}

TEST(ADataBaseFile, EmptyBoardRecordsHoldIdThenCandidates)
{
    ScratchDir tmp;
    writeAll(tmp.file("kumo000.adb"), "210 1 0\n5 112 3 113 0\n");
    ADataBase db(0, tmp.dir());
    EXPECT_EQ(dump(db), "5 112 3 113 0\n");
    EXPECT_EQ(db.FindAnyOrientation(AData()), 112);
    ASSERT_TRUE(db.Save());
    EXPECT_EQ(readAll(tmp.file("kumo000.adb")), "210 1 0\r\n5 112 3 113 0\r\n");
}

struct LoadCase {
    const char *name;
    const char *text; // file contents; nullptr: no file
    bool loaded;
    const char *message; // error log (the terminal hears nothing)
    const char *records; // dump afterwards
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.name; }

class ADataBaseLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(ADataBaseLoad, ReadsWhatItCanAndSaysWhy)
{
    const LoadCase &c = GetParam();
    ScratchDir tmp;
    if (c.text)
        writeAll(tmp.file("kumo002.adb"), c.text);
    CapturedLog log; // the first Load, by the constructor, reports; the second is quiet
    ADataBase db(2, tmp.dir());
    db.Add(record({0, 1}, {{2, 0}})); // in memory only: every Load drops it
    testing::internal::CaptureStderr();
    EXPECT_EQ(db.Load(), c.loaded);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::vector<std::string> logged = log.messages();
    if (*c.message) {
        ASSERT_EQ(logged.size(), 1u);
        EXPECT_EQ(logged[0], std::string(c.message) + " (" + tmp.file("kumo002.adb") + ")");
    } else {
        EXPECT_TRUE(logged.empty());
    }
    EXPECT_EQ(dump(db), c.records);
    EXPECT_EQ(db.count(), static_cast<int32_t>(std::count(c.records, c.records + std::strlen(c.records), '\n')));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ADataBaseLoad,
    testing::Values(
        LoadCase{"Missing", nullptr, false, "", ""},
        LoadCase{"CrLf", "210 2 2\r\n1024 112 113 97 0 127 5\r\n9 1 2 3 4\r\n", true, "",
                 "1024 112 113 97 0 127 5\n9 1 2 3 4\n"},
        LoadCase{"LfAndNoFinalLineEnd", "210 2 2\n1 112 113 97 0\n2 1 2 3 4", true, "", "1 112 113 97 0\n2 1 2 3 4\n"},
        LoadCase{"Version219", "219 1 2\n1 112 113 97 0\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"Version220", "220 1 2\n1 112 113 97 0\n", false, "error: can't read this version", ""},
        LoadCase{"StonesAbove224", "210 1 225\n", false, "error: count is out of range", ""},
        LoadCase{"StonesNegative", "210 1 -1\n", false, "error: count is out of range", ""},
        LoadCase{"EmptyFile", "", false, "error: can't read this version", ""},
        LoadCase{"HeaderGarbage", "abc\n", false, "error: can't read this version", ""},
        LoadCase{"HeaderWithoutCount", "210\n", false, "error: count is out of range", ""},
        LoadCase{"OddTokenDropped", "210 1 2\n1 112 113 97 0 127\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"DuplicatesAllKept", "210 2 2\n1 112 113 97 0\n2 112 113 98 0\n", true, "",
                 "1 112 113 97 0\n2 112 113 98 0\n"},
        LoadCase{"FewerLinesThanCount", "210 5 2\n1 112 113 97 0\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"HugeCountNotReserved", "210 2000000000 2\n1 112 113 97 0\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"CountLimitsRecords", "210 1 2\n1 112 113 97 0\n2 1 2 3 4\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"NegativeCount", "210 -4 2\n1 112 113 97 0\n", true, "", ""},
        LoadCase{"NoCandidatesSkipped", "210 2 2\n1 112 113\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"LoneCandidateTokenSkipped", "210 2 2\n1 112 113 97\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"PointLow8Bits", "210 1 2\n1 368 -143 353 6\n", true, "", "1 112 113 97 6\n"},
        LoadCase{"StoneOffBoardSkipped", "210 2 2\n1 230 113 97 0\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"CandidateOffBoardSkipped", "210 2 2\n1 112 113 255 0\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"GarbageSkipped", "210 3 2\n1 112 x 97 0\n1 112 113 97 0x\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"ValueOverflowSkipped", "210 2 2\n1 112 113 97 2147483648\n2 1 2 3 -2147483648\n", true, "",
                 "2 1 2 3 -2147483648\n"},
        LoadCase{"ShortStoneListSkipped", "210 2 2\n1 112\n2 1 2 3 4\n", true, "", "2 1 2 3 4\n"},
        LoadCase{"BlankLinesIgnored", "\n210 1 2\n\n  \n1 112 113 97 0\n", true, "", "1 112 113 97 0\n"},
        LoadCase{"TabsSeparate", "210 1 2\n1\t112 113  97\t0 \n", true, "", "1 112 113 97 0\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ADataBaseFile, OverlongLineIsSkippedNotBuffered)
{
    ScratchDir tmp;
    std::string text = "210 3 2\n1 112 113";
    for (int i = 0; i < 100000; ++i)
        text += " 97 0";
    text += "\n2 1 2 3 4\n3 5 6 7";
    text += std::string(200000, '8');
    writeAll(tmp.file("kumo002.adb"), text);
    ADataBase db(2, tmp.dir());
    ASSERT_EQ(db.count(), 1);
    EXPECT_EQ(dump(db), "2 1 2 3 4\n");
}

TEST(ADataBaseFile, HeaderStonesBecomeTheStoneCount)
{
    ScratchDir tmp;
    writeAll(tmp.file("kumo003.adb"), "210 1 2\n1 112 113 97 0\n");
    ADataBase db(3, tmp.dir());
    EXPECT_EQ(db.stoneCount(), 2);
    EXPECT_EQ(db.count(), 1);
}

TEST(ADataBaseFile, StoneCountAbove224LoadsNothingAndKeepsRecords)
{
    ScratchDir tmp;
    ADataBase db(2, tmp.dir());
    ASSERT_TRUE(db.Add(record({112, 113}, {{97, 0}})));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.Load(225));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(db.count(), 1);
    EXPECT_FALSE(db.Save()); // no file for "nothing loaded"
}

TEST(ADataBaseFile, RoundTripKeepsOrderIdsAndValues)
{
    ScratchDir tmp;
    const std::string text = "210 3 2\r\n5 112 113 97 -1 127 2147483647\r\n"
                             "1024 0 224 1 0\r\n-7 113 112 98 0 99 0 100 0\r\n";
    writeAll(tmp.file("kumo002.adb"), text);
    {
        ADataBase db(2, tmp.dir());
        ASSERT_TRUE(db.Save());
    }
    EXPECT_EQ(readAll(tmp.file("kumo002.adb")), text);
}

TEST(ADataBaseFile, FailedSaveLeavesOldBookAndNoLitter)
{
    ScratchDir tmp;
    writeAll(tmp.file("kumo002.adb"), "210 1 2\n1 112 113 97 0\n");
    ADataBase db(2, tmp.dir());
    ASSERT_TRUE(db.Add(record({0, 1}, {{2, 0}})));
    // A directory where the book's name points makes the final rename fail.
    std::filesystem::create_directory(tmp.file("kumo003.adb"));
    writeAll(tmp.file("kumo003.adb/keep"), "x");
    db.setStoneCount(3);
    EXPECT_FALSE(db.Save());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.dir()), {}), 2);
    // And a directory that cannot be made (a file stands in its way).
    db.setDirectory(tmp.dir() + "kumo002.adb/sub/");
    db.setStoneCount(2);
    EXPECT_FALSE(db.Save());
    EXPECT_EQ(db.count(), 2); // records stay in memory
    EXPECT_EQ(readAll(tmp.file("kumo002.adb")), "210 1 2\n1 112 113 97 0\n");
}

TEST(ADataBaseFile, SaveMakesAMissingBookDirectory)
{
    ScratchDir tmp;
    ADataBase db(2, tmp.dir() + "adb/");
    ASSERT_TRUE(db.Add(record({112, 113}, {{97, 0}})));
    ASSERT_TRUE(db.Save());
    ADataBase again(2, tmp.dir() + "adb/");
    EXPECT_EQ(again.count(), 1);
}

TEST(ADataBaseFile, SaveWritesOnlyRecordsOfItsStoneCount)
{
    ScratchDir tmp;
    ADataBase db(2, tmp.dir());
    ASSERT_TRUE(db.Add(record({112, 113}, {{97, 0}})));
    db.setStoneCount(3); // without a Load the 2-stone record is still here
    ASSERT_TRUE(db.Save());
    EXPECT_EQ(readAll(tmp.file("kumo003.adb")), "210 0 3\r\n");
}

} // namespace

namespace {

struct UnreadBook {
    const char *name;
    void (*make)(const std::string &path);
};
[[maybe_unused]] void PrintTo(const UnreadBook &c, std::ostream *os) { *os << c.name; }

class ADataBaseUnreadBook : public testing::TestWithParam<UnreadBook> {};

// Reading a FIFO would block the test: it stands for itself.
std::string contentOf(const std::string &path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode) ? "(fifo)" : readAll(path);
}

// Whatever could not be read stays as it was: saving the one new record over it would lose the book.
TEST_P(ADataBaseUnreadBook, IsNeverSavedOver)
{
    ScratchDir tmp;
    CapturedLog log;
    const std::string path = tmp.file("kumo002.adb");
    GetParam().make(path);
    const std::string before = contentOf(path);
    ADataBase db(2, tmp.dir());
    EXPECT_EQ(db.count(), 0);
    ASSERT_TRUE(db.Update(record({112, 113}, {{97, 0}})));
    EXPECT_FALSE(db.Save());
    EXPECT_NE(db.lastError().find(path), std::string::npos) << db.lastError();
    EXPECT_EQ(contentOf(path), before);
    EXPECT_EQ(tmp.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Books, ADataBaseUnreadBook,
    testing::Values(UnreadBook{"LaterVersion", [](const std::string &p) { writeAll(p, "230 2 2\r\n1 1 2 3 0\r\n"); }},
                    UnreadBook{"GarbageHeader", [](const std::string &p) { writeAll(p, "garbage\n1 1 2 3 0\n"); }},
                    UnreadBook{"Fifo", [](const std::string &p) { ::mkfifo(p.c_str(), 0600); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

TEST(ADataBaseFile, ABadBookIsLoggedOncePerChangeAndTheTerminalHearsNothing)
{
    ScratchDir tmp;
    CapturedLog log;
    const std::string path = tmp.file("kumo002.adb");
    writeAll(path, "230 1 2\n");
    ADataBase db(2, tmp.dir());
    testing::internal::CaptureStderr();
    for (int move = 0; move < 5; ++move)
        EXPECT_FALSE(db.Load(2));
    EXPECT_FALSE(db.Load(3)); // missing: an empty book
    writeAll(path, "abc\n");  // a change of the file is worth a new line
    EXPECT_FALSE(db.Load(2));
    EXPECT_FALSE(db.Load(2));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(log.messages(), (std::vector<std::string>{"error: can't read this version (" + path + ")",
                                                        "error: can't read this version (" + path + ")"}));
}
