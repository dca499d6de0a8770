// The options dialog: its tabs and controls, filling from the settings,
// applying on OK, the board colour buttons, Browse, and where it opens.

#include "dialogs/TDababaseDirectryForm.h"
#include "dialogs/WindowPlacement.h"
#include "settings/KvParam.h"
#include "dialogs/ColourChooser.h"
#include "dialogs/TOptionForm.h"
#include "support/qt/ModalWatchdog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace korvana {
namespace {

/// Keys of a section in file order.
std::vector<std::string> keysOf(const KvParam &settings, const char *section)
{
    std::vector<std::string> names;
    for (const AppRegistryKey &key : settings.FindSection(section)->keys())
        names.push_back(key.name());
    return names;
}

/// The last n entries of a list.
std::vector<std::string> tail(const std::vector<std::string> &list, std::size_t n)
{
    return {list.end() - static_cast<std::ptrdiff_t>(std::min(n, list.size())), list.end()};
}

class ScriptedColourChooser : public ColourChooser {
public:
    std::optional<QColor> chooseColour(const QColor &initial, QWidget *) override
    {
        offered.push_back(initial);
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<QColor>> answers;
    std::vector<QColor> offered;
};

/// A folder chooser that is "shown" without blocking: it records where it was
/// placed and what it was given, the user moves it by `moveBy` and answers.
class ScriptedDirectoryForm : public TDababaseDirectryForm {
public:
    int exec() override
    {
        ++shown;
        placedAt = pos();
        startChoice = ChosenDirectory();
        move(pos() + moveBy);
        if (chosen.isEmpty()) {
            reject();
            return Rejected;
        }
        SetStartDirectory(chosen);
        accept();
        return Accepted;
    }
    int shown = 0;
    QPoint placedAt;
    QString startChoice;
    QPoint moveBy;
    QString chosen; ///< empty: "Cancel"
};

/// An options dialog whose modal showing is scripted the same way.
class ScriptedOptionForm : public TOptionForm {
public:
    int exec() override
    {
        placedAt = pos();
        move(pos() + moveBy);
        Fill();
        if (pressOk)
            accept();
        else
            reject();
        return Accepted() ? QDialog::Accepted : QDialog::Rejected;
    }
    QPoint placedAt;
    QPoint moveBy;
    bool pressOk = true;
};

class TOptionFormTest : public ::testing::Test {
protected:
    TOptionFormTest()
    {
        settings.setFilePath((dir.path() + QStringLiteral("/korvana_test.ini")).toStdString());
        form.SetSettings(&settings);
        form.setColourChooser(&chooser);
        form.setDirectoryForm(&directoryForm);
    }
    template <typename T> T *control(const char *name)
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString savedFile() const
    {
        QFile file(QString::fromStdString(settings.Path()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    testing::ModalWatchdog watchdog;
    QTemporaryDir dir;
    KvParam settings;
    ScriptedColourChooser chooser;
    ScriptedDirectoryForm directoryForm;
    TOptionForm form;
};

TEST_F(TOptionFormTest, TabsInOrderWithTheHiddenOnesPresent)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Option"));
    EXPECT_EQ(form.size(), QSize(456, 312));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Accepted());
    const std::pair<const char *, bool> tabs[] = {{"Game", true},   {"File", false},    {"Edit", false},
                                                  {"System", true}, {"Database", true}, {"Network", false},
                                                  {"Chat", false}};
    ASSERT_EQ(form.pages()->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(form.pages()->tabText(i), QLatin1String(tabs[i].first));
        EXPECT_EQ(form.pages()->isTabVisible(i), tabs[i].second) << tabs[i].first;
    }
}

TEST_F(TOptionFormTest, ControlsNamedWithTheirItemsAndStates)
{
    struct Case {
        const char *name;
        bool enabled;
        bool visible;
    };
    const Case cases[] = {
        {"CB_Rule", false, true},       {"CB_InputAssistant", true, false}, {"PB_BoardColor", true, true},
        {"CB_Language", false, true},   {"CB_FileFormat", true, true},      {"CB_Sound", true, true},
        {"E_NewDataID", true, true},    {"E_DB_DirName", true, true},       {"E_ThinkingProgram", false, true},
        {"E_ProtectedID", false, true}, {"CB_CopyTextFormat", false, true},
    };
    for (const Case &c : cases) {
        QWidget *widget = control<QWidget>(c.name);
        if (!widget)
            continue;
        EXPECT_EQ(widget->isEnabled(), c.enabled) << c.name;
        EXPECT_EQ(!widget->isHidden(), c.visible) << c.name;
    }
    EXPECT_EQ(control<QFrame>("PB_BoardColor")->size(), QSize(41, 17));
    const auto items = [](QComboBox *list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    };
    EXPECT_EQ(items(control<QComboBox>("CB_Rule")), (QStringList{"Renju", "Gomoku"}));
    EXPECT_EQ(items(control<QComboBox>("CB_Language")), (QStringList{"English", "Japanese"}));
    EXPECT_EQ(items(control<QComboBox>("CB_FileFormat")),
              (QStringList{"Simple Game Format (*.sgf)", "Gomoku Competition in Japan (*.ban)",
                           "Computer Renju World Championship (*.pos)"}));
    EXPECT_EQ(control<QLineEdit>("E_ProtectedID")->text(), QStringLiteral("0-1023"));
    EXPECT_EQ(control<QLineEdit>("E_Port")->text(), QStringLiteral("2000"));
    EXPECT_EQ(control<QCheckBox>("CB_Sound")->text(), QStringLiteral("Sound"));
    for (const char *button : {"B_Change", "B_Default", "B_Browse", "OK", "Cancel"})
        control<QPushButton>(button);
    EXPECT_EQ(control<QPushButton>("B_Browse")->text(), QStringLiteral("&Browse"));
}

TEST_F(TOptionFormTest, ShowingFillsFromTheSettingsAndCancelForgetsTheEdits)
{
    settings.SetInt("Option", "GameRule", 1);
    settings.SetInt("Option", "InputAssistant", 1);
    settings.SetInt("Option", "BoardColor", 0x0000FF); // red
    settings.SetInt("System", "DefaultGameFileFormat", 2);
    settings.SetInt("System", "Language", 1);
    settings.SetInt("Option", "SountEffect", 0);
    settings.SetText("Database", "DatabaseDirName", "/srv/book/");
    settings.SetText("Database", "NewDataID", "2048x");

    form.show();
    EXPECT_EQ(control<QComboBox>("CB_Rule")->currentIndex(), 1);
    EXPECT_TRUE(control<QCheckBox>("CB_InputAssistant")->isChecked());
    EXPECT_EQ(form.sampleColour(), QColor(255, 0, 0));
    EXPECT_EQ(control<QComboBox>("CB_FileFormat")->currentIndex(), 2);
    EXPECT_EQ(control<QComboBox>("CB_Language")->currentIndex(), 1);
    EXPECT_FALSE(control<QCheckBox>("CB_Sound")->isChecked());
    EXPECT_EQ(control<QLineEdit>("E_DB_DirName")->text(), QStringLiteral("/srv/book/"));
    EXPECT_EQ(control<QLineEdit>("E_NewDataID")->text(), QStringLiteral("2048x"));
    EXPECT_EQ(directoryForm.ChosenDirectory(), QStringLiteral("/srv/book/")) << "the chooser gets the directory";

    control<QLineEdit>("E_NewDataID")->setText(QStringLiteral("7"));
    control<QCheckBox>("CB_Sound")->setChecked(true);
    QTest::mouseClick(control<QPushButton>("Cancel"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Accepted());
    EXPECT_EQ(settings.GetText("Database", "NewDataID"), "2048x");
    EXPECT_EQ(settings.GetInt("Option", "SountEffect"), 0);
    EXPECT_TRUE(savedFile().isEmpty()) << "Cancel writes no file";

    form.show();
    EXPECT_EQ(control<QLineEdit>("E_NewDataID")->text(), QStringLiteral("2048x"));
    EXPECT_FALSE(control<QCheckBox>("CB_Sound")->isChecked());
}

TEST_F(TOptionFormTest, OkAppliesInOrderAndSavesTheFile)
{
    form.show();
    control<QComboBox>("CB_FileFormat")->setCurrentIndex(0);
    control<QCheckBox>("CB_Sound")->setChecked(false);
    control<QLineEdit>("E_NewDataID")->setText(QStringLiteral("1500"));
    control<QLineEdit>("E_DB_DirName")->setText(QStringLiteral("/home/u/book"));
    QTest::mouseClick(control<QPushButton>("OK"), Qt::LeftButton);

    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.Accepted());
    EXPECT_EQ(settings.GetInt("System", "DefaultGameFileFormat"), 0);
    EXPECT_EQ(settings.GetInt("Option", "SountEffect"), 0);
    EXPECT_EQ(settings.GetInt("Database", "NewDataID"), 1500);
    EXPECT_EQ(settings.GetText("Database", "DatabaseDirName"), "/home/u/book/");
    EXPECT_EQ(control<QLineEdit>("E_DB_DirName")->text(), QStringLiteral("/home/u/book/"));
    // A key written moves to the end of its section, so the order of the writes shows.
    EXPECT_EQ(tail(keysOf(settings, "Option"), 3),
              (std::vector<std::string>{"GameRule", "InputAssistant", "SountEffect"}));
    EXPECT_EQ(tail(keysOf(settings, "System"), 2), (std::vector<std::string>{"DefaultGameFileFormat", "Language"}));
    EXPECT_EQ(tail(keysOf(settings, "Database"), 2), (std::vector<std::string>{"NewDataID", "DatabaseDirName"}));
    const QString file = savedFile();
    EXPECT_TRUE(file.contains(QStringLiteral("DatabaseDirName=/home/u/book/\n"))) << file.toStdString();
    EXPECT_TRUE(file.contains(QStringLiteral("NewDataID=1500\n")));
}

TEST_F(TOptionFormTest, DirectoryAndIdentifierAsWritten)
{
    struct Case {
        const char *typedDirectory, *storedDirectory, *typedId;
        int readId;
    };
    const Case cases[] = {
        {"/data", "/data/", "1024", 1024},
        {"/data/", "/data/", "12ab", 12},
        {"", "", "abc", 0}, // an empty directory stays empty, letters read as 0
        {"rel/dir", "rel/dir/", " 77", 77},
    };
    for (const Case &c : cases) {
        form.show();
        control<QLineEdit>("E_DB_DirName")->setText(QLatin1String(c.typedDirectory));
        control<QLineEdit>("E_NewDataID")->setText(QLatin1String(c.typedId));
        form.accept();
        EXPECT_EQ(settings.GetText("Database", "DatabaseDirName"), c.storedDirectory) << c.typedDirectory;
        EXPECT_EQ(settings.GetText("Database", "NewDataID"), c.typedId) << "stored as typed";
        EXPECT_EQ(settings.GetInt("Database", "NewDataID"), c.readId) << c.typedId;
    }
}

TEST_F(TOptionFormTest, ValuesTheListsDoNotHoldSurviveOk)
{
    // In the preview of the old menus WC1998 (2) is not in the rule list, and
    // the user cannot change the list: pressing OK must not change the rule.
    settings.SetInt("System", "PreviewMenus", 1);
    settings.SetInt("Option", "GameRule", 2);
    settings.SetInt("System", "Language", 5);
    settings.SetInt("System", "DefaultGameFileFormat", 9);
    form.show();
    EXPECT_EQ(control<QComboBox>("CB_Rule")->currentIndex(), -1);
    form.accept();
    EXPECT_EQ(settings.GetInt("Option", "GameRule"), 2);
    EXPECT_EQ(settings.GetInt("System", "Language"), 5);
    EXPECT_EQ(settings.GetInt("System", "DefaultGameFileFormat"), 9);
}

TEST_F(TOptionFormTest, RuleAndStrengthUnlessThePreviewOfTheOldMenus)
{
    struct Case {
        int preview;
        QStringList rules;
        bool strengthShown;
    };
    const Case cases[] = {{0, {"Renju", "Gomoku", "WC1998"}, true}, {1, {"Renju", "Gomoku"}, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.preview);
        settings.SetInt("System", "PreviewMenus", c.preview);
        settings.SetInt("Option", "GameRule", 0);
        settings.SetText("Option", "Strength", "");
        settings.SetText("Option", "LibraryMoveTime", "");
        settings.SetText("Option", "ForcedWinTime", "");
        form.show();
        auto *rule = control<QComboBox>("CB_Rule");
        QStringList rules;
        for (int i = 0; i < rule->count(); ++i)
            rules << rule->itemText(i);
        EXPECT_EQ(rules, c.rules);
        EXPECT_EQ(rule->isEnabled(), c.preview == 0);
        EXPECT_EQ(control<QWidget>("GB_Strength")->isVisible(), c.strengthShown);
        // Unset values show their defaults: level 1, 1 s a move, 5 s for a forced win.
        EXPECT_EQ(control<QComboBox>("CB_Strength")->currentIndex(), 0);
        EXPECT_DOUBLE_EQ(control<QDoubleSpinBox>("SE_LibraryMoveTime")->value(), 1.0);
        EXPECT_DOUBLE_EQ(control<QDoubleSpinBox>("SE_ForcedWinTime")->value(), 5.0);
        if (c.preview == 0)
            rule->setCurrentIndex(2);
        control<QComboBox>("CB_Strength")->setCurrentIndex(4);
        control<QDoubleSpinBox>("SE_LibraryMoveTime")->setValue(2.5);
        control<QDoubleSpinBox>("SE_ForcedWinTime")->setValue(12);
        form.accept();
        EXPECT_EQ(settings.GetInt("Option", "GameRule"), c.preview == 0 ? 2 : 0);
        EXPECT_EQ(settings.GetInt("Option", "Strength"), c.preview == 0 ? 5 : 0);
        EXPECT_EQ(settings.GetInt("Option", "LibraryMoveTime"), c.preview == 0 ? 2500 : 0);
        EXPECT_EQ(settings.GetInt("Option", "ForcedWinTime"), c.preview == 0 ? 12000 : 0);
    }
}

TEST_F(TOptionFormTest, ColourButtonsWriteAtOnceAndCancelKeepsTheColour)
{
    form.show();
    EXPECT_EQ(form.sampleColour(), QColor(228, 175, 14)) << "default 962532";

    chooser.answers = {QColor(10, 20, 30), std::nullopt};
    QTest::mouseClick(control<QPushButton>("B_Change"), Qt::LeftButton);
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0], QColor(228, 175, 14)) << "the dialog starts from the current colour";
    EXPECT_EQ(settings.GetInt("Option", "BoardColor"), 10 | 20 << 8 | 30 << 16);
    EXPECT_EQ(form.sampleColour(), QColor(10, 20, 30));

    QTest::mouseClick(control<QPushButton>("B_Change"), Qt::LeftButton); // the user cancels
    EXPECT_EQ(settings.GetInt("Option", "BoardColor"), 10 | 20 << 8 | 30 << 16);

    form.reject();
    EXPECT_EQ(settings.GetInt("Option", "BoardColor"), 10 | 20 << 8 | 30 << 16) << "Cancel keeps the colour";

    form.show();
    settings.SetInt("Option", "DefaultBoardColor", 0x123456);
    QTest::mouseClick(control<QPushButton>("B_Default"), Qt::LeftButton);
    EXPECT_EQ(settings.GetInt("Option", "BoardColor"), 0x123456);
    EXPECT_EQ(form.sampleColour(), QColor(0x56, 0x34, 0x12));
}

TEST_F(TOptionFormTest, BrowsePlacesTheChooserAndTakesItsDirectory)
{
    QDir(dir.path()).mkdir(QStringLiteral("book"));
    const QString book = dir.path() + QStringLiteral("/book");
    form.move(200, 100);
    form.show();
    control<QLineEdit>("E_DB_DirName")->setText(dir.path() + QLatin1Char('/'));

    // First showing: centred on the dialog; the user moves it and picks a directory.
    directoryForm.moveBy = QPoint(30, -20);
    directoryForm.chosen = book;
    QTest::mouseClick(control<QPushButton>("B_Browse"), Qt::LeftButton);
    const QRect frame = form.frameGeometry();
    const QSize size = directoryForm.frameGeometry().size();
    const QPoint centred(frame.left() + frame.width() / 2 - size.width() / 2,
                         frame.top() + frame.height() / 2 - size.height() / 2);
    EXPECT_EQ(directoryForm.placedAt, centred);
    EXPECT_EQ(directoryForm.startChoice, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(control<QLineEdit>("E_DB_DirName")->text(), book + QLatin1Char('/'));
    const QPoint offset = centred + QPoint(30, -20) - frame.topLeft();
    EXPECT_EQ(settings.GetPointX("WIN32", "PosDBDirForm"), offset.x());
    EXPECT_EQ(settings.GetPointY("WIN32", "PosDBDirForm"), offset.y());
    EXPECT_TRUE(savedFile().contains(QStringLiteral("PosDBDirForm=%1,%2").arg(offset.x()).arg(offset.y())));
    EXPECT_EQ(settings.GetText("Database", "DatabaseDirName"), "") << "only OK stores the directory";

    // Second showing: where it was left; Cancel keeps the field.
    directoryForm.moveBy = QPoint();
    directoryForm.chosen.clear();
    QTest::mouseClick(control<QPushButton>("B_Browse"), Qt::LeftButton);
    EXPECT_EQ(directoryForm.placedAt, frame.topLeft() + offset);
    EXPECT_EQ(control<QLineEdit>("E_DB_DirName")->text(), book + QLatin1Char('/'));
    EXPECT_EQ(directoryForm.shown, 2);
}

TEST(TOptionFormPlacementTest, OpensCentredThenWhereTheUserLeftIt)
{
    testing::ModalWatchdog watchdog;
    QTemporaryDir dir;
    KvParam settings;
    settings.setFilePath((dir.path() + QStringLiteral("/k.ini")).toStdString());
    ScriptedOptionForm form;
    const QRect main(100, 50, 516, 460);

    form.moveBy = QPoint(-40, 25);
    EXPECT_TRUE(form.ShowOptions(settings, main));
    const QPoint centred(100 + 258 - 456 / 2, 50 + 230 - 312 / 2);
    EXPECT_EQ(form.placedAt, centred);
    const QPoint offset = centred + QPoint(-40, 25) - main.topLeft();
    EXPECT_EQ(settings.GetPointX("WIN32", "PosWinForm"), offset.x());
    EXPECT_EQ(settings.GetPointY("WIN32", "PosWinForm"), offset.y());

    // The main window moved meanwhile: the dialog keeps its offset from it.
    const QRect moved(300, 10, 516, 460);
    form.moveBy = QPoint();
    form.pressOk = false;
    EXPECT_FALSE(form.ShowOptions(settings, moved));
    EXPECT_EQ(form.placedAt, moved.topLeft() + offset);
    QFile file(dir.path() + QStringLiteral("/k.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "saved after every showing, also after Cancel";
    EXPECT_TRUE(file.readAll().contains(QStringLiteral("PosWinForm=%1,%2").arg(offset.x()).arg(offset.y()).toUtf8()));
}

TEST(WindowPlacementTest, OffsetOrCentredOnTheOwner)
{
    struct Case {
        QRect owner;
        QSize size;
        int x, y;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 50, 516, 460}, {456, 312}, -1, -1, {130, 124}},
        {{0, 0, 457, 313}, {320, 309}, -1, -1, {228 - 160, 156 - 154}}, // odd halves truncate
        {{10, 10, 100, 80}, {321, 309}, -1, -1, {10 + 50 - 160, 10 + 40 - 154}},
        {{100, 50, 516, 460}, {456, 312}, 0, 0, {100, 50}},
        {{100, 50, 516, 460}, {456, 312}, -1, 0, {99, 50}}, // only -1,-1 means centred
        {{100, 50, 516, 460}, {456, 312}, -30, 400, {70, 450}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WindowPlacement::place(c.owner, c.size, c.x, c.y), c.expected) << c.x << "," << c.y;
        if (c.x != -1 || c.y != -1) {
            EXPECT_EQ(WindowPlacement::offsetFrom(c.owner, c.expected), QPoint(c.x, c.y));
        }
    }
}

} // namespace
} // namespace korvana
