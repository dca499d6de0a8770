#include "game/AnalysisWorker.h"

#include <algorithm>
#include <optional>

namespace korvana {

// What calls posted to the GUI thread still need after the worker is gone.
struct AnalysisWorker::Shared {
    std::atomic<uint64_t> position{1};
    std::mutex mutex;
    std::optional<AnalysisReport> latest; ///< newest report not yet shown
    bool postPending = false;
    bool alive = true; ///< GUI thread only
    Post post;
    ReportHandler onReport;
    ForcedWinHandler onForcedWin;
};

AnalysisReport AnalysisReport::from(const KumoAnalysisInfo &info, uint64_t position)
{
    AnalysisReport r;
    r.position = position;
    r.depth = info.depth;
    r.score = info.score;
    r.winPermille = std::clamp(info.winPermille, 0, 1000);
    r.mateIn = info.mateIn;
    r.nodes = info.nodes;
    r.elapsedMs = std::max(info.elapsedMs, 0);
    const int lineLength = std::clamp(info.pvLength, 0, static_cast<int>(sizeof info.pv));
    for (int i = 0; i < lineLength && info.pv[i] < 225; ++i)
        r.line.push_back(info.pv[i]);
    const int count = std::clamp(info.candidateCount, 0, static_cast<int>(sizeof info.candidates));
    for (int i = 0; i < count; ++i)
        if (info.candidates[i] < 225)
            r.candidates.push_back({info.candidates[i], info.candidateScores[i]});
    return r;
}

AnalysisWorker::AnalysisWorker(Kumo98Dll &library, Post post, ReportHandler onReport, ForcedWinHandler onForcedWin)
    : library_(library), shared_(std::make_shared<Shared>())
{
    shared_->post = std::move(post);
    shared_->onReport = std::move(onReport);
    shared_->onForcedWin = std::move(onForcedWin);
}

AnalysisWorker::~AnalysisWorker()
{
    bool stop;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        stop = running_ != Job::None;
    }
    if (stop)
        library_.StopAnalysis();
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    shared_->alive = false;
}

uint64_t AnalysisWorker::position() const { return shared_->position.load(); }

bool AnalysisWorker::available() const { return library_.hasEntry("Analyse") && library_.hasEntry("StopAnalysis"); }

void AnalysisWorker::StartThread()
{
    if (!thread_.joinable())
        thread_ = std::thread(&AnalysisWorker::Run, this);
}

void AnalysisWorker::SetPosition(const std::vector<uint8_t> &moves)
{
    bool stop;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (moves == moves_)
            return;
        moves_ = moves;
        ++shared_->position;
        forcedWinMs_ = -1; // it was for the old position
        stop = running_ != Job::None;
    }
    if (stop)
        library_.StopAnalysis();
    wake_.notify_all();
}

void AnalysisWorker::SetEnabled(bool on)
{
    bool stop;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (enabled_ == on)
            return;
        enabled_ = on;
        // Switched on again: the same position is analysed afresh.
        if (on)
            analysed_ = 0;
        stop = !on && running_ == Job::Analysis;
        if (on)
            StartThread();
    }
    if (stop)
        library_.StopAnalysis();
    wake_.notify_all();
}

bool AnalysisWorker::enabled() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return enabled_;
}

void AnalysisWorker::FindForcedWin(int timeMs)
{
    bool stop;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        forcedWinMs_ = std::max(timeMs, 1);
        stop = running_ == Job::Analysis;
        // The analysis resumes on this position once the search is done.
        analysed_ = 0;
        StartThread();
    }
    if (stop)
        library_.StopAnalysis();
    wake_.notify_all();
}

bool AnalysisWorker::Stale(uint64_t position, Job job)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (quit_ || position != shared_->position.load())
        return true;
    return job == Job::Analysis && (!enabled_ || forcedWinMs_ >= 0);
}

void AnalysisWorker::Run()
{
    for (;;) {
        std::vector<uint8_t> moves;
        uint64_t position;
        Job job;
        int timeMs = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] {
                return quit_ || forcedWinMs_ >= 0 || (enabled_ && analysed_ != shared_->position.load());
            });
            if (quit_)
                return;
            moves = moves_;
            position = shared_->position.load();
            if (forcedWinMs_ >= 0) {
                job = Job::ForcedWin;
                timeMs = forcedWinMs_;
                forcedWinMs_ = -1;
            } else {
                job = Job::Analysis;
                analysed_ = position;
            }
            running_ = job;
        }
        if (job == Job::ForcedWin)
            RunForcedWin(moves, position, timeMs);
        else
            RunAnalysis(moves, position);
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = Job::None;
    }
}

// Passed to the library as its `user` pointer.
struct AnalysisCall {
    AnalysisWorker *worker;
    uint64_t position;
    AnalysisReport last;
};

void AnalysisWorker::OnInfo(const KumoAnalysisInfo *info, void *user)
{
    auto *call = static_cast<AnalysisCall *>(user);
    if (!info)
        return;
    call->last = AnalysisReport::from(*info, call->position);
    call->worker->Deliver(call->last);
    // A stop asked just before the library started its search may have been
    // missed; the library calls back at least every 250 ms, so ask again.
    if (call->worker->Stale(call->position, Job::Analysis))
        call->worker->library_.StopAnalysis();
}

void AnalysisWorker::RunAnalysis(const std::vector<uint8_t> &moves, uint64_t position)
{
    AnalysisCall call{this, position, {}};
    call.last.position = position;
    if (Stale(position, Job::Analysis))
        return;
    const int result =
        library_.Analyse(static_cast<int>(moves.size()), moves.data(), 0, &AnalysisWorker::OnInfo, &call);
    AnalysisReport last = call.last;
    last.state =
        result == Kumo98Dll::Unavailable ? AnalysisReport::State::Unavailable : AnalysisReport::State::Finished;
    // A search cut short for a newer position has nothing final to say.
    if (!Stale(position, Job::Analysis) || result == Kumo98Dll::Unavailable)
        Deliver(std::move(last));
}

void AnalysisWorker::RunForcedWin(const std::vector<uint8_t> &moves, uint64_t position, int timeMs)
{
    uint8_t line[225] = {};
    int length = 0;
    const int result = library_.FindForcedWin(static_cast<int>(moves.size()), moves.data(), timeMs, line, 225, length);
    ForcedWinReport report;
    report.position = position;
    if (result == Kumo98Dll::Unavailable) {
        report.kind = ForcedWinReport::Unavailable;
    } else {
        const int kind = result & 0xff;
        report.kind = kind == ForcedWinReport::Vcf || kind == ForcedWinReport::Vct ? kind
                      : kind == 0                                                  ? ForcedWinReport::None
                                                                                   : ForcedWinReport::NoPosition;
        if (report.kind == ForcedWinReport::Vcf || report.kind == ForcedWinReport::Vct) {
            length = std::clamp(length, 0, 225);
            for (int i = 0; i < length && line[i] < 225; ++i)
                report.line.push_back(line[i]);
            // A win without a line cannot be shown.
            if (report.line.empty())
                report.kind = ForcedWinReport::None;
        }
    }
    if (Stale(position, Job::ForcedWin))
        return;
    std::shared_ptr<Shared> shared = shared_;
    shared->post([shared, report] {
        if (shared->alive && report.position == shared->position.load() && shared->onForcedWin)
            shared->onForcedWin(report);
    });
}

void AnalysisWorker::Deliver(AnalysisReport report)
{
    std::shared_ptr<Shared> shared = shared_;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->latest = std::move(report);
        if (shared->postPending)
            return; // the call already posted shows the newest
        shared->postPending = true;
    }
    shared->post([shared] {
        std::optional<AnalysisReport> r;
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            r.swap(shared->latest);
            shared->postPending = false;
        }
        if (r && shared->alive && r->position == shared->position.load() && shared->onReport)
            shared->onReport(*r);
    });
}

} // namespace korvana
