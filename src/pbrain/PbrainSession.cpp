#include "pbrain/PbrainSession.h"

#include "kumo98/KumoEngine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace korvana::pbrain {

namespace {

std::string upper(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string &s)
{
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    const size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// A whole decimal number within [lo, hi].
bool parseNumber(const std::string &text, int64_t lo, int64_t hi, int64_t &value)
{
    const std::string t = trim(text);
    if (t.empty() || t.size() > 18)
        return false;
    size_t i = t[0] == '-' ? 1 : 0;
    if (i == t.size() || t.find_first_not_of("0123456789", i) != std::string::npos)
        return false;
    value = std::strtoll(t.c_str(), nullptr, 10);
    return value >= lo && value <= hi;
}

} // namespace

bool PbrainSession::parsePoint(const std::string &text, int &point) const
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    int64_t x = 0, y = 0;
    if (!parseNumber(text.substr(0, comma), 0, 14, x) || !parseNumber(text.substr(comma + 1), 0, 14, y))
        return false;
    point = static_cast<int>(x + 15 * y);
    return true;
}

int PbrainSession::moveBudgetMs() const
{
    int64_t budget = timeoutTurn_ < 0 ? kumo::KumoEngine::moveTimeMs() : timeoutTurn_;
    if (timeLeft_ >= 0)
        budget = std::min<int64_t>(budget, timeLeft_ / 8);
    // Room for the reply to reach the manager in time: the search ends within a
    // few milliseconds of its budget, so a twentieth (at least 10 ms) is plenty.
    budget -= std::min<int64_t>(budget / 20 + 10, 300);
    return static_cast<int>(std::clamp<int64_t>(budget, 10, 600000));
}

void PbrainSession::reply(std::ostream &out)
{
    if (moves_.size() >= 225) {
        out << "ERROR board is full" << std::endl;
        return;
    }
    if (input_) {
        std::lock_guard<std::mutex> hold(input_->lock);
        input_->thinking = true;
        input_->thinkStart = std::chrono::steady_clock::now();
        input_->stop = input_->ended; // after END every answer is wanted at once
    }
    const int move = engine_.think(moves_, moveBudgetMs());
    if (input_) {
        std::lock_guard<std::mutex> hold(input_->lock);
        input_->thinking = false;
    }
    if (move < 0 || move >= 225 || std::find(moves_.begin(), moves_.end(), move) != moves_.end()) {
        out << "ERROR no move" << std::endl;
        return;
    }
    moves_.push_back(static_cast<uint8_t>(move));
    out << move % 15 << ',' << move / 15 << std::endl;
}

void PbrainSession::finishBoard(std::ostream &out)
{
    inBoard_ = false;
    // We move next: with equal counts we are Black, with one stone fewer White.
    const size_t own = boardOwn_.size(), other = boardOther_.size();
    const std::vector<uint8_t> *black = nullptr, *white = nullptr;
    if (own == other) {
        black = &boardOwn_;
        white = &boardOther_;
    } else if (other == own + 1) {
        black = &boardOther_;
        white = &boardOwn_;
    } else {
        out << "ERROR stone counts do not fit a side to move" << std::endl;
        moves_.clear();
        return;
    }
    moves_.clear();
    for (size_t i = 0; i < black->size(); ++i) {
        moves_.push_back((*black)[i]);
        if (i < white->size())
            moves_.push_back((*white)[i]);
    }
    reply(out);
}

bool PbrainSession::handleLine(const std::string &rawLine, std::ostream &out)
{
    const std::string line = trim(rawLine);
    if (line.empty())
        return true;
    if (inBoard_) {
        if (upper(line) == "DONE") {
            finishBoard(out);
            return true;
        }
        // x,y,field: 1 own stone, 2 the opponent's, 3 (continuous game) treated as the opponent's.
        const size_t last = line.rfind(',');
        int point = 0;
        int64_t field = 0;
        if (last == std::string::npos || !parsePoint(line.substr(0, last), point) ||
            !parseNumber(line.substr(last + 1), 1, 3, field)) {
            out << "ERROR bad BOARD line" << std::endl;
            return true;
        }
        const bool taken = std::find(boardOwn_.begin(), boardOwn_.end(), point) != boardOwn_.end() ||
                           std::find(boardOther_.begin(), boardOther_.end(), point) != boardOther_.end();
        if (taken) {
            out << "ERROR point given twice" << std::endl;
            return true;
        }
        (field == 1 ? boardOwn_ : boardOther_).push_back(static_cast<uint8_t>(point));
        return true;
    }

    const size_t space = line.find_first_of(" \t");
    const std::string command = upper(line.substr(0, space));
    const std::string args = space == std::string::npos ? std::string() : trim(line.substr(space + 1));

    if (command == "END")
        return false;
    if (command == "ABOUT") {
        out << engine_.about() << std::endl;
        return true;
    }
    if (command == "START") {
        int64_t size = 0;
        if (!parseNumber(args, 1, 1000, size) || size != 15) {
            out << "ERROR only the 15 x 15 board is supported" << std::endl;
            return true;
        }
        started_ = true;
        moves_.clear();
        out << "OK" << std::endl;
        return true;
    }
    if (command == "INFO") {
        const size_t sp = args.find_first_of(" \t");
        const std::string key = args.substr(0, sp);
        const std::string value = sp == std::string::npos ? std::string() : args.substr(sp + 1);
        int64_t v = 0;
        if (key == "timeout_turn" && parseNumber(value, 0, 100000000, v))
            timeoutTurn_ = static_cast<int>(v);
        else if (key == "timeout_match" && parseNumber(value, 0, INT64_C(100000000000), v))
            timeoutMatch_ = v;
        else if (key == "time_left" && parseNumber(value, -INT64_C(100000000000), INT64_C(100000000000), v))
            timeLeft_ = std::max<int64_t>(0, v);
        else if (key == "max_memory" && parseNumber(value, 0, INT64_C(1) << 50, v))
            engine_.setMemoryLimit(static_cast<uint64_t>(v));
        else if (key == "thread_num" && parseNumber(value, 1, 1 << 20, v))
            engine_.setThreads(static_cast<int>(v));
        else if (key == "rule" && parseNumber(value, 0, 1 << 30, v))
            renju_ = (v & 4) != 0;
        return true; // INFO gets no answer, also for keys we do not use
    }
    if (!started_) {
        if (command == "BEGIN" || command == "TURN" || command == "BOARD" || command == "RESTART" ||
            command == "TAKEBACK")
            out << "ERROR no START yet" << std::endl;
        else
            out << "UNKNOWN" << std::endl;
        return true;
    }
    if (command == "RESTART") {
        moves_.clear();
        out << "OK" << std::endl;
        return true;
    }
    if (command == "BEGIN") {
        if (!moves_.empty()) {
            out << "ERROR BEGIN on a board with stones" << std::endl;
            return true;
        }
        reply(out);
        return true;
    }
    if (command == "TURN") {
        int point = 0;
        if (!parsePoint(args, point)) {
            out << "ERROR bad coordinates" << std::endl;
            return true;
        }
        if (std::find(moves_.begin(), moves_.end(), point) != moves_.end()) {
            out << "ERROR point is taken" << std::endl;
            return true;
        }
        moves_.push_back(static_cast<uint8_t>(point));
        reply(out);
        return true;
    }
    if (command == "BOARD") {
        inBoard_ = true;
        boardOwn_.clear();
        boardOther_.clear();
        return true;
    }
    if (command == "TAKEBACK") {
        int point = 0;
        const auto at = parsePoint(args, point) ? std::find(moves_.begin(), moves_.end(), point) : moves_.end();
        if (at == moves_.end()) {
            out << "ERROR no stone there" << std::endl;
            return true;
        }
        // Taking back an earlier stone would leave a position no game reached.
        if (at + 1 != moves_.end()) {
            out << "ERROR not the last stone" << std::endl;
            return true;
        }
        moves_.erase(at);
        out << "OK" << std::endl;
        return true;
    }
    out << "UNKNOWN" << std::endl;
    return true;
}

void PbrainSession::readInput(int fd, std::shared_ptr<Input> input, std::function<void()> stuck)
{
    std::string line;
    bool tooLong = false;
    auto take = [&](std::string text) {
        const std::string command = upper(trim(text).substr(0, trim(text).find_first_of(" \t")));
        std::lock_guard<std::mutex> hold(input->lock);
        if (command == "STOP" || command == "YXSTOP") {
            if (input->thinking)
                input->stop = true;
            return; // no answer of its own: the move is the answer
        }
        if (command == "END") {
            input->ended = true;
            input->stop = true;
        }
        input->lines.push_back(std::move(text));
        input->changed.notify_all();
    };
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c != '\n') {
                if (line.size() < MaxLine)
                    line.push_back(c);
                else
                    tooLong = true;
                continue;
            }
            take(tooLong ? std::string("\x01") : std::move(line));
            line.clear();
            tooLong = false;
        }
    }
    if (!line.empty())
        take(tooLong ? std::string("\x01") : std::move(line));
    std::unique_lock<std::mutex> hold(input->lock);
    input->ended = true;
    input->stop = true;
    input->changed.notify_all();
    // The manager is gone or said END: a think that does not stop within
    // 100 ms is cut off. Queued lines are still answered; they cost no thinking.
    const auto endAt = std::chrono::steady_clock::now();
    while (!input->changed.wait_for(hold, std::chrono::milliseconds(10), [&] { return input->finished; })) {
        if (input->thinking && stuck &&
            std::chrono::steady_clock::now() - std::max(endAt, input->thinkStart) >= std::chrono::milliseconds(100)) {
            stuck();
            return;
        }
    }
}

void PbrainSession::run(int inputFd, std::ostream &out, std::function<void()> stuck)
{
    input_ = std::make_shared<Input>();
    engine_.setStopFlag(&input_->stop);
    // Detached: after END it may still wait for input that never comes.
    std::thread(readInput, inputFd, input_, std::move(stuck)).detach();
    for (;;) {
        std::string line;
        {
            std::unique_lock<std::mutex> hold(input_->lock);
            input_->changed.wait(hold, [&] { return !input_->lines.empty() || input_->ended; });
            if (input_->lines.empty())
                break;
            line = std::move(input_->lines.front());
            input_->lines.pop_front();
        }
        if (line == "\x01")
            out << "ERROR line too long" << std::endl;
        else if (!handleLine(line, out))
            break;
    }
    engine_.setStopFlag(nullptr);
    {
        std::lock_guard<std::mutex> hold(input_->lock);
        input_->finished = true;
        input_->changed.notify_all();
    }
    input_.reset();
}

} // namespace korvana::pbrain
