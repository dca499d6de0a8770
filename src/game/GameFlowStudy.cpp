// Studying the record: walking the move tree outside play mode, and the move
// list that shows the line being studied.

#include "game/GameFlow.h"

namespace korvana {

namespace {

int depthOf(const MOve *node)
{
    int depth = 0;
    for (; node && node->parent(); node = node->parent())
        ++depth;
    return depth;
}

int nodesBelow(const MOve *node)
{
    int count = 0;
    std::vector<const MOve *> pending{node};
    while (!pending.empty()) {
        const MOve *n = pending.back();
        pending.pop_back();
        ++count;
        pending.insert(pending.end(), n->children().begin(), n->children().end());
    }
    return count;
}

} // namespace

std::vector<std::string> GameFlow::MoveListLines(int &current) const
{
    std::vector<const MOve *> line;
    for (const MOve *n = game_.current(); n && n->parent(); n = n->parent())
        line.insert(line.begin(), n);
    current = static_cast<int>(line.size()) - 1;
    // While playing, the list is the game as played; the moves ahead are study.
    if (!flags_.playing)
        for (const MOve *n = game_.current()->cursorChild(); n; n = n->cursorChild())
            line.push_back(n);
    std::vector<std::string> lines;
    lines.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        const MOve *n = line[i];
        std::string text = MoveListLine(n->colour(), static_cast<int>(i + 1), n->x(), n->y(), n->code());
        if (n->parent()->childCount() > 1)
            text += VariationMark;
        lines.push_back(std::move(text));
    }
    return lines;
}

void GameFlow::RebuildMoveList()
{
    int current = -1;
    const std::vector<std::string> lines = MoveListLines(current);
    window_.showMoveList(lines, current);
    window_.gameTreeChanged();
    // The caption tells the move shown, so it follows the list.
    UpdateCaption();
}

bool GameFlow::CanNavigate() const { return !flags_.playing && !flags_.thinking; }

void GameFlow::FollowCurrentNode()
{
    // A proposal of the WC1998 opening belongs to the position it was made in.
    opening_.openingStep = OpeningProtocol::NoProposal;
    flags_.pendingColumn = 'z';
    // Time spent studying is no one's thinking time.
    flags_.stopwatchStart = clock_();
    RefreshDatabasePosition();
    RebuildMoveList();
    Redraw();
}

void GameFlow::GoForward()
{
    if (!CanNavigate() || !game_.current()->cursorChild())
        return;
    SettleDatabaseEdits();
    game_.Forward();
    FollowCurrentNode();
}

void GameFlow::GoHome()
{
    if (!CanNavigate())
        return;
    SettleDatabaseEdits();
    game_.GotoRoot();
    FollowCurrentNode();
}

void GameFlow::GoEnd()
{
    if (!CanNavigate())
        return;
    SettleDatabaseEdits();
    game_.GotoBranchEnd();
    FollowCurrentNode();
}

void GameFlow::GoVariation(int step)
{
    if (!CanNavigate() || !game_.current()->parent() || game_.current()->parent()->childCount() < 2)
        return;
    SettleDatabaseEdits();
    if (step > 0)
        game_.NextVariation();
    else
        game_.PrevVariation();
    FollowCurrentNode();
}

void GameFlow::GoToLine(int k)
{
    if (k < 0)
        return;
    // Line k is move k + 1 of the line shown: behind the current move or ahead of it.
    MOve *node = game_.current();
    const int depth = depthOf(node);
    if (k + 1 <= depth) {
        for (int d = depth; d > k + 1; --d)
            node = node->parent();
    } else {
        for (int d = depth; d < k + 1 && node; ++d)
            node = node->cursorChild();
    }
    GoToNode(node);
}

void GameFlow::GoToNode(MOve *node)
{
    if (!CanNavigate() || !node || !game_.Contains(node) || node == game_.current())
        return;
    SettleDatabaseEdits();
    game_.GotoNode(node);
    FollowCurrentNode();
}

void GameFlow::DeleteVariation(MOve *node)
{
    if (!CanNavigate() || !node || !node->parent() || !game_.Contains(node))
        return;
    const int moves = nodesBelow(node);
    const std::string question =
        "Delete this variation (" + std::to_string(moves) + (moves == 1 ? " move)?" : " moves)?");
    if (!window_.askYesNo(question, "Game Tree"))
        return;
    SettleDatabaseEdits();
    game_.DeleteVariation(node);
    FollowCurrentNode();
}

void GameFlow::PromoteVariation(MOve *node)
{
    if (!CanNavigate() || !node || !game_.PromoteToMainLine(node))
        return;
    RebuildMoveList();
}

} // namespace korvana
