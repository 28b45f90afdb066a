#include "app/Startup.h"

#include <QApplication>

int runJornada(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return app.exec();
}
