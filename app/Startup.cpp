#include "app/Startup.h"
#include "screens/Fonts.h"

#include "app/Jornada.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "screens/Inicial.h"
#include "screens/Splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>
#include <QWindow>

// The pictures and fonts are compiled into the app library, which, being static, must register
// them itself.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace {

// Catches what escapes an event handler that was not connected through connectHandler, so that
// no error ever ends the event loop.
class JornadaApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        bool handled = false;
        runGuarded([&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
};

// Puts the splash on the desktop at once: show it, let the window system map it, paint it.
void showSplash()
{
    FrmSplash = new TFrmSplash;
    FrmSplash->show();
    QElapsedTimer waited;
    waited.start();
    while (FrmSplash->windowHandle() && !FrmSplash->windowHandle()->isExposed() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    FrmSplash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void prepareApplication()
{
    QCoreApplication::setApplicationName(ApplicationTitle);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    // The labels ask for "Trebuchet MS"; where the desktop lacks it, the bundled Cabin stands in.
    registerGameFonts();
}

std::unique_ptr<Jornada> startUp(const StartupOptions &options)
{
    registerAssets();
    // Before the first window, so that a screen reader meets the game's own interfaces.
    Accessibility::install();
    showSplash();
    prepareApplication();

    QString fatal;
    std::unique_ptr<Jornada> jornada = Jornada::create(fatal);
    if (!jornada) {
        delete FrmSplash;
        FrmSplash = nullptr;
        Dialogs::error(fatal);
        return nullptr;
    }

    // Blocking: nothing is handled or repainted meanwhile.
    QThread::msleep(options.pauseMs);
    delete FrmSplash;
    FrmSplash = nullptr;
    return jornada;
}

int runJornada(int argc, char *argv[])
{
    JornadaApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    std::unique_ptr<Jornada> jornada = startUp();
    if (!jornada)
        return 1;
    jornada->FrmInicial()->showScreen();
    const int status = app.exec();
    // The screens, and with them the bank's tables, go before the application.
    jornada.reset();
    return status;
}
