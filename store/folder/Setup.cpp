#include "store/folder/Setup.h"

#include "store/core/AppError.h"
#include "store/server/ServerSetup.h"
#include "store/folder/Sqlite.h"
#include "store/tables/TableEngine.h"
#include "store/core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sqlite3.h>

namespace {

// A connection to one table file, for the set-up only. The file must exist: creating it is done
// beforehand, exclusively, so that an existing table is never taken over.
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
    void prepare(const char *sql)
    {
        m_statement.reset();
        try {
            m_statement = prepareStatement(m_db.get(), sql);
        } catch (const AppError &) {
            fail(); // with the set-up's own words for a table in use
        }
    }
    void bindText(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        const int rc = text.isEmpty()
            ? sqlite3_bind_null(statement(), index)
            : sqlite3_bind_text64(statement(), index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                  SQLITE_TRANSIENT, SQLITE_UTF8);
        if (rc != SQLITE_OK)
            fail();
    }
    void bindNumber(int index, double value)
    {
        const int rc = std::isnan(value) ? sqlite3_bind_null(statement(), index)
                                         : sqlite3_bind_double(statement(), index, value);
        if (rc != SQLITE_OK)
            fail();
    }
    // Runs the prepared statement once and makes it ready for the next values.
    void run()
    {
        const int rc = sqlite3_step(statement());
        sqlite3_reset(statement());
        if (rc != SQLITE_DONE)
            fail();
    }

    // Runs the prepared statement once; true while it gives a row, read with the column functions.
    bool step()
    {
        const int rc = sqlite3_step(statement());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail();
        return rc == SQLITE_ROW;
    }
    QString columnText(int index) const
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement(), index));
        return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement(), index)) : QString();
    }
    double columnNumber(int index) const { return sqlite3_column_double(statement(), index); }
    bool columnIsNull(int index) const { return sqlite3_column_type(statement(), index) == SQLITE_NULL; }

private:
    sqlite3_stmt *statement() const { return m_statement.get(); }

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
    SqliteStatement m_statement;
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

// The text as the table engine would store it in a field of `size` characters.
QString fieldText(const QString &text, int size) { return fromWin1252(toWin1252(text.left(size))); }

const QStringList &sourceHeader()
{
    static const QStringList header = {
        QStringLiteral("Id"),    QStringLiteral("Pergunta"), QStringLiteral("Resp1"),
        QStringLiteral("Resp2"), QStringLiteral("Resp3"),    QStringLiteral("Resp4"),
        QStringLiteral("Correta"), QStringLiteral("Foto"),
    };
    return header;
}

} // namespace

void createQuestionTable(const BankLocation &where)
{
    if (where.isServer())
        return createServerQuestionTable(where.connection());
    const QString directory = where.folderPath();
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

void createRecordTable(const BankLocation &where)
{
    if (where.isServer())
        createServerRecordTable(where.connection());
}

QString setAdminPassword(const BankLocation &where, const QString &password)
{
    if (where.isServer())
        return setServerAdminPassword(where.connection(), password);
    const QString directory = where.folderPath();
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
        table.bindText(i + 1, fieldText(texts[i], 240));
    table.bindNumber(7, id);
    table.bindText(8, fieldText(row.foto, 255));
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

void insertQuestions(const BankLocation &where, const QList<QuestionRow> &rows)
{
    if (where.isServer()) {
        QList<QuestionRow> stored;
        stored.reserve(rows.size());
        for (QuestionRow row : rows) {
            for (QString *text : {&row.pergunta, &row.resp1, &row.resp2, &row.resp3, &row.resp4, &row.correta})
                *text = fieldText(*text, 240);
            row.foto = fieldText(row.foto, 255);
            stored.append(row);
        }
        return insertServerQuestions(where.connection(), stored);
    }
    const QString directory = where.folderPath();
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

namespace {

// `text` with every line ended by LF alone.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

StoredTexts storedTexts(const QuestionRow &row)
{
    return {fieldText(row.pergunta, 240), fieldText(row.resp1, 240), fieldText(row.resp2, 240),
            fieldText(row.resp3, 240),    fieldText(row.resp4, 240), fieldText(row.correta, 240),
            fieldText(row.foto, 255)};
}

bool sameAsStored(StoredTexts &texts, const StoredTexts &old)
{
    bool same = true;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (withLineFeeds(old[i]) == withLineFeeds(texts[i]))
            texts[i] = old[i];
        same = same && old[i] == texts[i];
    }
    return same;
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

QList<QuestionRow> readQuestionTable(const BankLocation &where)
{
    if (where.isServer())
        return readServerQuestionTable(where.connection());
    TableFile table(existingQuestionTable(where.folderPath()));
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

QList<QuestionRow> readQuestionSource(const QString &tsvPath)
{
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Não foi possível ler %1: %2").arg(tsvPath, file.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        throw AppError(QStringLiteral("%1: o arquivo não está em UTF-8").arg(tsvPath));

    const auto lineError = [&](int line, const QString &message) {
        return AppError(QStringLiteral("%1, linha %2: %3").arg(tsvPath).arg(line).arg(message));
    };

    QList<QuestionRow> rows;
    QHash<int, int> lineOfId;
    bool headerSeen = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const int lineNumber = n + 1;
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != sourceHeader().size())
            throw lineError(lineNumber, QStringLiteral("%1 campos separados por tabulação; são esperados %2")
                                            .arg(fields.size())
                                            .arg(sourceHeader().size()));
        if (!headerSeen) {
            for (int i = 0; i < fields.size(); ++i)
                if (fields[i].trimmed().compare(sourceHeader()[i], Qt::CaseInsensitive) != 0)
                    throw lineError(lineNumber, QStringLiteral("o cabeçalho deve ser %1")
                                                    .arg(sourceHeader().join(QLatin1String(" | "))));
            headerSeen = true;
            continue;
        }

        bool ok = false;
        const int id = fields[0].trimmed().toInt(&ok);
        if (!ok || id < 1)
            throw lineError(lineNumber, QStringLiteral("Id \"%1\" não é um número inteiro a partir de 1").arg(fields[0]));
        if (lineOfId.contains(id))
            throw lineError(lineNumber, QStringLiteral("o Id %1 já foi usado na linha %2").arg(id).arg(lineOfId.value(id)));
        lineOfId.insert(id, lineNumber);

        for (int i = 1; i < fields.size(); ++i) {
            const int size = i == 7 ? 255 : 240;
            if (fields[i].isEmpty())
                throw lineError(lineNumber, QStringLiteral("o campo %1 está vazio").arg(sourceHeader()[i]));
            if (fields[i].size() > size)
                throw lineError(lineNumber, QStringLiteral("o campo %1 passa de %2 caracteres")
                                                .arg(sourceHeader()[i])
                                                .arg(size));
            if (!fitsWin1252(fields[i]))
                throw lineError(lineNumber, QStringLiteral("o campo %1 tem caracteres fora do Windows-1252")
                                                .arg(sourceHeader()[i]));
        }
        QuestionRow row;
        row.id = id;
        row.pergunta = fields[1];
        row.resp1 = fields[2];
        row.resp2 = fields[3];
        row.resp3 = fields[4];
        row.resp4 = fields[5];
        row.correta = fields[6];
        row.foto = fields[7];
        if (row.correta != row.resp1 && row.correta != row.resp2 && row.correta != row.resp3
            && row.correta != row.resp4)
            throw lineError(lineNumber, QStringLiteral("Correta não é igual a nenhuma das quatro respostas"));
        if (row.foto.contains(QLatin1Char('/')) || row.foto.contains(QLatin1Char('\\')) || row.foto == QLatin1String("..")
            || row.foto == QLatin1String("."))
            throw lineError(lineNumber, QStringLiteral("Foto deve ser só o nome de um arquivo da pasta fotos"));
        rows.append(row);
    }
    if (!headerSeen)
        throw AppError(QStringLiteral("%1: falta o cabeçalho %2").arg(tsvPath, sourceHeader().join(QLatin1String(" | "))));

    // The game draws numbers between 1 and the number of questions: every one must exist.
    std::sort(rows.begin(), rows.end(), [](const QuestionRow &a, const QuestionRow &b) { return a.id < b.id; });
    for (int i = 0; i < rows.size(); ++i)
        if (int(rows[i].id) != i + 1)
            throw AppError(QStringLiteral("%1: falta a pergunta de Id %2 (os Ids devem ir de 1 a %3 sem lacunas)")
                               .arg(tsvPath)
                               .arg(i + 1)
                               .arg(rows.size()));
    return rows;
}

namespace {

const QStringList &tableFiles()
{
    static const QStringList names = {QStringLiteral("Perguntas.DB"), QStringLiteral("inicial.db")};
    return names;
}

std::filesystem::path fsPath(const QString &path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// The files of `directory` that the game would take for the table `name`: table names match
// without regard to case.
QStringList existingTableFiles(const QString &directory, const QString &name)
{
    QStringList found;
    const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found.append(QDir(directory).filePath(entry));
    return found;
}

} // namespace

DataDirectoryReport buildDataDirectory(const QString &folder, const QString &source, bool replace)
{
    DataDirectoryReport report;
    report.folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    report.photoFolder = QDir(report.folder).filePath(QStringLiteral("fotos"));
    const QDir sourceDir(source);

    // Everything is checked before anything is written.
    QList<QuestionRow> rows = readQuestionSource(sourceDir.filePath(QStringLiteral("perguntas.tsv")));
    QStringList photos;
    for (QuestionRow &row : rows) {
        const QString original = sourceDir.filePath(QStringLiteral("fotos/") + row.foto);
        if (!QFileInfo(original).isFile())
            throw AppError(QStringLiteral("a foto da pergunta %1 não existe: %2").arg(row.id).arg(original));
        const QString copy = QDir(report.photoFolder).filePath(row.foto);
        if (copy.size() > 255 || !fitsWin1252(copy))
            throw AppError(QStringLiteral("o caminho %1 não cabe no campo Foto (até 255 caracteres do "
                                          "Windows-1252); escolha uma pasta de dados de caminho mais curto")
                               .arg(copy));
        if (!photos.contains(row.foto))
            photos.append(row.foto);
        row.foto = copy;
    }

    QStringList existing;
    for (const QString &table : tableFiles())
        existing += existingTableFiles(report.folder, table);
    if (!existing.isEmpty() && !replace)
        throw AppError(QStringLiteral("a pasta %1 já tem tabelas (%2); nada foi alterado. Use --substituir "
                                      "para trocá-las pelas do banco de exemplo.")
                           .arg(report.folder, existing.join(QStringLiteral(", "))));
    report.replaced = !existing.isEmpty();

    if (!QDir().mkpath(report.photoFolder))
        throw AppError(QStringLiteral("não foi possível criar a pasta %1").arg(report.photoFolder));

    // The new tables are built beside the old ones and moved over them only when complete.
    QTemporaryDir staging(QDir(report.folder).filePath(QStringLiteral(".jornada-dados-XXXXXX")));
    if (!staging.isValid())
        throw AppError(QStringLiteral("não foi possível criar uma pasta temporária em %1: %2")
                           .arg(report.folder, staging.errorString()));
    createQuestionTable(staging.path());
    createAccountTable(staging.path(), QString::fromLatin1(defaultAdminLogin),
                       QString::fromLatin1(defaultAdminPassword));
    insertQuestions(staging.path(), rows);

    for (const QString &photo : std::as_const(photos)) {
        std::error_code error;
        std::filesystem::copy_file(fsPath(sourceDir.filePath(QStringLiteral("fotos/") + photo)),
                                   fsPath(QDir(report.photoFolder).filePath(photo)),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            throw AppError(QStringLiteral("não foi possível copiar a foto %1: %2")
                               .arg(photo, QString::fromLocal8Bit(error.message())));
    }

    for (const QString &table : tableFiles()) {
        const QString target = QDir(report.folder).filePath(table);
        // A journal left beside an old table would be played back into the new one.
        for (const QString &old : existingTableFiles(report.folder, table)) {
            QFile::remove(old + QStringLiteral("-journal"));
            QFile::remove(old + QStringLiteral("-wal"));
            QFile::remove(old + QStringLiteral("-shm"));
            if (old != target)
                QFile::remove(old);
        }
        std::error_code error;
        std::filesystem::rename(fsPath(QDir(staging.path()).filePath(table)), fsPath(target), error);
        if (error)
            throw AppError(QStringLiteral("não foi possível gravar %1: %2")
                               .arg(target, QString::fromLocal8Bit(error.message())));
    }

    report.questions = int(rows.size());
    report.photos = int(photos.size());
    return report;
}
