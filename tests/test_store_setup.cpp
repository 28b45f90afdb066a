// Building a data directory from a question source: reading the source, the tables and photos
// it makes, and refusing to replace tables unless asked.
#include "helpers/Input.h"
#include "store/folder/CaseFoldedKey.h"
#include "store/core/AppError.h"
#include "store/folder/FolderSetup.h"
#include "store/folder/DataFolder.h"
#include "store/bank/QuestionSource.h"
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {

const QByteArray header = "Id\tPergunta\tResp1\tResp2\tResp3\tResp4\tCorreta\tFoto\n";

// A small question source: two questions, their photos and one photo no question uses.
class Source {
public:
    Source()
    {
        writeFile(m_dir.filePath(QStringLiteral("perguntas.tsv")),
                  header
                      + "# Ciências\n"
                        "2\tQual é o símbolo do ouro?\tAu\tAg\tO\tOu\tAu\tsimbolo.bmp\n"
                        "\n"
                        "1\tQuantos lados tem um triângulo?\t3\t4\t5\t6\t3\ttriangulo.jpg\n");
        writeFile(m_dir.filePath(QStringLiteral("fotos/simbolo.bmp")), "BM-simbolo");
        writeFile(m_dir.filePath(QStringLiteral("fotos/triangulo.jpg")), "jpeg-triangulo");
        writeFile(m_dir.filePath(QStringLiteral("fotos/sobra.jpg")), "jpeg-sobra");
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// The statement that made `index` in the table file `path`, read as the sqlite3 shell reads it.
QString indexDefinition(const QString &path, const QString &index)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    QString definition;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?1", -1,
                              &statement, nullptr)
            == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, index.toUtf8().constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(statement) == SQLITE_ROW)
            definition = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return definition;
}

// The set-up tool of this build directory.
QString setupTool() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/jornada-dados"); }

// Every row of inicial.db's account table in `folder`, as "Login/Senha".
QStringList accountRows(const QString &folder)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    QStringList rows;
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("inicial.db")));
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "SELECT Login, Senha FROM db ORDER BY rowid", -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows << QStringLiteral("%1/%2").arg(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))),
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 1))));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStoreSetup : public QObject {
    Q_OBJECT

private slots:
    void readsSource();
    void rejectsBadSource_data();
    void rejectsBadSource();
    void buildsDataDirectory();
    void refusesToReplaceTables();
    void badSourceWritesNothing();
    void toolExitStatus();
    void toolSetsThePasswordAlone_data();
    void toolSetsThePasswordAlone();
};

void TestStoreSetup::readsSource()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("perguntas.tsv"));
    writeFile(path, "\xEF\xBB\xBF" "id\tpergunta\tresp1\tresp2\tresp3\tresp4\tcorreta\tfoto\r\n"
                    "2\tSegunda?\tSim \tNão\tTalvez\tNunca\tSim \tb.jpg\r\n"
                    "# comentário\r\n"
                    "   \r\n"
                    "1\tPrimeira, com “aspas”?\ta\tb\tc\td\td\ta.jpg");
    const QList<Question> rows = readQuestionSource(path);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].id, 1.0); // in Id order
    QCOMPARE(rows[0].pergunta, QStringLiteral("Primeira, com “aspas”?"));
    QCOMPARE(rows[0].correta, QStringLiteral("d"));
    QCOMPARE(rows[0].foto, QStringLiteral("a.jpg"));
    QCOMPARE(rows[1].answers[0], QStringLiteral("Sim ")); // texts are kept exactly, spaces included
    QCOMPARE(rows[1].answers[3], QStringLiteral("Nunca"));
}

void TestStoreSetup::rejectsBadSource_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error"); // after "<path>, "
    const QByteArray good = "1\tP?\ta\tb\tc\td\ta\tf.jpg\n";
    QTest::newRow("missing field") << header + good + "2\tP?\ta\tb\tc\td\ta\n"
                                   << "linha 3: 7 campos separados por tabulação; são esperados 8";
    QTest::newRow("extra field") << header + "# x\n" + good + "2\tP?\ta\tb\tc\td\ta\tf.jpg\tmais\n"
                                 << "linha 4: 9 campos separados por tabulação; são esperados 8";
    QTest::newRow("Id not a number") << header + "um\tP?\ta\tb\tc\td\ta\tf.jpg\n"
                                     << "linha 2: Id \"um\" não é um número inteiro a partir de 1";
    QTest::newRow("Id zero") << header + "0\tP?\ta\tb\tc\td\ta\tf.jpg\n"
                             << "linha 2: Id \"0\" não é um número inteiro a partir de 1";
    QTest::newRow("repeated Id") << header + good + "\n" + good << "linha 4: o Id 1 já foi usado na linha 2";
    QTest::newRow("empty field") << header + "1\tP?\ta\t\tc\td\ta\tf.jpg\n" << "linha 2: o campo Resp2 está vazio";
    QTest::newRow("correct answer not among the answers") << header + "1\tP?\ta\tb\tc\td\tA\tf.jpg\n"
                                                          << "linha 2: Correta não é igual a nenhuma das quatro respostas";
    QTest::newRow("text too long") << header + "1\t" + QByteArray(241, 'p') + "\ta\tb\tc\td\ta\tf.jpg\n"
                                   << "linha 2: o campo Pergunta passa de 240 caracteres";
    QTest::newRow("outside Windows-1252") << header + "1\tQuanto é π?\ta\tb\tc\td\ta\tf.jpg\n"
                                          << "linha 2: o campo Pergunta tem caracteres fora do Windows-1252";
    QTest::newRow("photo in a subfolder") << header + "1\tP?\ta\tb\tc\td\ta\t../f.jpg\n"
                                          << "linha 2: Foto deve ser só o nome de um arquivo da pasta fotos";
    QTest::newRow("wrong header") << "Id\tPergunta\tR1\tR2\tR3\tR4\tCorreta\tFoto\n" + good
                                  << "linha 1: o cabeçalho deve ser Id | Pergunta | Resp1 | Resp2 | Resp3 | "
                                     "Resp4 | Correta | Foto";
    QTest::newRow("wrong first header column") << "Numero\tPergunta\tResp1\tResp2\tResp3\tResp4\tCorreta\tFoto\n" + good
                                               << "linha 1: o cabeçalho deve ser Id | Pergunta | Resp1 | Resp2 | Resp3 | "
                                                  "Resp4 | Correta | Foto";
    QTest::newRow("gap in the Ids") << header + good + "3\tP?\ta\tb\tc\td\ta\tf.jpg\n"
                                    << "falta a pergunta de Id 2 (os Ids devem ir de 1 a 2 sem lacunas)";
}

void TestStoreSetup::rejectsBadSource()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("perguntas.tsv"));
    writeFile(path, contents);
    const QString text = errorOf([&] { readQuestionSource(path); });
    QCOMPARE(text, path + (error.startsWith(QLatin1String("linha")) ? QStringLiteral(", ") : QStringLiteral(": ")) + error);
}

void TestStoreSetup::buildsDataDirectory()
{
    Source source;
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("um/dois/BDPerguntas"));
    const DataDirectoryReport report = buildDataDirectory(folder, source.path(), false);
    QCOMPARE(report.folder, folder);
    QCOMPARE(report.questions, 2);
    QCOMPARE(report.photos, 2);
    QVERIFY(!report.replaced);

    // Only the photos in use are copied.
    QCOMPARE(QDir(folder + QStringLiteral("/fotos")).entryList(QDir::Files),
             (QStringList{QStringLiteral("simbolo.bmp"), QStringLiteral("triangulo.jpg")}));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("Perguntas.DB"), QStringLiteral("inicial.db")}));

    // The search index ignores the case of every letter from the start, before the game opens it.
    QCOMPARE(indexDefinition(folder + QStringLiteral("/Perguntas.DB"), QStringLiteral("IdPergunta")),
             QStringLiteral("CREATE INDEX IdPergunta ON db(%1)").arg(caseFoldedKey(QStringLiteral("\"Pergunta\""))));

    Table questions;
    questions.open(*openBank(folder), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QCOMPARE(questions.fieldText(QStringLiteral("Id")), QStringLiteral("1"));
    QCOMPARE(questions.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Quantos lados tem um triângulo?"));
    const QString photo = questions.fieldText(QStringLiteral("Foto"));
    QCOMPARE(photo, folder + QStringLiteral("/fotos/triangulo.jpg"));
    QCOMPARE(readFile(photo), QByteArray("jpeg-triangulo"));
    questions.next();
    QCOMPARE(questions.fieldText(QStringLiteral("Correta")), QStringLiteral("Au"));
    QVERIFY(questions.atLast());
    questions.setIndexName(QStringLiteral("IdPergunta"));
    questions.findNearest(QStringLiteral("QUAL"));
    QCOMPARE(questions.fieldText(QStringLiteral("Id")), QStringLiteral("2"));
    questions.findNearest(QStringLiteral("QUANTOS LADOS TEM UM TRIÂNGULO?"));
    QCOMPARE(questions.fieldText(QStringLiteral("Id")), QStringLiteral("1"));

    Table account;
    account.open(*openBank(folder), QStringLiteral("inicial.db"), accountFields());
    QCOMPARE(account.fieldText(QStringLiteral("Login")), QStringLiteral("Adm"));
    QCOMPARE(account.fieldText(QStringLiteral("Senha")), QStringLiteral("1234"));
    QVERIFY(account.atLast());
}

void TestStoreSetup::refusesToReplaceTables()
{
    Source source;
    QTemporaryDir folder;
    buildDataDirectory(folder.path(), source.path(), false);
    writeFile(folder.filePath(QStringLiteral("Recorde.txt")), "Ana\r\n85\r\n");
    {
        Table account;
        account.open(*openBank(folder.path()), QStringLiteral("inicial.db"), accountFields());
        account.edit();
        account.setFieldText(QStringLiteral("Senha"), QStringLiteral("nova"));
        account.post();
    }
    const auto password = [&] {
        Table account;
        account.open(*openBank(folder.path()), QStringLiteral("inicial.db"), accountFields());
        return account.fieldText(QStringLiteral("Senha"));
    };

    const QString refusal = errorOf([&] { buildDataDirectory(folder.path(), source.path(), false); });
    QVERIFY2(refusal.contains(QStringLiteral("já tem tabelas")), qPrintable(refusal));
    QCOMPARE(password(), QStringLiteral("nova"));

    const DataDirectoryReport report = buildDataDirectory(folder.path(), source.path(), true);
    QVERIFY(report.replaced);
    QCOMPARE(password(), QStringLiteral("1234"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("Recorde.txt"))), QByteArray("Ana\r\n85\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("Perguntas.DB"), QStringLiteral("Recorde.txt"), QStringLiteral("inicial.db")}));
}

void TestStoreSetup::badSourceWritesNothing()
{
    Source source;
    QFile::remove(QDir(source.path()).filePath(QStringLiteral("fotos/simbolo.bmp")));
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("BDPerguntas"));
    const QString error = errorOf([&] { buildDataDirectory(folder, source.path(), true); });
    QCOMPARE(error, QStringLiteral("a foto da pergunta 2 não existe: %1/fotos/simbolo.bmp").arg(source.path()));
    QVERIFY(!QFileInfo::exists(folder));

    const QString missing = errorOf([&] { buildDataDirectory(folder, home.filePath(QStringLiteral("nada")), true); });
    QVERIFY2(missing.startsWith(QStringLiteral("Não foi possível ler %1").arg(home.filePath(QStringLiteral("nada/perguntas.tsv")))),
             qPrintable(missing));
    QVERIFY(!QFileInfo::exists(folder));
}

void TestStoreSetup::toolExitStatus()
{
    const QString tool = setupTool();
    if (!QFileInfo(tool).isExecutable())
        QSKIP("the jornada-dados target is not built in this build directory");
    Source source;
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("BDPerguntas"));
    const auto run = [&](const QStringList &arguments, QString *output = nullptr) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(60000))
            return -1;
        if (output)
            *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    };

    QString output;
    QCOMPARE(run({QStringLiteral("--origem"), source.path(), folder}, &output), 0);
    QVERIFY2(output.contains(QLatin1String("2 perguntas")), qPrintable(output));
    QCOMPARE(run({QStringLiteral("--origem"), source.path(), folder}, &output), 1);
    QVERIFY2(output.contains(QLatin1String("--substituir")), qPrintable(output));
    QCOMPARE(run({QStringLiteral("--substituir"), QStringLiteral("--origem"), source.path(), folder}), 0);
    QCOMPARE(run({QStringLiteral("--origem"), home.filePath(QStringLiteral("nada")), home.filePath(QStringLiteral("outra"))}), 1);
    QCOMPARE(run({QStringLiteral("--desconhecida")}), 1);
}

void TestStoreSetup::toolSetsThePasswordAlone_data()
{
    QTest::addColumn<QByteArray>("input");      // standard input of jornada-dados --senha
    QTest::addColumn<bool>("accountMissing");   // inicial.db removed first
    QTest::addColumn<QString>("account");       // the rows afterwards; empty: as before, and refused
    QTest::newRow("new password") << QByteArray("Escola1\n") << false << QStringLiteral("Adm/Escola1");
    QTest::newRow("line end of Windows") << QByteArray("x y z\r\n") << false << QStringLiteral("Adm/x y z");
    QTest::newRow("accents") << QByteArray("Açaí12") << false << QStringLiteral("Adm/Açaí12");
    QTest::newRow("account recreated") << QByteArray("nova\n") << true << QStringLiteral("Adm/nova");
    // A password the login could never match is refused whole, never cut to seven characters.
    QTest::newRow("too long") << QByteArray("Escola2026\n") << false << QString();
    QTest::newRow("empty") << QByteArray("\n") << false << QString();
    QTest::newRow("outside Windows-1252") << QByteArray("senha→") << false << QString();
}

void TestStoreSetup::toolSetsThePasswordAlone()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, accountMissing);
    QFETCH(QString, account);
    const QString tool = setupTool();
    if (!QFileInfo(tool).isExecutable())
        QSKIP("the jornada-dados target is not built in this build directory");
    Source source;
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("BDPerguntas"));
    buildDataDirectory(folder, source.path(), false);
    const QString bank = QDir(folder).filePath(QStringLiteral("Perguntas.DB"));
    const QString record = QDir(folder).filePath(QStringLiteral("Recorde.txt"));
    writeFile(record, "Ana\r\n42\r\n");
    const QByteArray bankBefore = fileBytes(bank);
    if (accountMissing)
        QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("inicial.db"))));
    const QStringList before = accountRows(folder);

    QProcess process;
    process.start(tool, {QStringLiteral("--senha"), folder});
    process.write(input);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    QCOMPARE(process.exitCode(), account.isEmpty() ? 1 : 0);
    QCOMPARE(accountRows(folder), account.isEmpty() ? before : QStringList{account});
    if (!account.isEmpty())
        QVERIFY2(output.contains(QLatin1String("alterada")), qPrintable(output));
    QCOMPARE(fileBytes(bank), bankBefore);
    QCOMPARE(fileBytes(record), QByteArray("Ana\r\n42\r\n"));
}

QTEST_GUILESS_MAIN(TestStoreSetup)
#include "test_store_setup.moc"
