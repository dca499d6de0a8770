#pragma once
// KumoPbrainEngine: the Kumo98 engine behind the Gomocup protocol.

#include "kumo98/KumoEngine.h"
#include "pbrain/PbrainEngine.h"

#include <memory>

namespace korvana::pbrain {

class KumoPbrainEngine : public PbrainEngine {
public:
    KumoPbrainEngine();
    int think(const std::vector<uint8_t> &moves, int timeMs) override;
    /// Shrinks the transposition table to fit half of `bytes`.
    void setMemoryLimit(uint64_t bytes) override;
    /// Two threads at most: a helper searches beside the main search.
    void setThreads(int threads) override;
    const char *about() const override;

private:
    int tableBits_ = 22;
    int threads_ = kumo::KumoSearch::defaultThreads();
    std::unique_ptr<kumo::KumoEngine> engine_;
};

} // namespace korvana::pbrain
