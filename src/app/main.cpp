// korvana: the desktop program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Korvana3 for Preview Release");
    window.show();
    return app.exec();
}
