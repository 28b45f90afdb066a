#include "store/folder/FolderSetup.h"

#include "store/bank/AdminAccount.h"
#include "store/core/AppError.h"
#include "store/folder/CaseFoldedKey.h"
#include "store/folder/Sqlite.h"
#include "store/folder/Statement.h"
#include "store/tables/Fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <cmath>
#include <optional>
#include <sqlite3.h>

namespace {

// A connection to one table file, for the set-up only, with the engine's statements on it. The
// file must exist: creating it is done beforehand, exclusively, so that an existing table is never
// taken over. Every failure names the file, and a table in use says so in the set-up's words.
class TableFile {
public:
    explicit TableFile(const QString &path)
        : m_path(path), m_db(openConnection(QFile::encodeName(path), SQLITE_OPEN_READWRITE, path))
    {
        sqlite3_busy_timeout(m_db.get(), 5000);
    }

    void exec(const char *sql)
    {
        if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
    }
    // Prepares `sql` in place of the statement prepared before.
    void prepare(const char *sql)
    {
        m_statement.reset();
        guarded([&] { m_statement.emplace(m_db.get(), QString::fromUtf8(sql)); });
    }
    // An empty text and a number that is no number (NaN) are stored as blanks.
    void bindText(int index, const QString &text)
    {
        guarded([&] { m_statement->bind(index, text.isEmpty() ? QVariant() : QVariant(text)); });
    }
    void bindNumber(int index, double value)
    {
        guarded([&] { m_statement->bind(index, std::isnan(value) ? QVariant() : QVariant(value)); });
    }
    // Runs the prepared statement once and makes it ready for the next values.
    void run()
    {
        guarded([&] {
            m_statement->step();
            m_statement->reset();
        });
    }
    // Runs the prepared statement once; true while it gives a row, read with the column functions.
    bool step()
    {
        bool row = false;
        guarded([&] { row = m_statement->step(); });
        return row;
    }
    QString columnText(int index) const { return m_statement->value(index).toString(); }
    double columnNumber(int index) const { return m_statement->value(index).toDouble(); }
    bool columnIsNull(int index) const { return !m_statement->value(index).isValid(); }

private:
    template <typename Work>
    void guarded(Work work)
    {
        try {
            work();
        } catch (const AppError &) {
            fail();
        }
    }

    [[noreturn]] void fail()
    {
        if (sqliteBusy(m_db.get()))
            throw AppError(QStringLiteral("%1: a tabela está em uso por outro programa (o jogo, o editor ou o "
                                          "sqlite3?); feche-o e tente de novo")
                               .arg(m_path));
        throw AppError(QStringLiteral("%1: %2").arg(m_path, sqliteErrorText(m_db.get())));
    }

    QString m_path;
    // Declared before the statement, so that it is closed after it.
    SqliteConnection m_db;
    std::optional<Statement> m_statement;
};

// Creates the empty file `name` in `directory`, refusing one that exists, then lets `fill` build
// the table in it; a failure removes the new file again.
template <typename Fill>
void createTableFile(const QString &directory, const QString &name, Fill fill)
{
    const QString path = QDir(directory).filePath(name);
    QFile file(path);
    if (file.exists())
        throw AppError(QStringLiteral("A tabela já existe: %1").arg(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw AppError(QStringLiteral("Não foi possível criar %1: %2").arg(path, file.errorString()));
    file.close();
    try {
        TableFile table(path);
        fill(table);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

} // namespace

void createQuestionTable(const QString &directory)
{
    // The editor's search runs on IdPergunta, in the table engine's case-ignoring key of the text.
    const QByteArray textIndex =
        (QStringLiteral("CREATE INDEX IdPergunta ON db(") + caseFoldedKey(QStringLiteral("\"Pergunta\""))
         + QStringLiteral(");"))
            .toUtf8();
    createTableFile(directory, QStringLiteral("Perguntas.DB"), [&](TableFile &table) {
        table.exec("BEGIN;"
                   "CREATE TABLE db(Pergunta TEXT, Resp1 TEXT, Resp2 TEXT, Resp3 TEXT, Resp4 TEXT,"
                   " Correta TEXT, Id REAL, Foto TEXT);"
                   "CREATE UNIQUE INDEX IdNumero ON db(Id);");
        table.exec(textIndex.constData());
        table.exec("COMMIT;");
    });
}

namespace {

// Opens the table file `name` of `directory`, starts a transaction with `begin` and runs `work`
// on it; a failure rolls everything back.
template <typename Work>
auto inTableFile(const QString &directory, const QString &name, const char *begin, Work work)
{
    const QString path = QDir(directory).filePath(name);
    if (!QFile::exists(path))
        throw AppError(QStringLiteral("A tabela não existe: %1").arg(path));
    TableFile table(path);
    table.exec(begin);
    try {
        const auto result = work(table);
        table.exec("COMMIT");
        return result;
    } catch (...) {
        // The error that stopped the work is the one to report. A rollback that fails as well
        // loses nothing: closing the connection, as `table` goes, undoes the transaction.
        try {
            table.exec("ROLLBACK");
        } catch (const AppError &rollback) {
            qWarning().noquote() << QStringLiteral("As alterações em %1 não puderam ser desfeitas com ROLLBACK "
                                                   "(%2); elas serão desfeitas quando a tabela for fechada.")
                                        .arg(path, rollback.text());
        }
        throw;
    }
}

} // namespace

void createAccountTable(const QString &directory, const QString &login, const QString &password)
{
    const QList<FieldDef> &fields = accountFields();
    checkAccountText(login, fields[0]);
    checkAccountText(password, fields[1]);
    createTableFile(directory, QStringLiteral("inicial.db"), [&](TableFile &table) {
        table.exec("BEGIN; CREATE TABLE db(Login TEXT, Senha TEXT);");
        table.prepare("INSERT INTO db(Login, Senha) VALUES (?1, ?2)");
        table.bindText(1, login);
        table.bindText(2, password);
        table.run();
        table.exec("COMMIT;");
    });
}

QString setAdminPassword(const QString &directory, const QString &password)
{
    checkAccountText(password, accountFields()[1]);
    if (!QFileInfo(directory).isDir())
        throw AppError(QStringLiteral("A pasta de dados não existe: %1").arg(directory));
    const QString login = QString::fromLatin1(defaultAdminLogin);
    if (!QFile::exists(QDir(directory).filePath(QStringLiteral("inicial.db")))) {
        createAccountTable(directory, login, password);
        return login;
    }
    return inTableFile(directory, QStringLiteral("inicial.db"), "BEGIN IMMEDIATE", [&](TableFile &table) {
        table.prepare("SELECT Login FROM db ORDER BY rowid LIMIT 1");
        const bool hasAccount = table.step();
        const QString current = hasAccount ? table.columnText(0) : login;
        // Every row gets the password: the login screen reads whichever row comes first.
        table.prepare(hasAccount ? "UPDATE db SET Senha = ?1" : "INSERT INTO db(Senha, Login) VALUES (?1, ?2)");
        table.bindText(1, password);
        if (!hasAccount)
            table.bindText(2, login);
        table.run();
        return current;
    });
}

namespace {

constexpr const char *InsertQuestion = "INSERT INTO db(Pergunta, Resp1, Resp2, Resp3, Resp4, Correta, Id, Foto)"
                                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";

// Runs InsertQuestion, prepared on `table`, for `row` numbered `id`.
void insertRow(TableFile &table, const QuestionRow &row, double id)
{
    const QString texts[] = {row.pergunta, row.resp1, row.resp2, row.resp3, row.resp4, row.correta};
    for (int i = 0; i < 6; ++i)
        table.bindText(i + 1, storedFieldText(texts[i], 240));
    table.bindNumber(7, id);
    table.bindText(8, storedFieldText(row.foto, 255));
    table.run();
}

// Inserts the rows that `produce` hands to the function it is given, numbered by `idOf`.
template <typename Produce, typename IdOf>
void insertRows(TableFile &table, Produce produce, IdOf idOf)
{
    table.prepare(InsertQuestion);
    produce([&](const QuestionRow &row) { insertRow(table, row, idOf(row)); });
}

// The rows of a list, for insertRows.
auto eachOf(const QList<QuestionRow> &rows)
{
    return [&rows](const QuestionSink &add) {
        for (const QuestionRow &row : rows)
            add(row);
    };
}

} // namespace

void insertQuestions(const QString &directory, const QList<QuestionRow> &rows)
{
    inTableFile(directory, QStringLiteral("Perguntas.DB"), "BEGIN", [&](TableFile &table) {
        insertRows(table, eachOf(rows), [](const QuestionRow &row) { return row.id; });
        return true;
    });
}

double appendQuestions(const QString &directory, const QList<QuestionRow> &rows)
{
    return appendQuestions(directory, eachOf(rows));
}

double appendQuestions(const QString &directory, const std::function<void(const QuestionSink &)> &produce)
{
    // The write lock is taken before the largest number is read, so no other writer can take
    // the same numbers.
    return inTableFile(directory, QStringLiteral("Perguntas.DB"), "BEGIN IMMEDIATE", [&](TableFile &table) {
        table.prepare("SELECT max(Id) FROM db");
        table.step();
        const double first = table.columnIsNull(0) ? 1 : std::floor(table.columnNumber(0)) + 1;
        double id = first;
        insertRows(table, produce, [&id](const QuestionRow &) { return id++; });
        return first;
    });
}

void storeQuestions(const QString &directory, const std::function<void(const QuestionWriter &)> &produce)
{
    inTableFile(directory, QStringLiteral("Perguntas.DB"), "BEGIN IMMEDIATE", [&](TableFile &table) {
        table.prepare("SELECT max(Id) FROM db");
        table.step();
        double next = table.columnIsNull(0) ? 1 : std::floor(table.columnNumber(0)) + 1;
        // Three statements in turn on one connection: the current one is prepared again for each
        // row. A bank import is a few thousand rows; the cost is the disk's, not this.
        produce([&](const QuestionRow &row) -> StoredRow {
            StoredTexts stored = storedTexts(row);
            if (!std::isnan(row.id)) {
                table.prepare("SELECT Pergunta, Resp1, Resp2, Resp3, Resp4, Correta, Foto FROM db WHERE Id = ?1");
                table.bindNumber(1, row.id);
                if (table.step()) {
                    StoredTexts old;
                    for (int i = 0; i < 7; ++i)
                        old[size_t(i)] = table.columnText(i);
                    if (sameAsStored(stored, old))
                        return {row.id, StoredAs::Unchanged};
                    table.prepare("UPDATE db SET Pergunta = ?1, Resp1 = ?2, Resp2 = ?3, Resp3 = ?4, Resp4 = ?5,"
                                  " Correta = ?6, Foto = ?8 WHERE Id = ?7");
                    for (int i = 0; i < 6; ++i)
                        table.bindText(i + 1, stored[size_t(i)]);
                    table.bindNumber(7, row.id);
                    table.bindText(8, stored[6]);
                    table.run();
                    return {row.id, StoredAs::Replaced};
                }
            }
            table.prepare(InsertQuestion);
            insertRow(table, row, next);
            return {next++, StoredAs::Added};
        });
        return true;
    });
}

QString questionBankTable(const QString &folder)
{
    const QString table = QDir(folder).filePath(QStringLiteral("Perguntas.DB"));
    if (!QFileInfo(table).isFile())
        throw AppError(QStringLiteral("a pasta %1 não tem o banco de perguntas (Perguntas.DB); crie a pasta de "
                                      "dados antes, com: jornada-dados \"%1\"")
                           .arg(folder));
    return table;
}

// The path of Perguntas.DB in `directory`, which must exist.
QString existingQuestionTable(const QString &directory)
{
    const QString path = QDir(directory).filePath(QStringLiteral("Perguntas.DB"));
    if (!QFile::exists(path))
        throw AppError(QStringLiteral("A tabela não existe: %1").arg(path));
    return path;
}

QList<QuestionRow> readQuestionTable(const QString &directory)
{
    TableFile table(existingQuestionTable(directory));
    table.prepare("SELECT Pergunta, Resp1, Resp2, Resp3, Resp4, Correta, Id, Foto FROM db ORDER BY Id");
    QList<QuestionRow> rows;
    while (table.step()) {
        QuestionRow row;
        row.pergunta = table.columnText(0);
        row.resp1 = table.columnText(1);
        row.resp2 = table.columnText(2);
        row.resp3 = table.columnText(3);
        row.resp4 = table.columnText(4);
        row.correta = table.columnText(5);
        row.id = table.columnIsNull(6) ? std::nan("") : table.columnNumber(6);
        row.foto = table.columnText(7);
        rows.append(row);
    }
    return rows;
}

QSet<QString> questionPhotos(const QString &directory)
{
    TableFile table(existingQuestionTable(directory));
    table.prepare("SELECT DISTINCT Foto FROM db");
    QSet<QString> photos;
    while (table.step())
        photos.insert(table.columnText(0));
    return photos;
}
