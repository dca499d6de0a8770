#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using korvana::test::runCli;
using korvana::test::shellQuote;

namespace {

struct Case {
    const char *name;
    const char *args;
    const char *out;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

class ThinkCommand : public testing::TestWithParam<Case> {};

TEST_P(ThinkCommand, PrintsWrittenPointAndCode)
{
    auto r = runCli(std::string("think ") + GetParam().args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThinkCommand,
    testing::Values(Case{"emptyArgument", "''", "h8 112\n"}, Case{"terminatorAlone", "'**,'", "h8 112\n"},
                    // Black's open four: the five point with the lower index.
                    Case{"ownFive", "h8,a1,h7,c1,h6,a3,h5,c3,**,", "h4 52\n"},
                    Case{"endMarkLeftOut", "h8,a1,h7,c1,h6,a3,h5,c3", "h4 52\n"},
                    // White to move blocks Black's four.
                    Case{"block", "h8,h4,h7,a1,h6,c1,h5,**,", "h9 127\n"},
                    Case{"seedIgnoredBySearch", "h8,a1,h7,c1,h6,a3,h5,c3,**, --seed 9", "h4 52\n"}),
    [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(ThinkCommandEnd, AFinishedGameHasNoMove)
{
    for (const char *game : {"h8,a1,h7,c1,h6,a3,h5,c3,h4,**,", "h8,a1,h7,c1,h6,a3,h5,c3,h4,e1,**,"}) {
        auto r = runCli(std::string("think ") + game);
        EXPECT_EQ(r.status, 1) << game;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "the game is over\n");
    }
}

// "x y\n" output whose column letter and row character lie in the given ranges,
// and whose code matches the written point.
bool answerWithin(const std::string &out, char colFrom, char colTo, const std::string &rows)
{
    if (out.size() < 5 || out[2] != ' ' || out.back() != '\n')
        return false;
    const char col = out[0], row = out[1];
    const int code = std::atoi(out.c_str() + 3);
    const int x = col - 'a';
    const int y = row <= '9' ? row - '1' : row - 'A' + 9;
    return col >= colFrom && col <= colTo && rows.find(row) != std::string::npos && code == x + 15 * y;
}

TEST(ThinkCommandOpening, SeedFixesTheRandomOpeningMoves)
{
    for (const char *seed : {"1", "77", "4294967295"}) {
        auto one = runCli(std::string("think h8,**, --seed ") + seed);
        ASSERT_EQ(one.status, 0) << one.err;
        EXPECT_TRUE(answerWithin(one.out, 'g', 'i', "789")) << one.out;
        EXPECT_NE(one.out, "h8 112\n");
        EXPECT_EQ(runCli(std::string("think h8,**, --seed ") + seed).out, one.out);
        auto two = runCli(std::string("think h8,i9,**, --seed ") + seed);
        ASSERT_EQ(two.status, 0) << two.err;
        EXPECT_TRUE(answerWithin(two.out, 'f', 'j', "6789A")) << two.out;
        EXPECT_EQ(runCli(std::string("think h8,i9,**, --seed ") + seed).out, two.out);
    }
}

TEST(ThinkCommandBook, DbDirectoryIsConsulted)
{
    const korvana::test::ScratchDir dir;
    // h8 i8 h9 stored with first candidate b2 (16); asked mirrored top to bottom (kind 7).
    korvana::test::writeAll(dir.file("kumo003.adb"), "210 1 3\r\n1024 112 113 127 16 0\r\n");
    auto r = runCli("think h8,i8,h7,**, --db " + shellQuote(dir.path().string()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "bE 196\n");
    // Without --db the book is not read.
    auto plain = runCli("think h8,i8,h7,**,");
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out, "bE 196\n");
}

struct BadCase {
    const char *name;
    const char *args;
    int status;
    const char *err;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const BadCase &c, std::ostream *os) { *os << c.name; }

class ThinkCommandBad : public testing::TestWithParam<BadCase> {};

TEST_P(ThinkCommandBad, RefusesWithMessage)
{
    auto r = runCli(std::string("think ") + GetParam().args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().err), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Table, ThinkCommandBad,
                         testing::Values(BadCase{"noArgument", "", 2, "usage"},
                                         BadCase{"unknownOption", "h8,**, --depth 3", 2, "usage"},
                                         BadCase{"optionWithoutValue", "h8,**, --seed", 2, "usage"},
                                         BadCase{"badSeed", "h8,**, --seed -4", 2, "not a seed"},
                                         BadCase{"notAPoint", "p8,**,", 1, "not a point"},
                                         BadCase{"lowerCaseRow", "hf,**,", 1, "not a point"},
                                         BadCase{"pointTwice", "h8,i8,h8,**,", 1, "twice"},
                                         BadCase{"junk", "'h8 i8'", 1, "not a point"}),
                         [](const testing::TestParamInfo<BadCase> &info) { return std::string(info.param.name); });

} // namespace
