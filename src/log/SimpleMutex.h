#pragma once
// SimpleMutex: the one lock that guards error.log. Every ErrorLog in the
// process shares it, so entries from any thread never interleave.

#include <mutex>

namespace korvana {

class SimpleMutex {
public:
    SimpleMutex() = default;
    SimpleMutex(const SimpleMutex &) = delete;
    SimpleMutex &operator=(const SimpleMutex &) = delete;

    /// Waits without time limit.
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

    /// The process-wide instance, made on first use and gone at exit.
    static SimpleMutex &process();

private:
    std::mutex mutex_;
};

} // namespace korvana
