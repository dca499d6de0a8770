#include "FakeGameWindow.h"

namespace korvana {

void FakeGameWindow::setStatusText(const std::string &text)
{
    status = text;
    statusLog.push_back(text);
}

void FakeGameWindow::setPlayerLabels(const std::string &black, const std::string &white)
{
    blackPlayer = black;
    whitePlayer = white;
}

void FakeGameWindow::setThinkingTimeLabel(char colour, const std::string &text) { timeLabels[colour] = text; }

void FakeGameWindow::showMessageWindow(const std::string &text, const std::string &cap)
{
    messages.push_back({text, cap});
}

bool FakeGameWindow::askColourIsBlack()
{
    ++colourAsked;
    return colourIsBlack;
}

bool FakeGameWindow::askDatabaseUpdate()
{
    ++databaseAsked;
    return databaseUpdate;
}

int FakeGameWindow::askWhichRemove()
{
    ++removeAsked;
    return whichRemove;
}

void FakeGameWindow::beep(BeepKind kind) { beeps.push_back(kind); }

void FakeGameWindow::showMoveList(const std::vector<std::string> &lines, int current)
{
    moveList = lines;
    moveListCurrent = current;
}

void FakeGameWindow::gameTreeChanged() { ++treeChanges; }

bool FakeGameWindow::askYesNo(const std::string &text, const std::string &)
{
    yesNoAsked.push_back(text);
    return yesNo;
}

void FakeGameWindow::redraw() { ++redraws; }

void FakeGameWindow::moveListAppend(const std::string &line) { moveList.push_back(line); }

void FakeGameWindow::moveListDeleteLast()
{
    if (!moveList.empty())
        moveList.pop_back();
}

void FakeGameWindow::moveListClear() { moveList.clear(); }

void FakeGameWindow::setCaption(const std::string &text) { caption = text; }

void FakeGameWindow::setGiveUpEnabled(bool enabled) { giveUpEnabled = enabled; }

void FakeGameWindow::resetFileDialogFilter() { ++filterResets; }

std::string FakeGameWindow::askSaveFileName(int &entry)
{
    saveStartEntries.push_back(entry);
    if (!saveAnswer.empty())
        entry = saveEntry;
    return saveAnswer;
}

void FakeGameWindow::postToGuiThread(std::function<void()> call)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(call));
    }
    posted_.notify_all();
}

int FakeGameWindow::runPending()
{
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls.swap(queue_);
    }
    for (auto &call : calls)
        call();
    return static_cast<int>(calls.size());
}

bool FakeGameWindow::runUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> call;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!posted_.wait_until(lock, deadline, [this] { return !queue_.empty(); }))
                return done();
            call = std::move(queue_.front());
            queue_.pop_front();
        }
        call();
    }
    return true;
}

size_t FakeGameWindow::pendingCount()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

} // namespace korvana
