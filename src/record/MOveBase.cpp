#include "record/MOveBase.h"

#include "record/MOve.h"

#include <climits>

namespace korvana {

int32_t leadingInteger(const std::string &text, size_t from)
{
    size_t i = from;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT32_MAX) + 1)
            v = static_cast<long long>(INT32_MAX) + 1; // saturate: long digit strings stay bounded
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        v = INT32_MAX;
    return static_cast<int32_t>(v);
}

void MOveBase::writeValueComment(std::string &out) const
{
    out += "C[";
    out += std::to_string(value_);
    out += ']';
}

void MOveBase::readValueComment(const std::string &text) { value_ = leadingInteger(text); }

int32_t MOveBase::extremeOfChildren(bool largest)
{
    const MoveList &kids = children();
    if (kids.empty())
        return NoValue;
    int32_t v = kids.front()->GetValue();
    for (const MOve *child : kids) {
        const int32_t c = child->GetValue();
        if (c != NoValue && (largest ? c > v : c < v))
            v = c;
    }
    value_ = v;
    return v;
}

int32_t MOveBase::MaxOfChildren() { return extremeOfChildren(true); }

int32_t MOveBase::MinOfChildren() { return extremeOfChildren(false); }

} // namespace korvana
