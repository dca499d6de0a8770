#include "CliRunner.h"

#include "board/BanArray.h"
#include "board/ChkStat.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using korvana::test::runCli;

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line))
        out.push_back(line);
    return out;
}

std::vector<std::string> fields(const std::string &line)
{
    std::vector<std::string> out;
    std::stringstream s(line);
    std::string f;
    while (s >> f)
        out.push_back(f);
    return out;
}

TEST(JudgeCommand, PrintsBothColoursForEachPosition)
{
    auto r = runCli("judge", "\n112,113,97\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto out = lines(r.out);
    ASSERT_EQ(out.size(), 4u);
    // Empty board: every point is 20 for both colours.
    for (int i = 0; i < 2; ++i) {
        auto f = fields(out[i]);
        ASSERT_EQ(f.size(), 226u);
        EXPECT_EQ(f[0], i == 0 ? "B" : "W");
        for (int p = 1; p <= 225; ++p)
            EXPECT_EQ(f[p], "20");
    }
    // Second position: stones show as '-', the rest agree with the judge.
    korvana::BanArray board;
    for (int p : {112, 113, 97})
        board.putStone(p);
    korvana::ChkStat judge(board);
    auto b = fields(out[2]), w = fields(out[3]);
    ASSERT_EQ(b.size(), 226u);
    ASSERT_EQ(w.size(), 226u);
    for (int p = 0; p < 225; ++p) {
        if (board.cell(p) != korvana::Empty) {
            EXPECT_EQ(b[p + 1], "-");
            EXPECT_EQ(w[p + 1], "-");
        } else {
            EXPECT_EQ(b[p + 1], std::to_string(judge.judgeBlack(p)));
            EXPECT_EQ(w[p + 1], std::to_string(judge.judgeWhite(p)));
        }
    }
    EXPECT_EQ(out[0].find("  "), std::string::npos);
}

TEST(JudgeCommand, BadLinesAreReportedAndSkipped)
{
    const struct {
        const char *line;
        const char *reason;
    } bad[] = {{"112,x", "not a point"},    {"112,225", "outside 0..224"}, {"112,113,112", "twice"},
               {"112,,113", "not a point"}, {"-1", "not a point"},         {"1127", "not a point"}};
    for (const auto &row : bad) {
        auto r = runCli("judge", std::string("112\n") + row.line + "\n113\n");
        EXPECT_EQ(r.status, 1) << row.line;
        EXPECT_EQ(lines(r.out).size(), 4u) << row.line; // the two good lines only
        EXPECT_EQ(r.err.rfind("line 2: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(row.reason), std::string::npos) << r.err;
    }
}

} // namespace
