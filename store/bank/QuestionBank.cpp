#include "store/bank/QuestionBank.h"

#include "store/tables/Engine.h"
#include "store/tables/Query.h"
#include "store/tables/Table.h"

struct TableQuestionBank::Private {
    explicit Private(const std::shared_ptr<const EngineSource> &bank)
        : bank(bank), counting(bank), question(bank), seeking(bank), photo(bank)
    {
    }
    std::shared_ptr<const EngineSource> bank;
    std::shared_ptr<Engine> engine; // reached at the first count, as the statements reach it
    Table table; // held open while the bank is in use
    Query counting; // the count
    Query question; // one question by its number
    Query seeking;  // numbers: the range, one number, a position
    Query photo;    // the photo of a question

    // The last count and the mark of the table's changes it was made at (Engine::changeMark).
    QVariantList version;
    qint32 count = 0;
    bool known = false;
};

TableQuestionBank::TableQuestionBank(std::shared_ptr<const EngineSource> bank)
    : d(std::make_unique<Private>(bank))
{
}

TableQuestionBank::~TableQuestionBank() = default;

void TableQuestionBank::open()
{
    d->table.setObjectName(QStringLiteral("TbPerguntas"));
    d->table.open(*d->bank, QStringLiteral("Perguntas.DB"), questionFields());
}

void TableQuestionBank::forgetCount()
{
    d->known = false;
}

qint32 TableQuestionBank::count()
{
    if (!d->engine)
        d->engine = d->bank->engine();
    const std::optional<QVariantList> version = d->engine->changeMark(QStringLiteral("Perguntas.DB"));
    if (d->known && version && d->version == *version)
        return d->count;
    d->known = false;
    d->count = d->counting.run({QStringLiteral("select count(p.id) as totalsql"), QStringLiteral("from perguntas.db p")})
                   .asInteger(QStringLiteral("totalsql"));
    d->version = version.value_or(QVariantList());
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

std::optional<Question> TableQuestionBank::question(qint32 number)
{
    Query &q = d->question.run({QStringLiteral("select ") + questionColumnsSql(QStringLiteral("%1")).toLower(),
                                QStringLiteral("from perguntas.db"), QStringLiteral("where id = :NUMID")},
                               {{QStringLiteral("NUMID"), number}});
    if (q.isEmpty())
        return std::nullopt;
    Question stored;
    for (QuestionColumn column : QuestionColumns)
        stored.setValue(column, q.value(questionField(column).name));
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
