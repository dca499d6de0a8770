// Studying a 10,000-node record through the game flow: one step forward or back
// as the user makes it, with the database lookup, the move list's lines and the
// board picture request (goal: under 1 ms). The window does nothing here, so this
// is the flow's share; the tree window's share is in bench_gui_tree_form.

#include "StudyRecord.h"
#include "game/GameFlow.h"
#include "game/Kumo98Dll.h"
#include "game/KvFlags.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

using namespace korvana;

namespace {

class QuietWindow : public GameWindow {
public:
    void setStatusText(const std::string &) override {}
    void setPlayerLabels(const std::string &, const std::string &) override {}
    void setThinkingTimeLabel(char, const std::string &) override {}
    void showMessageWindow(const std::string &, const std::string &) override {}
    bool askColourIsBlack() override { return true; }
    bool askDatabaseUpdate() override { return false; }
    int askWhichRemove() override { return 0; }
    void beep(BeepKind) override {}
    void redraw() override {}
    void moveListAppend(const std::string &) override {}
    void moveListDeleteLast() override {}
    void moveListClear() override {}
    void showMoveList(const std::vector<std::string> &lines, int current) override
    {
        benchmark::DoNotOptimize(lines.data());
        benchmark::DoNotOptimize(current);
    }
    void setCaption(const std::string &) override {}
    void setGiveUpEnabled(bool) override {}
    void postToGuiThread(std::function<void()> call) override { call(); }
};

void BM_FlowStepForwardBack(benchmark::State &state)
{
    QuietWindow window;
    KvFlags flags;
    Kumo98Dll library;
    GameFlow flow(window, &flags, &library);
    // An empty book directory: each step looks its position up and finds nothing.
    const auto dir = std::filesystem::temp_directory_path() / "korvana_bench_study_adb";
    std::filesystem::create_directories(dir);
    flow.settings().SetText("Database", "DatabaseDirName", dir.string() + "/");
    flow.SetUpDatabase("");
    flow.ResetGame();
    bench::growStudyRecord(flow.game(), 10000);
    flow.GoEnd();
    bool back = true;
    for (auto _ : state) {
        if (flow.game().current()->childCount() == 0)
            back = true;
        else if (!flow.game().current()->parent())
            back = false;
        if (back)
            flow.MoveBack();
        else
            flow.GoForward();
    }
    state.counters["depth_at_end"] = flow.game().depth();
}
BENCHMARK(BM_FlowStepForwardBack)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
