// The SGF reader and writer of TSgfTree. Reading is character by character on the
// stream's buffer: blanks and line breaks are characters like any other and are
// ignored wherever the grammar has no use for them.

#include "record/TSgfTree.h"

#include "log/SafeFileWriter.h"
#include "record/MOve.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>

namespace korvana {

namespace {

using Traits = std::char_traits<char>;

/// Deepest "(" nesting read. No game of 225 moves needs more; deeper input would only cost stack.
constexpr int MaxNesting = 256;
/// Longest property or comment text kept; the rest of a longer value is read and dropped.
/// Only the start of a root property and the leading number of a comment are ever used.
constexpr size_t MaxTextLength = 4096;
/// Root properties kept; later ones are still checked, then dropped (the writer replaces
/// them by the default header anyway).
constexpr size_t MaxRootProperties = 1000;
/// "error : Illegal move" lines per record read; a file of millions of bad moves
/// would otherwise spend its time writing them.
constexpr int MaxIllegalMoveReports = 100;

thread_local int illegalMoveReports = 0;

void reportIllegalMove()
{
    if (++illegalMoveReports <= MaxIllegalMoveReports)
        std::cerr << "error : Illegal move\n";
    else if (illegalMoveReports == MaxIllegalMoveReports + 1)
        std::cerr << "error : further illegal moves not reported\n";
}

bool isNodeEnd(int c)
{
    return c == ';' || c == '(' || c == ')';
}

/// After "C": "[" and the value up to "]" are appended to text. Another character
/// than "[" is consumed and nothing appended.
void readComment(std::streambuf *in, std::string &text)
{
    int c = in->sbumpc();
    if (c != '[')
        return;
    while ((c = in->sbumpc()) != Traits::eof() && c != ']') {
        if (text.size() < MaxTextLength)
            text += static_cast<char>(c);
    }
}

/// One game tree's sequence, from after its "(" (or the start of the file) up to its ")"
/// or the end of the stream. Leaves the cursor where the sequence began.
template <class N>
bool parseSequence(TSgfTree<N> &tree, std::istream &stream, int level)
{
    if (level > MaxNesting) {
        std::cerr << "error : variations nested too deep\n";
        return false;
    }
    std::streambuf *in = stream.rdbuf();
    int entered = 0; // moves entered by this sequence: Back this often at its end
    while (true) {
        int c = in->sbumpc();
        if (c == Traits::eof() || c == ')')
            break;
        if (c == '(') {
            if (!parseSequence(tree, stream, level + 1))
                return false;
            continue;
        }
        if (c == ';') {
            c = in->sbumpc();
            if (c == Traits::eof())
                break;
            if (isNodeEnd(c)) {
                // An empty node: what follows still belongs to the tree's structure.
                in->sungetc();
                continue;
            }
            if (c == 'B' || c == 'W' || c == 'C') {
                std::string comment;
                while (c != Traits::eof()) {
                    if (c == 'B' || c == 'W') {
                        if (tree.ReadMove(stream, static_cast<char>(c)))
                            ++entered;
                    } else if (c == 'C') {
                        readComment(in, comment);
                    } else if (isNodeEnd(c)) {
                        if (!comment.empty()) {
                            if (tree.commentMode() == 1)
                                tree.current()->readValueComment(comment);
                            else
                                tree.current()->setComment(comment);
                        }
                        in->sungetc();
                        break;
                    }
                    c = in->sbumpc();
                }
                continue;
            }
        }
        if (c >= 'A' && c <= 'Z' && tree.ReadProperty(stream, static_cast<char>(c))) {
            if (!tree.CheckHeaderProperty())
                return false;
            if (tree.rootProperties().size() > MaxRootProperties)
                tree.rootProperties().pop_back();
        }
    }
    for (int i = 0; i < entered; ++i)
        tree.Back();
    return true;
}

/// Writes a node's sub-tree; the root writes no node text of its own.
template <class N>
void writeSubtree(const N *node, bool isRoot, int commentMode, std::string &text)
{
    if (!isRoot)
        node->writeSgfNode(text, commentMode);
    const auto &kids = node->children();
    if (kids.empty()) {
        text += ')';
    } else if (kids.size() == 1) {
        writeSubtree(kids.front(), false, commentMode, text);
    } else {
        for (const N *kid : kids) {
            text += '(';
            writeSubtree(kid, false, commentMode, text);
        }
        if (!isRoot)
            text += ')';
    }
}

} // namespace

template <class N>
bool TSgfTree<N>::ReadSgf(std::istream &in)
{
    this->Reset();
    rootProperties_.clear();
    illegalMoveReports = 0;
    BeginBulkRead();
    const bool parsed = parseSequence(*this, in, 0);
    EndBulkRead();
    if (!parsed) {
        this->Reset();
        rootProperties_.clear();
        return false;
    }
    this->Rewind();
    return true;
}

template <class N>
N *TSgfTree<N>::ReadMove(std::istream &stream, char colour)
{
    std::streambuf *in = stream.rdbuf();
    if (in->sbumpc() != '[')
        return nullptr;
    const int x = in->sbumpc();
    // "[]" is a pass in other programs' files: no move, and the next node stays intact.
    if (x == Traits::eof() || x == ']')
        return nullptr;
    const int y = in->sbumpc();
    if (y == Traits::eof())
        return nullptr;
    if (y == ']') {
        reportIllegalMove();
        return nullptr;
    }
    in->sbumpc(); // the closing "]", not checked
    N *node = AddMoveLetters(static_cast<char>(x), static_cast<char>(y), colour);
    if (!node)
        reportIllegalMove();
    return node;
}

template <class N>
bool TSgfTree<N>::ReadProperty(std::istream &stream, char first)
{
    std::streambuf *in = stream.rdbuf();
    std::string text(1, first);
    while (true) {
        const int c = in->sbumpc();
        if (c == Traits::eof() || isNodeEnd(c))
            return false;
        // Line breaks inside a value are dropped ("\r" too: files written on Windows).
        if (c == '\n' || c == '\r')
            continue;
        if (c == ']') {
            text += ']';
            rootProperties_.push_back(std::move(text));
            return true;
        }
        if (text.size() < MaxTextLength)
            text += static_cast<char>(c);
    }
}

template <class N>
void TSgfTree<N>::WriteHeader(std::string &text)
{
    SetDefaultHeader();
    for (const std::string &property : rootProperties_) {
        text += property;
        text += '\n';
    }
}

template <class N>
void TSgfTree<N>::WriteSgf(std::ostream &out)
{
    std::string text = "(;";
    WriteHeader(text);
    this->Rewind();
    writeSubtree<N>(this->root(), true, commentMode_, text);
    if (this->root()->childCount() >= 2)
        text += ')';

    std::string wrapped;
    wrapped.reserve(text.size() + text.size() / 60 + 2);
    int column = 0;
    for (const char c : text) {
        if (c == '\n')
            column = 0;
        else
            ++column;
        if (column > 61 && c == ';') {
            wrapped += '\n';
            column = 0;
        }
        wrapped += c;
    }
    wrapped += '\n';
    out.write(wrapped.data(), static_cast<std::streamsize>(wrapped.size()));
    this->Rewind();
}

template <class N>
int TSgfTree<N>::Load(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "error : " << fileName << "can't be read\n";
        return 0;
    }
    ReadSgf(in);
    return 1;
}

template <class N>
int TSgfTree<N>::Save(const std::string &fileName)
{
    SafeFileWriter file(fileName);
    if (!file.open()) {
        std::cerr << "error : " << fileName << "can't be write\n";
        return 0;
    }
    this->Snapshot();
    std::ostringstream text;
    WriteSgf(text);
    this->ReplaySnapshot();
    if (!file.write(text.view()) || !file.commit()) {
        std::cerr << "error : " << fileName << "can't be write\n";
        return 0;
    }
    return 1;
}

template class TSgfTree<MOve>;

} // namespace korvana
