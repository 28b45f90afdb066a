#pragma once
// A new bank on a PostgreSQL server, filled as the set-up fills a data folder: from the sample
// bank's source, or from the bank of a data folder that a lab moves to its server. Either is made
// whole, roles and rights included, by createServerBank() (ServerSetup.h), in one transaction:
// a server that has a bank, or either role, already is refused and left as it was. Used by
// jornada-dados.
#include "store/core/AppError.h"
#include "store/bank/RecordStore.h"
#include "store/server/ServerRoles.h"
#include "store/server/ServerSetup.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

struct ServerBankReport {
    QString server;       // what the bank is, as a person is told (no password)
    int questions = 0;
    int photos = 0;       // stored in the bank
    std::optional<Record> record; // copied from the folder
    ServerRoles roles;    // as made; the passwords are not kept here
};

// Makes the bank on the server of `connection` from the question source in `source` (as
// buildDataDirectory() reads it: source/perguntas.tsv, the photos in source/fotos), with `roles`.
// Each question's Foto names its photo, stored in the bank under the file's name. Everything is
// checked before the server is asked. Throws AppError (in Portuguese) when anything fails.
ServerBankReport buildServerBank(const QString &connection, const QString &source, const ServerRoles &roles);

// The names photos are stored under in one new bank: a file's own name while it is free, else
// "name-2.ext", "name-3.ext", ...; the same file always under the one name.
class PhotoNames {
public:
    QString nameOf(const QString &file);
    const QList<ServerPhotoFile> &photos() const { return m_photos; }

private:
    QHash<QString, QString> m_byFile; // canonical path -> name
    QSet<QString> m_taken;
    QList<ServerPhotoFile> m_photos;
};

// Why the file `path` cannot go into a bank as a photo; empty when it can.
QString photoFileProblem(const QString &path);

// Makes the bank with `contents` (createServerBank(), ServerSetup.h) and says what it holds.
ServerBankReport makeServerBank(const QString &connection, const ServerBankContents &contents);
