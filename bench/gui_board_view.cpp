// Board picture: the whole redraw of a 60-stone position with warnings,
// numbering and the latest-move mark on, at the designed 352-pixel picture and
// at a 1000-pixel one (goal: under 5 ms at 1000), and the parts it is made of.

#include "board/ChkStat.h"
#include "record/MOveTree.h"
#include "settings/KvParam.h"
#include "view/BoardView.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

using namespace korvana;

namespace {

/// 60 stones scattered around the centre, no five among them.
void playSixtyStones(MOveTree &tree)
{
    std::mt19937 random(8);
    std::normal_distribution<double> spread(7.0, 3.0);
    while (tree.board().moveCount() < 60) {
        const int x = static_cast<int>(spread(random) + 0.5), y = static_cast<int>(spread(random) + 0.5);
        if (!onBoard(x, y))
            continue;
        if (MOve *move = tree.AddMoveAlternating(x, y); move && isGameEnd(move->code()))
            tree.Back();
    }
}

struct Scene {
    KvParam settings;
    MOveTree tree;
    BoardView view{settings};
    Scene()
    {
        settings.SetInt("System", "ViewWarning", 1);
        settings.SetInt("System", "ViewBoardNumbering", 1);
        settings.SetInt("System", "ViewLatestMove", 1);
        playSixtyStones(tree);
    }
};

/// The argument is the picture's width: 352 is the designed box, others a square box.
void sizeTo(BoardView &view, int width)
{
    view.setBoxSize(width == BoardView::BitmapWidth ? QSize(BoardView::BoxWidth, BoardView::BoxHeight)
                                                    : QSize(width, width));
}

void BM_DrawPosition60(benchmark::State &state)
{
    Scene scene;
    sizeTo(scene.view, static_cast<int>(state.range(0)));
    state.counters["picture_px"] = scene.view.bitmap().width();
    const BoardOverlay overlay;
    for (auto _ : state) {
        scene.view.paint(scene.tree, overlay);
        benchmark::DoNotOptimize(scene.view.bitmap().constBits());
    }
}
BENCHMARK(BM_DrawPosition60)->Arg(352)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DrawEmptyBoard(benchmark::State &state)
{
    Scene scene;
    sizeTo(scene.view, static_cast<int>(state.range(0)));
    for (auto _ : state)
        scene.view.drawEmptyBoard();
}
BENCHMARK(BM_DrawEmptyBoard)->Arg(352)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_WarningJudgements60(benchmark::State &state)
{
    Scene scene;
    for (auto _ : state) {
        BanArray scratch = scene.tree.board().banArray();
        ChkStat judge(scratch);
        int warnings = 0;
        for (int p = 0; p < PointCount; ++p)
            if (scratch.cell(p) == Empty)
                warnings += isWarning(judge.judgeAt(p, Black));
        benchmark::DoNotOptimize(warnings);
    }
}
BENCHMARK(BM_WarningJudgements60)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // The picture is drawn off screen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
