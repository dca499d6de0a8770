#pragma once
// TOctTree: an ordered tree with a cursor (the current node). Cursor moves are
// virtual so that a document can keep something else (a board) in step with them.

#include "record/TOctTreeNode.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvana {

template <class N> class TOctTree {
public:
    using MoveList = typename TOctTreeNode<N>::MoveList;

    /// A tree holding only a root, which is current.
    TOctTree() : root_(new N()), current_(root_) {}
    TOctTree(const TOctTree &) = delete;
    TOctTree &operator=(const TOctTree &) = delete;
    /// Destroys every node.
    virtual ~TOctTree() { delete root_; }

    /// Remembers the current position (nothing here; the document keeps its history).
    virtual void Snapshot() {}
    /// Returns to the remembered position (nothing here).
    virtual void ReplaySnapshot() {}

    /// Appends `node` (owned from now on) as the last child of the current node, puts the
    /// current node's cursor on it and makes it current. Null is ignored. Returns node.
    virtual N *AddChild(N *node)
    {
        if (!node)
            return nullptr;
        current_->appendChild(node);
        ++structureChanges_;
        current_ = node;
        ++depth_;
        return node;
    }

    /// Destroys the whole tree and starts again from a new root.
    virtual void Reset()
    {
        delete root_;
        root_ = new N();
        current_ = root_;
        depth_ = 0;
        ++structureChanges_;
        ++removals_;
    }

    /// Destroys every child of the current node; its cursor becomes NoChild.
    virtual void DeleteChildren()
    {
        current_->destroyChildren();
        ++structureChanges_;
        ++removals_;
    }

    /// Current node := root; depth 0.
    virtual void GotoRoot()
    {
        current_ = root_;
        depth_ = 0;
    }

    /// GotoRoot, then every node's cursor on its first child, so that Forward follows the main line.
    virtual void Rewind()
    {
        GotoRoot();
        std::vector<N *> pending{root_};
        while (!pending.empty()) {
            N *node = pending.back();
            pending.pop_back();
            node->cursor_ = node->childCount() > 0 ? 0 : TOctTreeNode<N>::NoChild;
            pending.insert(pending.end(), node->children_.begin(), node->children_.end());
        }
    }

    /// Enters the child under the current node's cursor: 1, or 0 when there is none.
    virtual int Forward()
    {
        N *next = current_->cursorChild();
        if (!next)
            return 0;
        current_ = next;
        ++depth_;
        return 1;
    }

    /// Goes to the parent: 1, or 0 at the root.
    virtual int Back()
    {
        N *up = current_->parent();
        if (!up)
            return 0;
        current_ = up;
        --depth_;
        return 1;
    }

    /// Back, cursor one child on (wrapping to the first), Forward.
    /// 1, or 0 when the cursor wrapped or Back failed.
    virtual int NextVariation() { return stepVariation(+1); }
    /// Back, cursor one child back (wrapping to the last), Forward.
    /// 1, or 0 when the cursor wrapped or Back failed.
    virtual int PrevVariation() { return stepVariation(-1); }
    /// Back, cursor on the first child, Forward; Forward's answer (0 when Back failed).
    virtual int FirstVariation() { return jumpVariation(false); }
    /// Back, cursor on the last child, Forward; Forward's answer (0 when Back failed).
    virtual int LastVariation() { return jumpVariation(true); }

    /// Walks from the current node to `node` by Back and Forward (so a document keeps its
    /// board in step) and leaves every cursor on its path pointing towards it. False, with
    /// nothing changed, when `node` is not in this tree.
    bool GotoNode(N *node)
    {
        std::vector<N *> path; // node, its parent, ..., the root
        for (N *n = node; n; n = n->parent())
            path.push_back(n);
        if (path.empty() || path.back() != root_)
            return false;
        while (std::find(path.begin(), path.end(), current_) == path.end())
            if (!Back())
                return false;
        auto at = std::find(path.begin(), path.end(), current_);
        while (at != path.begin()) {
            N *next = *(at - 1);
            setCursorOf(current_, indexOfChild(current_, next));
            if (!Forward())
                return false;
            --at;
        }
        return true;
    }

    /// Makes the line through `node` the main line: `node`, and each of its ancestors in
    /// turn, becomes the first child of its parent; the others keep their order and every
    /// cursor keeps its child. False when `node` is not in this tree.
    bool PromoteToMainLine(N *node)
    {
        if (!Contains(node))
            return false;
        for (N *n = node; n->parent(); n = n->parent()) {
            N *up = n->parent();
            MoveList &kids = up->children_;
            const int32_t i = indexOfChild(up, n);
            const int32_t cursor = up->cursor_;
            std::rotate(kids.begin(), kids.begin() + i, kids.begin() + i + 1);
            if (cursor == i)
                up->cursor_ = 0;
            else if (cursor < i)
                up->cursor_ = cursor + 1;
        }
        ++structureChanges_;
        return true;
    }

    /// Unlinks `node` from its parent and destroys it with everything below it. The parent's
    /// cursor keeps its child, or goes to the first remaining one when it pointed at `node`.
    /// The current node must lie outside the subtree (a document walks out first). False, with
    /// nothing changed, for the root, a node of another tree or a subtree holding the current node.
    bool DeleteSubtree(N *node)
    {
        if (!node || node == root_ || !Contains(node) || IsInSubtree(current_, node))
            return false;
        N *up = node->parent();
        const int32_t i = indexOfChild(up, node);
        up->children_.erase(up->children_.begin() + i);
        if (up->cursor_ == i)
            up->cursor_ = up->childCount() > 0 ? 0 : TOctTreeNode<N>::NoChild;
        else if (up->cursor_ > i)
            --up->cursor_;
        delete node;
        ++structureChanges_;
        ++removals_;
        return true;
    }

    /// True when `node` is this tree's root or lies below it.
    bool Contains(const N *node) const { return node && IsInSubtree(node, root_); }
    /// True when `node` is `top` or lies below it.
    static bool IsInSubtree(const N *node, const N *top)
    {
        for (const N *n = node; n; n = n->parent())
            if (n == top)
                return true;
        return false;
    }
    /// True when `node` lies on the main line (every node on its path is a first child).
    static bool IsOnMainLine(const N *node)
    {
        for (const N *n = node; n && n->parent(); n = n->parent())
            if (n->parent()->child(0) != n)
                return false;
        return true;
    }

    /// Counts changes of any node's children (added, removed, re-ordered): a view of the
    /// tree compares it to know whether its rows are still right.
    uint64_t structureChanges() const { return structureChanges_; }
    /// Counts removals of nodes: a view holding node pointers must drop them when it moved.
    uint64_t removals() const { return removals_; }

    N *root() const { return root_; }
    N *current() const { return current_; }
    /// Depth of the current node (0 at the root).
    int32_t depth() const { return depth_; }

protected:
    /// Children of a node for re-ordering; the caller keeps them all (owned by the node).
    MoveList &childrenOf(N *node)
    {
        ++structureChanges_;
        return node->children_;
    }
    /// The nodes were exchanged for another tree's: views must drop every node they hold.
    void countReplacement()
    {
        ++structureChanges_;
        ++removals_;
    }
    /// Sets a node's child cursor; out of range means NoChild.
    static void setCursorOf(N *node, int32_t index)
    {
        node->cursor_ = index >= 0 && index < node->childCount() ? index : TOctTreeNode<N>::NoChild;
    }

    N *root_;
    N *current_;
    int32_t depth_ = 0;

private:
    uint64_t structureChanges_ = 0;
    uint64_t removals_ = 0;

    static int32_t indexOfChild(const N *parent, const N *child)
    {
        const MoveList &kids = parent->children_;
        return static_cast<int32_t>(std::find(kids.begin(), kids.end(), child) - kids.begin());
    }

    int stepVariation(int step)
    {
        if (!Back())
            return 0;
        const int n = current_->childCount();
        int i = current_->cursorIndex() + step;
        bool wrapped = false;
        if (i >= n) {
            i = 0;
            wrapped = true;
        } else if (i < 0) {
            i = n - 1;
            wrapped = true;
        }
        setCursorOf(current_, i);
        const int entered = Forward();
        return wrapped ? 0 : entered;
    }

    int jumpVariation(bool last)
    {
        if (!Back())
            return 0;
        setCursorOf(current_, last ? current_->childCount() - 1 : 0);
        return Forward();
    }
};

} // namespace korvana
