#include "Memory.h"

#include "SilentDialogs.h"
#include "app/Jornada.h"
#include "app/Startup.h"
#include "game/GameSession.h"
#include "screens/Inicial.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "store/core/AppError.h"
#include "store/exchange/QuestionImport.h"
#include "store/folder/FolderSetup.h"
#include "store/kinds/OpenBank.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <cstdio>
#include <sys/resource.h>

namespace {

double vmHwmMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    const QRegularExpression line(QStringLiteral("^VmHWM:\\s*(\\d+)\\s*kB"), QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : 0;
}

double maxRssMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024; // kilobytes on Linux
}

int printPeak(const QString &error = QString())
{
    if (!error.isEmpty()) {
        std::printf("erro=%s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("maxrss_mb=%.2f vmhwm_mb=%.2f\n", maxRssMb(), vmHwmMb());
    return 0;
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

int playOneGameForMemory()
{
    auto *dialogs = new SilentDialogs;
    setDialogBackend(std::unique_ptr<DialogBackend>(dialogs));

    // The program's own start-up, without its pause.
    std::unique_ptr<Jornada> jornada = startUp(StartupOptions {0});
    if (!jornada)
        return printPeak(QStringLiteral("início: ") + dialogs->lastError);
    jornada->FrmInicial()->showScreen();
    settle();

    jornada->FrmInicial()->EdtNome->setText(QStringLiteral("Medida"));
    jornada->FrmInicial()->BtnJogar->click();
    settle();
    for (int question = 0; question < QuestionsPerGame; ++question) {
        // Right and wrong answers in turn, as a player would give them.
        const TFrmPerguntas *screen = jornada->FrmPerguntas();
        QRadioButton *const buttons[] = {screen->RBResp1, screen->RBResp2, screen->RBResp3, screen->RBResp4};
        QRadioButton *choice = buttons[question % 4];
        if (question % 2 == 0)
            for (QRadioButton *b : buttons)
                if (TFrmPerguntas::AnswerOf(b) == jornada->game().state().CorrectAnswer)
                    choice = b;
        choice->setChecked(true);
        jornada->FrmPerguntas()->BtnOK->click();
        settle();
    }
    const bool ended = jornada->FrmResult()->isVisible() && jornada->game().state().CurrentIndex == QuestionsPerGame;
    const int status = printPeak(dialogs->errors ? dialogs->lastError
                                 : ended       ? QString()
                                               : QStringLiteral("o jogo não chegou ao fim"));
    jornada.reset();
    return status;
}

int showOneWindowForMemory()
{
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Jornada do Saber")));
    window.resize(784, 461);
    window.show();
    settle();
    window.repaint();
    settle();
    return printPeak();
}

int importCsvForMemory(const QString &csv, const QString &folder)
{
    try {
        openBank(folder)->createQuestionTable();
        importQuestions(csv, *openBank(folder), ImportMode::Add, [](const QString &) {});
    } catch (const ImportRefused &) {
        // A refusal is a whole reading of the file too: its cost is the one measured.
    } catch (const AppError &error) {
        return printPeak(error.text());
    }
    return printPeak();
}

int readFileForMemory(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return printPeak(file.errorString());
    const QByteArray bytes = file.readAll();
    return printPeak(bytes.isEmpty() ? QStringLiteral("arquivo vazio") : QString());
}

Peak peakOfChild(const QStringList &arguments, const QString &home)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    child.setProcessEnvironment(environment);
    // Linux carries the peak of the process that calls exec over into ru_maxrss, and this
    // process is large by now; a shell in between forks the child from a small process instead.
    child.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\"; exit $?"),
                                                       QCoreApplication::applicationFilePath()}
                                               + arguments);
    Peak peak;
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        peak.error = QStringLiteral("o processo filho não terminou");
        return peak;
    }
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    const QRegularExpression line(QStringLiteral("maxrss_mb=([\\d.]+) vmhwm_mb=([\\d.]+)"));
    const auto match = line.match(out);
    if (child.exitCode() != 0 || !match.hasMatch()) {
        peak.error = out.trimmed() + QString::fromUtf8(child.readAllStandardError()).trimmed();
        return peak;
    }
    peak.maxRssMb = match.captured(1).toDouble();
    peak.vmHwmMb = match.captured(2).toDouble();
    return peak;
}
