#pragma once
// PbrainSession: the Gomocup (Piskvork) protocol on text lines. Each input
// line goes to handleLine, which writes the replies; the board is 15 x 15.

#include "pbrain/PbrainEngine.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace korvana::pbrain {

class PbrainSession {
public:
    /// Drives `engine`, which is borrowed.
    explicit PbrainSession(PbrainEngine &engine) : engine_(engine) {}

    /// Handles one line of input (without its newline); false after END.
    bool handleLine(const std::string &line, std::ostream &out);

    /// Longest protocol line; the rest of a longer one is dropped.
    static constexpr size_t MaxLine = 4096;
    /// Runs the protocol on the file descriptor until END or its end. The
    /// input is read on a thread of its own, so STOP and YXSTOP make a
    /// running think answer at once, and END or the end of input stop it too.
    /// When a think goes on 100 ms after END or the end of input (or after
    /// its start, when it started later), `stuck` is called (the program exits there).
    void run(int inputFd, std::ostream &out, std::function<void()> stuck = {});

    /// The move budget for the next move, from the INFO values.
    int moveBudgetMs() const;
    /// Stones in playing order (Black first).
    const std::vector<uint8_t> &moves() const { return moves_; }
    /// True when the INFO rule asked for Renju.
    bool renju() const { return renju_; }

private:
    /// What the reading thread and the session share; the reader may outlive the session.
    struct Input {
        std::mutex lock;
        std::condition_variable changed;
        std::deque<std::string> lines;
        bool ended = false;    ///< END seen or input at its end: nothing more to handle after the queue
        bool thinking = false; ///< a think is running
        std::chrono::steady_clock::time_point thinkStart; ///< of the running think
        bool finished = false;                            ///< run() returned
        std::atomic<bool> stop{false};
    };
    static void readInput(int fd, std::shared_ptr<Input> input, std::function<void()> stuck);

    void reply(std::ostream &out);
    void finishBoard(std::ostream &out);
    bool parsePoint(const std::string &text, int &point) const;

    PbrainEngine &engine_;
    bool started_ = false;
    bool inBoard_ = false;
    std::vector<uint8_t> moves_;
    std::vector<uint8_t> boardOwn_, boardOther_; ///< BOARD stones by side, in the order given
    int timeoutTurn_ = -1;                       ///< ms; -1 when not given
    int64_t timeLeft_ = -1;                      ///< ms; -1 when not given
    int64_t timeoutMatch_ = -1;
    bool renju_ = false;
    std::shared_ptr<Input> input_; ///< while run() runs
};

} // namespace korvana::pbrain
