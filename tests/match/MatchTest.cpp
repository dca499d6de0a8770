// The referee: adjudication of fives, overlines, forbidden and illegal moves,
// time-outs and bad answers of real child processes, and the match statistics.
#include "match/MatchGame.h"
#include "match/MatchReferee.h"
#include "match/MatchStats.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvana;
using namespace korvana::match;

namespace {

struct RefereeCase {
    const char *what;
    std::vector<std::string> moves; // written points, Black first
    Verdict last;                   // verdict of the last move; all before it Continue
};
[[maybe_unused]] std::string nameOf(const RefereeCase &c) { return korvana::test::caseName(c.what); }
[[maybe_unused]] void PrintTo(const RefereeCase &c, std::ostream *os) { *os << nameOf(c); }

class MatchRefereeTest : public ::testing::TestWithParam<RefereeCase> {};

TEST_P(MatchRefereeTest, JudgesTheLastMove)
{
    const RefereeCase &c = GetParam();
    MatchReferee referee;
    referee.reset();
    for (size_t i = 0; i < c.moves.size(); ++i) {
        int x = -1, y = -1;
        const int point = parseWrittenPoint(c.moves[i], x, y) ? pointOf(x, y) : 300;
        const Verdict v = referee.play(point);
        if (i + 1 < c.moves.size())
            ASSERT_EQ(v, Verdict::Continue) << c.what << " at " << c.moves[i];
        else
            EXPECT_EQ(v, c.last) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Games, MatchRefereeTest,
    ::testing::Values(
        RefereeCase{"Black five", {"h8", "a1", "i8", "a3", "j8", "a5", "k8", "a7", "l8"}, Verdict::Five},
        RefereeCase{"White five", {"h8", "h9", "a1", "i9", "a3", "j9", "a5", "k9", "aB", "l9"}, Verdict::Five},
        RefereeCase{"Black overline is forbidden",
                    {"h8", "a1", "i8", "a3", "j8", "a5", "l8", "a7", "m8", "aA", "k8"},
                    Verdict::Forbidden},
        RefereeCase{"White overline wins",
                    {"a1", "h9", "a3", "i9", "a5", "j9", "a7", "l9", "aA", "m9", "aD", "k9"},
                    Verdict::Five},
        RefereeCase{
            "Black double three j8", {"h8", "a1", "i8", "a3", "j9", "a5", "jA", "aA", "j8"}, Verdict::Forbidden},
        RefereeCase{"Black double four",
                    {"h8", "a1", "i8", "a3", "j8", "a5", "kA", "aA", "kB", "aD", "kC", "o1", "k8"},
                    Verdict::Forbidden},
        RefereeCase{"White double three is fine",
                    {"a1", "h8", "a3", "i8", "a5", "j9", "aA", "jA", "aD", "j8"},
                    Verdict::Continue},
        RefereeCase{"taken point", {"h8", "h8"}, Verdict::Illegal},
        RefereeCase{"off the board", {"h8", "zz"}, Verdict::Illegal}),
    [](const auto &info) { return nameOf(info.param); });

// A Gomocup engine written as a shell script: answers START, then `onMove` to every move request.
std::string fakeEngine(const std::string &name, const std::string &onMove)
{
    const std::string path = std::string("/tmp/kumo98_fake_") + name + "_" + std::to_string(getpid()) + ".sh";
    std::ofstream out(path);
    out << "#!/bin/sh\nwhile read line; do case \"$line\" in\n"
        << "START*) echo OK;;\nEND*) exit 0;;\nDONE*|TURN*|BEGIN*) " << onMove << ";;\nesac; done\n";
    out.close();
    chmod(path.c_str(), 0755);
    return path;
}

struct FakeCase {
    const char *what;
    const char *onMove; // shell command run for each move request of the faulty engine (White)
    int winner;
    const char *reasonStart;
};
[[maybe_unused]] std::string nameOf(const FakeCase &c) { return korvana::test::caseName(c.what); }
[[maybe_unused]] void PrintTo(const FakeCase &c, std::ostream *os) { *os << nameOf(c); }

class MatchGameTest : public ::testing::TestWithParam<FakeCase> {};

TEST_P(MatchGameTest, FaultyWhiteLoses)
{
    const FakeCase &c = GetParam();
    // Black plays a fixed line along row 1 (a1, b1, ...): five by its fifth own move unless White errs first.
    const std::string black = fakeEngine("black", "n=$((${n:-0}+1)); echo $((n-1)),0");
    const std::string white = fakeEngine("white", c.onMove);
    MatchGameSettings settings;
    settings.moveTimeMs = 100;
    settings.graceMs = 100;
    EngineProcess b({black}), w({white});
    MatchGame game(b, w, settings);
    const GameResult r = game.play({112, 96, 114});
    EXPECT_EQ(r.winner, c.winner) << c.what << ": " << r.reason;
    EXPECT_EQ(r.reason.rfind(c.reasonStart, 0), 0u) << r.reason;
    unlink(black.c_str());
    unlink(white.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MatchGameTest,
    ::testing::Values(FakeCase{"never answers", "true", 0, "White time-out"},
                      FakeCase{"answers too late", "sleep 1; echo 14,14", 0, "White time-out"},
                      FakeCase{"plays on a taken point", "echo 7,7", 0, "White illegal move 7,7"},
                      FakeCase{"answers nonsense", "echo ERROR what", 0, "White answered 'ERROR what'"},
                      FakeCase{"dies", "exit 3", 0, "White engine is gone"},
                      FakeCase{"plays on", "m=$((${m:-0}+1)); echo $((2*m)),14", 0, "Black FIVE IN A ROW"}),
    [](const auto &info) { return nameOf(info.param); });

TEST(MatchGameTest, SgfHasEveryMoveAndTheResult)
{
    GameResult r;
    r.winner = 1;
    r.reason = "Black forbidden move j8 (NG:DOUBLE-THREE)";
    r.moves = {112, 97, 0};
    const std::string sgf = MatchGame::toSgf(r, "a]b", "w", "KANSEI");
    EXPECT_NE(sgf.find("RE[W+]"), std::string::npos);
    EXPECT_NE(sgf.find("PB[a\\]b]"), std::string::npos);
    EXPECT_NE(sgf.find(";B[hh];W[hg];B[aa]"), std::string::npos) << sgf;
}

TEST(MatchGameTest, SgfKeepsControlBytesOut)
{
    GameResult r;
    r.reason = "White answered '\x1b[2J\x07\x7f'";
    const std::string sgf = MatchGame::toSgf(r, "b\r\n", "w\t", "KANSEI");
    EXPECT_NE(sgf.find("C[White answered '?[2J?"
                       "?'"),
              std::string::npos)
        << sgf;
    EXPECT_NE(sgf.find("PB[b??]PW[w?]"), std::string::npos) << sgf;
}

// A zombie has left already; only its parent has not looked yet.
bool processAlive(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    return (stat >> pidText >> name >> state) && state != "Z";
}

TEST(EngineProcessTest, TheWholeProcessGroupGoes)
{
    const std::string pidFile = "/tmp/kumo98_child_" + std::to_string(getpid());
    // A wrapper that leaves a child of its own running, and never answers END.
    const std::string wrapper = fakeEngine("wrapper", "true");
    {
        std::ofstream script(wrapper);
        script << "#!/bin/sh\nsleep 300 &\necho $! > " << pidFile << "\nwhile true; do sleep 1; done\n";
    }
    pid_t child = 0;
    {
        EngineProcess engine({wrapper});
        for (int i = 0; i < 500 && !(std::ifstream(pidFile) >> child); ++i)
            usleep(10000);
        ASSERT_GT(child, 0);
        EXPECT_TRUE(processAlive(child));
    }
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
        gone = !processAlive(child);
        usleep(10000);
    }
    EXPECT_TRUE(gone);
    if (!gone)
        kill(child, SIGKILL);
    unlink(pidFile.c_str());
    unlink(wrapper.c_str());
}

TEST(MatchProgramTest, AnSgfDirectoryThatTakesNoFileIsRefusedBeforeTheFirstGame)
{
    const std::string engine = fakeEngine("never", "true");
    const std::string command = std::string(KORVANA_BIN_DIR "/korvana-match --games 1 --time 50 --grace 50 --sgf ") +
                                "/nonexistent/records " + engine + " " + engine + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char chunk[512];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.append(chunk, n);
    const int status = pclose(pipe);
    unlink(engine.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(out.find("/nonexistent/records"), std::string::npos) << out;
    EXPECT_EQ(out.find("game 1"), std::string::npos) << out;
}

struct StatsCase {
    int wins, draws, losses;
    double score, elo;
};
[[maybe_unused]] std::string nameOf(const StatsCase &c)
{
    return "W" + std::to_string(c.wins) + "D" + std::to_string(c.draws) + "L" + std::to_string(c.losses);
}
[[maybe_unused]] void PrintTo(const StatsCase &c, std::ostream *os) { *os << nameOf(c); }

class MatchStatsTest : public ::testing::TestWithParam<StatsCase> {};

TEST_P(MatchStatsTest, ScoreAndElo)
{
    const StatsCase &c = GetParam();
    MatchStats s;
    for (int i = 0; i < c.wins; ++i)
        s.add(1);
    for (int i = 0; i < c.draws; ++i)
        s.add(0);
    for (int i = 0; i < c.losses; ++i)
        s.add(-1);
    EXPECT_NEAR(s.score(), c.score, 1e-9);
    if (std::isinf(c.elo)) {
        EXPECT_TRUE(std::isinf(s.elo()) && (s.elo() > 0) == (c.elo > 0));
    } else {
        EXPECT_NEAR(s.elo(), c.elo, 0.5);
        EXPECT_GT(s.eloMargin(), 0.0);
        EXPECT_LT(s.eloMargin(), 1000.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tallies, MatchStatsTest,
                         ::testing::Values(StatsCase{50, 0, 50, 0.5, 0.0}, StatsCase{75, 0, 25, 0.75, 190.85},
                                           StatsCase{10, 20, 10, 0.5, 0.0}, StatsCase{99, 0, 5, 99.0 / 104, 518.7},
                                           StatsCase{25, 0, 75, 0.25, -190.85}, StatsCase{104, 0, 0, 1.0, INFINITY}),
                         [](const auto &info) { return nameOf(info.param); });

} // namespace
