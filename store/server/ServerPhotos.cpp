#include "store/server/ServerPhotos.h"

#include "store/core/AppError.h"
#include "store/bank/BankPhotos.h"
#include "store/bank/PhotoPlan.h"
#include "store/server/Libpq.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerEngine.h"

#include <QFile>
#include <QFileInfo>

#include <libpq-fe.h>

namespace {

// A photo file read whole, refused above the limit of a photo entering a bank.
QByteArray photoFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Não foi possível ler a foto \"%1\": %2").arg(path, file.errorString()));
    if (const QString tooLarge = photoSizeProblem(file.size()); !tooLarge.isEmpty())
        throw AppError(QStringLiteral("A foto \"%1\" não foi guardada: %2").arg(path, tooLarge));
    const QByteArray bytes = file.read(MaxPhotoFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Não foi possível ler a foto \"%1\": %2").arg(path, file.errorString()));
    if (const QString tooLarge = photoSizeProblem(bytes.size()); !tooLarge.isEmpty())
        throw AppError(QStringLiteral("A foto \"%1\" não foi guardada: %2").arg(path, tooLarge));
    return bytes;
}

} // namespace

ServerBankPhotos::ServerBankPhotos(const QString &connection, PhotoThread thread)
    : m_connection(connection), m_thread(thread)
{
}

BankPhoto ServerBankPhotos::read(const QString &foto)
{
    // The bytes come in the server's binary form, not the text form that doubles them.
    const PgResult found = server().execute(QStringLiteral("SELECT dados FROM perguntas.fotos WHERE nome = :NOME"),
                                            {foto}, true);
    if (PQntuples(found.get()) != 1)
        throw AppError(QStringLiteral("A foto não está no banco de perguntas: %1").arg(foto));
    return {{}, QByteArray(PQgetvalue(found.get(), 0, 0), PQgetlength(found.get(), 0, 0)), photoExtension(foto)};
}

bool ServerBankPhotos::has(const QString &foto)
{
    return PQntuples(server().execute(QStringLiteral("SELECT 1 FROM perguntas.fotos WHERE nome = :NOME"), {foto}).get())
        == 1;
}

QString ServerBankPhotos::missing(const QString &foto) const
{
    return QStringLiteral("a foto %1 não está no banco").arg(foto);
}

bool ServerBankPhotos::changesInPlace() const { return false; }

KeptPhoto ServerBankPhotos::keepFile(const QString &path)
{
    return keepBytes(QFileInfo(path).fileName(), photoFileBytes(path));
}

KeptPhoto ServerBankPhotos::keepBytes(const QString &name, const QByteArray &bytes)
{
    if (const QString tooLarge = photoSizeProblem(bytes.size()); !tooLarge.isEmpty())
        throw AppError(QStringLiteral("A foto %1 não foi guardada: %2").arg(name, tooLarge));
    for (int n = 1;; ++n) {
        const QString candidate = numberedPhotoName(name, n);
        const PgResult stored = server().execute(QStringLiteral("INSERT INTO perguntas.fotos (nome, dados)"
                                                                " VALUES (:NOME, :DADOS) ON CONFLICT (nome) DO NOTHING"),
                                                 {candidate, bytes});
        if (qstrcmp(PQcmdTuples(stored.get()), "1") == 0)
            return {candidate, true};
        const PgResult same = server().execute(
            QStringLiteral("SELECT 1 FROM perguntas.fotos WHERE nome = :NOME AND dados = :DADOS"), {candidate, bytes});
        if (PQntuples(same.get()) == 1)
            return {candidate, false};
    }
}

void ServerBankPhotos::forget(const QString &foto)
{
    try {
        server().execute(QStringLiteral("DELETE FROM perguntas.fotos WHERE nome = :NOME"), {foto});
    } catch (const AppError &) {
        // Left in the bank, named by no question.
    }
}

// Connected on first use, so that a bank whose photos are never read costs no connection.
ServerEngine &ServerBankPhotos::server()
{
    if (!m_engine)
        m_engine = m_thread == PhotoThread::Screens ? ServerEngine::forConnection(m_connection)
                                                   : ServerEngine::ownConnection(m_connection);
    return *m_engine;
}

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
    return ServerBankPhotos(m_connection, PhotoThread::Screens).read(name).bytes;
}

bool ServerPhotos::contains(const QString &name)
{
    return ServerBankPhotos(m_connection, PhotoThread::Screens).has(name);
}
