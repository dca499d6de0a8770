#pragma once
// OpeningProtocol: the WC1998 opening of a game: three opening stones (placed
// by the user or taken from the opening table at the engine's choice), the
// choice of colour, two proposed fifth moves of which one is removed, and how
// Move back unwinds all that. It owns the protocol's own state; whose turn it
// is, play mode and the sides stay with the game flow, which it drives.
//
// Every decision runs on one value, the phase: which move of the opening is
// due, from the move count and, for the fifth move, the proposal step.

#include "game/ThinkResult.h"

#include <cstdint>

namespace korvana {

class GameFlow;

class OpeningProtocol {
public:
    /// The move of the opening that is due next.
    enum class Phase {
        OpeningStones,  ///< the first or the second stone (move count 0 or 1)
        ThirdStone,     ///< move count 2
        FourthMove,     ///< move count 3
        FirstProposal,  ///< move count 4, no fifth move proposed yet
        SecondProposal, ///< move count 4, one fifth move proposed
        Removal,        ///< move count 4, both proposed: one is to be removed
        KeptPlaying,    ///< move count 4, the kept proposal is being played
        SixthMove,      ///< move count 5
        SeventhMove,    ///< move count 6
        Free,           ///< past the opening
    };

    /// Values of openingStep.
    static constexpr int NoProposal = 0;
    static constexpr int OneProposal = 1;
    static constexpr int TwoProposals = 2;
    static constexpr int PlayingKept = 3;

    explicit OpeningProtocol(GameFlow &flow) : flow_(flow) {}

    /// The phase at `moveCount` stones with proposal step `step`.
    static Phase PhaseOf(int moveCount, int step);
    /// The phase of the game on the board.
    Phase phase() const;

    /// Back to the start of a game; the proposals keep their points.
    void Reset();

    /// A move by the user (board click or typed point).
    void TryMove(int column, int row);
    /// One proposal click for the fifth move.
    void ProposePoint(int column, int row);
    /// The user removes one of the two proposals; the other is played.
    void ChooseRemoval();
    /// The user chooses a colour after the computer placed the opening.
    void ChooseColour();
    /// The engine library's answer to one of the opening's requests.
    void OnAnswer(const ThinkResult &answer);
    /// Move back: one step of the opening undone.
    void MoveBack();
    /// Asks the engine library for the opening (Begin White on an empty board).
    void AskForOpening();

    int openingStep = NoProposal; ///< fifth-move proposal step, see the values above
    ThinkPoint proposalA;         ///< first proposed fifth move
    ThinkPoint proposalB;         ///< second proposed fifth move
    bool colourChosen = false;    ///< the colour choice of this game has been made

private:
    void Request(uint8_t requestType);
    void PlayOpening(int index);
    void MoveBackInPlay(Phase phase);
    void MoveBackOutOfPlay(Phase phase);

    GameFlow &flow_;
};

} // namespace korvana
