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
    void prepare(const QString &sql)
    {
        m_statement.reset();
        guarded([&] { m_statement.emplace(m_db.get(), sql); });
    }
    void prepare(const char *sql) { prepare(QString::fromUtf8(sql)); }
    // An empty text and a number that is no number (NaN) are stored as blanks.
    void bindText(int index, const QString &text)
    {
        guarded([&] { m_statement->bind(index, text.isEmpty() ? QVariant() : QVariant(text)); });
    }
    void bindNumber(int index, double value)
    {
        guarded([&] { m_statement->bind(index, std::isnan(value) ? QVariant() : QVariant(value)); });
    }
    // Binds parameter n to the column at place n of the stored order (see questionColumnsSql()).
    void bindQuestion(const Question &question)
    {
        for (QuestionColumn column : QuestionColumns)
            guarded([&] { m_statement->bind(int(column) + 1, question.value(column)); });
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
    QVariant columnValue(int index) const { return m_statement->value(index); }

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
    QStringList columns;
    for (const FieldDef &field : questionFields())
        columns << field.name + (field.type == FieldType::String ? QLatin1String(" TEXT") : QLatin1String(" REAL"));
    const QByteArray tableAndKey = QStringLiteral("BEGIN;"
                                                  "CREATE TABLE db(%1);"
                                                  "CREATE UNIQUE INDEX IdNumero ON db(Id);")
                                       .arg(columns.join(QLatin1String(", ")))
                                       .toUtf8();
    createTableFile(directory, QStringLiteral("Perguntas.DB"), [&](TableFile &table) {
        table.exec(tableAndKey.constData());
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

// The statements on the question table, their columns in stored order: parameter n binds the
// column at place n (TableFile::bindQuestion()).
QString columnList(bool withId) { return questionColumnsSql(QStringLiteral("%1"), withId); }

const QString &insertQuestionSql()
{
    static const QString sql = QStringLiteral("INSERT INTO db(%1) VALUES (%2)")
                                   .arg(columnList(true), questionColumnsSql(QStringLiteral("?%2")));
    return sql;
}

const QString &updateQuestionSql()
{
    static const QString sql = QStringLiteral("UPDATE db SET %1 WHERE Id = ?%2")
                                   .arg(questionColumnsSql(QStringLiteral("%1 = ?%2"), false),
                                        QString::number(int(QuestionColumn::Id) + 1));
    return sql;
}

// Runs the insert, prepared on `table`, for `row` numbered `id`, its texts cut to their fields.
void insertRow(TableFile &table, Question row, double id)
{
    row.id = id;
    table.bindQuestion(storedQuestion(row));
    table.run();
}

// Inserts the rows that `produce` hands to the function it is given, numbered by `idOf`.
template <typename Produce, typename IdOf>
void insertRows(TableFile &table, Produce produce, IdOf idOf)
{
    table.prepare(insertQuestionSql());
    produce([&](const Question &row) { insertRow(table, row, idOf(row)); });
}

// The rows of a list, for insertRows.
auto eachOf(const QList<Question> &rows)
{
    return [&rows](const QuestionSink &add) {
        for (const Question &row : rows)
            add(row);
    };
}

} // namespace

void insertQuestions(const QString &directory, const QList<Question> &rows)
{
    inTableFile(directory, QStringLiteral("Perguntas.DB"), "BEGIN", [&](TableFile &table) {
        insertRows(table, eachOf(rows), [](const Question &row) { return row.id; });
        return true;
    });
}

double appendQuestions(const QString &directory, const QList<Question> &rows)
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
        insertRows(table, produce, [&id](const Question &) { return id++; });
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
        produce([&](const Question &row) -> StoredRow {
            Question stored = storedQuestion(row);
            if (!std::isnan(row.id)) {
                table.prepare(QStringLiteral("SELECT %1 FROM db WHERE Id = ?1").arg(columnList(false)));
                table.bindNumber(1, row.id);
                if (table.step()) {
                    Question old;
                    for (size_t i = 0; i < QuestionTexts.size(); ++i)
                        old.setValue(QuestionTexts[i], table.columnValue(int(i)));
                    if (sameAsStored(stored, old))
                        return {row.id, StoredAs::Unchanged};
                    table.prepare(updateQuestionSql());
                    table.bindQuestion(stored);
                    table.run();
                    return {row.id, StoredAs::Replaced};
                }
            }
            table.prepare(insertQuestionSql());
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

QList<Question> readQuestionTable(const QString &directory)
{
    TableFile table(existingQuestionTable(directory));
    table.prepare(QStringLiteral("SELECT %1 FROM db ORDER BY Id").arg(columnList(true)));
    QList<Question> rows;
    while (table.step()) {
        Question row;
        for (QuestionColumn column : QuestionColumns)
            row.setValue(column, table.columnValue(int(column)));
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
