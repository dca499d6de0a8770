#pragma once
// PbrainEngine: the engine behind a Gomocup session.

#include <atomic>
#include <cstdint>
#include <vector>

namespace korvana::pbrain {

class PbrainEngine {
public:
    virtual ~PbrainEngine() = default;
    /// Move for the side to move after `moves` (point codes, Black first,
    /// colours alternating), within about `timeMs`: a point 0..224, or -1.
    virtual int think(const std::vector<uint8_t> &moves, int timeMs) = 0;
    /// Memory the engine may use, in bytes (0: no limit given).
    virtual void setMemoryLimit(uint64_t /*bytes*/) {}
    /// Threads the engine may use (the protocol's thread_num).
    virtual void setThreads(int /*threads*/) {}
    /// Name and version for ABOUT.
    virtual const char *about() const = 0;

    /// A flag another thread sets to make think() answer its best move so far
    /// at once; borrowed, null for none.
    void setStopFlag(const std::atomic<bool> *stop) { stop_ = stop; }
    /// False for an engine that ignores the flag and always thinks to its end.
    virtual bool stoppable() const { return true; }

protected:
    bool stopRequested() const { return stop_ && stop_->load(); }
    const std::atomic<bool> *stop_ = nullptr;
};

} // namespace korvana::pbrain
