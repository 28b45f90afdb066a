#include "ServerBanks.h"

#include "Banks.h"

#include "store/server/Conninfo.h"
#include "store/core/AppError.h"
#include "store/core/BankLocation.h"
#include "store/server/Libpq.h"
#include "store/server/ServerRoles.h"
#include "store/server/ServerSchema.h"

#include <QFile>
#include <QSettings>

#include <libpq-fe.h>

namespace {

// The comment on the bank's database that marks it as whole: written in the transaction that
// fills it, it names what the bank holds. (The comment of schema perguntas is the layout's, which
// the set-up writes and the game checks.)
QString keptMark(int count)
{
    return QStringLiteral("jornada-bench: %1 perguntas, fotos no banco (NN.jpg), formato 1").arg(count);
}

QString conninfoValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// `connection` (a URI or key=value settings) in key=value form, naming database `database`.
QString connectionToDatabase(const QString &connection, const QString &database)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(connection.toUtf8().constData(), &error);
    if (!options) {
        const QString reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("falta memória");
        PQfreemem(error);
        throw AppError(QStringLiteral("A conexão com o servidor não pôde ser lida: %1").arg(reason));
    }
    QStringList settings;
    for (const PQconninfoOption *option = options; option->keyword; ++option)
        if (option->val && qstrcmp(option->keyword, "dbname") != 0)
            settings << QString::fromUtf8(option->keyword) + QLatin1Char('=')
                    + conninfoValue(QString::fromUtf8(option->val));
    PQconninfoFree(options);
    settings << QStringLiteral("dbname=") + conninfoValue(database);
    return settings.join(QLatin1Char(' '));
}

bool databaseExists(pg_conn *server, const QString &database)
{
    return PQntuples(runOnServer(server, QStringLiteral("SELECT 1 FROM pg_catalog.pg_database WHERE datname = $1"),
                                 {database})
                         .get())
        == 1;
}

// Whether the database of `connection` holds a whole bank of `count` questions of this format,
// in the layout of this version of the game. Asked on a plain connection: the game's own refuses
// a bank of another version, which is to be made again here.
bool holdsWholeBank(const QString &connection, int count)
{
    const PgConnection bank = attemptConnection(connection);
    if (PQstatus(bank.get()) != CONNECTION_OK)
        throw AppError(connectionFailureText(connection, bank.get()));
    const PgResult marks = runOnServer(
        bank.get(), QStringLiteral("SELECT pg_catalog.shobj_description(d.oid, 'pg_database'),"
                                   " (SELECT pg_catalog.obj_description(n.oid, 'pg_namespace')"
                                   "  FROM pg_catalog.pg_namespace n WHERE n.nspname = 'perguntas')"
                                   " FROM pg_catalog.pg_database d WHERE d.datname = pg_catalog.current_database()"));
    return PQntuples(marks.get()) == 1 && QString::fromUtf8(PQgetvalue(marks.get(), 0, 0)) == keptMark(count)
        && QString::fromUtf8(PQgetvalue(marks.get(), 0, 1)) == BankSchemaMark;
}

// The questions of Banks.h, numbered 1 to `count`, made on the server by one statement: the
// opening, the subject and the right answer of each drawn from a hash of its number, so that
// every run makes the same bank. Question n names the photo NN.jpg, NN = n % KeptPhotoNames.
void fillQuestions(pg_conn *server, int count)
{
    const auto array = [server](const QStringList &texts) {
        QStringList literals;
        for (const QString &text : texts)
            literals << escapedLiteral(server, text);
        return QStringLiteral("ARRAY[%1]").arg(literals.join(QStringLiteral(", ")));
    };
    const QStringList openings = questionOpenings(), subjects = questionSubjects();
    const QString answer = QStringLiteral("'Alternativa %1 da pergunta ' || n");
    runOnServer(server,
                QStringLiteral("WITH numeros AS (SELECT n, pg_catalog.hashint4(n)::bigint + 2147483648 AS h"
                               "  FROM pg_catalog.generate_series(1, %1) AS n)"
                               " INSERT INTO perguntas.db (pergunta, resp1, resp2, resp3, resp4, correta, id, foto)"
                               " SELECT (%2)[1 + h % %3] || ' ' || (%4)[1 + h / %3 % %5] || ' (questão ' || n || ')?',"
                               "  %6, %7, %8, %9,"
                               "  'Alternativa ' || pg_catalog.chr(65 + (h / (%3 * %5) % 4)::integer)"
                               "  || ' da pergunta ' || n,"
                               "  n, pg_catalog.lpad((n % %10)::text, 2, '0') || '.jpg'"
                               " FROM numeros")
                    .arg(count)
                    .arg(array(openings))
                    .arg(openings.size())
                    .arg(array(subjects))
                    .arg(subjects.size())
                    .arg(answer.arg(QLatin1Char('A')), answer.arg(QLatin1Char('B')), answer.arg(QLatin1Char('C')),
                         answer.arg(QLatin1Char('D')))
                    .arg(KeptPhotoNames));
}

// The photos the questions name, copies of the sample bank's, stored in the bank.
void storePhotos(pg_conn *server)
{
    const QStringList sources = samplePhotos();
    for (int i = 0; i < KeptPhotoNames; ++i) {
        QFile file(sources.at(i % sources.size()));
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Não foi possível ler %1").arg(file.fileName()));
        runOnServer(server, QStringLiteral("INSERT INTO perguntas.fotos (nome, dados) VALUES ($1, $2)"),
                    {QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')), file.readAll()});
    }
}

} // namespace

std::unique_ptr<KeptServerBank> KeptServerBank::kept(const QString &connection, int count)
{
    std::unique_ptr<KeptServerBank> bank(new KeptServerBank);
    bank->m_questions = count;
    const QString database = QStringLiteral("jornada_bench_%1").arg(count);
    bank->m_owner = connectionToDatabase(connection, database);
    bank->m_administrator = connectionAs(bank->m_owner, QString::fromLatin1(BenchAdministrator),
                                         QString::fromLatin1(BenchAdministratorPassword));
    bank->m_pupils =
        connectionAs(bank->m_owner, QString::fromLatin1(BenchPupils), QString::fromLatin1(BenchPupilsPassword));
    if (!bank->m_setting.isValid())
        throw AppError(QStringLiteral("Não foi possível criar uma pasta temporária"));

    const PgConnection server = connectToServer(connection);
    if (databaseExists(server.get(), database)) {
        if (holdsWholeBank(bank->m_owner, count))
            return bank;
        // Half made, or made by another version of this program: made again from nothing.
        runOnServer(server.get(), QStringLiteral("DROP DATABASE %1 WITH (FORCE)")
                                      .arg(escapedIdentifier(server.get(), database)));
    }
    // The roles are the server's, not the database's: ones left by a bank dropped by hand go too.
    runOnServer(server.get(), QStringLiteral("DROP ROLE IF EXISTS %1, %2")
                                  .arg(escapedIdentifier(server.get(), QString::fromLatin1(BenchAdministrator)),
                                       escapedIdentifier(server.get(), QString::fromLatin1(BenchPupils))));
    // UTF-8 whatever the cluster was made with, as a lab's bank is.
    runOnServer(server.get(), QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'")
                                  .arg(escapedIdentifier(server.get(), database)));

    const PgConnection filling = connectToServer(bank->m_owner);
    pg_conn *const into = filling.get();
    runOnServer(into, QStringLiteral("BEGIN"));
    const ServerRoles roles{QString::fromLatin1(BenchAdministrator), QString::fromLatin1(BenchAdministratorPassword),
                            QString::fromLatin1(BenchPupils), QString::fromLatin1(BenchPupilsPassword)};
    createRoles(into, roles);
    makeQuestionSchema(into);
    makeRecordSchema(into);
    makeAccountSchema(into, roles.administrator);
    grantRoles(into, roles);
    storePhotos(into);
    fillQuestions(into, count);
    runOnServer(into, QStringLiteral("COMMENT ON DATABASE %1 IS %2")
                          .arg(escapedIdentifier(into, database), escapedLiteral(into, keptMark(count))));
    runOnServer(into, QStringLiteral("COMMIT"));
    // What the server's own upkeep does to a table in use, done now: the planner's statistics and
    // the map of rows every transaction sees.
    runOnServer(into, QStringLiteral("VACUUM (ANALYZE) perguntas.db"));
    bank->m_madeNow = true;
    return bank;
}

void KeptServerBank::use() const
{
    // QSettings finds the user's setting folder once per process; it is told this one instead.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_setting.path());
    QSettings setting(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("jornada"),
                      QStringLiteral("jornada"));
    setting.setValue(QStringLiteral("banco/servidor"), m_pupils);
    setting.sync();
    if (setting.status() != QSettings::NoError)
        throw AppError(QStringLiteral("Não foi possível gravar a configuração em %1").arg(setting.fileName()));
}

void KeptServerBank::clearRecord() const
{
    const PgConnection server = connectToServer(m_owner);
    runOnServer(server.get(), QStringLiteral("UPDATE recorde.db SET nome = NULL, pontos = NULL"));
}
