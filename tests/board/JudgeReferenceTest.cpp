// Checks every code of every empty point, both colours, against positions
// classified by an independent implementation of the same rules.
#include "board/BanArray.h"
#include "board/ChkStat.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace korvana;

namespace {

struct ReferencePosition {
    std::vector<int> moves;
    std::string black; // 450 chars: two per point, ".." where a stone stands
    std::string white;
};

std::vector<ReferencePosition> loadReference()
{
    std::ifstream in(KORVANA_TEST_DATA "/judge_reference_positions.txt");
    std::vector<ReferencePosition> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        ReferencePosition pos;
        size_t a = line.find(" | "), b = line.find(" | ", a + 3);
        std::stringstream moves(line.substr(0, a));
        std::string field;
        while (std::getline(moves, field, ','))
            pos.moves.push_back(std::stoi(field));
        pos.black = line.substr(a + 3, b - a - 3);
        pos.white = line.substr(b + 3);
        out.push_back(pos);
    }
    return out;
}

std::string codesOf(BanArray &board, char colour)
{
    ChkStat judge(board);
    std::string out;
    char buf[12];
    for (int p = 0; p < PointCount; ++p) {
        if (board.cell(p) != Empty) {
            out += "..";
            continue;
        }
        std::snprintf(buf, sizeof buf, "%02d", judge.judgeAt(p, colour));
        out += buf;
    }
    return out;
}

TEST(JudgeReference, EveryPointOfEveryPositionMatches)
{
    const auto positions = loadReference();
    ASSERT_EQ(positions.size(), 400u);
    int checked = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        const auto &pos = positions[i];
        BanArray board;
        for (int p : pos.moves)
            ASSERT_EQ(board.putStone(p), 1) << "position " << i;
        const BanArray before = board;
        EXPECT_EQ(codesOf(board, Black), pos.black) << "Black codes of position " << i;
        EXPECT_EQ(codesOf(board, White), pos.white) << "White codes of position " << i;
        EXPECT_TRUE(board == before);
        ++checked;
    }
    EXPECT_EQ(checked, 400);
}

} // namespace
