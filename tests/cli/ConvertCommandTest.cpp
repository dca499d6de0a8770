// korvana-cli convert IN OUT --format sgf|ban|pos, run as a real program.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

class ConvertCommand : public testing::Test {
protected:
    std::string file(const std::string &name, const std::string &content)
    {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << content;
        return shellQuote(p.string());
    }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    korvana::test::ScratchDir scratch_;
    const fs::path &dir_ = scratch_.path();
};

const std::string header = "(;GM[4]\nSZ[15]\nRU[Renju 1998]\nUS[KORVANA 3.0]\n";

struct ConvertCase {
    const char *name;
    std::string input;
    const char *format;
    std::string output;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const ConvertCase &c, std::ostream *os) { *os << c.name; }

class ConvertFormats : public ConvertCommand, public testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertFormats, WritesChosenFormat)
{
    const ConvertCase &c = GetParam();
    const std::string in = file("in", c.input);
    const CliResult r = runCli("convert " + in + " " + shellQuote(path("out")) + " --format " + c.format);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readWhole(path("out")), c.output);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvertFormats,
                         testing::Values(
                             // .ban and .pos keep the main line; SGF the whole tree.
                             ConvertCase{"SgfToBan", "(;GM[4];B[hh](;W[ih];B[ig])(;W[ii]))", "ban", "808\n908\n907\n"},
                             ConvertCase{"SgfToPos", "(;GM[4];B[hh](;W[ih];B[ig])(;W[ii]))", "pos",
                                         std::string{3, 112, 113, 98}},
                             ConvertCase{"SgfToSgf", "(;GM[1]PB[x];B[hh](;W[ih])(;W[ii]C[5]))", "sgf",
                                         header + "PB[x]\n;B[hh]C[-20000](;W[ih]C[-20000])(;W[ii]C[5]))\n"},
                             ConvertCase{"BanToSgf", "808\n809\n", "sgf", header + ";B[hh]C[-20000];W[hi]C[-20000])\n"},
                             ConvertCase{"PosToBan", std::string{2, 10, 13}, "ban", "1101\n1401\n"},
                             ConvertCase{"SkipsIllegalMoves", "(;GM[4];B[hh];W[hh];W[ih])", "ban", "808\n908\n"}),
                         [](const testing::TestParamInfo<ConvertCase> &info) { return std::string(info.param.name); });

TEST_F(ConvertCommand, FailuresAnswerOneLineAndStatusOne)
{
    const std::string sgf = file("game.sgf", "(;GM[4];B[hh])");
    const std::string empty = file("empty", "");
    fs::create_directory(dir_ / "taken");
    const std::string cases[] = {
        "convert " + shellQuote(path("missing")) + " " + shellQuote(path("o")) + " --format ban",
        "convert " + empty + " " + shellQuote(path("o")) + " --format ban",
        "convert " + sgf + " " + shellQuote(path("taken")) + " --format ban",
        "convert " + sgf + " " + shellQuote(path("o")) + " --format txt",
        "convert " + sgf + " " + shellQuote(path("o")),
        "convert " + sgf + " --format ban",
    };
    for (const std::string &args : cases) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 1) << args;
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
        EXPECT_FALSE(fs::exists(path("o"))) << args;
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "taken"));
}

TEST_F(ConvertCommand, UnrecognisedInputLeavesTargetAlone)
{
    file("junk", std::string(1, char(250)) + "zzz");
    file("old.sgf", "(;GM[4];B[aa])");
    file("gomoku.sgf", "(;GM[4]RU[Gomoku];B[hh])");
    const std::pair<std::string, std::string> cases[] = {{"junk", "the file is not a game record"},
                                                         {"gomoku.sgf", "the record is not a Renju game: RU[Gomoku]"}};
    for (const auto &[name, reason] : cases) {
        const CliResult r =
            runCli("convert " + shellQuote(path(name)) + " " + shellQuote(path("old.sgf")) + " --format sgf");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "convert: " + path(name) + ": " + reason + "\n");
        EXPECT_EQ(readWhole(path("old.sgf")), "(;GM[4];B[aa])");
    }
}

} // namespace
} // namespace korvana::test
