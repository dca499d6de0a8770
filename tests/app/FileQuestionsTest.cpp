// The main window's own question boxes and open dialog, answered by clicking them.

#include "app/TMainForm.h"

#include "game/Kumo98Dll.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace korvana {
namespace {

class FileQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(file("korvana_root.ini")); // the default settings, without an error logged
        form = std::make_unique<TMainForm>(file("korvana"), nullptr, &library);
        form->show();
        // Each modal window meets `onModal`, which closes it: a missing or an extra one cannot block.
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++shown;
                onModal(static_cast<QDialog *>(modal));
            }
        });
        poll.start(10);
    }
    std::string file(const char *name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    /// Clicks `button` of each question box; its name and text go to `asked`.
    void answer(QMessageBox::StandardButton button)
    {
        onModal = [this, button](QDialog *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QAbstractButton *clicked = box ? box->button(button) : nullptr;
            asked = clicked ? (box->objectName() + ": " + box->text()).toStdString() : "no such box or button";
            if (clicked)
                clicked->click();
            else
                modal->reject();
        };
    }

    QTemporaryDir dir;
    Kumo98Dll library;
    std::unique_ptr<TMainForm> form;
    QTimer poll;
    std::function<void(QDialog *)> onModal = [](QDialog *modal) { modal->reject(); };
    int shown = 0;
    std::string asked;
};

TEST_F(FileQuestionsTest, SaveChangesBeforeEveryWayOfLeavingAChangedGame)
{
    using A = GameWindow::SaveChanges;
    QApplication::clipboard()->setText(QStringLiteral("a2 b2 c2"));
    auto trigger = [this](const char *name) { return [this, name] { form->action(name)->trigger(); }; };
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"New Game", trigger("New Game")},
        {"tool bar", trigger("ToolNewGame")},
        {"Open Game", trigger("Open Game")},
        {"Paste", trigger("Paste")},
        {"dropped or named file", [this] { form->OpenGameFile(file("korvana")); }},
        {"close", [this] { EXPECT_FALSE(form->close()); }},
    };
    form->flow().game().AddMoveAlternating(7, 7);
    answer(QMessageBox::Cancel);
    for (const auto &[name, leave] : ways) {
        SCOPED_TRACE(name);
        shown = 0;
        leave();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(asked, "SaveChangesQuestion: save changes?");
        EXPECT_EQ(form->flow().game().board().moveCount(), 1) << "Cancel keeps the game";
    }
    for (auto [button, outcome] : {std::pair{QMessageBox::Save, A::Save}, {QMessageBox::Discard, A::Discard}}) {
        answer(button);
        EXPECT_EQ(form->askSaveChanges(), outcome);
    }
}

TEST_F(FileQuestionsTest, ReplaceQuestionNamesTheFile)
{
    for (auto [button, replace] : {std::pair{QMessageBox::No, false}, {QMessageBox::Yes, true}}) {
        answer(button);
        EXPECT_EQ(form->askReplaceFile("/games/g.ban"), replace);
        EXPECT_EQ(asked, "ReplaceFileQuestion: /games/g.ban already exists. Replace it?");
    }
}

TEST_F(FileQuestionsTest, OpenDialogStartsInTheLastDirectoryAndListsAllFiles)
{
    form->flow().settings().set(Settings::GameFileDirectory, dir.path().toStdString());
    QStringList seen;
    onModal = [&](QDialog *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal))
            seen = dialog->nameFilters() << dialog->directory().absolutePath();
        modal->reject();
    };
    form->action("Open Game")->trigger();
    EXPECT_TRUE(seen.contains(dir.path()));
    EXPECT_TRUE(seen.contains(QStringLiteral("All files (*)")));
}

} // namespace
} // namespace korvana
