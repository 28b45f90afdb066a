#include "store/bank/QuestionSource.h"

#include "store/core/AppError.h"
#include "store/core/Win1252.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace {

const QStringList &sourceHeader()
{
    static const QStringList header = questionColumnNames(QuestionFileColumns);
    return header;
}

} // namespace

QList<Question> readQuestionSource(const QString &tsvPath)
{
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Não foi possível ler %1: %2").arg(tsvPath, file.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        throw AppError(QStringLiteral("%1: o arquivo não está em UTF-8").arg(tsvPath));

    const auto lineError = [&](int line, const QString &message) {
        return AppError(QStringLiteral("%1, linha %2: %3").arg(tsvPath).arg(line).arg(message));
    };

    QList<Question> rows;
    QHash<int, int> lineOfId;
    bool headerSeen = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const int lineNumber = n + 1;
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != sourceHeader().size())
            throw lineError(lineNumber, QStringLiteral("%1 campos separados por tabulação; são esperados %2")
                                            .arg(fields.size())
                                            .arg(sourceHeader().size()));
        if (!headerSeen) {
            for (int i = 0; i < fields.size(); ++i)
                if (fields[i].trimmed().compare(sourceHeader()[i], Qt::CaseInsensitive) != 0)
                    throw lineError(lineNumber, QStringLiteral("o cabeçalho deve ser %1")
                                                    .arg(sourceHeader().join(QLatin1String(" | "))));
            headerSeen = true;
            continue;
        }

        Question row;
        for (int i = 0; i < fields.size(); ++i) {
            const QuestionColumn column = QuestionFileColumns[size_t(i)];
            if (column == QuestionColumn::Id) {
                bool ok = false;
                const int id = fields[i].trimmed().toInt(&ok);
                if (!ok || id < 1)
                    throw lineError(lineNumber, QStringLiteral("Id \"%1\" não é um número inteiro a partir de 1")
                                                    .arg(fields[i]));
                if (lineOfId.contains(id))
                    throw lineError(lineNumber, QStringLiteral("o Id %1 já foi usado na linha %2")
                                                    .arg(id)
                                                    .arg(lineOfId.value(id)));
                lineOfId.insert(id, lineNumber);
                row.id = id;
                continue;
            }
            const FieldDef &field = questionField(column);
            if (fields[i].isEmpty())
                throw lineError(lineNumber, QStringLiteral("o campo %1 está vazio").arg(field.name));
            if (fields[i].size() > field.size)
                throw lineError(lineNumber, QStringLiteral("o campo %1 passa de %2 caracteres")
                                                .arg(field.name)
                                                .arg(field.size));
            if (!fitsWin1252(fields[i]))
                throw lineError(lineNumber, QStringLiteral("o campo %1 tem caracteres fora do Windows-1252")
                                                .arg(field.name));
            row.text(column) = fields[i];
        }
        if (std::find(row.answers.begin(), row.answers.end(), row.correta) == row.answers.end())
            throw lineError(lineNumber, QStringLiteral("Correta não é igual a nenhuma das quatro respostas"));
        if (row.foto.contains(QLatin1Char('/')) || row.foto.contains(QLatin1Char('\\')) || row.foto == QLatin1String("..")
            || row.foto == QLatin1String("."))
            throw lineError(lineNumber, QStringLiteral("Foto deve ser só o nome de um arquivo da pasta fotos"));
        rows.append(row);
    }
    if (!headerSeen)
        throw AppError(QStringLiteral("%1: falta o cabeçalho %2").arg(tsvPath, sourceHeader().join(QLatin1String(" | "))));

    // The game draws numbers between 1 and the number of questions: every one must exist.
    std::sort(rows.begin(), rows.end(), [](const Question &a, const Question &b) { return a.id < b.id; });
    for (int i = 0; i < rows.size(); ++i)
        if (int(rows[i].id) != i + 1)
            throw AppError(QStringLiteral("%1: falta a pergunta de Id %2 (os Ids devem ir de 1 a %3 sem lacunas)")
                               .arg(tsvPath)
                               .arg(i + 1)
                               .arg(rows.size()));
    return rows;
}
