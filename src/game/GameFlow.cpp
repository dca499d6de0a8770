#include "game/GameFlow.h"

#include "board/Point.h"
#include "board/PosStat.h"
#include "game/Kumo98Dll.h"
#include "game/OpeningTable.h"

#include <cstdio>
#include <ctime>

namespace korvana {

namespace {

constexpr const char *ColumnLetters = "abcdefghijklmno";
constexpr const char *RowCharacters = "123456789ABCDEF";
constexpr const char *NoOpeningText = "No opening pattern from the engine";

std::string secondsText(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%-4.0f(sec.)", seconds);
    return text;
}

double wallClockSeconds()
{
    return static_cast<double>(std::time(nullptr));
}

} // namespace

GameFlow::GameFlow(GameWindow &window, KvFlags *flags, Kumo98Dll *library)
    : window_(window), flags_(flags ? *flags : KvFlags::instance()),
      library_(library ? *library : Kumo98Dll::instance()), clock_(wallClockSeconds),
      alive_(std::make_shared<int>(0))
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
    alive_.reset();
    for (auto &worker : workers_)
        worker->Stop();
    workers_.clear(); // joins
}

void GameFlow::SetUpDatabase(const std::string &programDirectory)
{
    const auto current = settings_.GetText("Database", "DatabaseDirName");
    if (!current || current->empty()) {
        std::string dir = programDirectory;
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        settings_.SetText("Database", "DatabaseDirName", dir + "adb/");
    }
    database_.setDirectory(DatabaseDirectory());
}

// --- small readings --------------------------------------------------------

int GameFlow::LastCode() const
{
    return game_.current() ? game_.current()->code() : Stat::Nothing;
}

int GameFlow::MoveCount() const
{
    return game_.board().moveCount();
}

int GameFlow::Rule() const
{
    return settings_.GetInt("Option", "GameRule");
}

bool GameFlow::Setting(const char *section, const char *key) const
{
    return settings_.GetInt(section, key) != 0;
}

std::string GameFlow::DatabaseDirectory() const
{
    return settings_.GetText("Database", "DatabaseDirName").value_or(std::string());
}

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
        window_.redraw();
        window_.moveListAppend(MoveListLine(move->colour(), n, move->x(), move->y(), move->code()));
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
        if (Setting("Option", "SountEffect"))
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
    const double elapsed = now - flags_.stopwatchStart;
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

void GameFlow::RebuildMoveList()
{
    window_.moveListClear();
    const auto &moves = game_.board().history().moves();
    for (size_t i = 0; i < moves.size(); ++i)
        window_.moveListAppend(MoveListLine(moves[i].colour, static_cast<int>(i + 1), moves[i].x, moves[i].y,
                                            moves[i].code));
}

// --- turns ---------------------------------------------------------------------

void GameFlow::TryMove(int column, int row)
{
    switch (Rule()) {
    case 0:
    case 1:
        HumanMove(column, row);
        break;
    case 2:
        TryMoveWc1998(column, row);
        break;
    default:
        break;
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
    if (!Setting("Option", "InputAssistant") || !isPlainFour(c))
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
        StartWorker(Rule() == 2 ? Engine::Library : Engine::BuiltIn, Request::Move, ThinkingLevel::preset(1));
    } catch (...) {
        ShowMessageWindow("Thread Error C");
    }
}

void GameFlow::EnterPlayMode()
{
    flags_.playing = 1;
    window_.setGiveUpEnabled(true);
    UpdateCaption();
}

void GameFlow::LeavePlayMode()
{
    flags_.playing = 0;
    window_.setGiveUpEnabled(false);
    UpdateCaption();
}

void GameFlow::TakeSide(bool humanIsWhite, int moveCount)
{
    if (moveCount == 0)
        flags_.stopwatchStart = flags_.stopwatchLast = clock_();
    StopThinking();
    EnterPlayMode();
    flags_.humanStartedWhite = humanIsWhite ? 1 : 0;
    flags_.computerIsBlack = humanIsWhite ? 1 : 0;
    flags_.colourChosen = 0;
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
    if (Rule() != 2) {
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
    if (Rule() != 2 || n != 0) {
        if (n % 2 == 1) {
            if (!isGameEnd(LastCode()))
                SetStatusText("Your Turn");
        } else {
            StartThinking();
        }
    } else {
        RequestOpeningStep(Request::OpeningPattern);
    }
}

void GameFlow::GiveUp()
{
    if (isGameEnd(LastCode()))
        return;
    LeavePlayMode();
    StopThinking();
    SetStatusText("Give up");
}

void GameFlow::StopThinking()
{
    if (!flags_.thinking)
        return;
    try {
        if (currentWorker_)
            currentWorker_->Stop();
    } catch (...) {
        ShowMessageWindow("Interrupt thinking routine");
    }
    flags_.thinking = 0;
    // Whatever the stopped worker answers now is stale.
    ++generation_;
    currentWorker_ = nullptr;
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
    game_.Reset();
    RefreshDatabasePosition();
    window_.moveListClear();
    UpdateCaption();
    window_.resetFileDialogFilter();
}

// --- move back ---------------------------------------------------------------

void GameFlow::TakeBackOne()
{
    window_.moveListDeleteLast();
    game_.Back();
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
    if (Rule() == 2)
        MoveBackWc1998();
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
    position_.setId(settings_.GetInt("Database", "NewDataID"));
    AData found;
    if (database_.CopyFromAnyOrientation(position_, found) != NoPointCode)
        position_ = found;
}

void GameFlow::SettleDatabaseEdits()
{
    if (!flags_.databaseDirty)
        return;
    bool save = Setting("Database", "AutomaticallyUpdate");
    if (!save) {
        save = window_.askDatabaseUpdate();
        flags_.confirmUpdateAnswer = save ? 1 : 0;
    }
    if (save) {
        SaveDatabase();
        RefreshDatabasePosition();
    }
    flags_.databaseDirty = 0;
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
    window_.redraw();
}

void GameFlow::SetStatusText(const std::string &text)
{
    window_.setStatusText(text);
}

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
        case 0: caption += " [Play Mode (Renju)]"; break;
        case 1: caption += " [Play Mode (Gomoku)]"; break;
        case 2: caption += " [Play Mode (WC1998)]"; break;
        default: break;
        }
    }
    return caption;
}

void GameFlow::UpdateCaption()
{
    window_.setCaption(Caption());
}

// --- input -----------------------------------------------------------------------

void GameFlow::BoardClick(int column, int row, bool shift)
{
    if (flags_.thinking)
        return;
    if (shift) {
        if (Setting("Database", "EnableEditing") && ToggleCandidate(column, row))
            flags_.databaseDirty = 1;
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

void GameFlow::ReapWorkers()
{
    for (auto it = workers_.begin(); it != workers_.end();) {
        if ((*it)->finished() && it->get() != currentWorker_) {
            (*it)->Join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool GameFlow::StartWorker(uint8_t engine, uint8_t requestType, const ThinkingLevel &level)
{
    ThinkingThread *worker = nullptr;
    try {
        ReapWorkers();
        const uint64_t generation = ++generation_;
        std::weak_ptr<int> alive = alive_;
        GameWindow *window = &window_;
        auto owned = std::make_unique<ThinkingThread>(
            MakeRequest(engine, requestType, level), game_.board().history(), generation,
            [this, alive, window](uint64_t g, const ThinkResult &answer) {
                window->postToGuiThread([this, alive, g, answer] {
                    if (alive.lock())
                        OnThinkingDone(g, answer);
                });
            });
        worker = owned.get();
        workers_.push_back(std::move(owned));
        currentWorker_ = worker;
        flags_.thinking = 1;
        worker->Start();
        return true;
    } catch (...) {
        // A worker that never ran must not leave the board dead.
        flags_.thinking = 0;
        ++generation_;
        currentWorker_ = nullptr;
        if (worker && !worker->finished()) {
            for (auto it = workers_.begin(); it != workers_.end(); ++it)
                if (it->get() == worker) {
                    workers_.erase(it);
                    break;
                }
        }
        ShowMessageWindow("Thread Error B");
        return false;
    }
}

void GameFlow::WaitForWorkers()
{
    for (auto &worker : workers_)
        worker->Join();
    ReapWorkers();
}

void GameFlow::OnThinkingDone(uint64_t generation, const ThinkResult &answer)
{
    ReapWorkers();
    // A stopped or superseded worker: its answer is not ours to act on.
    if (generation != generation_)
        return;
    currentWorker_ = nullptr;
    ReapWorkers();
    result_ = answer;
    flags_.thinking = 0;
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
        OnOpeningAnswer();
}

void GameFlow::OnMoveAnswer()
{
    HumanMove(result_.a.x, result_.a.y);
    Redraw();
    // A move that ended the game keeps the result in the status line.
    if (isGameEnd(LastCode()) && Rule() != 0 && Rule() != 1)
        return;
    switch (Rule()) {
    case 0:
    case 1:
        CheckComputerTurn();
        break;
    case 2:
        if (MoveCount() == 4) {
            Redraw();
            SetStatusText("Your Turn: Show Two Points");
        } else {
            SetStatusText("Your Turn");
        }
        break;
    default:
        SetStatusText("Your Turn");
        break;
    }
}

// --- WC1998 opening protocol ---------------------------------------------------------

void GameFlow::RequestOpeningStep(uint8_t requestType)
{
    SetStatusText("Now Thinking");
    StartWorker(Engine::Library, requestType, ThinkingLevel::preset(1));
}

void GameFlow::TryMoveWc1998(int column, int row)
{
    const int n = MoveCount();
    if (flags_.playing && flags_.computerIsBlack) {
        if (n == 3) {
            if (PlayMove(column, row)) {
                RefreshDatabasePosition();
                RequestOpeningStep(Request::ShowTwoPoints);
            }
        } else {
            HumanMove(column, row);
        }
        return;
    }
    if (n == 0 || n == 1) {
        PlayMove(column, row);
    } else if (n == 2) {
        if (PlayMove(column, row) && flags_.playing && !flags_.colourChosen)
            RequestOpeningStep(Request::WhichColour);
    } else if (n == 4) {
        ProposePoint(column, row);
    } else {
        HumanMove(column, row);
    }
}

void GameFlow::ProposePoint(int column, int row)
{
    const ThinkPoint point{static_cast<uint8_t>(column), static_cast<uint8_t>(row), Black};
    switch (flags_.openingStep) {
    case 0:
        // The proposal is shown as a mark; the record does not keep it as a move.
        if (game_.AddMoveAlternating(column, row)) {
            flags_.openingStep = 1;
            flags_.proposalA = point;
            game_.Back();
            Redraw();
        }
        SetStatusText("Your Turn: Show Another Point");
        break;
    case 1:
        if (game_.AddMoveAlternating(column, row)) {
            flags_.openingStep = 2;
            flags_.proposalB = point;
            game_.Back();
            Redraw();
            if (flags_.playing) {
                result_.a = flags_.proposalA;
                result_.b = flags_.proposalB;
                RequestOpeningStep(Request::WhichRemove);
            } else {
                ChooseRemoval();
            }
        } else {
            SetStatusText("Your Turn: Show Another Point");
        }
        break;
    case 2:
        flags_.openingStep = 0;
        break;
    default:
        break;
    }
}

void GameFlow::ChooseRemoval()
{
    SetStatusText("Which do you remove?");
    const int removed = window_.askWhichRemove();
    const ThinkPoint keep = removed == 0 ? flags_.proposalB : flags_.proposalA;
    flags_.openingStep = 3;
    PlayMove(keep.x, keep.y);
    flags_.openingStep = 0;
    RefreshDatabasePosition();
    Redraw();
    SetStatusText("Your Turn");
}

void GameFlow::ChooseColour()
{
    const bool black = window_.askColourIsBlack();
    flags_.colourChosen = 1;
    if (black) {
        flags_.computerIsBlack = 0;
        window_.setPlayerLabels("You", "Computer");
        SetStatusText("You choose Black.");
        StartThinking();
    } else {
        flags_.computerIsBlack = 1;
        window_.setPlayerLabels("Computer", "You");
        SetStatusText("You choose White. Your Turn.");
        RefreshDatabasePosition();
        Redraw();
    }
}

void GameFlow::PlayOpening(int index)
{
    const OpeningTable::Opening *opening = OpeningTable::instance().at(index);
    if (!opening) {
        // No such opening: a failed answer, and the user is told why nothing appeared.
        SetStatusText(NoOpeningText);
        return;
    }
    for (const ThinkPoint &stone : opening->stones)
        PlayMove(stone.x, stone.y);
    RefreshDatabasePosition();
    Redraw();
    if (flags_.playing)
        ChooseColour();
}

void GameFlow::OnOpeningAnswer()
{
    switch (result_.requestType) {
    case Request::WhichRemove:
        // A is the proposal removed, B the one kept.
        PlayMove(result_.b.x, result_.b.y);
        flags_.openingStep = 0;
        Redraw();
        StartThinking();
        break;
    case Request::ShowTwoPoints:
        flags_.proposalA = {result_.a.x, result_.a.y, Black};
        flags_.proposalB = {result_.b.x, result_.b.y, Black};
        flags_.openingStep = 2;
        Redraw();
        ChooseRemoval();
        break;
    case Request::WhichColour:
        flags_.colourChosen = 1;
        if (result_.colour == Black) {
            flags_.computerIsBlack = 1;
            window_.setPlayerLabels("Computer", "You");
            SetStatusText("Change to Black: Your Turn");
        } else {
            flags_.computerIsBlack = 0;
            StartThinking();
        }
        break;
    case Request::OpeningPattern:
        PlayOpening(result_.openingIndex);
        break;
    default:
        break;
    }
}

void GameFlow::MoveBackWc1998()
{
    const int n = MoveCount();
    if (flags_.playing) {
        if (n <= 3) {
            // These steps do not pass through StepBack's stop: no answer may
            // land on the position they leave.
            StopThinking();
            if (flags_.humanStartedWhite) {
                if (n == 3) {
                    ChooseColour();
                } else {
                    SettleDatabaseEdits();
                    NewGame();
                    BeginWhite();
                }
            } else {
                flags_.playing = 0;
                StepBack();
                flags_.playing = 1;
            }
            return;
        }
        if (flags_.computerIsBlack) {
            StepBack();
            return;
        }
        if (n == 4) {
            StopThinking();
            switch (flags_.openingStep) {
            case 0:
                ChooseColour();
                break;
            case 1:
                flags_.openingStep = 0;
                SetStatusText("Your Turn: Show Two Point");
                break;
            case 2:
                flags_.openingStep = 1;
                SetStatusText("Your Turn: Show Another Point");
                break;
            default:
                break;
            }
        } else if (n == 5 || n == 6) {
            StepBack();
            flags_.openingStep = 0;
            SetStatusText("Your Turn: Show Two Point");
        } else {
            StepBack();
        }
    } else {
        if (n <= 3) {
            StepBack();
            SetStatusText("");
        } else if (n == 4) {
            if (flags_.openingStep == 1) {
                flags_.openingStep = 0;
                SetStatusText("Show Two Point");
            } else {
                StepBack();
                SetStatusText("");
            }
        } else if (n == 5) {
            StepBack();
            SetStatusText("Show Two Point");
        } else {
            StepBack();
        }
    }
    RefreshDatabasePosition();
    Redraw();
}

} // namespace korvana
