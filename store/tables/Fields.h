#pragma once
// The fields of a table as its cursor declares them, and the layout of the account table (the
// question table's is questionFields(), store/bank/Question.h).
#include <QList>
#include <QString>

enum class FieldType { String, Number };

struct FieldDef {
    QString name;
    FieldType type;
    int size; // characters, for strings; 0 for numbers
};

// A column of a table as the engine declares it.
struct ColumnInfo {
    QString name;
    QString declaredType;
};

// The layout of the account table, fields in their stored order.
const QList<FieldDef> &accountFields(); // Login, Senha

// The characters a password can have: the size of the account's Senha field.
constexpr int PasswordSize = 7;

// Throws AppError unless `value` is a login or password (`field` of accountFields()) that an
// account keeps exactly as given, never cut nor changed: 1 to the field's size of Windows-1252
// characters.
void checkAccountText(const QString &value, const FieldDef &field);
