#pragma once
// A scripted stand-in for the main window: records what the game flow shows,
// answers the questions from a script, and runs posted calls on the thread
// that calls runUntil/runPending (the test's "GUI thread").

#include "game/GameWindow.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace korvana {

class FakeGameWindow : public GameWindow {
public:
    struct Message {
        std::string text;
        std::string caption;
    };

    // --- what was shown ---
    std::string status;                 ///< current status text
    std::vector<std::string> statusLog; ///< every status text set, in order
    std::string blackPlayer, whitePlayer;
    std::map<char, std::string> timeLabels;
    std::vector<Message> messages;
    std::vector<BeepKind> beeps;
    int redraws = 0;
    std::vector<std::string> moveList;
    int moveListCurrent = -1; ///< highlighted line
    int treeChanges = 0;      ///< gameTreeChanged calls
    bool navigationEnabled = true;
    std::string caption;
    bool giveUpEnabled = false;
    int filterResets = 0;

    // --- scripted answers (and how often each question was asked) ---
    bool colourIsBlack = true;
    int colourAsked = 0;
    bool databaseUpdate = false;
    int databaseAsked = 0;
    int whichRemove = 0;
    int removeAsked = 0;
    bool yesNo = false;
    std::vector<std::string> yesNoAsked; ///< the questions, in order
    std::string openAnswer;              ///< file chosen in the open dialog; empty: cancelled
    std::string saveAnswer;              ///< name typed in the save dialog; empty: cancelled
    int saveEntry = 2;                   ///< filter entry the save dialog answers with
    std::vector<int> saveStartEntries;   ///< entry each save dialog started on
    std::string clipboard;
    SaveChanges saveChangesAnswer = SaveChanges::Discard;
    int saveChangesAsked = 0;
    bool replaceAnswer = false;
    std::vector<std::string> replaceAsked; ///< the file of each replace question

    void setStatusText(const std::string &text) override;
    void setPlayerLabels(const std::string &black, const std::string &white) override;
    void setThinkingTimeLabel(char colour, const std::string &text) override;
    void showMessageWindow(const std::string &text, const std::string &caption) override;
    bool askColourIsBlack() override;
    bool askDatabaseUpdate() override;
    int askWhichRemove() override;
    void beep(BeepKind kind) override;
    void redraw() override;
    void moveListAppend(const std::string &line) override;
    void moveListDeleteLast() override;
    void moveListClear() override;
    void showMoveList(const std::vector<std::string> &lines, int current) override;
    void gameTreeChanged() override;
    void setNavigationEnabled(bool enabled) override { navigationEnabled = enabled; }
    bool askYesNo(const std::string &text, const std::string &caption) override;
    void setCaption(const std::string &text) override;
    void setGiveUpEnabled(bool enabled) override;
    void resetFileDialogFilter() override;
    void postToGuiThread(std::function<void()> call) override;
    std::string askOpenFileName() override { return openAnswer; }
    std::string askSaveFileName(int &entry) override;
    SaveChanges askSaveChanges() override
    {
        ++saveChangesAsked;
        return saveChangesAnswer;
    }
    bool askReplaceFile(const std::string &name) override
    {
        replaceAsked.push_back(name);
        return replaceAnswer;
    }
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string &text) override { clipboard = text; }

    /// Runs the calls posted so far; how many ran.
    int runPending();
    /// Runs posted calls as they arrive until `done` holds (checked after
    /// each call and at the start) or `timeout` passes; true when it held.
    bool runUntil(const std::function<bool()> &done,
                  std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
    /// Posted calls not yet run.
    size_t pendingCount();

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};

} // namespace korvana
