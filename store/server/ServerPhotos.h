#pragma once
// The photos of a bank on a server, kept in it as bytes (table perguntas.fotos), so that every
// machine of a lab shows them without a shared folder. A question's Foto names its photo there.
// A photo enters under the same limit as a photo file entering a folder's bank
// (MaxPhotoFileBytes), which the server checks as well.
#include <QByteArray>
#include <QString>

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
