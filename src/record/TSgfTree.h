#pragma once
// TSgfTree: a tree with what an SGF record needs beyond the moves: the root
// properties (whole texts such as "GM[4]") and the comment mode.

#include "record/TOctTree.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvana {

template <class N> class TSgfTree : public TOctTree<N> {
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

    // --- SGF reading and writing (defined in TSgfTree.cpp) ---------------

    /// Reads a whole record: Reset, clear the root properties, parse. A failed parse
    /// (rejected root property, nesting too deep) leaves an empty game and answers false,
    /// with readError() saying why; otherwise Rewind (cursor at the root, every cursor on
    /// the first child) and true. Of a collection only the first game tree is read.
    virtual bool ReadSgf(std::istream &in);
    /// Writes the whole tree under the default header, lines wrapped before ";" after
    /// column 61, a final line feed; then Rewind.
    virtual void WriteSgf(std::ostream &out);
    /// After a colour letter: "[", x letter, y letter and one more character, then
    /// AddMoveLetters. "[]" (a pass elsewhere) is no move. The node entered, or null.
    virtual N *ReadMove(std::istream &in, char colour);
    /// Collects a property starting with `first` up to its "]" and appends it to the root
    /// properties; false (nothing stored) at ";", "(", ")" or the end of the stream.
    virtual bool ReadProperty(std::istream &in, char first);
    /// Root properties := the default header followed by the others as read (all but GM,
    /// SZ, RU and US); appends each and a line feed to text, then the root's comment.
    virtual void WriteHeader(std::string &text);
    /// Reads an SGF file: 1 when it could be opened, else 0 with an "error : " line.
    virtual int Load(const std::string &fileName);
    /// Saves as SGF through a temporary file beside the target: 1, or 0 with an "error : " line.
    virtual int Save(const std::string &fileName);

    /// Root properties in reading order, each a whole property ("RU[Renju 1998]").
    std::vector<std::string> &rootProperties() { return rootProperties_; }
    const std::vector<std::string> &rootProperties() const { return rootProperties_; }
    /// 1: a move's C property carries its value; otherwise its comment text. Always 1 here.
    int commentMode() const { return commentMode_; }
    /// Why the last ReadSgf failed ("" when it did not).
    const std::string &readError() const { return readError_; }
    /// Whether the last ReadSgf met a node at all; text without one holds no game.
    bool sawGameTree() const { return sawGameTree_; }

protected:
    /// Around the parse of a whole record: a document may skip work that the
    /// final Rewind makes unnecessary (judging every node as it is read).
    virtual void BeginBulkRead() {}
    virtual void EndBulkRead() {}

    std::vector<std::string> rootProperties_;
    int commentMode_ = 1;
    std::string readError_;
    bool sawGameTree_ = false;
};

} // namespace korvana
