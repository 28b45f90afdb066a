#include "store/server/ServerPhotos.h"

#include "store/core/AppError.h"
#include "store/bank/BankPhotos.h"
#include "store/server/Libpq.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerEngine.h"

#include <libpq-fe.h>

ServerPhotos::ServerPhotos(const QString &connection) : m_connection(connection) {}

void ServerPhotos::store(const QString &name, const QByteArray &bytes)
{
    const QString tooLarge = photoSizeProblem(bytes.size());
    if (!tooLarge.isEmpty())
        throw AppError(QStringLiteral("A foto %1 não foi guardada: %2").arg(name, tooLarge));
    const std::shared_ptr<ServerEngine> server = ServerEngine::forConnection(m_connection);
    // A photo of that name already there is left as it is, and said so.
    const PgResult stored = server->execute(QStringLiteral("INSERT INTO perguntas.fotos (nome, dados)"
                                                           " VALUES (:NOME, :DADOS) ON CONFLICT (nome) DO NOTHING"),
                                            {name, bytes});
    if (qstrcmp(PQcmdTuples(stored.get()), "1") != 0)
        throw AppError(QStringLiteral("A foto %1 não foi guardada: o banco já tem uma foto com esse nome").arg(name));
}

QByteArray ServerPhotos::read(const QString &name)
{
    return bankPhotos(BankLocation::server(m_connection))->read(name).bytes;
}

bool ServerPhotos::contains(const QString &name)
{
    const std::shared_ptr<ServerEngine> server = ServerEngine::forConnection(m_connection);
    return PQntuples(server->execute(QStringLiteral("SELECT 1 FROM perguntas.fotos WHERE nome = :NOME"), {name}).get())
        == 1;
}
