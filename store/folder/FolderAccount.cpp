#include "store/folder/FolderAccount.h"

#include "store/bank/Bank.h"
#include "store/tables/Fields.h"

FolderAccount::FolderAccount(std::shared_ptr<Bank> bank) : m_bank(std::move(bank))
{
    m_account.open(*m_bank, QStringLiteral("inicial.db"), accountFields());
}

std::shared_ptr<Bank> FolderAccount::logIn(const QString &login, const QString &password)
{
    if (password == m_account.fieldText(QStringLiteral("Senha")) && login == m_account.fieldText(QStringLiteral("Login")))
        return m_bank;
    return nullptr;
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
