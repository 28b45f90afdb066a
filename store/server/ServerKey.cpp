#include "store/server/ServerKey.h"

#include "store/core/Win1252.h"

#include <QPair>

QString serverCaseFoldedKey(const QString &operand)
{
    return QStringLiteral("\"perguntas\".chave(") + operand + QLatin1Char(')');
}

QString serverCaseFoldExpression(const QString &operand)
{
    // The capitals are found the way caseFoldedKey() makes them small: every character of
    // Windows-1252 whose small letter is another character (A-Z, À-Þ but ×, Š, Œ, Ž, Ÿ).
    static const QPair<QString, QString> letters = [] {
        QString capitals, smalls;
        for (int byte = 1; byte < 256; ++byte) {
            const QString character = fromWin1252(QByteArray(1, char(byte)));
            if (character.size() == 1 && character.toLower() != character) {
                capitals += character;
                smalls += character.toLower();
            }
        }
        return QPair<QString, QString>(capitals, smalls);
    }();
    return QStringLiteral("pg_catalog.translate(%1, '%2', '%3')").arg(operand, letters.first, letters.second);
}

bool serverIndexesCaseFoldedKey(const QString &printedKey, const QString &column)
{
    // The server prints the function with its schema (no schema is searched on the engine's
    // connections), and a column of another text type (varchar) with its cast to text.
    const QString key = printedKey.trimmed();
    for (const QString &operand : {column, column + QStringLiteral("::text"),
                                   QLatin1Char('(') + column + QStringLiteral(")::text")})
        if (key == QStringLiteral("perguntas.chave(") + operand + QLatin1Char(')'))
            return true;
    return false;
}
