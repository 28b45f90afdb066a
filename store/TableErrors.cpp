#include "store/TableErrors.h"

#include "store/AppError.h"

const QString TableInUseText =
    QStringLiteral("O banco de perguntas está em uso por outro programa; tente de novo.");

bool isTableInUse(const AppError &error) { return error.text().contains(TableInUseText); }

namespace tableText {

QString closed()
{
    return QStringLiteral("Cannot perform this operation on a closed dataset");
}

QString notEditing()
{
    return QStringLiteral("Dataset not in edit or insert mode");
}

QString empty()
{
    return QStringLiteral("Cannot perform this operation on an empty dataset");
}

QString recordGone()
{
    return QStringLiteral("Record not found or changed by another user");
}

QString fieldNotFound(const QString &name) { return QStringLiteral("Field '%1' not found").arg(name); }

} // namespace tableText
