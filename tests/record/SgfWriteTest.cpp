// Writing SGF text: tree in, file text out; and round trips through the reader.

#include "SgfTreeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

using test::describe;
using test::readSgfText;
using test::writeSgfText;

const std::string header = "(;GM[4]\nSZ[15]\nRU[Renju 1998]\nUS[KORVANA 3.0]\n";

struct WriteCase {
    const char *name;
    std::string input; ///< SGF read first to build the tree
    std::string written;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const WriteCase &c, std::ostream *os) { *os << c.name; }

class SgfWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(SgfWrite, TreeGivesText)
{
    MOveTree tree;
    ASSERT_TRUE(readSgfText(tree, GetParam().input));
    const std::string written = writeSgfText(tree);
    EXPECT_EQ(written, GetParam().written);
    // Read back, the text gives the same tree and is written the same again.
    MOveTree again;
    ASSERT_TRUE(readSgfText(again, written));
    EXPECT_EQ(describe(again), describe(tree));
    EXPECT_EQ(writeSgfText(again), written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SgfWrite,
    testing::Values(
        WriteCase{"NoMoves", "(;GM[4])", header + ")\n"},
        WriteCase{"MainLine", "(;GM[4]SZ[15];B[hh];W[ih])", header + ";B[hh]C[-20000];W[ih]C[-20000])\n"},
        WriteCase{"Values", "(;B[hh]C[150];W[ih]C[-3])", header + ";B[hh]C[150];W[ih]C[-3])\n"},
        WriteCase{"Branch", "(;B[hh](;W[ih])(;W[ig]))",
                  header + ";B[hh]C[-20000](;W[ih]C[-20000])(;W[ig]C[-20000]))\n"},
        WriteCase{"BranchAtRoot", "(;(;B[hh];W[ih])(;B[ii]))",
                  header + "(;B[hh]C[-20000];W[ih]C[-20000])(;B[ii]C[-20000]))\n"},
        WriteCase{"NestedBranches", "(;B[hh](;W[ih](;B[jh])(;B[gh]))(;W[ig]))",
                  // The line passes column 61 before the last ";": the break falls after its "(".
                  header + ";B[hh]C[-20000](;W[ih]C[-20000](;B[jh]C[-20000])(;B[gh]C[-20000]))(\n;W[ig]C[-20000]))\n"},
        // Five nodes of 15 characters fit on a line (";" at column 61 is not above 61);
        // the sixth ";" starts a new line.
        WriteCase{"LongLineWrapped", "(;B[aa];W[ba];B[ca];W[da];B[ea];W[fa];B[ga];W[ha];B[ia];W[ja];B[ka];W[la])",
                  header + ";B[aa]C[-20000];W[ba]C[-20000];B[ca]C[-20000];W[da]C[-20000];B[ea]C[-20000]\n"
                           ";W[fa]C[-20000];B[ga]C[-20000];W[ha]C[-20000];B[ia]C[-20000];W[ja]C[-20000]\n"
                           ";B[ka]C[-20000];W[la]C[-20000])\n"},
        // The header becomes the default one; the other root properties follow in their order.
        WriteCase{"HeaderReplaced", "(;GM[1]PB[Bob]RU[Renju 1998 x];B[hh])", header + "PB[Bob]\n;B[hh]C[-20000])\n"},
        WriteCase{"RootPropertiesKept", "(;FF[4]GM[4]SZ[15]RU[RIF]PB[Alice]PW[Bob]AB[aa][bb]GC[a; b]US[x];B[hh])",
                  header + "FF[4]\nPB[Alice]\nPW[Bob]\nAB[aa][bb]\nGC[a; b]\n;B[hh]C[-20000])\n"},
        // A later node without a move brings a bare number: the words stay, and so does
        // the value they carry.
        WriteCase{"NumberAfterWordsKeepsWords", "(;B[hh]C[5 (good];C[998])", header + ";B[hh]C[5 (good])\n"},
        WriteCase{"TextCommentsKept", "(;B[hh]C[good \\] (move)];W[ih]C[12];B[ii]C[\\\\])",
                  header + ";B[hh]C[good \\] (move)];W[ih]C[12];B[ii]C[\\\\])\n"},
        // As korvana-match writes its records.
        WriteCase{
            "RefereeRecord",
            "(;GM[4]FF[4]SZ[15]RU[Renju]PB[a\\]b]PW[w]GN[KANSEI]RE[W+]C[Black forbidden move j8 (NG:DOUBLE-THREE)]\n"
            ";B[hh];W[hg];B[aa])\n",
            header + "FF[4]\nPB[a\\]b]\nPW[w]\nGN[KANSEI]\nRE[W+]\nC[Black forbidden move j8 (NG:DOUBLE-THREE)]\n"
                     ";B[hh]C[-20000];W[hg]C[-20000];B[aa]C[-20000])\n"},
        WriteCase{"GameCommentKept", "(;C[from a match]GM[4];B[hh])", header + "C[from a match]\n;B[hh]C[-20000])\n"},
        WriteCase{"GameCommentBracketEscaped", "(;C[a (b [c]GM[4];B[hh])", header + "C[a (b \\[c]\n;B[hh]C[-20000])\n"},
        WriteCase{"GameCommentWithoutLineBreaks", "(;C[from\na match]GM[4];B[hh])",
                  header + "C[froma match]\n;B[hh]C[-20000])\n"},
        // A ";" inside a comment is text: no line break there.
        WriteCase{"NoBreakInsideComment", "(;B[aa];W[ba];B[ca];W[da]C[a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p;q;r];B[ea])",
                  header + ";B[aa]C[-20000];W[ba]C[-20000];B[ca]C[-20000];W[da]C[a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p;q;r]\n"
                           ";B[ea]C[-20000])\n"}),
    [](const testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.name); });

TEST(SgfWriteDetails, WritingRewindsTree)
{
    MOveTree tree;
    ASSERT_TRUE(readSgfText(tree, "(;B[hh](;W[ih])(;W[ig];B[jf]))"));
    tree.Forward();
    tree.NextVariation();
    tree.Forward();
    ASSERT_EQ(tree.board().moveCount(), 2);
    writeSgfText(tree);
    EXPECT_EQ(tree.current(), tree.root());
    EXPECT_EQ(tree.board().moveCount(), 0);
    EXPECT_EQ(tree.root()->child(0)->cursorIndex(), 0);
    EXPECT_EQ(tree.rootProperties(),
              (std::vector<std::string>{"GM[4]", "SZ[15]", "RU[Renju 1998]", "US[KORVANA 3.0]"}));
}

TEST(SgfWriteDetails, NoLineLongerThanAWrappedNode)
{
    MOveTree tree;
    test::growRandomTree(tree, 600, 7, 80);
    const std::string text = writeSgfText(tree);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        // 61 columns plus at most one node of ";B[hh]C[-20000]" and its parentheses.
        EXPECT_LE(end - start, 61u + 15u + 2u) << text.substr(start, end - start);
        start = end + 1;
    }
}

TEST(SgfRoundTrip, RandomTreesSurviveWriteAndRead)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        MOveTree tree;
        test::growRandomTree(tree, 20 + static_cast<int>(seed) * 10, seed);
        const std::string before = describe(tree);
        const std::string text = writeSgfText(tree);
        MOveTree again;
        ASSERT_TRUE(readSgfText(again, text)) << text;
        EXPECT_EQ(describe(again), before) << "seed " << seed;
        EXPECT_EQ(writeSgfText(again), text);
        // Parentheses balance in every written record.
        int open = 0;
        for (char c : text) {
            open += c == '(' ? 1 : c == ')' ? -1 : 0;
            ASSERT_GE(open, 0);
        }
        EXPECT_EQ(open, 0);
    }
}

} // namespace
} // namespace korvana
