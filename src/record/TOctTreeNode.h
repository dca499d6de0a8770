#pragma once
// TOctTreeNode: a node of an ordered tree. Owns its children, knows its parent,
// and remembers which child Forward enters (the child cursor).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvana {

template <class N> class TOctTree;

template <class N> class TOctTreeNode {
public:
    /// The continuations in insertion order; owned.
    using MoveList = std::vector<N *>;
    /// Child cursor value when there is no child to enter.
    static constexpr int32_t NoChild = -1;

    TOctTreeNode() = default;
    TOctTreeNode(const TOctTreeNode &) = delete;
    TOctTreeNode &operator=(const TOctTreeNode &) = delete;
    /// Destroys the whole subtree (without recursion, so any depth is safe).
    virtual ~TOctTreeNode() { destroyChildren(); }

    const MoveList &children() const { return children_; }
    int childCount() const { return static_cast<int>(children_.size()); }
    /// Child i, or null when out of range.
    N *child(int i) const { return i >= 0 && i < childCount() ? children_[static_cast<size_t>(i)] : nullptr; }
    /// Null for the root.
    N *parent() const { return parent_; }
    /// Index of the child Forward enters; NoChild when there are no children.
    int32_t cursorIndex() const { return cursor_; }
    /// The child Forward enters, or null.
    N *cursorChild() const { return child(cursor_); }

private:
    template <class> friend class TOctTree;

    void appendChild(N *node)
    {
        static_cast<TOctTreeNode *>(node)->parent_ = static_cast<N *>(this);
        children_.push_back(node);
        cursor_ = childCount() - 1;
    }

    void destroyChildren()
    {
        MoveList pending;
        pending.swap(children_);
        cursor_ = NoChild;
        while (!pending.empty()) {
            N *node = pending.back();
            pending.pop_back();
            MoveList &grand = static_cast<TOctTreeNode *>(node)->children_;
            pending.insert(pending.end(), grand.begin(), grand.end());
            grand.clear();
            delete node;
        }
    }

    MoveList children_;
    N *parent_ = nullptr;
    int32_t cursor_ = NoChild;
};

} // namespace korvana
