// pbrain-korvana driven through a pipe: a scripted session in, the exact
// replies out.
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>
#include <string>
#include <unistd.h>

namespace {

std::string runSession(const std::string &script, const std::string &options = "")
{
    char path[] = "/tmp/kumo98_pbrainXXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    {
        std::ofstream out(path);
        out << script;
    }
    const std::string command = std::string(KORVANA_BIN_DIR "/pbrain-korvana ") + options + " < " + path;
    FILE *pipe = popen(command.c_str(), "r");
    std::string output;
    char chunk[512];
    size_t n;
    while (pipe && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, n);
    if (pipe)
        pclose(pipe);
    unlink(path);
    return output;
}

struct Session {
    const char *what;
    const char *script;
    const char *replies;
};
[[maybe_unused]] std::string nameOf(const Session &c) { return korvana::test::caseName(c.what); }
[[maybe_unused]] void PrintTo(const Session &c, std::ostream *os) { *os << nameOf(c); }

class PbrainSessionTest : public ::testing::TestWithParam<Session> {};

TEST_P(PbrainSessionTest, RepliesExactly)
{
    EXPECT_EQ(runSession(GetParam().script), GetParam().replies) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, PbrainSessionTest,
    ::testing::Values(
        Session{"other sizes are refused", "START 20\nSTART 15\nEND\n",
                "ERROR only the 15 x 15 board is supported\nOK\n"},
        Session{"INFO gets no answer, unknown commands UNKNOWN",
                "START 15\nINFO timeout_turn 200\nINFO max_memory 83886080\nINFO thread_num 1\nINFO rule 4\nINFO foo "
                "1\nPLAY "
                "1,1\nEND\n",
                "OK\nUNKNOWN\n"},
        Session{"BOARD with our open four: we play five; colours from the counts",
                "START 15\nINFO timeout_turn "
                "200\nBOARD\n7,7,1\n0,0,2\n8,7,1\n0,2,2\n9,7,1\n0,4,2\n10,7,1\n0,6,2\nDONE\nEND\n",
                "OK\n6,7\n"},
        Session{"bad BOARD lines and counts that fit no side to move",
                "START 15\nBOARD\n7,7,1\n7,7,2\n15,3,1\n3,4,9\n1,1,1\nDONE\nEND\n",
                "OK\nERROR point given twice\nERROR bad BOARD line\nERROR bad BOARD line\nERROR stone counts do not "
                "fit a side to move\n"},
        Session{"nothing before START", "BEGIN\nABOUT\nEND\nSTART 15\n",
                "ERROR no START yet\nname=\"Kumo98\", version=\"1.0\", author=\"Korvana\", country=\"JP\"\n"}),
    [](const auto &info) { return nameOf(info.param); });

// Blocks a four, refuses a taken point, takes back, restarts and opens at the centre.
TEST(PbrainSessionFlowTest, BlockTakebackRestartBegin)
{
    // Black h8 i8 j8 k8 closed by White g8; White also has a1 and oF: we are White and must take l8.
    EXPECT_EQ(
        runSession("START 15\nINFO timeout_turn 200\nBOARD\n7,7,2\n6,7,1\n8,7,2\n0,0,1\n9,7,2\n14,14,1\n10,7,2\nDONE\n"
                   "TURN 11,7\nTAKEBACK 11,7\nTAKEBACK 11,7\nRESTART\nBEGIN\nEND\n"),
        "OK\n11,7\nERROR point is taken\nOK\nERROR no stone there\nOK\n7,7\n");
}

TEST(PbrainSessionFlowTest, OnlyTheLastStoneIsTakenBack)
{
    const std::string out =
        runSession("START 15\nINFO timeout_turn 100\nBEGIN\nTURN 0,0\nTAKEBACK 7,7\nTAKEBACK 0,0\nEND\n");
    ASSERT_EQ(out.substr(0, 7), "OK\n7,7\n");
    const size_t reply = out.find('\n', 7);
    EXPECT_EQ(out.substr(reply + 1), "ERROR not the last stone\nERROR not the last stone\n") << out;
}

TEST(PbrainSessionFlowTest, BuiltinEngineAnswersAMove)
{
    const std::string out = runSession("START 15\nBOARD\n7,7,2\n8,6,1\n9,5,2\nDONE\nEND\n", "--builtin");
    ASSERT_EQ(out.substr(0, 3), "OK\n");
    int x = -1, y = -1;
    ASSERT_EQ(std::sscanf(out.c_str() + 3, "%d,%d", &x, &y), 2) << out;
    EXPECT_TRUE(x >= 0 && x < 15 && y >= 0 && y < 15);
    EXPECT_FALSE((x == 7 && y == 7) || (x == 8 && y == 6) || (x == 9 && y == 5));
}

} // namespace
