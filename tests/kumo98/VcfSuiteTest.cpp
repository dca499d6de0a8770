// The positions of tests/data/kumo98_vcf_positions.txt: the engine's move must
// start a win by continuous fours, checked by a small solver that asks only the
// project's judge.
#include "board/ChkStat.h"
#include "kumo98/KumoAnalysisApi.h"
#include "kumo98/KumoSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace korvana;

namespace {

struct VcfPosition {
    std::vector<uint8_t> moves;
    char side = 'B';
};

std::vector<VcfPosition> loadPositions()
{
    std::vector<VcfPosition> out;
    std::ifstream in(KORVANA_TEST_DATA "/kumo98_vcf_positions.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string w;
        VcfPosition p;
        while (words >> w && w != "|") {
            int x = 0, y = 0;
            if (!parseWrittenPoint(w, x, y))
                ADD_FAILURE() << "bad point " << w;
            p.moves.push_back(pointOf(x, y));
        }
        words >> p.side;
        out.push_back(p);
    }
    return out;
}

// Points where `colour` would make five (White: also six) by the judge.
std::vector<int> fivePoints(BanArray &ban, char colour)
{
    ChkStat judge(ban);
    std::vector<int> out;
    for (int p = 0; p < PointCount; ++p)
        if (ban.cell(p) == Empty && isWin(judge.judgeAt(p, colour)) &&
            (colour == White || judge.judgeBlack(p) == Stat::Five))
            out.push_back(p);
    return out;
}

bool isFourMove(BanArray &ban, int p, char colour)
{
    ChkStat judge(ban);
    const POS_STAT c = judge.judgeAt(p, colour);
    return c == Stat::StraightFour || c == Stat::DoubleFour || c == Stat::FourThree || isPlainFour(c);
}

// Continuous fours for `attacker` to move, at most `depth` fours: judge-only reference.
bool referenceVcf(BanArray &ban, char attacker, int depth)
{
    const char defender = otherColour(attacker);
    if (!fivePoints(ban, attacker).empty())
        return true;
    if (depth == 0)
        return false;
    const std::vector<int> threats = fivePoints(ban, defender);
    if (threats.size() > 1)
        return false;
    for (int p = 0; p < PointCount; ++p) {
        if (ban.cell(p) != Empty || (!threats.empty() && p != threats[0]) || !isFourMove(ban, p, attacker))
            continue;
        ban.cell(p) = attacker;
        const std::vector<int> fives = fivePoints(ban, attacker);
        bool win = false;
        if (fives.size() >= 2) {
            win = true;
        } else if (fives.size() == 1) {
            ChkStat judge(ban);
            if (defender == Black && isForbidden(judge.judgeBlack(fives[0]))) {
                win = true; // Black cannot take the only defence
            } else {
                ban.cell(fives[0]) = defender;
                win = referenceVcf(ban, attacker, depth - 1);
                ban.cell(fives[0]) = Empty;
            }
        }
        ban.cell(p) = Empty;
        if (win)
            return true;
    }
    return false;
}

TEST(VcfSuiteTest, EngineStartsAWinningFourSequenceInEveryPosition)
{
    const std::vector<VcfPosition> positions = loadPositions();
    ASSERT_GE(positions.size(), 30u);
    kumo::KumoSearch search(18);
    int index = 0;
    for (const VcfPosition &pos : positions) {
        ++index;
        kumo::KumoBoard board;
        BanArray ban;
        for (uint8_t m : pos.moves) {
            ASSERT_TRUE(board.play(m));
            ban.putStone(m);
        }
        ASSERT_EQ(kumo::colourChar(board.sideToMove()), pos.side) << "position " << index;
        kumo::SearchLimits limits;
        limits.timeMs = 1000;
        const kumo::SearchResult r = search.think(board, limits);
        ASSERT_GE(r.move, 0) << "position " << index;
        EXPECT_TRUE(r.byVcf) << "position " << index;
        // The move is a four, and after the only block the attack still wins by fours.
        ASSERT_TRUE(isFourMove(ban, r.move, pos.side)) << "position " << index << " " << writtenPoint(r.move);
        ban.cell(r.move) = pos.side;
        const std::vector<int> fives = fivePoints(ban, pos.side);
        ASSERT_FALSE(fives.empty());
        if (fives.size() == 1) {
            ban.cell(fives[0]) = otherColour(pos.side);
            EXPECT_TRUE(referenceVcf(ban, pos.side, 8)) << "position " << index << " " << writtenPoint(r.move);
        }
    }
}

// The library's FindForcedWin gives the whole line: every attacker move a four,
// every defender move a block, and at the end a five, two fives, or a block Black may not take.
TEST(VcfSuiteTest, FindForcedWinGivesAWholeLineInEveryPosition)
{
    void *handle = dlopen(KORVANA_BIN_DIR "/libkumo98.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    const auto find = reinterpret_cast<decltype(&FindForcedWin)>(dlsym(handle, "FindForcedWin"));
    ASSERT_NE(find, nullptr);
    int index = 0;
    for (const VcfPosition &pos : loadPositions()) {
        ++index;
        BanArray ban;
        for (uint8_t m : pos.moves)
            ban.putStone(m);
        unsigned char line[64];
        int length = -1;
        ASSERT_EQ(find(static_cast<int>(pos.moves.size()), pos.moves.data(), 5000, line, 64, &length), 1)
            << "position " << index;
        ASSERT_EQ(length % 2, 1) << "position " << index;
        const char attacker = pos.side, defender = otherColour(pos.side);
        for (int i = 0; i < length; i += 2) {
            ASSERT_EQ(ban.cell(line[i]), Empty) << "position " << index << " move " << i;
            const std::vector<int> before = fivePoints(ban, attacker);
            const bool fiveMade = std::find(before.begin(), before.end(), line[i]) != before.end();
            if (!fiveMade) {
                ASSERT_TRUE(isFourMove(ban, line[i], attacker)) << "position " << index << " move " << i;
            }
            ban.cell(line[i]) = attacker;
            const std::vector<int> fives = fivePoints(ban, attacker);
            if (i + 1 < length) {
                ASSERT_FALSE(fiveMade) << "position " << index << " move " << i;
                ASSERT_NE(std::find(fives.begin(), fives.end(), line[i + 1]), fives.end())
                    << "position " << index << " move " << i;
                ban.cell(line[i + 1]) = defender;
                continue;
            }
            ChkStat judge(ban);
            const bool blockForbidden =
                fives.size() == 1 && defender == Black && isForbidden(judge.judgeBlack(fives[0]));
            EXPECT_TRUE(fiveMade || fives.size() >= 2 || blockForbidden) << "position " << index;
        }
    }
    dlclose(handle);
}

} // namespace
