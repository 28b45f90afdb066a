// jornada-bench-minimal: the least a Qt Widgets program does to put a window on the screen.
// splash-time.sh times it beside the game's splash, so that the cost of starting Qt itself
// (loading its libraries, connecting to the display) counts on both sides.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The size of the game's splash, with a line of text.
    QLabel window(QStringLiteral("Jornada do Saber"));
    window.setWindowTitle(QStringLiteral("janela mínima"));
    window.resize(586, 374);
    window.show();
    // The measuring program ends it; this only keeps a stray run from lingering.
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
