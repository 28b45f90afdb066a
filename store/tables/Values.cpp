#include "store/tables/Values.h"

#include "store/core/AppError.h"

#include <QLocale>

#include <cmath>

namespace {

QString numberText(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString variantTypeName(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("Null");
    case QMetaType::Double:
        return QStringLiteral("Double");
    case QMetaType::LongLong:
        return QStringLiteral("Int64");
    case QMetaType::QByteArray:
        return QStringLiteral("Array Byte");
    default:
        return QStringLiteral("String");
    }
}

} // namespace

QString variantText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::Double:
        return numberText(value.toDouble());
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

double parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw AppError(QStringLiteral("'%1' não é um número válido").arg(text));
    return value;
}

AppError conversionError(const QVariant &value, const QString &target)
{
    return AppError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                        .arg(variantTypeName(value), target));
}

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}
