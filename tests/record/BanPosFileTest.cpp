// .ban and .pos files, format detection, and Load/Save of the document.

#include "SgfTreeText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::describe;
using test::ScratchDir;
using test::writeAll;

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

std::string readWhole(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct DetectCase {
    const char *name;
    std::string content;
    MOveTree::RecordFormat format;
    std::string tree;       ///< after Load (refused: the previous game, "Baa")
    int loaded = -1;        ///< Load's answer when it is not 0 for FormatUnknown and 1 otherwise
    std::string error = ""; ///< loadError() of a refused file, when not "the file is not a game record"
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const DetectCase &c, std::ostream *os) { *os << c.name; }

class RecordDetect : public testing::TestWithParam<DetectCase> {};

TEST_P(RecordDetect, ContentDecidesFormatAndMoves)
{
    const DetectCase &c = GetParam();
    ScratchDir dir;
    const std::string path = dir.file("game");
    writeAll(path, c.content);
    EXPECT_EQ(MOveTree::DetectFormat(path), c.format);
    MOveTree tree;
    tree.AddMove(0, 0, 'B');
    const int loaded = c.loaded >= 0 ? c.loaded : c.format == MOveTree::FormatUnknown ? 0 : 1;
    EXPECT_EQ(tree.Load(path), loaded);
    EXPECT_EQ(describe(tree), c.tree);
    EXPECT_EQ(tree.loadError(), loaded ? "" : c.error.empty() ? "the file is not a game record" : c.error);
}

const std::string junkText = "hello world, this is a note that was saved under a record's name by mistake and is"
                             " long enough to leave bytes after its 'moves'.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordDetect,
    testing::Values(
        DetectCase{"Sgf", "(;GM[4];B[hh];W[ih])", MOveTree::FormatSgf, "Bhh Wih"},
        DetectCase{"BanLines", "808\n809\n707\n", MOveTree::FormatBan, "Bhh Whi Bgg"},
        DetectCase{"BanCorners", "101\n1515\n115\n", MOveTree::FormatBan, "Baa Woo Bao"},
        DetectCase{"BanWindowsLines", "808\r\n809\r\n", MOveTree::FormatBan, "Bhh Whi"},
        DetectCase{"BanStopsAtText", "810\nhello\n809\n", MOveTree::FormatBan, "Bhj"},
        DetectCase{"BanRefusedMoveSkipped", "808\n808\n809\n", MOveTree::FormatBan, "Bhh Whi"},
        // 16 is no column: not .ban. Its first byte '1' (49) then reads as a .pos move count.
        DetectCase{"BanColumnSixteenIsNotBan", "1600\n", MOveTree::FormatPos, "Bjd Wdd Bka"},
        DetectCase{"BanRowZeroIsNotBan", "800\n", MOveTree::FormatPos, "Bdd Wka"},
        DetectCase{"BanNegativeIsNotBan", "-808\n", MOveTree::FormatPos, "Bld Wdd Bka"},
        DetectCase{"BanHugeNumberStops", "808\n99999999999999999999\n", MOveTree::FormatBan, "Bhh"},
        DetectCase{"Pos", bytes({3, 112, 113, 98}), MOveTree::FormatPos, "Bhh Wih Big"},
        // Line-break and end-of-file bytes are ordinary points in a binary file.
        DetectCase{"PosControlBytes", bytes({3, 10, 13, 26}), MOveTree::FormatPos, "Bka Wna Blb"},
        DetectCase{"PosShortFile", bytes({5, 112, 113}), MOveTree::FormatPos, "Bhh Wih"},
        DetectCase{"PosNoMoves", bytes({0}), MOveTree::FormatPos, ""},
        DetectCase{"PosOccupiedSkipped", bytes({3, 112, 112, 113}), MOveTree::FormatPos, "Bhh Wih"},
        DetectCase{"PosCountTooLarge", bytes({225, 1, 2}), MOveTree::FormatUnknown, "Baa"},
        DetectCase{"PosPointTooLarge", bytes({2, 112, 225}), MOveTree::FormatUnknown, "Baa"},
        // Recognised as SGF, but there is no game tree in it.
        DetectCase{"GMInsideWordIsSgf", "xGMX 808\n", MOveTree::FormatSgf, "Baa", 0, "the file holds no SGF game tree"},
        // ... so a whole .pos file whose moves spell GM still reads as .pos.
        DetectCase{"PosBytesSpellingGM", bytes({4, 71, 77, 112, 113}), MOveTree::FormatSgf, "Ble Wcf Bhh Wih"},
        DetectCase{"PosBytesLeftOver", bytes({2, 112, 113, 98}), MOveTree::FormatUnknown, "Baa"},
        DetectCase{"TextIsNoPos", junkText, MOveTree::FormatUnknown, "Baa"},
        DetectCase{"Psq", "Piskvorky 15x15, 11:11, 0\r\n8,8,1000\r\n9,8,0\r\n8,7,31\r\npbrain-a.exe\r\n-1\r\n",
                   MOveTree::FormatPsq, "Bhh Wih Bhg"},
        DetectCase{"PsqNoTimes", "Piskvorky 15x15, 0:0, 1\n1,1\n15,15\n", MOveTree::FormatPsq, "Baa Woo"},
        DetectCase{"PsqOffBoardAndTakenSkipped", "Piskvorky 15x15, 11:11, 0\n8,8,0\n16,1,0\n8,8,0\n1,1,0\n",
                   MOveTree::FormatPsq, "Bhh Waa"},
        DetectCase{"PsqNoMoves", "Piskvorky 15x15, 11:11, 0\n", MOveTree::FormatPsq, ""},
        DetectCase{"PsqOtherSize", "Piskvorky 20x20, 11:11, 0\n10,10,0\n", MOveTree::FormatPsq, "Baa", 0,
                   "the Gomocup record is for a 20x20 board, not 15x15"},
        DetectCase{"SgfRuleRefused", "(;GM[4]RU[Gomoku];B[hh])", MOveTree::FormatSgf, "Baa", 0,
                   "the record is not a Renju game: RU[Gomoku]"},
        DetectCase{"SgfGameRefused", "(;GM[5];B[hh])", MOveTree::FormatSgf, "Baa", 0,
                   "the record is not a Renju game: GM[5]"},
        DetectCase{"SgfTooDeep", "(;GM[4]" + std::string(300, '(') + ";B[hh]", MOveTree::FormatSgf, "Baa", 0,
                   "the variations are nested too deep"},
        // A .pos file whose bytes read as a number (count 12 is a blank, then "408") is .ban.
        DetectCase{"PosBytesReadingAsNumber", bytes({12, '4', '0', '8', 10, 205, 112}), MOveTree::FormatBan, "Bdh"},
        DetectCase{"NumbersWithoutGMAreBan", bytes({'1', '0', '1', '\n'}), MOveTree::FormatBan, "Baa"},
        DetectCase{"EmptyFileIsNoFormat", "", MOveTree::FormatUnknown, "Baa"}),
    [](const testing::TestParamInfo<DetectCase> &info) { return std::string(info.param.name); });

TEST(RecordLoad, UnreadableFileSaysSoAndKeepsGame)
{
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    testing::internal::CaptureStderr();
    EXPECT_EQ(tree.Load("/nonexistent/game.sgf"), 0);
    EXPECT_EQ(MOveTree::DetectFormat("/nonexistent/game.sgf"), MOveTree::FormatUnknown);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("error : /nonexistent/game.sgfcan't be read\n"), std::string::npos) << err;
    EXPECT_EQ(describe(tree), "Bhh");
    EXPECT_EQ(tree.board().moveCount(), 1);
    EXPECT_EQ(tree.loadError(), "the file does not exist");
}

// A tree with variations whose cursor stands inside the second branch.
void buildGame(MOveTree &tree)
{
    ASSERT_TRUE(test::readSgfText(tree, "(;GM[4];B[hh](;W[ih];B[ig])(;W[jh]C[40];B[gg];W[ji]))"));
    tree.Forward();
    tree.Forward();
    tree.NextVariation();
    tree.Forward();
}

struct SaveCase {
    const char *name;
    MOveTree::RecordFormat format;
    std::string written;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const SaveCase &c, std::ostream *os) { *os << c.name; }

class RecordSave : public testing::TestWithParam<SaveCase> {};

TEST_P(RecordSave, WritesFormatAndKeepsPosition)
{
    const SaveCase &c = GetParam();
    ScratchDir dir;
    MOveTree tree;
    buildGame(tree);
    const MOve *before = tree.current();
    const BanHistory history = tree.board().history();
    const std::string shape = describe(tree);
    tree.setRecordFormat(c.format);
    const std::string path = (dir.path() / "out").string();
    ASSERT_EQ(tree.Save(path), 1);
    EXPECT_EQ(readWhole(path), c.written);
    // Same position, same node, same tree as before the save.
    EXPECT_EQ(tree.current(), before);
    EXPECT_EQ(tree.board().history().moves(), history.moves());
    EXPECT_EQ(describe(tree), shape);
    // Only the target is left in the directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordSave,
    testing::Values(
        SaveCase{"Sgf", MOveTree::FormatSgf,
                 "(;GM[4]\nSZ[15]\nRU[Renju 1998]\nUS[KORVANA 3.0]\n;B[hh]C[-20000](;W[ih]C[-20000];B[ig]C[-20000])("
                 ";W[jh]C[40];B[gg]C[-20000]\n;W[ji]C[-20000]))\n"},
        // .ban and .pos hold the line up to the current position only.
        SaveCase{"Ban", MOveTree::FormatBan, "808\n1008\n707\n"},
        SaveCase{"Pos", MOveTree::FormatPos, bytes({3, 112, 114, 96})}),
    [](const testing::TestParamInfo<SaveCase> &info) { return std::string(info.param.name); });

TEST(RecordSave, EveryFormatLoadsBack)
{
    for (auto format : {MOveTree::FormatSgf, MOveTree::FormatBan, MOveTree::FormatPos}) {
        ScratchDir dir;
        MOveTree tree;
        test::growRandomTree(tree, 300, 11);
        while (tree.Forward())
            ;
        const BanHistory line = tree.board().history();
        const std::string shape = describe(tree);
        tree.setRecordFormat(format);
        const std::string path = (dir.path() / "g").string();
        ASSERT_EQ(tree.Save(path), 1);
        MOveTree loaded;
        ASSERT_EQ(loaded.Load(path), 1);
        loaded.GotoRoot();
        while (loaded.Forward())
            ;
        EXPECT_EQ(loaded.board().history().moves(), line.moves()) << int(format);
        if (format == MOveTree::FormatSgf) {
            EXPECT_EQ(describe(loaded), shape);
        }
    }
}

TEST(RecordSave, ReplacesOldContentWhole)
{
    ScratchDir dir;
    const std::string path = dir.file("g.ban");
    writeAll(path, std::string(5000, '7'));
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    tree.setRecordFormat(MOveTree::FormatBan);
    ASSERT_EQ(tree.Save(path), 1);
    EXPECT_EQ(readWhole(path), "808\n");
}

TEST(RecordSave, FailedSaveKeepsOldFileAndSaysSo)
{
    ScratchDir dir;
    // A directory in the target's place: the final rename fails after everything was written.
    const fs::path target = dir.path() / "game.sgf";
    fs::create_directory(target);
    const std::string inside = dir.file("game.sgf/keep");
    writeAll(inside, "old");
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    testing::internal::CaptureStderr();
    EXPECT_EQ(tree.Save(target.string()), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "error : " + target.string() + "can't be write\n");
    EXPECT_EQ(readWhole(inside), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    // Position unchanged after the failed save.
    EXPECT_EQ(tree.board().moveCount(), 1);
    EXPECT_EQ(tree.current()->x(), 7);
}

TEST(RecordSave, MissingDirectorySaysSo)
{
    MOveTree tree;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tree.Save("/nonexistent/dir/game.sgf"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error : /nonexistent/dir/game.sgfcan't be write\n");
}

TEST(RecordSave, UnknownFormatWritesNothing)
{
    ScratchDir dir;
    MOveTree tree;
    tree.setRecordFormat(MOveTree::FormatUnknown);
    const std::string path = (dir.path() / "g").string();
    EXPECT_EQ(tree.Save(path), 0);
    EXPECT_FALSE(fs::exists(path));
}

TEST(RecordLoad, JunkOfEveryKindLoadsBoundedAndNeverCrashes)
{
    // Long runs of the characters each reader reacts to.
    const std::string kinds[] = {std::string(200000, '('),
                                 std::string(200000, 'A'),
                                 "(;GM[4]C[" + std::string(200000, '9'),
                                 std::string(200000, '8'),
                                 "(;GM[4]" + std::string(200000, ';'),
                                 std::string(1, char(224)) + std::string(200000, char(224))};
    for (const std::string &junk : kinds) {
        std::istringstream in(junk);
        MOveTree tree;
        testing::internal::CaptureStderr();
        tree.LoadFrom(in);
        testing::internal::GetCapturedStderr();
        EXPECT_LE(tree.board().moveCount(), PointCount);
    }
}

} // namespace
} // namespace korvana
