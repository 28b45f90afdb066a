#include "store/folder/CaseFoldedKey.h"

#include "store/folder/Database.h"
#include "store/folder/Statement.h"
#include "store/tables/Values.h"
#include "store/core/Win1252.h"

#include <QList>
#include <QPair>
#include <QtDebug>

namespace {

// How long the replacing of an outdated index waits for a locked file before giving up: a change
// that can wait is not worth keeping the user waiting.
constexpr int upgradeWaitMs = 200;

} // namespace

// Texts are stored as UTF-8 and SQLite's lower() makes only A-Z small, so the other 34 capitals
// of Windows-1252 need work of their own. One replace() for each does not fit: SQLite's parser
// refuses calls nested that deep ("parser stack overflow"), in the shell too. So Š, Œ, Ž and Ÿ
// are replaced one by one, and the 30 capitals À-Þ (U+00C0-U+00DE but ×), each of them the byte
// C3 and a byte 80-9E that becomes A0-BE in its small letter, are made small together on the
// text's hex() form: "C38" becomes "C3A" and "C39" becomes "C3B". Every C3 is first marked with
// a byte FF, which UTF-8 never holds, so that only a real C3 and the byte after it match ("FFC3"
// cannot start mid-byte, as that would take a byte FC, which UTF-8 never holds either), and × and
// ß (C3 97, C3 9F), which have no other case, lose the mark before the rest are made small.
// The key is thus the hex form of the text in small letters: bytes in the same order as the text.
QString caseFoldedKey(const QString &operand)
{
    // The calls around the operand never change: they are written once, as the text before the
    // operand and the text after it.
    struct Around {
        QString before, after;
        void wrap(const QString &function, const QString &arguments = QString())
        {
            before.prepend(function + QLatin1Char('('));
            after += arguments + QLatin1Char(')');
        }
        void replace(const QString &from, const QString &to)
        {
            wrap(QStringLiteral("replace"), QStringLiteral(",'") + from + QStringLiteral("','") + to
                                                + QLatin1Char('\''));
        }
    };
    static const Around around = [] {
        Around key;
        for (const char16_t capital : {u'\u0160', u'\u0152', u'\u017D', u'\u0178'}) // Š Œ Ž Ÿ
            key.replace(QString(QChar(capital)), QString(QChar(capital).toLower()));
        key.wrap(QStringLiteral("lower"));
        key.wrap(QStringLiteral("replace"), QStringLiteral(",X'C3',X'FFC3'"));
        key.wrap(QStringLiteral("hex"));
        key.replace(QStringLiteral("FFC397"), QStringLiteral("C397")); // ×
        key.replace(QStringLiteral("FFC39F"), QStringLiteral("C39F")); // ß
        key.replace(QStringLiteral("FFC38"), QStringLiteral("C3A"));   // À-Ï
        key.replace(QStringLiteral("FFC39"), QStringLiteral("C3B"));   // Ð-Þ
        key.replace(QStringLiteral("FFC3"), QStringLiteral("C3"));     // the rest
        return key;
    }();
    return around.before + operand + around.after;
}

bool indexesCaseFoldedKey(const QString &definition, const QString &column)
{
    return definition.endsWith(QLatin1Char('(') + caseFoldedKey(quoted(column)) + QLatin1Char(')'));
}

// Each index is dropped and made again within one savepoint, so that the file holds either
// index whole.
void replaceAsciiCaseIndexes(Database &db, const QString &schema, const QStringList &textColumns)
{
    if (db.isReadOnly(schema))
        return;
    QList<QPair<QString, QString>> outdated; // index, column
    {
        Statement indexes(db, QStringLiteral("SELECT l.name, x.name FROM pragma_index_list('db', ?1) l "
                                             "JOIN pragma_index_xinfo(l.name, ?1) x "
                                             "WHERE l.\"unique\" = 0 AND l.partial = 0 AND x.key = 1 "
                                             "GROUP BY l.name "
                                             "HAVING count(*) = 1 AND max(x.coll) = 'NOCASE' COLLATE NOCASE"));
        indexes.bind(1, schema);
        while (indexes.step()) {
            const QString column = indexes.value(1).toString();
            for (const QString &text : textColumns)
                if (!column.isEmpty() && text.compare(column, Qt::CaseInsensitive) == 0)
                    outdated.append({indexes.value(0).toString(), text});
        }
    }
    const Database::WaitLimit shortWait(db, upgradeWaitMs);
    for (const auto &[index, column] : std::as_const(outdated)) {
        const QString name = quoted(schema) + QLatin1Char('.') + quoted(index);
        const QString change = QStringLiteral("SAVEPOINT case_index; DROP INDEX ") + name
            + QStringLiteral("; CREATE INDEX ") + name + QStringLiteral(" ON db(")
            + caseFoldedKey(quoted(column)) + QStringLiteral("); RELEASE case_index;");
        if (db.execute(change))
            continue;
        qWarning().noquote() << QStringLiteral("O índice %1 da tabela %2 não pôde ser trocado agora pelo que "
                                               "ignora maiúsculas e minúsculas de todas as letras; a tabela "
                                               "abre com o índice antigo, e a próxima abertura tenta de novo. Motivo: %3")
                                    .arg(index, schema, db.errorText());
        if (!db.execute(QStringLiteral("ROLLBACK TO case_index; RELEASE case_index;")))
            qWarning().noquote() << QStringLiteral("A troca do índice %1 da tabela %2 não pôde ser desfeita. Motivo: %3")
                                        .arg(index, schema, db.errorText());
    }
}
