#pragma once
// Every setting the program reads, by name and with the type of its value, so
// a caller writes settings.get(Settings::ViewWarning) and never spells a
// section or key. The file keeps its historical spellings (SountEffect).

#include <string>

namespace korvana {

/// The rule of play, Option/GameRule in the file.
enum class GameRule {
    Renju = 0,
    Gomoku = 1,
    Wc1998 = 2,
    Other, ///< any other number: no rule, moves are not taken
};

/// The rule of a number as the file stores it.
constexpr GameRule GameRuleOf(int stored)
{
    return stored >= 0 && stored <= 2 ? static_cast<GameRule>(stored) : GameRule::Other;
}

/// A point of the file ("x,y").
struct SettingPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SettingPoint &) const = default;
};

/// Where a setting lives in the file; T is the type of its value.
template <typename T> struct SettingKey {
    const char *section;
    const char *key;
};

namespace Settings {
inline constexpr SettingKey<std::string> Version{"Korvana", "Version"};
inline constexpr SettingKey<int> Language{"System", "Language"};
inline constexpr SettingKey<int> DefaultGameFileFormat{"System", "DefaultGameFileFormat"};
inline constexpr SettingKey<std::string> DefaultClipboardTextFormat{"System", "DefaultClipboardTextFormat"};
/// The game file dialogs' last directory; no default, so it is written once a dialog was used.
inline constexpr SettingKey<std::string> GameFileDirectory{"System", "GameFileDirectory"};
inline constexpr SettingKey<bool> ViewBoardNumbering{"System", "ViewBoardNumbering"};
inline constexpr SettingKey<bool> ViewLatestMove{"System", "ViewLatestMove"};
inline constexpr SettingKey<bool> ViewWarning{"System", "ViewWarning"};
inline constexpr SettingKey<bool> ViewToolBar{"System", "ViewToolBar"};
inline constexpr SettingKey<bool> ViewAxisCharacter{"System", "ViewAxisCharacter"};
inline constexpr SettingKey<bool> ViewGameTree{"System", "ViewGameTree"};
inline constexpr SettingKey<bool> ViewForbiddenPoints{"System", "ViewForbiddenPoints"};
inline constexpr SettingKey<bool> ViewAnalysis{"System", "ViewAnalysis"};
/// On: the menus and the options dialog as they were before the rule, sound,
/// colour and analysis items were in reach.
inline constexpr SettingKey<bool> PreviewMenus{"System", "PreviewMenus"};
inline constexpr SettingKey<GameRule> Rule{"Option", "GameRule"};
inline constexpr SettingKey<bool> InputAssistant{"Option", "InputAssistant"};
inline constexpr SettingKey<bool> SoundEffect{"Option", "SountEffect"};
/// Colours as StoredColour keeps them (0x00BBGGRR).
inline constexpr SettingKey<int> BoardColor{"Option", "BoardColor"};
inline constexpr SettingKey<int> DefaultBoardColor{"Option", "DefaultBoardColor"};
/// Level 1..5 of the computer player.
inline constexpr SettingKey<int> Strength{"Option", "Strength"};
/// Milliseconds the engine library thinks per move; ForcedWinTime those of a forced-win search.
inline constexpr SettingKey<int> LibraryMoveTime{"Option", "LibraryMoveTime"};
inline constexpr SettingKey<int> ForcedWinTime{"Option", "ForcedWinTime"};
inline constexpr SettingKey<std::string> DatabaseDirName{"Database", "DatabaseDirName"};
inline constexpr SettingKey<bool> ViewDatabase{"Database", "ViewDatabase"};
inline constexpr SettingKey<bool> EnableEditing{"Database", "EnableEditing"};
inline constexpr SettingKey<bool> AutomaticallyUpdate{"Database", "AutomaticallyUpdate"};
inline constexpr SettingKey<int> NewDataID{"Database", "NewDataID"};
inline constexpr SettingKey<SettingPoint> PosWinForm{"WIN32", "PosWinForm"};
inline constexpr SettingKey<SettingPoint> PosDBDirForm{"WIN32", "PosDBDirForm"};
inline constexpr SettingKey<SettingPoint> PosTreeForm{"WIN32", "PosTreeForm"};
inline constexpr SettingKey<SettingPoint> SizeTreeForm{"WIN32", "SizeTreeForm"};
/// The main window's "left,top,width,height,maximised".
inline constexpr SettingKey<std::string> MainFormPlacement{"WIN32", "MainForm"};
} // namespace Settings

} // namespace korvana
