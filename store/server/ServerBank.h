#pragma once
// A new bank on a PostgreSQL server, filled as the set-up fills a data folder: from the sample
// bank's source, or from the bank of a data folder that a lab moves to its server. Either is made
// whole, roles and rights included, by createServerBank() (ServerSetup.h), in one transaction:
// a server that has a bank, or either role, already is refused and left as it was. Used by
// jornada-dados.
#include "store/core/AppError.h"
#include "store/bank/RecordStore.h"
#include "store/server/ServerRoles.h"

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

// The copy of a data folder's bank refused: every problem found.
class CopyRefused : public AppError {
public:
    CopyRefused(const QString &text, QStringList problems) : AppError(text), m_problems(std::move(problems)) {}
    const QStringList &problems() const noexcept { return m_problems; }

private:
    QStringList m_problems;
};

// Makes the bank on the server of `connection` from the bank of the data folder `folder`: every
// question as stored (in Id order), the photos they name, each stored once in the bank under its
// file's name ("nome-2.jpg" when another photo has that name) and named so by its questions; the
// record file's record; the administrator's account as the role of that login and password; the
// pupils' role `pupils` with `pupilsPassword`. The folder is only read. All or nothing: a photo
// that cannot go into the bank (missing, unreadable, above the limit of a photo file) refuses the
// copy with CopyRefused, listing each; a record file that cannot be read, a record outside what a
// whole game scores, or an account whose password the server cannot take (an empty one) refuses
// it with AppError; and so does the server, as createServerBank() says.
ServerBankReport copyFolderToServer(const QString &folder, const QString &connection, const QString &pupils,
                                    const QString &pupilsPassword);
