// Start-up, the screen set, the instructions screen and the error report.
#include "app/Jornada.h"
#include "game/GameSession.h"
#include "app/SetupCommand.h"
#include "app/Startup.h"
#include "helpers/Input.h"
#include "helpers/PlainFile.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestData.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Splash.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"
#include "store/core/AppError.h"
#include "store/kinds/OpenBank.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

using Kind = DialogBackend::Kind;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void startUpCreatesEveryScreenHidden();
    void screensHaveTheirCaptionsSizesAndMenus_data();
    void screensHaveTheirCaptionsSizesAndMenus();
    void controlsHaveTheirSizes();
    void missingData_data();
    void missingData();
    void damagedRecordFileAtStartUp();
    void bankHeldByAnotherProgramAtStartUp();
    void serverNotReachedAtStartUp();
    void setupCommandAsTheUserHasIt();
    void instructionsAndBack();
    void leaving();
    void errorReport();
};

void StartupTest::startUpCreatesEveryScreenHidden()
{
    TempDataDir data(25);
    data.writeRecordFile("Ana\r\n85\r\n");
    ScriptedDialogsGuard dialogs;

    std::unique_ptr<Jornada> started = startUp(StartupOptions{0});
    QVERIFY(started);
    QCOMPARE(FrmSplash, nullptr); // gone after the pause
    // Each screen under its instance name, hidden.
    const QStringList names = {"FrmInicial", "FrmPerguntas", "FrmCadastro", "FrmResult",
                               "FrmSenha",   "FrmInstrucao", "FrmAlterarSenha"};
    const QList<ScreenWindow *> screens = ScreenSet::screensOf(*started);
    QCOMPARE(screens.size(), names.size());
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QVERIFY2(screens[i], qPrintable(names[i]));
        QCOMPARE(screens[i]->objectName(), names[i]);
        QVERIFY2(!screens[i]->isVisible(), qPrintable(names[i]));
    }
    QCOMPARE(screenWindowsAlive().size(), screens.size());
    // The creation steps ran: the record line, and the first game drawn and shown.
    QCOMPARE(started->FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Ana - 85 pontos"));
    QCOMPARE(started->game().state().QuestionCount, 25);
    QCOMPARE(started->FrmPerguntas()->LblQtePerg->text(), QStringLiteral("1"));
    QCOMPARE(started->FrmPerguntas()->LblPergunta->text(),
             QStringLiteral("Pergunta %1").arg(started->game().state().DrawnIds[0]));
    QVERIFY(!started->FrmPerguntas()->ImgPerg->picture().isNull());
    QVERIFY(dialogs->shown.isEmpty());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("0RB174 & CR157AL: JORNADA DO SABER"));

    // The game takes its screens with it.
    started.reset();
    QCOMPARE(screenWindowsAlive(), QList<ScreenWindow *>());
}

void StartupTest::screensHaveTheirCaptionsSizesAndMenus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QStringList>("menu");

    QTest::newRow("start") << "FrmInicial" << "0RB1T4 & CR1ST4L: JORNADA DO SABER" << QSize(800, 500)
                           << QStringList{"&Cadastrar Novas Perguntas", "&Instruções", "&Sair"};
    QTest::newRow("questions") << "FrmPerguntas" << "ÓRBITA & CRISTAL: JORNADA DO SABER" << QSize(800, 500)
                               << QStringList{};
    QTest::newRow("editor") << "FrmCadastro" << "0RB1T4 & CR1ST4L: JORNADA DO SABER - CADASTRO"
                            << QSize(800, 500) << QStringList{"&Voltar"};
    QTest::newRow("results") << "FrmResult" << "0RB1T4 & CR1ST4L: JORNADA DO SABER - RESULTADO"
                             << QSize(800, 500) << QStringList{};
    QTest::newRow("login") << "FrmSenha" << "SENHA SOLICITADA" << QSize(212, 191) << QStringList{"Alterar Senha"};
    QTest::newRow("instructions") << "FrmInstrucao" << "0RB1T4A & CR1ST4L: JORNADA DO SABER - INSTRUÇÕES"
                                  << QSize(800, 500) << QStringList{"&Voltar"};
    QTest::newRow("password") << "FrmAlterarSenha" << "ALTERAÇÃO DE SENHA" << QSize(307, 200) << QStringList{};
}

void StartupTest::screensHaveTheirCaptionsSizesAndMenus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QSize, outer);
    QFETCH(QStringList, menu);

    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    ScreenWindow *screen = nullptr;
    for (ScreenWindow *s : screens.all())
        if (s->objectName() == name)
            screen = s;
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), caption);
    QCOMPARE(screen->size() + ScreenWindow::frameAllowance(), outer);
    QCOMPARE(screen->minimumSize(), screen->maximumSize());
    const Qt::WindowFlags flags = screen->windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                       | Qt::WindowSystemMenuHint)));

    QStringList captions;
    if (QMenuBar *bar = screen->findChild<QMenuBar *>()) {
        for (QAction *a : bar->actions())
            captions << a->text();
        // Tools outside the program find the menu by its name.
        if (!menu.isEmpty())
            QCOMPARE(bar->objectName(), name == "FrmCadastro" ? QStringLiteral("MenuCad") : QStringLiteral("MainMenu1"));
    }
    QCOMPARE(captions, menu);

    // The big screens have their picture, unscaled, from the top-left corner (the instructions'
    // one 8 pixels higher).
    auto *picture = screen->findChild<PictureBox *>(QStringLiteral("Image1"));
    QCOMPARE(picture != nullptr, outer == QSize(800, 500));
    if (picture)
        QCOMPARE(picture->geometry(), QRect(0, name == "FrmInstrucao" ? -8 : 0, 800, 500));
}

void StartupTest::controlsHaveTheirSizes()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    // Size, and for the texts of the game their Trebuchet MS face: character height in pixels
    // (0: the desktop's face, -1: font not checked), bold, alignment (none: not checked) and word
    // wrap.
    const Qt::Alignment centre = Qt::AlignCenter, left = Qt::AlignLeft | Qt::AlignVCenter,
                        right = Qt::AlignRight | Qt::AlignVCenter;
    const struct {
        QWidget *screen;
        const char *control;
        QSize size;
        int pixels;
        bool bold;
        Qt::Alignment alignment;
        bool wraps;
    } controls[] = {
        {jornada().FrmPerguntas(), "LblQtePerg", {65, 62}, 37, true, centre, false},
        {jornada().FrmPerguntas(), "LblPergunta", {433, 77}, 13, true, Qt::AlignLeft | Qt::AlignTop, true},
        {jornada().FrmPerguntas(), "RBResp1", {425, 17}, 12, false, {}, false},
        {jornada().FrmPerguntas(), "RBResp4", {425, 17}, 12, false, {}, false},
        {jornada().FrmPerguntas(), "ImgPerg", {137, 177}, -1, false, {}, false},
        {jornada().FrmResult(), "LblNome", {233, 35}, 24, true, left, false},
        {jornada().FrmResult(), "LblCertas", {73, 41}, 29, true, centre, false},
        {jornada().FrmResult(), "LblErradas", {68, 41}, 29, true, centre, false},
        {jornada().FrmResult(), "LblNaoResp", {71, 41}, 29, true, centre, false},
        {jornada().FrmResult(), "LblPontos", {112, 49}, 37, true, centre, false},
        {jornada().FrmResult(), "LblNomeRecord", {233, 35}, 24, true, left, false},
        {jornada().FrmResult(), "LblPontosRecord", {71, 41}, 29, true, centre, false},
        {jornada().FrmResult(), "BtnJogarNovamente", {121, 25}, -1, false, {}, false},
        {jornada().FrmResult(), "BtnEncerrar", {121, 25}, -1, false, {}, false},
        {jornada().FrmInicial(), "Label2", {380, 20}, 0, true, {}, false},
        {jornada().FrmInicial(), "LblRecordeAtual", {380, 22}, 0, false, {}, false},
        {jornada().FrmSenha(), "Label1", {56, 24}, -1, false, right, false},
        {jornada().FrmSenha(), "Label2", {56, 24}, -1, false, right, false},
        {jornada().FrmAlterarSenha(), "Label1", {112, 24}, -1, false, right, false},
        {jornada().FrmAlterarSenha(), "Label3", {112, 24}, -1, false, right, false},
    };
    for (const auto &c : controls) {
        auto *widget = c.screen->findChild<QWidget *>(QLatin1String(c.control));
        QVERIFY2(widget, c.control);
        QCOMPARE(widget->size(), c.size);
        if (c.pixels > 0) {
            QCOMPARE(widget->font().family(), QStringLiteral("Trebuchet MS"));
            QCOMPARE(widget->font().pixelSize(), c.pixels);
        }
        if (c.pixels >= 0)
            QVERIFY2(widget->font().bold() == c.bold, c.control);
        if (auto *label = qobject_cast<QLabel *>(widget); label && c.alignment) {
            QCOMPARE(label->alignment(), c.alignment);
            QCOMPARE(label->wordWrap(), c.wraps);
        }
    }
    // Texts from the bank and the record file are shown as typed, never read as markup.
    for (QLabel *label : {jornada().FrmPerguntas()->LblPergunta, jornada().FrmResult()->LblNome,
                          jornada().FrmResult()->LblNomeRecord, jornada().FrmInicial()->LblRecordeAtual})
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void StartupTest::missingData_data()
{
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("command"); // what the report ends with: the set-up command that helps
    QTest::newRow("no folder") << "" << "A pasta de dados" << "jornada-dados";
    // The set-up program refuses to replace a table that is there unless told to.
    QTest::newRow("no question table") << "Perguntas.DB" << "Falta o arquivo Perguntas.DB"
                                       << "jornada-dados --substituir";
    QTest::newRow("no account table") << "inicial.db" << "Falta o arquivo inicial.db" << "jornada-dados --senha";
    QTest::newRow("damaged question table") << "!Perguntas.DB" << "não pôde ser aberta"
                                            << "jornada-dados --substituir";
}

void StartupTest::missingData()
{
    QFETCH(QString, remove);
    QFETCH(QString, expected);
    QFETCH(QString, command);

    TempDataDir data(25);
    if (remove.isEmpty()) {
        QDir(data.path()).removeRecursively();
    } else if (remove.startsWith(QLatin1Char('!'))) {
        QFile f(data.file(remove.mid(1)));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'x'));
    } else {
        QVERIFY(QFile::remove(data.file(remove)));
    }
    const QStringList before = QDir(data.path()).entryList(QDir::Files);
    ScriptedDialogsGuard dialogs;

    QVERIFY(!startUp(StartupOptions{0}));
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(expected), qPrintable(errors.first()));
    QVERIFY2(errors.first().endsWith(QStringLiteral("\n\n") + command), qPrintable(errors.first()));
    // The screens built before the table failed are gone.
    QCOMPARE(screenWindowsAlive(), QList<ScreenWindow *>());
    QCOMPARE(FrmSplash, nullptr);
    // The game never creates tables or folders.
    QCOMPARE(QDir(data.path()).entryList(QDir::Files), before);
    QCOMPARE(QFileInfo::exists(data.path()), !remove.isEmpty());
}

void StartupTest::bankHeldByAnotherProgramAtStartUp()
{
    TempDataDir data(25);
    PlainFile other(data.file(QStringLiteral("Perguntas.DB")));
    QCOMPARE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")), QString());
    ScriptedDialogsGuard dialogs;

    QVERIFY(!startUp(StartupOptions{0}));
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("outro programa está usando o banco de perguntas")),
             qPrintable(errors.first()));
    QVERIFY(errors.first().contains(QStringLiteral("database is locked")));
    // Setting the folder up again would not help, and would replace the bank.
    QVERIFY(!errors.first().contains(QStringLiteral("jornada-dados")));
    // The screens built before the table failed are gone.
    QCOMPARE(screenWindowsAlive(), QList<ScreenWindow *>());

    // Once the other program lets go, the game starts.
    QCOMPARE(other.exec(QStringLiteral("COMMIT")), QString());
    dialogs->shown.clear();
    QVERIFY(startUp(StartupOptions{0}));
    QCOMPARE(dialogs->shown.size(), 0);
}

void StartupTest::damagedRecordFileAtStartUp()
{
    TempDataDir data(25);
    data.writeRecordFile("Ana\r\nmuitos\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    QCOMPARE(dialogs->texts(Kind::Error), QStringList{QStringLiteral("Invalid numeric input")});
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QString());
    // Start-up went on: the next screen's creation step ran.
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("1"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\nmuitos\r\n"));
}

void StartupTest::serverNotReachedAtStartUp()
{
    // The machine's setting names a server that is not there; the folder, with its bank, is not
    // looked at. The report names the server, without its password, and what to check.
    TempDataDir data(25);
    QTemporaryDir config;
    const QString socketFolder = config.filePath(QStringLiteral("nenhum"));
    writeFile(config.filePath(QStringLiteral("jornada/jornada.conf")),
              QStringLiteral("[banco]\nservidor = \"host='%1' port=5999 password=segredo\"\n").arg(socketFolder).toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    ScriptedDialogsGuard dialogs;

    QVERIFY(!startUp(StartupOptions{0}));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.filePath(QStringLiteral("vazia")));
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    const QString &report = errors.first();
    QVERIFY2(report.startsWith(QStringLiteral("O jogo não pode começar: o banco de perguntas desta máquina fica no "
                                              "servidor PostgreSQL host='%1' port=5999, que não pôde ser usado.")
                                   .arg(socketFolder)),
             qPrintable(report));
    QVERIFY2(report.contains(QStringLiteral("No such file or directory")), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("jornada/jornada.conf")));
    QVERIFY(!report.contains(QStringLiteral("segredo")));
    QVERIFY(!report.contains(QStringLiteral("jornada-dados")));
    // The screens built before the table failed are gone.
    QCOMPARE(screenWindowsAlive(), QList<ScreenWindow *>());
}

void StartupTest::setupCommandAsTheUserHasIt()
{
    // PATH cannot name a folder with a colon, which the default name (the title) has.
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/jornada-XXXXXX"));
    const auto program = [&](const QString &path, QFileDevice::Permissions permissions) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setPermissions(permissions));
    };
    const QFileDevice::Permissions runnable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString build = root.filePath(QStringLiteral("build"));
    program(bin + QStringLiteral("/jornada-dados"), runnable);
    program(build + QStringLiteral("/tools/jornada-dados"), runnable);
    program(root.filePath(QStringLiteral("plain/jornada-dados")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString path = QStringLiteral("/nowhere:%1:/also/nowhere").arg(bin);

    // Installed beside the game, in a folder of PATH: its plain name, also through a symbolic link.
    QCOMPARE(setupCommand(bin, path), QStringLiteral("jornada-dados"));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("usr")), root.filePath(QStringLiteral("link"))));
    QCOMPARE(setupCommand(bin, QStringLiteral("/x:%1").arg(root.filePath(QStringLiteral("link/bin")))),
             QStringLiteral("jornada-dados"));
    // PATH finding another program of that name first: the full path of the game's own.
    program(root.filePath(QStringLiteral("other/jornada-dados")), runnable);
    QCOMPARE(setupCommand(bin, QStringLiteral("%1:%2").arg(root.filePath(QStringLiteral("other")), bin)),
             bin + QStringLiteral("/jornada-dados"));
    // Beside the game but outside PATH, or in the build folder: the full path.
    QCOMPARE(setupCommand(bin, QStringLiteral("/usr/bin")), bin + QStringLiteral("/jornada-dados"));
    QCOMPARE(setupCommand(build, path), build + QStringLiteral("/tools/jornada-dados"));
    // A file that cannot run, or none: the name alone.
    QCOMPARE(setupCommand(root.filePath(QStringLiteral("plain")), path), QStringLiteral("jornada-dados"));
    QCOMPARE(setupCommand(root.filePath(QStringLiteral("empty")), path), QStringLiteral("jornada-dados"));

    // The report names the command; the test program has no set-up program beside it.
    QVERIFY(openBank(root.filePath(QStringLiteral("nenhuma")))
                ->cannotStartReport(AppError(QStringLiteral("x")), setupCommand(QCoreApplication::applicationDirPath(),
                                                                               qEnvironmentVariable("PATH")))
                .endsWith(QStringLiteral("execute o comando:\n\njornada-dados")));
}

void StartupTest::instructionsAndBack()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    jornada().FrmInicial()->showScreen();
    jornada().FrmInicial()->EdtNome->setText(QStringLiteral("Ana"));
    jornada().FrmInicial()->MnuInst->trigger();
    QVERIFY(jornada().FrmInstrucao()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible()); // stays open behind
    jornada().FrmInstrucao()->MnuVoltar->trigger();
    QVERIFY(!jornada().FrmInstrucao()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible());
    QCOMPARE(jornada().FrmInicial()->EdtNome->text(), QStringLiteral("Ana"));
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Não consta"));
}

void StartupTest::leaving()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    jornada().FrmInicial()->showScreen();

    // Closing another screen only hides it; it keeps its contents.
    jornada().FrmSenha()->showScreen();
    jornada().FrmSenha()->EdtNome->setText(QStringLiteral("Adm"));
    jornada().FrmSenha()->close();
    QVERIFY(!jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));

    // The window system cannot close a screen: only the screens' own buttons and menus do.
    jornada().FrmPerguntas()->showScreen();
    for (ScreenWindow *screen :
         {static_cast<ScreenWindow *>(jornada().FrmPerguntas()), static_cast<ScreenWindow *>(jornada().FrmInicial())}) {
        QCloseEvent fromWindowSystem;
        QSpontaneKeyEvent::setSpontaneous(&fromWindowSystem);
        // Delivered straight to the screen: sendEvent would clear the window-system mark.
        static_cast<QObject *>(screen)->event(&fromWindowSystem);
        QVERIFY(!fromWindowSystem.isAccepted());
        QVERIFY(screen->isVisible());
    }
    jornada().FrmPerguntas()->close();

    // "Sair" answered Yes closes the main screen and asks the event loop to stop with status 0.
    QTimer::singleShot(0, [&] {
        dialogs->answerYes();
        jornada().FrmInicial()->Sair->trigger();
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    giveUp.start(5000);
    const int status = QCoreApplication::exec();
    QCOMPARE(status, 0);
    QVERIFY(!jornada().FrmInicial()->isVisible());
}

void StartupTest::errorReport()
{
    ScriptedDialogsGuard dialogs;
    QVERIFY(runGuarded([] {}));
    QVERIFY(!runGuarded([] { throw AppError(QStringLiteral("File not found")); }));
    QVERIFY(!runGuarded([] { throw std::runtime_error("boom"); }));
    QCOMPARE(dialogs->texts(Kind::Error), (QStringList{QStringLiteral("File not found"), QStringLiteral("boom")}));
    QCOMPARE(dialogs->shown.first().title, QStringLiteral("0RB174 & CR157AL: JORNADA DO SABER"));

    // A handler connected to a button: the error ends it there and is reported.
    QPushButton button;
    int reached = 0;
    struct Handler : QObject {
        int *reached;
        void click()
        {
            ++*reached;
            throw AppError(QStringLiteral("Disk full"));
        }
    } handler;
    handler.reached = &reached;
    connectHandler(&button, &QPushButton::clicked, &handler, &Handler::click);
    button.click();
    button.click();
    QCOMPARE(reached, 2);
    QCOMPARE(dialogs->texts(Kind::Error).mid(2), (QStringList{QStringLiteral("Disk full"), QStringLiteral("Disk full")}));
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
