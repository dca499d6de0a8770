#pragma once
// KumoSearch: a threat-space search (VCF) in front of an iterative-deepening
// PVS alpha-beta with a transposition table, on a KumoBoard.

#include "kumo98/KumoBoard.h"
#include "kumo98/KumoTable.h"

#include <atomic>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace korvana::kumo {

/// Scores: a win in n plies is Win - n.
inline constexpr int Win = 30000;
inline constexpr int WinBound = Win - 500; ///< scores beyond this are forced results

/// The answer of one request, or the state of a running one.
struct SearchResult {
    int move = -1;      ///< point 0..224, or -1 when no legal move exists
    int score = 0;      ///< for the side to move
    int depth = 0;      ///< last finished iteration (0: threat search or forced move)
    uint64_t nodes = 0; ///< alpha-beta and threat-search nodes
    double seconds = 0;
    bool byVcf = false;                          ///< the move starts a forced win by fours
    std::vector<int> pv;                         ///< expected line from the side to move (may be just the move)
    std::vector<std::pair<int, int>> candidates; ///< root moves and values, best first
};

/// How long and how deep one request may look, and who hears of it.
struct SearchLimits {
    int timeMs = 1000;                                ///< wall-clock budget of the whole request
    int maxDepth = 40;                                ///< deepest iteration
    uint64_t maxNodes = 0;                            ///< 0: no node limit
    int multiPv = 1;                                  ///< root moves given exact values (more costs speed)
    std::function<bool()> stopWhen;                   ///< polled; true ends the request
    std::function<void(const SearchResult &)> report; ///< after each iteration and every reportMs
    int reportMs = 250;
};

/// A forced win found by the threat searches: 1 by fours, 2 by threes and fours.
struct ForcedWin {
    int kind = 0;          ///< 0 none found in time, 1 VCF, 2 VCT
    std::vector<int> line; ///< attacker's and defender's moves alternating, attacker first
};

class KumoSearch {
public:
    /// A transposition table of 2^tableBits entries.
    explicit KumoSearch(int tableBits = 20);
    ~KumoSearch();
    KumoSearch(const KumoSearch &) = delete;
    KumoSearch &operator=(const KumoSearch &) = delete;

    /// Best move for the side to move of `board` (left as it was on return).
    SearchResult think(KumoBoard &board, const SearchLimits &limits);

    /// First move of a win by continuous fours for the side to move, or -1.
    /// Gives up after `maxNodes` nodes; fills `line` with the attacker's and defender's moves.
    int findVcf(KumoBoard &board, uint64_t maxNodes, std::vector<int> *line = nullptr);

    /// A win by fours, else by threes and fours, for the side to move within `timeMs`.
    ForcedWin findForcedWin(KumoBoard &board, int timeMs, const std::function<bool()> &stopWhen = {});

    /// Scores of the given moves for the side to move, each searched to `depth` plies after it.
    std::vector<int> scoreMoves(KumoBoard &board, const std::vector<int> &moves, int depth, int timeMs);

    /// Candidate moves of the side to move, best first, forbidden ones left out.
    std::vector<int> candidates(KumoBoard &board, int max);

    /// Lets another thread end the current request early.
    void stop() { stopRequested_ = true; }

    uint64_t nodes() const { return nodes_; }

    /// Threads of a timed think(): 1, or 2 for a helper that checks root moves
    /// for the opponent's wins by threes and fours while the search runs; when
    /// nothing is asked, it looks deeper for a win of its own by threes and
    /// fours (which then is the move), then searches the position into the shared table.
    /// Node-limited requests and the other calls always run on the caller's
    /// thread alone.
    void setThreads(int threads) { threads_ = threads >= 2 ? 2 : 1; }
    int threads() const { return threads_; }
    /// KUMO98_THREADS from the environment, else 2.
    static int defaultThreads();
    /// Threads asked for by a text: "1" gives 1, a larger whole number 2;
    /// anything else (or none) 1.
    static int threadsFrom(const char *text);

private:
    /// A helper for `owner`'s threat checks and search, on the owner's table.
    explicit KumoSearch(KumoSearch &owner);
    /// The helper's loop until stopped or `deadline`: for the root moves its
    /// owner asks about (the latest first, then the rest in order), whether
    /// the opponent then wins by threes and fours; with none to check, the side
    /// to move's own win by threes and fours, then a search of the position itself.
    void checkThreats(KumoBoard board, std::chrono::steady_clock::time_point deadline);
    /// Starts the helper with `checkFirst` to check, in that order.
    void startHelper(const KumoBoard &board, const std::vector<int> &checkFirst);
    /// What the helper found of a root move: 1 holds, -1 loses, 0 not yet
    /// (and with `ask`, it is checked next).
    int verdict(int move, bool ask);
    /// verdict(move, true), waited for until the request's end (then 0).
    int awaitVerdict(int move);
    /// Waits until the helper's own threat search ends, or the request's time does.
    void awaitHelperVct();
    /// Stops and joins the helper; the move of its threat search's win, or -1.
    int stopHelper();
    uint64_t helperNodes() const;

    int pvs(KumoBoard &board, int depth, int alpha, int beta, int ply);
    int rootValue(KumoBoard &board, int move, int depth, int alpha);
    int threats(KumoBoard &board, int depth, int alpha, int beta, int ply, int standPat);
    bool vcf(KumoBoard &board, int attacker, int depth, int *first);
    int runVcf(KumoBoard &board, uint64_t maxNodes, std::vector<int> *line);
    bool vctAttack(KumoBoard &board, int attacker, int depth, int ply, int *first);
    bool vctDefend(KumoBoard &board, int attacker, int depth, int ply);
    /// First move of a win by threes and fours for the side to move, or -1.
    int runVct(KumoBoard &board, int depth, uint64_t maxNodes);
    /// runVct at a middle depth on a quarter of maxNodes, then one threat deeper at a
    /// time up to maxDepth, within maxNodes in all; the depth that won goes to *wonAt.
    int deepeningVct(KumoBoard &board, int maxDepth, uint64_t maxNodes, int *wonAt = nullptr);
    /// defendMode: 1 answer a threat, 0 free choice, -1 find out.
    int generate(KumoBoard &board, int *moves, int ttMove, int max, int defendMode, int ply);
    bool timeUp();
    void tick();
    std::vector<int> principalLine(KumoBoard &board, int first);
    void vctLine(KumoBoard &board, int attacker, int depth, int first, std::vector<int> &line);
    bool threatened(KumoBoard &board, int opp);

    std::unique_ptr<KumoTable> ownTable_;
    KumoTable *table_ = nullptr; ///< own, or the owner's for a helper
    int killers_[64][2] = {};    ///< two refutations per ply, for ordering and reductions
    /// Per colour and point: how often a quiet move there refuted a node, weighed by depth.
    int history_[2][225] = {};
    void addHistory(int colour, int point, int bonus);
    /// At the start of a request: no killers, the history halved.
    void forgetRefutations();
    std::vector<uint64_t> vcfFailed_; ///< hashes of positions without a VCF (lossy)
    std::vector<uint64_t> vctFailed_; ///< the same for threats with threes, with the depth tried
    uint64_t nodes_ = 0;
    uint64_t vcfBudget_ = 0;
    uint64_t vcfNodes_ = 0;
    bool vcfExhausted_ = false;
    uint64_t vctNodes_ = 0;
    uint64_t vctBudget_ = 0;
    bool aborted_ = false;
    std::atomic<bool> stopRequested_{false};
    std::chrono::steady_clock::time_point deadline_;
    uint64_t nodeLimit_ = 0;
    std::vector<int> *vcfLine_ = nullptr;
    std::vector<int> interiorLine_;        ///< the opponent's VCF line at an inner node
    const SearchLimits *limits_ = nullptr; ///< of the running think(), for stop and reports
    SearchResult progress_;                ///< what the last report said
    std::chrono::steady_clock::time_point started_, lastReport_;
    int threads_ = defaultThreads();
    KumoSearch *owner_ = nullptr; ///< of a helper
    std::unique_ptr<KumoSearch> helper_;
    std::thread helperThread_;
    std::mutex checkMutex_; ///< guards the queue, the verdicts and checkedNow_, shared with the helper
    std::condition_variable checkWake_;
    std::condition_variable verdictGiven_;
    std::vector<int> checkQueue_;             ///< root moves for the helper to check, the next last
    std::array<int8_t, 225> verdicts_{};      ///< per root move, as verdict() gives
    int checkedNow_ = -1;                     ///< the move the helper is checking, -2 while it searches, or -1
    std::atomic<bool> preempted_{false};      ///< of a helper: put the present check aside
    std::atomic<uint64_t> publishedNodes_{0}; ///< a helper's nodes, as it last told
    std::atomic<int> helperWin_{-1};          ///< first move of a threat win the helper found, or -1
    int helperWonAt_ = 0;                     ///< its threat depth, written before helperWin_
    std::atomic<bool> helperVctDone_{false};  ///< the helper's threat search ended
    std::atomic<int> rootDepth_{0};           ///< the iteration the owner is searching
};

} // namespace korvana::kumo
