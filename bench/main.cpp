// jornada-bench: how fast the game starts, shows a question, takes an answer and moves through
// the editor, and how much memory a whole game takes; every figure beside a baseline measured
// in the same run, and the target it is held to.
//
//   jornada-bench [-n REPETIÇÕES] [--secoes inicio,fotos,ok,editor,memoria,importacao,servidor]
//                 [--servidor CONEXÃO]
//   jornada-bench --foto-12mp CAMINHO   (only writes the camera-size photo used by the measurements)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The banks live in
// temporary folders; HOME is pointed at each in turn. Two child modes, --memoria and
// --memoria-base, measure peak memory in a process of their own. The section "servidor" runs on
// the PostgreSQL server of --servidor (a libpq connection string of a role that may make
// databases and roles; "" for libpq's defaults, the PG* variables), with a bank of a million
// questions kept there; its load is played by children in the mode --jogador.
#include "Banks.h"
#include "Measure.h"
#include "Memory.h"
#include "Players.h"
#include "RawServer.h"
#include "RawTable.h"
#include "ServerBanks.h"
#include "SilentDialogs.h"

#include "app/Jornada.h"
#include "app/Startup.h"
#include "game/GameSession.h"
#include "game/QuestionDraw.h"
#include "platform/DBNavigator.h"
#include "platform/PhotoPrefetch.h"
#include "platform/PictureDecoders.h"
#include "platform/Pictures.h"
#include "platform/metafile/MetafileLibraries.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Splash.h"
#include "store/kinds/OpenBank.h"
#include "store/core/AppError.h"
#include "store/core/BankLocation.h"
#include "store/folder/CaseFoldedKey.h"
#include "store/server/ServerKey.h"
#include "store/bank/QuestionBank.h"
#include "store/tables/TableEngine.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QToolButton>
#include <QThread>
#include <QWindow>

#include <array>
#include <cstdio>
#include <optional>

static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace {

// The size of the question screen's photo box.
const QSize PhotoBox(137, 177);
const QSize CameraSize(4000, 3000);

SilentDialogs *dialogs = nullptr;

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Shows a window as start-up shows the splash: until the window system exposes it, then painted
// at once.
void showAndPaint(QWidget *window)
{
    window->show();
    while (window->windowHandle() && !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Seven windows with a label each: the screens of a start-up at the least.
void makeWindows(std::array<QMainWindow *, 7> &windows)
{
    for (QMainWindow *&window : windows) {
        window = new QMainWindow;
        window->setCentralWidget(new QLabel(QStringLiteral("Jornada do Saber")));
        window->setFixedSize(784, 461);
    }
}

// What every start-up must do at the least: the windows, and the bank opened and counted.
void bareStartUp(const QString &directory, std::array<QMainWindow *, 7> &windows)
{
    makeWindows(windows);
    RawTable raw(directory);
    raw.first("SELECT count(id) FROM db");
}

void deleteWindows(std::array<QMainWindow *, 7> &windows)
{
    for (QMainWindow *&window : windows) {
        delete window;
        window = nullptr;
    }
}

// Runs a step of the screens as their own handlers run it: a problem is reported (here, counted
// as an error of the row) and the measurement goes on.
void guarded(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &e) {
        ++dialogs->errors;
        dialogs->lastError = e.text();
    }
}

// Makes a bank the first time it is asked for, saying how long that took.
const BenchBank &made(std::unique_ptr<BenchBank> &bank, const QString &name, const std::function<std::unique_ptr<BenchBank>()> &make)
{
    if (!bank) {
        QElapsedTimer timer;
        timer.start();
        bank = make();
        say(QStringLiteral("  banco %1 criado em %2 ms").arg(name).arg(timer.elapsed()));
    }
    return *bank;
}

class Bench {
public:
    Bench(int repetitions, double prepareMs, const QString &cacheFolder, const std::optional<QString> &server)
        : m_n(repetitions), m_prepareMs(prepareMs), m_cacheFolder(cacheFolder), m_server(server)
    {
    }
    ~Bench()
    {
        // The screens hold the banks' tables open: they go first.
        m_jornada.reset();
    }

    void defineBaselines();
    void startUp();
    void photos();
    void okClick();
    void editor();
    void editorOn(const BenchBank &bank, const QString &size);
    void memory();
    void importMemory();
    void server();
    const Report &report() const { return m_report; }

private:
    // A row with `measured` and `baseline` timed in turn.
    Row compare(const QString &what, int repetitions, const Timed &measured, const QString &baselineKey,
                const Timed &baseline);
    // Adds the row, held to `limit` when one is given, and any error its measurement ran into.
    void add(Row row, double limit = 0, Row::Goal goal = Row::Goal::Below);
    // Reports an error that a measurement ran into, and fails the run.
    void checkErrors(const QString &what);
    void createScreensOn(const BenchBank &bank);
    void createScreensOn(const KeptServerBank &bank);
    // The rows of the server section, on the bank of a million kept there.
    void serverStartUp(const KeptServerBank &bank);
    void serverOkClick(const KeptServerBank &bank);
    void serverEditor(const KeptServerBank &bank);
    void serverLoad(const KeptServerBank &bank);
    // Checks the right answer of the question on screen (the first one when none matches).
    void checkRightAnswer();
    int reps(int fraction = 1) const { return std::max(5, m_n / fraction); }

    int m_n;
    double m_prepareMs;
    QString m_cacheFolder; // where the bank of a million is kept between runs
    std::optional<QString> m_server; // the connection of --servidor
    Report m_report;
    QTemporaryDir m_photoDir;
    // The photo and the banks are made when first needed, so that a run of some sections only
    // makes what those use.
    const QString &cameraPhoto();
    const QString &smoothPhoto(); // the same size with little grain: far less data to decode
    const BenchBank &sample();
    const BenchBank &tenThousand();
    const BenchBank &hundredThousand();
    const BenchBank &hundredThousandCamera();
    // The bank of a million, kept in the cache folder, with the sample photos or the 12 MP one.
    const BenchBank &million();
    const BenchBank &millionCamera();

    QString m_cameraPhoto, m_smoothPhoto;
    std::unique_ptr<BenchBank> m_sample, m_tenThousand, m_hundredThousand, m_hundredThousandCamera, m_million;
    std::unique_ptr<Jornada> m_jornada; // the game the measurements run on, when one is built
};

void Bench::checkErrors(const QString &what)
{
    if (dialogs->errors == 0)
        return;
    m_report.error(QStringLiteral("\"%1\" encontrou %2 erro(s); o último: %3")
                       .arg(what)
                       .arg(dialogs->errors)
                       .arg(dialogs->lastError));
    dialogs->errors = 0;
}

void Bench::createScreensOn(const BenchBank &bank)
{
    m_jornada.reset();
    bank.use();
    QString fatal;
    m_jornada = Jornada::create(fatal);
    if (!m_jornada)
        throw AppError(fatal);
}

void Bench::createScreensOn(const KeptServerBank &bank)
{
    m_jornada.reset();
    bank.use();
    QString fatal;
    m_jornada = Jornada::create(fatal);
    if (!m_jornada)
        throw AppError(fatal);
}

void Bench::checkRightAnswer()
{
    const TFrmPerguntas *screen = m_jornada->FrmPerguntas();
    QRadioButton *const buttons[] = {screen->RBResp1, screen->RBResp2, screen->RBResp3, screen->RBResp4};
    QRadioButton *choice = buttons[0];
    for (QRadioButton *b : buttons)
        if (TFrmPerguntas::AnswerOf(b) == m_jornada->game().state().CorrectAnswer)
            choice = b;
    choice->setChecked(true);
}

namespace {

const QString &madePhoto(QString &path, const QTemporaryDir &folder, const QString &name, int grain)
{
    if (path.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        const QString file = folder.filePath(name);
        writeCameraPhoto(file, CameraSize, grain);
        path = file;
        say(QStringLiteral("  foto %1 criada (%2 KB) em %3 ms")
                .arg(name)
                .arg(QFileInfo(file).size() / 1024)
                .arg(timer.elapsed()));
    }
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Não foi possível ler %1").arg(path));
    return file.readAll();
}

QString kilobytes(const QString &path)
{
    return QStringLiteral("%1 KB").arg(QFileInfo(path).size() / 1024);
}

} // namespace

const QString &Bench::cameraPhoto()
{
    return madePhoto(m_cameraPhoto, m_photoDir, QStringLiteral("camera-12mp.jpg"), 16);
}

const QString &Bench::smoothPhoto()
{
    return madePhoto(m_smoothPhoto, m_photoDir, QStringLiteral("lisa-12mp.jpg"), 2);
}

const BenchBank &Bench::sample()
{
    return made(m_sample, QStringLiteral("de exemplo"), [] { return BenchBank::sample(); });
}

const BenchBank &Bench::tenThousand()
{
    return made(m_tenThousand, QStringLiteral("de 10.000"), [] { return BenchBank::generated(10000, samplePhotos()); });
}

const BenchBank &Bench::hundredThousand()
{
    return made(m_hundredThousand, QStringLiteral("de 100.000"),
                [] { return BenchBank::generated(100000, samplePhotos()); });
}

const BenchBank &Bench::hundredThousandCamera()
{
    const QString photo = cameraPhoto();
    return made(m_hundredThousandCamera, QStringLiteral("de 100.000 com a foto de 12 MP"),
                [&] { return BenchBank::generated(100000, {photo}); });
}

const BenchBank &Bench::million()
{
    const BenchBank &bank = made(m_million, QStringLiteral("de 1.000.000 (guardado em %1)").arg(m_cacheFolder),
                            [&] { return BenchBank::kept(1000000, QDir(m_cacheFolder).filePath(QStringLiteral("banco-1000000"))); });
    bank.usePhotos(QDir(bank.home()).filePath(QStringLiteral("fotos-exemplo")));
    return bank;
}

const BenchBank &Bench::millionCamera()
{
    // Every photo name of the bank leads to the 12 MP photo.
    const QString folder = m_photoDir.filePath(QStringLiteral("camera"));
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(folder);
        for (int i = 0; i < KeptPhotoNames; ++i)
            QFile::link(cameraPhoto(), QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
    }
    const BenchBank &bank = million();
    bank.usePhotos(folder);
    return bank;
}

void Bench::defineBaselines()
{
    m_report.defineBaseline(QStringLiteral("janela pintada"),
                            QStringLiteral("uma QMainWindow com um QLabel, do tamanho do splash, criada, mostrada e "
                                           "pintada"));
    m_report.defineBaseline(QStringLiteral("janelas+count"),
                            QStringLiteral("7 QMainWindow com um QLabel cada, criadas, mais abrir Perguntas.DB "
                                           "no SQLite e rodar SELECT count(id) (banco igual ao da linha)"));
    m_report.defineBaseline(QStringLiteral("count cru"),
                            QStringLiteral("SELECT count(id) FROM db, preparado, direto no SQLite"));
    m_report.defineBaseline(QStringLiteral("20 buscas"),
                            QStringLiteral("20 buscas SELECT id ... WHERE id >= ? ORDER BY id LIMIT 1 com números "
                                           "sorteados, direto no SQLite"));
    m_report.defineBaseline(QStringLiteral("decod. completa"),
                            QStringLiteral("loadPicture(caminho) sem tamanho visível: a foto inteira decodificada"));
    m_report.defineBaseline(QStringLiteral("linha+foto"),
                            QStringLiteral("SELECT da pergunta pelo Id direto no SQLite, mais loadPicture(foto, "
                                           "137×177): o trabalho mínimo de mostrar uma pergunta"));
    m_report.defineBaseline(QStringLiteral("busca crua"),
                            QStringLiteral("a mesma busca por índice (ORDER BY Id / a chave de Pergunta sem "
                                           "maiúsculas do índice IdPergunta, LIMIT 1), preparada, direto no "
                                           "SQLite, lendo todas as colunas"));
    m_report.defineBaseline(QStringLiteral("busca+foto"),
                            QStringLiteral("a busca crua do próximo pelo Id, mais loadPicture(foto, 137×177)"));
    m_report.defineBaseline(QStringLiteral("no processo"),
                            QStringLiteral("o mesmo metarquivo decodificado no próprio processo, sem o processo "
                                           "decodificador (libwmf ou libemf2svg, depois o desenho)"));
    m_report.defineBaseline(QStringLiteral("arquivo lido"),
                            QStringLiteral("processo filho que só lê o mesmo arquivo CSV inteiro na memória"));
    m_report.defineBaseline(QStringLiteral("janela mínima"),
                            QStringLiteral("processo filho com uma QMainWindow e um QLabel, mostrada e pintada"));
    m_report.defineBaseline(QStringLiteral("janelas+conexão"),
                            QStringLiteral("7 QMainWindow com um QLabel cada, criadas, mais uma conexão nova ao "
                                           "servidor pelo libpq, como o papel dos alunos, e SELECT count(id) FROM "
                                           "perguntas.db"));
    m_report.defineBaseline(QStringLiteral("count no servidor"),
                            QStringLiteral("SELECT count(id) FROM perguntas.db, preparado, direto pelo libpq numa "
                                           "conexão aberta"));
    m_report.defineBaseline(QStringLiteral("20 buscas no serv."),
                            QStringLiteral("20 buscas SELECT id FROM perguntas.db WHERE id >= $1 ORDER BY id LIMIT 1 "
                                           "com números sorteados, preparadas, direto pelo libpq"));
    m_report.defineBaseline(QStringLiteral("linha+foto no serv."),
                            QStringLiteral("SELECT da pergunta pelo Id e SELECT dos bytes da foto em perguntas.fotos, "
                                           "direto pelo libpq, mais decodePicture(bytes, 137×177)"));
    m_report.defineBaseline(QStringLiteral("busca no servidor"),
                            QStringLiteral("a mesma busca pelo índice (id / a chave de pergunta sem maiúsculas, e "
                                           "linha; LIMIT 1), preparada, direto pelo libpq como o administrador, "
                                           "lendo todas as colunas"));
}

Row Bench::compare(const QString &what, int repetitions, const Timed &measured, const QString &baselineKey,
                   const Timed &baseline)
{
    Row row;
    row.what = what;
    row.repetitions = repetitions;
    row.baseline = baselineKey;
    const Medians medians = medianMs(repetitions, measured, baseline);
    row.value = medians.measured;
    row.baselineValue = medians.baseline;
    return row;
}

void Bench::add(Row row, double limit, Row::Goal goal)
{
    if (limit > 0) {
        row.goal = goal;
        row.limit = limit;
    }
    m_report.add(row);
    checkErrors(row.what);
}

void Bench::startUp()
{
    m_report.section(QStringLiteral("Início: o splash e a preparação"));
    TFrmSplash *screen = nullptr;
    QMainWindow *window = nullptr;
    add(compare(QStringLiteral("Splash: TFrmSplash criado, mostrado e pintado"), reps(),
                {[&] {
                     screen = new TFrmSplash;
                     showAndPaint(screen);
                 },
                 {}, [&] { delete screen; }},
                QStringLiteral("janela pintada"),
                {[&] {
                     window = new QMainWindow;
                     window->setCentralWidget(new QLabel(QStringLiteral("Jornada do Saber")));
                     window->setFixedSize(586, 374);
                     showAndPaint(window);
                 },
                 {}, [&] { delete window; }}));

    Row prepare;
    prepare.what = QStringLiteral("prepareApplication (fontes, tradução; só uma vez)");
    prepare.repetitions = 1;
    prepare.value = m_prepareMs;
    m_report.add(prepare);

    m_report.section(QStringLiteral("Início: createScreens() (telas, tabelas, recorde, contagem, sorteio, "
                                    "primeira pergunta)"));
    struct Case {
        const BenchBank *bank;
        QString name;
        double target;
        int fraction;
    };
    const Case cases[] = {
        {&sample(), QStringLiteral("exemplo (%1, fotos reais)").arg(sample().questions()), 20, 1},
        {&tenThousand(), QStringLiteral("10.000 perguntas"), 0, 1},
        {&hundredThousand(), QStringLiteral("100.000 perguntas"), 60, 2},
        {&million(), QStringLiteral("1.000.000 perguntas"), 80, 4},
    };
    for (const Case &c : cases) {
        m_jornada.reset();
        c.bank->use();
        std::array<QMainWindow *, 7> windows {};
        add(compare(QStringLiteral("createScreens, ") + c.name, reps(c.fraction),
                    {[this] {
                         QString fatal;
                         m_jornada = Jornada::create(fatal);
                         if (!m_jornada)
                             throw AppError(QStringLiteral("as tabelas não abriram"));
                     },
                     // Counted as at the program's start, not kept from the last round.
                     {}, [this] { m_jornada.reset(); }},
                    QStringLiteral("janelas+count"),
                    {[&] { bareStartUp(c.bank->directory(), windows); }, {}, [&] { deleteWindows(windows); }}),
            c.target);

        // The game's own steps inside it, on screens made once.
        createScreensOn(*c.bank);
        RawTable raw(c.bank->directory());
        add(compare(QStringLiteral("  CountQuestions, ") + c.name, reps(),
                    {[this] { m_jornada->questionBank().count(); }, [this] { m_jornada->questionBank().forgetCount(); }},
                    QStringLiteral("count cru"), {[&] { raw.first("SELECT count(id) FROM db"); }}));
        add(compare(QStringLiteral("  CountQuestions, tabela inalterada desde a última"), reps(),
                    {[this] { m_jornada->questionBank().count(); }}, QStringLiteral("count cru"),
                    {[&] { raw.first("SELECT count(id) FROM db"); }}));
        QRandomGenerator random(3);
        const int questions = c.bank->questions();
        // The draw of the rules alone; a new game then also reads the 20 photos' paths, hands them
        // to the background decoding and shows the first question, measured on the next line.
        TGameState drawn;
        drawn.QuestionCount = questions;
        Row draw = compare(QStringLiteral("  DrawQuestions, ") + c.name, reps(),
                           {[&] { DrawQuestions(m_jornada->questionBank(), drawn); }},
                           QStringLiteral("20 buscas"), {[&] {
                               for (int i = 0; i < QuestionsPerGame; ++i)
                                   raw.first("SELECT id FROM db WHERE id >= ?1 ORDER BY id LIMIT 1",
                                             1 + random.bounded(questions));
                           }});
        if (questions >= 1000000)
            draw.ratioLimit = 30;
        add(draw, questions >= 1000000 ? 2 : 0, Row::Goal::BelowAndRatioAtMost);
        add(compare(QStringLiteral("  um jogo novo: o sorteio, as fotos pedidas e a 1ª pergunta"), reps(),
                    {[this] { m_jornada->FrmPerguntas()->ShowNewGame(m_jornada->game().playAgain()); }, {},
                     [this] { m_jornada->FrmPerguntas()->ResetForNewGame(); }},
                    QStringLiteral("20 buscas"), {[&] {
                        for (int i = 0; i < QuestionsPerGame; ++i)
                            raw.first("SELECT id FROM db WHERE id >= ?1 ORDER BY id LIMIT 1",
                                      1 + random.bounded(questions));
                    }}));
    }
}

void Bench::photos()
{
    m_report.section(QStringLiteral("Fotos: ShowQuestion(id) e loadPicture"));

    // The sample bank's JPEG questions, each shown in turn.
    createScreensOn(sample());
    RawTable raw(sample().directory());
    QList<qint32> ids;
    QStringList paths;
    for (int id = 1; id <= sample().questions(); ++id) {
        const QString photo = raw.first("SELECT foto FROM db WHERE id = ?1", id);
        if (photo.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
            ids << id;
            paths << photo;
        }
    }
    int shown = 0, decoded = 0;
    // A question read from the bank, as the game reads it, and shown.
    const auto showQuestion = [this](qint32 id) {
        const Question stored = m_jornada->questionBank().question(id).value_or(Question());
        QuestionView view;
        view.id = id;
        view.pergunta = stored.pergunta;
        view.answers = stored.answers;
        view.foto = stored.foto;
        m_jornada->FrmPerguntas()->ShowQuestion(view);
    };
    add(compare(QStringLiteral("ShowQuestion, fotos JPEG do exemplo (137×177)"), reps(),
                {[&] { showQuestion(ids[shown++ % ids.size()]); }}, QStringLiteral("decod. completa"),
                {[&] { loadPicture(paths[decoded++ % paths.size()]); }}));

    // The crop against a full decode, for a photo with grain (the one the game is measured with)
    // and a smooth one: what a crop saves depends on how much compressed data lies above the
    // region, all of which the decoder has to read.
    for (const QString &photo : {cameraPhoto(), smoothPhoto()}) {
        const QString kind = photo == cameraPhoto() ? QStringLiteral("granulada") : QStringLiteral("lisa");
        add(compare(QStringLiteral("loadPicture, recorte 137×177, 12 MP %1 (%2)").arg(kind, kilobytes(photo)),
                    reps(), {[&] { loadPicture(photo, PhotoBox); }}, QStringLiteral("decod. completa"),
                    {[&] { loadPicture(photo); }}));
    }

    for (const BenchBank *bank : {&hundredThousandCamera(), &millionCamera()}) {
        createScreensOn(*bank);
        shown = 0;
        add(compare(QStringLiteral("ShowQuestion, foto 12 MP granulada (4000×3000), %1 perguntas")
                        .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(bank->questions())),
                    reps(), {[&] { showQuestion(m_jornada->game().state().DrawnIds[shown++ % QuestionsPerGame]); }},
                    QStringLiteral("decod. completa"), {[&] { loadPicture(cameraPhoto()); }}),
            0.25, Row::Goal::RatioAtMost);
    }

    // A metafile goes through the decoder process; the same work done in this process (the
    // libraries, then drawing what they made) is what the process costs on top of.
    const QDir metafiles(QStringLiteral(JORNADA_SOURCE_DIR "/../shared/testdata/metafiles"));
    const QString wmf = metafiles.filePath(QStringLiteral("wmf/sample.wmf"));
    const QString emf = metafiles.filePath(QStringLiteral("emf/test-001.emf"));
    if (!QFileInfo(wmf).isFile() || !QFileInfo(emf).isFile()) {
        m_report.note(QStringLiteral("Metarquivos não medidos: %1 não existe.").arg(metafiles.path()));
        return;
    }
    const QByteArray wmfBytes = readFile(wmf), emfBytes = readFile(emf);
    add(compare(QStringLiteral("loadPicture, WMF real (%1), 137×177").arg(kilobytes(wmf)), reps(),
                {[&] { loadPicture(wmf, PhotoBox); }}, QStringLiteral("no processo"),
                {[&] { wmfFromPng(wmfToPng(wmfBytes, MaxDecoderBytes)); }}));
    add(compare(QStringLiteral("loadPicture, EMF real (%1), 137×177").arg(kilobytes(emf)), reps(),
                {[&] { loadPicture(emf, PhotoBox); }}, QStringLiteral("no processo"),
                {[&] { emfFromSvg(placeEmf(emfBytes), emfToSvg(emfBytes)); }}));
}

void Bench::okClick()
{
    m_report.section(QStringLiteral("Clique em OK com uma resposta marcada (conferir, contar, próxima pergunta "
                                    "com foto)"));
    struct Case {
        const BenchBank *bank;
        QString name;
        double target;
        QList<double> click, clickAndPaint, leastWork;
    };
    Case cases[] = {
        {&sample(), QStringLiteral("exemplo"), 5, {}, {}, {}},
        {&hundredThousandCamera(), QStringLiteral("100.000 perguntas, fotos 12 MP"), 2, {}, {}, {}},
        {&millionCamera(), QStringLiteral("1.000.000 perguntas, fotos 12 MP"), 0, {}, {}, {}},
    };
    // The banks take turns, a few clicks each per round, so that a spell of load on the machine
    // falls on all of them alike: the ratio of two banks' clicks is worth only that. And the
    // clicks are not alternated with their baseline: a 12 MP decode before every click would
    // leave the processor's caches cold for it, which the sample bank's small photos do not.
    constexpr int rounds = 10;
    const int clicks = std::max(5, 10 * reps() / rounds);
    const int decodes = std::max(2, reps() / rounds);
    for (int round = 0; round < rounds; ++round) {
        for (Case &c : cases) {
            createScreensOn(*c.bank);
            m_jornada->FrmPerguntas()->showScreen();
            settle();
            // The photos of the game are decoded while the player reads the first question.
            const auto photosDecoded = [this] {
                while (!m_jornada->FrmPerguntas()->photoPrefetch().idle())
                    QThread::msleep(5);
            };
            photosDecoded();
            RawTable raw(c.bank->directory());
            int read = 0;
            // The game never reaches its end here: each click answers one of the first 19
            // questions, and a new game, its photos decoded, is started before the 20th.
            auto answer = [&] {
                if (m_jornada->game().state().CurrentIndex == QuestionsPerGame - 1) {
                    m_jornada->FrmPerguntas()->ShowNewGame(m_jornada->game().start(QStringLiteral("Medida")));
                    photosDecoded();
                }
                checkRightAnswer();
            };
            const Timed leastWork {[&] {
                const qint32 id = m_jornada->game().state().DrawnIds[read++ % QuestionsPerGame];
                loadPicture(raw.first("SELECT id, pergunta, resp1, resp2, resp3, resp4, correta, foto FROM db "
                                      "WHERE id = ?1",
                                      id, 7),
                            PhotoBox);
            }};
            const Timed click {[this] { m_jornada->FrmPerguntas()->BtnOK->click(); }, answer, settle};
            const Timed clickAndPaint {[this] {
                                           m_jornada->FrmPerguntas()->BtnOK->click();
                                           settle();
                                       },
                                       answer};
            c.click += timesMs(clicks, click);
            c.clickAndPaint += timesMs(clicks, clickAndPaint);
            c.leastWork += timesMs(decodes, leastWork);
            m_jornada->FrmPerguntas()->hide();
            checkErrors(QStringLiteral("BtnOK->click(), ") + c.name);
        }
    }

    auto row = [](const QString &what, const QList<double> &times, const QList<double> &baseline) {
        Row row;
        row.what = what;
        row.value = median(times);
        row.repetitions = int(times.size());
        row.baseline = QStringLiteral("linha+foto");
        row.baselineValue = median(baseline);
        return row;
    };
    m_report.note(QStringLiteral(
        "Clique em OK: os três bancos se revezam em %1 rodadas de %2 cliques cada; a base linha+foto é "
        "medida à parte, depois dos cliques de cada rodada, e não alternada com eles (decodificar 12 MP "
        "antes de cada clique deixaria frias as caches do processador para o clique).")
                      .arg(rounds)
                      .arg(clicks));
    double sampleClick = 0;
    for (const Case &c : cases) {
        const Row click = row(QStringLiteral("BtnOK->click(), ") + c.name, c.click, c.leastWork);
        add(click, c.target);
        if (c.bank == &sample()) {
            sampleClick = click.value;
        } else if (sampleClick > 0) {
            Row ratio;
            ratio.what = QStringLiteral("  razão ao clique do exemplo");
            ratio.unit = QStringLiteral("×");
            ratio.repetitions = click.repetitions;
            ratio.value = click.value / sampleClick;
            if (c.target > 0) {
                ratio.goal = Row::Goal::Below;
                ratio.limit = 1.5;
            }
            m_report.add(ratio);
        }
        add(row(QStringLiteral("  o mesmo e a tela repintada"), c.clickAndPaint, c.leastWork), c.target);
    }
}

void Bench::editor()
{
    editorOn(hundredThousand(), QStringLiteral("100.000"));
    editorOn(million(), QStringLiteral("1.000.000"));

    // Through 12 MP photos, looking at each question a moment before moving on: the photos next
    // to it are decoded meanwhile.
    m_report.section(QStringLiteral("Editor com 1.000.000 perguntas e fotos de 12 MP"));
    createScreensOn(millionCamera());
    m_jornada->FrmCadastro()->OpenEditor();
    settle();
    m_jornada->FrmCadastro()->TbPerguntas->first();
    RawTable raw(millionCamera().directory());
    int id = 1;
    const auto look = [this] {
        settle();
        while (!m_jornada->FrmCadastro()->photoPrefetch().idle())
            QThread::msleep(5);
    };
    QToolButton *next = m_jornada->FrmCadastro()->DBNav->button(DBNavigator::Button::Next);
    add(compare(QStringLiteral("DBNav: Próximo, fotos 12 MP"), reps(), {[next] { next->click(); }, look},
                QStringLiteral("busca+foto"), {[&] {
                    loadPicture(raw.first("SELECT rowid, * FROM db WHERE Id > ?1 ORDER BY Id LIMIT 1", id++, 8),
                                PhotoBox);
                }}),
        2);
    m_jornada->FrmCadastro()->hide();
}

void Bench::editorOn(const BenchBank &bank, const QString &size)
{
    m_report.section(QStringLiteral("Editor com %1 perguntas (cada clique recarrega a foto)").arg(size));
    createScreensOn(bank);
    m_jornada->FrmCadastro()->OpenEditor();
    settle();
    Table *table = m_jornada->FrmCadastro()->TbPerguntas;
    RawTable raw(bank.directory());
    const int last = bank.questions();

    struct Case {
        QString name;
        DBNavigator::Button which;
        std::function<void()> before;
        std::function<void()> baseline;
    };
    int id = 1;
    const Case cases[] = {
        {QStringLiteral("Primeiro"), DBNavigator::Button::First, [&] { table->last(); settle(); },
         [&] { raw.first("SELECT rowid, * FROM db ORDER BY Id LIMIT 1"); }},
        {QStringLiteral("Próximo"), DBNavigator::Button::Next, settle,
         [&] { raw.first("SELECT rowid, * FROM db WHERE Id > ?1 ORDER BY Id LIMIT 1", id++); }},
        {QStringLiteral("Último"), DBNavigator::Button::Last, [&] { table->first(); settle(); },
         [&] { raw.first("SELECT rowid, * FROM db ORDER BY Id DESC LIMIT 1"); }},
        {QStringLiteral("Anterior"), DBNavigator::Button::Prior, settle,
         [&] { raw.first("SELECT rowid, * FROM db WHERE Id < ?1 ORDER BY Id DESC LIMIT 1", last - id++); }},
    };
    for (const Case &c : cases) {
        // Next starts at the first question, Prior at the last.
        if (c.which == DBNavigator::Button::Next)
            table->first();
        if (c.which == DBNavigator::Button::Prior)
            table->last();
        QToolButton *button = m_jornada->FrmCadastro()->DBNav->button(c.which);
        add(compare(QStringLiteral("DBNav: ") + c.name, reps(), {[button] { button->click(); }, c.before},
                    QStringLiteral("busca crua"), {c.baseline}),
            1);
    }

    const QStringList terms = searchTerms();
    int asked = 0, sought = 0;
    // The seek of the index IdPergunta, on the key that ignores case as the engine writes it.
    const QString key = caseFoldedKey(QStringLiteral("\"Pergunta\""));
    const QByteArray nearestText = QStringLiteral("SELECT rowid, * FROM db WHERE %1 >= %2 ORDER BY %1 LIMIT 1")
                                       .arg(key, caseFoldedKey(QStringLiteral("?1")))
                                       .toUtf8();
    add(compare(QStringLiteral("Localizar (termo respondido no pedido)"), reps(),
                {[this] { m_jornada->FrmCadastro()->BdLocalizar->click(); },
                 [&] {
                     dialogs->promptAnswer = terms[asked++ % terms.size()];
                     settle();
                 }},
                QStringLiteral("busca crua"), {[&] {
                    raw.first(nearestText.constData(), terms[sought++ % terms.size()]);
                }}),
        1);
    m_jornada->FrmCadastro()->hide();
}

void Bench::server()
{
    if (!m_server) {
        const QString why = QStringLiteral("Seção servidor pulada: falta --servidor CONEXÃO (um servidor PostgreSQL "
                                           "e um papel que possa criar bancos e papéis; sob pg_virtualenv, "
                                           "--servidor '' basta).");
        say(QStringLiteral("  ") + why);
        m_report.note(why);
        return;
    }
    m_jornada.reset();
    std::unique_ptr<KeptServerBank> bank;
    QElapsedTimer timer;
    timer.start();
    try {
        bank = KeptServerBank::kept(*m_server, 1000000);
    } catch (const AppError &e) {
        const QString why = QStringLiteral("Seção servidor pulada: %1").arg(e.text());
        say(QStringLiteral("  ") + why);
        m_report.error(why);
        return;
    }
    say(QStringLiteral("  banco de 1.000.000 no %1 %2 em %3 ms")
            .arg(openBank(BankLocation::server(bank->owner()))->description(),
                 bank->madeNow() ? QStringLiteral("criado") : QStringLiteral("encontrado"))
            .arg(timer.elapsed()));
    // From here on the game's setting names the server: this section runs after every other.
    serverStartUp(*bank);
    serverOkClick(*bank);
    serverEditor(*bank);
    m_jornada.reset();
    serverLoad(*bank);
}

void Bench::serverStartUp(const KeptServerBank &bank)
{
    m_report.section(QStringLiteral("Servidor PostgreSQL local, 1.000.000 de perguntas, fotos do exemplo no banco: "
                                    "o início e o sorteio, como o papel dos alunos"));
    m_jornada.reset();
    bank.use();
    std::array<QMainWindow *, 7> windows {};
    std::unique_ptr<RawServer> connected;
    add(compare(QStringLiteral("createScreens, servidor, 1.000.000 perguntas"), reps(4),
                {[this] {
                     QString fatal;
                     m_jornada = Jornada::create(fatal);
                     if (!m_jornada)
                         throw AppError(QStringLiteral("as tabelas do servidor não abriram"));
                 },
                 // A new connection and a count at every start, as a lab machine starting.
                 {}, [this] { m_jornada.reset(); }},
                QStringLiteral("janelas+conexão"),
                {[&] {
                     makeWindows(windows);
                     connected = std::make_unique<RawServer>(bank.pupils());
                     connected->first("SELECT count(id) FROM perguntas.db");
                 },
                 {},
                 [&] {
                     deleteWindows(windows);
                     connected.reset();
                 }}),
        150);

    createScreensOn(bank);
    RawServer raw(bank.pupils());
    add(compare(QStringLiteral("  CountQuestions, servidor"), reps(),
                {[this] { m_jornada->questionBank().count(); }, [this] { m_jornada->questionBank().forgetCount(); }},
                QStringLiteral("count no servidor"), {[&] { raw.first("SELECT count(id) FROM perguntas.db"); }}));
    add(compare(QStringLiteral("  CountQuestions, tabela inalterada desde a última"), reps(),
                {[this] { m_jornada->questionBank().count(); }}, QStringLiteral("count no servidor"),
                {[&] { raw.first("SELECT count(id) FROM perguntas.db"); }}));
    QRandomGenerator random(3);
    const int questions = bank.questions();
    const auto twentySeeks = [&] {
        for (int i = 0; i < QuestionsPerGame; ++i)
            raw.first("SELECT id FROM perguntas.db WHERE id >= $1 ORDER BY id LIMIT 1", 1 + random.bounded(questions));
    };
    TGameState drawn;
    drawn.QuestionCount = questions;
    add(compare(QStringLiteral("  DrawQuestions, servidor"), reps(),
                {[&] { DrawQuestions(m_jornada->questionBank(), drawn); }}, QStringLiteral("20 buscas no serv."),
                {twentySeeks}),
        5);
    add(compare(QStringLiteral("  um jogo novo: o sorteio, as fotos pedidas e a 1ª pergunta"), reps(),
                {[this] {
                     guarded([this] { m_jornada->FrmPerguntas()->ShowNewGame(m_jornada->game().playAgain()); });
                 },
                 {},
                 [this] { m_jornada->FrmPerguntas()->ResetForNewGame(); }},
                QStringLiteral("20 buscas no serv."), {twentySeeks}));
}

void Bench::serverOkClick(const KeptServerBank &bank)
{
    m_report.section(QStringLiteral("Servidor: clique em OK com uma resposta marcada (conferir, contar, próxima "
                                    "pergunta com a foto do banco)"));
    constexpr int rounds = 10;
    const int clicks = std::max(5, 10 * reps() / rounds);
    const int decodes = std::max(2, reps() / rounds);
    QList<double> click, clickAndPaint, leastWork;
    RawServer raw(bank.pupils());
    const auto photosDecoded = [this] {
        while (!m_jornada->FrmPerguntas()->photoPrefetch().idle())
            QThread::msleep(5);
    };
    for (int round = 0; round < rounds; ++round) {
        createScreensOn(bank);
        m_jornada->FrmPerguntas()->showScreen();
        settle();
        photosDecoded();
        int read = 0;
        // As in the section "ok": one of the first 19 questions each click, and a new game, its
        // photos decoded, before the 20th.
        const auto answer = [&] {
            if (m_jornada->game().state().CurrentIndex == QuestionsPerGame - 1) {
                guarded([this] {
                    m_jornada->FrmPerguntas()->ShowNewGame(m_jornada->game().start(QStringLiteral("Medida")));
                });
                photosDecoded();
            }
            checkRightAnswer();
        };
        const Timed least {[&] {
            const qint32 id = m_jornada->game().state().DrawnIds[read++ % QuestionsPerGame];
            const QString photo = raw.first("SELECT id, pergunta, resp1, resp2, resp3, resp4, correta, foto "
                                            "FROM perguntas.db WHERE id = $1",
                                            id, 7);
            decodePicture(raw.firstBytes("SELECT dados FROM perguntas.fotos WHERE nome = $1", photo),
                          QStringLiteral("jpg"), PhotoBox);
        }};
        click += timesMs(clicks, {[this] { m_jornada->FrmPerguntas()->BtnOK->click(); }, answer, settle});
        clickAndPaint += timesMs(clicks, {[this] {
                                              m_jornada->FrmPerguntas()->BtnOK->click();
                                              settle();
                                          },
                                          answer});
        leastWork += timesMs(decodes, least);
        m_jornada->FrmPerguntas()->hide();
        checkErrors(QStringLiteral("BtnOK->click(), servidor"));
    }
    const auto row = [&](const QString &what, const QList<double> &times) {
        Row r;
        r.what = what;
        r.value = median(times);
        r.repetitions = int(times.size());
        r.baseline = QStringLiteral("linha+foto no serv.");
        r.baselineValue = median(leastWork);
        return r;
    };
    add(row(QStringLiteral("BtnOK->click(), servidor, 1.000.000 perguntas"), click), 3);
    add(row(QStringLiteral("  o mesmo e a tela repintada"), clickAndPaint));
}

void Bench::serverEditor(const KeptServerBank &bank)
{
    m_report.section(QStringLiteral("Servidor: editor com 1.000.000 perguntas, como o administrador (cada clique "
                                    "recarrega a foto)"));
    createScreensOn(bank);
    // What the login hands the editor: the bank reached as the administrator's role.
    guarded([&] { m_jornada->FrmCadastro()->OpenEditor(openBank(BankLocation::server(bank.administrator()))); });
    settle();
    Table *table = m_jornada->FrmCadastro()->TbPerguntas;
    RawServer raw(bank.administrator());
    const int last = bank.questions();
    const QByteArray columns =
        "SELECT linha, id, pergunta, resp1, resp2, resp3, resp4, correta, foto FROM perguntas.db ";

    struct Case {
        QString name;
        DBNavigator::Button which;
        std::function<void()> before;
        QByteArray baseline;
        std::function<QVariant()> parameter;
    };
    int id = 1;
    const Case cases[] = {
        {QStringLiteral("Primeiro"), DBNavigator::Button::First, [&] { table->last(); settle(); },
         columns + "ORDER BY id, linha LIMIT 1", {}},
        {QStringLiteral("Próximo"), DBNavigator::Button::Next, settle,
         columns + "WHERE id > $1 ORDER BY id, linha LIMIT 1", [&] { return QVariant(id++); }},
        {QStringLiteral("Último"), DBNavigator::Button::Last, [&] { table->first(); settle(); },
         columns + "ORDER BY id DESC, linha DESC LIMIT 1", {}},
        {QStringLiteral("Anterior"), DBNavigator::Button::Prior, settle,
         columns + "WHERE id < $1 ORDER BY id DESC, linha DESC LIMIT 1", [&] { return QVariant(last - id++); }},
    };
    for (const Case &c : cases) {
        if (c.which == DBNavigator::Button::Next)
            table->first();
        if (c.which == DBNavigator::Button::Prior)
            table->last();
        QToolButton *button = m_jornada->FrmCadastro()->DBNav->button(c.which);
        add(compare(QStringLiteral("DBNav: ") + c.name, reps(), {[button] { button->click(); }, c.before},
                    QStringLiteral("busca no servidor"),
                    {[&] { raw.first(c.baseline.constData(), c.parameter ? c.parameter() : QVariant()); }}),
            2);
    }

    const QStringList terms = searchTerms();
    int asked = 0, sought = 0;
    const QString key = serverCaseFoldedKey(QStringLiteral("pergunta")) + QStringLiteral(" COLLATE \"C\"");
    const QByteArray nearest = columns
        + QStringLiteral("WHERE %1 >= %2 ORDER BY %1, linha LIMIT 1")
              .arg(key, serverCaseFoldedKey(QStringLiteral("$1")))
              .toUtf8();
    add(compare(QStringLiteral("Localizar (termo respondido no pedido)"), reps(),
                {[this] { m_jornada->FrmCadastro()->BdLocalizar->click(); },
                 [&] {
                     dialogs->promptAnswer = terms[asked++ % terms.size()];
                     settle();
                 }},
                QStringLiteral("busca no servidor"),
                {[&] { raw.first(nearest.constData(), terms[sought++ % terms.size()]); }}),
        2);
    m_jornada->FrmCadastro()->hide();
}

void Bench::serverLoad(const KeptServerBank &bank)
{
    constexpr int players = 30;
    constexpr int seconds = 120;
    m_report.section(QStringLiteral("Servidor: carga de %1 jogadores ao mesmo tempo (um processo e uma conexão cada, "
                                    "como o papel dos alunos; uma resposta a cada %2 s, jogos inteiros por %3 s)")
                         .arg(players)
                         .arg(AnswerEveryMs / 1000)
                         .arg(seconds));
    bank.clearRecord();
    RawServer owner(bank.owner());
    const qint64 backend = owner.first("SELECT pg_catalog.pg_backend_pid()").toLongLong();
    say(QStringLiteral("  %1 jogadores por %2 s...").arg(players).arg(seconds));
    const LoadResult load = runPlayers(bank.settingFolder(), players, seconds, backend);
    for (const QString &error : load.errors)
        m_report.error(QStringLiteral("carga: ") + error);
    if (load.clicks.isEmpty())
        return;

    Row typical;
    typical.what = QStringLiteral("BtnOK->click(), mediana de todos os jogadores");
    typical.value = median(load.clicks);
    typical.repetitions = int(load.clicks.size());
    add(typical, 10);
    Row slow = typical;
    slow.what = QStringLiteral("BtnOK->click(), 99º percentil");
    slow.value = percentile(load.clicks, 0.99);
    add(slow, 10);
    Row slowest = typical;
    slowest.what = QStringLiteral("  o mais lento");
    slowest.value = percentile(load.clicks, 1);
    add(slowest);

    // Every claim kept: the record is the best game of all, which claimed it at its end, in the
    // name of a player who finished a game with that score.
    Row record;
    record.what = QStringLiteral("Recorde no servidor ao fim (meta: a maior pontuação dos jogos)");
    record.unit = QStringLiteral("pontos");
    const QString stored = owner.first("SELECT pontos FROM recorde.db");
    const QString holder = owner.first("SELECT nome FROM recorde.db");
    record.value = stored.isEmpty() ? -1000 : stored.toDouble();
    if (!load.best.contains(holder))
        m_report.error(QStringLiteral("carga: o recorde está em nome de \"%1\", que não terminou um jogo com a maior "
                                      "pontuação (%2)")
                           .arg(holder, load.best.join(QStringLiteral(", "))));
    record.repetitions = int(load.scores.size());
    record.goal = Row::Goal::Equal;
    record.limit = load.scores.isEmpty() ? 0 : *std::max_element(load.scores.begin(), load.scores.end());
    m_report.add(record);

    const int cores = QThread::idealThreadCount();
    const auto cpuRow = [&](const QString &who, double cpuSeconds) {
        Row r;
        r.what = QStringLiteral("CPU %1: %2 s em %3 s = %4% de um núcleo; parte da máquina (%5 núcleos)")
                     .arg(who)
                     .arg(cpuSeconds, 0, 'f', 1)
                     .arg(load.wallSeconds, 0, 'f', 1)
                     .arg(100 * cpuSeconds / load.wallSeconds, 0, 'f', 1)
                     .arg(cores);
        r.unit = QStringLiteral("%");
        r.value = 100 * cpuSeconds / (load.wallSeconds * cores);
        r.repetitions = load.players;
        m_report.add(r);
    };
    if (load.serverCpuSeconds >= 0)
        cpuRow(QStringLiteral("do servidor (o postmaster e seus processos)"), load.serverCpuSeconds);
    else
        m_report.note(QStringLiteral("CPU do servidor na carga não medida: ") + load.serverCpuMissing);
    cpuRow(QStringLiteral("dos jogadores"), load.playersCpuSeconds);
    m_report.note(QStringLiteral("Carga: %1 jogos inteiros de %2 jogadores, %3 cliques em OK, %4 jogos tomaram o "
                                 "recorde (o empate também toma); o jogador N acerta com chance de 1/2 (o primeiro) "
                                 "a 9/10 (o último); as respostas de cada um começam N × %5 ms / %2 depois do sinal "
                                 "de partida, dado quando todos já estão na tela inicial.")
                      .arg(load.scores.size())
                      .arg(players)
                      .arg(load.clicks.size())
                      .arg(load.claims)
                      .arg(AnswerEveryMs));
}

void Bench::importMemory()
{
    constexpr int runs = 3;

    // The import of a CSV file against the file read whole: the import reads each record as it
    // comes and keeps none, so its peak stays within a small multiple of the file, whatever the
    // file holds (the three kinds that once cost hundreds of times their size).
    m_report.section(QStringLiteral("Memória: pico de um processo filho que importa um CSV de 16 MB"));
    QTemporaryDir scratch;
    const QString photo = scratch.filePath(QStringLiteral("f.jpg"));
    QFile(photo).open(QIODevice::WriteOnly);
    constexpr qint64 csvBytes = qint64(16) << 20;
    const QByteArray header = "Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto\n";
    const struct {
        QString what;
        QByteArray line;
        bool header;
    } csvKinds[] = {
        {QStringLiteral("linhas de um caractere"), "a\n", true},
        {QStringLiteral("só ponto e vírgula"), ";", false},
        {QStringLiteral("perguntas válidas"), "Quanto é 1+1?;2;3;4;5;2;f.jpg\n", true},
    };
    int imports = 0;
    for (const auto &kind : csvKinds) {
        const QString csv = scratch.filePath(QStringLiteral("importar.csv"));
        QFile file(csv);
        file.open(QIODevice::WriteOnly);
        if (kind.header)
            file.write(header);
        const QByteArray block = kind.line.repeated(qsizetype(65536 / kind.line.size()));
        while (file.size() + block.size() <= csvBytes)
            file.write(block);
        file.close();
        QList<double> imported, read;
        for (int i = 0; i < runs; ++i) {
            const QString folder = scratch.filePath(QStringLiteral("dados%1").arg(++imports));
            QDir().mkpath(folder);
            const Peak import = peakOfChild({QStringLiteral("--memoria-importacao"), csv, folder}, scratch.path());
            const Peak base = peakOfChild({QStringLiteral("--memoria-leitura"), csv}, scratch.path());
            if (!import.error.isEmpty() || !base.error.isEmpty())
                m_report.error(QStringLiteral("a importação de %1 falhou: %2").arg(kind.what, import.error + base.error));
            imported << import.maxRssMb;
            read << base.maxRssMb;
        }
        Row row;
        row.what = QStringLiteral("Pico ao importar (%1)").arg(kind.what);
        row.unit = QStringLiteral("MB");
        row.repetitions = runs;
        row.value = median(imported);
        row.baseline = QStringLiteral("arquivo lido");
        row.baselineValue = median(read);
        // The file itself is in the baseline; the import may take three times as much again.
        row.goal = Row::Goal::Below;
        row.limit = row.baselineValue + 3.0 * double(csvBytes) / (1 << 20);
        m_report.add(row);
    }
}

void Bench::memory()
{
    m_jornada.reset();
    m_report.section(QStringLiteral("Memória: pico de um processo filho que inicia e joga um jogo inteiro "
                                    "(1.000.000 perguntas, fotos de 12 MP decodificadas de antemão)"));
    const QString home = millionCamera().home();
    constexpr int runs = 3;
    QList<double> rss, hwm, baseRss, baseHwm;
    QString error;
    for (int i = 0; i < runs; ++i) {
        const Peak game = peakOfChild({QStringLiteral("--memoria")}, home);
        const Peak base = peakOfChild({QStringLiteral("--memoria-base")}, home);
        if (!game.error.isEmpty() || !base.error.isEmpty())
            error = game.error + base.error;
        rss << game.maxRssMb;
        hwm << game.vmHwmMb;
        baseRss << base.maxRssMb;
        baseHwm << base.vmHwmMb;
    }
    if (!error.isEmpty())
        m_report.error(QStringLiteral("o processo filho de memória falhou: ") + error);
    const QString kinds[] = {QStringLiteral("ru_maxrss"), QStringLiteral("VmHWM")};
    const QList<double> *values[][2] = {{&rss, &baseRss}, {&hwm, &baseHwm}};
    for (int i = 0; i < 2; ++i) {
        Row row;
        row.what = QStringLiteral("Pico após um jogo (%1)").arg(kinds[i]);
        row.unit = QStringLiteral("MB");
        row.repetitions = runs;
        row.value = median(*values[i][0]);
        row.baseline = QStringLiteral("janela mínima");
        row.baselineValue = median(*values[i][1]);
        row.goal = Row::Goal::Below;
        row.limit = 60;
        m_report.add(row);
    }
}

int parseRepetitions(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("-n"));
    if (at < 0)
        return 30;
    bool ok = false;
    const int n = arguments.value(at + 1).toInt(&ok);
    return ok && n > 0 ? n : -1;
}

const QStringList AllSections = {QStringLiteral("inicio"),  QStringLiteral("fotos"),
                                 QStringLiteral("ok"),      QStringLiteral("editor"),
                                 QStringLiteral("memoria"), QStringLiteral("importacao"),
                                 QStringLiteral("servidor")};

// The sections named after --secoes (comma-separated), or all; empty when a name is unknown.
QStringList parseSections(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--secoes"));
    if (at < 0)
        return AllSections;
    const QStringList wanted = arguments.value(at + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &name : wanted)
        if (!AllSections.contains(name))
            return {};
    return wanted;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerAssets();
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--memoria")))
        return playOneGameForMemory();
    if (arguments.contains(QStringLiteral("--memoria-base")))
        return showOneWindowForMemory();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--jogador")); at > 0 && at + 5 < arguments.size())
        return playAsPupil(arguments[at + 1].toInt(), arguments[at + 3].toInt(), arguments[at + 5].toInt());
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--memoria-importacao")); at > 0 && at + 2 < arguments.size())
        return importCsvForMemory(arguments[at + 1], arguments[at + 2]);
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--memoria-leitura")); at > 0 && at + 1 < arguments.size())
        return readFileForMemory(arguments[at + 1]);
    // The camera-size photo alone, for looking into its decoding with other tools.
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--foto-12mp")); at > 0 && at + 1 < arguments.size()) {
        writeCameraPhoto(arguments[at + 1], CameraSize);
        return 0;
    }
    const int repetitions = parseRepetitions(arguments);
    const QStringList sections = parseSections(arguments);
    const qsizetype serverAt = arguments.indexOf(QStringLiteral("--servidor"));
    if (repetitions < 0 || sections.isEmpty() || (serverAt >= 0 && serverAt + 1 >= arguments.size())) {
        say(QStringLiteral("Uso: jornada-bench [-n REPETIÇÕES] [--secoes %1] [--servidor CONEXÃO]")
                .arg(AllSections.join(QLatin1Char(','))));
        return 2;
    }
    const std::optional<QString> server =
        serverAt >= 0 ? std::optional<QString>(arguments[serverAt + 1]) : std::nullopt;

    dialogs = new SilentDialogs;
    setDialogBackend(std::unique_ptr<DialogBackend>(dialogs));
    const QByteArray home = qgetenv("HOME");
    // The bank of a million is kept here between runs (HOME is turned to each bank in turn).
    const QString cacheFolder = qEnvironmentVariableIsEmpty("XDG_CACHE_HOME")
        ? QDir(QFile::decodeName(home)).filePath(QStringLiteral(".cache/jornada-bench"))
        : QDir(qEnvironmentVariable("XDG_CACHE_HOME")).filePath(QStringLiteral("jornada-bench"));
    QElapsedTimer total;
    total.start();
    prepareApplication();
    const double prepareMs = double(total.nsecsElapsed()) / 1e6;

    int missed = 0;
    {
        Bench bench(repetitions, prepareMs, cacheFolder, server);
        const std::pair<QString, void (Bench::*)()> steps[] = {
            {QStringLiteral("inicio"), &Bench::startUp}, {QStringLiteral("fotos"), &Bench::photos},
            {QStringLiteral("ok"), &Bench::okClick},     {QStringLiteral("editor"), &Bench::editor},
            {QStringLiteral("memoria"), &Bench::memory},
            {QStringLiteral("importacao"), &Bench::importMemory},
            // Last: from it on, the game's setting names the server.
            {QStringLiteral("servidor"), &Bench::server},
        };
        try {
            bench.defineBaselines();
            for (const auto &[name, step] : steps) {
                if (!sections.contains(name))
                    continue;
                say(QStringLiteral("Seção %1...").arg(name));
                (bench.*step)();
            }
        } catch (const AppError &e) {
            say(QStringLiteral("jornada-bench: ") + e.text());
            return 1;
        }
        std::printf("jornada-bench: medianas de n repetições (mais uma antes, de aquecimento), plataforma %s\n\n",
                    qPrintable(QGuiApplication::platformName()));
        std::printf("%s", bench.report().text().toUtf8().constData());
        std::printf("\nTempo total: %.1f s\n", double(total.elapsed()) / 1000);
        missed = bench.report().missed();
    }
    qputenv("HOME", home);
    return missed > 0 ? 3 : 0;
}
