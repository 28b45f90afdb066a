#include "store/bank/BankPhotos.h"

#include "store/core/AppError.h"
#include "store/server/Libpq.h"
#include "store/bank/PhotoPlan.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <libpq-fe.h>

namespace {

QString extensionOf(const QString &foto)
{
    return QFileInfo(foto).suffix().toLower();
}

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

class FolderPhotos final : public BankPhotos {
public:
    explicit FolderPhotos(const QString &folder) : m_folder(folder) {}

    BankPhoto read(const QString &foto) override { return {foto, {}, extensionOf(foto)}; }
    bool changesInPlace() const override { return true; }
    KeptPhoto keepFile(const QString &path) override { return {path, false}; }
    KeptPhoto keepBytes(const QString &name, const QByteArray &bytes) override
    {
        return keepInFolder(QDir(m_folder).filePath(QStringLiteral("fotos")), name, bytes);
    }
    void forget(const QString &foto) override { QFile::remove(foto); }

private:
    QString m_folder;
};

class ServerBankPhotos final : public BankPhotos {
public:
    ServerBankPhotos(const QString &connection, PhotoThread thread) : m_connection(connection), m_thread(thread) {}

    BankPhoto read(const QString &foto) override
    {
        // The bytes come in the server's binary form, not the text form that doubles them.
        const PgResult found = server().execute(QStringLiteral("SELECT dados FROM perguntas.fotos WHERE nome = :NOME"),
                                                {foto}, true);
        if (PQntuples(found.get()) != 1)
            throw AppError(QStringLiteral("A foto não está no banco de perguntas: %1").arg(foto));
        return {{}, QByteArray(PQgetvalue(found.get(), 0, 0), PQgetlength(found.get(), 0, 0)), extensionOf(foto)};
    }

    bool changesInPlace() const override { return false; }

    KeptPhoto keepFile(const QString &path) override
    {
        return keepBytes(QFileInfo(path).fileName(), photoFileBytes(path));
    }

    KeptPhoto keepBytes(const QString &name, const QByteArray &bytes) override
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

    void forget(const QString &foto) override
    {
        try {
            server().execute(QStringLiteral("DELETE FROM perguntas.fotos WHERE nome = :NOME"), {foto});
        } catch (const AppError &) {
            // Left in the bank, named by no question.
        }
    }

private:
    // Connected on first use, so that a bank whose photos are never read costs no connection.
    ServerEngine &server()
    {
        if (!m_engine)
            m_engine = m_thread == PhotoThread::Screens ? ServerEngine::forConnection(m_connection)
                                                       : ServerEngine::ownConnection(m_connection);
        return *m_engine;
    }

    QString m_connection;
    PhotoThread m_thread;
    std::shared_ptr<ServerEngine> m_engine;
};

} // namespace

BankPhotos::~BankPhotos() = default;

std::unique_ptr<BankPhotos> bankPhotos(const BankLocation &bank, PhotoThread thread)
{
    if (bank.isServer())
        return std::make_unique<ServerBankPhotos>(bank.connection(), thread);
    return std::make_unique<FolderPhotos>(bank.folderPath());
}

KeptPhoto keepInFolder(const QString &folder, const QString &name, const QByteArray &bytes)
{
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("Não foi possível criar a pasta das fotos: %1").arg(folder));
    for (int n = 1;; ++n) {
        const QString target = QDir(folder).filePath(numberedPhotoName(name, n));
        QFile existing(target);
        if (existing.exists() || QFileInfo(target).isSymLink()) {
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
                return {target, false};
            continue;
        }
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw AppError(QStringLiteral("Não foi possível gravar a cópia ajustada da foto em \"%1\": %2")
                               .arg(target, file.errorString()));
        return {target, true};
    }
}
