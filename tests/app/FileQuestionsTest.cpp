// The main window's own file questions, answered by clicking their buttons:
// "save changes?" when the window closes, and whether to replace the file a save
// really writes. Only the save dialog is scripted.

#include "app/TMainForm.h"

#include "game/KvFlags.h"
#include "game/Kumo98Dll.h"
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
#include <vector>

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
    void showMessageWindow(const std::string &text, const std::string &) override { messages.push_back(text); }

    std::string saveAnswer;
    std::vector<std::string> messages;
};

class FileQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        programPath = dir.filePath(QStringLiteral("korvana")).toStdString();
        QDir(dir.path()).mkpath(QStringLiteral("adb"));
        KvFlags::instance().fileName.clear();
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(dir.path()); // the error log goes there
        KvParam settings;
        settings.SetPath(programPath);
        settings.SetText("Database", "DatabaseDirName", dir.filePath(QStringLiteral("adb/")).toStdString());
        ASSERT_EQ(settings.Save(), 0);
        form = std::make_unique<QuestionForm>(programPath, nullptr, &library);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }

    /// Runs `act` on the modal window once it shows. Gives up after about two
    /// seconds, so a window that never shows fails instead of hanging.
    void whenModal(std::function<void(QWidget *)> act)
    {
        auto *poll = new QTimer(form.get());
        auto tries = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, act] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal && ++*tries < 200)
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
        asked.clear();
        whenModal([this, name, button](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->objectName().toStdString(), name);
            asked = box->text().toStdString();
            buttons = box->standardButtons();
            box->button(button)->click();
        });
    }

    QTemporaryDir dir;
    std::string programPath;
    QString previousDirectory;
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
    EXPECT_EQ(form->flow().game().board().moveCount(), 1);

    const std::string saved = dir.filePath(QStringLiteral("kept")).toStdString();
    form->saveAnswer = saved;
    answer("SaveChangesQuestion", QMessageBox::Save);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(asked, "save changes?");
    MOveTree written;
    ASSERT_EQ(written.Load(saved + ".ban"), 1);
    EXPECT_EQ(written.root()->child(0)->x(), 7);
}

TEST_F(FileQuestionsTest, SaveAsksBeforeReplacingTheFileReallyWritten)
{
    const std::string typed = dir.filePath(QStringLiteral("game1")).toStdString();
    std::ofstream(typed + ".ban") << "808\n";
    form->flow().game().AddMoveAlternating(0, 0);
    form->saveAnswer = typed;
    answer("ReplaceFileQuestion", QMessageBox::No);
    EXPECT_FALSE(form->flow().records().Save());
    EXPECT_EQ(asked, typed + ".ban already exists. Replace it?");
    MOveTree kept;
    ASSERT_EQ(kept.Load(typed + ".ban"), 1);
    EXPECT_EQ(kept.root()->child(0)->x(), 7) << "nothing written on No";

    answer("ReplaceFileQuestion", QMessageBox::Yes);
    EXPECT_TRUE(form->flow().records().Save());
    MOveTree replaced;
    ASSERT_EQ(replaced.Load(typed + ".ban"), 1);
    EXPECT_EQ(replaced.root()->child(0)->x(), 0);
    EXPECT_TRUE(form->messages.empty());
}

TEST_F(FileQuestionsTest, OpenDialogStartsInTheLastDirectoryWithAllFiles)
{
    QDir(dir.path()).mkpath(QStringLiteral("games"));
    const QString games = dir.filePath(QStringLiteral("games"));
    const std::string game = (games + QStringLiteral("/g.ban")).toStdString();
    std::ofstream(game) << "808\n";
    form->flow().settings().set(Settings::GameFileDirectory, games.toStdString());
    whenModal([&game, &games](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(), games);
        EXPECT_TRUE(dialog->nameFilters().contains(QStringLiteral("All files (*)")));
        dialog->selectFile(QString::fromStdString(game));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept checks the name
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog refused the file";
            dialog->reject();
        }
    });
    form->flow().records().OpenWithDialog();
    EXPECT_EQ(form->flow().flags().fileName, game);
    EXPECT_EQ(form->flow().game().board().moveCount(), 1);
}

} // namespace
} // namespace korvana
