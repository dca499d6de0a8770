// korvana: the desktop program.
//
//     korvana [GAMEFILE]
//     korvana --screenshot FILE.png [GAMEFILE]
//
// The second form starts as usual, renders the main window into FILE.png
// without showing it, and exits (status 1 when the picture cannot be written).

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
#include "settings/ProgramPaths.h"
#include "dialogs/TOptionForm.h"

#include <QApplication>
#include <QPixmap>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

using namespace korvana;

namespace {

int run(int argc, char **argv)
{
    // 1. The application, titled as the program.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvana31"));

    QStringList arguments = QApplication::arguments();
    QString screenshot;
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("--screenshot")) {
        if (arguments.size() < 3) {
            std::cerr << "usage: korvana --screenshot FILE.png [GAMEFILE]\n";
            return 2;
        }
        screenshot = arguments[2];
        arguments.remove(1, 2);
    }

    // The process-wide objects, before any window.
    const std::string programPath = executablePath().empty() ? std::string(argv[0]) : executablePath();
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
    auto *options = new TOptionForm(&mainForm);
    new TTreeForm(&mainForm);
    auto *directories = new TDababaseDirectryForm(&mainForm);
    mainForm.setDialogs(message, colour, update, remove);
    mainForm.setOptionForm(options);
    options->setDirectoryForm(directories);
    mainForm.OpenFromCommandLine(arguments);

    if (!screenshot.isEmpty()) {
        // Laid out and rendered as on screen, but never mapped.
        mainForm.setAttribute(Qt::WA_DontShowOnScreen);
        mainForm.show();
        QApplication::processEvents();
        const bool saved = mainForm.grab().save(screenshot, "PNG");
        mainForm.close();
        if (!saved) {
            std::cerr << "korvana: can't write " << screenshot.toStdString() << '\n';
            return 1;
        }
        return 0;
    }

    mainForm.show();
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
