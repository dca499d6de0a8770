#pragma once
// TSgfTree: a tree with what an SGF record needs beyond the moves: the root
// properties (whole texts such as "GM[4]") and the comment mode.

#include "record/TOctTree.h"

#include <string>
#include <vector>

namespace korvana {

template <class N>
class TSgfTree : public TOctTree<N> {
public:
    /// Replaces the root properties by the document's default header.
    virtual void SetDefaultHeader() = 0;
    /// Accepts (true) or rejects the last root property read; true when there is none.
    virtual bool CheckHeaderProperty() = 0;
    /// Plays or re-enters the move (x, y, colour) from the current node; the node, or null
    /// when the move is refused (nothing changes then).
    virtual N *AddMove(int x, int y, char colour) = 0;
    /// AddMove(x letter - 'a', y letter - 'a', colour).
    virtual N *AddMoveLetters(char xLetter, char yLetter, char colour)
    {
        return AddMove(xLetter - 'a', yLetter - 'a', colour);
    }

    /// Root properties in reading order, each a whole property ("RU[Renju 1998]").
    std::vector<std::string> &rootProperties() { return rootProperties_; }
    const std::vector<std::string> &rootProperties() const { return rootProperties_; }
    /// 1: a move's C property carries its value; otherwise its comment text. Always 1 here.
    int commentMode() const { return commentMode_; }

protected:
    std::vector<std::string> rootProperties_;
    int commentMode_ = 1;
};

} // namespace korvana
