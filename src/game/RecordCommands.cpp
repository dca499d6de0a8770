#include "game/RecordCommands.h"

#include "game/GameFlow.h"
#include "record/ClipboardText.h"

#include <filesystem>
#include <system_error>

namespace korvana {

void RecordCommands::Open(const std::string &fileName)
{
    if (ConfirmDiscard())
        openFile(fileName);
}

void RecordCommands::openFile(const std::string &fileName)
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
    MarkUnchanged();
}

void RecordCommands::OpenWithDialog()
{
    if (!ConfirmDiscard())
        return;
    const std::string name = window_.askOpenFileName();
    if (name.empty())
        return;
    rememberDirectoryOf(name);
    openFile(name);
}

bool RecordCommands::Save()
{
    int entry = saveFilterEntry();
    const std::string typed = window_.askSaveFileName(entry);
    if (typed.empty())
        return false;
    rememberDirectoryOf(typed);
    const MOveTree::RecordFormat format = recordFormatOfFilterEntry(entry);
    if (format == MOveTree::FormatUnknown)
        return false;
    const std::string name = recordFileName(typed, format);
    // The dialog asked about the name it returned; with the extension added that is
    // another file, which may exist too.
    std::error_code ignored;
    if (name != typed && std::filesystem::exists(name, ignored) && !window_.askReplaceFile(name))
        return false;
    openFilterEntry_ = saveFilterEntry_ = entry;
    flow_.flags().fileName = name;
    flow_.UpdateCaption();
    MOveTree &game = flow_.game();
    game.setRecordFormat(format);
    // The caption already names the file: a failure must not pass for a save.
    const bool saved = game.Save(name) == 1;
    if (saved)
        MarkUnchanged();
    else
        flow_.ShowMessageWindow("can't save game data to " + name);
    flow_.Redraw();
    return saved;
}

void RecordCommands::NewGame()
{
    if (ConfirmDiscard())
        flow_.NewGame();
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
    if (!ConfirmDiscard())
        return;
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
    // The clipboard still holds it, as a file would.
    MarkUnchanged();
}

bool RecordCommands::Changed() const { return flow_.game().structureChanges() != unchangedAt_; }

void RecordCommands::MarkUnchanged() { unchangedAt_ = flow_.game().structureChanges(); }

bool RecordCommands::ConfirmDiscard()
{
    if (!Changed())
        return true;
    switch (window_.askSaveChanges()) {
    case GameWindow::SaveChanges::Save: return Save();
    case GameWindow::SaveChanges::Discard: return true;
    case GameWindow::SaveChanges::Cancel: break;
    }
    return false;
}

int RecordCommands::saveFilterEntry() const
{
    if (saveFilterEntry_ != 0)
        return saveFilterEntry_;
    // The options' "Default File Format" counts from 0 (SGF), the filter entries from 1.
    const int format = flow_.settings().get(Settings::DefaultGameFileFormat);
    return format >= 0 && format <= 2 ? format + 1 : DefaultRecordFilterEntry;
}

std::string RecordCommands::dialogDirectory() const { return flow_.settings().get(Settings::GameFileDirectory); }

void RecordCommands::rememberDirectoryOf(const std::string &fileName)
{
    const std::string directory = std::filesystem::path(fileName).parent_path().string();
    if (!directory.empty())
        flow_.settings().set(Settings::GameFileDirectory, directory);
}

} // namespace korvana
