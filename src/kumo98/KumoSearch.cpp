#include "kumo98/KumoSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace korvana::kumo {

namespace {

constexpr int Infinity = Win + 1;
constexpr int MaxMoves = 225;
constexpr int VcfTableBits = 18;
constexpr uint64_t InteriorVcfNodes = 120;
// Plies left from which a node looks for both sides' wins by fours itself
// (from one ply left as well, it cost more plies than it found wins).
constexpr int InteriorVcfDepth = 2;
constexpr int MaxPly = 48; // forced replies are searched on only up to here
constexpr uint64_t RootDefenceVcfNodes = 20000;
constexpr int RootVctDepth = 12; // attacker threats in the root's threat search
constexpr uint64_t RootVctNodes = 60000;
// The opponent's threat search after a root move about to be chosen. Traps
// through Black's forbidden points that take eight or ten threats to spring
// are often narrow: found one threat deeper at a time within a few thousand
// nodes.
constexpr int RootDefenceVctDepth = 12;
constexpr uint64_t RootDefenceVctNodes = 30000;
// The helper thread's check of the same: on a core of its own it can afford
// more nodes.
constexpr int HelperVctDepth = 14;
constexpr uint64_t HelperVctNodes = 200000;
// The helper's own threat search for a win, before anything else it does
// unasked: the main thread's one gets a slice of the time, and long threat
// wins take more (two a match missed were found within these nodes). More
// would leave the helper no time for its search of the position.
constexpr int HelperOwnVctDepth = 16;
constexpr uint64_t HelperOwnVctNodes = 150000;
// The main thread's own check of a move the helper has not answered for yet.
constexpr uint64_t QuickVctNodes = 5000;
// The depth of the first, undeepened threat search.
constexpr int DirectVctDepth = 8;
constexpr int ThreatPlies = 2; // plies past the horizon in which threes still count
constexpr int WideWidth = 20;  // moves tried where three or more plies remain
constexpr int NarrowWidth = 16;
constexpr int LmrStart = 2; // moves before the first reduced one
// Late quiet root moves (from the seventh on) are first searched a ply less
// deep: few of them ever become the choice, and the search gets a ply deeper.
constexpr size_t RootLmrStart = 6;
constexpr int RootLmrFrom = 4; // iterations from which the root reduces
constexpr int RfpDepth = 3;    // plies left up to which a quiet node may cut on its static value
constexpr int RfpMargin = 60;  // what that value must beat beta by, per ply left
// Null move: from two plies left, a look three or more plies shallower
// (one more per four plies left).
constexpr int NullMoveDepth = 2;
constexpr int NullMoveReduction = 2;
// Within two plies of the horizon, a quiet node whose static value falls short
// of alpha by more than this a ply left searches only threats and killers past
// its first move.
constexpr int FutilityDepth = 2;
constexpr int FutilityMargin = 80;
constexpr int HelperNiceness = 10;
// Root moves the helper checks before anything is asked: the rest are checked
// when about to become the choice. Checking all of them kept it busy with moves
// never chosen; its own search in that time won 62 % of self-play games.
constexpr size_t CheckedUpFront = 4;
constexpr int OwnSearch = -2; // checkedNow_ while the helper searches instead of checking
constexpr int MaxHistory = 1 << 14;
constexpr int HistoryShift = 3; // history's share of a move's ordering key

// Plies a late quiet move is first searched less deep: more the deeper the
// node and the later the move (about ln depth x ln index).
int lateMoveReduction(int depth, int index)
{
    static const auto table = [] {
        std::array<std::array<int8_t, 64>, 64> t{};
        for (int d = 1; d < 64; ++d)
            for (int i = 1; i < 64; ++i)
                t[d][i] = static_cast<int8_t>(std::lround(0.8 * std::log(d) * std::log(i + 1)));
        return t;
    }();
    return table[std::min(depth, 63)][std::min(index, 63)];
}

int toTable(int score, int ply)
{
    if (score > WinBound)
        return score + ply;
    if (score < -WinBound)
        return score - ply;
    return score;
}

int fromTable(int score, int ply)
{
    if (score > WinBound)
        return score - ply;
    if (score < -WinBound)
        return score + ply;
    return score;
}

// Sets bit d of the points up to four steps from q along direction d.
void markLine(std::array<uint8_t, 225> &lines, int q, int d)
{
    static constexpr int DX[4] = {1, 1, 0, -1};
    static constexpr int DY[4] = {0, 1, 1, 1};
    const int x = q % 15, y = q / 15;
    for (int k = -4; k <= 4; ++k) {
        const int px = x + k * DX[d], py = y + k * DY[d];
        if (px >= 0 && px < 15 && py >= 0 && py < 15)
            lines[static_cast<size_t>(px + 15 * py)] |= static_cast<uint8_t>(1 << d);
    }
}

bool makesFour(Combo c) { return c >= C_B4 && c != C_Five; }

// Fail tables keep a position's key above the low byte and, in it, the depth
// the search failed at.
bool failedBefore(uint64_t slot, uint64_t key, int depth)
{
    return (slot & ~uint64_t(0xff)) == (key & ~uint64_t(0xff)) && int(slot & 0xff) >= depth;
}

uint64_t failedAt(uint64_t key, int depth) { return (key & ~uint64_t(0xff)) | uint64_t(std::clamp(depth, 0, 255)); }

} // namespace

KumoSearch::KumoSearch(int tableBits)
    : ownTable_(std::make_unique<KumoTable>(tableBits)), table_(ownTable_.get()),
      vcfFailed_(size_t(1) << VcfTableBits, 0), vctFailed_(size_t(1) << VcfTableBits, 0)
{}

KumoSearch::KumoSearch(KumoSearch &owner)
    : table_(owner.table_), vcfFailed_(size_t(1) << VcfTableBits, 0), vctFailed_(size_t(1) << VcfTableBits, 0),
      threads_(1), owner_(&owner)
{}

KumoSearch::~KumoSearch() { stopHelper(); }

// Two threads unless KUMO98_THREADS says otherwise: the helper's threat checks
// run at a lower priority, on time the search leaves unused.
int KumoSearch::defaultThreads()
{
    if (const char *text = std::getenv("KUMO98_THREADS"); text && *text)
        return threadsFrom(text);
    return 2;
}

int KumoSearch::threadsFrom(const char *text)
{
    if (!text || !*text)
        return 1;
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 2 ? 2 : 1;
}

bool KumoSearch::timeUp()
{
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
    if (stopRequested_.load(std::memory_order_relaxed) || preempted_.load(std::memory_order_relaxed))
        return true;
    if (helperWin_.load(std::memory_order_relaxed) >= 0)
        return true;
    if (nodeLimit_ && nodes_ >= nodeLimit_)
        return true;
    if (limits_) {
        if (limits_->stopWhen && limits_->stopWhen())
            return true;
        if (limits_->report &&
            std::chrono::steady_clock::now() - lastReport_ >= std::chrono::milliseconds(limits_->reportMs))
            tick();
    }
    return std::chrono::steady_clock::now() >= deadline_;
}

void KumoSearch::tick()
{
    lastReport_ = std::chrono::steady_clock::now();
    progress_.nodes = nodes_ + helperNodes();
    progress_.seconds = std::chrono::duration<double>(lastReport_ - started_).count();
    if (limits_ && limits_->report)
        limits_->report(progress_);
}

// The line the table remembers after `first`, for the side to move.
std::vector<int> KumoSearch::principalLine(KumoBoard &board, int first)
{
    std::vector<int> line;
    if (first < 0 || !board.isEmpty(first))
        return line;
    line.push_back(first);
    board.place(first, board.sideToMove());
    while (line.size() < 32 && board.count() < 225 && board.findFive(1 - board.sideToMove()) < 0) {
        const KumoTable::Probe e = table_->probe(board.hash());
        if (e.flag == 0 || e.move >= 225 || !board.isEmpty(e.move) || !board.isLegal(e.move, board.sideToMove()))
            break;
        line.push_back(e.move);
        board.place(e.move, board.sideToMove());
    }
    for (size_t i = 0; i < line.size(); ++i)
        board.undo();
    return line;
}

// Replays a win by threes and fours found from `first`: the defender takes its
// most natural answer, the attacker's next threat is searched again each time,
// deepening up to the threats left. Searched at the full depth every time, a
// long line ran out of time after its first steps.
void KumoSearch::vctLine(KumoBoard &board, int attacker, int depth, int first, std::vector<int> &line)
{
    int placed = 0;
    int move = first;
    while (move >= 0 && placed < 60) {
        line.push_back(move);
        const bool five = board.combo(attacker, move) == C_Five;
        // A three used up one of the threats the win was found within (a four or a
        // forced block may not have), so the rest lies within one fewer.
        if (board.combo(attacker, move) < C_B4 && board.countAtLeast(1 - attacker, C_Five) == 0)
            depth = std::max(depth - 1, 0);
        board.place(move, attacker);
        ++placed;
        if (five)
            break;
        int pts[2];
        int defence = -1;
        if (board.fivePoints(attacker, pts, 2) == 1) {
            if (board.isLegal(pts[0], 1 - attacker))
                defence = pts[0];
        } else if (board.fivePoints(attacker, pts, 2) == 0) {
            int moves[MaxMoves];
            if (generate(board, moves, -1, 1, 1, -1) > 0)
                defence = moves[0];
        }
        if (defence < 0)
            break;
        line.push_back(defence);
        board.place(defence, 1 - attacker);
        ++placed;
        move = -1;
        for (int d = 0; d <= depth && move < 0 && !aborted_; ++d) {
            vctNodes_ = 0;
            if (!vctAttack(board, attacker, d, 0, &move))
                move = -1;
        }
    }
    for (int i = 0; i < placed; ++i)
        board.undo();
}

// True when `opp` has a move that wins unless answered: a straight four or a
// double four (a three on the board, or a 4-4 point). Black's candidates must
// also pass the judge.
bool KumoSearch::threatened(KumoBoard &board, int opp)
{
    if (board.countAtLeast(opp, C_F4) - board.countAtLeast(opp, C_Five) <= 0)
        return false;
    if (opp == 1)
        return true;
    bool found = false;
    board.forArea([&](int p) {
        if (!found && board.isEmpty(p) && board.combo(opp, p) == C_F4 && !board.isForbidden(p))
            found = true;
    });
    return found;
}

int KumoSearch::generate(KumoBoard &board, int *moves, int ttMove, int max, int defendMode, int ply)
{
    static constexpr int NoKillers[2] = {-1, -1};
    const int *killers = ply >= 0 ? killers_[std::min(ply, 63)] : NoKillers;
    const int me = board.sideToMove(), opp = 1 - me;
    int five[2];
    if (board.fivePoints(opp, five, 2) > 0) {
        moves[0] = five[0];
        return 1;
    }
    const bool defend = defendMode < 0 ? threatened(board, opp) : defendMode != 0;
    // A threat is answered on its own lines (or by a four): the lines through the
    // opponent's straight-four and double-four points, bit d per direction.
    auto opponentFourOn = [&](int p, int d) {
        return board.pattern(opp, p, d) >= P_B4 && board.pattern(opp, p, d) <= P_Five;
    };
    std::array<uint8_t, 225> threatLines{};
    if (defend) {
        const int threatPoints = board.countAtLeast(opp, C_F4);
        int found = 0;
        board.forArea([&](int q) {
            if (found >= threatPoints || !board.isEmpty(q) || board.combo(opp, q) < C_F4)
                return;
            ++found;
            for (int d = 0; d < 4; ++d)
                if (opponentFourOn(q, d))
                    markLine(threatLines, q, d);
        });
    }
    std::pair<int, int> list[MaxMoves];
    int n = 0;
    board.forArea([&](int p) {
        if (!board.isEmpty(p))
            return;
        if (defend) {
            bool useful = makesFour(board.combo(me, p));
            for (int d = 0; d < 4 && !useful; ++d)
                useful = (threatLines[p] >> d & 1) && opponentFourOn(p, d);
            if (!useful)
                return;
        } else if (board.nearCount(p) == 0) {
            return;
        }
        int key = board.score(me, p) * 3 / 2 + board.score(opp, p);
        key += history_[me][p] >> HistoryShift;
        if (p == ttMove)
            key += 1 << 24;
        else if (p == killers[0] || p == killers[1])
            key += 1 << 20;
        list[n++] = {key, p};
    });
    const int keep = std::min(n, max);
    std::partial_sort(list, list + keep, list + n, [](const auto &a, const auto &b) { return a.first > b.first; });
    // The judge is asked only about the moves kept.
    int out = 0;
    for (int i = 0; i < n && out < keep; ++i) {
        const int p = list[i].second;
        if (me == 0 && board.isForbidden(p))
            continue;
        moves[out++] = p;
    }
    return out;
}

void KumoSearch::forgetRefutations()
{
    for (auto &k : killers_)
        k[0] = k[1] = -1;
    for (auto &side : history_)
        for (int &h : side)
            h /= 2; // the last request's refutations still mostly hold
}

// Moves towards the bound in proportion to what is left, so values stay within MaxHistory.
void KumoSearch::addHistory(int colour, int point, int bonus)
{
    int &h = history_[colour][point];
    h += bonus - h * std::abs(bonus) / MaxHistory;
}

int KumoSearch::pvs(KumoBoard &board, int depth, int alpha, int beta, int ply)
{
    ++nodes_;
    if ((nodes_ & 1023) == 0 && timeUp())
        aborted_ = true;
    if (aborted_)
        return 0;
    const int me = board.sideToMove(), opp = 1 - me;
    if (board.count() >= 225)
        return 0;
    if (board.countAtLeast(me, C_Five) > 0)
        return Win - ply - 1;
    int five[2];
    const int oppFives = board.fivePoints(opp, five, 2);
    if (oppFives >= 2 || (oppFives == 1 && me == 0 && board.isForbidden(five[0])))
        return -(Win - ply - 2);
    if (oppFives == 0 && board.countAtLeast(opp, C_B4) == 0 && board.countAtLeast(me, C_F4) > 0) {
        bool win = false;
        board.forArea([&](int p) {
            if (!win && board.isEmpty(p) && board.combo(me, p) == C_F4 && board.isLegal(p, me))
                win = true;
        });
        if (win)
            return Win - ply - 3;
    }

    const uint64_t key = board.hash();
    const KumoTable::Probe entry = table_->probe(key);
    int ttMove = -1;
    if (entry.flag != 0) {
        ttMove = entry.move;
        if (entry.depth >= depth) {
            const int s = fromTable(entry.score, ply);
            if (entry.flag == 1 || (entry.flag == 2 && s >= beta) || (entry.flag == 3 && s <= alpha))
                return s;
        }
    }

    // A side facing a three (or a 4-4 point) must answer it: such nodes are
    // searched on, so threat sequences are not cut off at the horizon.
    const bool defend = oppFives == 0 && threatened(board, opp);
    if (depth <= 0 && oppFives == 0 && (!defend || ply >= MaxPly || depth <= -ThreatPlies)) {
        // A leaf does not look for a win by fours: that search was most of the
        // leaves' cost, and the plies it took bought more (the threats past the
        // horizon, and nodes two or more plies above it, still look).
        const int standPat = board.evaluate();
        if (standPat >= beta)
            return standPat;
        if (depth <= -ThreatPlies || ply >= MaxPly)
            return standPat;
        return threats(board, depth, std::max(alpha, standPat), beta, ply, standPat);
    }

    // A quiet node searched with a null window may cut on its static value,
    // looked up once for both cuts below.
    const bool quietScout = depth >= 1 && !defend && oppFives == 0 && beta - alpha == 1 && std::abs(beta) < WinBound;
    const int staticValue = quietScout ? board.evaluate() : 0;

    // Near the horizon a quiet node whose static value beats beta by a margin
    // per ply left cuts at once (in self-play it beat the full search 62 %).
    if (quietScout && depth <= RfpDepth && staticValue - RfpMargin * depth >= beta)
        return staticValue - RfpMargin * depth;

    // A quiet node that stays at beta even when the opponent moves twice in a row
    // cuts after a shallower look (tried from three plies left, it won 70 % of
    // self-play games against the search without it; from two, 55 % against that).
    // Not while the opponent can make a four: a free move would hand it forced lines.
    if (quietScout && depth >= NullMoveDepth && staticValue >= beta && !board.passed() &&
        board.countAtLeast(opp, C_B4) == 0) {
        board.pass();
        const int v = -pvs(board, depth - 1 - NullMoveReduction - depth / 4, -beta, -beta + 1, ply + 1);
        board.pass();
        if (aborted_)
            return 0;
        if (v >= beta) // a win found after a pass is no proof of one
            return v > WinBound ? beta : v;
    }

    // A node where the opponent threatens a win by fours: only the points of
    // that line, own fours, or a stone that lets a block there make a four can
    // stop it. Found cheaply, it cuts the moves searched to a handful and keeps
    // the search from walking into the line.
    bool againstVcf = false;
    std::array<uint8_t, 225> inLine{}; // nonzero: a point of the line
    if (!defend && !oppFives && depth >= InteriorVcfDepth && ply < MaxPly) {
        vcfBudget_ = vcfNodes_ + InteriorVcfNodes;
        vcfExhausted_ = false;
        int first = -1;
        if (vcf(board, me, 12, &first))
            return Win - ply - 9;
        // One buffer for every node: the line is used up before any move is searched.
        std::vector<int> &line = interiorLine_;
        line.clear();
        vcfLine_ = &line;
        vcfBudget_ = vcfNodes_ + InteriorVcfNodes;
        vcfExhausted_ = false;
        againstVcf = vcf(board, opp, 12, nullptr);
        vcfLine_ = nullptr;
        if (aborted_)
            return 0;
        // The line ends in a four; the points that would complete it count too.
        int placed = 0;
        for (int p : line) {
            inLine[p] = 1;
            if (!board.place(p, placed % 2 == 0 ? opp : me))
                break;
            ++placed;
        }
        int completes[4];
        const int k = board.fivePoints(opp, completes, 4);
        for (int i = 0; i < k; ++i)
            inLine[completes[i]] = 1;
        for (int i = 0; i < placed; ++i)
            board.undo();
        // A block that makes a four of the defender's own breaks the line as well:
        // so count the points that could turn one of the blocks into a four.
        if (againstVcf)
            for (size_t i = 1; i < line.size(); i += 2)
                for (int d = 0; d < 4; ++d)
                    if (board.pattern(me, line[i], d) >= P_B3)
                        markLine(inLine, line[i], d);
    }

    int moves[MaxMoves];
    const int width = againstVcf ? MaxMoves : ply == 0 ? 40 : depth >= 3 ? WideWidth : NarrowWidth;
    int n = generate(board, moves, ttMove, width, defend ? 1 : 0, ply);
    if (againstVcf) {
        int kept = 0;
        for (int i = 0; i < n; ++i)
            if (inLine[moves[i]] || makesFour(board.combo(me, moves[i])))
                moves[kept++] = moves[i];
        n = kept;
        if (n == 0)
            return -(Win - ply - 10);
    }
    if (n == 0) // facing a three with every answer forbidden is lost, not even
        return defend ? -(Win - ply - 10) : 0;
    // Forced replies cost no depth.
    const int next = oppFives && ply < MaxPly ? depth : depth - 1;
    const bool quietNode = !defend && !oppFives && !againstVcf;
    // A quiet move would have to gain more than the margin to matter here (in
    // self-play this won 58 % against the search without it).
    const bool futile =
        quietScout && quietNode && depth <= FutilityDepth && staticValue + FutilityMargin * depth <= alpha;
    int *killers = killers_[std::min(ply, 63)];
    const int alphaStart = alpha;
    int best = -Infinity, bestMove = moves[0];
    for (int i = 0; i < n; ++i) {
        const int m = moves[i];
        // (Not after a first move that loses: the node's bound would claim a loss.)
        if (futile && best > -WinBound && board.combo(me, m) < C_F3 && m != killers[0] && m != killers[1])
            continue;
        // Late quiet moves are first searched less deep (never below one ply);
        // a surprise is searched again in full.
        int reduction = 0;
        if (quietNode && depth >= 3 && i >= LmrStart && board.combo(me, m) < C_F3 && m != killers[0] && m != killers[1])
            reduction = std::min(lateMoveReduction(depth, i), next - 1);
        table_->prefetch(key ^ zobrist(me, m));
        board.place(m, me);
        int v;
        if (i == 0) {
            v = -pvs(board, next, -beta, -alpha, ply + 1);
        } else {
            v = -pvs(board, next - reduction, -alpha - 1, -alpha, ply + 1);
            if (reduction && v > alpha && !aborted_)
                v = -pvs(board, next, -alpha - 1, -alpha, ply + 1);
            if (v > alpha && v < beta && !aborted_)
                v = -pvs(board, next, -beta, -alpha, ply + 1);
        }
        board.undo();
        if (aborted_)
            return 0;
        if (v > best) {
            best = v;
            bestMove = m;
            if (v > alpha)
                alpha = v;
            if (alpha >= beta) {
                if (quietNode) {
                    if (killers[0] != m) {
                        killers[1] = killers[0];
                        killers[0] = m;
                    }
                    // The refutation gains, the moves tried before it lose.
                    const int bonus = std::min(depth * depth, 400);
                    addHistory(me, m, bonus);
                    for (int j = 0; j < i; ++j)
                        addHistory(me, moves[j], -bonus);
                }
                break;
            }
        }
    }
    table_->store(key, toTable(best, ply), depth, best <= alphaStart ? 3 : best >= beta ? 2 : 1, bestMove);
    return best;
}

// Beyond the horizon the side to move may still make threes and fours (the
// answers to them are searched in pvs), so threat sequences are not cut off.
int KumoSearch::threats(KumoBoard &board, int depth, int alpha, int beta, int ply, int standPat)
{
    const int me = board.sideToMove();
    std::pair<int, int> list[MaxMoves];
    int n = 0;
    board.forArea([&](int p) {
        if (board.isEmpty(p) && board.combo(me, p) >= C_F3 && board.combo(me, p) != C_Five)
            list[n++] = {board.combo(me, p) * 4096 + board.score(me, p), p};
    });
    std::sort(list, list + n, [](const auto &a, const auto &b) { return a.first > b.first; });
    int best = standPat;
    const int width = depth == 0 ? 6 : 3; // the threat tree grows fast: keep it narrow
    for (int i = 0; i < n && i < width; ++i) {
        const int m = list[i].second;
        if (!board.isLegal(m, me))
            continue;
        board.place(m, me);
        const int v = -pvs(board, depth - 1, -beta, -alpha, ply + 1);
        board.undo();
        if (aborted_)
            return 0;
        if (v > best) {
            best = v;
            if (v > alpha)
                alpha = v;
            if (alpha >= beta)
                break;
        }
    }
    return best;
}

bool KumoSearch::vcf(KumoBoard &board, int attacker, int depth, int *first)
{
    const int defender = 1 - attacker;
    ++nodes_;
    ++vcfNodes_;
    if (board.countAtLeast(attacker, C_Five) > 0) {
        const int five = board.findFive(attacker);
        if (first)
            *first = five;
        if (vcfLine_)
            vcfLine_->push_back(five);
        return true;
    }
    if (vcfNodes_ > vcfBudget_)
        vcfExhausted_ = true;
    if (depth <= 0 || vcfExhausted_ || aborted_)
        return false;
    if ((nodes_ & 1023) == 0 && timeUp()) {
        aborted_ = true;
        return false;
    }
    const uint64_t key = board.hash() ^ (uint64_t(attacker) << 63);
    uint64_t &slot = vcfFailed_[key & ((uint64_t(1) << VcfTableBits) - 1)];
    if (failedBefore(slot, key, depth))
        return false;

    int five[2];
    const int defenderFives = board.fivePoints(defender, five, 2);
    if (defenderFives >= 2)
        return false;
    int moves[MaxMoves];
    int n = 0;
    if (defenderFives == 1) {
        // Only a block that makes a four keeps the attack going.
        if (!makesFour(board.combo(attacker, five[0])))
            return false;
        moves[n++] = five[0];
    } else {
        std::pair<int, int> list[MaxMoves];
        int m = 0;
        // Every point that makes a four lies in the area; stop once all are found.
        const int fours = board.countAtLeast(attacker, C_B4);
        if (fours > 0)
            board.forArea([&](int p) {
                if (m < fours && board.isEmpty(p) && makesFour(board.combo(attacker, p)))
                    list[m++] = {board.combo(attacker, p) * 4096 + board.score(attacker, p), p};
            });
        std::sort(list, list + m, [](const auto &a, const auto &b) { return a.first > b.first; });
        for (int i = 0; i < m; ++i)
            moves[n++] = list[i].second;
    }
    for (int i = 0; i < n; ++i) {
        const int q = moves[i];
        if (!board.isLegal(q, attacker))
            continue;
        board.place(q, attacker);
        int pts[2];
        const int fp = board.fivePointsThrough(attacker, q, pts, 2);
        bool win = false;
        if (fp >= 2 && board.countAtLeast(defender, C_B4) == 0) {
            win = true;
        } else if (fp >= 1) {
            const int block = pts[0];
            if (defender == 0 && board.isForbidden(block)) {
                win = true; // Black cannot stop the five
            } else {
                board.place(block, defender);
                win = vcf(board, attacker, depth - 1, nullptr);
                if (win && vcfLine_) {
                    vcfLine_->insert(vcfLine_->begin(), block);
                }
                board.undo();
            }
        }
        board.undo();
        if (win) {
            if (vcfLine_)
                vcfLine_->insert(vcfLine_->begin(), q);
            if (first)
                *first = q;
            return true;
        }
        if (aborted_)
            return false;
    }
    if (!vcfExhausted_ && !aborted_)
        slot = failedAt(key, depth);
    return false;
}

// Threat-space search with threes: the attacker plays fours and threes, the
// defender answers every three on its lines or with its own fours. True when
// every defence loses within `depth` more attacker threats.
bool KumoSearch::vctAttack(KumoBoard &board, int attacker, int depth, int ply, int *first)
{
    const int defender = 1 - attacker;
    ++nodes_;
    if (++vctNodes_ > vctBudget_ || ply > MaxPly || aborted_)
        return false;
    if ((nodes_ & 1023) == 0 && timeUp()) {
        aborted_ = true;
        return false;
    }
    if (board.countAtLeast(attacker, C_Five) > 0) {
        if (first)
            *first = board.findFive(attacker);
        return true;
    }
    int five[2];
    const int defenderFives = board.fivePoints(defender, five, 2);
    if (defenderFives >= 2)
        return false;
    if (defenderFives == 1) {
        if (!board.isLegal(five[0], attacker))
            return false;
        board.place(five[0], attacker);
        const bool win = vctDefend(board, attacker, depth, ply + 1);
        board.undo();
        if (win && first)
            *first = five[0];
        return win;
    }
    vcfBudget_ = vcfNodes_ + 200;
    vcfExhausted_ = false;
    if (vcf(board, attacker, 20, first))
        return true;
    if (depth <= 0)
        return false;
    // Threat trees meet the same positions by many move orders: remember the
    // ones that held, with the depth they held at.
    const uint64_t key = board.hash() ^ (uint64_t(attacker + 1) * 0x9e3779b97f4a7c15ull);
    uint64_t &slot = vctFailed_[key & ((uint64_t(1) << VcfTableBits) - 1)];
    if (failedBefore(slot, key, depth))
        return false;
    std::pair<int, int> list[MaxMoves];
    int n = 0;
    board.forArea([&](int p) {
        const Combo c = board.combo(attacker, p);
        if (board.isEmpty(p) && c >= C_F3 && c != C_Five)
            list[n++] = {c * 4096 + board.score(attacker, p), p};
    });
    std::sort(list, list + n, [](const auto &a, const auto &b) { return a.first > b.first; });
    for (int i = 0; i < n && i < 10; ++i) {
        const int m = list[i].second;
        if (!board.isLegal(m, attacker))
            continue;
        board.place(m, attacker);
        const bool win = vctDefend(board, attacker, depth - 1, ply + 1);
        board.undo();
        if (win) {
            if (first)
                *first = m;
            return true;
        }
        if (aborted_ || vctNodes_ > vctBudget_)
            return false;
    }
    if (!aborted_ && vctNodes_ <= vctBudget_)
        slot = failedAt(key, depth);
    return false;
}

bool KumoSearch::vctDefend(KumoBoard &board, int attacker, int depth, int ply)
{
    const int defender = 1 - attacker;
    ++nodes_;
    if (++vctNodes_ > vctBudget_ || ply > MaxPly || aborted_)
        return false;
    if (board.countAtLeast(defender, C_Five) > 0)
        return false;
    int five[2];
    const int attackerFives = board.fivePoints(attacker, five, 2);
    if (attackerFives >= 2)
        return true;
    if (attackerFives == 1) {
        if (!board.isLegal(five[0], defender))
            return true; // Black cannot take the only defence
        board.place(five[0], defender);
        const bool win = vctAttack(board, attacker, depth, ply + 1, nullptr);
        board.undo();
        return win;
    }
    if (!threatened(board, attacker))
        return false; // the last move threatened nothing
    int moves[MaxMoves];
    const int n = generate(board, moves, -1, MaxMoves, 1, -1);
    if (n == 0)
        return true;
    for (int i = 0; i < n; ++i) {
        board.place(moves[i], defender);
        const bool win = vctAttack(board, attacker, depth, ply + 1, nullptr);
        board.undo();
        if (!win)
            return false;
    }
    return true;
}

int KumoSearch::runVct(KumoBoard &board, int depth, uint64_t maxNodes)
{
    vctNodes_ = 0;
    vctBudget_ = maxNodes;
    int first = -1;
    const bool found = vctAttack(board, board.sideToMove(), depth, 0, &first);
    return found && vctNodes_ <= vctBudget_ && !aborted_ ? first : -1;
}

// Deepening finds the narrow deep wins a single search of the full depth runs
// out of nodes before: the shallow iterations fill the table of threat trees
// that failed. But a wide shallow tree can use up the nodes before a win whose
// first threats come first in the order: a quarter of them goes to one search
// at a middle depth first. At the full depth that search loses itself in long
// hopeless lines and finds fewer wins than one eight threats deep.
int KumoSearch::deepeningVct(KumoBoard &board, int maxDepth, uint64_t maxNodes, int *wonAt)
{
    const int directDepth = std::min(maxDepth, DirectVctDepth);
    const int direct = runVct(board, directDepth, maxNodes / 4);
    if (direct >= 0) {
        if (wonAt)
            *wonAt = directDepth;
        return direct;
    }
    uint64_t spent = std::min(vctNodes_, maxNodes / 4);
    for (int depth = 1; depth <= maxDepth && !aborted_ && spent < maxNodes; ++depth) {
        const int first = runVct(board, depth, maxNodes - spent);
        if (first >= 0) {
            if (wonAt)
                *wonAt = depth;
            return first;
        }
        spent += vctNodes_;
    }
    return -1;
}

int KumoSearch::runVcf(KumoBoard &board, uint64_t maxNodes, std::vector<int> *line)
{
    vcfNodes_ = 0;
    vcfBudget_ = maxNodes;
    vcfExhausted_ = false;
    if (line)
        line->clear();
    vcfLine_ = line;
    int first = -1;
    const bool found = vcf(board, board.sideToMove(), 60, &first);
    vcfLine_ = nullptr;
    return found ? first : -1;
}

int KumoSearch::findVcf(KumoBoard &board, uint64_t maxNodes, std::vector<int> *line)
{
    aborted_ = false;
    stopRequested_ = false;
    nodeLimit_ = 0;
    limits_ = nullptr;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::hours(24);
    return runVcf(board, maxNodes, line);
}

ForcedWin KumoSearch::findForcedWin(KumoBoard &board, int timeMs, const std::function<bool()> &stopWhen)
{
    SearchLimits limits;
    limits.stopWhen = stopWhen;
    limits_ = &limits;
    started_ = lastReport_ = std::chrono::steady_clock::now();
    deadline_ = started_ + std::chrono::milliseconds(std::max(1, timeMs));
    aborted_ = false;
    stopRequested_ = false;
    nodeLimit_ = 0;
    nodes_ = 0;
    ForcedWin result;
    const int me = board.sideToMove();
    const int own = board.findFive(me);
    if (own >= 0) {
        result = {1, {own}};
    } else if (runVcf(board, ~uint64_t(0) >> 2, &result.line) >= 0) {
        result.kind = 1;
    } else {
        result.line.clear();
        // Deeper and deeper threat trees until one wins or the time is spent.
        for (int depth = 2; depth <= 16 && !aborted_; ++depth) {
            const int first = runVct(board, depth, ~uint64_t(0) >> 2);
            if (first >= 0) {
                // The replay repeats the search's steps: a little time past the budget.
                deadline_ =
                    std::max(deadline_, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeMs / 4 + 1));
                vctBudget_ = ~uint64_t(0) >> 2;
                vctLine(board, me, depth, first, result.line);
                result.kind = 2;
                break;
            }
        }
    }
    limits_ = nullptr;
    aborted_ = false;
    return result;
}

std::vector<int> KumoSearch::candidates(KumoBoard &board, int max)
{
    int moves[MaxMoves];
    const int n = generate(board, moves, -1, std::min(max, MaxMoves), -1, -1);
    std::vector<int> out(moves, moves + n);
    if (out.empty() && board.count() == 0)
        out.push_back(112);
    return out;
}

SearchResult KumoSearch::think(KumoBoard &board, const SearchLimits &limits)
{
    const auto start = std::chrono::steady_clock::now();
    deadline_ = start + std::chrono::milliseconds(std::max(1, limits.timeMs));
    nodeLimit_ = limits.maxNodes;
    aborted_ = false;
    stopRequested_ = false;
    nodes_ = 0;
    limits_ = &limits;
    started_ = lastReport_ = start;
    progress_ = {};
    table_->newRequest();
    forgetRefutations();
    SearchResult result;
    uint64_t helped = 0; // the helper's nodes, once it is done
    auto finish = [&](SearchResult r) {
        r.nodes = nodes_ + helped;
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (r.pv.empty() && r.move >= 0)
            r.pv.push_back(r.move);
        if (r.candidates.empty() && r.move >= 0)
            r.candidates.push_back({r.move, r.score});
        limits_ = nullptr;
        return r;
    };
    const int me = board.sideToMove(), opp = 1 - me;
    if (board.count() == 0) {
        result.move = 112;
        return finish(result);
    }
    if (board.count() >= 225)
        return finish(result);
    const int own = board.findFive(me);
    if (own >= 0) {
        result.move = own;
        result.score = Win - 1;
        return finish(result);
    }
    std::vector<int> rootMoves = candidates(board, 40);
    if (rootMoves.empty()) {
        // Nothing near the stones is legal: any legal point will do.
        for (int p = 0; p < 225 && result.move < 0; ++p)
            if (board.isEmpty(p) && board.isLegal(p, me))
                result.move = p;
        return finish(result);
    }
    int five[2];
    if (board.fivePoints(opp, five, 2) > 0) {
        result.move = rootMoves.front(); // the block (or, if it is forbidden, nothing helps)
        result.score = board.evaluate();
        return finish(result);
    }
    if (rootMoves.size() == 1) {
        result.move = rootMoves.front();
        return finish(result);
    }

    // Each step before the main search gets a slice of the budget.
    const auto fullDeadline = deadline_;
    auto slice = [&](int percent) {
        deadline_ = std::min(fullDeadline, std::chrono::steady_clock::now() +
                                               std::chrono::milliseconds(int64_t{limits.timeMs} * percent / 100 + 1));
        aborted_ = false;
    };

    // A forced win by fours ends the search at once.
    slice(15);
    const int vcfMove = runVcf(board, 2'000'000, &result.pv);
    if (vcfMove >= 0) {
        result.move = vcfMove;
        result.score = Win - 9;
        result.byVcf = true;
        deadline_ = fullDeadline;
        return finish(result);
    }

    // Moves after which the opponent wins by fours, or by threes and fours,
    // are dropped (unless all are). Moves not checked in time stay.
    auto dropLosing = [&](int percent, auto opponentWins) {
        slice(percent);
        std::vector<int> safe;
        size_t checked = 0;
        for (; checked < rootMoves.size(); ++checked) {
            const int m = rootMoves[checked];
            board.place(m, me);
            const bool lost = opponentWins();
            board.undo();
            if (aborted_)
                break;
            if (!lost)
                safe.push_back(m);
        }
        safe.insert(safe.end(), rootMoves.begin() + static_cast<long>(checked), rootMoves.end());
        if (!safe.empty())
            rootMoves = safe;
    };
    dropLosing(15, [&] { return runVcf(board, RootDefenceVcfNodes, nullptr) >= 0; });

    // A win by threes and fours.
    slice(15);
    int vctDepth = 0;
    const int vctMove = deepeningVct(board, RootVctDepth, RootVctNodes, &vctDepth);
    if (vctMove >= 0) {
        result.move = vctMove;
        result.score = Win - 19;
        if (limits.report)
            vctLine(board, me, vctDepth, vctMove, result.pv);
        deadline_ = fullDeadline;
        return finish(result);
    }
    deadline_ = fullDeadline;
    aborted_ = false;

    // With a second thread, that thread checks the first root moves and the
    // ones about to become the choice while this one searches.
    if (threads_ >= 2 && limits.maxNodes == 0 && rootMoves.size() > 1)
        startHelper(board, {rootMoves.begin(),
                            rootMoves.begin() + static_cast<long>(std::min(CheckedUpFront, rootMoves.size()))});
    struct JoinOnExit {
        KumoSearch &search;
        ~JoinOnExit() { search.stopHelper(); }
    } joinOnExit{*this};
    const bool checking = helperThread_.joinable();

    // Whether the opponent wins by threes and fours after a root move, asked
    // only of moves about to become the choice: checking all of them up front
    // ran out of time after a few.
    std::array<int8_t, 225> threatChecked{}; // 0 not yet, 1 holds, -1 loses
    auto losesToThreats = [&](int m) {
        if (checking) {
            const int v = verdict(m, true);
            if (v != 0)
                return v < 0;
        }
        if (threatChecked[m] == 0) {
            board.place(m, me);
            const bool lost =
                deepeningVct(board, RootDefenceVctDepth, checking ? QuickVctNodes : RootDefenceVctNodes) >= 0;
            board.undo();
            if (aborted_)
                return false;
            threatChecked[m] = lost ? -1 : 1;
        }
        return threatChecked[m] < 0;
    };

    result.pv.clear();
    result.move = rootMoves.front();
    progress_ = result;
    const size_t multiPv = static_cast<size_t>(std::max(1, limits.multiPv));
    std::vector<int> values(rootMoves.size());
    // Indices of the first `searched` root moves, best value first.
    auto bestFirst = [&](size_t searched) {
        std::vector<size_t> order(searched);
        for (size_t i = 0; i < searched; ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] > values[b]; });
        return order;
    };
    auto setCandidates = [&](const std::vector<size_t> &order) {
        result.candidates.clear();
        for (size_t i = 0; i < order.size() && i < 8; ++i)
            result.candidates.push_back({rootMoves[order[i]], values[order[i]]});
    };
    std::vector<int> ranked; // root moves of the last finished iteration, best first
    for (int depth = 1; depth <= limits.maxDepth; ++depth) {
        rootDepth_ = depth;
        if (checking)
            for (size_t i = rootMoves.size(); i-- > 0 && rootMoves.size() > 1;)
                if (verdict(rootMoves[i], false) < 0) {
                    rootMoves.erase(rootMoves.begin() + static_cast<long>(i));
                    values.erase(values.begin() + static_cast<long>(i));
                }
        // Moves past the first multiPv are tried against the weakest of the best ones.
        auto threshold = [&](size_t searched) {
            if (searched < multiPv)
                return -Infinity;
            std::vector<int> top(values.begin(), values.begin() + static_cast<long>(searched));
            std::nth_element(top.begin(), top.begin() + static_cast<long>(multiPv - 1), top.end(), std::greater<int>());
            return top[multiPv - 1];
        };
        int bestMove = -1, bestScore = -Infinity;
        size_t searched = 0;
        for (size_t i = 0; i < rootMoves.size(); ++i) {
            const int m = rootMoves[i];
            const int alpha = multiPv == 1 ? bestScore : threshold(i);
            int v;
            if (i >= RootLmrStart && depth >= RootLmrFrom && alpha > -Infinity && board.combo(me, m) < C_F3) {
                v = rootValue(board, m, depth - 1, alpha);
                if (v > alpha && !aborted_)
                    v = rootValue(board, m, depth, alpha);
            } else {
                v = rootValue(board, m, depth, alpha);
            }
            if (aborted_)
                break;
            if (v > bestScore && v > -WinBound && rootMoves.size() > 1 && losesToThreats(m)) {
                // Never chosen again; the loop goes on with the move now at i.
                rootMoves.erase(rootMoves.begin() + static_cast<long>(i));
                values.erase(values.begin() + static_cast<long>(i));
                --i;
                continue;
            }
            if (aborted_)
                break;
            values[i] = v;
            searched = i + 1;
            if (v > bestScore) {
                bestScore = v;
                bestMove = m;
            }
        }
        if (aborted_) {
            // The unfinished iteration searched the previous choice first: a move
            // that beat it at this depth is the better one.
            if (bestMove >= 0 && bestMove != result.move) {
                result.move = bestMove;
                result.score = bestScore;
                result.pv = {bestMove};
                // The moves of this depth only: values of two depths do not compare.
                setCandidates(bestFirst(searched));
            }
            break;
        }
        result.move = bestMove;
        result.score = bestScore;
        result.depth = depth;
        const std::vector<size_t> order = bestFirst(searched);
        ranked.clear();
        for (size_t i : order)
            ranked.push_back(rootMoves[i]);
        if (limits.report || multiPv > 1) {
            result.pv = principalLine(board, bestMove);
            setCandidates(order);
        }
        if (limits.report) {
            progress_ = result;
            tick();
        }
        // Best move first in the next iteration (all of them in order when several are wanted).
        if (multiPv > 1) {
            std::vector<int> sorted, sortedValues;
            for (size_t i : order) {
                sorted.push_back(rootMoves[i]);
                sortedValues.push_back(values[i]);
            }
            std::copy(sorted.begin(), sorted.end(), rootMoves.begin());
            std::copy(sortedValues.begin(), sortedValues.end(), values.begin());
        } else {
            std::stable_partition(rootMoves.begin(), rootMoves.end(), [&](int m) { return m == bestMove; });
        }
        if (bestScore > WinBound || bestScore < -WinBound)
            break;
        // An unfinished iteration still tells whether another move beats the
        // choice, so the next one starts unless almost nothing is left.
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed * 20 > std::chrono::milliseconds(limits.timeMs) * 19)
            break;
    }
    // A search that ended before its time waits for the helper's threat search too.
    if (checking && !aborted_ && result.score < WinBound && result.score > -WinBound)
        awaitHelperVct();
    if (checking) {
        if (helperWin_.load() < 0) {
            // The helper may find the opponent's win after the choice was made. A
            // search that ended before its time waits for the helper's answer.
            const std::vector<int> &byValue = ranked.empty() ? rootMoves : ranked;
            // Without the helper's answer, the main thread's own quick check counts.
            auto known = [&](int m, int v) { return v != 0 ? v : threatChecked[static_cast<size_t>(m)]; };
            for (;;) {
                const bool forced = result.score > WinBound || result.score < -WinBound;
                const int v = aborted_ || forced ? verdict(result.move, false) : awaitVerdict(result.move);
                if (known(result.move, v) >= 0)
                    break;
                const auto next = std::find_if(byValue.begin(), byValue.end(),
                                               [&](int m) { return known(m, verdict(m, false)) >= 0; });
                if (next == byValue.end())
                    break;
                result.move = *next;
                result.pv = {*next};
                result.candidates.clear();
            }
        }
        // A win of the helper's threat search (even one found while the choice
        // was being checked) is the move, whatever the search said.
        const int win = stopHelper();
        helped = helper_->nodes_;
        if (win >= 0) {
            result.move = win;
            result.score = Win - 19;
            result.pv.clear();
            result.candidates.clear();
            if (limits.report) {
                // The replay repeats the search's steps: a little time past the budget.
                aborted_ = false;
                deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.timeMs / 4 + 1);
                vctBudget_ = ~uint64_t(0) >> 2;
                vctLine(board, me, helperWonAt_, win, result.pv);
            }
        }
    }
    return finish(result);
}

// A root move's value: against a null window at `alpha` first, in full only
// when it beats it (no window at all while nothing was searched).
int KumoSearch::rootValue(KumoBoard &board, int move, int depth, int alpha)
{
    board.place(move, board.sideToMove());
    int v;
    if (alpha == -Infinity) {
        v = -pvs(board, depth - 1, -Infinity, Infinity, 1);
    } else {
        v = -pvs(board, depth - 1, -alpha - 1, -alpha, 1);
        if (v > alpha && !aborted_)
            v = -pvs(board, depth - 1, -Infinity, -alpha, 1);
    }
    board.undo();
    return v;
}

void KumoSearch::startHelper(const KumoBoard &board, const std::vector<int> &checkFirst)
{
    if (!helper_)
        helper_.reset(new KumoSearch(*this));
    helper_->stopRequested_ = false;
    helper_->preempted_ = false;
    helper_->publishedNodes_ = 0;
    helperVctDone_ = false; // helperWin_ was cleared when the last helper stopped
    rootDepth_ = 0;
    {
        const std::lock_guard lock(checkMutex_);
        verdicts_.fill(0);
        checkQueue_.assign(checkFirst.rbegin(), checkFirst.rend());
        checkedNow_ = -1;
    }
    helperThread_ = std::thread(&KumoSearch::checkThreats, helper_.get(), board, deadline_);
}

int KumoSearch::stopHelper()
{
    if (!helperThread_.joinable())
        return -1;
    {
        const std::lock_guard lock(checkMutex_);
        helper_->stop();
    }
    checkWake_.notify_all();
    helperThread_.join();
    return helperWin_.exchange(-1); // cleared, or the next request's steps would stop at once
}

uint64_t KumoSearch::helperNodes() const
{
    return helper_ ? helper_->publishedNodes_.load(std::memory_order_relaxed) : 0;
}

int KumoSearch::verdict(int move, bool ask)
{
    const std::lock_guard lock(checkMutex_);
    const int v = verdicts_[static_cast<size_t>(move)];
    if (v == 0 && ask && move != checkedNow_) {
        // The move about to be chosen goes before the one being checked (or
        // the helper's own search).
        checkQueue_.push_back(move);
        if (checkedNow_ != -1)
            helper_->preempted_ = true;
        checkWake_.notify_one();
    }
    return v;
}

int KumoSearch::awaitVerdict(int move)
{
    verdict(move, true);
    for (;;) {
        {
            std::unique_lock lock(checkMutex_);
            // Short waits, so that a stop from another thread is seen.
            if (verdictGiven_.wait_for(lock, std::chrono::milliseconds(10),
                                       [&] { return verdicts_[static_cast<size_t>(move)] != 0; }))
                return verdicts_[static_cast<size_t>(move)];
        }
        if (timeUp()) {
            aborted_ = true;
            return 0;
        }
    }
}

void KumoSearch::awaitHelperVct()
{
    for (;;) {
        {
            std::unique_lock lock(checkMutex_);
            if (verdictGiven_.wait_for(lock, std::chrono::milliseconds(10),
                                       [&] { return helperVctDone_ || helperWin_ >= 0; }))
                return;
        }
        if (timeUp()) {
            aborted_ = true;
            return;
        }
    }
}

void KumoSearch::checkThreats(KumoBoard board, std::chrono::steady_clock::time_point deadline)
{
    // The helper takes only time no one else wants: sharing a core with the
    // main search (or another program) it would slow the search down.
    const auto self = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, self, getpriority(PRIO_PROCESS, self) + HelperNiceness);
    deadline_ = deadline;
    nodeLimit_ = 0;
    limits_ = nullptr;
    aborted_ = false;
    nodes_ = 0;
    KumoSearch &owner = *owner_;
    const int me = board.sideToMove();
    forgetRefutations();
    int searchedTo = 0; // the deepest iteration of the helper's own search
    bool ownVctDone = false;
    for (;;) {
        int move;
        {
            std::unique_lock lock(owner.checkMutex_);
            if (owner.checkQueue_.empty() && !stopRequested_ && searchedTo < MaxPly) {
                // Nothing to check: search the position itself, so the shared
                // table holds deeper values when the owner gets there.
                owner.checkedNow_ = OwnSearch;
                preempted_ = false;
                lock.unlock();
                if (!ownVctDone) {
                    int wonAt = 0;
                    const int win = deepeningVct(board, HelperOwnVctDepth, HelperOwnVctNodes, &wonAt);
                    if (win >= 0) {
                        owner.helperWonAt_ = wonAt;
                        owner.helperWin_.store(win);
                    }
                    // Put aside for a question, it starts again (on what its table kept) later.
                    ownVctDone = win >= 0 || !aborted_;
                    if (ownVctDone) {
                        const std::lock_guard lock(owner.checkMutex_);
                        owner.helperVctDone_ = true;
                        owner.verdictGiven_.notify_all();
                    }
                }
                // A ply past the owner's iteration: the depths it searches itself
                // the helper would only repeat.
                while (ownVctDone && !aborted_ && searchedTo < MaxPly) {
                    const int depth = std::clamp(owner.rootDepth_.load() + 1, searchedTo + 1, MaxPly);
                    pvs(board, depth, -Infinity, Infinity, 0);
                    if (!aborted_)
                        searchedTo = depth;
                }
                lock.lock();
                owner.checkedNow_ = -1;
                if (stopRequested_ || std::chrono::steady_clock::now() >= deadline_)
                    break;
                aborted_ = false;
                preempted_ = false;
            }
            owner.checkWake_.wait(lock, [&] { return stopRequested_ || !owner.checkQueue_.empty(); });
            if (stopRequested_)
                break;
            move = owner.checkQueue_.back();
            owner.checkQueue_.pop_back();
            if (owner.verdicts_[static_cast<size_t>(move)] != 0)
                continue;
            owner.checkedNow_ = move;
            // A question asked while the last check was ending is this one.
            preempted_ = false;
        }
        board.place(move, me);
        const bool lost = deepeningVct(board, HelperVctDepth, HelperVctNodes) >= 0;
        board.undo();
        const std::lock_guard lock(owner.checkMutex_);
        owner.checkedNow_ = -1;
        if (aborted_ && preempted_ && !stopRequested_ && std::chrono::steady_clock::now() < deadline_) {
            // Put aside for a newer question: checked again last.
            aborted_ = false;
            owner.checkQueue_.insert(owner.checkQueue_.begin(), move);
            continue;
        }
        if (aborted_)
            break;
        owner.verdicts_[static_cast<size_t>(move)] = static_cast<int8_t>(lost ? -1 : 1);
        owner.verdictGiven_.notify_all();
    }
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
}

std::vector<int> KumoSearch::scoreMoves(KumoBoard &board, const std::vector<int> &moves, int depth, int timeMs)
{
    const auto start = std::chrono::steady_clock::now();
    deadline_ = start + std::chrono::milliseconds(std::max(1, timeMs));
    nodeLimit_ = 0;
    limits_ = nullptr;
    aborted_ = false;
    stopRequested_ = false;
    const int me = board.sideToMove();
    std::vector<int> scores(moves.size(), 0);
    for (int d = 1; d <= depth; ++d) {
        std::vector<int> current(moves.size(), 0);
        for (size_t i = 0; i < moves.size() && !aborted_; ++i) {
            if (!board.place(moves[i], me)) {
                current[i] = -Infinity;
                continue;
            }
            current[i] = -pvs(board, d - 1, -Infinity, Infinity, 1);
            board.undo();
        }
        if (aborted_)
            break;
        scores = current;
    }
    aborted_ = false;
    return scores;
}

} // namespace korvana::kumo
