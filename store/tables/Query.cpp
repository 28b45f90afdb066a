#include "store/tables/Query.h"

#include "store/core/AppError.h"
#include "store/tables/Engine.h"
#include "store/tables/TableErrors.h"
#include "store/tables/Values.h"

#include <QHash>
#include <QPair>
#include <QSet>

#include <cmath>
#include <limits>

struct Query::Private {
    explicit Private(std::shared_ptr<const EngineSource> bank) : bank(std::move(bank)) {}
    std::shared_ptr<const EngineSource> bank;
    std::shared_ptr<Engine> engine;
    QStringList lines;
    QList<QPair<QString, qint32>> parameters;
    bool open = false;
    bool empty = true;
    bool changedData = false; // the last execSql ran a statement that changes data
    QHash<QString, QVariant> row;

    // A use of the statement as it stands, prepared once: the engine keeps it for the next use
    // of the same text.
    std::unique_ptr<EngineStatement> statement()
    {
        if (!engine)
            engine = bank->engine();
        return engine->statement(sql());
    }
    QString sql() const { return lines.join(QLatin1Char('\n')); }

    // Binds every parameter by name. Every name must be in the text, and every parameter of the
    // text must have a value.
    void bindParameters(EngineStatement &statement) const
    {
        QSet<int> bound;
        for (const auto &[name, value] : std::as_const(parameters)) {
            bool found = false;
            for (int i = 1; i <= statement.parameterCount(); ++i) {
                const QString marker = statement.parameterName(i);
                if (!marker.isEmpty() && marker.compare(name, Qt::CaseInsensitive) == 0) {
                    statement.bind(i, qlonglong(value));
                    bound.insert(i);
                    found = true;
                }
            }
            if (!found)
                throw AppError(QStringLiteral("O parâmetro '%1' não foi encontrado").arg(name));
        }
        for (int i = 1; i <= statement.parameterCount(); ++i) {
            if (!bound.contains(i)) {
                const QString name = statement.parameterName(i);
                throw AppError(QStringLiteral("Falta o valor do parâmetro '%1'")
                                   .arg(name.isEmpty() ? QString::number(i) : name));
            }
        }
    }

    const QVariant &column(const QString &name) const
    {
        if (!open)
            throw AppError(tableText::closed());
        const auto it = row.constFind(name.toLower());
        if (it == row.cend())
            throw AppError(tableText::fieldNotFound(name));
        return it.value();
    }
};

Query::Query(std::shared_ptr<const EngineSource> bank) : d(std::make_unique<Private>(std::move(bank))) {}

Query::~Query() = default;

Query &Query::run(const QStringList &lines, const QList<std::pair<QString, qint32>> &parameters)
{
    clear();
    for (const QString &line : lines)
        add(line);
    for (const auto &[name, value] : parameters)
        setParameter(name, value);
    execSql();
    // A statement that changes data has run: opening it would run it a second time.
    if (!d->changedData)
        open();
    return *this;
}

void Query::close()
{
    d->open = false;
    d->empty = true;
    d->row.clear();
}

void Query::clear()
{
    close();
    d->lines.clear();
    d->parameters.clear();
}

void Query::add(const QString &line)
{
    close();
    d->lines.append(line);
}

QStringList Query::text() const { return d->lines; }

void Query::setParameter(const QString &name, qint32 value)
{
    for (auto &parameter : d->parameters) {
        if (parameter.first.compare(name, Qt::CaseInsensitive) == 0) {
            parameter.second = value;
            return;
        }
    }
    d->parameters.append({name, value});
}

void Query::execSql()
{
    close();
    const std::unique_ptr<EngineStatement> statement = d->statement();
    d->bindParameters(*statement);
    // A statement that only reads has no effect to run for; its rows would be thrown away and
    // open() reads them afresh. Preparing it already reports a faulty text or a missing table,
    // and leaves it prepared for open().
    d->changedData = !statement->isReadOnly();
    if (!d->changedData)
        return;
    while (statement->step()) {
    }
}

void Query::open()
{
    close();
    const std::unique_ptr<EngineStatement> statement = d->statement();
    d->bindParameters(*statement);
    const bool hasRow = statement->step();
    // The first row is copied and the statement reset when it goes, so no read stays open.
    for (int i = 0; i < statement->columnCount(); ++i) {
        const QString name = statement->columnName(i).toLower();
        if (d->row.contains(name))
            continue;
        d->row.insert(name, hasRow ? statement->value(i) : QVariant());
    }
    d->open = true;
    d->empty = !hasRow;
}

bool Query::isOpen() const { return d->open; }

bool Query::isEmpty() const { return d->empty; }

QVariant Query::value(const QString &column) const { return d->column(column); }

qint32 Query::asInteger(const QString &column) const
{
    const QVariant &value = d->column(column);
    qint64 whole = 0;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        throw conversionError(value, QStringLiteral("Integer"));
    case QMetaType::LongLong:
        whole = value.toLongLong();
        break;
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::fabs(number) > 4e9)
            throw conversionError(value, QStringLiteral("Integer"));
        whole = qRound64(number);
        break;
    }
    default: {
        bool ok = false;
        whole = variantText(value).trimmed().toLongLong(&ok);
        if (!ok)
            throw AppError(QStringLiteral("'%1' não é um número inteiro válido").arg(variantText(value)));
    }
    }
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        throw conversionError(value, QStringLiteral("Integer"));
    return qint32(whole);
}

QString Query::asText(const QString &column) const
{
    const QVariant &value = d->column(column);
    if (value.isNull())
        throw conversionError(value, QStringLiteral("String"));
    return variantText(value);
}
