// The sample bank's question source (data/perguntas.tsv format), as jornada-dados reads it.
#include "FuzzSupport.h"

#include "store/core/AppError.h"
#include "store/folder/FolderSetup.h"
#include "store/bank/QuestionSource.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::writeScratch(QStringLiteral("perguntas.tsv"), data, size);
    try {
        const QList<Question> rows = readQuestionSource(path);
        // What it accepts is what the game's draw relies on: ids 1..N, every field filled.
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Question &row = rows[i];
            if (int(row.id) != i + 1 || row.pergunta.isEmpty() || row.foto.isEmpty())
                std::abort();
            if (std::find(row.answers.begin(), row.answers.end(), row.correta) == row.answers.end())
                std::abort();
        }
    } catch (const AppError &) {
        // Refused with a reason: what the reader must do with a damaged file. Only a crash or
        // an accepted bank that breaks the rules above is a finding.
    }
    return 0;
}
