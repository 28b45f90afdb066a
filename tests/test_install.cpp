// An installation into a scratch DESTDIR: every file in its place, the desktop entry and the
// AppStream metadata valid, and the installed set-up program building, from the installed sample
// bank alone, a data directory that the game's table engine opens.
#include "store/TableEngine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
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

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFileInItsPlace();
    void desktopEntryAndMetadataAreValid();
    void installedSetupBuildsAPlayableDataDirectory();

private:
    QTemporaryDir m_destdir;
    QString m_prefix; // the installation's root inside DESTDIR
};

void TestInstall::initTestCase()
{
    QVERIFY(m_destdir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), m_destdir.path());
    const Run install = run(QStringLiteral(JORNADA_CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(JORNADA_BINARY_DIR),
                             QStringLiteral("--prefix"), QStringLiteral("/usr/local")},
                            environment);
    QVERIFY2(install.status == 0, qPrintable(install.output));
    m_prefix = m_destdir.filePath(QStringLiteral("usr/local"));
}

void TestInstall::everyFileInItsPlace()
{
    const QDir prefix(m_prefix);
    for (const QString &program : {QStringLiteral("bin/jornada"), QStringLiteral("bin/jornada-dados")})
        QVERIFY2(QFileInfo(prefix.filePath(program)).isExecutable(), qPrintable(program));

    QStringList files = {
        QStringLiteral("share/applications/%1.desktop").arg(appId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId),
        QStringLiteral("share/jornada/exemplo/perguntas.tsv"),
    };
    for (const QString &page : {QStringLiteral("jornada.6"), QStringLiteral("jornada-dados.6")}) {
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
        QVERIFY2(path.startsWith(m_prefix + QStringLiteral("/bin/")) || path.startsWith(m_prefix + QStringLiteral("/share/")),
                 qPrintable(path));
    }
}

void TestInstall::desktopEntryAndMetadataAreValid()
{
    const QDir prefix(m_prefix);
    const Run desktop = run(QStringLiteral("desktop-file-validate"),
                            {prefix.filePath(QStringLiteral("share/applications/%1.desktop").arg(appId))});
    QVERIFY2(desktop.status == 0 && desktop.output.trimmed().isEmpty(), qPrintable(desktop.output));
    const Run metadata = run(QStringLiteral("appstreamcli"),
                             {QStringLiteral("validate"), QStringLiteral("--no-net"),
                              prefix.filePath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId))});
    QVERIFY2(metadata.status == 0, qPrintable(metadata.output));
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
    questions.open(folder, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    accounts.open(folder, QStringLiteral("inicial.db"), accountFields());
    QCOMPARE(accounts.fieldText(QStringLiteral("Login")), QStringLiteral("Adm"));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
