#include "app/TMainForm.h"

#include "app/ClientArea.h"

#include "dialogs/TConfirmDatabaseUpdate.h"
#include "dialogs/THelpBrowser.h"
#include "dialogs/TMyMessageWindow.h"
#include "dialogs/TPagesDlg.h"
#include "dialogs/TSelectBlackOrWhiteForm.h"
#include "dialogs/TTreeForm.h"
#include "dialogs/TWhichRemoveForm.h"
#include "dialogs/WindowPlacement.h"
#include "game/Kumo98Dll.h"
#include "record/RecordFileName.h"
#include "settings/ProgramPaths.h"
#include "dialogs/ColourChooser.h"
#include "dialogs/QColourDialogChooser.h"
#include "dialogs/TOptionForm.h"
#include "view/AnalysisPanel.h"
#include "view/BoardPaintBox.h"
#include "view/MoveList.h"
#include "view/QtColour.h"
#include "view/StatusLine.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QScreen>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <string_view>
#include <utility>
#include <iostream>

namespace korvana {

namespace {

/// Tool bar pictures, drawn here so they look the same on every desktop: a 24 x 24
/// picture painted by `draw` on a transparent ground.
template <typename Draw> QIcon drawnIcon(Draw draw)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        draw(p);
    }
    return QIcon(pixmap);
}

QIcon stoneIcon(QColor colour)
{
    return drawnIcon([&](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(colour);
        p.drawEllipse(QRectF(3.5, 3.5, 17, 17));
    });
}

QIcon boardIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(Qt::black);
        p.setBrush(qtColour(DefaultBoardColour));
        p.drawRect(2, 2, 19, 19);
        for (int k = 6; k <= 18; k += 4) {
            p.drawLine(6, k, 18, k);
            p.drawLine(k, 6, k, 18);
        }
    });
}

QIcon flagIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(80, 60, 40), 2));
        p.drawLine(QPointF(6, 3), QPointF(6, 22));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        QPainterPath flag;
        flag.moveTo(7, 4);
        flag.cubicTo(11, 2, 15, 7, 20, 5);
        flag.lineTo(20, 13);
        flag.cubicTo(15, 15, 11, 10, 7, 12);
        flag.closeSubpath();
        p.drawPath(flag);
    });
}

QIcon backIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 170));
        p.drawPolygon(QPolygonF({{3, 12}, {12, 4}, {12, 9}, {21, 9}, {21, 15}, {12, 15}, {12, 20}}));
    });
}

QIcon folderIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{2.5, 6.5}, {9.5, 6.5}, {11.5, 8.5}, {21.5, 8.5}, {21.5, 19.5}, {2.5, 19.5}}));
    });
}

QIcon diskIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(60, 80, 140));
        p.drawRect(3, 3, 18, 18);
        p.setBrush(Qt::white);
        p.drawRect(7, 3, 10, 7);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(6, 14, 12, 7);
    });
}

/// Qt's filter list from the record dialogs' "description|pattern|..." list.
QStringList nameFilters()
{
    const QStringList parts = QString::fromLatin1(RecordFileFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The descriptions already show their pattern, which is what Qt filters by.
        const QString &description = parts[i];
        filters << (description.endsWith(QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    }
    return filters;
}

/// The open dialog also reads Gomocup records and lets any file be tried.
QStringList openNameFilters()
{
    return nameFilters() << QStringLiteral("Gomocup record (*.psq)") << QStringLiteral("All files (*)");
}

int filterIndex(const QStringList &filters, const QString &filter, int fallback)
{
    const qsizetype index = filters.indexOf(filter);
    return index >= 0 ? static_cast<int>(index) + 1 : fallback;
}

} // namespace

TMainForm::TMainForm(const std::string &programPath, QWidget *parent, Kumo98Dll *library)
    : QMainWindow(parent), library_(library ? *library : Kumo98Dll::instance()),
      programDirectory_(directoryPart(programPath)), flow_(std::make_unique<GameFlow>(*this, nullptr, &library_)),
      view_(flow_->settings())
{
    setObjectName(QStringLiteral("MainForm"));

    auto *central = new ClientArea(this);
    paintBox_ = new BoardPaintBox(view_, central);
    paintBox_->move(0, 0);
    connect(paintBox_, &BoardPaintBox::pressed, this, &TMainForm::boardPressed);
    connect(paintBox_, &BoardPaintBox::pictureSizeWanted, this, [this](QSize devicePixels) {
        view_.setBoxSize(devicePixels);
        flow_->Redraw();
    });
    QWidget *panel = buildPanel(central);
    central->setParts(paintBox_, panel, moveList_);
    setCentralWidget(central);
    resize(central->designedWidth(), height()); // not the platform's default width; the height follows below
    statusLine_ = new StatusLine(this);
    setStatusBar(statusLine_);
    buildMenus();
    buildToolBar();
    buildPopupMenu();
    buildAnalysisDock();

    // 1. Settings, then the database directory beside the program (or its per-user stand-in).
    KvParam &settings = flow_->settings();
    settings.SetPath(programPath);
    settings.Load();
    flow_->SetUpDatabase(programDirectory(directoryPart(programPath)));
    // 2. An empty game.
    flow_->ResetGame();
    // 3. The settings' check marks.
    applySettingsToMenus();
    // 5. Files dropped on the window (the command line, step 4, is the caller's).
    setAcceptDrops(true);
    // The window reads typed coordinates before any of its controls.
    qApp->installEventFilter(this);

    fitWindowHeight();
    restorePlacement();
    flow_->Redraw();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    if (treeForm_)
        treeForm_->storePlacement();
    if (saveSettingsAtExit_)
        flow_->settings().Save();
    // Its rows read the record, which goes with the flow.
    delete std::exchange(treeForm_, nullptr);
    flow_.reset();
}

void TMainForm::setDialogs(TMyMessageWindow *message, TSelectBlackOrWhiteForm *colour, TConfirmDatabaseUpdate *update,
                           TWhichRemoveForm *remove)
{
    messageWindow_ = message;
    colourForm_ = colour;
    updateForm_ = update;
    removeForm_ = remove;
}

// --- Layout -------------------------------------------------------------------

QWidget *TMainForm::buildPanel(QWidget *central)
{
    auto *panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setGeometry(BoardView::BoxWidth, 0, PanelWidth, BoardView::BoxHeight);

    auto label = [panel](const QString &text, const char *name, int x, int y, int width) {
        auto *l = new QLabel(text, panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(x, y, width, 18);
        return l;
    };
    auto stone = [panel](QColor colour, int y) {
        auto *l = new QLabel(panel);
        l->setPixmap(stoneIcon(colour).pixmap(16, 16));
        l->setGeometry(6, y + 1, 16, 16);
    };
    QFont bold = font();
    bold.setBold(true);

    stone(Qt::black, 10);
    label(QStringLiteral("Black"), "BlackLabel", 26, 10, 40)->setFont(bold);
    blackPlayer_ = label(QString::fromLatin1(GameFlow::BlackPlayerCaption), "BlackPlayer", 70, 10, 86);
    blackTime_ = label(QStringLiteral("Thinking Time"), "BlackTime", 70, 30, 86);
    stone(Qt::white, 54);
    label(QStringLiteral("White"), "WhiteLabel", 26, 54, 40)->setFont(bold);
    whitePlayer_ = label(QString::fromLatin1(GameFlow::WhitePlayerCaption), "WhitePlayer", 70, 54, 86);
    whiteTime_ = label(QStringLiteral("Thinking Time"), "WhiteTime", 70, 74, 86);

    moveList_ = new MoveList(panel);
    connect(moveList_, &MoveList::lineClicked, this, [this](int k) { flow_->GoToLine(k); });
    return panel;
}

QAction *TMainForm::addAction(QMenu *menu, const QString &text, const char *name)
{
    QAction *item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

QAction *TMainForm::addToggle(QMenu *menu, const QString &text, const char *name, SettingKey<bool> key)
{
    QAction *item = addAction(menu, text, name);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item, key] { toggleView(item, key); });
    return item;
}

void TMainForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    // The desktop's usual keys where the menus have none of their own.
    auto shortcut = [](QAction *item, QKeySequence keys) {
        item->setShortcut(keys);
        return item;
    };
    connect(shortcut(addAction(file, QStringLiteral("&New Game"), "New Game"), Qt::CTRL | Qt::Key_N),
            &QAction::triggered, this, [this] { flow_->records().NewGame(); });
    connect(shortcut(addAction(file, QStringLiteral("&Open Game"), "Open Game"), Qt::CTRL | Qt::Key_O),
            &QAction::triggered, this, &TMainForm::OpenGameCommand);
    connect(shortcut(addAction(file, QStringLiteral("&Save Game"), "Save Game"), Qt::CTRL | Qt::Key_S),
            &QAction::triggered, this, &TMainForm::SaveGameCommand);
    file->addSeparator();
    connect(shortcut(addAction(file, QStringLiteral("E&xit"), "Exit"), Qt::CTRL | Qt::Key_Q), &QAction::triggered, this,
            &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *copy = addAction(edit, QStringLiteral("&Copy"), "Copy");
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(copy, &QAction::triggered, this, &TMainForm::CopyGame);
    QAction *paste = addAction(edit, QStringLiteral("&Paste"), "Paste");
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(paste, &QAction::triggered, this, &TMainForm::PasteGame);

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    addToggle(viewMenu, QStringLiteral("&Numbering"), "Numbering", Settings::ViewBoardNumbering);
    addToggle(viewMenu, QStringLiteral("&Latest Move"), "Latest Move", Settings::ViewLatestMove);
    addToggle(viewMenu, QStringLiteral("Input &Assistant"), "Input Assistant", Settings::InputAssistant);
    addToggle(viewMenu, QStringLiteral("&Warning"), "Warning", Settings::ViewWarning);
    viewToolBar_ = addToggle(viewMenu, QStringLiteral("&Tool bar"), "Tool bar", Settings::ViewToolBar);
    addToggle(viewMenu, QStringLiteral("&Axis Character"), "Axis Character", Settings::ViewAxisCharacter);
    viewGameTree_ = addToggle(viewMenu, QStringLiteral("&Game Tree"), "Game Tree", Settings::ViewGameTree);
    addToggle(viewMenu, QStringLiteral("&Forbidden Points"), "Forbidden Points", Settings::ViewForbiddenPoints);
    viewAnalysis_ = addAction(viewMenu, QStringLiteral("Anal&ysis"), "Analysis");
    viewAnalysis_->setCheckable(true);
    connect(viewAnalysis_, &QAction::triggered, this, &TMainForm::SetAnalysisShown);

    QMenu *run = menuBar()->addMenu(QStringLiteral("&Run"));
    QMenu *begin = run->addMenu(QStringLiteral("&Begin"));
    QAction *black = addAction(begin, QStringLiteral("&Black"), "Black");
    black->setIcon(stoneIcon(Qt::black));
    black->setToolTip(QStringLiteral("Begin with Black"));
    connect(black, &QAction::triggered, this, [this] { flow_->BeginBlack(); });
    QAction *white = addAction(begin, QStringLiteral("&White"), "White");
    white->setIcon(stoneIcon(Qt::white));
    white->setToolTip(QStringLiteral("Begin with White"));
    connect(white, &QAction::triggered, this, [this] { flow_->BeginWhite(); });
    QAction *back = addAction(run, QStringLiteral("&Previous move"), "Previous move");
    back->setIcon(backIcon());
    back->setToolTip(QStringLiteral("Move Back"));
    connect(back, &QAction::triggered, this, [this] { flow_->MoveBack(); });
    QAction *next = addAction(run, QStringLiteral("&Next move"), "Next move");
    next->setIcon(QIcon(backIcon().pixmap(24, 24).transformed(QTransform().scale(-1, 1))));
    next->setToolTip(QStringLiteral("Next move"));
    connect(next, &QAction::triggered, this, [this] { flow_->GoForward(); });
    giveUp_ = addAction(run, QStringLiteral("&Give up"), "Give up");
    giveUp_->setIcon(flagIcon());
    giveUp_->setToolTip(QStringLiteral("Give up"));
    giveUp_->setEnabled(false);
    connect(giveUp_, &QAction::triggered, this, [this] { flow_->GiveUp(); });
    run->addSeparator();
    connect(addAction(run, QStringLiteral("&Find forced win"), "Find forced win"), &QAction::triggered, this,
            [this] { flow_->FindForcedWin(); });

    QMenu *database = menuBar()->addMenu(QStringLiteral("&Database"));
    viewDatabase_ = addToggle(database, QStringLiteral("&View Database"), "View Database", Settings::ViewDatabase);
    enableEditing_ = addToggle(database, QStringLiteral("&Enable Editing"), "Enable Editing", Settings::EnableEditing);
    enableEditing_->setEnabled(false);
    autoUpdate_ = addToggle(database, QStringLiteral("&Automatically Update"), "Automatically Update",
                            Settings::AutomaticallyUpdate);
    autoUpdate_->setEnabled(false);
    database->addSeparator();
    connect(addAction(database, QStringLiteral("&Help"), "Database Help"), &QAction::triggered, this,
            [this] { ShowHelp(EditorHelpFile); });

    // The rule, the sound, the colour and the information window: hidden or
    // disabled only in the preview of the old menus (applyMenuPreview).
    QMenu *option = menuBar()->addMenu(QStringLiteral("&Option"));
    QMenu *rule = option->addMenu(QStringLiteral("&Rule"));
    rule->menuAction()->setObjectName(QStringLiteral("Rule"));
    renju_ = addAction(rule, QStringLiteral("&Renju"), "Renju");
    renju_->setCheckable(true);
    connect(renju_, &QAction::triggered, this, [this] { SetRule(GameRule::Renju); });
    gomoku_ = addAction(rule, QStringLiteral("Gomoku"), "Gomoku");
    gomoku_->setCheckable(true);
    connect(gomoku_, &QAction::triggered, this, [this] { SetRule(GameRule::Gomoku); });
    wc1998_ = addAction(rule, QStringLiteral("&WC 1998"), "WC 1998");
    wc1998_->setCheckable(true);
    connect(wc1998_, &QAction::triggered, this, [this] { SetRule(GameRule::Wc1998); });
    addToggle(option, QStringLiteral("&Sound"), "Sound", Settings::SoundEffect);
    QAction *colour = addAction(option, QStringLiteral("&Color"), "Color");
    connect(colour, &QAction::triggered, this, &TMainForm::ChooseBoardColour);
    QAction *information = addAction(option, QStringLiteral("&Information"), "Information");
    connect(information, &QAction::triggered, this, &TMainForm::ShowInformationWindow);
    connect(addAction(option, QStringLiteral("&Option"), "Option"), &QAction::triggered, this, &TMainForm::ShowOptions);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(shortcut(addAction(help, QStringLiteral("&Help"), "Help"), Qt::Key_F1), &QAction::triggered, this,
            [this] { ShowHelp(HelpFile); });
    connect(addAction(help, QStringLiteral("&About"), "About"), &QAction::triggered, this, &TMainForm::ShowAbout);
}

void TMainForm::buildToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setFixedHeight(ToolBarHeight);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // The tool bar's New Game and Open settle database edits first; the menu items do not.
    QAction *newGame = toolBar_->addAction(boardIcon(), QStringLiteral("New Game"));
    newGame->setObjectName(QStringLiteral("ToolNewGame"));
    connect(newGame, &QAction::triggered, this, [this] {
        flow_->SettleDatabaseEdits();
        flow_->records().NewGame();
    });
    QAction *open = toolBar_->addAction(folderIcon(), QStringLiteral("Open Game File"));
    open->setObjectName(QStringLiteral("ToolOpenGame"));
    connect(open, &QAction::triggered, this, [this] {
        flow_->SettleDatabaseEdits();
        OpenGameCommand();
    });
    QAction *save = toolBar_->addAction(diskIcon(), QStringLiteral("Save Game Data"));
    save->setObjectName(QStringLiteral("ToolSaveGame"));
    connect(save, &QAction::triggered, this, &TMainForm::SaveGameCommand);
    toolBar_->addSeparator();
    toolBar_->addAction(action(QStringLiteral("Black")));
    toolBar_->addAction(action(QStringLiteral("White")));
    toolBar_->addAction(giveUp_);
    toolBar_->addAction(action(QStringLiteral("Previous move")));
    toolBar_->addAction(action(QStringLiteral("Next move")));
}

void TMainForm::buildPopupMenu()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    connect(addAction(popup_, QStringLiteral("Move back"), "Popup Move back"), &QAction::triggered, this,
            [this] { flow_->MoveBack(); });
    connect(addAction(popup_, QStringLiteral("Give up"), "Popup Give up"), &QAction::triggered, this,
            [this] { flow_->GiveUp(); });
    saveDatabase_ = addAction(popup_, QStringLiteral("Save Database"), "Popup Save Database");
    saveDatabase_->setEnabled(false);
    connect(saveDatabase_, &QAction::triggered, this, [this] { flow_->SaveDatabase(); });
    popup_->addSeparator();
    addAction(popup_, QStringLiteral("Cancel"), "Popup Cancel");
    paintBox_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(paintBox_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { popup_->popup(paintBox_->mapToGlobal(at)); });
}

void TMainForm::applySettingsToMenus()
{
    const KvParam &settings = flow_->settings();
    action(QStringLiteral("Numbering"))->setChecked(settings.get(Settings::ViewBoardNumbering));
    action(QStringLiteral("Latest Move"))->setChecked(settings.get(Settings::ViewLatestMove));
    action(QStringLiteral("Warning"))->setChecked(settings.get(Settings::ViewWarning));
    action(QStringLiteral("Axis Character"))->setChecked(settings.get(Settings::ViewAxisCharacter));
    viewGameTree_->setChecked(settings.get(Settings::ViewGameTree));
    action(QStringLiteral("Forbidden Points"))->setChecked(settings.get(Settings::ViewForbiddenPoints));
    const bool preview = settings.get(Settings::PreviewMenus);
    applyMenuPreview(preview);
    SetAnalysisShown(!preview && settings.get(Settings::ViewAnalysis));
    setToolBarShown(settings.get(Settings::ViewToolBar));
    applyOptionMarks();
    // Each setting only switches on what its item leads to; the designed state is all off.
    if (settings.get(Settings::ViewDatabase)) {
        viewDatabase_->setChecked(true);
        enableEditing_->setEnabled(true);
    }
    if (settings.get(Settings::EnableEditing)) {
        enableEditing_->setChecked(true);
        autoUpdate_->setEnabled(true);
        saveDatabase_->setEnabled(true);
    }
    autoUpdate_->setChecked(settings.get(Settings::AutomaticallyUpdate));
}

void TMainForm::applyOptionMarks()
{
    const KvParam &settings = flow_->settings();
    action(QStringLiteral("Input Assistant"))->setChecked(settings.get(Settings::InputAssistant));
    action(QStringLiteral("Sound"))->setChecked(settings.get(Settings::SoundEffect));
    const GameRule rule = settings.get(Settings::Rule);
    gomoku_->setChecked(rule == GameRule::Gomoku);
    wc1998_->setChecked(rule == GameRule::Wc1998);
    renju_->setChecked(rule != GameRule::Gomoku && rule != GameRule::Wc1998);
}

void TMainForm::applyMenuPreview(bool preview)
{
    action(QStringLiteral("Rule"))->setVisible(!preview);
    gomoku_->setEnabled(!preview);
    wc1998_->setEnabled(!preview);
    action(QStringLiteral("Sound"))->setVisible(!preview);
    action(QStringLiteral("Color"))->setVisible(!preview);
    QAction *information = action(QStringLiteral("Information"));
    information->setVisible(!preview);
    information->setEnabled(!preview);
    for (const char *added : {"Forbidden Points", "Analysis", "Find forced win"})
        action(QLatin1String(added))->setVisible(!preview);
}

void TMainForm::buildAnalysisDock()
{
    analysisDock_ = new QDockWidget(QStringLiteral("Analysis"), this);
    analysisDock_->setObjectName(QStringLiteral("AnalysisDock"));
    // View > Analysis is its only switch, so closing it cannot leave the engine running.
    analysisDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    analysisPanel_ = new AnalysisPanel(analysisDock_);
    analysisDock_->setWidget(analysisPanel_);
    analysisDock_->setFixedWidth(AnalysisWidth);
    addDockWidget(Qt::RightDockWidgetArea, analysisDock_);
    analysisDock_->hide();
    connect(analysisPanel_, &AnalysisPanel::showOnBoardChanged, this,
            [this](bool on) { flow_->analysis().SetShowOnBoard(on); });
}

void TMainForm::SetAnalysisShown(bool shown)
{
    viewAnalysis_->setChecked(shown);
    flow_->settings().set(Settings::ViewAnalysis, shown);
    if (!shown)
        analysisPanel_->clear();
    // The panel widens the window rather than narrowing the board.
    const bool changed = analysisDock_->isHidden() == shown;
    const int wanted = width() + (changed ? (shown ? AnalysisWidth : -AnalysisWidth) : 0);
    analysisDock_->setVisible(shown);
    flow_->PositionShown();
    flow_->analysis().SetEnabled(shown);
    fitWindowHeight();
    if (changed && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(std::max(wanted, minimumWidth()), height());
}

void TMainForm::databaseItemsEnabled(bool editing, bool updating)
{
    enableEditing_->setEnabled(editing);
    autoUpdate_->setEnabled(updating);
    saveDatabase_->setEnabled(updating);
}

void TMainForm::setToolBarShown(bool shown)
{
    viewToolBar_->setChecked(shown);
    toolBar_->setVisible(shown);
    fitWindowHeight();
}

void TMainForm::fitWindowHeight()
{
    // The designed size is the least: the menu bar, the tool bar when shown, the board
    // and the status line. Showing or hiding the tool bar keeps the client area's size.
    const int menu = menuBar()->sizeHint().height();
    const int tools = viewToolBar_->isChecked() ? ToolBarHeight : 0;
    // The Analysis panel widens the window rather than narrowing the board.
    const int analysis = analysisDock_ && !analysisDock_->isHidden() ? AnalysisWidth : 0;
    const int client = static_cast<const ClientArea *>(centralWidget())->designedWidth();
    setMinimumSize(client + analysis, menu + tools + BoardView::BoxHeight + StatusLine::LineHeight);
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    // The width is the window's own: whatever sits beside the client area keeps its room.
    resize(std::max(width(), client + analysis),
           menu + tools + std::max(centralWidget()->height(), int(BoardView::BoxHeight)) + StatusLine::LineHeight);
}

void TMainForm::restorePlacement()
{
    // "left,top,width,height,maximised" of the last session; without it the designed
    // size at the place the system chooses.
    const std::optional<std::string> text = flow_->settings().text(Settings::MainFormPlacement);
    if (!text)
        return;
    std::array<int, 5> values{};
    const char *at = text->data();
    const char *end = at + text->size();
    for (size_t i = 0; i < values.size(); ++i) {
        const auto [next, error] = std::from_chars(at, end, values[i]);
        const bool last = i + 1 == values.size();
        // A damaged entry is ignored, not half applied.
        if (error != std::errc() || (last ? next != end : next == end || *next != ','))
            return;
        at = last ? next : next + 1;
    }
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QRect wanted(values[0], values[1], std::max(values[2], minimumWidth()), std::max(values[3], minimumHeight()));
    setGeometry(WindowPlacement::onScreen(wanted, screens));
    if (values[4])
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::storePlacement()
{
    // A window maximised from the start has no normal geometry of its own.
    const QRect normal = isMaximized() && normalGeometry().isValid() ? normalGeometry() : geometry();
    const std::string text = std::to_string(normal.left()) + ',' + std::to_string(normal.top()) + ',' +
                             std::to_string(normal.width()) + ',' + std::to_string(normal.height()) + ',' +
                             (isMaximized() ? '1' : '0');
    flow_->settings().set(Settings::MainFormPlacement, text);
}

QSize TMainForm::clientSize() const { return {width(), height() - menuBar()->height()}; }

QAction *TMainForm::action(const QString &name) const { return findChild<QAction *>(name); }

QString TMainForm::panelText(const QString &objectName) const
{
    const QLabel *label = findChild<QLabel *>(objectName);
    return label ? label->text() : QString();
}

void TMainForm::toggleView(QAction *item, SettingKey<bool> key)
{
    // The action has already flipped its check mark; the setting follows it.
    const bool on = item->isChecked();
    flow_->settings().set(key, on);
    if (item == viewToolBar_) {
        setToolBarShown(on);
        return;
    }
    if (item == viewGameTree_) {
        ShowGameTree(on);
        return;
    }
    if (item == viewDatabase_)
        databaseItemsEnabled(on, on);
    else if (item == enableEditing_)
        databaseItemsEnabled(enableEditing_->isEnabled(), on);
    flow_->Redraw();
}

// --- Input ----------------------------------------------------------------------

void TMainForm::boardPressed(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton)
        return;
    flow_->BoardClick(column, row, modifiers.testFlag(Qt::ShiftModifier));
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // A modal window in front: nobody is thinking at the board meanwhile.
    if (watched == this && (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked))
        flow_->PauseClock(event->type() == QEvent::WindowBlocked);
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // Only keys meant for this window, not for a dialog in front of it.
    if (static_cast<QWidget *>(watched)->window() != this)
        return false;
    return keyTyped(*static_cast<QKeyEvent *>(event));
}

bool TMainForm::keyTyped(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false; // shortcuts and menu accelerators
    if (key.key() == Qt::Key_Escape)
        return flow_->ClearForcedWin();
    if (key.key() == Qt::Key_Backspace) {
        // Backspace drops a typed column; without one it takes a move back.
        KvFlags &flags = flow_->flags();
        if (flags.pendingColumn != 'z')
            flags.pendingColumn = 'z';
        else
            flow_->MoveBack();
        return true;
    }
    // Studying the record: the arrows, Home and End walk it (Left as Move back).
    switch (key.key()) {
    case Qt::Key_Left: flow_->MoveBack(); return true;
    case Qt::Key_Right: flow_->GoForward(); return true;
    case Qt::Key_Home: flow_->GoHome(); return true;
    case Qt::Key_End: flow_->GoEnd(); return true;
    case Qt::Key_Up: flow_->GoVariation(-1); return true;
    case Qt::Key_Down: flow_->GoVariation(+1); return true;
    default: break;
    }
    const QString text = key.text();
    if (text.size() != 1 || text[0].unicode() < 0x21 || text[0].unicode() > 0x7e)
        return false;
    flow_->TypedKey(static_cast<char>(text[0].unicode()));
    return true;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    // Only the first dropped file is opened.
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            OpenGameFile(url.toLocalFile().toStdString());
            return;
        }
        break;
    }
}

void TMainForm::customEvent(QEvent *event)
{
    if (event->type() == RepaintRequest)
        flow_->Redraw();
    else
        QMainWindow::customEvent(event);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!flow_->records().ConfirmDiscard()) {
        event->ignore();
        return;
    }
    // Only a window the user saw has a place worth keeping.
    if (isVisible() && !testAttribute(Qt::WA_DontShowOnScreen))
        storePlacement();
    if (pages_)
        pages_->close();
    if (treeForm_)
        treeForm_->hide(); // not closed: it opens again at the next start
    // Leaving play mode also asks a running worker to stop.
    flow_->GiveUp();
    event->accept();
}

// --- Game files -------------------------------------------------------------------

void TMainForm::OpenGameFile(const std::string &fileName) { flow_->records().Open(fileName); }

void TMainForm::OpenFromCommandLine(const QStringList &arguments)
{
    if (arguments.size() >= 2 && !arguments[1].isEmpty())
        OpenGameFile(arguments[1].toStdString());
}

void TMainForm::OpenGameCommand() { flow_->records().OpenWithDialog(); }

void TMainForm::SaveGameCommand() { flow_->records().Save(); }

void TMainForm::CopyGame() { flow_->records().Copy(); }

void TMainForm::PasteGame() { flow_->records().Paste(); }

void TMainForm::ShowHelp(const std::string &relativeName)
{
    const std::string page = programDirectory_ + relativeName;
    if (openDocument(page))
        return;
    // Without an opener on the desktop the program shows the page itself.
    if (!helpBrowser_)
        helpBrowser_ = new THelpBrowser(this);
    if (!helpBrowser_->ShowPage(QString::fromStdString(page)))
        showMessageWindow("Can't open help files", "Korvana");
}

void TMainForm::ShowAbout()
{
    // The library's own text is not shown; the call only tells it it was asked.
    std::array<char, 256> text{};
    library_.About(text.data());
    showMessageWindow(VersionNotice);
}

TOptionForm &TMainForm::optionForm()
{
    if (!optionForm_)
        optionForm_ = new TOptionForm(this);
    return *optionForm_;
}

void TMainForm::ShowOptions()
{
    KvParam &settings = flow_->settings();
    const bool accepted = optionForm().ShowOptions(settings, frameGeometry());
    // The dialog may have changed what some check marks show.
    applyOptionMarks();
    if (accepted) {
        flow_->database().setDirectory(settings.get(Settings::DatabaseDirName));
        flow_->Redraw();
    }
}

void TMainForm::ChooseBoardColour()
{
    int chosen = 0;
    if (!askColour(flow_->settings().get(Settings::BoardColor), chosen))
        return;
    flow_->settings().set(Settings::BoardColor, chosen);
    flow_->Redraw();
}

void TMainForm::ShowInformationWindow()
{
    if (!pages_)
        pages_ = new TPagesDlg(flow_->flags(), this);
    pages_->ShowWindow();
}

void TMainForm::SetRule(GameRule rule)
{
    // The caption and a running game are left as they are.
    flow_->settings().set(Settings::Rule, rule);
    renju_->setChecked(rule == GameRule::Renju);
    gomoku_->setChecked(rule == GameRule::Gomoku);
    wc1998_->setChecked(rule == GameRule::Wc1998);
    flow_->opening().openingStep = OpeningProtocol::NoProposal;
}

// --- GameWindow -------------------------------------------------------------------

void TMainForm::setStatusText(const std::string &text) { statusLine_->setStatusText(QString::fromStdString(text)); }

void TMainForm::setPlayerLabels(const std::string &black, const std::string &white)
{
    blackPlayer_->setText(QString::fromStdString(black));
    whitePlayer_->setText(QString::fromStdString(white));
}

void TMainForm::setThinkingTimeLabel(char colour, const std::string &text)
{
    (colour == 'B' ? blackTime_ : whiteTime_)->setText(QString::fromStdString(text));
}

TMyMessageWindow &TMainForm::messageWindow()
{
    if (!messageWindow_)
        messageWindow_ = new TMyMessageWindow(this);
    return *messageWindow_;
}

void TMainForm::showMessageWindow(const std::string &text, const std::string &caption)
{
    if (messagesToTerminal_) {
        std::cerr << text << '\n';
        return;
    }
    messageWindow().ShowMessageWindow(QString::fromStdString(text), QString::fromStdString(caption), frameGeometry());
}

bool TMainForm::askColourIsBlack()
{
    if (!colourForm_)
        colourForm_ = new TSelectBlackOrWhiteForm(this);
    return colourForm_->ask(frameGeometry(), messageWindow().frameGeometry().size()) == 1;
}

bool TMainForm::askDatabaseUpdate()
{
    if (!updateForm_)
        updateForm_ = new TConfirmDatabaseUpdate(this);
    return updateForm_->ask(frameGeometry(), messageWindow().frameGeometry().size()) == 1;
}

int TMainForm::askWhichRemove()
{
    if (!removeForm_)
        removeForm_ = new TWhichRemoveForm(this);
    return removeForm_->ask(frameGeometry(), messageWindow().frameGeometry().size());
}

void TMainForm::beep(BeepKind) { QApplication::beep(); }

void TMainForm::redraw()
{
    statusLine_->repaint();
    const KvFlags &flags = flow_->flags();
    BoardOverlay overlay;
    overlay.mode = flags.overlayMode;
    overlay.viewTree = flags.treeMarks;
    const OpeningProtocol &opening = flow_->opening();
    overlay.openingStep = opening.openingStep;
    overlay.proposalA = Pos{opening.proposalA.x, opening.proposalA.y, opening.proposalA.colour};
    overlay.proposalB = Pos{opening.proposalB.x, opening.proposalB.y, opening.proposalB.colour};
    // Whatever path changed the position, the analysis follows the board.
    flow_->PositionShown();
    overlay.ghostLine = flow_->analysis().ghostLine();
    overlay.analysisMarks = flow_->analysis().marks();
    view_.paint(flow_->game(), overlay);
    if (flow_->settings().get(Settings::ViewDatabase)) {
        const AData &position = flow_->position();
        std::vector<uint8_t> candidates;
        for (int i = 0; i < position.candidateCount(); ++i)
            candidates.push_back(position.candidatePoint(i));
        view_.drawCandidates({}, candidates, false);
    }
    paintBox_->update();
}

void TMainForm::showAnalysis(const AnalysisReport &report, int moveCount)
{
    analysisPanel_->showReport(report, moveCount);
}

void TMainForm::moveListAppend(const std::string &line) { moveList_->appendLine(line); }

void TMainForm::moveListDeleteLast() { moveList_->deleteLastLine(); }

void TMainForm::moveListClear() { moveList_->clearLines(); }

void TMainForm::showMoveList(const std::vector<std::string> &lines, int current)
{
    moveList_->showLines(lines, current);
}

void TMainForm::gameTreeChanged()
{
    // A hidden window catches up when it is shown.
    if (treeForm_ && treeForm_->isVisible())
        treeForm_->refresh();
}

void TMainForm::setNavigationEnabled(bool enabled)
{
    // Previous move stays: during a game it takes back the user's move even while the computer thinks.
    action(QStringLiteral("Next move"))->setEnabled(enabled);
    moveList_->setClickable(enabled);
    if (treeForm_)
        treeForm_->setNavigationEnabled(enabled);
}

bool TMainForm::askYesNo(const std::string &text, const std::string &caption)
{
    return QMessageBox::question(this, QString::fromStdString(caption), QString::fromStdString(text)) ==
           QMessageBox::Yes;
}

void TMainForm::setTreeForm(TTreeForm *form)
{
    treeForm_ = form;
    treeForm_->attach(flow_->game(), flow_->settings());
    treeForm_->setNavigationEnabled(moveList_->clickable());
    connect(treeForm_, &TTreeForm::nodeClicked, this, [this](MOve *node) { flow_->GoToNode(node); });
    connect(treeForm_, &TTreeForm::deleteRequested, this, [this](MOve *node) { flow_->DeleteVariation(node); });
    connect(treeForm_, &TTreeForm::promoteRequested, this, [this](MOve *node) { flow_->PromoteVariation(node); });
    connect(treeForm_, &TTreeForm::closed, this, [this] {
        viewGameTree_->setChecked(false);
        flow_->settings().set(Settings::ViewGameTree, false);
    });
}

TTreeForm &TMainForm::treeForm()
{
    if (!treeForm_)
        setTreeForm(new TTreeForm(this));
    return *treeForm_;
}

void TMainForm::RestoreGameTree()
{
    if (viewGameTree_->isChecked())
        ShowGameTree(true);
}

void TMainForm::ShowGameTree(bool shown)
{
    viewGameTree_->setChecked(shown);
    flow_->settings().set(Settings::ViewGameTree, shown);
    if (shown)
        treeForm().showPlaced();
    else if (treeForm_)
        treeForm_->hide();
}

void TMainForm::setCaption(const std::string &caption) { setWindowTitle(QString::fromStdString(caption)); }

void TMainForm::setGiveUpEnabled(bool enabled) { giveUp_->setEnabled(enabled); }

GameWindow::SaveChanges TMainForm::askSaveChanges()
{
    if (messagesToTerminal_)
        return SaveChanges::Discard;
    QMessageBox box(QMessageBox::Question, QStringLiteral("KORVANA"), QStringLiteral("save changes?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SaveChangesQuestion"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveChanges::Save;
    case QMessageBox::Discard: return SaveChanges::Discard;
    default: return SaveChanges::Cancel;
    }
}

bool TMainForm::askReplaceFile(const std::string &name)
{
    if (messagesToTerminal_)
        return false;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Save Game"),
                    QString::fromStdString(name) + QStringLiteral(" already exists. Replace it?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("ReplaceFileQuestion"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::string TMainForm::askOpenFileName()
{
    const QStringList filters = openNameFilters();
    QFileDialog dialog(this, QStringLiteral("Open Game"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    RecordCommands &records = flow_->records();
    if (const std::string directory = records.dialogDirectory(); !directory.empty())
        dialog.setDirectory(QString::fromStdString(directory));
    dialog.selectNameFilter(filters.value(records.openFilterEntry() - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    records.setOpenFilterEntry(filterIndex(filters, dialog.selectedNameFilter(), records.openFilterEntry()));
    return dialog.selectedFiles().constFirst().toStdString();
}

std::string TMainForm::askSaveFileName(int &filterEntry)
{
    const QStringList filters = nameFilters();
    QFileDialog dialog(this, QStringLiteral("Save Game"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (const std::string directory = flow_->records().dialogDirectory(); !directory.empty())
        dialog.setDirectory(QString::fromStdString(directory));
    dialog.selectNameFilter(filters.value(filterEntry - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    filterEntry = filterIndex(filters, dialog.selectedNameFilter(), filterEntry);
    return dialog.selectedFiles().constFirst().toStdString();
}

bool TMainForm::askColour(int initial, int &chosen)
{
    const std::optional<QColor> colour =
        QColourDialogChooser::instance().chooseColour(qtColour(StoredColour(initial)), this);
    if (!colour)
        return false;
    chosen = storedColour(*colour).stored();
    return true;
}

std::string TMainForm::clipboardText() { return QApplication::clipboard()->text().toStdString(); }

void TMainForm::setClipboardText(const std::string &text)
{
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

bool TMainForm::openDocument(const std::string &path)
{
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TMainForm::postToGuiThread(std::function<void()> call)
{
    QMetaObject::invokeMethod(
        this, [call = std::move(call)] { call(); }, Qt::QueuedConnection);
}

} // namespace korvana
