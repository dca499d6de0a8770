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

bool isNodeEnd(int c) { return c == ';' || c == '(' || c == ')'; }

bool isLower(int c) { return c >= 'a' && c <= 'z'; }

/// Older SGF spells identifiers out ("Black", "Comment"): only the capitals count.
int skipLowerCase(std::streambuf *in, int c)
{
    while (isLower(c))
        c = in->sbumpc();
    return c;
}

/// After "C": "[" and the value up to the first "]" not escaped by "\" are appended to
/// text, escapes resolved. Another character than "[" is consumed and nothing appended.
void readComment(std::streambuf *in, std::string &text)
{
    int c = skipLowerCase(in, in->sbumpc());
    if (c != '[')
        return;
    while ((c = in->sbumpc()) != Traits::eof() && c != ']') {
        if (c == '\\' && (c = in->sbumpc()) == Traits::eof())
            break;
        if (text.size() < MaxTextLength)
            text += static_cast<char>(c);
    }
}

/// Whether a value goes on to its "]" before any "[" (within MaxTextLength characters):
/// then a ";", "(" or ")" met inside it is text, not the end of the node. The stream is
/// left where it was; a stream that cannot go back answers false.
bool valueClosesAhead(std::streambuf *in)
{
    const auto start = in->pubseekoff(0, std::ios::cur, std::ios::in);
    if (start == std::streambuf::pos_type(std::streambuf::off_type(-1)))
        return false;
    bool closes = false;
    for (size_t n = 0; n < MaxTextLength; ++n) {
        const int c = in->sbumpc();
        if (c == Traits::eof() || c == '[')
            break;
        if (c == ']') {
            closes = true;
            break;
        }
        if (c == '\\')
            in->sbumpc();
    }
    in->pubseekpos(start, std::ios::in);
    return closes;
}

/// What a parse found besides the tree.
struct ParseState {
    bool sawNode = false; ///< a ";" was read: there is a game tree
    std::string error;    ///< why the parse failed
};

/// Whether a comment is only a number, which the value carries; anything else is kept as text.
bool isNumberText(const std::string &text)
{
    size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos)
        return false;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i > digits && text.find_first_not_of(" \t\r\n", i) == std::string::npos;
}

/// A property for a message: long values cut short.
std::string shownProperty(const std::string &property)
{
    constexpr size_t Shown = 60;
    return property.size() <= Shown ? property : property.substr(0, Shown) + "...]";
}

/// One game tree's sequence, from after its "(" (or the start of the file) up to its ")"
/// or the end of the stream. Leaves the cursor where the sequence began.
template <class N> bool parseSequence(TSgfTree<N> &tree, std::istream &stream, int level, ParseState &state)
{
    if (level > MaxNesting) {
        std::cerr << "error : variations nested too deep\n";
        state.error = "the variations are nested too deep";
        return false;
    }
    std::streambuf *in = stream.rdbuf();
    int entered = 0; // moves entered by this sequence: Back this often at its end
    while (true) {
        int c = in->sbumpc();
        if (c == Traits::eof() || c == ')')
            break;
        if (c == '(') {
            if (!parseSequence(tree, stream, level + 1, state))
                return false;
            // A collection holds several games: the first one is the record.
            if (level == 0)
                break;
            continue;
        }
        if (c == ';') {
            state.sawNode = true;
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
                            N *node = tree.current();
                            if (tree.commentMode() != 1) {
                                node->setComment(comment);
                            } else if (!isNumberText(comment)) {
                                // Someone's words on the move: kept and written back.
                                node->readValueComment(comment);
                                node->setComment(comment);
                            } else if (node->comment().empty()) {
                                // A bare number (a later node without a move may bring one)
                                // does not replace words: they are what is written, and the
                                // value must read back from them.
                                node->readValueComment(comment);
                            }
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
            if (!tree.CheckHeaderProperty()) {
                state.error = "the record is not a Renju game: " + shownProperty(tree.rootProperties().back());
                return false;
            }
            if (tree.rootProperties().size() > MaxRootProperties)
                tree.rootProperties().pop_back();
        }
    }
    for (int i = 0; i < entered; ++i)
        tree.Back();
    return true;
}

/// Writes a node's sub-tree; the root writes no node text of its own.
template <class N> void writeSubtree(const N *node, bool isRoot, int commentMode, std::string &text)
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

template <class N> bool TSgfTree<N>::ReadSgf(std::istream &in)
{
    this->Reset();
    rootProperties_.clear();
    illegalMoveReports = 0;
    ParseState state;
    BeginBulkRead();
    const bool parsed = parseSequence(*this, in, 0, state);
    EndBulkRead();
    readError_ = std::move(state.error);
    sawGameTree_ = state.sawNode;
    if (!parsed) {
        this->Reset();
        rootProperties_.clear();
        return false;
    }
    this->Rewind();
    return true;
}

template <class N> N *TSgfTree<N>::ReadMove(std::istream &stream, char colour)
{
    std::streambuf *in = stream.rdbuf();
    if (skipLowerCase(in, in->sbumpc()) != '[')
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

template <class N> bool TSgfTree<N>::ReadProperty(std::istream &stream, char first)
{
    std::streambuf *in = stream.rdbuf();
    std::string text(1, first);
    bool inValue = false;
    bool nodeEndIsText = false; // decided at the first ";", "(" or ")" inside a value
    bool decided = false;
    while (true) {
        int c = in->sbumpc();
        if (c == Traits::eof())
            return false;
        if (isNodeEnd(c)) {
            if (inValue && !decided) {
                nodeEndIsText = valueClosesAhead(in);
                decided = true;
            }
            if (!inValue || !nodeEndIsText)
                return false;
        }
        // Line breaks inside a value are dropped ("\r" too: files written on Windows).
        if (c == '\n' || c == '\r')
            continue;
        if (!inValue) {
            if (isLower(c))
                continue; // "GaMe" is GM in older SGF
            inValue = c == '[';
        } else if (c == '\\') {
            // An escaped character stays escaped in the stored text, as written.
            c = in->sbumpc();
            if (c == Traits::eof())
                return false;
            if (text.size() + 2 < MaxTextLength) {
                text += '\\';
                text += static_cast<char>(c);
            }
            continue;
        } else if (c == ']') {
            text += ']';
            // More values of the same property ("AB[aa][bb]") belong to it.
            if (in->sgetc() == '[') {
                text += static_cast<char>(in->sbumpc());
                decided = false;
                continue;
            }
            rootProperties_.push_back(std::move(text));
            return true;
        }
        if (text.size() < MaxTextLength)
            text += static_cast<char>(c);
    }
}

template <class N> void TSgfTree<N>::WriteHeader(std::string &text)
{
    // Properties from elsewhere (players, result, date...) follow the default header.
    std::vector<std::string> kept;
    for (std::string &property : rootProperties_) {
        const std::string id = property.substr(0, property.find('['));
        if (id != "GM" && id != "SZ" && id != "RU" && id != "US")
            kept.push_back(std::move(property));
    }
    SetDefaultHeader();
    rootProperties_.insert(rootProperties_.end(), kept.begin(), kept.end());
    for (const std::string &property : rootProperties_) {
        text += property;
        text += '\n';
    }
    // As a root property it reads back without line breaks: write it so, and it stays the same.
    std::string gameComment = this->root()->comment();
    std::erase_if(gameComment, [](char c) { return c == '\n' || c == '\r'; });
    if (!gameComment.empty()) {
        // "[" escaped too: a root value with "(" and then "[" would not read back whole.
        text += "C[";
        for (const char c : gameComment) {
            if (c == ']' || c == '[' || c == '\\')
                text += '\\';
            text += c;
        }
        text += "]\n";
    }
}

template <class N> void TSgfTree<N>::WriteSgf(std::ostream &out)
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
    bool inValue = false; // a break inside a text value would change the text
    bool escaped = false;
    for (const char c : text) {
        if (c == '\n')
            column = 0;
        else
            ++column;
        if (inValue) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == ']')
                inValue = false;
        } else if (c == '[') {
            inValue = true;
        } else if (column > 61 && c == ';') {
            wrapped += '\n';
            column = 0;
        }
        wrapped += c;
    }
    wrapped += '\n';
    out.write(wrapped.data(), static_cast<std::streamsize>(wrapped.size()));
    this->Rewind();
}

template <class N> int TSgfTree<N>::Load(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "error : " << fileName << "can't be read\n";
        return 0;
    }
    ReadSgf(in);
    return 1;
}

template <class N> int TSgfTree<N>::Save(const std::string &fileName)
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
