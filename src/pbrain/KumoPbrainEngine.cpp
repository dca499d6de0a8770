#include "pbrain/KumoPbrainEngine.h"

namespace korvana::pbrain {

KumoPbrainEngine::KumoPbrainEngine() : engine_(std::make_unique<kumo::KumoEngine>(tableBits_))
{
    kumo::KumoBoard warmUp; // builds the shape tables now, not on the clock of the first move
}

int KumoPbrainEngine::think(const std::vector<uint8_t> &moves, int timeMs)
{
    kumo::KumoBoard board;
    if (!kumo::KumoEngine::loadMoves(board, moves.data(), static_cast<int>(moves.size())))
        return -1;
    // As bestMove, with the protocol's STOP polled by the search.
    kumo::SearchLimits limits;
    limits.timeMs = timeMs;
    limits.stopWhen = [this] { return stopRequested(); };
    return engine_->search().think(board, limits).move;
}

void KumoPbrainEngine::setMemoryLimit(uint64_t bytes)
{
    int bits = 22;
    // Entries are 16 bytes; keep the table within half the limit, but at least 2^14 entries.
    while (bits > 14 && bytes > 0 && (uint64_t(16) << bits) > bytes / 2)
        --bits;
    if (bits != tableBits_) {
        tableBits_ = bits;
        engine_ = std::make_unique<kumo::KumoEngine>(tableBits_);
        engine_->search().setThreads(threads_);
    }
}

void KumoPbrainEngine::setThreads(int threads)
{
    engine_->search().setThreads(threads);
    threads_ = engine_->search().threads();
}

const char *KumoPbrainEngine::about() const
{
    return "name=\"Kumo98\", version=\"1.0\", author=\"Korvana\", country=\"JP\"";
}

} // namespace korvana::pbrain
