#include "Players.h"

#include "SilentDialogs.h"
#include "app/Jornada.h"
#include "app/Startup.h"
#include "game/GameSession.h"
#include "screens/Inicial.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <limits>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int GameMs = QuestionsPerGame * AnswerEveryMs;

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Lets the game run its events until `clock` reaches `ms`.
void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    const qint64 left = ms - clock.elapsed();
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Fields of /proc/PID/stat after the command's name: [0] state, [1] parent, [11] utime,
// [12] stime, [13] cutime, [14] cstime, in clock ticks.
QList<QByteArray> processFields(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = file.readAll();
    const qsizetype end = line.lastIndexOf(')');
    if (end < 0)
        return {};
    return line.mid(end + 2).split(' ');
}

QByteArray processName(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// The processor time of the postmaster `postmaster` and of every process it started, those
// that ended included (the postmaster waits for each, which adds its time to its own children's).
double serverTreeSeconds(qint64 postmaster)
{
    const double tick = double(sysconf(_SC_CLK_TCK));
    const QList<QByteArray> own = processFields(postmaster);
    if (own.size() < 15)
        return -1;
    double ticks = own[11].toDouble() + own[12].toDouble() + own[13].toDouble() + own[14].toDouble();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == postmaster)
            continue;
        const QList<QByteArray> fields = processFields(pid);
        if (fields.size() >= 13 && fields[1].toLongLong() == postmaster)
            ticks += fields[11].toDouble() + fields[12].toDouble();
    }
    return ticks / tick;
}

QString playerName(int index)
{
    return QStringLiteral("Aluno %1").arg(index + 1);
}

QString joined(const QList<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts << QString::number(value, 'f', 4);
    return texts.join(QLatin1Char(','));
}

} // namespace

int playAsPupil(int index, int total, int seconds)
{
    auto *dialogs = new SilentDialogs;
    setDialogBackend(std::unique_ptr<DialogBackend>(dialogs));
    std::unique_ptr<Jornada> jornada = startUp(StartupOptions {0});
    if (!jornada) {
        std::printf("erro=início: %s\n", dialogs->lastError.toUtf8().constData());
        return 1;
    }
    jornada->FrmInicial()->showScreen();
    settle();
    std::printf("pronto\n");
    std::fflush(stdout);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 1;

    const double cpuAtStart = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QRandomGenerator random(quint32(index + 1));
    const double rightChance = 0.5 + 0.4 * index / std::max(1, total - 1);
    const int games = (seconds * 1000 + GameMs - 1) / GameMs;
    qint64 slot = qint64(index) * AnswerEveryMs / std::max(1, total);
    QList<double> clicks;
    QStringList scores;
    int claims = 0;
    QString failure;
    waitUntil(clock, slot);
    for (int game = 0; game < games && failure.isEmpty(); ++game) {
        if (game > 0) {
            jornada->FrmResult()->BtnJogarNovamente->click();
            settle();
        }
        jornada->FrmInicial()->EdtNome->setText(playerName(index));
        jornada->FrmInicial()->BtnJogar->click();
        settle();
        for (int question = 0; question < QuestionsPerGame; ++question) {
            slot += AnswerEveryMs;
            waitUntil(clock, slot);
            const TFrmPerguntas *screen = jornada->FrmPerguntas();
            QRadioButton *const buttons[] = {screen->RBResp1, screen->RBResp2, screen->RBResp3, screen->RBResp4};
            const bool right = random.generateDouble() < rightChance;
            const int wrongAt = random.bounded(3);
            int wrongSeen = 0;
            QRadioButton *choice = buttons[0];
            for (QRadioButton *b : buttons) {
                const bool isRight = TFrmPerguntas::AnswerOf(b) == jornada->game().state().CorrectAnswer;
                if (isRight == right && (right || wrongSeen++ == wrongAt))
                    choice = b;
            }
            choice->setChecked(true);
            QElapsedTimer click;
            click.start();
            jornada->FrmPerguntas()->BtnOK->click();
            clicks << double(click.nsecsElapsed()) / 1e6;
            settle();
        }
        if (!jornada->FrmResult()->isVisible() || jornada->game().state().CurrentIndex != QuestionsPerGame)
            failure = QStringLiteral("o jogo %1 não chegou ao fim").arg(game + 1);
        else
            scores << QString::number(jornada->game().state().GamePoints);
        // A game that took the record holds itself as the record.
        const TGameState &state = jornada->game().state();
        if (state.RecordName == state.PlayerName && state.RecordPoints == state.GamePoints)
            ++claims;
    }
    if (dialogs->errors > 0)
        failure = QStringLiteral("%1 erro(s); o último: %2").arg(dialogs->errors).arg(dialogs->lastError);
    std::printf("cliques=%s\npontos=%s\nrecordes=%d\ncpu_s=%.4f\n", joined(clicks).toUtf8().constData(),
                scores.join(QLatin1Char(',')).toUtf8().constData(), claims, cpuSeconds() - cpuAtStart);
    if (!failure.isEmpty())
        std::printf("erro=%s\n", failure.simplified().toUtf8().constData());
    std::fflush(stdout);
    jornada.reset();
    return failure.isEmpty() ? 0 : 1;
}

LoadResult runPlayers(const QString &settingFolder, int players, int seconds, qint64 serverBackend)
{
    LoadResult result;
    result.players = players;

    // The server's processes: the parent of a connection's server process, when it is a
    // postmaster on this machine.
    qint64 postmaster = 0;
    if (serverBackend > 0 && processName(serverBackend) == "postgres") {
        const QList<QByteArray> fields = processFields(serverBackend);
        if (fields.size() > 1)
            postmaster = fields[1].toLongLong();
    }
    if (postmaster <= 0 || processName(postmaster) != "postgres")
        result.serverCpuMissing =
            QStringLiteral("os processos do servidor não estão nesta máquina (ou não são visíveis)");

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingFolder);
    environment.insert(QStringLiteral("HOME"), home.path());
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < players; ++i) {
        auto child = std::make_unique<QProcess>();
        child->setProcessEnvironment(environment);
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--jogador"), QString::number(i), QStringLiteral("--jogadores"),
                      QString::number(players), QStringLiteral("--segundos"), QString::number(seconds)});
        children.push_back(std::move(child));
    }
    const auto endAll = [&] {
        for (auto &child : children) {
            child->kill();
            child->waitForFinished(5000);
        }
    };

    // Every player started and showing the start screen before play begins: the start-ups,
    // thirty at once on a small machine, are not part of the load.
    QElapsedTimer waiting;
    waiting.start();
    constexpr qint64 startUpLimitMs = 180000;
    for (int i = 0; i < players; ++i) {
        QProcess &child = *children[size_t(i)];
        while (!child.canReadLine() && child.state() != QProcess::NotRunning && waiting.elapsed() < startUpLimitMs)
            child.waitForReadyRead(1000);
        const QByteArray line = child.canReadLine() ? child.readLine().trimmed() : QByteArray();
        if (line != "pronto") {
            result.errors << QStringLiteral("o jogador %1 não começou: %2 %3")
                                 .arg(i + 1)
                                 .arg(QString::fromUtf8(line + child.readAllStandardOutput()).simplified(),
                                      QString::fromUtf8(child.readAllStandardError()).simplified().left(400));
            endAll();
            return result;
        }
    }

    const double serverBefore = postmaster > 0 ? serverTreeSeconds(postmaster) : -1;
    QElapsedTimer wall;
    wall.start();
    for (auto &child : children) {
        child->write("vai\n");
        child->waitForBytesWritten(1000);
    }
    const int games = (seconds * 1000 + GameMs - 1) / GameMs;
    const qint64 playLimitMs = qint64(games) * (GameMs + AnswerEveryMs) + 120000;
    qint64 lastEnd = 0;
    for (int i = 0; i < players; ++i) {
        QProcess &child = *children[size_t(i)];
        if (!child.waitForFinished(int(std::max<qint64>(1000, playLimitMs - wall.elapsed())))) {
            result.errors << QStringLiteral("o jogador %1 não terminou a tempo").arg(i + 1);
            endAll();
            return result;
        }
        lastEnd = std::max(lastEnd, wall.elapsed());
    }
    result.wallSeconds = double(lastEnd) / 1000;
    // The server ends each player's process when its connection closes; the postmaster then
    // waits for it, which is when its time is counted.
    QThread::msleep(500);
    if (postmaster > 0) {
        const double serverAfter = serverTreeSeconds(postmaster);
        if (serverBefore >= 0 && serverAfter >= 0)
            result.serverCpuSeconds = serverAfter - serverBefore;
        else
            result.serverCpuMissing = QStringLiteral("o postmaster terminou durante a carga");
    }

    QList<int> bestOf(players, std::numeric_limits<int>::min());
    for (int i = 0; i < players; ++i) {
        QProcess &child = *children[size_t(i)];
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const QString value = line.section(QLatin1Char('='), 1);
            if (line.startsWith(QLatin1String("cliques=")))
                for (const QString &click : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                    result.clicks << click.toDouble();
            else if (line.startsWith(QLatin1String("pontos=")))
                for (const QString &score : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    result.scores << score.toInt();
                    bestOf[i] = std::max(bestOf[i], score.toInt());
                }
            else if (line.startsWith(QLatin1String("recordes=")))
                result.claims += value.toInt();
            else if (line.startsWith(QLatin1String("cpu_s=")))
                result.playersCpuSeconds += value.toDouble();
            else if (line.startsWith(QLatin1String("erro=")))
                result.errors << QStringLiteral("jogador %1: %2").arg(i + 1).arg(value);
        }
        if (child.exitStatus() != QProcess::NormalExit || (child.exitCode() != 0 && result.errors.isEmpty()))
            result.errors << QStringLiteral("o jogador %1 saiu com o código %2: %3")
                                 .arg(i + 1)
                                 .arg(child.exitCode())
                                 .arg(QString::fromUtf8(child.readAllStandardError()).simplified().left(400));
    }
    const int best = *std::max_element(bestOf.begin(), bestOf.end());
    for (int i = 0; i < players; ++i)
        if (bestOf[i] == best)
            result.best << playerName(i);
    return result;
}
