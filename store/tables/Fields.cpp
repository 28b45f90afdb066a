#include "store/tables/Fields.h"

#include "store/core/AppError.h"
#include "store/core/Win1252.h"

const QList<FieldDef> &accountFields()
{
    static const QList<FieldDef> fields = {
        {QStringLiteral("Login"), FieldType::String, 10},
        {QStringLiteral("Senha"), FieldType::String, PasswordSize},
    };
    return fields;
}

void checkAccountText(const QString &value, const FieldDef &field)
{
    if (value.isEmpty() || value.size() > field.size || !fitsWin1252(value))
        throw AppError(QStringLiteral("%1: deve ter de 1 a %2 caracteres do Windows-1252")
                           .arg(field.name == QLatin1String("Senha") ? QStringLiteral("Senha inválida")
                                                                     : QStringLiteral("%1 inválido").arg(field.name))
                           .arg(field.size));
}
