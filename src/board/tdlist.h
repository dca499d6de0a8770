#pragma once
// tdlist: doubly linked list with a sentinel and a cursor. New elements go to
// the front; the cursor walk starts at the back, so elements come out oldest
// first.

#include <cstdint>
#include <utility>

template <class T> struct tdlink {
    tdlink *prev = nullptr; ///< towards the front (newer elements)
    tdlink *next = nullptr; ///< towards the back (older elements)
    T element{};
};

template <class T> class tdlist {
public:
    tdlist() { sentinel_.prev = sentinel_.next = &sentinel_; }
    tdlist(const tdlist &) = delete;
    tdlist &operator=(const tdlist &) = delete;
    virtual ~tdlist() { clear(); }

    /// Puts a copy of the element at the front.
    T &insert(T element)
    {
        auto *link = new tdlink<T>;
        link->element = std::move(element);
        link->prev = &sentinel_;
        link->next = sentinel_.next;
        sentinel_.next->prev = link;
        sentinel_.next = link;
        ++count_;
        return link->element;
    }

    /// Cursor back to the sentinel; the next step gives the oldest element.
    void reset() { cursor_ = &sentinel_; }

    /// Steps one element towards the front; false (and reset) after the newest.
    bool next()
    {
        cursor_ = (cursor_ == &sentinel_) ? sentinel_.prev : cursor_->prev;
        return cursor_ != &sentinel_;
    }

    /// Element under the cursor. Requires a successful next().
    T &current() { return cursor_->element; }

    /// Removes the element under the cursor; the walk goes on with the next newer one.
    void removeAtCursor()
    {
        if (cursor_ == &sentinel_)
            return;
        tdlink<T> *gone = cursor_;
        cursor_ = gone->next; // the one visited before, so next() continues the walk
        unlink(gone);
    }

    /// Destroys every link.
    void clear()
    {
        tdlink<T> *link = sentinel_.next;
        while (link != &sentinel_) {
            tdlink<T> *after = link->next;
            delete link;
            link = after;
        }
        sentinel_.prev = sentinel_.next = &sentinel_;
        cursor_ = &sentinel_;
        count_ = 0;
    }

    int32_t count() const { return count_; }

    /// Calls f(element) oldest first; f returns false to stop early.
    template <class F> void forEachOldestFirst(F &&f)
    {
        for (tdlink<T> *link = sentinel_.prev; link != &sentinel_; link = link->prev)
            if (!f(link->element))
                return;
    }

private:
    void unlink(tdlink<T> *link)
    {
        link->prev->next = link->next;
        link->next->prev = link->prev;
        delete link;
        --count_;
    }

    tdlink<T> sentinel_;
    tdlink<T> *cursor_ = &sentinel_;
    int32_t count_ = 0;
};
