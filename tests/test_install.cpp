// An installation into a scratch DESTDIR: every file in its place, the desktop entry and the
// AppStream metadata valid and in agreement, the installed set-up program building, from the
// installed sample bank alone, a data directory that the game's table engine opens, and the
// launcher of the menu entry creating a missing data directory, and only a missing one, before it
// hands over to the game.
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString appId = QStringLiteral(JORNADA_APP_ID);

struct Run {
    int status = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted(10000)) {
        result.output = process.errorString();
        return result;
    }
    process.waitForFinished(120000);
    result.output = QString::fromUtf8(process.readAll());
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    return result;
}

// The questions of a question source: its lines less the header, blank lines and comments.
int questionsIn(const QString &tsvPath)
{
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    int lines = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            ++lines;
    }
    return lines - 1;
}

// The value of a key of the desktop entry's main group, as written.
QString desktopValue(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString prefix = key + QLatin1Char('=');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

// A run of the launcher: what it printed, how it ended, and its process id, which the game it
// hands over to must keep.
struct LauncherRun {
    int status = -1;
    QString errors;
    qint64 pid = 0;
};

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFileInItsPlace();
    void desktopEntryAndMetadataAreValid();
    void installedSetupBuildsAPlayableDataDirectory();
    void launcherCreatesAMissingDataDirectoryThenBecomesTheGame();
    void launcherLeavesWhateverIsAlreadyThere();
    void launcherMakesNoFolderForABankOnAServer();
    void launcherStartsTheGameWhenTheDirectoryCannotBeMade();

private:
    // A copy of the installed launcher in a folder whose path has spaces, beside the installed
    // jornada-dados and a stand-in game that writes its process id and its arguments to a log;
    // the sample bank it finds is `sampleBank`.
    QString scratchInstallation(const QTemporaryDir &scratch, const QString &sampleBank);
    LauncherRun runLauncher(const QString &launcher, const QString &home, const QStringList &arguments);
    QStringList gameLog(const QString &launcher);

    QTemporaryDir m_destdir;
    QString m_prefix; // the installation's root inside DESTDIR
};

void TestInstall::initTestCase()
{
    QVERIFY(m_destdir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), m_destdir.path());
    const Run install = run(QStringLiteral(JORNADA_CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(JORNADA_BINARY_DIR)}, environment);
    QVERIFY2(install.status == 0, qPrintable(install.output));
    // The prefix the build was configured for, which the menu entry's full paths name.
    m_prefix = m_destdir.path() + QStringLiteral(JORNADA_INSTALL_PREFIX);
}

void TestInstall::everyFileInItsPlace()
{
    const QDir prefix(m_prefix);
    for (const QString &program : {QStringLiteral("bin/jornada"), QStringLiteral("bin/jornada-dados"),
                                   QStringLiteral("bin/jornada-iniciar")})
        QVERIFY2(QFileInfo(prefix.filePath(program)).isExecutable(), qPrintable(program));
    // The metafile decoder sits where the installed programs look for it.
    const QString decoder = QStringLiteral("libexec/jornada/jornada-metarquivo");
    QVERIFY(QFileInfo(prefix.filePath(decoder)).isExecutable());
    for (const QString &program : {QStringLiteral("bin/jornada"), QStringLiteral("bin/jornada-dados")}) {
        QFile binary(prefix.filePath(program));
        QVERIFY(binary.open(QIODevice::ReadOnly));
        QVERIFY2(binary.readAll().contains(QByteArray(JORNADA_INSTALL_PREFIX "/") + decoder.toUtf8() + '\0'),
                 qPrintable(program));
    }

    QStringList files = {
        QStringLiteral("share/applications/%1.desktop").arg(appId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId),
        QStringLiteral("share/jornada/exemplo/perguntas.tsv"),
    };
    for (const QString &page : {QStringLiteral("jornada.6"), QStringLiteral("jornada-dados.6"),
                                QStringLiteral("jornada-iniciar.6")}) {
        files << QStringLiteral("share/man/man6/") + page << QStringLiteral("share/man/pt_BR/man6/") + page;
    }
    // Every photo of the sample bank, byte for byte.
    const QDir sourcePhotos(QStringLiteral(JORNADA_SOURCE_DIR "/data/fotos"));
    const QStringList photos = sourcePhotos.entryList(QDir::Files);
    QVERIFY(photos.size() > 20);
    for (const QString &photo : photos) {
        const QString installed = prefix.filePath(QStringLiteral("share/jornada/exemplo/fotos/") + photo);
        QFile a(sourcePhotos.filePath(photo)), b(installed);
        QVERIFY2(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly), qPrintable(installed));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(installed));
    }
    for (const QString &file : files)
        QVERIFY2(QFileInfo(prefix.filePath(file)).isFile() && QFileInfo(prefix.filePath(file)).size() > 0,
                 qPrintable(file));

    // The icon at every size a desktop asks for, each picture of its own size.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId));
        const QImage icon(path);
        QVERIFY2(!icon.isNull(), qPrintable(path));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY2(icon.hasAlphaChannel(), qPrintable(path));
    }
    QVERIFY(!QImage(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId))).isNull());

    // Nothing of the build or of the tests is installed.
    QDirIterator all(m_destdir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next();
        QVERIFY2(path.startsWith(m_prefix + QStringLiteral("/bin/")) || path.startsWith(m_prefix + QStringLiteral("/share/"))
                     || path == m_prefix + u'/' + decoder,
                 qPrintable(path));
    }
}

void TestInstall::desktopEntryAndMetadataAreValid()
{
    const QDir prefix(m_prefix);
    const QString entry = prefix.filePath(QStringLiteral("share/applications/%1.desktop").arg(appId));
    const QString metainfo = prefix.filePath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId));
    const Run desktop = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(desktop.status == 0 && desktop.output.trimmed().isEmpty(), qPrintable(desktop.output));
    // Not even a pedantic remark: each is a line "X: id:line tag ...".
    const Run metadata = run(QStringLiteral("appstreamcli"),
                             {QStringLiteral("validate"), QStringLiteral("--pedantic"), QStringLiteral("--no-net"), metainfo});
    static const QRegularExpression remark(QStringLiteral("^[EWIP]: "), QRegularExpression::MultilineOption);
    QVERIFY2(metadata.status == 0 && !metadata.output.contains(remark), qPrintable(metadata.output));

    // The menu runs the launcher that this installation put in place, by its full path.
    const QString exec = desktopValue(entry, QStringLiteral("Exec"));
    QVERIFY2(exec.startsWith(QLatin1Char('/')) && !exec.contains(QLatin1Char(' ')), qPrintable(exec));
    QCOMPARE(QFileInfo(m_destdir.path() + exec).canonicalFilePath(),
             QFileInfo(prefix.filePath(QStringLiteral("bin/jornada-iniciar"))).canonicalFilePath());

    // The menu's search and the software centre's find the game by the same words.
    QMap<QString, QStringList> fromMetainfo;
    QFile xml(metainfo);
    QVERIFY(xml.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("keyword")) {
            const QString language = reader.attributes().value(QStringLiteral("xml:lang")).toString();
            fromMetainfo[language] << reader.readElementText();
        }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    for (const QString &language : {QString(), QStringLiteral("pt_BR")}) {
        const QString key = language.isEmpty() ? QStringLiteral("Keywords") : QStringLiteral("Keywords[%1]").arg(language);
        QStringList fromEntry = desktopValue(entry, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList words = fromMetainfo.value(language);
        QVERIFY2(words.size() >= 5, qPrintable(key));
        fromEntry.sort();
        words.sort();
        QCOMPARE(fromEntry, words);
    }
}

void TestInstall::installedSetupBuildsAPlayableDataDirectory()
{
    const QString tool = QDir(m_prefix).filePath(QStringLiteral("bin/jornada-dados"));
    const QString sampleBank = QDir(m_prefix).filePath(QStringLiteral("share/jornada/exemplo"));

    const Run version = run(tool, {QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.output.trimmed(), QStringLiteral("jornada-dados " JORNADA_VERSION));
    const Run help = run(tool, {QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    // The installed program's sample bank is the installed one, not the source tree's.
    QVERIFY2(help.output.contains(QStringLiteral("(padrão: %1)").arg(sampleBank)), qPrintable(help.output));

    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("BDPerguntas"));
    const Run setup = run(tool, {folder});
    QVERIFY2(setup.status == 0, qPrintable(setup.output));

    const int expected = questionsIn(sampleBank + QStringLiteral("/perguntas.tsv"));
    QVERIFY(expected >= 20);
    Table questions;
    questions.open(*openBank(folder), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    int count = 0;
    for (questions.first(); questions.hasRecord(); questions.next()) {
        ++count;
        QCOMPARE(questions.fieldValue(QStringLiteral("Id")).toInt(), count);
        const QString photo = questions.fieldText(QStringLiteral("Foto"));
        QVERIFY2(photo.startsWith(folder + QStringLiteral("/fotos/")) && QFileInfo(photo).isFile(), qPrintable(photo));
        if (questions.atLast())
            break;
    }
    QCOMPARE(count, expected);

    Table accounts;
    accounts.open(*openBank(folder), QStringLiteral("inicial.db"), accountFields());
    QCOMPARE(accounts.fieldText(QStringLiteral("Login")), QStringLiteral("Adm"));
}

QString TestInstall::scratchInstallation(const QTemporaryDir &scratch, const QString &sampleBank)
{
    const QDir root(scratch.filePath(QStringLiteral("pasta com espaços")));
    root.mkpath(QStringLiteral("bin"));
    root.mkpath(QStringLiteral("share/jornada"));
    const QString launcher = root.filePath(QStringLiteral("bin/jornada-iniciar"));
    QFile::copy(QDir(m_prefix).filePath(QStringLiteral("bin/jornada-iniciar")), launcher);
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::link(QDir(m_prefix).filePath(QStringLiteral("bin/jornada-dados")), root.filePath(QStringLiteral("bin/jornada-dados")));
    QFile::link(sampleBank, root.filePath(QStringLiteral("share/jornada/exemplo")));

    const QString game = root.filePath(QStringLiteral("bin/jornada"));
    QFile script(game);
    if (script.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\n"
                     "log=\"$(dirname \"$0\")/jogo.log\"\n"
                     "echo \"$$\" >\"$log\"\n"
                     "for a in \"$@\"; do echo \"[$a]\" >>\"$log\"; done\n");
        script.close();
    }
    QFile::setPermissions(game, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return launcher;
}

LauncherRun TestInstall::runLauncher(const QString &launcher, const QString &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    // The user's settings are those of this HOME.
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    process.setProcessEnvironment(environment);
    process.start(launcher, arguments);
    LauncherRun result;
    if (!process.waitForStarted(10000)) {
        result.errors = process.errorString();
        return result;
    }
    result.pid = process.processId();
    process.waitForFinished(120000);
    result.errors = QString::fromUtf8(process.readAllStandardError());
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    return result;
}

QStringList TestInstall::gameLog(const QString &launcher)
{
    QFile log(QFileInfo(launcher).dir().filePath(QStringLiteral("jogo.log")));
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
    lines.removeLast(); // after the last line's end
    log.remove();
    return lines;
}

void TestInstall::launcherCreatesAMissingDataDirectoryThenBecomesTheGame()
{
    QTemporaryDir scratch;
    const QString launcher = scratchInstallation(scratch, QDir(m_prefix).filePath(QStringLiteral("share/jornada/exemplo")));
    const QString home = scratch.filePath(QStringLiteral("casa de Ana"));
    QVERIFY(QDir().mkpath(home));

    // Started through a link of the user's own, elsewhere: the launcher still finds its programs.
    const QString shortcut = scratch.filePath(QStringLiteral("atalhos/jogar"));
    QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("atalhos"))) && QFile::link(launcher, shortcut));

    const QStringList arguments = {QStringLiteral("um"), QStringLiteral("duas palavras"), QString(),
                                   QStringLiteral("*"), QStringLiteral("--version")};
    const LauncherRun launch = runLauncher(shortcut, home, arguments);
    QVERIFY2(launch.status == 0, qPrintable(launch.errors));

    const QDir data(home + QStringLiteral("/BDPerguntas"));
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("Perguntas.DB"))).size() > 0);
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("inicial.db"))).size() > 0);
    QVERIFY(!QDir(data.filePath(QStringLiteral("fotos"))).entryList(QDir::Files).isEmpty());
    QVERIFY(!data.exists(QStringLiteral("Recorde.txt")));

    // The game took the launcher's own process, with every argument as it was given.
    QStringList expected = {QString::number(launch.pid)};
    for (const QString &argument : arguments)
        expected << QLatin1Char('[') + argument + QLatin1Char(']');
    QCOMPARE(gameLog(launcher), expected);
}

// A lab machine's game reads its bank from the server its settings name: the launcher goes
// straight to the game, and no data folder appears in the user's HOME.
void TestInstall::launcherMakesNoFolderForABankOnAServer()
{
    QTemporaryDir scratch;
    const QString launcher = scratchInstallation(scratch, QDir(m_prefix).filePath(QStringLiteral("share/jornada/exemplo")));
    const QString home = scratch.filePath(QStringLiteral("aluno"));
    QVERIFY(QDir().mkpath(home + QStringLiteral("/.config/jornada")));
    QFile setting(home + QStringLiteral("/.config/jornada/jornada.conf"));
    QVERIFY(setting.open(QIODevice::WriteOnly));
    setting.write("[banco]\nservidor=host=servidor-da-sala dbname=jornada user=jornada_alunos\n");
    setting.close();

    const LauncherRun launch = runLauncher(launcher, home, {});
    QVERIFY2(launch.status == 0, qPrintable(launch.errors));
    QVERIFY(!QFileInfo::exists(home + QStringLiteral("/BDPerguntas")));
    QCOMPARE(gameLog(launcher), QStringList{QString::number(launch.pid)});
}

void TestInstall::launcherLeavesWhateverIsAlreadyThere()
{
    QTemporaryDir scratch;
    const QString launcher = scratchInstallation(scratch, QDir(m_prefix).filePath(QStringLiteral("share/jornada/exemplo")));

    // An empty folder, a folder that lacks one table, a file, and a link to nowhere.
    const QString empty = scratch.filePath(QStringLiteral("vazia"));
    QVERIFY(QDir().mkpath(empty + QStringLiteral("/BDPerguntas")));
    const QString partial = scratch.filePath(QStringLiteral("só o recorde"));
    QVERIFY(QDir().mkpath(partial + QStringLiteral("/BDPerguntas")));
    QFile record(partial + QStringLiteral("/BDPerguntas/Recorde.txt"));
    QVERIFY(record.open(QIODevice::WriteOnly) && record.write("Ana\r\n40\r\n") == 9);
    record.close();
    const QString file = scratch.filePath(QStringLiteral("arquivo"));
    QVERIFY(QDir().mkpath(file));
    QFile plain(file + QStringLiteral("/BDPerguntas"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString link = scratch.filePath(QStringLiteral("link"));
    QVERIFY(QDir().mkpath(link));
    QVERIFY(QFile::link(scratch.filePath(QStringLiteral("lugar nenhum")), link + QStringLiteral("/BDPerguntas")));

    for (const QString &home : {empty, partial, file, link}) {
        QStringList before;
        QDirIterator all(home, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (all.hasNext())
            before << all.next();
        before.sort();
        const LauncherRun launch = runLauncher(launcher, home, {QStringLiteral("--x")});
        QVERIFY2(launch.status == 0, qPrintable(launch.errors));
        QVERIFY2(launch.errors.isEmpty(), qPrintable(launch.errors));
        QCOMPARE(gameLog(launcher), QStringList({QString::number(launch.pid), QStringLiteral("[--x]")}));
        QStringList after;
        QDirIterator again(home, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (again.hasNext())
            after << again.next();
        after.sort();
        QCOMPARE(after, before);
    }
    QVERIFY(!QFileInfo::exists(scratch.filePath(QStringLiteral("lugar nenhum"))));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(record.readAll(), QByteArray("Ana\r\n40\r\n"));
}

void TestInstall::launcherStartsTheGameWhenTheDirectoryCannotBeMade()
{
    // A sample bank with no questions in it: jornada-dados refuses it.
    QTemporaryDir scratch;
    QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("banco vazio/fotos"))));
    const QString launcher = scratchInstallation(scratch, scratch.filePath(QStringLiteral("banco vazio")));
    const QString home = scratch.filePath(QStringLiteral("casa"));
    QVERIFY(QDir().mkpath(home));

    const LauncherRun launch = runLauncher(launcher, home, {});
    QCOMPARE(launch.status, 0);
    QVERIFY2(launch.errors.contains(QStringLiteral("jornada-dados: "))
                 && launch.errors.contains(QStringLiteral("jornada-iniciar: ")),
             qPrintable(launch.errors));
    QCOMPARE(gameLog(launcher), QStringList({QString::number(launch.pid)}));
    QVERIFY(!QFileInfo::exists(home + QStringLiteral("/BDPerguntas/Perguntas.DB")));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
