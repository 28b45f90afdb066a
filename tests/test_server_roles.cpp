// The roles of a bank on a server: what the pupils' machines and the administrator may do, the
// record that only a whole game can set, and the administrator's login and password as the
// server checks them. Every statement runs on a real server, as the role it is about.
#include "helpers/TestBank.h"
#include "helpers/TestData.h"
#include "store/server/Conninfo.h"
#include "store/bank/AdminAccount.h"
#include "store/core/AppError.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/RecordStore.h"
#include "store/server/ServerPhotos.h"
#include "store/tables/TableEngine.h"

#include <QTest>

namespace {

const QString Pupils = QStringLiteral("alunos");
const QString Administrator = QStringLiteral("Adm");

// A bank of five questions with its two roles, and connections to it as each of them.
struct Lab {
    TempDataDir data{5};

    QString owner() const { return data.server()->connection(); }
    QString as(const QString &role) const
    {
        return role == Pupils ? connectionAs(owner(), QString::fromLatin1(defaultPupilsRole),
                                             QString::fromLatin1(defaultPupilsPassword))
                              : connectionAs(owner(), QStringLiteral("Adm"), QStringLiteral("1234"));
    }
    BankLocation bankAs(const QString &role) const { return BankLocation::server(as(role)); }
};

// The error text of `work`, or empty when it throws none.
QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const AppError &error) {
        return error.text();
    }
    return QString();
}

std::optional<Record> storedRecord(const Lab &lab)
{
    const QStringList row = PlainServer(lab.owner()).rows(QStringLiteral("SELECT coalesce(nome, '-') || '/' || "
                                                                         "coalesce(pontos::text, '-') FROM recorde.db"));
    if (row.size() != 1 || row[0] == QLatin1String("-/-"))
        return std::nullopt;
    return Record{row[0].section(QLatin1Char('/'), 0, 0), row[0].section(QLatin1Char('/'), 1).toInt()};
}

} // namespace

class ServerRolesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rights_data();
    void rights();
    void recordClaims_data();
    void recordClaims();
    void pupilsPlayThroughTheStore();
    void logIn_data();
    void logIn();
    void editorWritesAsTheAdministrator();
    void passwordChangeKeepsOnlyTheServersHash();
    void unreachableServerIsNoRefusal();
};

void ServerRolesTest::initTestCase()
{
    if (!testingOnServer())
        QSKIP("these tests are about a server's roles: run them with JORNADA_TESTE_BANCO=servidor");
    REQUIRE_TEST_SERVER();
}

void ServerRolesTest::rights_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("allowed"); // otherwise refused for want of a right (SQLSTATE 42501)

    const auto row = [](const QString &role, const char *sql, bool allowed) {
        QTest::addRow("%s: %s", qPrintable(role), sql) << role << QString::fromUtf8(sql) << allowed;
    };
    // What a game reads.
    row(Pupils, "SELECT count(p.id) FROM perguntas.db p", true);
    row(Pupils, "SELECT pergunta, foto FROM perguntas.db WHERE perguntas.chave(pergunta) >= perguntas.chave('P')", true);
    row(Pupils, "SELECT dados FROM perguntas.fotos", true);
    row(Pupils, "SELECT total FROM perguntas.mudancas", true);
    row(Pupils, "SELECT nome, pontos FROM recorde.db", true);
    row(Pupils, "SELECT inicial.administrador()", true);
    // Nothing of the bank is written by a pupils' machine...
    row(Pupils, "INSERT INTO perguntas.db (pergunta, id) VALUES ('nova', 99)", false);
    row(Pupils, "UPDATE perguntas.db SET correta = resp1", false);
    row(Pupils, "DELETE FROM perguntas.db", false);
    row(Pupils, "TRUNCATE perguntas.db", false);
    row(Pupils, "INSERT INTO perguntas.fotos VALUES ('x.jpg', '\\xffd8')", false);
    row(Pupils, "DELETE FROM perguntas.fotos", false);
    row(Pupils, "UPDATE perguntas.mudancas SET total = 0", false);
    row(Pupils, "ALTER TABLE perguntas.db ADD COLUMN outra text", false);
    row(Pupils, "DROP TABLE perguntas.fotos", false);
    row(Pupils, "CREATE TABLE perguntas.outra (a int)", false);
    row(Pupils, "CREATE TABLE public.outra (a int)", false);
    row(Pupils, "CREATE TEMPORARY TABLE outra (a int)", false);
    row(Pupils, "CREATE SCHEMA outro", false);
    row(Pupils, "CREATE OR REPLACE FUNCTION recorde.gravar(novo_nome text, novos_pontos integer) RETURNS void"
                " LANGUAGE sql AS 'SELECT'", false);
    // ...nor held, so that no teacher's save waits on one...
    row(Pupils, "SELECT pergunta FROM perguntas.db FOR UPDATE", false);
    row(Pupils, "BEGIN; LOCK TABLE perguntas.db; COMMIT", false);
    // ...and the record only through its functions.
    row(Pupils, "UPDATE recorde.db SET nome = 'Eu', pontos = 100", false);
    row(Pupils, "INSERT INTO recorde.db VALUES ('Eu', 100)", false);
    row(Pupils, "DELETE FROM recorde.db", false);
    row(Pupils, "SELECT nome FROM recorde.db FOR UPDATE", false);
    // The administrator's account is not the pupils' to read or change.
    row(Pupils, "SELECT login FROM inicial.db", false);
    row(Pupils, "SELECT rolpassword FROM pg_catalog.pg_authid", false);
    row(Pupils, "ALTER ROLE \"Adm\" PASSWORD 'roubada'", false);

    // The administrator changes the questions and the photos, and nothing else.
    row(Administrator, "INSERT INTO perguntas.db (pergunta, id) VALUES ('nova', 99)", true);
    row(Administrator, "UPDATE perguntas.db SET pergunta = 'outra' WHERE id = 1", true);
    row(Administrator, "DELETE FROM perguntas.db WHERE id = 5", true);
    row(Administrator, "INSERT INTO perguntas.fotos VALUES ('x.jpg', '\\xffd8')", true);
    row(Administrator, "DELETE FROM perguntas.fotos", true);
    row(Administrator, "UPDATE perguntas.mudancas SET total = 0", false);
    row(Administrator, "UPDATE recorde.db SET nome = 'Eu', pontos = 100", false);
    row(Administrator, "SELECT recorde.gravar('Eu', 100)", false);
    row(Administrator, "UPDATE inicial.db SET login = 'Outro'", false);
    row(Administrator, "ALTER TABLE perguntas.db ADD COLUMN outra text", false);
    row(Administrator, "CREATE TABLE perguntas.outra (a int)", false);
    row(Administrator, "ALTER ROLE jornada_alunos PASSWORD 'outra'", false);
}

void ServerRolesTest::rights()
{
    QFETCH(QString, role);
    QFETCH(QString, sql);
    QFETCH(bool, allowed);
    Lab lab;
    QCOMPARE(PlainServer(lab.as(role)).state(sql), allowed ? QString() : QStringLiteral("42501"));
}

void ServerRolesTest::recordClaims_data()
{
    QTest::addColumn<int>("before"); // the stored points, with the holder "Ana"; -1000 for no record
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("taken");

    QTest::newRow("first record") << -1000 << "Bia" << 40 << true;
    QTest::newRow("a whole game's best") << -1000 << "Bia" << 100 << true;
    QTest::newRow("a whole game's worst") << -1000 << "Bia" << -62 << true;
    QTest::newRow("above a whole game") << -1000 << "Bia" << 101 << false;
    QTest::newRow("below a whole game") << -1000 << "Bia" << -63 << false;
    QTest::newRow("far above") << 50 << "Bia" << 2147483647 << false;
    QTest::newRow("beaten") << 50 << "Bia" << 51 << true;
    QTest::newRow("tied") << 50 << "Bia" << 50 << true;
    QTest::newRow("lowered") << 50 << "Bia" << 49 << false;
    QTest::newRow("wiped out") << 100 << "Bia" << -62 << false;
    QTest::newRow("a name of 20 characters") << -1000 << QString(20, u'é') << 10 << true;
    QTest::newRow("a name longer than the start screen takes") << -1000 << QString(21, u'x') << 10 << false;
}

void ServerRolesTest::recordClaims()
{
    QFETCH(int, before);
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(bool, taken);
    Lab lab;
    std::optional<Record> stored;
    if (before != -1000) {
        stored = Record{QStringLiteral("Ana"), before};
        QCOMPARE(PlainServer(lab.owner()).exec(QStringLiteral("UPDATE recorde.db SET nome = 'Ana', pontos = %1").arg(before)),
                 QString());
    }
    PlainServer pupils(lab.as(Pupils));
    QCOMPARE(pupils.exec(QStringLiteral("BEGIN")), QString());
    QCOMPARE(pupils.rows(QStringLiteral("SELECT coalesce(pontos, -1000) FROM recorde.travar()")),
             QStringList{QString::number(before)});
    QCOMPARE(pupils.state(QStringLiteral("SELECT recorde.gravar($1, $2)"), {name, QString::number(points)}),
             taken ? QString() : QStringLiteral("23514"));
    pupils.exec(QStringLiteral("COMMIT"));

    const std::optional<Record> after = storedRecord(lab);
    const std::optional<Record> expected = taken ? Record{name, points} : stored;
    QCOMPARE(after.has_value(), expected.has_value());
    if (expected) {
        QCOMPARE(after->name, expected->name);
        QCOMPARE(after->points, expected->points);
    }
}

void ServerRolesTest::pupilsPlayThroughTheStore()
{
    // A lab machine's game, through the store's own readers, as the pupils' role.
    Lab lab;
    ServerPhotos(lab.as(Administrator)).store(QStringLiteral("azul.jpg"), QByteArray("\xff\xd8 azul"));
    const BankLocation machine = lab.bankAs(Pupils);
    TableQuestionBank bank(openBank(machine));
    bank.open();
    QCOMPARE(bank.count(), 5);
    QCOMPARE(bank.question(2).value_or(Question()).pergunta, QStringLiteral("Pergunta 2"));
    QCOMPARE(ServerPhotos(machine.text()).read(QStringLiteral("azul.jpg")), QByteArray("\xff\xd8 azul"));
    QVERIFY(errorOf([&] { ServerPhotos(machine.text()).store(QStringLiteral("b.jpg"), QByteArray("b")); })
                .startsWith(QStringLiteral("Sem permissão")));

    const std::unique_ptr<RecordStore> record = openBank(machine)->record();
    record->settle([](const RecordStore::Stored &stored) {
        return stored.record ? std::nullopt : std::optional<Record>(Record{QStringLiteral("Bia"), 84});
    });
    QCOMPARE(record->read()->points, 84);
    // A record no whole game scores is refused by the server, whatever the machine decides.
    const QString refused = errorOf([&] {
        record->settle([](const RecordStore::Stored &) { return std::optional<Record>(Record{QStringLiteral("Eu"), 500}); });
    });
    QVERIFY2(refused.startsWith(QStringLiteral("A tabela recusou a alteração")), qPrintable(refused));
    QCOMPARE(storedRecord(lab)->name, QStringLiteral("Bia"));
    QCOMPARE(storedRecord(lab)->points, 84);
}

void ServerRolesTest::logIn_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("the administrator") << "Adm" << "1234" << true;
    QTest::newRow("wrong password") << "Adm" << "4321" << false;
    QTest::newRow("empty password") << "Adm" << "" << false;
    QTest::newRow("login in another case") << "adm" << "1234" << false;
    QTest::newRow("the pupils' role, with its password")
        << QString::fromLatin1(defaultPupilsRole) << QString::fromLatin1(defaultPupilsPassword) << false;
    QTest::newRow("the server's superuser, with its password")
        << qEnvironmentVariable("PGUSER") << qEnvironmentVariable("PGPASSWORD") << false;
    QTest::newRow("a role the server does not have") << "Ninguem" << "1234" << false;
}

void ServerRolesTest::logIn()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    Lab lab;
    // The account as a lab machine has it: the pupils' connection, and nothing else.
    const std::unique_ptr<AdminAccount> account = openBank(lab.bankAs(Pupils))->account();
    const std::shared_ptr<Bank> editor = account->logIn(login, password);
    QCOMPARE(editor != nullptr, accepted);
    if (!accepted)
        return;
    Query who(editor);
    who.add(QStringLiteral("select current_user as quem"));
    who.open();
    QCOMPARE(who.asText(QStringLiteral("quem")), QStringLiteral("Adm"));
}

void ServerRolesTest::editorWritesAsTheAdministrator()
{
    Lab lab;
    const std::unique_ptr<AdminAccount> account = openBank(lab.bankAs(Pupils))->account();
    const std::shared_ptr<Bank> editor = account->logIn(QStringLiteral("Adm"), QStringLiteral("1234"));
    QVERIFY(editor);
    Table questions;
    questions.open(*editor, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    questions.edit();
    questions.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("Qual é a capital?"));
    questions.post();
    QCOMPARE(PlainServer(lab.owner()).rows(QStringLiteral("SELECT pergunta FROM perguntas.db WHERE id = 1")),
             QStringList{QStringLiteral("Qual é a capital?")});

    // The same cursor on the pupils' connection cannot.
    Table machine;
    machine.open(*openBank(lab.bankAs(Pupils)), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    machine.edit();
    machine.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("Outra"));
    QVERIFY(errorOf([&] { machine.post(); }).startsWith(QStringLiteral("Sem permissão")));
}

void ServerRolesTest::passwordChangeKeepsOnlyTheServersHash()
{
    Lab lab;
    const std::unique_ptr<AdminAccount> account = openBank(lab.bankAs(Pupils))->account();
    QCOMPARE(account->changePassword(QStringLiteral("errada"), QStringLiteral("nova")), AdminAccount::Change::WrongPassword);
    QCOMPARE(account->changePassword(QStringLiteral("1234"), QStringLiteral("Nova'7")), AdminAccount::Change::Changed);
    QVERIFY(!account->logIn(QStringLiteral("Adm"), QStringLiteral("1234")));
    QVERIFY(account->logIn(QStringLiteral("Adm"), QStringLiteral("Nova'7")));
    // The password went to the server encrypted: what it keeps, and what its statement log
    // would show, is a SCRAM secret, not the password.
    const QStringList kept =
        PlainServer(lab.owner()).rows(QStringLiteral("SELECT rolpassword FROM pg_catalog.pg_authid WHERE rolname = 'Adm'"));
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept[0].startsWith(QLatin1String("SCRAM-SHA-256$")), qPrintable(kept[0]));
    QVERIFY(!kept[0].contains(QLatin1String("Nova")));
    // A password the login screen could not take is refused, the stored one kept.
    QCOMPARE(errorOf([&] { account->changePassword(QStringLiteral("Nova'7"), QStringLiteral("12345678")); }),
             QStringLiteral("Senha inválida: deve ter de 1 a 7 caracteres do Windows-1252"));
    QVERIFY(account->logIn(QStringLiteral("Adm"), QStringLiteral("Nova'7")));
}

void ServerRolesTest::unreachableServerIsNoRefusal()
{
    // A server that cannot be reached is an error to report, not a wrong password.
    Lab lab;
    const std::unique_ptr<AdminAccount> account = openBank(lab.bankAs(Pupils))->account();
    lab.data.server()->shut();
    QVERIFY(!errorOf([&] { account->logIn(QStringLiteral("Adm"), QStringLiteral("1234")); }).isEmpty());
    QVERIFY(!errorOf([&] { account->changePassword(QStringLiteral("1234"), QStringLiteral("nova")); }).isEmpty());
    lab.data.server()->open();
    QVERIFY(account->logIn(QStringLiteral("Adm"), QStringLiteral("1234")));
}

QTEST_MAIN(ServerRolesTest)
#include "test_server_roles.moc"
