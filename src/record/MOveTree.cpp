#include "record/MOveTree.h"

#include "board/CandidateScan.h"
#include "record/MoveSort.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace korvana {

MOveTree::MOveTree() : board_(this) {}

MOveTree::~MOveTree()
{
    // The board must not point at nodes while they go.
    board_.reset();
}

BanMove *MOveTree::createMove(int x, int y, char colour, BanMove *) { return new MOve(x, y, colour); }

void MOveTree::Snapshot() { snapshot_ = board_.history(); }

void MOveTree::ReplaySnapshot()
{
    const BanHistory moves = snapshot_;
    GotoRoot();
    for (const MovedPos &m : moves.moves())
        AddMove(m.x, m.y, m.colour);
}

void MOveTree::Reset()
{
    board_.reset();
    MOveTreeBase::Reset();
}

void MOveTree::GotoRoot()
{
    board_.reset();
    MOveTreeBase::GotoRoot();
}

int MOveTree::Forward()
{
    MOve *next = current_->cursorChild();
    if (!next || !board_.replayMove(next))
        return 0;
    return MOveTreeBase::Forward();
}

int MOveTree::Back()
{
    if (!current_->parent())
        return 0;
    board_.takeBack(current_);
    return MOveTreeBase::Back();
}

bool MOveTree::DeleteVariation(MOve *node)
{
    if (!node || node == root_ || !Contains(node))
        return false;
    if (IsInSubtree(current_, node) && !GotoNode(node->parent()))
        return false;
    return DeleteSubtree(node);
}

int MOveTree::GotoBranchEnd()
{
    int entered = 0;
    while (Forward())
        ++entered;
    return entered;
}

MOve *MOveTree::AddMove(int x, int y, char colour)
{
    if (colour != Black && colour != White)
        return nullptr;
    const MoveList &kids = current_->children();
    for (size_t i = 0; i < kids.size(); ++i) {
        MOve *child = kids[i];
        if (child->x() == x && child->y() == y && child->colour() == colour) {
            const int32_t before = current_->cursorIndex();
            setCursorOf(current_, static_cast<int32_t>(i));
            if (Forward())
                return child;
            setCursorOf(current_, before);
            return nullptr;
        }
    }
    BanMove *played = board_.playNewMove(x, y, colour, current_);
    if (!played)
        return nullptr;
    // The board judged the move and stored its code in the node already.
    return AddChild(static_cast<MOve *>(played));
}

MOve *MOveTree::AddMoveAlternating(int x, int y) { return AddMove(x, y, colourToMove(board_.moveCount())); }

void MOveTree::SetDefaultHeader() { rootProperties_ = {"GM[4]", "SZ[15]", "RU[Renju 1998]", "US[KORVANA 3.0]"}; }

bool MOveTree::CheckHeaderProperty()
{
    if (rootProperties_.empty())
        return true;
    const std::string &p = rootProperties_.back();
    if (p.compare(0, 2, "GM") == 0) {
        const size_t open = p.find('[');
        if (open == std::string::npos)
            return false;
        const int32_t game = leadingInteger(p.substr(0, p.find(']', open)), open + 1);
        return game == 1 || game == 4;
    }
    if (p.compare(0, 2, "SZ") == 0)
        return true;
    if (p.compare(0, 2, "RU") == 0)
        return isRenjuRule(p);
    return true;
}

bool MOveTree::isRenjuRule(const std::string &property)
{
    const size_t open = property.find('[');
    if (open == std::string::npos)
        return false;
    std::string value = property.substr(open + 1, property.find(']', open + 1) - open - 1);
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t start = value.find_first_not_of(" \t");
    // An empty rule says nothing: like a record without RU.
    if (start == std::string::npos || value.find("renju") != std::string::npos)
        return true;
    // Renju's opening rules, also with a number or more text after them ("Soosorv-8", "Taraguchi 10").
    for (const char *opening : {"rif", "yamaguchi", "taraguchi", "soosorv", "sakata", "swap"}) {
        if (value.compare(start, std::strlen(opening), opening) == 0)
            return true;
    }
    return false;
}

bool MOveTree::DepthLimitReached() const { return searchLimit_ < depth_ + depthOffset_ || depth_ >= depthLimit_; }

int MOveTree::expandWidth(int depth) const
{
    if (depth < 0 || depth >= static_cast<int>(expandWidths_.size()))
        return 0;
    return expandWidths_[static_cast<size_t>(depth)];
}

int MOveTree::Expand()
{
    const int width = expandWidth(depth_);
    const char colour = colourToMove(board_.moveCount());
    if (current_->childCount() > 0) {
        const int keep = std::min(std::max(width, 1), current_->childCount());
        std::vector<Pos> kept;
        for (int i = 0; i < keep; ++i)
            kept.push_back(Pos{current_->child(i)->x(), current_->child(i)->y(), colour});
        DeleteChildren();
        for (const Pos &p : kept)
            if (AddMove(p.x, p.y, p.colour))
                Back();
        return 0;
    }
    PosList candidates;
    const int answer = expandCandidates(board_, width - 1, colour, candidates);
    for (const Pos &p : candidates)
        if (AddMove(p.x, p.y, p.colour))
            Back();
    return answer == 1 || answer == 2 ? answer : 0;
}

void MOveTree::SetValue(int32_t v) { current_->setValue(v); }

int32_t MOveTree::MaxOfChildren() { return current_ ? current_->MaxOfChildren() : NoValue; }

int32_t MOveTree::MinOfChildren() { return current_ ? current_->MinOfChildren() : NoValue; }

int32_t MOveTree::Evaluate()
{
    const int32_t v = evaluatePosition(board_, current_->colour());
    current_->setValue(v);
    return v;
}

int32_t MOveTree::SortChildren()
{
    sortMoves(childrenOf(current_));
    setCursorOf(current_, 0);
    const MOve *first = current_->child(0);
    return first ? first->GetValue() : NoValue;
}

} // namespace korvana
