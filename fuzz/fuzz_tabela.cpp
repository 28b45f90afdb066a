// A damaged question table: the bytes become Perguntas.DB of a data directory, which is opened,
// read and moved through with the table engine as the editor and the question screen do.
#include "FuzzSupport.h"

#include "store/core/AppError.h"
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"

#include <QDir>
#include <QFile>

namespace {

void readFields(const Table &table)
{
    for (const FieldDef &field : questionFields()) {
        (void)table.fieldText(field.name);
        (void)table.fieldValue(field.name);
    }
}

void browse(const QString &directory)
{
    Table table;
    table.open(*openBank(directory), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    // Forward through at most a few dozen records, back to the first, then by the text index.
    for (int i = 0; i < 40 && table.hasRecord(); ++i) {
        readFields(table);
        if (table.atLast())
            break;
        table.next();
    }
    table.last();
    table.prior();
    table.first();
    readFields(table);
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("Qual"));
    readFields(table);
    table.next();
    table.setIndexFieldNames(QStringLiteral("Id"));
    readFields(table);
}

void runStatements(const QString &directory)
{
    Query count(openBank(directory));
    count.add(QStringLiteral("select count(p.id) as totalsql"));
    count.add(QStringLiteral("from perguntas.db p"));
    count.open();
    const qint32 total = count.asInteger(QStringLiteral("totalsql"));

    Query question(openBank(directory));
    question.add(QStringLiteral("select id,pergunta,resp1,resp2,resp3,resp4,correta,foto"));
    question.add(QStringLiteral("from perguntas.db"));
    question.add(QStringLiteral("where id = :NUMID"));
    question.setParameter(QStringLiteral("NUMID"), total > 0 ? 1 : 0);
    question.open();
    for (const char *column : {"Pergunta", "resp1", "resp4", "correta", "foto"})
        (void)question.value(QLatin1String(column));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A fresh folder each time: what a run leaves (a journal, a changed index) does not reach
    // the next.
    const QString directory = fuzz::scratchFolder() + QStringLiteral("/dados");
    QDir(directory).removeRecursively();
    QDir().mkpath(directory);
    QFile file(directory + QStringLiteral("/Perguntas.DB"));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    // A damaged table refused with a reason is what the engine must do; only a crash is a
    // finding, so the refusals are not logged.
    try {
        browse(directory);
    } catch (const AppError &) {
    }
    try {
        runStatements(directory);
    } catch (const AppError &) {
    }
    return 0;
}
