#include "store/server/Conninfo.h"

#include "store/core/AppError.h"

#include <QStringList>

#include <libpq-fe.h>

#include <memory>

namespace {

// A value as a connection string holds it: quoted when it is empty or holds a blank, a quote or
// a backslash, which then take a backslash before them.
QString conninfoValue(const QString &value)
{
    if (!value.isEmpty() && !value.contains(QLatin1Char(' ')) && !value.contains(QLatin1Char('\''))
        && !value.contains(QLatin1Char('\\')))
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

struct OptionsFree {
    void operator()(PQconninfoOption *options) const noexcept { PQconninfoFree(options); }
};
using ConnectionOptions = std::unique_ptr<PQconninfoOption, OptionsFree>;

// The settings `connection` gives, as libpq reads them, URI or key=value, exactly as it will
// when it connects; null, with `reason` said, when it cannot read them.
ConnectionOptions parsedConnection(const QString &connection, QString &reason)
{
    char *error = nullptr;
    ConnectionOptions options(PQconninfoParse(connection.toUtf8().constData(), &error));
    if (!options)
        reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("falta memória");
    PQfreemem(error);
    return options;
}

} // namespace

QString printableConnection(const QString &connection)
{
    // What is shown is what is used, the password left out whichever way it was written.
    QString reason;
    const ConnectionOptions options = parsedConnection(connection, reason);
    if (!options)
        return QStringLiteral("(conexão que não pôde ser lida: %1)").arg(reason);
    QStringList shown;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val || qstrcmp(option->keyword, "password") == 0)
            continue;
        shown.append(QString::fromUtf8(option->keyword) + QLatin1Char('=')
                     + conninfoValue(QString::fromUtf8(option->val)));
    }
    if (shown.isEmpty())
        return QStringLiteral("(padrões do libpq: variáveis PG* e arquivo de serviços)");
    return shown.join(QLatin1Char(' '));
}

QString connectionAs(const QString &connection, const QString &user, const QString &password)
{
    QString reason;
    const ConnectionOptions options = parsedConnection(connection, reason);
    if (!options)
        throw AppError(QStringLiteral("A conexão com o servidor não pôde ser lida: %1").arg(reason));
    QStringList settings;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val || qstrcmp(option->keyword, "user") == 0 || qstrcmp(option->keyword, "password") == 0)
            continue;
        settings.append(QString::fromUtf8(option->keyword) + QLatin1Char('=')
                        + conninfoValue(QString::fromUtf8(option->val)));
    }
    settings.append(QStringLiteral("user=") + conninfoValue(user));
    settings.append(QStringLiteral("password=") + conninfoValue(password));
    return settings.join(QLatin1Char(' '));
}

QString serverDescription(const QString &connection)
{
    return QStringLiteral("servidor PostgreSQL %1").arg(printableConnection(connection));
}
