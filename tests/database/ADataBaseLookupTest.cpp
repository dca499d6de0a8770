// Look-ups under the eight orientations, updates, and reloads.
#include "database/ADataBase.h"

#include "board/Point.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <vector>

using namespace korvana;
using korvana::test::readAll;
using korvana::test::ScratchDir;
using korvana::test::writeAll;

namespace {

AData record(std::vector<uint8_t> stones, std::vector<uint8_t> candidates = {}, int32_t id = 1024)
{
    AData r;
    r.setId(id);
    r.setStones(stones.data(), static_cast<int>(stones.size()));
    for (uint8_t c : candidates)
        r.addCandidate(c);
    return r;
}

std::vector<int> candidatesOf(const AData &r)
{
    std::vector<int> out;
    for (int i = 0; i < r.candidateCount(); ++i)
        out.push_back(r.candidatePoint(i));
    return out;
}

// An asymmetric position: no symmetry maps it onto itself.
const std::vector<uint8_t> position = {112, 113, 97, 128, 81};
const std::vector<uint8_t> moves = {96, 130, 5};

class ADataBaseOrientation : public testing::TestWithParam<std::tuple<int, int>> {};

// Stored in one orientation, asked in another: found, with the candidates
// mapped into the asking orientation.
TEST_P(ADataBaseOrientation, FoundFromEveryOrientation)
{
    const auto [stored, asked] = GetParam();
    ScratchDir tmp;
    ADataBase db(5, tmp.dir());
    ASSERT_TRUE(db.Add(record(position, moves).transformed(stored)));
    const AData query = record(position).transformed(asked);
    std::vector<int> expected;
    for (uint8_t m : moves)
        expected.push_back(symmetryTransform(asked, m));

    EXPECT_EQ(db.FindAnyOrientation(query), expected[0]);
    AData out;
    EXPECT_EQ(db.CopyFromAnyOrientation(query, out), expected[0]);
    EXPECT_EQ(candidatesOf(out), expected);
    EXPECT_TRUE(out.samePosition(query));
    EXPECT_EQ(db.Find(query) != nullptr, stored == asked);
}

INSTANTIATE_TEST_SUITE_P(AllPairs, ADataBaseOrientation, testing::Combine(testing::Range(0, 8), testing::Range(0, 8)),
                         [](const auto &info) {
                             return "Stored" + std::to_string(std::get<0>(info.param)) + "Asked" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(ADataBaseLookup, FirstOrientationThenOldestRecordWins)
{
    ScratchDir tmp;
    // The same position three times: twice in orientation 3 relative to the
    // query, once in orientation 6. Kind 3 is tried first; of its two records
    // the older one answers.
    const AData q = record(position);
    const AData in3 = record(position).transformed(3);
    const AData in6 = record(position).transformed(6);
    auto line = [](const AData &r, int candidate, int value) {
        std::string s = "1";
        for (int i = 0; i < r.stoneCount(); ++i)
            s += ' ' + std::to_string(r.stone(i));
        return s + ' ' + std::to_string(candidate) + ' ' + std::to_string(value) + '\n';
    };
    writeAll(tmp.file("kumo005.adb"), "210 3 5\n" + line(in6, 0, 0) + line(in3, 1, 0) + line(in3, 2, 0));
    ADataBase db(5, tmp.dir());
    const AData *hit = nullptr;
    EXPECT_EQ(db.FindOrientation(q, &hit), 3);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->candidatePoint(0), 1);
    EXPECT_EQ(db.FindAnyOrientation(q), inverseSymmetryTransform(3, 1));
}

TEST(ADataBaseLookup, MoveOrderDoesNotMatterButColoursDo)
{
    ScratchDir tmp;
    ADataBase db(5, tmp.dir());
    ASSERT_TRUE(db.Add(record(position, {5})));
    EXPECT_EQ(db.FindAnyOrientation(record({81, 128, 97, 113, 112})), 5);
    EXPECT_EQ(db.FindAnyOrientation(record({113, 112, 97, 128, 81})), NoPointCode);
    EXPECT_FALSE(db.Add(record({97, 128, 81, 113, 112}, {6}))); // same position, other order
    EXPECT_FALSE(db.Add(record(position, {6}).transformed(4))); // same position, other orientation
    EXPECT_EQ(db.count(), 1);
}

TEST(ADataBaseLookup, MissLeavesOutputUntouched)
{
    ScratchDir tmp;
    ADataBase db(5, tmp.dir());
    AData out = record({1}, {2}, 9);
    EXPECT_EQ(db.CopyFromAnyOrientation(record(position), out), NoPointCode);
    EXPECT_EQ(out.id(), 9);
    EXPECT_EQ(candidatesOf(out), (std::vector<int>{2}));
}

struct AddCase {
    const char *name;
    AData candidate;
    bool added;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const AddCase &c, std::ostream *os) { *os << c.name; }

class ADataBaseAdd : public testing::TestWithParam<AddCase> {};

TEST_P(ADataBaseAdd, RefusesWhatTheFileCouldNotHold)
{
    ScratchDir tmp;
    ADataBase db(5, tmp.dir());
    ASSERT_TRUE(db.Add(record(position, {5})));
    EXPECT_EQ(db.Add(GetParam().candidate), GetParam().added);
    EXPECT_EQ(db.count(), GetParam().added ? 2 : 1);
}

AData withOffBoardCandidate()
{
    AData r = record({0, 1, 2, 3, 4}, {5});
    r.candidates()[0].point = 230;
    return r;
}

INSTANTIATE_TEST_SUITE_P(Table, ADataBaseAdd,
                         testing::Values(AddCase{"NewPosition", record({0, 1, 2, 3, 4}, {5}), true},
                                         AddCase{"NoCandidate", record({0, 1, 2, 3, 4}), false},
                                         AddCase{"StoredAlready", record(position, {7}), false},
                                         AddCase{"OtherStoneCount", record({0, 1, 2, 3}, {5}), false},
                                         AddCase{"StoneOffBoard", record({0, 1, 2, 3, 225}, {5}), false},
                                         AddCase{"CandidateOffBoard", withOffBoardCandidate(), false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ADataBaseUpdate, StoresBoardOrientationWithZeroValuesAndKeepsOthers)
{
    ScratchDir tmp;
    const AData stored = record(position).transformed(5);
    std::string line = "3";
    for (int i = 0; i < 5; ++i)
        line += ' ' + std::to_string(stored.stone(i));
    // The position (orientation 5) with two valued candidates, between two others.
    writeAll(tmp.file("kumo005.adb"),
             "210 3 5\r\n1 0 1 2 3 4 5 11\r\n" + line + ' ' + std::to_string(symmetryTransform(5, 96)) + " 40 " +
                 std::to_string(symmetryTransform(5, 130)) + " 41\r\n2 10 11 12 13 14 15 22\r\n");

    // As the main window does: fill, adopt the stored candidates, edit, update, save.
    ADataBase db(5, tmp.dir());
    AData current = record(position, {}, 2000);
    AData scratch;
    ASSERT_EQ(db.CopyFromAnyOrientation(current, scratch), 96);
    current = scratch;
    EXPECT_EQ(candidatesOf(current), (std::vector<int>{96, 130}));
    ASSERT_TRUE(current.toggleCandidate(5));
    EXPECT_TRUE(db.Update(current));
    ASSERT_TRUE(db.Save());
    EXPECT_EQ(readAll(tmp.file("kumo005.adb")), "210 3 5\r\n1 0 1 2 3 4 5 11\r\n2 10 11 12 13 14 15 22\r\n"
                                                "2000 112 113 97 128 81 96 0 130 0 5 0\r\n");

    // Removing every candidate and updating deletes the position.
    ASSERT_TRUE(db.Load(5));
    for (int point : {96, 130, 5})
        current.toggleCandidate(point);
    EXPECT_FALSE(db.Update(current));
    ASSERT_TRUE(db.Save());
    EXPECT_EQ(readAll(tmp.file("kumo005.adb")), "210 2 5\r\n1 0 1 2 3 4 5 11\r\n2 10 11 12 13 14 15 22\r\n");
}

TEST(ADataBaseUpdate, RemoveTakesTheRecordTheLookUpFinds)
{
    ScratchDir tmp;
    ADataBase db(5, tmp.dir());
    ASSERT_TRUE(db.Add(record(position, {5}).transformed(2)));
    ASSERT_TRUE(db.Add(record({0, 1, 2, 3, 4}, {6})));
    EXPECT_FALSE(db.Remove(record({0, 1, 2, 3, 5})));
    EXPECT_TRUE(db.Remove(record(position).transformed(7)));
    EXPECT_EQ(db.count(), 1);
    EXPECT_EQ(db.FindAnyOrientation(record(position)), NoPointCode);
    EXPECT_EQ(db.FindAnyOrientation(record({0, 1, 2, 3, 4})), 6);
}

// --- reloading ---------------------------------------------------------

// A stamp is trusted only once the file has been still for a second; wait
// that out so the reuse of records in memory is what gets exercised.
void letFilesSettle() { ::usleep(1100 * 1000); }

TEST(ADataBaseReload, FileRewrittenInPlaceAtOnceIsReadAgain)
{
    ScratchDir tmp;
    const std::string path = tmp.file("kumo002.adb");
    writeAll(path, "210 1 2\n1 112 113 97 0\n");
    ADataBase db(2, tmp.dir());
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 97);
    // Same size, same inode, within the same clock tick.
    writeAll(path, "210 1 2\n1 112 113 98 0\n");
    ASSERT_TRUE(db.Load(2));
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 98);
}

TEST(ADataBaseReload, SettledFileChangedOnDiskIsReadAgain)
{
    ScratchDir tmp;
    const std::string path = tmp.file("kumo002.adb");
    writeAll(path, "210 1 2\n1 112 113 97 0\n");
    letFilesSettle();
    ADataBase db(2, tmp.dir());
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 97);

    // Rewritten in place with the same size, and its modification time put back.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    writeAll(path, "210 1 2\n1 112 113 99 0\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_TRUE(db.Load(2));
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 99);

    // Replaced by a rename while another stone count is on the board.
    letFilesSettle();
    ASSERT_TRUE(db.Load(2));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.Load(3));
    EXPECT_EQ(db.count(), 0);
    writeAll(path + ".new", "210 1 2\n1 112 113 100 0\n");
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
    ASSERT_TRUE(db.Load(2));
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 100);

    // Deleted.
    ::unlink(path.c_str());
    EXPECT_FALSE(db.Load(2));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ""); // a missing file is an empty book
    EXPECT_EQ(db.count(), 0);
}

TEST(ADataBaseReload, UnsavedChangesAreDroppedByLoad)
{
    ScratchDir tmp;
    const std::string path = tmp.file("kumo002.adb");
    writeAll(path, "210 1 2\n1 112 113 97 0\n");
    letFilesSettle();
    ADataBase db(2, tmp.dir());
    ASSERT_TRUE(db.Load(2)); // unchanged: the records in memory are reused
    ASSERT_TRUE(db.Add(record({0, 1}, {2})));
    ASSERT_TRUE(db.Remove(record({112, 113})));
    ASSERT_TRUE(db.Load(2));
    EXPECT_EQ(db.count(), 1);
    EXPECT_EQ(db.FindAnyOrientation(record({112, 113})), 97);
    db.Clear();
    EXPECT_EQ(db.count(), 0);
    ASSERT_TRUE(db.Load(2));
    EXPECT_EQ(db.count(), 1);
}

TEST(ADataBaseReload, MovingBetweenStoneCountsGivesEachFilesRecords)
{
    ScratchDir tmp;
    writeAll(tmp.file("kumo001.adb"), "210 1 1\n1 112 113 0\n");
    writeAll(tmp.file("kumo002.adb"), "210 1 2\n1 112 113 97 0\n");
    writeAll(tmp.file("kumo003.adb"), "210 2 3\n1 112 113 97 98 0\n1 0 1 2 3 0\n");
    letFilesSettle();
    ADataBase db(ADataBase::NothingLoaded, tmp.dir());
    const int expectedCount[] = {0, 1, 1, 2};
    for (int round = 0; round < 3; ++round) {
        for (int n : {1, 2, 3, 2, 1, 3}) {
            ASSERT_TRUE(db.Load(n));
            EXPECT_EQ(db.stoneCount(), n);
            EXPECT_EQ(db.count(), expectedCount[n]);
            std::vector<uint8_t> stones(position.begin(), position.begin() + std::min(n, 3));
            if (n == 3)
                stones = {112, 113, 97};
            EXPECT_NE(db.FindAnyOrientation(record(stones)), NoPointCode) << n;
        }
        // Saving one file refreshes its parked copy too.
        ASSERT_TRUE(db.Load(2));
        AData r = record({112, 113}, {97});
        r.addCandidate(round + 10);
        ASSERT_TRUE(db.Update(r));
        ASSERT_TRUE(db.Save());
        ASSERT_TRUE(db.Load(1));
        ASSERT_TRUE(db.Load(2));
        AData out;
        db.CopyFromAnyOrientation(record({112, 113}), out);
        EXPECT_EQ(candidatesOf(out), (std::vector<int>{97, round + 10}));
    }
}

} // namespace
