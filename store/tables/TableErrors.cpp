#include "store/tables/TableErrors.h"

#include "store/core/AppError.h"

const QString TableInUseText =
    QStringLiteral("O banco de perguntas está em uso por outro programa; tente de novo.");

const QString NoPermissionText = QStringLiteral("Sem permissão para usar a tabela no servidor");

bool isNoPermission(const AppError &error) { return error.text().contains(NoPermissionText); }

bool isTableInUse(const AppError &error) { return error.text().contains(TableInUseText); }

namespace tableText {

QString closed()
{
    return QStringLiteral("Não é possível fazer esta operação em um conjunto de dados fechado");
}

QString notEditing()
{
    return QStringLiteral("O conjunto de dados não está em modo de edição ou inclusão");
}

QString empty()
{
    return QStringLiteral("Não é possível fazer esta operação em um conjunto de dados vazio");
}

QString recordGone()
{
    return QStringLiteral("O registro não foi encontrado ou foi alterado por outro usuário");
}

QString noIndex() { return QStringLiteral("Nenhum índice está ativo"); }

QString fieldNotFound(const QString &name) { return QStringLiteral("O campo '%1' não foi encontrado").arg(name); }

} // namespace tableText
