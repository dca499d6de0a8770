// Clipboard text: tokens such as "h8," ended by "**,".

#include "record/ClipboardText.h"

#include "board/ChkStat.h"
#include "board/Point.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

/// The parsed moves as "B h8, W i8" style text.
std::string listed(const BanHistory &moves)
{
    std::string out;
    for (const MovedPos &m : moves.moves()) {
        if (!out.empty())
            out += ", ";
        out += m.colour;
        out += ' ';
        out += writtenPoint(m.x, m.y);
    }
    return out;
}

struct ParseCase {
    const char *name;
    std::string text;
    bool ok;
    std::string moves;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const ParseCase &c, std::ostream *os) { *os << c.name; }

class ClipboardParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ClipboardParse, TextGivesMoves)
{
    const ParseCase &c = GetParam();
    BanHistory moves;
    moves.append(0, 0, 'B', 20); // emptied by every parse
    EXPECT_EQ(ClipboardText::ParseText(c.text, moves), c.ok);
    if (c.ok) {
        EXPECT_EQ(listed(moves), c.moves);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardParse,
    testing::Values(
        ParseCase{"TwoMoves", "h8,i8,**,", true, "B h8, W i8"},
        ParseCase{"NoTerminator", "move list: h8, i8,", false, ""},
        ParseCase{"JunkBetweenTokens", "h8,--i8,xx,", true, "B h8, W i8"},
        ParseCase{"JunkBeforeFirstToken", "Game 12: h8,i8,XX,", true, "B h8, W i8"},
        ParseCase{"CapitalTerminator", "h8,XX,i8,**,", true, "B h8"},
        ParseCase{"ColumnAfterO", "p8,h8,**,", true, "B h8"}, ParseCase{"RowAfterF", "hG,h8,**,", true, "B h8"},
        ParseCase{"LowerCaseRowIsNoToken", "h8,hh,**,", true, "B h8"},
        ParseCase{"CapitalColumnIsNoToken", "H8,h8,**,", true, "B h8"},
        ParseCase{"Corners", "a1,oF,o1,aF,**,", true, "B a1, W oF, B o1, W aF"},
        ParseCase{"RowLetters", "aA,bB,cC,dD,eE,fF,**,", true, "B aA, W bB, B cC, W dD, B eE, W fF"},
        ParseCase{"OccupiedPointKeptForTheBoard", "h8,h8,**,", true, "B h8, W h8"},
        ParseCase{"TerminatorOnly", "**,", false, ""}, ParseCase{"StarsWithoutComma", "h8,**", false, ""},
        ParseCase{"TokenWithoutComma", "h8 i8 **,", false, ""}, ParseCase{"Empty", "", false, ""},
        ParseCase{"TokenAtVeryEnd", "h8,", false, ""}, ParseCase{"LineBreaks", "h8,\r\ni8,\n**,\n", true, "B h8, W i8"},
        ParseCase{"ListWithBlanks", "h8 i9  j10\tH11", true, "B h8, W i9, B jA, W hB"},
        ParseCase{"ListWithCommas", "h8,i9, j10", true, "B h8, W i9, B jA"},
        ParseCase{"ListOnLines", "h8\r\ni9\nj7\n", true, "B h8, W i9, B j7"},
        ParseCase{"MoveNumbersJoined", "1.h8 2.i9 3.j7", true, "B h8, W i9, B j7"},
        ParseCase{"MoveNumbersApart", "1. h8 i9 2. j7 k6", true, "B h8, W i9, B j7, W k6"},
        ParseCase{"RowLettersInList", "a1 oF O15", true, "B a1, W oF, B oF"},
        ParseCase{"ListWithJunkWord", "1. h8 i9 resign", false, ""},
        ParseCase{"BareNumberIsNoMove", "h8 12 i9", false, ""}, ParseCase{"RowSixteenIsNoMove", "h8 h16", false, ""},
        ParseCase{"RowZeroIsNoMove", "h8 h0", false, ""}, ParseCase{"NumbersOnly", "1. 2.", false, ""},
        ParseCase{"ListEndingInComma", "h8, i9,", false, ""},
        ParseCase{"SgfRecord", "(;GM[4]SZ[15];B[hh];W[ih](;B[ig])(;B[aa]))", true, "B h8, W i8, B i7"},
        ParseCase{"SgfRecordColoursKept", " \n(;B[hh];B[ih])", true, "B h8, B i8"},
        ParseCase{"SgfRecordRefused", "(;GM[4]RU[Gomoku];B[hh])", false, ""},
        ParseCase{"SgfRecordWithoutMoves", "(;GM[4]PB[Bob])", false, ""}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

TEST(ClipboardText, CopyWritesTokensAndTerminator)
{
    BanHistory moves;
    EXPECT_EQ(ClipboardText::CopyText(moves), "**,");
    for (int p : {112, 113, 0, 224, 9 * 15 + 3})
        moves.appendPoint(p);
    EXPECT_EQ(ClipboardText::CopyText(moves), "h8,i8,a1,oF,dA,**,");
}

TEST(ClipboardText, WholeBoardSurvivesCopyAndParse)
{
    BanHistory moves;
    for (uint8_t p : spiralOrder())
        moves.appendPoint(p);
    const std::string text = ClipboardText::CopyText(moves);
    EXPECT_EQ(text.size(), 3u * 225 + 3);
    BanHistory back;
    ASSERT_TRUE(ClipboardText::ParseText(text, back));
    EXPECT_EQ(back.moves(), moves.moves());
}

TEST(ClipboardText, MovesAreJudgedAsParsed)
{
    BanHistory moves;
    ASSERT_TRUE(ClipboardText::ParseText("d8,a1,e8,a2,f8,a3,g8,a4,h8,**,", moves));
    EXPECT_EQ(moves.currentCode(), Stat::Five);
    EXPECT_EQ(moves[8].code, Stat::Five);
}

TEST(ClipboardText, LongTextKeepsAtMostOneBoard)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "h8,";
    BanHistory moves;
    ASSERT_TRUE(ClipboardText::ParseText(text + "**,", moves));
    EXPECT_EQ(moves.count(), PointCount);
    EXPECT_FALSE(ClipboardText::ParseText(text, moves));
}

} // namespace
} // namespace korvana
