#include "store/BankLocation.h"

#include <QDir>
#include <QStringList>

#include <libpq-fe.h>

#include <memory>

BankLocation::BankLocation(const QString &folder) : m_kind(Kind::Folder), m_text(folder) {}

BankLocation BankLocation::folder(const QString &path) { return BankLocation(Kind::Folder, path); }

BankLocation BankLocation::server(const QString &connection) { return BankLocation(Kind::Server, connection); }

QString BankLocation::description() const
{
    if (!isServer())
        return QStringLiteral("pasta %1").arg(QDir::toNativeSeparators(m_text));
    return QStringLiteral("servidor PostgreSQL %1").arg(printableConnection(m_text));
}

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

} // namespace

QString printableConnection(const QString &connection)
{
    // libpq reads the string, URI or key=value, exactly as it will when it connects, so what is
    // shown is what is used, the password left out whichever way it was written.
    char *error = nullptr;
    const std::unique_ptr<PQconninfoOption, OptionsFree> options(
        PQconninfoParse(connection.toUtf8().constData(), &error));
    if (!options) {
        QString reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("falta memória");
        PQfreemem(error);
        return QStringLiteral("(conexão que não pôde ser lida: %1)").arg(reason);
    }
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
