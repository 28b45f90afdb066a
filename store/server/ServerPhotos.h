#pragma once
// The photos of a bank on a server, kept in it as bytes (table perguntas.fotos), so that every
// machine of a lab shows them without a shared folder. A question's Foto names its photo there.
// A photo enters under the same limit as a photo file entering a folder's bank
// (MaxPhotoFileBytes), which the server checks as well.
#include "store/bank/BankPhotos.h"

#include <QByteArray>
#include <QString>

#include <memory>

class ServerEngine;

// The photos as the game and the editor read and keep them (BankPhotos.h).
class ServerBankPhotos final : public BankPhotos {
public:
    // On `thread` Screens, through the connection the tables of `connection` use; on another
    // thread, through a connection of its own.
    ServerBankPhotos(const QString &connection, PhotoThread thread);

    BankPhoto read(const QString &foto) override;
    bool has(const QString &foto) override;
    QString missing(const QString &foto) const override;
    bool changesInPlace() const override;
    KeptPhoto keepFile(const QString &path) override;
    KeptPhoto keepBytes(const QString &name, const QByteArray &bytes) override;
    void forget(const QString &foto) override;

private:
    ServerEngine &server();

    QString m_connection;
    PhotoThread m_thread;
    std::shared_ptr<ServerEngine> m_engine;
};

// The photos' table itself, for the set-up and the import, which store and read photos whole.
class ServerPhotos {
public:
    explicit ServerPhotos(const QString &connection);

    // Stores `bytes` as the photo `name`, never over another photo of that name. Throws AppError,
    // storing nothing, for a photo above the limit (photoSizeProblem's words), a name taken, or a
    // server that refuses.
    void store(const QString &name, const QByteArray &bytes);
    // The bytes of photo `name`. Throws AppError when the bank has no such photo, or the server
    // cannot be reached.
    QByteArray read(const QString &name);
    bool contains(const QString &name);

private:
    QString m_connection;
};
