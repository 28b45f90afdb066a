#include "store/QuestionBank.h"

#include "store/TableEngine.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// What tells whether the question table may have changed since it was last counted: the changes
// made through this program's connection, the version SQLite gives the file for changes made
// through any other (another program, the sqlite3 shell), and the file itself as the system sees
// it (for a connection opened anew on a file changed meanwhile). Any change to the table moves at
// least one of them.
struct TableVersion {
    qint64 changes = -1;
    qint64 dataVersion = -1;
    QString file;
    qint64 size = -1;
    qint64 modifiedNs = -1;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const TableVersion &) const = default;
};

TableVersion versionOf(Query &q)
{
    TableVersion version;
    // Reads the file's header, so a file that another program holds is refused here as the
    // count itself would be. (The table-valued pragma_data_version would read the version of
    // the main database whatever schema it is given.)
    version.dataVersion = q.run({QStringLiteral("pragma perguntas.data_version")})
                              .value(QStringLiteral("data_version"))
                              .toLongLong();
    q.run({QStringLiteral("select total_changes() as mudancas,"),
           QStringLiteral("(select file from pragma_database_list where name = 'perguntas') as arquivo")});
    version.changes = q.value(QStringLiteral("mudancas")).toLongLong();
    version.file = q.value(QStringLiteral("arquivo")).toString();
    struct stat info {};
    if (!version.file.isEmpty() && ::stat(QFile::encodeName(version.file).constData(), &info) == 0) {
        version.size = info.st_size;
        version.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        version.inode = info.st_ino;
        version.device = info.st_dev;
    }
    return version;
}

} // namespace

struct TableQuestionBank::Private {
    explicit Private(const QString &directory)
        : directory(directory), counting(directory), question(directory), seeking(directory), photo(directory)
    {
    }
    QString directory;
    Table table; // held open while the bank is in use
    Query counting; // the count and what tells whether it still holds
    Query question; // one question by its number
    Query seeking;  // numbers: the range, one number, a position
    Query photo;    // the photo of a question

    // The last count and the version of the table it was made on.
    TableVersion version;
    qint32 count = 0;
    bool known = false;
};

TableQuestionBank::TableQuestionBank(const QString &directory) : d(std::make_unique<Private>(directory)) {}

TableQuestionBank::~TableQuestionBank() = default;

void TableQuestionBank::open()
{
    d->table.setObjectName(QStringLiteral("TbPerguntas"));
    d->table.open(d->directory, QStringLiteral("Perguntas.DB"), questionFields());
}

void TableQuestionBank::forgetCount()
{
    d->known = false;
}

qint32 TableQuestionBank::count()
{
    const TableVersion version = versionOf(d->counting);
    if (d->known && !version.file.isEmpty() && d->version == version)
        return d->count;
    d->known = false;
    d->count = d->counting.run({QStringLiteral("select count(p.id) as totalsql"), QStringLiteral("from perguntas.db p")})
                   .asInteger(QStringLiteral("totalsql"));
    d->version = version;
    d->known = true;
    return d->count;
}

qint32 TableQuestionBank::countDistinct()
{
    return d->counting
        .run({QStringLiteral("select count(distinct p.id) as totalsql"), QStringLiteral("from perguntas.db p")})
        .asInteger(QStringLiteral("totalsql"));
}

std::optional<std::pair<double, double>> TableQuestionBank::numberRange()
{
    // min() and max() alone in a statement are each one step of the index on Id.
    Query &q = d->seeking.run({QStringLiteral("select (select min(id) from perguntas.db) as menor,"),
                               QStringLiteral("(select max(id) from perguntas.db) as maior")});
    const QVariant low = q.value(QStringLiteral("menor"));
    const QVariant high = q.value(QStringLiteral("maior"));
    if (low.isNull() || high.isNull())
        return std::nullopt;
    return std::pair{low.toDouble(), high.toDouble()};
}

bool TableQuestionBank::hasNumber(qint32 number)
{
    return !d->seeking
                .run({QStringLiteral("select id"), QStringLiteral("from perguntas.db"),
                      QStringLiteral("where id = :NUMERO")},
                     {{QStringLiteral("NUMERO"), number}})
                .isEmpty();
}

qint32 TableQuestionBank::numberAt(qint32 position)
{
    // Numbers freed by deletions leave gaps, so a question is found by its place in number order.
    // The index is walked up to the place: this costs in proportion to `position`.
    Query &q = d->seeking.run({QStringLiteral("select id"), QStringLiteral("from perguntas.db"),
                               QStringLiteral("where id is not null"), QStringLiteral("order by id"),
                               QStringLiteral("limit 1 offset :POSICAO")},
                              {{QStringLiteral("POSICAO"), position}});
    return q.isEmpty() ? 0 : q.asInteger(QStringLiteral("id"));
}

StoredQuestion TableQuestionBank::question(qint32 number)
{
    Query &q = d->question.run({QStringLiteral("select id,pergunta,resp1,resp2,resp3,resp4,correta,foto"),
                                QStringLiteral("from perguntas.db"), QStringLiteral("where id = :NUMID")},
                               {{QStringLiteral("NUMID"), number}});
    const auto text = [&q](const char *column) { return q.value(QLatin1String(column)).toString(); };
    StoredQuestion stored;
    stored.found = !q.isEmpty();
    stored.pergunta = text("Pergunta");
    stored.answers = {text("resp1"), text("resp2"), text("resp3"), text("resp4")};
    stored.correta = text("correta");
    stored.foto = text("foto");
    return stored;
}

QString TableQuestionBank::photoOf(qint32 number)
{
    Query &q = d->photo.run({QStringLiteral("select foto"), QStringLiteral("from perguntas.db"),
                             QStringLiteral("where id = :NUMID")},
                            {{QStringLiteral("NUMID"), number}});
    return q.isEmpty() ? QString() : q.value(QStringLiteral("foto")).toString();
}

qint32 nextQuestionNumber(Query &query)
{
    query.run({QStringLiteral("select max(id) as ultimo"), QStringLiteral("from perguntas.db")});
    // An empty bank has no largest number: its first question is number 1.
    return query.value(QStringLiteral("ultimo")).isNull() ? 1 : query.asInteger(QStringLiteral("ultimo")) + 1;
}
