#include "store/folder/FolderAccount.h"

#include "store/tables/Fields.h"

FolderAccount::FolderAccount(const QString &folder) : m_folder(BankLocation::folder(folder))
{
    m_account.open(m_folder, QStringLiteral("inicial.db"), accountFields());
}

std::optional<BankLocation> FolderAccount::logIn(const QString &login, const QString &password)
{
    if (password == m_account.fieldText(QStringLiteral("Senha")) && login == m_account.fieldText(QStringLiteral("Login")))
        return m_folder;
    return std::nullopt;
}

AdminAccount::Change FolderAccount::changePassword(const QString &current, const QString &replacement)
{
    if (current != m_account.fieldText(QStringLiteral("Senha")))
        return Change::WrongPassword;
    m_account.edit();
    try {
        m_account.setFieldText(QStringLiteral("Senha"), replacement);
        m_account.post();
    } catch (...) {
        // A refused write must not leave the new password pending in the cursor, where the next
        // login would take it for the stored one.
        m_account.cancel();
        throw;
    }
    return Change::Changed;
}
