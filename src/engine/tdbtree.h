#pragma once
// tdbtree: a binary heap kept as a complete binary tree of linked nodes.
// The search's move order depends on how equal values move through it, so
// insert, remove-top and replace-top follow fixed steps (see tdbtree_max).

#include "board/tvector.h"

#include <cstdint>
#include <new>
#include <utility>

template <class T> class tdbtree {
public:
    struct Node {
        Node *parent = nullptr;
        Node *left = nullptr;
        Node *right = nullptr;
        T item{};
    };

    tdbtree() = default;
    tdbtree(const tdbtree &) = delete;
    tdbtree &operator=(const tdbtree &) = delete;

    /// Moves node's item down until the heap order holds below it.
    virtual void siftDown(Node *node) = 0;
    /// Moves node's item up until the heap order holds above it.
    virtual void siftUp(Node *node) = 0;
    virtual ~tdbtree() { clear(); }

    /// Adds the item at the next free place in level order, then sifts it up.
    virtual void insert(const T &item)
    {
        Node *node = newNode();
        node->item = item;
        const int32_t position = count_ + 1;
        if (position == 1) {
            root_ = node;
        } else {
            Node *parent = nodeAt(position / 2);
            node->parent = parent;
            (position & 1 ? parent->right : parent->left) = node;
        }
        count_ = position;
        siftUp(node);
    }

    /// The top takes `item` and sifts down. Requires a non-empty heap.
    virtual void replaceTop(const T &item)
    {
        if (!root_)
            return;
        root_->item = item;
        siftDown(root_);
    }

    /// Takes the top away; the last node's item replaces it and sifts down.
    /// Requires a non-empty heap (an empty one answers T{}).
    virtual T removeTop()
    {
        if (!root_)
            return T{};
        T top = root_->item;
        if (count_ == 1) {
            freeNode(root_);
            root_ = nullptr;
            count_ = 0;
            return top;
        }
        Node *last = nodeAt(count_);
        root_->item = last->item;
        (last->parent->right == last ? last->parent->right : last->parent->left) = nullptr;
        freeNode(last);
        --count_;
        siftDown(root_);
        return top;
    }

    int32_t count() const { return count_; }
    bool empty() const { return count_ == 0; }
    /// The top item. Requires a non-empty heap.
    const T &top() const { return root_->item; }

    /// Drops every node.
    void clear()
    {
        while (count_ > 0) {
            Node *last = nodeAt(count_);
            if (last->parent)
                (last->parent->right == last ? last->parent->right : last->parent->left) = nullptr;
            freeNode(last);
            --count_;
        }
        root_ = nullptr;
        while (spare_) {
            Node *n = spare_;
            spare_ = n->parent;
            delete n;
        }
    }

protected:
    /// Node at a 1-based level-order position: the bits below the leading one
    /// spell the way down (0 left, 1 right).
    Node *nodeAt(int32_t position) const
    {
        int bit = 30;
        while (bit >= 0 && !(position & (int32_t{1} << bit)))
            --bit;
        Node *node = root_;
        for (--bit; bit >= 0; --bit)
            node = (position & (int32_t{1} << bit)) ? node->right : node->left;
        return node;
    }

    Node *root_ = nullptr;
    int32_t count_ = 0;

private:
    // Removed nodes are kept for reuse: a heap is filled and emptied per node
    // of the search, and the allocator would otherwise dominate.
    Node *newNode()
    {
        Node *n = spare_;
        if (n) {
            spare_ = n->parent;
            *n = Node{};
            return n;
        }
        n = new (std::nothrow) Node;
        if (!n)
            tcontainerOutOfMemory();
        return n;
    }
    void freeNode(Node *n)
    {
        n->parent = spare_;
        spare_ = n;
    }

    Node *spare_ = nullptr;
};

/// Max-heap on T::value. On ties the item moving up stops (insert), and the
/// right child is preferred when it is not lower than the left (sift down).
template <class T> class tdbtree_max : public tdbtree<T> {
public:
    using Node = typename tdbtree<T>::Node;

    void siftDown(Node *node) override
    {
        while (node) {
            Node *child = node->left;
            if (node->right && !(node->right->item.value < node->left->item.value))
                child = node->right;
            if (!child || !(node->item.value < child->item.value))
                return;
            std::swap(node->item, child->item);
            node = child;
        }
    }

    void siftUp(Node *node) override
    {
        while (node->parent && node->parent->item.value < node->item.value) {
            std::swap(node->item, node->parent->item);
            node = node->parent;
        }
    }

    ~tdbtree_max() override = default;
};
