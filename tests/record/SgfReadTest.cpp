// Reading SGF text: file text in, tree and root properties out.

#include "SgfTreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvana {
namespace {

using test::describe;
using test::readSgfText;

struct ReadCase {
    const char *name;
    std::string text;
    bool parsed;              ///< ReadSgf's answer
    std::string tree;         ///< see test::describe
    bool illegalMove = false; ///< "error : Illegal move" expected on stderr
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }

class SgfRead : public testing::TestWithParam<ReadCase> {};

TEST_P(SgfRead, TextGivesTree)
{
    const ReadCase &c = GetParam();
    MOveTree tree;
    tree.AddMove(0, 0, 'B'); // a previous game that reading must replace
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSgfText(tree, c.text), c.parsed);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(describe(tree), c.tree);
    EXPECT_EQ(err.find("error : Illegal move") != std::string::npos, c.illegalMove) << err;
    // Reading ends at the root with an empty board, whatever the outcome.
    EXPECT_EQ(tree.current(), tree.root());
    EXPECT_EQ(tree.board().moveCount(), 0);
}

const std::string deepVariation = std::string(200, '(') + ";B[hh]" + std::string(200, ')');

INSTANTIATE_TEST_SUITE_P(
    Cases, SgfRead,
    testing::Values(ReadCase{"MainLine", "(;GM[4]SZ[15];B[hh];W[ih])", true, "Bhh Wih"},
                    ReadCase{"GameOneAccepted", "(;GM[1];B[hh])", true, "Bhh"},
                    ReadCase{"GameFiveRejected", "(;GM[5];B[hh])", false, ""},
                    ReadCase{"GomokuRuleRejected", "(;RU[Gomoku];B[hh])", false, ""},
                    ReadCase{"RenjuRuleTextAnywhere", "(;RU[Renju 1998 rules];B[hh])", true, "Bhh"},
                    ReadCase{"RejectedLaterInFile", "(;GM[4];B[hh];W[ih]RU[x](;GM[2]))", false, ""},
                    ReadCase{"Variations", "(;B[hh](;W[ih])(;W[ig]))", true, "Bhh [Wih | Wig]"},
                    ReadCase{"VariationsAtRoot", "(;GM[4](;B[hh];W[ih])(;B[ii]))", true, "[Bhh Wih | Bii]"},
                    ReadCase{"SameMoveReentered", "(;GM[4](;B[hh];W[ih])(;B[hh];W[ig]))", true, "Bhh [Wih | Wig]"},
                    ReadCase{"NestedVariations", "(;B[hh](;W[ih](;B[jh])(;B[gh]))(;W[ig];B[jf]))", true,
                             "Bhh [Wih [Bjh | Bgh] | Wig Bjf]"},
                    ReadCase{"ValueFromComment", "(;GM[4];B[hh]C[150];W[ih]C[-7])", true, "Bhh:150 Wih:-7"},
                    ReadCase{"CommentWithoutNumberIsZero", "(;GM[4];B[hh]C[abc])", true, "Bhh:0"},
                    ReadCase{"CommentsOfOneNodeJoined", "(;GM[4];B[hh]C[1]C[5])", true, "Bhh:15"},
                    ReadCase{"CommentBeforeMoveGoesToMove", "(;GM[4];C[7]B[hh])", true, "Bhh:7"},
                    ReadCase{"CommentWithoutBracket", "(;GM[4];B[hh]CR[ih])", true, "Bhh"},
                    // The B of PB reads a move from the next four characters.
                    ReadCase{"PlayerNameReadAsMove", "(;GM[4];B[hh]PB[ih])", true, "Bhh Bih"},
                    ReadCase{"PlayerNameNotAPoint", "(;GM[4];B[hh]PB[Bob];W[ih])", true, "Bhh Wih", true},
                    ReadCase{"HeaderInsideMoveNodeSkipped", "(;B[hh]GM[5];W[ih])", true, "Bhh Wih"},
                    ReadCase{"BlanksAndLineBreaks", "( ; GM[4] \n SZ[15]\n ;B[hh] \n\n ;W[ih] \t)\n", true, "Bhh Wih"},
                    ReadCase{"WindowsLineBreaks", "(;GM[4]\r\nSZ[15]\r\n;B[hh]\r\n;W[ih])\r\n", true, "Bhh Wih"},
                    ReadCase{"BlankBeforeBracketIsNoMove", "(;GM[4];B [hh];W[ih])", true, "Wih"},
                    ReadCase{"EndInsideNodeKeepsMoves", "(;GM[4];B[hh];W[ih];B[i", true, "Bhh Wih"},
                    ReadCase{"EndInsideComment", "(;GM[4];B[hh];W[ih]C[12", true, "Bhh Wih"},
                    ReadCase{"EndInsideProperty", "(;GM[4];B[hh];W[ih]", true, "Bhh Wih"},
                    ReadCase{"OccupiedPointSkipped", "(;GM[4];B[hh];W[hh];B[ih])", true, "Bhh Bih", true},
                    ReadCase{"OffBoardSkipped", "(;GM[4];B[hh];W[pp];B[ih])", true, "Bhh Bih", true},
                    ReadCase{"UpperCaseLettersSkipped", "(;GM[4];B[HH];W[ih])", true, "Wih", true},
                    // A refused move is not counted, so the next variation still starts below hh.
                    ReadCase{"RefusedMoveInVariation", "(;GM[4];B[hh](;W[hh];B[ih])(;W[ig]))", true, "Bhh [Bih | Wig]",
                             true},
                    // B[] is a pass elsewhere: no move, and the following node is read.
                    ReadCase{"PassSkipped", "(;GM[4];B[hh];W[];B[ih];W[ig])", true, "Bhh Bih Wig"},
                    ReadCase{"ShortPointIsNoMove", "(;GM[4];B[hh];W[i];B[ih])", true, "Bhh Bih", true},
                    ReadCase{"EmptyNodeBeforeVariations", "(;(;B[hh])(;B[ih]))", true, "[Bhh | Bih]"},
                    ReadCase{"EmptyNodes", "(;GM[4];;B[hh];;;W[ih])", true, "Bhh Wih"},
                    ReadCase{"NoGameTree", "hello", true, ""}, ReadCase{"Empty", "", true, ""},
                    ReadCase{"DeepButBounded", deepVariation, true, "Bhh"},
                    ReadCase{"NestingTooDeep", std::string(100000, '('), false, ""},
                    ReadCase{"NestingTooDeepAfterMoves", "(;GM[4];B[hh]" + std::string(300, '(') + ";W[ih]", false, ""},
                    ReadCase{"CollectionOpensFirstGame", "(;GM[4];B[hh];W[ih])\n(;GM[4];B[aa])", true, "Bhh Wih"},
                    ReadCase{"CollectionLaterGameNotChecked", "(;GM[4];B[hh])(;GM[5];B[aa])", true, "Bhh"},
                    ReadCase{"FileFormat3", "(;FF[3]GM[4]SZ[15];B[hh];W[ih])", true, "Bhh Wih"},
                    ReadCase{"FileFormat4", "(;FF[4]CA[UTF-8]GM[4]SZ[15]\n\n;B[hh]\n;W[ih]\n)", true, "Bhh Wih"},
                    // Older SGF spells identifiers out; only their capitals count.
                    ReadCase{"LongIdentifiers", "(;GaMe[4];Black[hh]Comment[12];White[ih])", true, "Bhh:12 Wih"},
                    ReadCase{"LongIdentifierRefused", "(;GaMe[5];B[hh])", false, ""},
                    ReadCase{"EscapedBracketInComment", "(;GM[4];B[hh]C[a \\] B[ih] 3];W[ii])", true, "Bhh:0 Wii"},
                    ReadCase{"TextCommentGivesValueAsBefore", "(;GM[4];B[hh]C[12 good])", true, "Bhh:12"}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

struct HeaderCase {
    const char *name;
    std::string text;
    std::vector<std::string> properties;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const HeaderCase &c, std::ostream *os) { *os << c.name; }

class SgfReadHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(SgfReadHeader, RootPropertiesAsRead)
{
    MOveTree tree;
    readSgfText(tree, GetParam().text);
    EXPECT_EQ(tree.rootProperties(), GetParam().properties);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SgfReadHeader,
    testing::Values(HeaderCase{"Plain", "(;GM[4]SZ[15]RU[Renju 1998];B[hh])", {"GM[4]", "SZ[15]", "RU[Renju 1998]"}},
                    HeaderCase{"LineBreakInValueDropped", "(;GM[4]PB[Jo\nhn Smith])", {"GM[4]", "PB[John Smith]"}},
                    HeaderCase{"BracketsEndAtFirst", "(;GM[4]GC[a[b]c])", {"GM[4]", "GC[a[b]"}},
                    // ";" drops the property and is itself consumed: W[hh] is then read as a property.
                    HeaderCase{"StoppedAtNodeEnd", "(;GM[4]PB[Bob;W[hh])", {"GM[4]", "W[hh]"}},
                    HeaderCase{"LowerCaseIgnored", "(;GM[4]xy[1]Z[2])", {"GM[4]", "Z[2]"}},
                    // A node starting with C is a move node: GM there is skipped, not stored.
                    HeaderCase{"NodeStartingWithComment", "(;C[text]GM[4];B[hh])", {}},
                    HeaderCase{"FailedParseKeepsNone", "(;SZ[15]GM[7])", {}},
                    HeaderCase{"SeveralValues", "(;GM[4]AB[aa][bb]PB[x])", {"GM[4]", "AB[aa][bb]", "PB[x]"}},
                    HeaderCase{"NodeEndInsideClosedValue",
                               "(;GM[4]GC[Game 1; won (resign)]PB[x])",
                               {"GM[4]", "GC[Game 1; won (resign)]", "PB[x]"}},
                    HeaderCase{"EscapedBracketKept", "(;GM[4]GC[a\\]b]PB[x])", {"GM[4]", "GC[a\\]b]", "PB[x]"}},
                    HeaderCase{"LowerCaseLettersOfIdentifier", "(;GaMe[4]PlayerBlack[Bob])", {"GM[4]", "PB[Bob]"}},
                    HeaderCase{"SecondGameNotRead", "(;GM[4]PB[a])(;GM[4]PB[b])", {"GM[4]", "PB[a]"}}),
    [](const testing::TestParamInfo<HeaderCase> &info) { return std::string(info.param.name); });

struct RuleCase {
    const char *rule;
    bool renju;
};

TEST(SgfReadDetails, RenjuRulesAcceptedOthersRefused)
{
    const RuleCase cases[] = {{"Renju 1998", true},  {"Renju", true},
                              {"renju", true},       {"RIF renju rule", true},
                              {"RIF", true},         {"rif 2009", true},
                              {"Yamaguchi", true},   {"Taraguchi-10", true},
                              {"Taraguchi10", true}, {"Soosorv-8", true},
                              {"Sakata", true},      {"Swap", true},
                              {"swap2", true},       {"", true},
                              {"Gomoku", false},     {"Freestyle", false},
                              {"Standard", false},   {"Gomoku Swap2", false},
                              {"Caro", false}};
    for (const RuleCase &c : cases) {
        MOveTree tree;
        const std::string property = std::string("RU[") + c.rule + "]";
        EXPECT_EQ(test::readSgfText(tree, "(;GM[4]" + property + ";B[hh])"), c.renju) << c.rule;
        EXPECT_EQ(tree.readError(), c.renju ? "" : "the record is not a Renju game: " + property);
    }
    MOveTree tree;
    EXPECT_TRUE(test::readSgfText(tree, "(;GM[4];B[hh])")) << "no rule at all";
}

TEST(SgfReadDetails, RootCommentGivesRootValue)
{
    MOveTree tree;
    ASSERT_TRUE(test::readSgfText(tree, "(;C[text]GM[4];B[hh])"));
    EXPECT_EQ(tree.root()->GetValue(), 0);
    EXPECT_EQ(describe(tree), "Bhh");
}

TEST(SgfReadDetails, NestingTooDeepSaysSo)
{
    MOveTree tree;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(test::readSgfText(tree, std::string(100000, '(') + ";B[hh]"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("error : ", 0), 0u) << err;
    EXPECT_EQ(tree.root()->childCount(), 0);
}

TEST(SgfReadDetails, HugeValuesStayBounded)
{
    MOveTree tree;
    const std::string longText(1 << 20, 'x');
    ASSERT_TRUE(test::readSgfText(tree, "(;GM[4]GC[" + longText + "];B[hh]C[" + longText + "])"));
    ASSERT_EQ(tree.rootProperties().size(), 2u);
    EXPECT_LE(tree.rootProperties()[1].size(), 8192u);
    EXPECT_EQ(tree.rootProperties()[1].back(), ']');
    std::string many = "(;";
    for (int i = 0; i < 5000; ++i)
        many += "AB[" + std::to_string(i) + "]";
    ASSERT_TRUE(test::readSgfText(tree, many + ")"));
    EXPECT_LE(tree.rootProperties().size(), 1000u);
}

TEST(SgfReadDetails, IllegalMoveReportsAreBounded)
{
    std::string text = "(;GM[4];B[hh]";
    for (int i = 0; i < 5000; ++i)
        text += ";W[hh]";
    MOveTree tree;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(test::readSgfText(tree, text + ";W[ih])"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 101);
    EXPECT_EQ(err.rfind("error : ", 0), 0u);
    EXPECT_EQ(describe(tree), "Bhh Wih");
    // The count starts again with the next record.
    testing::internal::CaptureStderr();
    test::readSgfText(tree, "(;B[hh];W[hh])");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error : Illegal move\n");
}

TEST(SgfReadDetails, CursorsOnFirstChildAfterReading)
{
    MOveTree tree;
    ASSERT_TRUE(test::readSgfText(tree, "(;GM[4](;B[hh](;W[ih])(;W[ig]))(;B[ii]))"));
    // Forward from the root follows the first branch everywhere.
    ASSERT_EQ(tree.Forward(), 1);
    ASSERT_EQ(tree.Forward(), 1);
    EXPECT_EQ(tree.Forward(), 0);
    EXPECT_EQ(tree.current()->x(), 8);
    EXPECT_EQ(tree.current()->y(), 7);
    EXPECT_EQ(tree.board().moveCount(), 2);
}

TEST(SgfReadDetails, ReadMovesAreJudged)
{
    // Black's fifth stone in a row is a five: the board judged each move as read.
    MOveTree tree;
    ASSERT_TRUE(test::readSgfText(tree, "(;GM[4];B[dh];W[aa];B[eh];W[ab];B[fh];W[ac];B[gh];W[ad];B[hh])"));
    while (tree.Forward())
        ;
    EXPECT_EQ(tree.current()->code(), Stat::Five);
}

} // namespace
} // namespace korvana
