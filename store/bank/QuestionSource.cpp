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
    static const QStringList header = {
        QStringLiteral("Id"),    QStringLiteral("Pergunta"), QStringLiteral("Resp1"),
        QStringLiteral("Resp2"), QStringLiteral("Resp3"),    QStringLiteral("Resp4"),
        QStringLiteral("Correta"), QStringLiteral("Foto"),
    };
    return header;
}

} // namespace

QList<QuestionRow> readQuestionSource(const QString &tsvPath)
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

    QList<QuestionRow> rows;
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

        bool ok = false;
        const int id = fields[0].trimmed().toInt(&ok);
        if (!ok || id < 1)
            throw lineError(lineNumber, QStringLiteral("Id \"%1\" não é um número inteiro a partir de 1").arg(fields[0]));
        if (lineOfId.contains(id))
            throw lineError(lineNumber, QStringLiteral("o Id %1 já foi usado na linha %2").arg(id).arg(lineOfId.value(id)));
        lineOfId.insert(id, lineNumber);

        for (int i = 1; i < fields.size(); ++i) {
            const int size = i == 7 ? 255 : 240;
            if (fields[i].isEmpty())
                throw lineError(lineNumber, QStringLiteral("o campo %1 está vazio").arg(sourceHeader()[i]));
            if (fields[i].size() > size)
                throw lineError(lineNumber, QStringLiteral("o campo %1 passa de %2 caracteres")
                                                .arg(sourceHeader()[i])
                                                .arg(size));
            if (!fitsWin1252(fields[i]))
                throw lineError(lineNumber, QStringLiteral("o campo %1 tem caracteres fora do Windows-1252")
                                                .arg(sourceHeader()[i]));
        }
        QuestionRow row;
        row.id = id;
        row.pergunta = fields[1];
        row.resp1 = fields[2];
        row.resp2 = fields[3];
        row.resp3 = fields[4];
        row.resp4 = fields[5];
        row.correta = fields[6];
        row.foto = fields[7];
        if (row.correta != row.resp1 && row.correta != row.resp2 && row.correta != row.resp3
            && row.correta != row.resp4)
            throw lineError(lineNumber, QStringLiteral("Correta não é igual a nenhuma das quatro respostas"));
        if (row.foto.contains(QLatin1Char('/')) || row.foto.contains(QLatin1Char('\\')) || row.foto == QLatin1String("..")
            || row.foto == QLatin1String("."))
            throw lineError(lineNumber, QStringLiteral("Foto deve ser só o nome de um arquivo da pasta fotos"));
        rows.append(row);
    }
    if (!headerSeen)
        throw AppError(QStringLiteral("%1: falta o cabeçalho %2").arg(tsvPath, sourceHeader().join(QLatin1String(" | "))));

    // The game draws numbers between 1 and the number of questions: every one must exist.
    std::sort(rows.begin(), rows.end(), [](const QuestionRow &a, const QuestionRow &b) { return a.id < b.id; });
    for (int i = 0; i < rows.size(); ++i)
        if (int(rows[i].id) != i + 1)
            throw AppError(QStringLiteral("%1: falta a pergunta de Id %2 (os Ids devem ir de 1 a %3 sem lacunas)")
                               .arg(tsvPath)
                               .arg(i + 1)
                               .arg(rows.size()));
    return rows;
}
