#pragma once
// MOveBase: a tree node with an integer value for analysis. -20000 means "no value".

#include "record/TSgfTreeNode.h"

#include <cstdint>
#include <string>

namespace korvana {

class MOve;

/// The value of a node that has not been evaluated.
inline constexpr int32_t NoValue = -20000;

class MOveBase : public TSgfTreeNode<MOve> {
public:
    /// Appends "C[" value "]".
    void writeValueComment(std::string &out) const override;
    /// value := the decimal integer at the start of text (0 when there is none).
    void readValueComment(const std::string &text) override;

    /// The node's value; NoValue until set.
    virtual int32_t GetValue() const { return value_; }
    /// value := the largest child value other than NoValue, starting from the first child's
    /// value (so NoValue when every child has NoValue); returns it. NoValue, value unchanged,
    /// when there are no children.
    virtual int32_t MaxOfChildren();
    /// The same with the smallest value.
    virtual int32_t MinOfChildren();

    void setValue(int32_t value) { value_ = value; }

private:
    int32_t extremeOfChildren(bool largest);

    int32_t value_ = NoValue;
};

/// atoi-like: leading blanks, a sign and digits; 0 when there are none; saturates at the int32 range.
int32_t leadingInteger(const std::string &text, size_t from = 0);

} // namespace korvana
