// The GUI thread while the engine library analyses: a zero-interval timer
// counts the passes of the event loop with analysis off and on (the position
// changing every 200 ms, as when walking through a game), together with the
// longest gap between two passes, the longest the GUI thread spent handing a
// position over, the rate of reports reaching the GUI thread and the time
// from a new position to its first report (positions left without one are
// counted).
//
// Needs libkumo98.so beside this program (it is built there).

#include "board/Point.h"
#include "game/AnalysisWorker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace korvana;

namespace {

// A game to walk through, one position every 200 ms.
const char *const Game = "h8 i7 j8 k8 k7 i9 i8 f8 h9 hA e7 j7 h5 iA i5 j9 hB l9 h7 h6 i6 m9 k9 kA jA";

std::vector<std::vector<uint8_t>> positions()
{
    std::vector<std::vector<uint8_t>> all;
    std::vector<uint8_t> moves;
    const std::string game = Game;
    for (size_t at = 0; at < game.size(); at += 3) {
        int x = 0, y = 0;
        parseWrittenPoint(game.substr(at, 2), x, y);
        moves.push_back(pointOf(x, y));
        all.push_back(moves);
    }
    return all;
}

Kumo98Dll &library()
{
    static Kumo98Dll lib;
    if (!lib.loaded())
        lib.LoadFromDirectory(QCoreApplication::applicationDirPath().toStdString() + "/");
    return lib;
}

void BM_GuiThreadPasses(benchmark::State &state)
{
    const bool analysing = state.range(0) != 0;
    if (analysing && !library().hasEntry("Analyse")) {
        state.SkipWithError("libkumo98.so with Analyse not found beside the program");
        return;
    }
    QObject receiver;
    const auto all = positions();
    double passes = 0, seconds = 0, reports = 0, maxGapMs = 0, restarts = 0, restartMsSum = 0, restartMsMax = 0;
    double unanswered = 0, handOverUsMax = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 shownAt = 0;   // when the current position was handed over
        bool answered = true; // its first report has come
        AnalysisWorker worker(
            library(),
            [&receiver](std::function<void()> call) {
                QMetaObject::invokeMethod(&receiver, std::move(call), Qt::QueuedConnection);
            },
            [&](const AnalysisReport &) {
                ++reports;
                if (!answered) {
                    const double ms = static_cast<double>(clock.nsecsElapsed() - shownAt) / 1e6;
                    restartMsSum += ms;
                    restartMsMax = std::max(restartMsMax, ms);
                    ++restarts;
                    answered = true;
                }
            },
            {});
        QEventLoop loop;
        QTimer tick, walk;
        qint64 last = 0;
        size_t next = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            ++passes;
            const qint64 now = clock.nsecsElapsed();
            maxGapMs = std::max(maxGapMs, static_cast<double>(now - last) / 1e6);
            last = now;
        });
        QObject::connect(&walk, &QTimer::timeout, [&] {
            if (!analysing)
                return;
            unanswered += answered ? 0 : 1;
            const qint64 before = clock.nsecsElapsed();
            worker.SetPosition(all[next++ % all.size()]);
            shownAt = clock.nsecsElapsed();
            handOverUsMax = std::max(handOverUsMax, static_cast<double>(shownAt - before) / 1e3);
            answered = false;
        });
        tick.start(0);
        walk.start(200);
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        clock.start();
        if (analysing)
            worker.SetEnabled(true);
        loop.exec();
        seconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    state.counters["passes_per_s"] = passes / seconds;
    state.counters["longest_gap_ms"] = maxGapMs;
    state.counters["reports_per_s"] = reports / seconds;
    state.counters["restart_ms_mean"] = restarts > 0 ? restartMsSum / restarts : 0;
    state.counters["restart_ms_max"] = restartMsMax;
    state.counters["unanswered"] = unanswered;
    state.counters["hand_over_us_max"] = handOverUsMax;
}
BENCHMARK(BM_GuiThreadPasses)->ArgName("analysis")->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
