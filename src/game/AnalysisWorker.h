#pragma once
// AnalysisWorker: the engine library's running view of the position on the
// board, and its forced-win search, on one thread of their own. The GUI thread
// only hands over positions and never waits: a new position asks the library
// to stop (it returns within 50 ms) and the thread moves on to it. Reports go
// to the GUI thread through `post`, newest only, so a fast engine cannot flood
// the window's queue, and reports about an older position are dropped there.

#include "game/Kumo98Dll.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvana {

/// A candidate move of the analysis with the engine's value for it.
struct AnalysisCandidate {
    uint8_t point = 0;
    int score = 0;
    bool operator==(const AnalysisCandidate &) const = default;
};

/// One look at the analysis, as the engine last reported it.
struct AnalysisReport {
    enum class State {
        Running,     ///< more reports follow
        Finished,    ///< the search returned (time up, or the position cannot be analysed)
        Unavailable, ///< the library or its analysis entries are missing
    };
    uint64_t position = 0; ///< the worker's number of the position analysed
    State state = State::Running;
    int depth = 0;
    int score = 0;       ///< engine value for the side to move
    int winPermille = 0; ///< win chance of the side to move, 0..1000
    int mateIn = 0;      ///< > 0: wins in so many own moves; < 0: loses; 0 not known
    uint64_t nodes = 0;
    int elapsedMs = 0;
    std::vector<uint8_t> line;                 ///< expected line, side to move first
    std::vector<AnalysisCandidate> candidates; ///< best first

    /// Nodes per second so far (0 before the first millisecond).
    uint64_t nodesPerSecond() const { return elapsedMs > 0 ? nodes * 1000 / static_cast<uint64_t>(elapsedMs) : 0; }
    /// The report from the library's record (counts clamped to the arrays).
    static AnalysisReport from(const KumoAnalysisInfo &info, uint64_t position);
};

/// Answer of a forced-win search.
struct ForcedWinReport {
    enum Kind { None = 0, Vcf = 1, Vct = 2, NoPosition = 255, Unavailable = -1 };
    uint64_t position = 0;
    int kind = None;
    std::vector<uint8_t> line; ///< attacker's and defender's moves alternating, attacker first
};

class AnalysisWorker {
public:
    /// Runs a call later on the GUI thread; callable from any thread.
    using Post = std::function<void(std::function<void()>)>;
    using ReportHandler = std::function<void(const AnalysisReport &)>;
    using ForcedWinHandler = std::function<void(const ForcedWinReport &)>;

    /// The handlers run on the GUI thread and only for the current position.
    /// `library` must outlive the worker.
    AnalysisWorker(Kumo98Dll &library, Post post, ReportHandler onReport, ForcedWinHandler onForcedWin);
    AnalysisWorker(const AnalysisWorker &) = delete;
    AnalysisWorker &operator=(const AnalysisWorker &) = delete;
    /// Stops the library's search and joins the thread.
    ~AnalysisWorker();

    /// The position on the board as point codes, Black first. A different
    /// position restarts the analysis and cancels a forced-win search.
    void SetPosition(const std::vector<uint8_t> &moves);
    /// Continuous analysis on or off; off stops the running search.
    void SetEnabled(bool on);
    bool enabled() const;
    /// Searches the current position for a forced win within `timeMs`; the
    /// analysis pauses meanwhile and resumes afterwards.
    void FindForcedWin(int timeMs);
    /// The number of the current position (grows with every new position).
    uint64_t position() const;
    /// True when the library has the analysis entries.
    bool available() const;

private:
    struct Shared;
    enum class Job { None, Analysis, ForcedWin };

    void Run();
    void RunAnalysis(const std::vector<uint8_t> &moves, uint64_t position);
    void RunForcedWin(const std::vector<uint8_t> &moves, uint64_t position, int timeMs);
    void StartThread();
    static void OnInfo(const KumoAnalysisInfo *info, void *user);
    void Deliver(AnalysisReport report);
    bool Stale(uint64_t position, Job job);

    Kumo98Dll &library_;
    std::shared_ptr<Shared> shared_; ///< also held by calls posted to the GUI thread

    // Guarded by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<uint8_t> moves_;
    bool enabled_ = false;
    bool quit_ = false;
    uint64_t analysed_ = 0; ///< position the last analysis started on
    int forcedWinMs_ = -1;  ///< a forced-win search waiting, with its time limit
    Job running_ = Job::None;

    uint64_t runningPosition_ = 0; ///< worker thread only
    std::thread thread_;
};

} // namespace korvana
