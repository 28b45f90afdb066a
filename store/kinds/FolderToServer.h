#pragma once
// A lab moves the bank of a data folder to its server: the one step that reads one kind of bank
// and makes another.
#include "store/core/AppError.h"
#include "store/server/NewServerBank.h"

#include <QString>
#include <QStringList>

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
