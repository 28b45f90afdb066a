#include "store/bank/QuestionCheck.h"

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

QStringList questionProblems(const Question &q)
{
    auto missing = [](const QString &text) { return text.trimmed().isEmpty(); };
    QStringList problems;
    if (missing(q.pergunta))
        problems << QStringLiteral("falta o texto da pergunta");
    for (size_t i = 0; i < q.answers.size(); ++i)
        if (missing(q.answers[i]))
            problems << QStringLiteral("falta a resposta %1").arg(i + 1);
    if (missing(q.correta))
        problems << QStringLiteral("falta a resposta correta");
    else if (std::find(q.answers.begin(), q.answers.end(), q.correta) == q.answers.end())
        problems << QStringLiteral("a resposta correta não é igual a nenhuma das quatro respostas "
                                   "(a comparação considera maiúsculas, minúsculas e espaços)");
    if (missing(q.foto))
        problems << QStringLiteral("falta a foto");

    // Each text as the problems name it; its size is its field's.
    const auto what = [](QuestionColumn column) {
        switch (column) {
        case QuestionColumn::Pergunta:
            return QStringLiteral("o texto da pergunta");
        case QuestionColumn::Correta:
            return QStringLiteral("a resposta correta");
        case QuestionColumn::Foto:
            return QStringLiteral("o caminho da foto");
        default:
            return QStringLiteral("a resposta %1").arg(int(column) - int(QuestionColumn::Resp1) + 1);
        }
    };
    for (QuestionColumn column : QuestionTexts) {
        const QString &text = q.text(column);
        const int size = questionField(column).size;
        if (text.size() > size)
            problems << QStringLiteral("%1 tem %2 caracteres, mas cabem no máximo %3")
                            .arg(what(column))
                            .arg(text.size())
                            .arg(size);
        const QString outside = outsideWin1252(text);
        if (!outside.isEmpty())
            problems << QStringLiteral("%1 tem caracteres que o banco de perguntas não guarda (fora do "
                                       "Windows-1252): %2")
                            .arg(what(column), outside);
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
