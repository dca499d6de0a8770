// The main window's own file dialogs and questions, answered by clicking them:
// "save changes?" on closing, replacing the file a save really writes, and where
// the open dialog starts. Only the save dialog's name is scripted.

#include "app/TMainForm.h"

#include "game/Kumo98Dll.h"
#include "game/KvFlags.h"
#include "record/MOveTree.h"
#include "settings/KvParam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace korvana {
namespace {

class QuestionForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    std::string askSaveFileName(int &entry) override
    {
        entry = 2; // .ban
        return saveAnswer;
    }
    std::string saveAnswer;
};

class FileQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path()); // the error log goes there
        KvFlags::instance().fileName.clear();
        const std::string program = dir.filePath(QStringLiteral("korvana")).toStdString();
        KvParam settings;
        settings.SetPath(program);
        settings.SetText("Database", "DatabaseDirName", file("")); // no book there
        ASSERT_EQ(settings.Save(), 0);
        form = std::make_unique<QuestionForm>(program, nullptr, &library);
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previous);
    }
    std::string file(const char *name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    /// Runs `act` on the modal window once it shows; fails after two seconds without one.
    void whenModal(std::function<void(QWidget *)> act)
    {
        auto *poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act, tries = 0]() mutable {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal && ++tries < 200)
                return;
            poll->stop();
            poll->deleteLater();
            ASSERT_NE(modal, nullptr) << "no modal window";
            act(modal);
        });
        poll->start(10);
    }
    /// Clicks `button` of the question box `name`; its text goes to `asked`.
    void answer(const char *name, QMessageBox::StandardButton button)
    {
        whenModal([this, name, button](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->objectName().toStdString(), name);
            asked = box->text().toStdString();
            buttons = box->standardButtons();
            box->button(button)->click();
        });
    }
    /// The x of the first move of the record in `name`.
    int firstX(const std::string &name)
    {
        MOveTree read;
        EXPECT_EQ(read.Load(name), 1) << name;
        return read.root()->child(0) ? read.root()->child(0)->x() : -1;
    }

    QString previous = QDir::currentPath();
    QTemporaryDir dir;
    Kumo98Dll library;
    std::unique_ptr<QuestionForm> form;
    std::string asked;
    QMessageBox::StandardButtons buttons;
};

TEST_F(FileQuestionsTest, CloseAsksToSaveChangesCancelKeepsTheWindowSaveWrites)
{
    form->flow().game().AddMoveAlternating(7, 7);
    answer("SaveChangesQuestion", QMessageBox::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(asked, "save changes?");
    EXPECT_EQ(buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_TRUE(form->isVisible());

    form->saveAnswer = file("kept");
    answer("SaveChangesQuestion", QMessageBox::Save);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(firstX(file("kept.ban")), 7);
}

TEST_F(FileQuestionsTest, SaveAsksBeforeReplacingTheFileReallyWritten)
{
    std::ofstream(file("game1.ban")) << "808\n";
    form->flow().game().AddMoveAlternating(0, 0);
    form->saveAnswer = file("game1");
    answer("ReplaceFileQuestion", QMessageBox::No);
    EXPECT_FALSE(form->flow().records().Save());
    EXPECT_EQ(asked, file("game1.ban") + " already exists. Replace it?");
    EXPECT_EQ(firstX(file("game1.ban")), 7) << "nothing written on No";

    answer("ReplaceFileQuestion", QMessageBox::Yes);
    EXPECT_TRUE(form->flow().records().Save());
    EXPECT_EQ(firstX(file("game1.ban")), 0);
}

TEST_F(FileQuestionsTest, OpenDialogStartsInTheLastDirectoryAndListsAllFiles)
{
    const QString games = dir.filePath(QStringLiteral("games"));
    QDir(dir.path()).mkpath(games);
    const std::string game = file("games/g.ban");
    std::ofstream(game) << "808\n";
    form->flow().settings().set(Settings::GameFileDirectory, games.toStdString());
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(), games);
        EXPECT_TRUE(dialog->nameFilters().contains(QStringLiteral("All files (*)")));
        dialog->selectFile(QString::fromStdString(game));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog's own accept checks the name
        if (dialog->isVisible())
            dialog->reject();
    });
    form->flow().records().OpenWithDialog();
    EXPECT_EQ(form->flow().flags().fileName, game);
}

} // namespace
} // namespace korvana
