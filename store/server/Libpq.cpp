#include "store/server/Libpq.h"

#include "store/server/ServerSchema.h"

#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/tables/TableErrors.h"

#include <libpq-fe.h>

#include <cmath>
#include <limits>

void PgConnectionCloser::operator()(pg_conn *connection) const noexcept { PQfinish(connection); }

void PgResultClearer::operator()(pg_result *result) const noexcept { PQclear(result); }

const QString ServerUnreachableText = QStringLiteral("O servidor do banco de perguntas não responde");

namespace {

// How long a statement waits for rows that another connection holds (the teacher saving the
// same question, an import): every wait blocks the window that asked, so it is kept short.
constexpr const char *lockWait = "2s";

// How long connecting waits for a server that does not answer, unless the connection string
// says otherwise: a lab machine whose server is off must say so, not hang.
constexpr const char *connectWait = "10";
// The same for a connection that broke while in use, made again when a window asks the bank for
// something: the window waits for it, so not for as long.
constexpr const char *reconnectWait = "3";

// Type numbers of the server's own types (pg_type.oid), fixed since their beginning.
enum : Oid {
    BoolType = 16,
    ByteaType = 17,
    Int8Type = 20,
    Int2Type = 21,
    Int4Type = 23,
    OidType = 26,
    Float4Type = 700,
    Float8Type = 701,
    NumericType = 1700,
};

// What an error of SQLSTATE `state` means to the user, by its class where the class says enough.
QString errorMeaning(const QByteArray &state)
{
    if (state.isEmpty() || state.startsWith("08") || state.startsWith("57P"))
        return ServerUnreachableText;
    if (state == "55P03" || state == "40P01" || state == "40001")
        return TableInUseText;
    if (state.startsWith("28"))
        return QStringLiteral("O servidor recusou o acesso ao banco de perguntas");
    if (state == "42501")
        return NoPermissionText;
    if (state == "25006")
        return QStringLiteral("A tabela não pode ser alterada: a conexão com o servidor só permite leitura");
    if (state.startsWith("23") || state == "P0001")
        return QStringLiteral("A tabela recusou a alteração");
    if (state == "53100")
        return QStringLiteral("O disco do servidor está cheio");
    if (state == "53200")
        return QStringLiteral("Falta memória no servidor do banco de perguntas");
    if (state.startsWith("XX"))
        return QStringLiteral("O banco de dados do servidor está danificado");
    if (state.startsWith("42") || state.startsWith("22") || state.startsWith("3F"))
        return QStringLiteral("Erro no comando SQL");
    return QStringLiteral("Erro no banco de perguntas");
}

void ignoreNotice(void *, const char *) {}

} // namespace

namespace {

// A text that libpq made, in the caller's hands, freed by libpq.
QString takeLibpqText(char *text)
{
    const QString copy = QString::fromUtf8(text);
    PQfreemem(text);
    return copy;
}

// What libpq said when it could not quote or encrypt a text: no server was asked.
AppError libpqRefusal(const pg_conn *connection)
{
    return AppError(QStringLiteral("Erro no banco de perguntas (%1)")
                        .arg(QString::fromUtf8(PQerrorMessage(connection)).trimmed()));
}

} // namespace

QString escapedIdentifier(pg_conn *connection, const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    char *escaped = PQescapeIdentifier(connection, utf8.constData(), size_t(utf8.size()));
    if (!escaped)
        throw libpqRefusal(connection);
    return takeLibpqText(escaped);
}

QString escapedLiteral(pg_conn *connection, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    char *escaped = PQescapeLiteral(connection, utf8.constData(), size_t(utf8.size()));
    if (!escaped)
        throw libpqRefusal(connection);
    return takeLibpqText(escaped);
}

QString encryptedPassword(pg_conn *connection, const QString &password, const QString &role)
{
    char *encrypted =
        PQencryptPasswordConn(connection, password.toUtf8().constData(), role.toUtf8().constData(), nullptr);
    if (!encrypted)
        throw libpqRefusal(connection);
    return takeLibpqText(encrypted);
}

bool succeeded(const pg_result *result)
{
    const ExecStatusType status = PQresultStatus(result);
    return result && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE);
}

QString serverErrorText(const pg_result *result, const pg_conn *connection)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char *primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    QString reason = QString::fromUtf8(primary ? primary : PQerrorMessage(connection)).trimmed();
    // A connection that broke leaves several lines; the first says what happened.
    reason = reason.section(QLatin1Char('\n'), 0, 0).trimmed();
    return errorMeaning(QByteArray(state)) + QStringLiteral(" (") + reason + QLatin1Char(')');
}

PgConnection attemptConnection(const QString &connection, bool again)
{
    // The connection string comes between our defaults and what the engine needs: it may change
    // the wait, but not the text encoding.
    const QByteArray given = connection.toUtf8();
    const char *keywords[] = {"connect_timeout", "dbname", "client_encoding", "fallback_application_name", nullptr};
    const char *values[] = {again ? reconnectWait : connectWait, given.constData(), "UTF8", "jornada", nullptr};
    PgConnection server(PQconnectdbParams(keywords, values, 1));
    if (!server)
        throw AppError(QStringLiteral("Não foi possível conectar ao %1: falta memória")
                           .arg(serverDescription(connection)));
    return server;
}

QString connectionFailureText(const QString &connection, const pg_conn *attempt)
{
    return QStringLiteral("Não foi possível conectar ao %1: %2")
        .arg(serverDescription(connection), QString::fromUtf8(PQerrorMessage(attempt)).trimmed());
}

PgConnection connectToServer(const QString &connection)
{
    PgConnection server = attemptConnection(connection);
    if (PQstatus(server.get()) != CONNECTION_OK)
        throw AppError(connectionFailureText(connection, server.get()));
    setUpSession(server.get());
    try {
        refuseUnknownServer(server.get(), serverDescription(connection));
    } catch (const AppError &refused) {
        throw AppError(QStringLiteral("Não é possível usar ") + refused.text());
    }
    return server;
}

void setUpSession(pg_conn *connection)
{
    PQsetNoticeProcessor(connection, ignoreNotice, nullptr);
    // No schema is searched: a table or function that a user could create in a schema of their
    // own never stands in for the bank's.
    runOnServer(connection, QStringLiteral("SELECT pg_catalog.set_config('search_path', '', false),"
                                           " pg_catalog.set_config('lock_timeout', $1, false)"),
                {QString::fromLatin1(lockWait)});
}

PgParameters::PgParameters(const QList<QVariant> &given)
{
    data.reserve(given.size());
    for (const QVariant &value : given) {
        int format = 0;
        switch (value.typeId()) {
        case QMetaType::UnknownType:
            data.append(QByteArray());
            break;
        case QMetaType::Double: {
            const double number = value.toDouble();
            data.append(std::isnan(number)   ? QByteArray("NaN")
                            : std::isinf(number) ? QByteArray(number > 0 ? "Infinity" : "-Infinity")
                                                 : QByteArray::number(number, 'g', std::numeric_limits<double>::max_digits10));
            break;
        }
        case QMetaType::Int:
        case QMetaType::LongLong:
            data.append(QByteArray::number(value.toLongLong()));
            break;
        case QMetaType::QByteArray:
            data.append(value.toByteArray());
            format = 1; // bytes as they are, for a bytea parameter
            break;
        default:
            data.append(value.toString().toUtf8());
        }
        formats.append(format);
        lengths.append(int(data.last().size()));
    }
    for (int i = 0; i < given.size(); ++i)
        values.append(given[i].typeId() == QMetaType::UnknownType ? nullptr : data[i].constData());
}

PgResult runOnServer(pg_conn *connection, const QString &sql, const QList<QVariant> &parameters)
{
    const PgParameters bound(parameters);
    PgResult result(PQexecParams(connection, sql.toUtf8().constData(), int(parameters.size()), nullptr,
                                 bound.values.constData(), bound.lengths.constData(), bound.formats.constData(), 0));
    if (!succeeded(result.get()))
        throw AppError(serverErrorText(result.get(), connection));
    return result;
}

void runScriptOnServer(pg_conn *connection, const QString &script)
{
    const PgResult result(PQexec(connection, script.toUtf8().constData()));
    if (!succeeded(result.get()))
        throw AppError(serverErrorText(result.get(), connection));
}

QVariant serverValue(const pg_result *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return QVariant();
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (PQftype(result, column)) {
    case BoolType:
        return QVariant(qlonglong(text[0] == 't' ? 1 : 0));
    case Int2Type:
    case Int4Type:
    case Int8Type:
    case OidType:
        return QVariant(QByteArray(text, length).toLongLong());
    case Float4Type:
    case Float8Type:
    case NumericType: {
        const QByteArray number(text, length);
        if (number == "NaN")
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        if (number == "Infinity" || number == "-Infinity")
            return QVariant(number.startsWith('-') ? -std::numeric_limits<double>::infinity()
                                                   : std::numeric_limits<double>::infinity());
        return QVariant(number.toDouble());
    }
    case ByteaType: {
        size_t size = 0;
        unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
        if (!bytes)
            return QVariant(QByteArray());
        const QByteArray copy(reinterpret_cast<const char *>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return QVariant(copy);
    }
    default:
        return QVariant(QString::fromUtf8(text, length));
    }
}
