#include "dialogs/TOptionForm.h"

#include "dialogs/TDababaseDirectryForm.h"
#include "dialogs/WindowPlacement.h"
#include "settings/KvParam.h"
#include "dialogs/ColourChooser.h"
#include "dialogs/QColourDialogChooser.h"
#include "game/BoardAnalysis.h"
#include "game/GameFlow.h"
#include "view/QtColour.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cstdlib>
#include <iterator>

namespace korvana {

namespace {

QLabel *label(const QString &text, QWidget *parent, int x, int y, int w = 120)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 20);
    return l;
}

QGroupBox *group(const QString &title, const char *name, QWidget *parent, const QRect &geometry)
{
    auto *g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    g->setGeometry(geometry);
    return g;
}

template <typename T> T *named(T *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

/// A list's index, or the value it was filled from when it shows none: a
/// value the list does not hold must not turn into -1.
int listValue(const QComboBox *list, int loaded) { return list->currentIndex() >= 0 ? list->currentIndex() : loaded; }

/// The rules of the rule list, in its order.
constexpr GameRule listedRules[] = {GameRule::Renju, GameRule::Gomoku, GameRule::Wc1998};

/// The rule's place in the rule list; -1 for a rule it does not hold.
int ruleIndex(GameRule rule)
{
    for (int i = 0; i < int(std::size(listedRules)); ++i)
        if (listedRules[i] == rule)
            return i;
    return -1;
}

void selectIndex(QComboBox *list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

TOptionForm::TOptionForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("Option"));
    setFixedSize(ClientWidth, ClientHeight);

    pages_ = named(new QTabWidget(this), "PageControl1", QRect(4, 4, 448, 266));
    struct Tab {
        const char *caption;
        const char *name;
        bool shown;
    };
    // Hidden tabs are kept in their places for the pages still to come.
    const Tab tabs[] = {{"Game", "TS_Game", true},         {"File", "TS_File", false},
                        {"Edit", "TS_Edit", false},        {"System", "TS_System", true},
                        {"Database", "TS_Database", true}, {"Network", "TS_Network", false},
                        {"Chat", "TS_Chat", false}};
    for (const Tab &tab : tabs) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1String(tab.name));
        const int index = pages_->addTab(page, QLatin1String(tab.caption));
        pages_->setTabVisible(index, tab.shown);
    }
    buildGamePage(pages_->widget(0));
    group(QStringLiteral("File Format"), "GB_FileFormat", pages_->widget(1), QRect(8, 8, 424, 100));
    buildSystemPage(pages_->widget(3));
    buildDatabasePage(pages_->widget(4));
    buildNetworkPage(pages_->widget(5));
    pages_->setCurrentIndex(0);

    auto *ok = named(new QPushButton(QStringLiteral("OK")), "OK", QRect(286, 280, 75, 25));
    ok->setParent(this);
    ok->setDefault(true);
    auto *cancel = named(new QPushButton(QStringLiteral("Cancel")), "Cancel", QRect(372, 280, 75, 25));
    cancel->setParent(this);
    connect(ok, &QPushButton::clicked, this, &TOptionForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TOptionForm::reject);
}

void TOptionForm::buildGamePage(QWidget *page)
{
    auto *program =
        group(QStringLiteral("Thinking Program Information"), "GB_ThinkingProgram", page, QRect(8, 8, 424, 56));
    auto *programName = named(new QLineEdit(program), "E_ThinkingProgram", QRect(12, 22, 400, 22));
    programName->setEnabled(false);

    auto *game = group(QStringLiteral("Game"), "GB_Game", page, QRect(8, 72, 424, 90));
    label(QStringLiteral("Rule"), game, 12, 24, 60);
    rule_ = named(new QComboBox(game), "CB_Rule", QRect(80, 22, 160, 22));
    rule_->addItems({QStringLiteral("Renju"), QStringLiteral("Gomoku")});
    rule_->setEnabled(false);
    inputAssistant_ =
        named(new QCheckBox(QStringLiteral("Input Assistant"), game), "CB_InputAssistant", QRect(12, 54, 160, 20));
    inputAssistant_->setVisible(false);

    strengthGroup_ = group(QStringLiteral("Strength"), "GB_Strength", page, QRect(8, 166, 424, 72));
    label(QStringLiteral("Level"), strengthGroup_, 12, 20, 60);
    strength_ = named(new QComboBox(strengthGroup_), "CB_Strength", QRect(80, 18, 110, 22));
    for (int level = 1; level <= 5; ++level)
        strength_->addItem(QStringLiteral("Level %1").arg(level));
    label(QStringLiteral("Forced win (s)"), strengthGroup_, 210, 20, 110);
    forcedWinTime_ = named(new QDoubleSpinBox(strengthGroup_), "SE_ForcedWinTime", QRect(330, 18, 80, 22));
    label(QStringLiteral("Engine library, per move (s)"), strengthGroup_, 12, 46, 190);
    libraryTime_ = named(new QDoubleSpinBox(strengthGroup_), "SE_LibraryMoveTime", QRect(210, 44, 80, 22));
    for (QDoubleSpinBox *box : {forcedWinTime_, libraryTime_}) {
        box->setDecimals(1);
        box->setRange(0.1, 600.0);
        box->setSingleStep(0.5);
    }
    strengthGroup_->setVisible(false);
}

void TOptionForm::buildSystemPage(QWidget *page)
{
    auto *view = group(QStringLiteral("View"), "GB_View", page, QRect(8, 8, 424, 84));
    label(QStringLiteral("Board Color"), view, 12, 22, 90);
    boardColour_ = named(new QFrame(view), "PB_BoardColor", QRect(108, 24, 41, 17));
    boardColour_->setAutoFillBackground(true);
    auto *change = named(new QPushButton(QStringLiteral("Change"), view), "B_Change", QRect(160, 20, 75, 25));
    auto *byDefault = named(new QPushButton(QStringLiteral("Default"), view), "B_Default", QRect(242, 20, 75, 25));
    label(QStringLiteral("Language"), view, 12, 52, 90);
    language_ = named(new QComboBox(view), "CB_Language", QRect(108, 50, 160, 22));
    language_->addItems({QStringLiteral("English"), QStringLiteral("Japanese")});
    language_->setEnabled(false);
    connect(change, &QPushButton::clicked, this, &TOptionForm::ChangeColour);
    connect(byDefault, &QPushButton::clicked, this, &TOptionForm::DefaultColour);

    auto *system = group(QStringLiteral("System"), "GB_System", page, QRect(8, 100, 424, 124));
    label(QStringLiteral("Default File Format"), system, 12, 24, 130);
    fileFormat_ = named(new QComboBox(system), "CB_FileFormat", QRect(148, 22, 264, 22));
    fileFormat_->addItems({QStringLiteral("Simple Game Format (*.sgf)"),
                           QStringLiteral("Gomoku Competition in Japan (*.ban)"),
                           QStringLiteral("Computer Renju World Championship (*.pos)")});
    label(QStringLiteral("Copy Text Format"), system, 12, 54, 130);
    auto *copyFormat = named(new QComboBox(system), "CB_CopyTextFormat", QRect(148, 52, 264, 22));
    copyFormat->setEnabled(false);
    sound_ = named(new QCheckBox(QStringLiteral("Sound"), system), "CB_Sound", QRect(12, 86, 120, 20));
}

void TOptionForm::buildDatabasePage(QWidget *page)
{
    auto *property = group(QStringLiteral("Proterty"), "GB_Property", page, QRect(8, 8, 424, 84));
    label(QStringLiteral("ID"), property, 12, 24, 40);
    newDataId_ = named(new QLineEdit(property), "E_NewDataID", QRect(60, 22, 120, 22));
    label(QStringLiteral("(System reserved: 0 to 1023)"), property, 190, 24, 220);
    label(QStringLiteral("Protected ID"), property, 12, 54, 90);
    auto *protectedId =
        named(new QLineEdit(QStringLiteral("0-1023"), property), "E_ProtectedID", QRect(108, 52, 120, 22));
    protectedId->setEnabled(false);

    auto *directory = group(QStringLiteral("Database Directory"), "GB_DatabaseDirectory", page, QRect(8, 100, 424, 60));
    directoryName_ = named(new QLineEdit(directory), "E_DB_DirName", QRect(12, 24, 316, 22));
    auto *browse = named(new QPushButton(QStringLiteral("&Browse"), directory), "B_Browse", QRect(336, 22, 75, 25));
    connect(browse, &QPushButton::clicked, this, &TOptionForm::Browse);
}

void TOptionForm::buildNetworkPage(QWidget *page)
{
    auto *tcp = group(QStringLiteral("TCP/IP Setting"), "GB_TcpIp", page, QRect(8, 8, 424, 56));
    label(QStringLiteral("Port"), tcp, 12, 24, 40);
    named(new QLineEdit(QStringLiteral("2000"), tcp), "E_Port", QRect(60, 22, 80, 22));
}

TDababaseDirectryForm &TOptionForm::directoryForm()
{
    if (!directoryForm_)
        directoryForm_ = new TDababaseDirectryForm(this);
    return *directoryForm_;
}

bool TOptionForm::ShowOptions(KvParam &settings, const QRect &mainFrame)
{
    const SettingPoint at = settings.get(Settings::PosWinForm);
    move(WindowPlacement::place(mainFrame, frameGeometry().size(), at.x, at.y));
    SetSettings(&settings);
    exec();
    const QPoint offset = WindowPlacement::offsetFrom(mainFrame, pos());
    settings.set(Settings::PosWinForm, {offset.x(), offset.y()});
    settings.Save();
    return accepted_;
}

void TOptionForm::showEvent(QShowEvent *event)
{
    Fill();
    QDialog::showEvent(event);
}

void TOptionForm::Fill()
{
    if (!settings_)
        return;
    const KvParam &s = *settings_;
    // Without the preview of the old menus all three rules can be chosen here.
    preview_ = s.get(Settings::PreviewMenus);
    const int rules = preview_ ? 2 : 3;
    while (rule_->count() > rules)
        rule_->removeItem(rule_->count() - 1);
    if (rule_->count() < rules)
        rule_->addItem(QStringLiteral("WC1998"));
    rule_->setEnabled(!preview_);
    strengthGroup_->setVisible(!preview_);
    const int level = s.get(Settings::Strength);
    strength_->setCurrentIndex(level >= 1 && level <= 5 ? level - 1 : 0);
    const int libraryMs = s.get(Settings::LibraryMoveTime);
    libraryTime_->setValue((libraryMs > 0 ? libraryMs : GameFlow::DefaultLibraryMoveTimeMs) / 1000.0);
    // The environment variable wins over this choice, so it cannot be edited then.
    const char *fromEnvironment = std::getenv("KUMO98_MOVE_TIME_MS");
    libraryTime_->setEnabled(!fromEnvironment || !*fromEnvironment);
    libraryTime_->setToolTip(libraryTime_->isEnabled() ? QString() : QStringLiteral("Set by KUMO98_MOVE_TIME_MS"));
    const int forcedMs = s.get(Settings::ForcedWinTime);
    forcedWinTime_->setValue((forcedMs > 0 ? forcedMs : BoardAnalysis::DefaultForcedWinMs) / 1000.0);
    selectIndex(rule_, ruleIndex(s.get(Settings::Rule)));
    inputAssistant_->setChecked(s.get(Settings::InputAssistant));
    showSampleColour(StoredColour(s.get(Settings::BoardColor)));
    selectIndex(fileFormat_, s.get(Settings::DefaultGameFileFormat));
    selectIndex(language_, s.get(Settings::Language));
    sound_->setChecked(s.get(Settings::SoundEffect));
    const QString directory = QString::fromStdString(s.get(Settings::DatabaseDirName));
    directoryName_->setText(directory);
    newDataId_->setText(QString::fromStdString(s.text(Settings::NewDataID).value_or("")));
    directoryForm().SetStartDirectory(directory);
}

void TOptionForm::Apply()
{
    if (!settings_)
        return;
    KvParam &s = *settings_;
    if (!preview_) {
        s.set(Settings::Strength, strength_->currentIndex() + 1);
        s.set(Settings::LibraryMoveTime, static_cast<int>(libraryTime_->value() * 1000 + 0.5));
        s.set(Settings::ForcedWinTime, static_cast<int>(forcedWinTime_->value() * 1000 + 0.5));
    }
    // A rule the list does not hold (WC1998 in the preview, a number of no rule)
    // is written back as it was, so that the keys keep the order of the writes.
    if (rule_->currentIndex() >= 0)
        s.set(Settings::Rule, listedRules[rule_->currentIndex()]);
    else if (const std::optional<std::string> kept = s.text(Settings::Rule))
        s.setText(Settings::Rule, *kept);
    s.set(Settings::InputAssistant, inputAssistant_->isChecked());
    s.set(Settings::DefaultGameFileFormat, listValue(fileFormat_, s.get(Settings::DefaultGameFileFormat)));
    s.set(Settings::Language, listValue(language_, s.get(Settings::Language)));
    s.set(Settings::SoundEffect, sound_->isChecked());
    s.setText(Settings::NewDataID, newDataId_->text().toStdString());
    // The database appends file names to the directory, so it must end in the separator.
    // An empty field stays empty: a lone "/" would put the book in the root directory.
    QString directory = directoryName_->text();
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    directoryName_->setText(directory);
    s.set(Settings::DatabaseDirName, directory.toStdString());
    s.Save();
}

void TOptionForm::ChangeColour()
{
    if (!settings_)
        return;
    ColourChooser &chooser = chooser_ ? *chooser_ : QColourDialogChooser::instance();
    const std::optional<QColor> chosen = chooser.chooseColour(sampleColour(), this);
    if (!chosen)
        return;
    const StoredColour colour = storedColour(*chosen);
    settings_->set(Settings::BoardColor, colour.stored());
    showSampleColour(colour);
}

void TOptionForm::DefaultColour()
{
    if (!settings_)
        return;
    const StoredColour colour(settings_->get(Settings::DefaultBoardColor));
    settings_->set(Settings::BoardColor, colour.stored());
    showSampleColour(colour);
}

void TOptionForm::Browse()
{
    TDababaseDirectryForm &form = directoryForm();
    const SettingPoint at = settings_ ? settings_->get(Settings::PosDBDirForm)
                                      : SettingPoint{WindowPlacement::Unplaced, WindowPlacement::Unplaced};
    const QRect frame = frameGeometry();
    form.move(WindowPlacement::place(frame, form.frameGeometry().size(), at.x, at.y));
    form.SetStartDirectory(directoryName_->text());
    form.exec();
    if (form.accepted())
        directoryName_->setText(form.ChosenDirectory());
    if (settings_) {
        const QPoint offset = WindowPlacement::offsetFrom(frameGeometry(), form.pos());
        settings_->set(Settings::PosDBDirForm, {offset.x(), offset.y()});
        settings_->Save();
    }
}

QColor TOptionForm::sampleColour() const { return boardColour_->palette().color(QPalette::Window); }

void TOptionForm::showSampleColour(StoredColour colour)
{
    QPalette palette = boardColour_->palette();
    palette.setColor(QPalette::Window, qtColour(colour));
    boardColour_->setPalette(palette);
    boardColour_->update();
}

void TOptionForm::accept()
{
    Apply();
    accepted_ = true;
    QDialog::accept();
}

void TOptionForm::reject()
{
    accepted_ = false;
    QDialog::reject();
}

} // namespace korvana
