#pragma once
// tvector: fixed-length, bounds-checked array. A bad index never stops the
// program: it reports on stderr and hands out a scratch element.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>

/// Scratch value handed out for a bad index; specialise for element types
/// that need a particular one.
template <class T> struct tvectorScratch {
    static T make() { return T{}; }
};

/// Reports a failed allocation and ends the process, as every container does.
[[noreturn]] inline void tcontainerOutOfMemory()
{
    std::fputs("out of memory\n", stderr);
    std::exit(1);
}

/// Writes the two-line index report: "(i)/(length)" then "Out of array index".
inline void tvectorReportIndex(long long index, long long length)
{
    std::fprintf(stderr, "(%lld)/(%lld)\nOut of array index\n", index, length);
}

template <class T> class tvector {
public:
    tvector() = default;
    explicit tvector(int32_t n) { resize(n); }
    tvector(const tvector &other) { assign(other); }
    tvector &operator=(const tvector &other)
    {
        if (this != &other)
            assign(other);
        return *this;
    }
    tvector(tvector &&other) noexcept : data_(other.data_), length_(other.length_)
    {
        other.data_ = nullptr;
        other.length_ = 0;
    }
    tvector &operator=(tvector &&other) noexcept
    {
        if (this != &other) {
            delete[] data_;
            data_ = other.data_;
            length_ = other.length_;
            other.data_ = nullptr;
            other.length_ = 0;
        }
        return *this;
    }
    virtual ~tvector() { delete[] data_; }

    /// Reallocates to n fresh elements unless n is already the length.
    /// Old contents are dropped; bytes and integers are left uninitialised.
    void resize(int32_t n)
    {
        if (n == length_)
            return;
        delete[] data_;
        data_ = nullptr;
        length_ = 0;
        if (n <= 0)
            return;
        data_ = new (std::nothrow) T[n];
        if (!data_)
            tcontainerOutOfMemory();
        length_ = n;
    }

    /// Checked access: a bad index reports and yields a scratch element.
    T &element(int32_t i)
    {
        if (i >= 0 && i < length_)
            return data_[i];
        return scratch(i);
    }
    const T &element(int32_t i) const { return const_cast<tvector *>(this)->element(i); }
    T &operator[](int32_t i) { return element(i); }
    const T &operator[](int32_t i) const { return element(i); }

    /// Resize to other's length, then copy element by element.
    void assign(const tvector &other)
    {
        resize(other.length_);
        for (int32_t i = 0; i < length_; ++i)
            data_[i] = other.data_[i];
    }

    int32_t length() const { return length_; }
    /// Unchecked storage for hot loops that have already checked their range.
    T *data() { return data_; }
    const T *data() const { return data_; }

private:
    T &scratch(int32_t i)
    {
        tvectorReportIndex(i, length_);
        // One scratch slot per thread: writes through it change nothing that is kept.
        thread_local T slot;
        if constexpr (std::is_move_assignable_v<T>)
            slot = tvectorScratch<T>::make();
        return slot;
    }

    T *data_ = nullptr;
    int32_t length_ = 0;
};
