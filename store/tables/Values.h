#pragma once
// Conversions between the values the engine reads and writes (QVariant: null, double,
// qlonglong, QString, QByteArray) and the texts that users type and read.
#include <QString>
#include <QVariant>

class AppError;

// A field's value as text: blank as the empty text, whole numbers without a fraction ("11", not
// "11.0"), other numbers in their shortest exact form.
QString variantText(const QVariant &value);

// The number typed into a number field: a decimal number with a point. Throws AppError when the
// text is not one.
double parseNumber(const QString &text);

// The error of a value that cannot become `target` ("Integer", "String"), naming its own type.
AppError conversionError(const QVariant &value, const QString &target);

// `identifier` as an SQL identifier in double quotes, its own double quotes doubled.
QString quoted(const QString &identifier);
