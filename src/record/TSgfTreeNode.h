#pragma once
// TSgfTreeNode: a tree node as the SGF reader and writer see it: a comment text,
// the letters of its move, and how its comment carries a value.

#include "record/TOctTreeNode.h"

#include <string>

namespace korvana {

/// Appends text as an SGF value: a backslash before "]" and before a backslash.
inline void appendSgfText(std::string &out, const std::string &text)
{
    for (const char c : text) {
        if (c == ']' || c == '\\')
            out += '\\';
        out += c;
    }
}

template <class N> class TSgfTreeNode : public TOctTreeNode<N> {
public:
    /// Appends the node's own text: ";", colour letter, "[", x letter, y letter, "]", then
    /// "C[" comment "]" when there is a comment (escaped), otherwise in comment mode 1 the
    /// value as a comment. The root writes no node text; the caller leaves it out.
    virtual void writeSgfNode(std::string &out, int commentMode) const
    {
        out += ';';
        out += colourLetter();
        out += '[';
        out += xLetter();
        out += yLetter();
        out += ']';
        if (!comment_.empty()) {
            out += "C[";
            appendSgfText(out, comment_);
            out += ']';
        } else if (commentMode == 1) {
            writeValueComment(out);
        }
    }
    /// Appends the node's value as a C property; nodes without a value write nothing.
    virtual void writeValueComment(std::string &) const {}
    /// Takes the node's value from a C property's text; nodes without a value ignore it.
    virtual void readValueComment(const std::string &) {}
    /// 'B' or 'W'.
    virtual char colourLetter() const = 0;
    /// 'a' + x.
    virtual char xLetter() const = 0;
    /// 'a' + y.
    virtual char yLetter() const = 0;

    /// Free comment text: in comment mode 1 a comment that is not a number, kept beside the value.
    const std::string &comment() const { return comment_; }
    void setComment(std::string text) { comment_ = std::move(text); }

private:
    std::string comment_;
};

} // namespace korvana
