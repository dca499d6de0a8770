#include "game/OpeningProtocol.h"

#include "game/GameFlow.h"
#include "game/OpeningTable.h"

namespace korvana {

namespace {
constexpr const char *ShowTwoPoint = "Your Turn: Show Two Point";
constexpr const char *ShowAnotherPoint = "Your Turn: Show Another Point";

/// Whether (column, row) takes a stone now: tried on the record and taken back. The
/// proposal is only a mark, so a node made for the try goes again.
bool tryProposal(MOveTree &game, int column, int row)
{
    const int before = game.current()->childCount();
    MOve *move = game.AddMoveAlternating(column, row);
    if (!move)
        return false;
    game.Back();
    if (game.current()->childCount() > before)
        game.DeleteVariation(move);
    return true;
}
} // namespace

OpeningProtocol::Phase OpeningProtocol::PhaseOf(int moveCount, int step)
{
    switch (moveCount) {
    case 0:
    case 1: return Phase::OpeningStones;
    case 2: return Phase::ThirdStone;
    case 3: return Phase::FourthMove;
    case 4:
        switch (step) {
        case NoProposal: return Phase::FirstProposal;
        case OneProposal: return Phase::SecondProposal;
        case TwoProposals: return Phase::Removal;
        default: return Phase::KeptPlaying;
        }
    case 5: return Phase::SixthMove;
    case 6: return Phase::SeventhMove;
    default: return Phase::Free;
    }
}

OpeningProtocol::Phase OpeningProtocol::phase() const { return PhaseOf(flow_.MoveCount(), openingStep); }

void OpeningProtocol::Reset()
{
    openingStep = NoProposal;
    colourChosen = false;
}

void OpeningProtocol::Request(uint8_t requestType)
{
    flow_.SetStatusText("Now Thinking");
    flow_.StartWorker(Engine::Library, requestType, ThinkingLevel::preset(1));
}

void OpeningProtocol::AskForOpening() { Request(Request::OpeningPattern); }

void OpeningProtocol::TryMove(int column, int row)
{
    const Phase now = phase();
    const KvFlags &flags = flow_.flags();
    if (flags.playing && flags.computerIsBlack) {
        // The user is White: the fourth move asks the computer for its two proposals.
        if (now == Phase::FourthMove) {
            if (flow_.PlayMove(column, row)) {
                flow_.RefreshDatabasePosition();
                Request(Request::ShowTwoPoints);
            }
        } else {
            flow_.HumanMove(column, row);
        }
        return;
    }
    switch (now) {
    case Phase::OpeningStones: flow_.PlayMove(column, row); break;
    case Phase::ThirdStone:
        if (flow_.PlayMove(column, row) && flags.playing && !colourChosen)
            Request(Request::WhichColour);
        break;
    case Phase::FirstProposal:
    case Phase::SecondProposal:
    case Phase::Removal:
    case Phase::KeptPlaying: ProposePoint(column, row); break;
    default: flow_.HumanMove(column, row); break;
    }
}

void OpeningProtocol::ProposePoint(int column, int row)
{
    MOveTree &game = flow_.game();
    const ThinkPoint point{static_cast<uint8_t>(column), static_cast<uint8_t>(row), Black};
    switch (phase()) {
    case Phase::FirstProposal:
        if (tryProposal(game, column, row)) {
            openingStep = OneProposal;
            proposalA = point;
            flow_.Redraw();
        }
        flow_.SetStatusText(ShowAnotherPoint);
        break;
    case Phase::SecondProposal:
        if (tryProposal(game, column, row)) {
            openingStep = TwoProposals;
            proposalB = point;
            flow_.Redraw();
            if (flow_.flags().playing) {
                flow_.result_.a = proposalA;
                flow_.result_.b = proposalB;
                Request(Request::WhichRemove);
            } else {
                ChooseRemoval();
            }
        } else {
            flow_.SetStatusText(ShowAnotherPoint);
        }
        break;
    case Phase::Removal: openingStep = NoProposal; break;
    default: break;
    }
}

void OpeningProtocol::ChooseRemoval()
{
    flow_.SetStatusText("Which do you remove?");
    const int removed = flow_.window_.askWhichRemove();
    const ThinkPoint keep = removed == 0 ? proposalB : proposalA;
    openingStep = PlayingKept;
    flow_.PlayMove(keep.x, keep.y);
    openingStep = NoProposal;
    flow_.RefreshDatabasePosition();
    flow_.Redraw();
    flow_.SetStatusText("Your Turn");
}

void OpeningProtocol::ChooseColour()
{
    KvFlags &flags = flow_.flags();
    const bool black = flow_.window_.askColourIsBlack();
    colourChosen = true;
    if (black) {
        flags.computerIsBlack = false;
        flow_.window_.setPlayerLabels("You", "Computer");
        flow_.SetStatusText("You choose Black.");
        flow_.StartThinking();
    } else {
        flags.computerIsBlack = true;
        flow_.window_.setPlayerLabels("Computer", "You");
        flow_.SetStatusText("You choose White. Your Turn.");
        flow_.RefreshDatabasePosition();
        flow_.Redraw();
    }
}

void OpeningProtocol::PlayOpening(int index)
{
    const OpeningTable::Opening *opening = OpeningTable::instance().at(index);
    if (!opening) {
        // No such opening: a failed answer, and the user is told why nothing appeared.
        flow_.SetStatusText(GameFlow::NoOpeningText);
        return;
    }
    for (const ThinkPoint &stone : opening->stones)
        flow_.PlayMove(stone.x, stone.y);
    flow_.RefreshDatabasePosition();
    flow_.Redraw();
    if (flow_.flags().playing)
        ChooseColour();
}

void OpeningProtocol::OnAnswer(const ThinkResult &answer)
{
    KvFlags &flags = flow_.flags();
    switch (answer.requestType) {
    case Request::WhichRemove:
        // A is the proposal removed, B the one kept.
        flow_.PlayMove(answer.b.x, answer.b.y);
        openingStep = NoProposal;
        flow_.Redraw();
        flow_.StartThinking();
        break;
    case Request::ShowTwoPoints:
        proposalA = {answer.a.x, answer.a.y, Black};
        proposalB = {answer.b.x, answer.b.y, Black};
        openingStep = TwoProposals;
        flow_.Redraw();
        ChooseRemoval();
        break;
    case Request::WhichColour:
        colourChosen = true;
        if (answer.colour == Black) {
            flags.computerIsBlack = true;
            flow_.window_.setPlayerLabels("Computer", "You");
            flow_.SetStatusText("Change to Black: Your Turn");
        } else {
            flags.computerIsBlack = false;
            flow_.StartThinking();
        }
        break;
    case Request::OpeningPattern: PlayOpening(answer.openingIndex); break;
    default: break;
    }
}

void OpeningProtocol::MoveBack()
{
    const Phase now = phase();
    KvFlags &flags = flow_.flags();
    if (flags.playing) {
        if (now == Phase::OpeningStones || now == Phase::ThirdStone || now == Phase::FourthMove) {
            // These steps do not pass through StepBack's stop: no answer may
            // land on the position they leave.
            flow_.StopThinking();
            if (flags.humanStartedWhite) {
                if (now == Phase::FourthMove) {
                    ChooseColour();
                } else {
                    flow_.SettleDatabaseEdits();
                    flow_.NewGame();
                    flow_.BeginWhite();
                }
            } else {
                flags.playing = false;
                flow_.StepBack();
                flags.playing = true;
            }
            return;
        }
        if (flags.computerIsBlack) {
            flow_.StepBack();
            return;
        }
        MoveBackInPlay(now);
    } else {
        MoveBackOutOfPlay(now);
    }
    flow_.RefreshDatabasePosition();
    flow_.Redraw();
}

void OpeningProtocol::MoveBackInPlay(Phase now)
{
    switch (now) {
    case Phase::FirstProposal:
        flow_.StopThinking();
        ChooseColour();
        break;
    case Phase::SecondProposal:
        flow_.StopThinking();
        openingStep = NoProposal;
        flow_.SetStatusText(ShowTwoPoint);
        break;
    case Phase::Removal:
        flow_.StopThinking();
        openingStep = OneProposal;
        flow_.SetStatusText(ShowAnotherPoint);
        break;
    case Phase::KeptPlaying: flow_.StopThinking(); break;
    case Phase::SixthMove:
    case Phase::SeventhMove:
        flow_.StepBack();
        openingStep = NoProposal;
        flow_.SetStatusText(ShowTwoPoint);
        break;
    default: flow_.StepBack(); break;
    }
}

void OpeningProtocol::MoveBackOutOfPlay(Phase now)
{
    switch (now) {
    case Phase::OpeningStones:
    case Phase::ThirdStone:
    case Phase::FourthMove:
        flow_.StepBack();
        flow_.SetStatusText("");
        break;
    case Phase::SecondProposal:
        openingStep = NoProposal;
        flow_.SetStatusText("Show Two Point");
        break;
    case Phase::FirstProposal:
    case Phase::Removal:
    case Phase::KeptPlaying:
        flow_.StepBack();
        flow_.SetStatusText("");
        break;
    case Phase::SixthMove:
        flow_.StepBack();
        flow_.SetStatusText("Show Two Point");
        break;
    default: flow_.StepBack(); break;
    }
}

} // namespace korvana
