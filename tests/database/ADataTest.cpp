#include "database/AData.h"

#include "board/BanArray.h"
#include "board/BanHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvana;

namespace {

std::vector<int> stonesOf(const AData &record)
{
    std::vector<int> out;
    for (int i = 0; i < record.stoneCount(); ++i)
        out.push_back(record.stone(i));
    return out;
}

std::vector<int> candidatesOf(const AData &record)
{
    std::vector<int> out;
    for (int i = 0; i < record.candidateCount(); ++i)
        out.push_back(record.candidatePoint(i));
    return out;
}

AData withStones(std::vector<uint8_t> stones)
{
    AData record;
    record.setStones(stones.data(), static_cast<int>(stones.size()));
    return record;
}

TEST(AData, FreshRecordAndElement)
{
    AData record;
    EXPECT_EQ(record.id(), 1024);
    EXPECT_EQ(record.stoneCount(), 0);
    EXPECT_EQ(record.candidateCount(), 0);
    ADataElement element;
    EXPECT_EQ(element.point, 15);
    EXPECT_EQ(element.value, 0);
}

TEST(AData, BadCandidateIndexReportsAndGivesPlaceholder)
{
    AData record;
    record.addCandidate(112);
    testing::internal::CaptureStderr();
    EXPECT_EQ(record.candidatePoint(1), 15);
    record.candidates()[3].point = 40; // lands on scratch storage
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("(1)/(1)\nOut of array index\n"), std::string::npos) << err;
    EXPECT_EQ(record.candidateCount(), 1);
    EXPECT_EQ(record.candidatePoint(0), 112);
    EXPECT_EQ(record.candidates()[7].point, 15); // the placeholder again, not 40
}

struct KeyCase {
    int stones;
    int32_t key;
};
[[maybe_unused]] std::string nameOf(const KeyCase &c) { return "Stones" + std::to_string(c.stones); }
[[maybe_unused]] void PrintTo(const KeyCase &c, std::ostream *os) { *os << nameOf(c); }

class ADataKey : public testing::TestWithParam<KeyCase> {};

TEST_P(ADataKey, DependsOnlyOnStoneCount)
{
    EXPECT_EQ(AData::keyOf(GetParam().stones), GetParam().key);
    AData record(GetParam().stones);
    EXPECT_EQ(record.key(), GetParam().key);
}

// 32768 for entries 0 and 1, then 2^(i div 2); absolute value in wrapping 32 bits.
INSTANTIATE_TEST_SUITE_P(Table, ADataKey,
                         testing::Values(KeyCase{0, 0}, KeyCase{1, 32768}, KeyCase{2, 65536}, KeyCase{3, 65538},
                                         KeyCase{4, 65540}, KeyCase{5, 65544},
                                         KeyCase{20, 65536 + 2 * (2 + 4 + 8 + 16 + 32 + 64 + 128 + 256 + 512)},
                                         // 61 stones: the sum passes 2^31 and wraps negative.
                                         KeyCase{61, (1 << 30) - 65532},
                                         // 62 stones: the sum wraps past 2^32.
                                         KeyCase{62, 65532}),
                         [](const auto &info) { return nameOf(info.param); });

TEST(AData, KeysBeyondSixtyTwoStonesAreValidChainKeys)
{
    for (int n = 0; n <= 224; ++n)
        EXPECT_GE(AData::keyOf(n), 0) << n;
}

TEST(AData, FillFromHistoryTakesPlayingOrder)
{
    BanHistory history;
    history.append(7, 7, 'B', 20);
    history.append(8, 7, 'W', 20);
    history.append(0, 14, 'B', 20);
    AData record;
    record.setId(77);
    record.setFromHistory(history);
    EXPECT_EQ(stonesOf(record), (std::vector<int>{112, 113, 210}));
    EXPECT_EQ(record.id(), 77);
}

TEST(AData, FillFromBoardIsColumnMajorPerColour)
{
    // Played: a1+1 (B), oF (W), a6 (B), a2 (W), h8 (B).
    BanArray board;
    for (int point : {1, 224, 75, 15, 112})
        board.putStone(point);
    AData record;
    record.setFromBoard(board);
    // Black by columns: a6 (x 0), b1 (x 1), h8 (x 7); White: a2 (x 0), oF (x 14).
    // Row by row would give b1 before a6.
    EXPECT_EQ(stonesOf(record), (std::vector<int>{75, 15, 1, 224, 112}));
}

TEST(AData, FillFromBoardLeavesUnfillableEntriesOffTheBoard)
{
    // A board with count 3 but only one Black stone: the missing entries are
    // no points, so the record can never match a real position.
    BanArray board;
    board.cells()[112] = 'B';
    board.setCount(3);
    AData record;
    record.setFromBoard(board);
    EXPECT_EQ(stonesOf(record), (std::vector<int>{112, 225, 225}));
    EXPECT_FALSE(record.stonesOnBoard());
}

struct EditCase {
    const char *name;
    std::vector<int> start; // candidates before
    char op;                // 'a' add, 'r' remove, 't' toggle
    int point;
    bool result;               // toggle's answer
    std::vector<int> expected; // candidates after
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const EditCase &c, std::ostream *os) { *os << c.name; }

class ADataEdit : public testing::TestWithParam<EditCase> {};

TEST_P(ADataEdit, KeepsOrderAndValues)
{
    const EditCase &c = GetParam();
    AData record = withStones({112, 113});
    for (int p : c.start)
        record.addCandidate(p);
    record.candidates()[0].value = 9;
    bool result = true;
    switch (c.op) {
    case 'a': record.addCandidate(c.point); break;
    case 'r': record.removeCandidate(c.point); break;
    default: result = record.toggleCandidate(c.point); break;
    }
    EXPECT_EQ(candidatesOf(record), c.expected);
    EXPECT_EQ(result, c.result);
    for (int i = 0; i < record.candidateCount(); ++i)
        EXPECT_EQ(record.candidates()[i].value, record.candidatePoint(i) == c.start[0] ? 9 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ADataEdit,
                         testing::Values(EditCase{"AddAppends", {97, 127}, 'a', 98, true, {97, 127, 98}},
                                         EditCase{"AddExistingKeepsAll", {97, 127}, 'a', 97, true, {97, 127}},
                                         EditCase{"AddOffBoardIgnored", {97}, 'a', 225, true, {97}},
                                         EditCase{"RemoveMiddle", {97, 127, 98}, 'r', 127, true, {97, 98}},
                                         EditCase{"RemoveAbsent", {97, 127}, 'r', 5, true, {97, 127}},
                                         EditCase{"ToggleAdds", {97}, 't', 98, true, {97, 98}},
                                         EditCase{"ToggleRemoves", {97, 98}, 't', 98, true, {97}},
                                         EditCase{"ToggleOnStoneRefused", {97}, 't', 113, false, {97}}),
                         [](const auto &info) { return std::string(info.param.name); });

struct SameCase {
    const char *name;
    std::vector<uint8_t> a, b;
    bool same;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const SameCase &c, std::ostream *os) { *os << c.name; }

class ADataSame : public testing::TestWithParam<SameCase> {};

TEST_P(ADataSame, ComparesBoards)
{
    EXPECT_EQ(withStones(GetParam().a).samePosition(withStones(GetParam().b)), GetParam().same);
    EXPECT_EQ(withStones(GetParam().b).samePosition(withStones(GetParam().a)), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Table, ADataSame,
                         testing::Values(SameCase{"Identical", {112, 113, 97}, {112, 113, 97}, true},
                                         SameCase{"BlackOrderSwapped", {112, 113, 97}, {97, 113, 112}, true},
                                         SameCase{"WhiteOrderSwapped", {112, 113, 97, 98}, {112, 98, 97, 113}, true},
                                         SameCase{"ColoursSwapped", {112, 113}, {113, 112}, false},
                                         SameCase{"DifferentCount", {112, 113}, {112, 113, 97}, false},
                                         SameCase{"DifferentPoint", {112, 113}, {112, 114}, false},
                                         SameCase{"BothEmpty", {}, {}, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AData, TransformedMapsStonesAndCandidatesKeepingOrder)
{
    AData record = withStones({0, 1});
    record.addCandidate(16);
    record.candidates()[0].value = 5;
    const AData t = record.transformed(2); // (-u, -v)
    EXPECT_EQ(stonesOf(t), (std::vector<int>{224, 223}));
    EXPECT_EQ(candidatesOf(t), (std::vector<int>{208}));
    EXPECT_EQ(t.candidates()[0].value, 5);
}

} // namespace
