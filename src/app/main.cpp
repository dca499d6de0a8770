// korvana: the desktop program.
//
//     korvana [GAMEFILE]
//     korvana --screenshot FILE.png [--size WxH] [--setting SECTION/KEY=VALUE]...
//             [--action NAME]... [--wait MS] [GAMEFILE]
//
// The second form starts as usual, renders the main window into FILE.png
// without showing it, and exits (status 1 when the picture cannot be written,
// 2 when an action opens a dialog: nobody could answer it).
// --size sets the window's size; --setting changes a setting for this run only;
// --action triggers a menu item by its name without '&' ("Warning", ...) after
// the game is loaded; --wait lets the program run that long before the picture
// (an analysis to show its figures). Windows the actions open are drawn beside the main window.
// The settings file is left as it was.

#include "app/TMainForm.h"
#include "dialogs/TConfirmDatabaseUpdate.h"
#include "dialogs/TMyMessageWindow.h"
#include "dialogs/TSelectBlackOrWhiteForm.h"
#include "dialogs/TDababaseDirectryForm.h"
#include "dialogs/TSelectDatabaseDirectory.h"
#include "dialogs/TTreeForm.h"
#include "dialogs/TWhichRemoveForm.h"
#include "engine/ThinkingLevel.h"
#include "game/Kumo98Dll.h"
#include "game/KvFlags.h"
#include "game/OpeningTable.h"
#include "log/ErrorLog.h"
#include "settings/ProgramPaths.h"
#include "dialogs/TOptionForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace korvana;

namespace {

struct ScreenshotOptions {
    QSize size;
    std::vector<std::tuple<std::string, std::string, std::string>> settings;
    QStringList actions;
    int waitMs = 0;
};

/// Takes the options after "--screenshot FILE.png" out of `arguments`; false for a bad one.
bool readScreenshotOptions(QStringList &arguments, ScreenshotOptions &options)
{
    while (arguments.size() >= 5 && arguments[3].startsWith(QLatin1String("--"))) {
        const QString option = arguments[3];
        const QString value = arguments[4];
        if (option == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            bool wide = false, high = false;
            if (parts.size() != 2)
                return false;
            options.size = QSize(parts[0].toInt(&wide), parts[1].toInt(&high));
            if (!wide || !high || options.size.width() > 8192 || options.size.height() > 8192)
                return false;
        } else if (option == QLatin1String("--setting")) {
            const qsizetype slash = value.indexOf(QLatin1Char('/'));
            const qsizetype equals = value.indexOf(QLatin1Char('='));
            if (slash <= 0 || equals <= slash + 1)
                return false;
            options.settings.emplace_back(value.left(slash).toStdString(),
                                          value.mid(slash + 1, equals - slash - 1).toStdString(),
                                          value.mid(equals + 1).toStdString());
        } else if (option == QLatin1String("--action")) {
            options.actions << value;
        } else if (option == QLatin1String("--wait")) {
            bool number = false;
            options.waitMs = value.toInt(&number);
            if (!number || options.waitMs < 0 || options.waitMs > 60000)
                return false;
        } else {
            return false;
        }
        arguments.remove(3, 2);
    }
    return arguments.size() < 4 || !arguments[3].startsWith(QLatin1String("--"));
}

/// The main window and, to its right, every other window the program shows, tops aligned.
QImage windowsSideBySide(QWidget &mainWindow)
{
    QList<QImage> pictures{mainWindow.grab().toImage()};
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != &mainWindow && window->isVisible() && !window->inherits("QMenu"))
            pictures << window->grab().toImage();
    // Pixel for pixel: on a scaled screen the grabs carry a ratio the painter would undo.
    for (QImage &picture : pictures)
        picture.setDevicePixelRatio(1);
    constexpr int Gap = 8;
    QSize size(-Gap, 0);
    for (const QImage &picture : pictures)
        size = QSize(size.width() + Gap + picture.width(), std::max(size.height(), picture.height()));
    QImage all(size, QImage::Format_RGB32);
    all.fill(QApplication::palette().color(QPalette::Window));
    QPainter painter(&all);
    int left = 0;
    for (const QImage &picture : pictures) {
        painter.drawImage(QPoint(left, 0), picture);
        left += picture.width() + Gap;
    }
    return all;
}

int run(int argc, char **argv)
{
    // 1. The application, titled as the program.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvana31"));

    QStringList arguments = QApplication::arguments();
    QString screenshot;
    ScreenshotOptions options;
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("--screenshot")) {
        if (arguments.size() < 3 || !readScreenshotOptions(arguments, options)) {
            std::cerr << "usage: korvana --screenshot FILE.png [--size WxH] [--setting SECTION/KEY=VALUE]... "
                         "[--action NAME]... [--wait MS] [GAMEFILE]\n";
            return 2;
        }
        screenshot = arguments[2];
        arguments.remove(1, 2);
    }

    // The process-wide objects, before any window.
    const std::string programPath = executablePath().empty() ? std::string(argv[0]) : executablePath();
    // Beside the program, or in the per-user directory, like the settings file.
    ErrorLog::instance().setFileName(programDirectory(directoryPart(programPath)) + "error.log");
    KvFlags::instance();
    // A missing engine library is not an error here: only WC1998 asks it, and its
    // requests then fail with a message instead of a move.
    Kumo98Dll::instance().LoadFromDirectory(directoryPart(programPath));
    ThinkingLevel::preset(1);
    OpeningTable::instance();

    // 2. The windows, in order; all but the main window stay hidden until used.
    TMainForm mainForm(programPath);
    auto *message = new TMyMessageWindow(&mainForm);
    auto *colour = new TSelectBlackOrWhiteForm(&mainForm);
    auto *update = new TConfirmDatabaseUpdate(&mainForm);
    auto *remove = new TWhichRemoveForm(&mainForm);
    new TSelectDatabaseDirectory(&mainForm);
    auto *optionForm = new TOptionForm(&mainForm);
    auto *tree = new TTreeForm(&mainForm);
    auto *directories = new TDababaseDirectryForm(&mainForm);
    mainForm.setDialogs(message, colour, update, remove);
    mainForm.setOptionForm(optionForm);
    mainForm.setTreeForm(tree);
    optionForm->setDirectoryForm(directories);

    if (!screenshot.isEmpty()) {
        mainForm.setSettingsSavedAtExit(false);
        mainForm.setMessagesToTerminal(true);
        for (const auto &[section, key, value] : options.settings)
            mainForm.flow().settings().SetText(section, key, value);
        mainForm.OpenFromCommandLine(arguments);
        if (options.size.isValid())
            mainForm.resize(options.size.expandedTo(mainForm.minimumSize()));
        // Laid out and rendered as on screen, but never mapped.
        mainForm.setAttribute(Qt::WA_DontShowOnScreen);
        tree->setAttribute(Qt::WA_DontShowOnScreen);
        mainForm.show();
        mainForm.RestoreGameTree();
        QApplication::processEvents();
        // Nobody can answer a dialog here: one that opens is closed at once and the run refused.
        std::optional<QString> dialogTitle;
        QEventLoop wait;
        QTimer dialogWatch;
        QObject::connect(&dialogWatch, &QTimer::timeout, [&dialogTitle, &wait] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            dialogTitle = modal->windowTitle();
            auto *dialog = qobject_cast<QDialog *>(modal);
            if (dialog)
                dialog->reject();
            // A question answered only by its buttons ignores both.
            if (dialog && dialog->isVisible())
                dialog->done(QDialog::Rejected);
            else if (!dialog)
                modal->close();
            wait.quit();
        });
        dialogWatch.start(50);
        const auto refused = [&dialogTitle](const QString &after) {
            if (!dialogTitle)
                return false;
            std::cerr << "korvana: the dialog \"" << dialogTitle->toStdString() << "\" opened after "
                      << after.toStdString() << ": nobody can answer it here\n";
            return true;
        };
        for (const QString &name : options.actions) {
            QAction *item = mainForm.action(name);
            if (!item) {
                std::cerr << "korvana: no menu item " << name.toStdString() << '\n';
                return 2;
            }
            item->trigger();
            QApplication::processEvents();
            if (refused(QStringLiteral("--action ") + name))
                return 2;
        }
        if (options.waitMs > 0) {
            QTimer::singleShot(options.waitMs, &wait, &QEventLoop::quit);
            wait.exec();
            if (refused(QStringLiteral("--wait")))
                return 2;
        }
        const bool saved = windowsSideBySide(mainForm).save(screenshot, "PNG");
        mainForm.close();
        if (!saved) {
            std::cerr << "korvana: can't write " << screenshot.toStdString() << '\n';
            return 1;
        }
        return 0;
    }
    mainForm.OpenFromCommandLine(arguments);

    mainForm.show();
    mainForm.RestoreGameTree();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    // A picture needs no display: render off screen unless told otherwise.
    if (argc >= 2 && std::strcmp(argv[1], "--screenshot") == 0 && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    try {
        return run(argc, argv);
    } catch (const std::exception &error) {
        std::cerr << "korvana: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "korvana: unexpected exception\n";
    }
    return 0;
}
