#pragma once
// ThinkingWorkers: the workers started for the computer's answers. Only the
// latest request's answer counts: every start and every stop moves the
// generation on, and the answer of any other generation is dropped. Workers
// that have ended are joined (reaped) at the next start or answer, so a stopped
// search can wind down without holding up the window.
//
// Used on the GUI thread only; the workers themselves deliver from their own.

#include "board/BanHistory.h"
#include "game/ThinkingThread.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korvana {

class ThinkingWorkers {
public:
    ThinkingWorkers() = default;
    ThinkingWorkers(const ThinkingWorkers &) = delete;
    ThinkingWorkers &operator=(const ThinkingWorkers &) = delete;
    /// Stops every worker and waits for them.
    ~ThinkingWorkers();

    /// Starts a worker for `request` on a copy of `history`; it becomes the
    /// current one and `deliver` gets its generation with the answer. Throws
    /// what creating or starting the thread throws; nothing is current then.
    void Start(ThinkRequest request, const BanHistory &history, ThinkingThread::Delivery deliver);
    /// Asks the current worker to stop; whatever it answers is stale from now on.
    void StopCurrent();
    /// True when `generation` is the current request's: the worker is then no
    /// longer current and the answer is the caller's to use. False for a stale answer.
    bool TakeAnswer(uint64_t generation);
    /// Waits until every worker has ended, then reaps them.
    void WaitAll();
    /// Workers not yet reaped (running, or ended but not joined).
    size_t count() const { return workers_.size(); }
    /// The generation whose answer counts.
    uint64_t generation() const { return generation_; }

private:
    void Reap();

    uint64_t generation_ = 0;
    ThinkingThread *current_ = nullptr;
    std::vector<std::unique_ptr<ThinkingThread>> workers_;
};

} // namespace korvana
