// Game-tree window over a 10,000-node record: the refresh after one move
// (goal: under 20 ms), painted as on screen, and after a step along the line.

#include "StudyRecord.h"
#include "dialogs/TTreeForm.h"
#include "settings/KvParam.h"

#include <QApplication>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace korvana;

namespace {

struct Scene {
    KvParam settings;
    MOveTree tree;
    TTreeForm form;
    Scene()
    {
        bench::growStudyRecord(tree, 10000);
        form.attach(tree, settings);
        form.resize(415, 600);
        form.show();
        tree.GotoBranchEnd();
        while (tree.depth() > 60)
            tree.Back();
        form.treeView()->expandAll(); // the worst case: every branch open
        form.refresh();
        QApplication::processEvents();
    }
    /// Refresh and paint, as the window does after a change.
    void show()
    {
        form.refresh();
        form.treeView()->viewport()->repaint();
    }
};

/// A new move (a new variation from the middle of the main line), then its take-back.
void BM_TreeRefreshAfterMove(benchmark::State &state)
{
    Scene scene;
    int x = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A free point of the board, for a move that is new every time.
        while (!scene.tree.AddMove(x % 15, (x / 15) % 15, colourToMove(scene.tree.board().moveCount())))
            ++x;
        ++x;
        state.ResumeTiming();
        scene.show();
        state.PauseTiming();
        MOve *added = scene.tree.current();
        scene.tree.Back();
        scene.tree.DeleteVariation(added);
        scene.show();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TreeRefreshAfterMove)->Unit(benchmark::kMillisecond);

/// Back and Forward along the line: only the selection moves.
void BM_TreeRefreshAfterStep(benchmark::State &state)
{
    Scene scene;
    bool back = true;
    for (auto _ : state) {
        if (back)
            scene.tree.Back();
        else
            scene.tree.Forward();
        back = !back;
        scene.show();
    }
}
BENCHMARK(BM_TreeRefreshAfterStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
