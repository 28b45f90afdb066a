#include "store/bank/Question.h"

#include "store/bank/QuestionWrites.h"
#include "store/core/Win1252.h"

QString storedFieldText(const QString &text, int size) { return fromWin1252(toWin1252(text.left(size))); }

namespace {

// `text` with every line ended by LF alone.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

StoredTexts storedTexts(const QuestionRow &row)
{
    return {storedFieldText(row.pergunta, 240), storedFieldText(row.resp1, 240), storedFieldText(row.resp2, 240),
            storedFieldText(row.resp3, 240),    storedFieldText(row.resp4, 240), storedFieldText(row.correta, 240),
            storedFieldText(row.foto, 255)};
}

bool sameAsStored(StoredTexts &texts, const StoredTexts &old)
{
    bool same = true;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (withLineFeeds(old[i]) == withLineFeeds(texts[i]))
            texts[i] = old[i];
        same = same && old[i] == texts[i];
    }
    return same;
}

QuestionWrites::~QuestionWrites() = default;
