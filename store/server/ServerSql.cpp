#include "store/server/ServerSql.h"

namespace {

bool startsName(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool inName(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// The end of the quoted text, quoted name or comment that starts at `at`, or `at` when none does.
qsizetype skipQuoted(const QString &sql, qsizetype at)
{
    const qsizetype n = sql.size();
    const QChar c = sql[at];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        // A quote is doubled inside; an E'' text also takes a backslash before it.
        const bool escapes = c == QLatin1Char('\'') && at > 0 && sql[at - 1].toLower() == QLatin1Char('e')
                          && (at < 2 || !inName(sql[at - 2]));
        qsizetype i = at + 1;
        while (i < n) {
            if (escapes && sql[i] == QLatin1Char('\\')) {
                i += 2;
                continue;
            }
            if (sql[i] == c) {
                if (i + 1 < n && sql[i + 1] == c) {
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            ++i;
        }
        return n;
    }
    if (c == QLatin1Char('-') && at + 1 < n && sql[at + 1] == QLatin1Char('-')) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), at);
        return end < 0 ? n : end;
    }
    if (c == QLatin1Char('/') && at + 1 < n && sql[at + 1] == QLatin1Char('*')) {
        // Block comments nest on the server.
        int depth = 0;
        qsizetype i = at;
        while (i + 1 < n) {
            if (sql[i] == QLatin1Char('/') && sql[i + 1] == QLatin1Char('*')) {
                ++depth;
                i += 2;
            } else if (sql[i] == QLatin1Char('*') && sql[i + 1] == QLatin1Char('/')) {
                i += 2;
                if (--depth == 0)
                    return i;
            } else {
                ++i;
            }
        }
        return n;
    }
    if (c == QLatin1Char('$') && (at == 0 || !inName(sql[at - 1]))) {
        // A dollar-quoted text: $tag$ ... $tag$, the tag a name or nothing.
        qsizetype i = at + 1;
        while (i < n && inName(sql[i]) && !sql[i].isDigit())
            ++i;
        if (i < n && sql[i] == QLatin1Char('$')) {
            const QString tag = sql.mid(at, i - at + 1);
            const qsizetype end = sql.indexOf(tag, i + 1);
            return end < 0 ? n : end + tag.size();
        }
    }
    return at;
}

} // namespace

ServerText serverText(const QString &sql)
{
    // First the numbers the text already uses, so that names take the ones after them.
    int largest = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const qsizetype skipped = skipQuoted(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (sql[i] == QLatin1Char('$') && i + 1 < sql.size() && sql[i + 1].isDigit()) {
            qsizetype end = i + 1;
            while (end < sql.size() && sql[end].isDigit())
                ++end;
            largest = std::max(largest, sql.mid(i + 1, end - i - 1).toInt());
            i = end;
            continue;
        }
        ++i;
    }

    ServerText text;
    for (int k = 0; k < largest; ++k)
        text.names.append(QString());
    text.sql.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size();) {
        const qsizetype skipped = skipQuoted(sql, i);
        if (skipped != i) {
            text.sql += QStringView(sql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = sql[i];
        if (c == QLatin1Char(':') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char(':')) {
            text.sql += QLatin1String("::");
            i += 2;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < sql.size() && startsName(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < sql.size() && inName(sql[end]))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype number = -1;
            for (qsizetype k = largest; k < text.names.size(); ++k)
                if (text.names[k].compare(name, Qt::CaseInsensitive) == 0)
                    number = k + 1;
            if (number < 0) {
                text.names.append(name);
                number = text.names.size();
            }
            text.sql += QLatin1Char('$') + QString::number(number);
            i = end;
            continue;
        }
        text.sql += c;
        ++i;
    }
    return text;
}
