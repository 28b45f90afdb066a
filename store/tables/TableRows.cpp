#include "store/tables/TableRows.h"

#include "store/core/AppError.h"

AppError fieldNotInTable(const QString &field, const QString &table)
{
    return AppError(QStringLiteral("O campo '%1' não foi encontrado na tabela %2").arg(field, table));
}

void TableRows::describe(const QString &shownName, const QList<ColumnInfo> &tableColumns,
                         const QList<FieldDef> &fields)
{
    m_shownName = shownName;
    m_fields = fields;
    for (const ColumnInfo &column : tableColumns) {
        m_tableColumns.insert(column.name.toLower(), column.name);
        m_declaredTypes.insert(column.name.toLower(), column.declaredType);
    }
    for (const FieldDef &field : fields) {
        const QString column = tableColumn(field.name);
        if (column.isEmpty())
            throw fieldNotInTable(field.name, shownName);
        m_columns.append(column);
    }
}

QStringList TableRows::textColumns() const
{
    QStringList texts;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].type == FieldType::String)
            texts.append(m_columns[i]);
    return texts;
}

bool TableRows::isNumericColumn(const QString &column) const
{
    for (const FieldDef &field : m_fields)
        if (field.name.compare(column, Qt::CaseInsensitive) == 0)
            return field.type == FieldType::Number;
    const QString type = m_declaredTypes.value(column.toLower()).toUpper();
    return type.contains(QLatin1String("INT")) || type.contains(QLatin1String("REAL"))
        || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
        || type.contains(QLatin1String("NUM"));
}
