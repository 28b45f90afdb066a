#include "store/bank/QuestionCheck.h"

#include "store/tables/TableEngine.h"
#include "store/core/Win1252.h"

#include <algorithm>

namespace {

// The characters of `text` that Windows-1252 cannot hold, each once, in order of appearance.
QString outsideWin1252(const QString &text)
{
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond the basic plane is a pair of UTF-16 units: shown whole.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!fitsWin1252(character) && !found.contains(character))
            found += character;
        i += length - 1;
    }
    return found;
}

} // namespace

QStringList questionProblems(const QuestionFields &q)
{
    auto missing = [](const QString &text) { return text.trimmed().isEmpty(); };
    QStringList problems;
    if (missing(q.pergunta))
        problems << QStringLiteral("falta o texto da pergunta");
    const QString answers[4] = {q.resp1, q.resp2, q.resp3, q.resp4};
    for (int i = 0; i < 4; ++i)
        if (missing(answers[i]))
            problems << QStringLiteral("falta a resposta %1").arg(i + 1);
    if (missing(q.correta))
        problems << QStringLiteral("falta a resposta correta");
    else if (std::none_of(std::begin(answers), std::end(answers),
                          [&](const QString &a) { return a == q.correta; }))
        problems << QStringLiteral("a resposta correta não é igual a nenhuma das quatro respostas "
                                   "(a comparação considera maiúsculas, minúsculas e espaços)");
    if (missing(q.foto))
        problems << QStringLiteral("falta a foto");

    // The stored sizes are those of the table's layout.
    const struct {
        const QString &text;
        const char *field;
        QString what;
    } texts[] = {
        {q.pergunta, "Pergunta", QStringLiteral("o texto da pergunta")},
        {q.resp1, "Resp1", QStringLiteral("a resposta 1")},
        {q.resp2, "Resp2", QStringLiteral("a resposta 2")},
        {q.resp3, "Resp3", QStringLiteral("a resposta 3")},
        {q.resp4, "Resp4", QStringLiteral("a resposta 4")},
        {q.correta, "Correta", QStringLiteral("a resposta correta")},
        {q.foto, "Foto", QStringLiteral("o caminho da foto")},
    };
    for (const auto &t : texts) {
        const auto field = std::find_if(questionFields().begin(), questionFields().end(),
                                        [&](const FieldDef &f) { return f.name == QLatin1String(t.field); });
        if (t.text.size() > field->size)
            problems << QStringLiteral("%1 tem %2 caracteres, mas cabem no máximo %3")
                            .arg(t.what)
                            .arg(t.text.size())
                            .arg(field->size);
        const QString outside = outsideWin1252(t.text);
        if (!outside.isEmpty())
            problems << QStringLiteral("%1 tem caracteres que o banco de perguntas não guarda (fora do "
                                       "Windows-1252): %2")
                            .arg(t.what, outside);
    }
    return problems;
}

QString photoSizeProblem(qint64 bytes)
{
    if (bytes <= MaxPhotoFileBytes)
        return QString();
    const auto mb = [](qint64 n) { return (n + 1024 * 1024 - 1) / (1024 * 1024); };
    return QStringLiteral("a foto tem %1 MB, mais do que o limite de %2 MB").arg(mb(bytes)).arg(mb(MaxPhotoFileBytes));
}
