#include "game/GameFlow.h"

#include "board/Point.h"
#include "board/PosStat.h"
#include "game/Kumo98Dll.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace korvana {

namespace {

constexpr const char *ColumnLetters = "abcdefghijklmno";
constexpr const char *RowCharacters = "123456789ABCDEF";

std::string secondsText(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%-4.0f(sec.)", seconds);
    return text;
}

double wallClockSeconds() { return static_cast<double>(std::time(nullptr)); }

} // namespace

GameFlow::GameFlow(GameWindow &window, KvFlags *flags, Kumo98Dll *library)
    : window_(window), flags_(flags ? *flags : KvFlags::instance()),
      library_(library ? *library : Kumo98Dll::instance()), clock_(wallClockSeconds), alive_(std::make_shared<int>(0))
{
    // The stopwatch runs from the start, so a first move played outside play
    // mode books the time since start-up, not since the epoch.
    flags_.stopwatchStart = flags_.stopwatchLast = clock_();
}

void GameFlow::setClock(Clock clock)
{
    clock_ = std::move(clock);
    flags_.stopwatchStart = flags_.stopwatchLast = clock_();
}

GameFlow::~GameFlow()
{
    // Answers still queued in the window find the flow gone and do nothing.
    // The workers stop and are joined as workers_ goes.
    alive_.reset();
}

void GameFlow::SetUpDatabase(const std::string &programDirectory)
{
    if (settings_.get(Settings::DatabaseDirName).empty()) {
        std::string dir = programDirectory;
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        settings_.set(Settings::DatabaseDirName, dir + "adb/");
    }
    database_.setDirectory(DatabaseDirectory());
}

// --- small readings --------------------------------------------------------

int GameFlow::LastCode() const { return game_.current() ? game_.current()->code() : Stat::Nothing; }

int GameFlow::MoveCount() const { return game_.board().moveCount(); }

GameRule GameFlow::Rule() const { return settings_.get(Settings::Rule); }

std::string GameFlow::DatabaseDirectory() const { return settings_.get(Settings::DatabaseDirName); }

// --- playing and booking a move ---------------------------------------------

bool GameFlow::PlayMove(int column, int row, int *code)
{
    try {
        if (JudgeLastMove(LastCode()))
            return false;
        MOve *move = game_.AddMoveAlternating(column, row);
        if (!move)
            return false;
        RefreshDatabasePosition();
        const int n = MoveCount();
        BookThinkingTime(n);
        PositionShown();
        window_.redraw();
        RebuildMoveList();
        const int c = move->code();
        JudgeLastMove(c);
        flags_.pendingColumn = 'z';
        if (code)
            *code = c;
        return true;
    } catch (...) {
        ShowMessageWindow("Interrupt thinking routine");
        return false;
    }
}

bool GameFlow::JudgeLastMove(int c)
{
    if (c >= 2 && c <= 20) {
        if (settings_.get(Settings::SoundEffect))
            window_.beep(isQuiet(c) ? GameWindow::BeepKind::Default : GameWindow::BeepKind::Exclamation);
        return false;
    }
    const bool blackWins = (MoveCount() % 2 == 1) && c <= 1;
    const std::string text = std::string(blackWins ? "Black Win by " : "White Win by ") + label(c);
    SetStatusText(text);
    ShowMessageWindow(text, "Game over");
    LeavePlayMode();
    Redraw();
    return true;
}

void GameFlow::BookThinkingTime(int n)
{
    const double now = clock_();
    // Only a side's thinking during play counts, and never a modal window's time.
    const double pausedFor = pausedAt_ >= 0 ? now - pausedAt_ : 0;
    const double elapsed = flags_.playing ? std::max(0.0, now - flags_.stopwatchStart - pausedFor) : 0.0;
    if (pausedAt_ >= 0)
        pausedAt_ = now;
    flags_.stopwatchLast = now;
    auto &times = flags_.thinkingTimes;
    if (times.size() < static_cast<size_t>(KvFlags::TimeEntries))
        times.resize(KvFlags::TimeEntries, 0.0);
    if (n >= 0 && n < KvFlags::TimeEntries) {
        const auto i = static_cast<size_t>(n);
        if (n >= 2)
            times[i] = elapsed + times[i - 2];
        else if (n == 1)
            times[1] = elapsed;
        else
            times[0] = 0;
        window_.setThinkingTimeLabel(n % 2 == 1 ? Black : White, secondsText(times[i]));
    }
    flags_.stopwatchStart = now;
}

std::string GameFlow::MoveListLine(char colour, int number, int column, int row, int code)
{
    char text[64];
    const char x = column >= 0 && column < BoardSize ? ColumnLetters[column] : '?';
    const char y = row >= 0 && row < BoardSize ? RowCharacters[row] : '?';
    std::snprintf(text, sizeof text, "%s%d(%c%c):%s", colour == Black ? "B" : "W", number, x, y, label(code));
    return text;
}

// --- turns ---------------------------------------------------------------------

void GameFlow::TryMove(int column, int row)
{
    switch (Rule()) {
    case GameRule::Renju:
    case GameRule::Gomoku: HumanMove(column, row); break;
    case GameRule::Wc1998: opening_.TryMove(column, row); break;
    case GameRule::Other: break;
    }
}

void GameFlow::HumanMove(int column, int row)
{
    SetStatusText("");
    int c = Stat::Nothing;
    if (PlayMove(column, row, &c) && !AutoAnswerFour(c))
        CheckComputerTurn();
}

bool GameFlow::AutoAnswerFour(int c)
{
    if (!settings_.get(Settings::InputAssistant) || !isPlainFour(c))
        return false;
    const ThinkRequest request = MakeRequest(Engine::BuiltIn, Request::Move, ThinkingLevel::preset(1));
    StopFlag neverSet{0};
    const ThinkResult answer = ThinkingThread::Think(request, game_.board().history(), &neverSet);
    // No point found: nothing to play, and the computer's turn goes on as usual.
    if (!answer.valid())
        return false;
    return PlayMove(answer.a.x, answer.a.y);
}

void GameFlow::CheckComputerTurn()
{
    if (isGameEnd(LastCode()) || !flags_.playing)
        return;
    const bool even = MoveCount() % 2 == 0;
    if ((even && flags_.computerIsBlack) || (!even && !flags_.computerIsBlack))
        StartThinking();
}

void GameFlow::StartThinking()
{
    SetStatusText("Now Thinking");
    try {
        StartWorker(Rule() == GameRule::Wc1998 ? Engine::Library : Engine::BuiltIn, Request::Move,
                    ThinkingLevel::preset(Strength()));
    } catch (...) {
        ShowMessageWindow("Thread Error C");
    }
}

void GameFlow::EnterPlayMode()
{
    flags_.playing = true;
    window_.setGiveUpEnabled(true);
    UpdateCaption();
    RebuildMoveList(); // the moves ahead are not part of the game being played
}

void GameFlow::LeavePlayMode()
{
    flags_.playing = false;
    window_.setGiveUpEnabled(false);
    UpdateCaption();
    RebuildMoveList();
}

void GameFlow::TakeSide(bool humanIsWhite, int /*moveCount*/)
{
    // Time before Begin is nobody's thinking.
    flags_.stopwatchStart = flags_.stopwatchLast = clock_();
    StopThinking();
    EnterPlayMode();
    flags_.humanStartedWhite = humanIsWhite;
    flags_.computerIsBlack = humanIsWhite;
    opening_.colourChosen = false;
    if (humanIsWhite)
        window_.setPlayerLabels("Computer", "You");
    else
        window_.setPlayerLabels("You", "Computer");
}

void GameFlow::BeginBlack()
{
    if (isGameEnd(LastCode()))
        return;
    const int n = MoveCount();
    TakeSide(false, n);
    Redraw();
    if (Rule() != GameRule::Wc1998) {
        if (n % 2 == 1)
            StartThinking();
        else if (!isGameEnd(LastCode()))
            SetStatusText("Your Turn");
    } else if (n == 0) {
        SetStatusText("Your Turn: Input Opening Pattern");
    }
}

void GameFlow::BeginWhite()
{
    if (isGameEnd(LastCode()))
        return;
    const int n = MoveCount();
    TakeSide(true, n);
    if (Rule() != GameRule::Wc1998 || n != 0) {
        if (n % 2 == 1) {
            if (!isGameEnd(LastCode()))
                SetStatusText("Your Turn");
        } else {
            StartThinking();
        }
    } else {
        opening_.AskForOpening();
    }
}

void GameFlow::GiveUp()
{
    if (isGameEnd(LastCode()))
        return;
    LeavePlayMode();
    StopThinking();
    ResetPlayers();
    SetStatusText("Give up");
}

void GameFlow::ResetPlayers()
{
    window_.setPlayerLabels(BlackPlayerCaption, WhitePlayerCaption);
    flags_.thinkingTimes.assign(KvFlags::TimeEntries, 0.0);
    window_.setThinkingTimeLabel(Black, "0 (sec.)");
    window_.setThinkingTimeLabel(White, "0 (sec.)");
}

void GameFlow::PauseClock(bool paused)
{
    const double now = clock_();
    if (paused && pausedAt_ < 0) {
        pausedAt_ = now;
    } else if (!paused && pausedAt_ >= 0) {
        flags_.stopwatchStart += now - pausedAt_;
        pausedAt_ = -1;
    }
}

int GameFlow::Strength() const
{
    const int level = settings_.get(Settings::Strength);
    return level >= 1 && level <= 5 ? level : 1;
}

int GameFlow::LibraryMoveTimeMs() const
{
    const int ms = settings_.get(Settings::LibraryMoveTime);
    return ms > 0 ? std::clamp(ms, 10, 600000) : DefaultLibraryMoveTimeMs;
}

void GameFlow::PositionShown() { analysis_.PositionChanged(game_.board().history()); }

void GameFlow::FindForcedWin() { analysis_.FindForcedWin(game_.board().history()); }

bool GameFlow::ClearForcedWin() { return analysis_.ClearForcedWin(); }

void GameFlow::StopThinking()
{
    if (!flags_.thinking)
        return;
    try {
        // Whatever the stopped worker answers now is stale.
        workers_.StopCurrent();
    } catch (...) {
        ShowMessageWindow("Interrupt thinking routine");
    }
    SetThinking(false);
}

void GameFlow::SetThinking(bool thinking)
{
    flags_.thinking = thinking;
    window_.setNavigationEnabled(!thinking);
}

void GameFlow::NewGame()
{
    StopThinking();
    ResetGame();
    SetStatusText("");
    window_.setThinkingTimeLabel(Black, "0 (sec.)");
    window_.setThinkingTimeLabel(White, "0 (sec.)");
    RefreshDatabasePosition();
    Redraw();
}

void GameFlow::ResetGame()
{
    GiveUp();
    // A finished game skips GiveUp; no worker may outlive the reset either way.
    StopThinking();
    SetStatusText("");
    flags_.Reset();
    ResetPlayers();
    opening_.Reset();
    game_.Reset();
    RefreshDatabasePosition();
    RebuildMoveList();
    UpdateCaption();
    records_.ResetFilterEntries();
    records_.MarkUnchanged();
    window_.resetFileDialogFilter();
}

// --- move back ---------------------------------------------------------------

void GameFlow::TakeBackOne()
{
    game_.Back();
    RebuildMoveList();
    const int m = MoveCount();
    // The side whose move went sees its previous total (index m - 1).
    const int index = m - 1;
    const double total = index >= 0 && index < static_cast<int>(flags_.thinkingTimes.size())
                             ? flags_.thinkingTimes[static_cast<size_t>(index)]
                             : 0.0;
    window_.setThinkingTimeLabel(index % 2 != 0 ? Black : White, secondsText(total));
    flags_.stopwatchStart = clock_();
}

void GameFlow::StepBack()
{
    const int n = MoveCount();
    if (flags_.playing && flags_.thinking) {
        StopThinking();
        if (n > 0)
            TakeBackOne();
        SetStatusText("Your Turn");
    } else if (flags_.playing) {
        if (n > 1) {
            TakeBackOne();
            TakeBackOne();
        }
        SetStatusText("Your Turn");
    } else if (n > 0) {
        TakeBackOne();
    }
    SettleDatabaseEdits();
    RefreshDatabasePosition();
    Redraw();
}

void GameFlow::MoveBack()
{
    if (Rule() == GameRule::Wc1998)
        opening_.MoveBack();
    else
        StepBack();
}

// --- database ------------------------------------------------------------------

void GameFlow::RefreshDatabasePosition()
{
    database_.Load(MoveCount() & 0xff);
    // A fresh record: the last position's candidates must not follow the board.
    position_ = AData();
    position_.setFromHistory(game_.board().history());
    position_.setId(settings_.get(Settings::NewDataID));
    AData found;
    if (database_.CopyFromAnyOrientation(position_, found) != NoPointCode)
        position_ = found;
}

void GameFlow::SettleDatabaseEdits()
{
    if (!flags_.databaseDirty)
        return;
    bool save = settings_.get(Settings::AutomaticallyUpdate);
    if (!save) {
        save = window_.askDatabaseUpdate();
        flags_.confirmUpdateAnswer = save;
    }
    if (save) {
        SaveDatabase();
        RefreshDatabasePosition();
    }
    flags_.databaseDirty = false;
}

void GameFlow::SaveDatabase()
{
    database_.Update(position_);
    database_.Save();
}

bool GameFlow::ToggleCandidate(int column, int row)
{
    // Out-of-range columns would alias other points.
    if (!onBoard(column, row))
        return false;
    return position_.toggleCandidate(pointOf(column, row));
}

// --- window --------------------------------------------------------------------

void GameFlow::Redraw()
{
    PositionShown();
    window_.redraw();
}

void GameFlow::SetStatusText(const std::string &text) { window_.setStatusText(text); }

void GameFlow::ShowMessageWindow(const std::string &text, const std::string &caption)
{
    window_.showMessageWindow(text, caption);
}

std::string GameFlow::Caption() const
{
    std::string caption = ProductLine;
    if (!flags_.fileName.empty())
        caption += " - " + flags_.fileName;
    if (flags_.playing) {
        switch (Rule()) {
        case GameRule::Renju: caption += " [Play Mode (Renju)]"; break;
        case GameRule::Gomoku: caption += " [Play Mode (Gomoku)]"; break;
        case GameRule::Wc1998: caption += " [Play Mode (WC1998)]"; break;
        case GameRule::Other: break;
        }
    } else if (const MOve *ahead = game_.current()->cursorChild()) {
        // Walked back in a study: where the board stands in the branch shown.
        const int number = MoveCount();
        int length = number + 1;
        for (; ahead->cursorChild(); ahead = ahead->cursorChild())
            ++length;
        caption += " [Move " + std::to_string(number) + " of " + std::to_string(length) + "]";
    }
    return caption;
}

void GameFlow::UpdateCaption() { window_.setCaption(Caption()); }

// --- input -----------------------------------------------------------------------

void GameFlow::BoardClick(int column, int row, bool shift)
{
    if (flags_.thinking)
        return;
    if (shift) {
        if (settings_.get(Settings::EnableEditing) && ToggleCandidate(column, row))
            flags_.databaseDirty = true;
    } else {
        SettleDatabaseEdits();
        TryMove(column, row);
    }
    Redraw();
}

void GameFlow::TypedKey(char key)
{
    if (flags_.pendingColumn == 'z') {
        if (key >= 'a' && key <= 'o')
            flags_.pendingColumn = key;
        else if (key >= 'A' && key <= 'O')
            flags_.pendingColumn = static_cast<char>(key - 'A' + 'a');
        return;
    }
    const char lower = key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
    int row = -1;
    if (key >= '1' && key <= '9')
        row = key - '1';
    else if ((lower >= 'a' && lower <= 'f') || (lower >= 'h' && lower <= 'o'))
        row = lower - 'a' + 9; // 'h'..'o' land past the board and are refused there
    if (row < 0 || flags_.thinking)
        return;
    TryMove(flags_.pendingColumn - 'a', row);
    Redraw();
}

// --- workers ---------------------------------------------------------------------

ThinkRequest GameFlow::MakeRequest(uint8_t engine, uint8_t requestType, const ThinkingLevel &level) const
{
    ThinkRequest request;
    request.engine = engine;
    request.requestType = requestType;
    request.current = result_;
    request.level = level;
    request.databaseDirectory = DatabaseDirectory();
    request.library = &library_;
    return request;
}

bool GameFlow::StartWorker(uint8_t engine, uint8_t requestType, const ThinkingLevel &level)
{
    try {
        std::weak_ptr<int> alive = alive_;
        GameWindow *window = &window_;
        if (engine == Engine::Library)
            library_.SetMoveTime(LibraryMoveTimeMs());
        SetThinking(true);
        workers_.Start(MakeRequest(engine, requestType, level), game_.board().history(),
                       [this, alive, window](uint64_t g, const ThinkResult &answer) {
                           window->postToGuiThread([this, alive, g, answer] {
                               if (alive.lock())
                                   OnThinkingDone(g, answer);
                           });
                       });
        return true;
    } catch (...) {
        // A worker that never ran must not leave the board dead.
        SetThinking(false);
        ShowMessageWindow("Thread Error B");
        return false;
    }
}

void GameFlow::WaitForWorkers() { workers_.WaitAll(); }

void GameFlow::OnThinkingDone(uint64_t generation, const ThinkResult &answer)
{
    // A stopped or superseded worker: its answer is not ours to act on.
    if (!workers_.TakeAnswer(generation))
        return;
    result_ = answer;
    SetThinking(false);
    if (!answer.valid()) {
        // Leave the user able to play on, or to give up.
        if (answer.failed == Failure::LibraryMissing)
            SetStatusText("Engine library not available");
        else if (answer.requestType == Request::OpeningPattern)
            SetStatusText(NoOpeningText); // an index past the table counts as no answer
        else
            SetStatusText("Your Turn");
        return;
    }
    if (answer.requestType == Request::Move)
        OnMoveAnswer();
    else
        opening_.OnAnswer(result_);
}

void GameFlow::OnMoveAnswer()
{
    HumanMove(result_.a.x, result_.a.y);
    Redraw();
    // A move that ended the game keeps the result in the status line.
    const GameRule rule = Rule();
    if (isGameEnd(LastCode()) && rule != GameRule::Renju && rule != GameRule::Gomoku)
        return;
    switch (rule) {
    case GameRule::Renju:
    case GameRule::Gomoku:
        CheckComputerTurn();
        if (flags_.playing && !flags_.thinking && !isGameEnd(LastCode()))
            SetStatusText("Your Turn");
        break;
    case GameRule::Wc1998:
        if (MoveCount() == 4) {
            Redraw();
            SetStatusText("Your Turn: Show Two Points");
        } else {
            SetStatusText("Your Turn");
        }
        break;
    case GameRule::Other: SetStatusText("Your Turn"); break;
    }
}

} // namespace korvana
