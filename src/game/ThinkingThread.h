#pragma once
// ThinkingThread: one question to the computer, answered on its own thread so
// the window stays responsive. The worker reads only its own copies; its
// answer goes back by value through a callback, tagged with the request's
// generation, so a stopped worker that finishes late cannot overwrite the
// answer of a newer one.

#include "board/BanHistory.h"
#include "engine/PhaseIter.h"
#include "engine/ThinkingLevel.h"
#include "game/ThinkResult.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace korvana {

class Kumo98Dll;

/// Which engine answers.
namespace Engine {
inline constexpr uint8_t BuiltIn = 0; ///< the built-in search
inline constexpr uint8_t Library = 1; ///< the engine library (Kumo98Dll)
} // namespace Engine

/// Everything one request needs besides the position.
struct ThinkRequest {
    uint8_t engine = Engine::BuiltIn;
    uint8_t requestType = Request::Move;
    ThinkResult current;           ///< request 3 reads its two proposals from here
    ThinkingLevel level;           ///< built-in search only
    std::string databaseDirectory; ///< built-in search's book
    Kumo98Dll *library = nullptr;  ///< engine 1; null answers "library missing"
};

class ThinkingThread {
public:
    /// Called on the worker thread with the generation and the answer.
    using Delivery = std::function<void(uint64_t generation, const ThinkResult &answer)>;

    /// A worker for `request` on a copy of `history`; not started yet.
    ThinkingThread(ThinkRequest request, BanHistory history, uint64_t generation, Delivery deliver);
    ThinkingThread(const ThinkingThread &) = delete;
    ThinkingThread &operator=(const ThinkingThread &) = delete;
    /// Stops and joins the thread if it still runs.
    ~ThinkingThread();

    /// Starts the thread (once).
    void Start();
    /// Asks the work to give up; from any thread. The answer then has failed = 1.
    void Stop() { stop_.store(1); }
    /// Waits until the thread has ended (delivery included).
    void Join();
    /// True once the body has delivered its answer.
    bool finished() const { return finished_.load(); }
    bool stopRequested() const { return stop_.load() != 0; }
    uint64_t generation() const { return generation_; }

    /// The request routine: maps (engine, request type) to the built-in search
    /// or a library entry. Runs on the calling thread; the input assistant
    /// calls it on the GUI thread. `stop` may be null.
    static ThinkResult Think(const ThinkRequest &request, const BanHistory &history, StopFlag *stop);

private:
    void Body();

    StopFlag stop_{0};
    BanHistory history_;
    ThinkRequest request_;
    uint64_t generation_;
    Delivery deliver_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

} // namespace korvana
