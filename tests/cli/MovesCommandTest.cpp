// korvana-cli moves FILE: the main line of a record as clipboard text.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

struct MovesCase {
    const char *name;
    std::string content;
    int status;
    std::string out;
    std::string reason = "the file is not a game record"; ///< of a refused file, on stderr
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const MovesCase &c, std::ostream *os) { *os << c.name; }

class MovesCommand : public testing::TestWithParam<MovesCase> {};

TEST_P(MovesCommand, PrintsMainLine)
{
    const MovesCase &c = GetParam();
    const korvana::test::ScratchDir dir;
    const std::string file = dir.file("record");
    korvana::test::writeAll(file, c.content);
    const CliResult r = runCli("moves " + shellQuote(file));
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    if (c.status != 0) {
        EXPECT_EQ(r.err, "moves: " + file + ": " + c.reason + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MovesCommand,
    testing::Values(MovesCase{"SgfFirstBranches", "(;GM[4];B[hh](;W[ih](;B[ig])(;B[jj]))(;W[ii]))", 0,
                              "h8,i8,i7,**,\n"},
                    MovesCase{"SgfGameRefused", "(;GM[5];B[hh])", 1, "", "the record is not a Renju game: GM[5]"},
                    MovesCase{"SgfRuleRefused", "(;GM[4]RU[Freestyle];B[hh])", 1, "",
                              "the record is not a Renju game: RU[Freestyle]"},
                    MovesCase{"SgfMatchRule", "(;GM[4]RU[Renju];B[hh];W[ih])", 0, "h8,i8,**,\n"},
                    MovesCase{"SgfNoGameTree", "GM", 1, "", "the file holds no SGF game tree"},
                    MovesCase{"Psq", "Piskvorky 15x15, 11:11, 0\n8,8,0\n9,9,0\nengine.exe\n", 0, "h8,i9,**,\n"},
                    MovesCase{"PsqOtherSize", "Piskvorky 20x20, 11:11, 0\n8,8,0\n", 1, "",
                              "the Gomocup record is for a 20x20 board, not 15x15"},
                    MovesCase{"Ban", "808\n809\n707\n", 0, "h8,h9,g7,**,\n"},
                    MovesCase{"PosRows", std::string{3, 0, static_cast<char>(224), static_cast<char>(9 * 15 + 3)}, 0,
                              "a1,oF,dA,**,\n"},
                    MovesCase{"Empty", "", 1, ""}, MovesCase{"NotARecord", std::string(1, char(240)), 1, ""}),
    [](const testing::TestParamInfo<MovesCase> &info) { return std::string(info.param.name); });

TEST(MovesCommandArgs, MissingFileOrArgument)
{
    const CliResult missing = runCli("moves /nonexistent/record");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "moves: /nonexistent/record: the file does not exist\n");
    EXPECT_EQ(runCli("moves").status, 1);
}

// Input that is not a file must neither abort, block nor run on.
TEST(MovesCommandArgs, WhatIsNotAFileIsRefusedWithItsReason)
{
    const korvana::test::ScratchDir dir;
    ::mkfifo(dir.file("fifo").c_str(), 0600);
    const std::pair<std::string, std::string> cases[] = {
        {dir.dir(), "is a directory"},
        {"/dev/zero", "is not a regular file"},
        {dir.file("fifo"), "is not a regular file"},
    };
    for (const auto &[path, reason] : cases) {
        const CliResult r = runCli("moves " + shellQuote(path));
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace korvana::test
