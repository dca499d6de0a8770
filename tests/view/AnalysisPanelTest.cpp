// The analysis panel shows what it is given, in the words the user reads.
#include "view/AnalysisPanel.h"

#include "board/Point.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace korvana {
namespace {

AnalysisReport runningReport()
{
    AnalysisReport r;
    r.depth = 9;
    r.score = -35;
    r.winPermille = 456;
    r.nodes = 2'500'000;
    r.elapsedMs = 500;
    r.line = {pointOf(7, 7), pointOf(8, 8), pointOf(0, 14)};
    r.candidates = {{pointOf(7, 7), -35}, {pointOf(6, 6), -80}};
    return r;
}

TEST(AnalysisPanel, ShowsEveryFieldOfAReport)
{
    AnalysisPanel panel;
    struct Case {
        const char *name;
        int mateIn, moveCount;
        AnalysisReport::State state;
        QString win, stateText;
    };
    const Case cases[] = {
        {"black thinking", 0, 2, AnalysisReport::State::Running, "45.6 %", "Black to move, thinking"},
        {"white done", 0, 3, AnalysisReport::State::Finished, "45.6 %", "White to move, done"},
        {"won", 4, 2, AnalysisReport::State::Running, "45.6 % (wins in 4)", "Black to move, thinking"},
        {"lost", -2, 2, AnalysisReport::State::Running, "45.6 % (loses in 2)", "Black to move, thinking"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AnalysisReport r = runningReport();
        r.mateIn = c.mateIn;
        r.state = c.state;
        panel.showReport(r, c.moveCount);
        EXPECT_EQ(panel.fieldText("win"), c.win);
        EXPECT_EQ(panel.fieldText("state"), c.stateText);
        EXPECT_EQ(panel.fieldText("value"), "-35");
        EXPECT_EQ(panel.fieldText("depth"), "9");
        EXPECT_EQ(panel.fieldText("speed"), "5000 k nodes/s");
        EXPECT_EQ(panel.fieldText("line"), "h8 i9 aF");
        EXPECT_EQ(panel.candidateRows(), QStringList({"A h8 -35", "B g7 -80"}));
    }
}

TEST(AnalysisPanel, SaysWhenThereIsNothingToShow)
{
    AnalysisPanel panel;
    panel.showReport(runningReport(), 0);
    AnalysisReport none;
    none.state = AnalysisReport::State::Finished;
    panel.showReport(none, 0);
    EXPECT_EQ(panel.fieldText("state"), "No analysis of this position");
    EXPECT_TRUE(panel.candidateRows().isEmpty());
    none.state = AnalysisReport::State::Unavailable;
    panel.showReport(none, 0);
    EXPECT_EQ(panel.fieldText("state"), "The engine library cannot analyse");
    EXPECT_EQ(panel.fieldText("depth"), "");
}

TEST(AnalysisPanel, ShowOnBoardIsSignalled)
{
    AnalysisPanel panel;
    QSignalSpy spy(&panel, &AnalysisPanel::showOnBoardChanged);
    panel.showOnBoardBox()->setChecked(true);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_TRUE(panel.showOnBoard());
}

} // namespace
} // namespace korvana
