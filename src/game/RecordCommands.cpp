#include "game/RecordCommands.h"

#include "game/GameFlow.h"
#include "record/ClipboardText.h"

namespace korvana {

void RecordCommands::Open(const std::string &fileName)
{
    MOveTree &game = flow_.game();
    // A file that is not read leaves game, play and caption as they were.
    if (!game.Load(fileName)) {
        flow_.ShowMessageWindow("can't open " + fileName + ": " + game.loadError());
        return;
    }
    flow_.GiveUp();
    // After a finished game GiveUp does nothing; the players start afresh anyway.
    flow_.ResetPlayers();
    flow_.flags().fileName = fileName;
    flow_.UpdateCaption();
    game.GotoRoot();
    while (game.Forward() != 0) {
    }
    flow_.RebuildMoveList();
    flow_.RefreshDatabasePosition();
    flow_.SetStatusText("");
    flow_.Redraw();
}

void RecordCommands::OpenWithDialog()
{
    const std::string name = window_.askOpenFileName();
    if (!name.empty())
        Open(name);
}

void RecordCommands::Save()
{
    int entry = saveFilterEntry_;
    const std::string typed = window_.askSaveFileName(entry);
    if (typed.empty())
        return;
    const MOveTree::RecordFormat format = recordFormatOfFilterEntry(entry);
    if (format == MOveTree::FormatUnknown)
        return;
    const std::string name = recordFileName(typed, format);
    openFilterEntry_ = saveFilterEntry_ = entry;
    flow_.flags().fileName = name;
    flow_.UpdateCaption();
    MOveTree &game = flow_.game();
    game.setRecordFormat(format);
    // The caption already names the file: a failure must not pass for a save.
    if (game.Save(name) != 1)
        flow_.ShowMessageWindow("can't save game data to " + name);
    flow_.Redraw();
}

void RecordCommands::Copy()
{
    // The history is copied, so the text describes the board as it was at the command.
    const BanHistory history = flow_.game().board().history();
    window_.setClipboardText(ClipboardText::CopyText(history));
    flow_.SetStatusText("copy game data to clip board");
}

void RecordCommands::Paste()
{
    const std::string text = window_.clipboardText();
    BanHistory moves;
    if (!ClipboardText::ParseText(text, moves)) {
        flow_.ShowMessageWindow("can't paste game data from clip board");
        return;
    }
    flow_.flags().fileName.clear();
    flow_.UpdateCaption();
    flow_.ResetGame();
    window_.moveListClear();
    MOveTree &game = flow_.game();
    game.Reset();
    for (const MovedPos &move : moves.moves())
        game.AddMove(move.x, move.y, move.colour);
    // Numbered from what the board took, so a refused token leaves no gap.
    flow_.RebuildMoveList();
    flow_.SetStatusText("");
    flow_.RefreshDatabasePosition();
    flow_.Redraw();
    flow_.GiveUp();
    flow_.SetStatusText("paste game data from clip board");
}

} // namespace korvana
