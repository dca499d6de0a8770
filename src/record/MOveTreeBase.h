#pragma once
// MOveTreeBase: the SGF tree bound to moves, with the value hooks of analysis.

#include "record/MOve.h"
#include "record/TSgfTree.h"

#include <cstdint>

namespace korvana {

class MOveTreeBase : public TSgfTree<MOve> {
public:
    /// depth limit := n.
    virtual void SetDepthLimit(int32_t n) { depthLimit_ = n; }
    /// True when the current depth has reached the depth limit.
    virtual bool DepthLimitReached() const { return depth_ >= depthLimit_; }
    /// Value of the current node.
    virtual int32_t GetValue() const { return current_->GetValue(); }
    /// Adds candidate replies below the current node; see MOveTree.
    virtual int Expand() = 0;
    /// Value of the current node := v.
    virtual void SetValue(int32_t v) = 0;
    /// The current node's MaxOfChildren.
    virtual int32_t MaxOfChildren() { return current_->MaxOfChildren(); }
    /// The current node's MinOfChildren.
    virtual int32_t MinOfChildren() { return current_->MinOfChildren(); }
    /// Re-orders the current node's children by value; 0 here.
    virtual int32_t SortChildren() { return 0; }

    int32_t depthLimit() const { return depthLimit_; }

protected:
    int32_t depthLimit_ = 0;
};

} // namespace korvana
