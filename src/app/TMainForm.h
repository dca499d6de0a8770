#pragma once
// TMainForm: the main window. It owns the game flow (and through it the
// settings, the game record and the database), lays out the board, the side
// panel with the move list and the status line, turns menu, tool bar, pop-up
// menu, mouse, keyboard and dropped files into game-flow calls, and answers
// the flow's requests through GameWindow. Every modal window, the clipboard
// and the desktop go through the GameWindow methods, so a test can answer
// them by overriding those.

#include "game/GameFlow.h"
#include "game/GameWindow.h"
#include "view/BoardView.h"

#include <QEvent>
#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;

namespace korvana {

class AnalysisPanel;
class BoardPaintBox;
class Kumo98Dll;
class MoveList;
class StatusLine;
class TConfirmDatabaseUpdate;
class THelpBrowser;
class TMyMessageWindow;
class TOptionForm;
class TPagesDlg;
class TSelectBlackOrWhiteForm;
class TTreeForm;
class TWhichRemoveForm;

class TMainForm : public QMainWindow, public GameWindow {
    Q_OBJECT
public:
    /// The repaint request another window posts (the information window after a display change).
    static constexpr QEvent::Type RepaintRequest = static_cast<QEvent::Type>(QEvent::User + 1000);

    static constexpr int ClientHeight = 401; ///< designed height without the menu bar, tool bar shown
    static constexpr int ToolBarHeight = 33;
    static constexpr int PanelWidth = 159;    ///< the side panel's least width; the move list may widen it
    static constexpr int AnalysisWidth = 250; ///< the Analysis panel beside the move list

    /// The version notice of About.
    static constexpr const char *VersionNotice = "Korvana3 for Preview Release\nVersion 3.0PR1.0";
    /// Help files, relative to the program's directory.
    static constexpr const char *HelpFile = "help/help_j.html";
    static constexpr const char *EditorHelpFile = "help/editor.html";

    /// Builds the window and starts as the program does: settings of the program at
    /// `programPath` (file beside it, or the per-user stand-in), database directory,
    /// empty game, settings applied to the menus. Not shown. `library` defaults to the
    /// program's engine library.
    explicit TMainForm(const std::string &programPath, QWidget *parent = nullptr, Kumo98Dll *library = nullptr);
    /// Writes the settings file (unless told not to), then frees the game flow and what it owns.
    ~TMainForm() override;

    /// The message and question windows the program created at start-up (borrowed).
    /// Windows not given are created on first use.
    void setDialogs(TMyMessageWindow *message, TSelectBlackOrWhiteForm *colour, TConfirmDatabaseUpdate *update,
                    TWhichRemoveForm *remove);
    /// A run that must leave the settings file alone (a screenshot) turns this off.
    void setSettingsSavedAtExit(bool saved) { saveSettingsAtExit_ = saved; }
    /// Messages go to standard error instead of a modal window (a screenshot run has no one to close it).
    void setMessagesToTerminal(bool on) { messagesToTerminal_ = on; }
    /// The options dialog made at start-up (borrowed); made on first use when not given.
    void setOptionForm(TOptionForm *form) { optionForm_ = form; }
    /// The game-tree window made at start-up (borrowed; freed with the window, before the
    /// record it shows). Made on first use when not given.
    void setTreeForm(TTreeForm *form);
    /// The game-tree window, made on first use.
    TTreeForm &treeForm();
    /// View > Game Tree: shows or hides the game-tree window.
    void ShowGameTree(bool shown);
    /// After the window is shown: the game-tree window too, when it was open at the last exit.
    void RestoreGameTree();

    /// Opens a game file: gives up, shows its name in the caption, reads it, lists its main
    /// line and shows its last position.
    void OpenGameFile(const std::string &fileName);
    /// Opens the first of the command-line arguments (after the program name), if any.
    void OpenFromCommandLine(const QStringList &arguments);

    // --- Commands of the menus, tool bar and pop-up menu ---------------------

    /// The open dialog; a chosen file is opened.
    void OpenGameCommand();
    /// The save dialog; the chosen filter entry decides the format and the extension.
    void SaveGameCommand();
    /// The game's moves onto the clipboard as text.
    void CopyGame();
    /// A game from the clipboard's text, replacing the current one when readable.
    void PasteGame();
    /// Opens a help file given relative to the program's directory: on the desktop, or,
    /// when the desktop cannot, in the program's own help window.
    void ShowHelp(const std::string &relativeName);
    /// The engine library's About, then the version notice.
    void ShowAbout();
    /// The options dialog, placed by WIN32/PosWinForm; OK moves the database.
    void ShowOptions();
    /// The colour dialog for the board colour.
    void ChooseBoardColour();
    /// Shows the information window, made on first use.
    void ShowInformationWindow();
    /// Option > Rule: stores the rule and moves the check mark; a proposal under way is dropped.
    void SetRule(GameRule rule);
    /// The same by the rule's number as the file stores it.
    void SetRule(int stored) { SetRule(GameRuleOf(stored)); }
    /// View > Analysis: the panel shown and the engine library analysing, or neither.
    void SetAnalysisShown(bool shown);

    /// Filter entry (1..3) the open and the save dialog start on.
    int openFilterEntry() const { return flow_->records().openFilterEntry(); }
    int saveFilterEntry() const { return flow_->records().saveFilterEntry(); }
    /// The board's pop-up menu.
    QMenu *popupMenu() const { return popup_; }
    /// The program's own help window; null until the desktop first failed to open a page.
    THelpBrowser *helpBrowser() const { return helpBrowser_; }
    /// The information window; null before its first use.
    TPagesDlg *informationWindow() const { return pages_; }
    /// The program's directory: the program path up to its last '/'.
    const std::string &programDir() const { return programDirectory_; }

    GameFlow &flow() { return *flow_; }
    const BoardView &view() const { return view_; }
    BoardPaintBox *paintBox() const { return paintBox_; }
    MoveList *moveList() const { return moveList_; }
    StatusLine *statusLine() const { return statusLine_; }
    QToolBar *toolBar() const { return toolBar_; }
    AnalysisPanel *analysisPanel() const { return analysisPanel_; }
    QDockWidget *analysisDock() const { return analysisDock_; }
    /// The window's area below the menu bar (what the layout sizes describe).
    QSize clientSize() const;
    /// Menu and tool bar actions by their menu text without '&' ("New Game", "Black", ...).
    QAction *action(const QString &name) const;
    /// Text of a labelled control of the side panel ("BlackPlayer", "WhiteTime", ...).
    QString panelText(const QString &objectName) const;

    // --- GameWindow --------------------------------------------------------
    void setStatusText(const std::string &text) override;
    void setPlayerLabels(const std::string &black, const std::string &white) override;
    void setThinkingTimeLabel(char colour, const std::string &text) override;
    void showMessageWindow(const std::string &text, const std::string &caption = "KORVANA") override;
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
    void setNavigationEnabled(bool enabled) override;
    bool askYesNo(const std::string &text, const std::string &caption) override;
    void setCaption(const std::string &caption) override;
    void setGiveUpEnabled(bool enabled) override;
    void showAnalysis(const AnalysisReport &report, int moveCount) override;
    void postToGuiThread(std::function<void()> call) override;
    /// Save / Discard / Cancel; a run without a user (a screenshot) discards unasked.
    SaveChanges askSaveChanges() override;
    bool askReplaceFile(const std::string &name) override;
    std::string askOpenFileName() override;
    std::string askSaveFileName(int &filterEntry) override;
    bool askColour(int initial, int &chosen) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string &text) override;
    /// Fails for a path that is no file, as the desktop cannot open it.
    bool openDocument(const std::string &path) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void customEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget *buildPanel(QWidget *central);
    void buildPopupMenu();
    void applySettingsToMenus();
    void applyOptionMarks();
    /// System/PreviewMenus: 1 hides and disables the items as the old menus had them.
    void applyMenuPreview(bool preview);
    void buildAnalysisDock();
    void toggleView(QAction *item, SettingKey<bool> key);
    void databaseItemsEnabled(bool editing, bool updating);
    void setToolBarShown(bool shown);
    void fitWindowHeight();
    void restorePlacement();
    void storePlacement();
    void boardPressed(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    bool keyTyped(const QKeyEvent &key);
    TMyMessageWindow &messageWindow();
    QAction *addAction(QMenu *menu, const QString &text, const char *name);
    QAction *addToggle(QMenu *menu, const QString &text, const char *name, SettingKey<bool> key);
    TOptionForm &optionForm();

    Kumo98Dll &library_;
    std::string programDirectory_;
    std::unique_ptr<GameFlow> flow_;
    BoardView view_;
    BoardPaintBox *paintBox_ = nullptr;
    MoveList *moveList_ = nullptr;
    StatusLine *statusLine_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    QLabel *blackPlayer_ = nullptr;
    QLabel *whitePlayer_ = nullptr;
    QLabel *blackTime_ = nullptr;
    QLabel *whiteTime_ = nullptr;
    QAction *giveUp_ = nullptr;
    QAction *viewToolBar_ = nullptr;
    QAction *viewDatabase_ = nullptr;
    QAction *enableEditing_ = nullptr;
    QAction *autoUpdate_ = nullptr;
    QAction *saveDatabase_ = nullptr; ///< in the pop-up menu
    QAction *renju_ = nullptr;
    QAction *gomoku_ = nullptr;
    QAction *wc1998_ = nullptr;
    QAction *viewAnalysis_ = nullptr;
    QDockWidget *analysisDock_ = nullptr;
    AnalysisPanel *analysisPanel_ = nullptr;
    QMenu *popup_ = nullptr;

    TMyMessageWindow *messageWindow_ = nullptr;
    TSelectBlackOrWhiteForm *colourForm_ = nullptr;
    TConfirmDatabaseUpdate *updateForm_ = nullptr;
    TWhichRemoveForm *removeForm_ = nullptr;
    TOptionForm *optionForm_ = nullptr;
    TPagesDlg *pages_ = nullptr;
    THelpBrowser *helpBrowser_ = nullptr;
    bool saveSettingsAtExit_ = true;
    bool messagesToTerminal_ = false;
    TTreeForm *treeForm_ = nullptr;
    QAction *viewGameTree_ = nullptr;
};

} // namespace korvana
