// jornada-dados on a PostgreSQL server: the bank made whole with its roles, read back by a plain
// psql; a server that has a bank or a role left as it was; the administrator's password, the
// import and the export on the server; a data folder's bank copied into a server, or refused
// whole.
#include "helpers/TestBank.h"
#include "store/server/Conninfo.h"
#include "store/core/BankLocation.h"
#include "store/tables/Fields.h"
#include "store/folder/FolderSetup.h"
#include "store/bank/QuestionSource.h"
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <libpq-fe.h>

namespace {

const QString SampleSource = QStringLiteral(JORNADA_SOURCE_DIR "/data");

struct Run {
    int status = -1;
    QString out, err;
};

// A machine of its own for jornada-dados: its HOME, and the setting that HOME holds, if any.
class Machine {
public:
    // Points the game of this machine at `connection`, as a lab's setting does.
    void setServer(const QString &connection)
    {
        QDir().mkpath(m_home.filePath(QStringLiteral(".config/jornada")));
        QFile setting(m_home.filePath(QStringLiteral(".config/jornada/jornada.conf")));
        QVERIFY(setting.open(QIODevice::WriteOnly));
        setting.write("[banco]\nservidor=" + connection.toUtf8() + "\n");
    }
    QString file(const QString &name) const { return m_home.filePath(name); }

    Run jornadaDados(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), m_home.filePath(QStringLiteral("sistema")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(JORNADA_DADOS), arguments);
        process.write(input);
        process.closeWriteChannel();
        Run run;
        if (!process.waitForFinished(240000))
            return run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

private:
    QTemporaryDir m_home;
};

// What a plain psql prints for `sql` on the database of `connection`: one line per row, columns
// separated by '|'.
QStringList psql(const QString &connection, const QString &sql)
{
    QProcess process;
    process.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-A"), QStringLiteral("-t"),
                                           QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                           QStringLiteral("-d"), connection, QStringLiteral("-c"), sql});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {QStringLiteral("psql failed: ") + QString::fromUtf8(process.readAllStandardError())};
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Whether the server lets `role` in with `password`.
bool logsIn(const QString &connection, const QString &role, const QString &password)
{
    PGconn *server = PQconnectdb(connectionAs(connection, role, password).toUtf8().constData());
    const bool in = PQstatus(server) == CONNECTION_OK;
    PQfinish(server);
    return in;
}

QString sha256Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(não lido: %1)").arg(path);
    return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}

// The schemas of a bank that the database holds.
QStringList bankSchemas(const QString &connection)
{
    return psql(connection, QStringLiteral("SELECT nspname FROM pg_namespace WHERE nspname IN "
                                           "('perguntas', 'inicial', 'recorde') ORDER BY 1"));
}

// A database of the test's own, and the game's roles gone before it and after it: roles belong
// to the whole server, and are dropped once the database that names them is.
class Server {
public:
    Server() { dropRoles(testRoles()); }
    ~Server()
    {
        m_database.reset();
        dropRoles(testRoles());
    }
    QString connection() const { return m_database->connection(); }
    QString name() const { return m_database->name(); }

private:
    std::unique_ptr<ServerDatabase> m_database = std::make_unique<ServerDatabase>();
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class ServerSetupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void preparesAServer();
    void refusesWhatIsThere_data();
    void refusesWhatIsThere();
    void passwordOnTheServer();
    void exportAndImportOnTheServer();
    void updateOnTheServer();
    void copiesAFolder();
    void copyRefused_data();
    void copyRefused();
};

void ServerSetupTest::initTestCase()
{
    if (!testingOnServer())
        QSKIP("these tests are about a server: run them with JORNADA_TESTE_BANCO=servidor");
    REQUIRE_TEST_SERVER();
}

void ServerSetupTest::preparesAServer()
{
    Server server;
    Machine machine;
    const Run run = machine.jornadaDados({QStringLiteral("--servidor"), server.connection(), QStringLiteral("--senha-alunos"),
                                          QStringLiteral("Segredo9")});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    // A password the command was given is not repeated; the setting the lab needs is shown.
    QVERIFY(!run.out.contains(QLatin1String("Segredo9")));
    QVERIFY2(run.out.contains(QStringLiteral("servidor=user=jornada_alunos dbname=%1 password=").arg(server.name())),
             qPrintable(run.out));

    // What a plain psql finds: the sample bank, each question's photo as its file's bytes, the
    // administrator's role named, no record yet, and two plain roles.
    const QList<Question> sample = readQuestionSource(SampleSource + QStringLiteral("/perguntas.tsv"));
    const QString c = server.connection();
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*), min(id), max(id) FROM perguntas.db")),
             QStringList{QStringLiteral("%1|1|%1").arg(sample.size())});
    const Question &third = sample[2];
    QCOMPARE(psql(c, QStringLiteral("SELECT pergunta, correta, foto FROM perguntas.db WHERE id = 3")),
             QStringList{third.pergunta + QLatin1Char('|') + third.correta + QLatin1Char('|') + third.foto});
    QCOMPARE(psql(c, QStringLiteral("SELECT encode(sha256(f.dados), 'hex') FROM perguntas.fotos f"
                                    " JOIN perguntas.db p ON p.foto = f.nome WHERE p.id = 3")),
             QStringList{sha256Of(SampleSource + QStringLiteral("/fotos/") + third.foto)});
    QCOMPARE(psql(c, QStringLiteral("SELECT login FROM inicial.db")), QStringList{QStringLiteral("Adm")});
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM recorde.db WHERE nome IS NULL AND pontos IS NULL")),
             QStringList{QStringLiteral("1")});
    const QStringList plainRoles = {QStringLiteral("Adm|f|f|f"), QStringLiteral("jornada_alunos|f|f|f")};
    QCOMPARE(psql(c, QStringLiteral("SELECT rolname, rolsuper, rolcreaterole, rolcreatedb FROM pg_roles"
                                    " WHERE rolname IN ('Adm', 'jornada_alunos') ORDER BY 1")),
             plainRoles);
    QVERIFY(logsIn(c, QStringLiteral("Adm"), QStringLiteral("1234")));
    QVERIFY(logsIn(c, QStringLiteral("jornada_alunos"), QStringLiteral("Segredo9")));

    // The bank says which layout it has; one marked as another version of the game is refused
    // with both versions named, never read as this one.
    QCOMPARE(psql(c, QStringLiteral("SELECT obj_description('perguntas'::regnamespace, 'pg_namespace')")),
             QStringList{QStringLiteral("Jornada do Saber: banco de perguntas, versão 1")});
    QCOMPARE(PlainServer(c).exec(QStringLiteral("COMMENT ON SCHEMA perguntas IS 'Jornada do Saber: banco de perguntas, versão 2'")),
             QString());
    const Run newer = machine.jornadaDados({QStringLiteral("--servidor"), c, QStringLiteral("--exportar"),
                                            machine.file(QStringLiteral("banco.csv"))});
    QCOMPARE(newer.status, 1);
    QVERIFY2(newer.err.contains(QStringLiteral("é de outra versão do jogo (\"Jornada do Saber: banco de perguntas, "
                                               "versão 2\"), que este programa não conhece")),
             qPrintable(newer.err));
}

void ServerSetupTest::refusesWhatIsThere_data()
{
    QTest::addColumn<QString>("before"); // "bank", or SQL run first
    QTest::addColumn<QStringList>("arguments"); // after --servidor CONEXÃO
    QTest::addColumn<QString>("message");

    QTest::newRow("a bank") << "bank" << QStringList() << "já tem um banco de perguntas (esquemas inicial, perguntas, recorde)";
    QTest::newRow("a bank, even with --substituir")
        << "bank" << QStringList{QStringLiteral("--substituir")} << "--substituir não vale para um servidor";
    QTest::newRow("the administrator's role") << "CREATE ROLE \"Adm\" SUPERUSER" << QStringList()
                                              << "já tem um papel (role) chamado \"Adm\"";
    QTest::newRow("the pupils' role") << "CREATE ROLE jornada_alunos" << QStringList()
                                      << "já tem um papel (role) chamado \"jornada_alunos\"";
    QTest::newRow("roles of the same name") << "" << QStringList{QStringLiteral("--alunos"), QStringLiteral("Adm")}
                                            << "precisam de nomes diferentes";
}

void ServerSetupTest::refusesWhatIsThere()
{
    QFETCH(QString, before);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    Server server;
    Machine machine;
    const QString c = server.connection();
    if (before == QLatin1String("bank")) {
        QCOMPARE(machine.jornadaDados({QStringLiteral("--servidor"), c}).status, 0);
        QCOMPARE(PlainServer(c).exec(QStringLiteral("ALTER ROLE \"Adm\" PASSWORD 'outra'; DELETE FROM perguntas.db WHERE id > 5")),
                 QString());
    } else if (!before.isEmpty()) {
        QCOMPARE(PlainServer(c).exec(before), QString());
    }
    const QStringList schemasBefore = bankSchemas(c);

    const Run run = machine.jornadaDados(QStringList{QStringLiteral("--servidor"), c} + arguments);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // Nothing changed: no schema made or dropped, the bank and the role as they were.
    QCOMPARE(bankSchemas(c), schemasBefore);
    if (before == QLatin1String("bank")) {
        QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM perguntas.db")), QStringList{QStringLiteral("5")});
        QVERIFY(logsIn(c, QStringLiteral("Adm"), QStringLiteral("outra")));
    } else {
        QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname IN ('Adm', 'jornada_alunos')")),
                 QStringList{before.isEmpty() ? QStringLiteral("0") : QStringLiteral("1")});
    }
}

void ServerSetupTest::passwordOnTheServer()
{
    Server server;
    Machine machine;
    const QString c = server.connection();
    QCOMPARE(machine.jornadaDados({QStringLiteral("--servidor"), c}).status, 0);

    const Run run = machine.jornadaDados({QStringLiteral("--senha"), QStringLiteral("--servidor"), c}, "nova12\n");
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY(!run.out.contains(QLatin1String("nova12")));
    QVERIFY(logsIn(c, QStringLiteral("Adm"), QStringLiteral("nova12")));
    QVERIFY(!logsIn(c, QStringLiteral("Adm"), QStringLiteral("1234")));

    // A lab machine follows its setting, whose role may not: refused, and told what to do.
    machine.setServer(connectionAs(c, QStringLiteral("jornada_alunos"), QStringLiteral("jornada")));
    const Run asPupils = machine.jornadaDados({QStringLiteral("--senha")}, "outra1\n");
    QCOMPARE(asPupils.status, 1);
    QVERIFY2(asPupils.err.contains(QStringLiteral("Sem permissão")), qPrintable(asPupils.err));
    QVERIFY2(asPupils.err.contains(QLatin1String("user=Adm")), qPrintable(asPupils.err));
    QVERIFY(logsIn(c, QStringLiteral("Adm"), QStringLiteral("nova12")));
}

void ServerSetupTest::exportAndImportOnTheServer()
{
    Server server;
    Machine machine;
    const QString c = server.connection();
    QCOMPARE(machine.jornadaDados({QStringLiteral("--servidor"), c}).status, 0);
    const int count = int(readQuestionSource(SampleSource + QStringLiteral("/perguntas.tsv")).size());
    const QString photosBefore = psql(c, QStringLiteral("SELECT count(*) FROM perguntas.fotos")).value(0);

    // The export follows the machine's setting: the pupils' role reads the bank and its photos.
    machine.setServer(connectionAs(c, QStringLiteral("jornada_alunos"), QStringLiteral("jornada")));
    const QString exported = machine.file(QStringLiteral("banco.csv"));
    const Run exportRun = machine.jornadaDados({QStringLiteral("--exportar"), exported});
    QVERIFY2(exportRun.status == 0, qPrintable(exportRun.err));
    QFile csv(exported);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count("\r\n"), count + 1);
    const QString third = psql(c, QStringLiteral("SELECT foto FROM perguntas.db WHERE id = 3")).value(0);
    QCOMPARE(sha256Of(machine.file(QStringLiteral("fotos/") + third)), sha256Of(SampleSource + QStringLiteral("/fotos/") + third));

    // Two new questions: one with a photo the bank has (the same bytes, under its name), one with
    // a new photo, which the bank then stores.
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(machine.file(QStringLiteral("fotos/nova.bmp")), "BMP"));
    writeFile(machine.file(QStringLiteral("novas.csv")),
              "Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto\n"
              "Qual é a cor da foto nova?;Verde;Azul;Roxo;Cinza;A;fotos/nova.bmp\n"
              "Qual foto se repete?;Esta;Aquela;Nenhuma;Todas;1;fotos/"
                  + third.toUtf8() + "\n");
    // As the pupils' role, the setting's, the import is refused whole.
    const Run refused = machine.jornadaDados({QStringLiteral("--importar"), machine.file(QStringLiteral("novas.csv"))});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("Sem permissão")), qPrintable(refused.err));
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM perguntas.db")), QStringList{QString::number(count)});

    const Run imported = machine.jornadaDados({QStringLiteral("--importar"), machine.file(QStringLiteral("novas.csv")),
                                               QStringLiteral("--servidor"),
                                               connectionAs(c, QStringLiteral("Adm"), QStringLiteral("1234"))});
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    const QStringList added = {QStringLiteral("%1|Verde|nova.bmp").arg(count + 1),
                               QStringLiteral("%1|Esta|%2").arg(count + 2).arg(third)};
    QCOMPARE(psql(c, QStringLiteral("SELECT id, correta, foto FROM perguntas.db WHERE id > %1 ORDER BY id").arg(count)),
             added);
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM perguntas.fotos")),
             QStringList{QString::number(photosBefore.toInt() + 1)});
    QCOMPARE(psql(c, QStringLiteral("SELECT encode(sha256(dados), 'hex') FROM perguntas.fotos WHERE nome = 'nova.bmp'")),
             QStringList{sha256Of(machine.file(QStringLiteral("fotos/nova.bmp")))});
}

void ServerSetupTest::updateOnTheServer()
{
    // The bank exported, one question edited, and the file read back by its Ids: that question is
    // replaced, the others are the bank's already, photos included, and no photo is stored again.
    Server server;
    Machine machine;
    const QString c = connectionAs(server.connection(), QStringLiteral("Adm"), QStringLiteral("1234"));
    QCOMPARE(machine.jornadaDados({QStringLiteral("--servidor"), server.connection()}).status, 0);
    const QList<Question> sample = readQuestionSource(SampleSource + QStringLiteral("/perguntas.tsv"));
    const QString exported = machine.file(QStringLiteral("banco.csv"));
    QCOMPARE(machine.jornadaDados({QStringLiteral("--exportar"), exported, QStringLiteral("--servidor"), c}).status, 0);
    QFile csv(exported);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QByteArray text = csv.readAll();
    csv.close();
    const QByteArray question = "\"" + sample[1].pergunta.toUtf8() + "\"";
    QCOMPARE(text.count(question), 1);
    writeFile(exported, text.replace(question, "\"Qual é o maior estado do Brasil?\""));
    const QString photos = psql(c, QStringLiteral("SELECT count(*) FROM perguntas.fotos")).value(0);

    const Run run = machine.jornadaDados({QStringLiteral("--atualizar"), exported, QStringLiteral("--servidor"), c});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral("Perguntas substituídas: 1; acrescentadas: 0; iguais às do banco: %1.")
                                  .arg(sample.size() - 1)),
             qPrintable(run.out));
    QCOMPARE(psql(c, QStringLiteral("SELECT pergunta, foto FROM perguntas.db WHERE id = 2")),
             QStringList{QStringLiteral("Qual é o maior estado do Brasil?|") + sample[1].foto});
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM perguntas.fotos")), QStringList{photos});
}

void ServerSetupTest::copiesAFolder()
{
    Server server;
    Machine machine;
    const QString c = server.connection();
    const QString folder = machine.file(QStringLiteral("BDPerguntas"));
    QCOMPARE(machine.jornadaDados({folder}).status, 0);
    QCOMPARE(machine.jornadaDados({QStringLiteral("--senha"), folder}, "Escola\n").status, 0);
    writeFile(QDir(folder).filePath(QStringLiteral("Recorde.txt")), "Z\xe9\r\n85\r\n");
    const QList<Question> rows = readQuestionTable(folder);
    const QString bankBefore = sha256Of(QDir(folder).filePath(QStringLiteral("Perguntas.DB")));

    const Run run = machine.jornadaDados({QStringLiteral("--copiar"), folder, QStringLiteral("--servidor"), c});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM perguntas.db")), QStringList{QString::number(rows.size())});
    const Question &seventh = rows[6];
    const QString photoName = QFileInfo(seventh.foto).fileName();
    QCOMPARE(psql(c, QStringLiteral("SELECT pergunta, resp4, foto FROM perguntas.db WHERE id = 7")),
             QStringList{seventh.pergunta + QLatin1Char('|') + seventh.answers[3] + QLatin1Char('|') + photoName});
    QCOMPARE(psql(c, QStringLiteral("SELECT encode(sha256(dados), 'hex') FROM perguntas.fotos WHERE nome = '%1'").arg(photoName)),
             QStringList{sha256Of(seventh.foto)});
    QCOMPARE(psql(c, QStringLiteral("SELECT nome, pontos FROM recorde.db")), QStringList{QStringLiteral("Zé|85")});
    QVERIFY(logsIn(c, QStringLiteral("Adm"), QStringLiteral("Escola")));
    QVERIFY(logsIn(c, QStringLiteral("jornada_alunos"), QStringLiteral("jornada")));
    // The folder is only read.
    QCOMPARE(sha256Of(QDir(folder).filePath(QStringLiteral("Perguntas.DB"))), bankBefore);
}

void ServerSetupTest::copyRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");

    QTest::newRow("a photo missing") << "photo" << "pergunta 4: a foto não existe: ";
    QTest::newRow("a record no whole game scores") << "record 500" << "está fora do que um jogo inteiro pode marcar";
    QTest::newRow("a damaged record file") << "record muitos" << "Invalid numeric input";
    QTest::newRow("an empty administrator's password") << "password" << "a senha do administrador da pasta";
    QTest::newRow("no bank in the folder") << "bank" << "não tem o banco de perguntas (Perguntas.DB)";
}

void ServerSetupTest::copyRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    Server server;
    Machine machine;
    const QString c = server.connection();
    const QString folder = machine.file(QStringLiteral("BDPerguntas"));
    QCOMPARE(machine.jornadaDados({folder}).status, 0);
    if (damage == QLatin1String("photo")) {
        QVERIFY(QFile::remove(readQuestionTable(folder)[3].foto));
    } else if (damage.startsWith(QLatin1String("record "))) {
        writeFile(QDir(folder).filePath(QStringLiteral("Recorde.txt")), "Ana\r\n" + damage.mid(7).toUtf8() + "\r\n");
    } else if (damage == QLatin1String("password")) {
        Table account;
        account.open(*openBank(BankLocation::folder(folder)), QStringLiteral("inicial.db"), accountFields());
        account.edit();
        account.setFieldText(QStringLiteral("Senha"), QString());
        account.post();
    } else {
        QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("Perguntas.DB"))));
    }

    const Run run = machine.jornadaDados({QStringLiteral("--copiar"), folder, QStringLiteral("--servidor"), c});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(bankSchemas(c), QStringList());
    QCOMPARE(psql(c, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname IN ('Adm', 'jornada_alunos')")),
             QStringList{QStringLiteral("0")});
}

QTEST_MAIN(ServerSetupTest)
#include "test_server_setup.moc"
