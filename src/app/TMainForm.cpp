#include "app/TMainForm.h"

#include "dialogs/TConfirmDatabaseUpdate.h"
#include "dialogs/TMyMessageWindow.h"
#include "dialogs/TSelectBlackOrWhiteForm.h"
#include "dialogs/TWhichRemoveForm.h"
#include "settings/ProgramPaths.h"
#include "view/BoardPaintBox.h"
#include "view/MoveList.h"
#include "view/StatusLine.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QUrl>

#include <ctime>
#include <string_view>

namespace korvana {

namespace {

/// Tool bar pictures, drawn here so they look the same on every desktop.
QIcon stoneIcon(QColor colour)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(colour);
    p.drawEllipse(QRectF(3.5, 3.5, 17, 17));
    return QIcon(pixmap);
}

QIcon boardIcon()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(BoardView::colourFromSetting(962532));
    p.drawRect(2, 2, 19, 19);
    for (int k = 6; k <= 18; k += 4) {
        p.drawLine(6, k, 18, k);
        p.drawLine(k, 6, k, 18);
    }
    return QIcon(pixmap);
}

QIcon flagIcon()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
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
    return QIcon(pixmap);
}

QIcon backIcon()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 170));
    QPainterPath arrow;
    arrow.moveTo(3, 12);
    arrow.lineTo(12, 4);
    arrow.lineTo(12, 9);
    arrow.lineTo(21, 9);
    arrow.lineTo(21, 15);
    arrow.lineTo(12, 15);
    arrow.lineTo(12, 20);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return QIcon(pixmap);
}

} // namespace

TMainForm::TMainForm(const std::string &programPath, QWidget *parent)
    : QMainWindow(parent), flow_(std::make_unique<GameFlow>(*this)), view_(flow_->settings())
{
    setObjectName(QStringLiteral("MainForm"));

    auto *central = new QWidget(this);
    central->setFixedSize(ClientWidth, BoardView::BoxHeight);
    paintBox_ = new BoardPaintBox(view_, central);
    paintBox_->move(0, 0);
    connect(paintBox_, &BoardPaintBox::pressed, this, &TMainForm::boardPressed);
    buildPanel(central);
    setCentralWidget(central);
    statusLine_ = new StatusLine(this);
    setStatusBar(statusLine_);
    buildMenus();
    buildToolBar();

    // 1. Settings, then the database directory beside the program (or its per-user stand-in).
    KvParam &settings = flow_->settings();
    settings.SetPath(programPath);
    settings.Load();
    flow_->SetUpDatabase(programDirectory(directoryPart(programPath)));
    // 2. An empty game. The move stopwatch starts with the program, so that a first move
    // played outside play mode books the time since start-up, not since 1970.
    flow_->ResetGame();
    flow_->flags().stopwatchStart = flow_->flags().stopwatchLast = static_cast<double>(std::time(nullptr));
    // 3. The settings' check marks.
    applySettingsToMenus();
    // 5. Files dropped on the window (the command line, step 4, is the caller's).
    setAcceptDrops(true);
    // The window reads typed coordinates before any of its controls.
    qApp->installEventFilter(this);

    fitWindowHeight();
    flow_->Redraw();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    flow_->settings().Save();
    flow_.reset();
}

void TMainForm::setDialogs(TMyMessageWindow *message, TSelectBlackOrWhiteForm *colour,
                           TConfirmDatabaseUpdate *update, TWhichRemoveForm *remove)
{
    messageWindow_ = message;
    colourForm_ = colour;
    updateForm_ = update;
    removeForm_ = remove;
}

// --- Layout -------------------------------------------------------------------

void TMainForm::buildPanel(QWidget *central)
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
    blackPlayer_ = label(QStringLiteral("Black Player"), "BlackPlayer", 70, 10, 86);
    blackTime_ = label(QStringLiteral("Thinking Time"), "BlackTime", 70, 30, 86);
    stone(Qt::white, 54);
    label(QStringLiteral("White"), "WhiteLabel", 26, 54, 40)->setFont(bold);
    whitePlayer_ = label(QStringLiteral(" White Player"), "WhitePlayer", 70, 54, 86);
    whiteTime_ = label(QStringLiteral("Thinking Time"), "WhiteTime", 70, 74, 86);

    moveList_ = new MoveList(panel);
    moveList_->move((PanelWidth - MoveList::ListWidth) / 2, BoardView::BoxHeight - MoveList::ListHeight - 6);
}

QAction *TMainForm::addAction(QMenu *menu, const QString &text, const char *name)
{
    QAction *item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

void TMainForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(addAction(file, QStringLiteral("&New Game"), "New Game"), &QAction::triggered, this,
            [this] { flow_->NewGame(); });
    file->addSeparator();
    connect(addAction(file, QStringLiteral("E&xit"), "Exit"), &QAction::triggered, this, &QWidget::close);

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    struct Toggle {
        const char *text, *name, *section, *key;
    };
    static constexpr Toggle toggles[] = {
        {"&Numbering", "Numbering", "System", "ViewBoardNumbering"},
        {"&Latest Move", "Latest Move", "System", "ViewLatestMove"},
        {"Input &Assistant", "Input Assistant", "Option", "InputAssistant"},
        {"&Warning", "Warning", "System", "ViewWarning"},
        {"&Tool bar", "Tool bar", "System", "ViewToolBar"},
        {"&Axis Character", "Axis Character", "System", "ViewAxisCharacter"},
    };
    for (const Toggle &t : toggles) {
        QAction *item = addAction(viewMenu, QString::fromLatin1(t.text), t.name);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item, t] { toggleView(item, t.section, t.key); });
        if (std::string_view(t.key) == "ViewToolBar")
            viewToolBar_ = item;
    }

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
    addAction(run, QStringLiteral("&Next move"), "Next move");
    giveUp_ = addAction(run, QStringLiteral("&Give up"), "Give up");
    giveUp_->setIcon(flagIcon());
    giveUp_->setToolTip(QStringLiteral("Give up"));
    giveUp_->setEnabled(false);
    connect(giveUp_, &QAction::triggered, this, [this] { flow_->GiveUp(); });
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

    // The tool bar's New Game settles database edits first; the menu item does not.
    QAction *newGame = toolBar_->addAction(boardIcon(), QStringLiteral("New Game"));
    newGame->setObjectName(QStringLiteral("ToolNewGame"));
    connect(newGame, &QAction::triggered, this, [this] {
        flow_->SettleDatabaseEdits();
        flow_->NewGame();
    });
    toolBar_->addSeparator();
    toolBar_->addAction(action(QStringLiteral("Black")));
    toolBar_->addAction(action(QStringLiteral("White")));
    toolBar_->addAction(giveUp_);
    toolBar_->addAction(action(QStringLiteral("Previous move")));
}

void TMainForm::applySettingsToMenus()
{
    const KvParam &settings = flow_->settings();
    auto on = [&settings](const char *section, const char *key) { return settings.GetInt(section, key) != 0; };
    action(QStringLiteral("Numbering"))->setChecked(on("System", "ViewBoardNumbering"));
    action(QStringLiteral("Latest Move"))->setChecked(on("System", "ViewLatestMove"));
    action(QStringLiteral("Input Assistant"))->setChecked(on("Option", "InputAssistant"));
    action(QStringLiteral("Warning"))->setChecked(on("System", "ViewWarning"));
    action(QStringLiteral("Axis Character"))->setChecked(on("System", "ViewAxisCharacter"));
    setToolBarShown(on("System", "ViewToolBar"));
}

void TMainForm::setToolBarShown(bool shown)
{
    viewToolBar_->setChecked(shown);
    toolBar_->setVisible(shown);
    fitWindowHeight();
}

void TMainForm::fitWindowHeight()
{
    // Fixed size: the menu bar, the tool bar when shown, the board and the status line.
    const int menu = menuBar()->sizeHint().height();
    const int tools = viewToolBar_->isChecked() ? ToolBarHeight : 0;
    setFixedSize(ClientWidth, menu + tools + BoardView::BoxHeight + StatusLine::LineHeight);
}

QSize TMainForm::clientSize() const { return {width(), height() - menuBar()->height()}; }

QAction *TMainForm::action(const QString &name) const { return findChild<QAction *>(name); }

QString TMainForm::panelText(const QString &objectName) const
{
    const QLabel *label = findChild<QLabel *>(objectName);
    return label ? label->text() : QString();
}

void TMainForm::toggleView(QAction *item, const char *section, const char *key)
{
    // The action has already flipped its check mark; the setting follows it.
    const bool on = item->isChecked();
    flow_->settings().SetInt(section, key, on ? 1 : 0);
    if (item == viewToolBar_)
        setToolBarShown(on);
    else
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
    if (key.key() == Qt::Key_Backspace) {
        // Backspace drops a typed column; without one it takes a move back.
        KvFlags &flags = flow_->flags();
        if (flags.pendingColumn != 'z')
            flags.pendingColumn = 'z';
        else
            flow_->MoveBack();
        return true;
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
    // Leaving play mode also asks a running worker to stop.
    flow_->GiveUp();
    event->accept();
}

// --- Game files -------------------------------------------------------------------

void TMainForm::OpenGameFile(const std::string &fileName)
{
    flow_->GiveUp();
    flow_->flags().fileName = fileName;
    flow_->UpdateCaption();
    MOveTree &game = flow_->game();
    // The reader reports its own errors; an unreadable file leaves an empty game.
    game.Load(fileName);
    game.GotoRoot();
    while (game.Forward() != 0) {
    }
    flow_->RebuildMoveList();
    flow_->RefreshDatabasePosition();
    flow_->SetStatusText("");
    flow_->Redraw();
}

void TMainForm::OpenFromCommandLine(const QStringList &arguments)
{
    if (arguments.size() >= 2 && !arguments[1].isEmpty())
        OpenGameFile(arguments[1].toStdString());
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
    messageWindow().ShowMessageWindow(QString::fromStdString(text), QString::fromStdString(caption),
                                      frameGeometry());
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
    overlay.viewTree = flags.treeMarks != 0;
    overlay.openingStep = flags.openingStep;
    overlay.proposalA = Pos{flags.proposalA.x, flags.proposalA.y, flags.proposalA.colour};
    overlay.proposalB = Pos{flags.proposalB.x, flags.proposalB.y, flags.proposalB.colour};
    view_.paint(flow_->game(), overlay);
    if (flow_->settings().GetInt("Database", "ViewDatabase")) {
        const AData &position = flow_->position();
        std::vector<uint8_t> candidates;
        for (int i = 0; i < position.candidateCount(); ++i)
            candidates.push_back(position.candidatePoint(i));
        view_.drawCandidates({}, candidates, false);
    }
    paintBox_->update();
}

void TMainForm::moveListAppend(const std::string &line) { moveList_->appendLine(line); }

void TMainForm::moveListDeleteLast() { moveList_->deleteLastLine(); }

void TMainForm::moveListClear() { moveList_->clearLines(); }

void TMainForm::setCaption(const std::string &caption) { setWindowTitle(QString::fromStdString(caption)); }

void TMainForm::setGiveUpEnabled(bool enabled) { giveUp_->setEnabled(enabled); }

void TMainForm::postToGuiThread(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, [call = std::move(call)] { call(); }, Qt::QueuedConnection);
}

} // namespace korvana
