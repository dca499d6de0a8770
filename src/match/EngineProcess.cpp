#include "match/EngineProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace korvana::match {

namespace {
constexpr size_t MaxLine = 4096;
}

EngineProcess::EngineProcess(const std::vector<std::string> &argv)
{
    if (argv.empty())
        return;
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // A group of its own, so that a wrapper script's children go with it.
        setpgid(0, 0);
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    if (pid < 0) {
        close(in[1]);
        close(out[0]);
        return;
    }
    setpgid(pid, pid); // also here: the child may not have run yet when it must be killed
    pid_ = pid;
    toChild_ = in[1];
    fromChild_ = out[0];
    // A dead engine must not kill the referee through SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
}

EngineProcess::~EngineProcess()
{
    if (pid_ <= 0)
        return;
    send("END");
    close(toChild_);
    // Give the engine a moment to leave on its own.
    bool left = false;
    for (int i = 0; i < 50 && !left; ++i) {
        left = waitpid(pid_, nullptr, WNOHANG) == pid_;
        if (!left)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The whole group: what the engine started must not outlive it.
    kill(-pid_, SIGKILL);
    if (!left)
        waitpid(pid_, nullptr, 0);
    close(fromChild_);
}

bool EngineProcess::send(const std::string &line)
{
    if (pid_ <= 0)
        return false;
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(toChild_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool EngineProcess::readLine(std::string &line, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const size_t nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            line = buffer_.substr(0, std::min(nl, MaxLine));
            buffer_.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        if (buffer_.size() > MaxLine)
            buffer_.resize(MaxLine); // the rest of an overlong line is dropped
        if (closed_ || pid_ <= 0)
            return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd pfd{fromChild_, POLLIN, 0};
        const int r = poll(&pfd, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        char chunk[1024];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            closed_ = true;
            continue;
        }
        if (buffer_.size() < 4 * MaxLine)
            buffer_.append(chunk, static_cast<size_t>(n));
    }
}

} // namespace korvana::match
