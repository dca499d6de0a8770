#pragma once
// EngineProcess: one Gomocup engine run as a child process, spoken to through
// pipes on its standard input and output.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvana::match {

class EngineProcess {
public:
    /// Starts `argv` (program and arguments); check running().
    explicit EngineProcess(const std::vector<std::string> &argv);
    EngineProcess(const EngineProcess &) = delete;
    EngineProcess &operator=(const EngineProcess &) = delete;
    /// Sends END, then kills the child if it has not left.
    ~EngineProcess();

    bool running() const { return pid_ > 0; }
    /// True once the engine has closed its output (it left or crashed).
    bool closed() const { return closed_; }
    /// Writes one line; false when the engine is gone.
    bool send(const std::string &line);
    /// Next line from the engine, without its newline. False when none came
    /// before the timeout or the engine closed its output. Lines are cut at 4096 bytes.
    bool readLine(std::string &line, std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    bool closed_ = false;
};

} // namespace korvana::match
