#include "game/ThinkingWorkers.h"

namespace korvana {

ThinkingWorkers::~ThinkingWorkers()
{
    for (auto &worker : workers_)
        worker->Stop();
    workers_.clear(); // joins
}

void ThinkingWorkers::Reap()
{
    for (auto it = workers_.begin(); it != workers_.end();) {
        if ((*it)->finished() && it->get() != current_) {
            (*it)->Join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void ThinkingWorkers::Start(ThinkRequest request, const BanHistory &history, ThinkingThread::Delivery deliver)
{
    ThinkingThread *worker = nullptr;
    try {
        Reap();
        const uint64_t generation = ++generation_;
        auto owned = std::make_unique<ThinkingThread>(std::move(request), history, generation, std::move(deliver));
        worker = owned.get();
        workers_.push_back(std::move(owned));
        current_ = worker;
        worker->Start();
    } catch (...) {
        // A worker that never ran must leave nothing waiting for its answer.
        ++generation_;
        current_ = nullptr;
        if (worker && !worker->finished()) {
            for (auto it = workers_.begin(); it != workers_.end(); ++it)
                if (it->get() == worker) {
                    workers_.erase(it);
                    break;
                }
        }
        throw;
    }
}

void ThinkingWorkers::StopCurrent()
{
    if (current_)
        current_->Stop();
    ++generation_;
    current_ = nullptr;
}

bool ThinkingWorkers::TakeAnswer(uint64_t generation)
{
    Reap();
    if (generation != generation_)
        return false;
    current_ = nullptr;
    Reap();
    return true;
}

void ThinkingWorkers::WaitAll()
{
    for (auto &worker : workers_)
        worker->Join();
    Reap();
}

} // namespace korvana
