#include "engine/PhaseIter.h"

#include "board/ChkStat.h"
#include "database/AData.h"
#include "database/ADataBase.h"
#include "engine/SearchTables.h"

#include <chrono>
#include <cstdio>

namespace korvana {

namespace {

std::atomic<StopFlag *> stopPointer{nullptr};

bool stopped(const StopFlag *flag) { return flag && flag->load(std::memory_order_relaxed) != 0; }

uint32_t clockSeed() { return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()); }

// Depth and hash size come from callers; keep them where the tree and the
// hashes stay small whatever they pass.
int32_t clampDepth(int32_t depth)
{
    return depth < 1 ? 1 : depth > ThinkingLevel::WidthCount ? ThinkingLevel::WidthCount : depth;
}
int32_t clampHashSize(int32_t size) { return size < 1 ? 1 : size > 1000003 ? 1000003 : size; }

} // namespace

void setThinkStopFlag(StopFlag *flag) { stopPointer.store(flag); }

StopFlag *thinkStopFlag() { return stopPointer.load(); }

PhaseIter::PhaseIter(std::unique_ptr<Phase> root, const ThinkingLevel &level, int32_t depth, int32_t hashSize,
                     std::string databaseDirectory)
    : root_(std::move(root)), level_(level), databaseDirectory_(std::move(databaseDirectory)), seed_(clockSeed())
{
    level_.depth = clampDepth(depth);
    level_.hashSize = clampHashSize(hashSize);
    for (int32_t d = 0; d < level_.depth; ++d)
        hashes_.push_back(std::make_unique<PhaseHash>(level_.hashSize));
    if (root_) {
        rootCount_ = root_->board.count();
        rootParity_ = root_->parity();
        judgements_ = static_cast<uint64_t>(root_->rootJudgements);
    }
}

PhaseIter::~PhaseIter()
{
    // The hashes only point into the tree; drop them before the nodes go.
    hashes_.clear();
    root_.reset();
}

int PhaseIter::nextRandom()
{
    // The C library's classic generator: 0..32767.
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<int>((seed_ >> 16) & 0x7fff);
}

int PhaseIter::judgeLast(Phase &node)
{
    if (node.board.last() >= PointCount)
        return Stat::Nothing;
    ++judgements_;
    return ChkStat(node.board).judgeLast();
}

int PhaseIter::Think()
{
    // The flag is taken once: a later request setting the pointer must not
    // change which flag this search obeys.
    StopFlag *stop = thinkStopFlag();
    if (!root_)
        return NoPointCode;
    BanArray &board = root_->board;
    const int count = board.count();

    if (count == 0)
        return Centre;
    if (count == 1) {
        // Next to the centre. A first stone elsewhere could lie on the drawn
        // point, so occupied points are drawn again as well.
        while (true) {
            const int dx = static_cast<int>(nextRandom() / 32767.0 * 2.5) - 1;
            const int dy = static_cast<int>(nextRandom() / 32767.0 * 2.5) - 1;
            if (dx == 0 && dy == 0)
                continue;
            const int point = Centre + dx + BoardSize * dy;
            if (board.cells()[point] == Empty)
                return point;
        }
    }
    if (judgeLast(*root_) <= Stat::Five)
        return 0; // the game is already over
    if (count >= 3) {
        if (book_) {
            const int point = book_(board, databaseDirectory_);
            // A damaged book must not make the engine play on a stone.
            if (point >= 0 && point < PointCount && board.cells()[point] == Empty)
                return point;
        }
        return search(stop);
    }
    while (true) {
        const int x = static_cast<int>(nextRandom() / 32767.0 * 4.5) + 5;
        const int y = static_cast<int>(nextRandom() / 32767.0 * 4.5) + 5;
        const int point = pointOf(x, y);
        if (board.cells()[point] == Empty)
            return point;
    }
}

void PhaseIter::buildCandidates(Phase &node, tdbtree_max<pos_value> &heap)
{
    using namespace SearchTables;
    const char *cells = node.board.cells();
    const unsigned char *own = node.info->own.data();
    const unsigned char *other = node.info->other.data();
    for (int x = 0; x < BoardSize; ++x) {
        for (int y = 0; y < BoardSize; ++y) {
            const int p = pointOf(x, y);
            if (cells[p] != Empty)
                continue;
            const auto value = static_cast<int16_t>(OrderingOwn[index(own[p])] + OrderingOther[index(other[p])]);
            heap.insert(pos_value{static_cast<uint8_t>(p), value});
        }
    }
}

void PhaseIter::addSuccessor(Phase &node, int point)
{
    Phase *child = node.addChild(point);
    ++nodes_;
    const int depth = depthOf(*child);
    if (depth > level_.depth) {
        std::fputs("debug\n", stderr);
        return;
    }
    if (depth >= 2) {
        child->key = PhaseHash::positionKey(child->board);
        hashes_[static_cast<size_t>(depth - 1)]->add(child->key, child);
    }
}

void PhaseIter::expand(Phase &node, tdbtree_max<pos_value> &heap)
{
    const BanInfo &info = *node.info;
    const char *cells = node.board.cells();
    auto firstPoint = [&](const tvector<unsigned char> &codes, unsigned below) {
        for (int p = 0; p < PointCount; ++p)
            if (cells[p] == Empty && codes.data()[p] < below)
                return p;
        return -1;
    };
    int forced = -1;
    if (info.ownCanWin)
        forced = firstPoint(info.own, 2);
    else if (info.otherCanWin)
        forced = firstPoint(info.other, 2);
    else
        forced = firstPoint(info.own, 3);
    if (forced >= 0) {
        addSuccessor(node, forced);
        return;
    }
    if (heap.empty())
        return;
    const int width = level_.widths[depthOf(node)];
    int made = 0;
    pos_value added;
    do {
        added = heap.removeTop();
        addSuccessor(node, added.point);
        ++made;
    } while (made < width && !heap.empty() && added.point != 0);
}

void PhaseIter::passUp(Phase &node, int16_t v)
{
    node.value = v;
    Phase *parent = node.parent;
    if (!parent)
        return;
    const bool rootMoverChose = node.parity() != rootParity_;
    if (!parent->hasValue() || (rootMoverChose && v > parent->value) || (!rootMoverChose && v < parent->value))
        parent->value = v;
}

bool PhaseIter::isCut(const Phase &node) const
{
    const Phase *parent = node.parent;
    if (!parent || !node.hasValue() || !parent->hasValue())
        return false;
    if (node.parity() != rootParity_)
        return node.value < parent->value;
    return node.value > parent->value;
}

bool PhaseIter::evaluate(Phase &node)
{
    using namespace SearchTables;
    if (node.parity() != rootParity_) {
        std::fputs("Maximun count Error\n", stderr);
        return false;
    }
    const char *cells = node.board.cells();
    const unsigned char *own = node.info->own.data();
    const unsigned char *other = node.info->other.data();
    uint16_t sum = 0; // wraps like the 16-bit value it becomes
    for (int p = 0; p < PointCount; ++p) {
        if (cells[p] != Empty)
            continue;
        sum = static_cast<uint16_t>(sum + EvaluationOwn[index(own[p])] - EvaluationOther[index(other[p])]);
    }
    passUp(node, static_cast<int16_t>(sum));
    return true;
}

int PhaseIter::search(StopFlag *stop)
{
    if (stopped(stop))
        return NoPointCode;
    Phase &root = *root_;
    {
        tdbtree_max<pos_value> heap;
        buildCandidates(root, heap);
        expand(root, heap);
    }
    root.children.reset();
    if (!root.children.next())
        return NoPointCode; // no empty point left
    Phase &first = *root.children.current();
    {
        // Own five, or the stone that takes the opponent's five point: no search needed.
        ChkStat judge(first.board);
        judgements_ += 2;
        if (judge.judgeLast() <= Stat::Five ||
            judge.judgeAt(first.board.last(), colourToMove(first.board.count())) <= Stat::Five)
            return first.board.last();
    }
    root.children.reset();

    Phase *current = &root;
    while (true) {
        if (stopped(stop))
            return NoPointCode;
        if (isCut(*current)) {
            current = current->parent;
            continue;
        }
        if (!current->children.next()) {
            passUp(*current, current->value);
            current->info.reset();
            if (current == &root)
                break;
            current = current->parent;
            continue;
        }
        Phase &child = *current->children.current();
        const int depth = depthOf(child);
        Phase *seen = nullptr;
        if (depth >= 1 && depth <= level_.depth) {
            PhaseHash &hash = *hashes_[static_cast<size_t>(depth - 1)];
            if (hash.entries() > 0)
                seen = hash.findValued(child.key, child.board);
        }
        if (seen) {
            passUp(child, seen->value);
        } else if (judgeLast(child) <= Stat::Five) {
            passUp(child, child.parity() != rootParity_ ? 10000 : -10000);
        } else {
            judgements_ += static_cast<uint64_t>(child.makeInfo());
            tdbtree_max<pos_value> heap;
            buildCandidates(child, heap);
            const bool hadTop = !heap.empty();
            const pos_value best = heap.removeTop();
            if (depth < level_.depth) {
                // Taken out and put back: this reorders equal candidates, and
                // the move order depends on it.
                if (hadTop)
                    heap.insert(best);
                expand(child, heap);
                child.children.reset();
                current = &child;
                continue;
            }
            evaluate(child);
        }
        child.info.reset();
        if (current == &root)
            break;
    }

    int16_t best = Phase::NoValue;
    bool any = false;
    root.children.forEachOldestFirst([&](Phase *child) {
        if (child->hasValue() && (!any || child->value > best)) {
            best = child->value;
            any = true;
        }
        return true;
    });
    Phase *answer = nullptr;
    root.children.forEachOldestFirst([&](Phase *child) {
        answer = child;
        return child->value != best;
    });
    return answer ? answer->board.last() : NoPointCode;
}

int thinkOnHistory(const BanHistory &history, const ThinkingLevel &level, const std::string &databaseDirectory)
{
    PhaseIter iter(std::make_unique<Phase>(history.toBoard()), level, level.depth, level.hashSize, databaseDirectory);
    return iter.Think();
}

int databaseBookMove(const BanArray &board, const std::string &directory)
{
    AData record;
    record.setFromBoard(board);
    // A database of its own: the main window's one belongs to another thread.
    const ADataBase book(board.count(), directory);
    return book.FindAnyOrientation(record);
}

} // namespace korvana
