// The table engine on real banks, once on a folder's table files and once on a PostgreSQL server
// (TestBank.h): the question table's columns, the game's three statements, the editor's cursor (moves,
// edit/append/post/cancel/delete, search in an order that ignores the case of every letter), the
// text index as older set-up tools made it, and the errors of opening a table.
#include "helpers/Input.h"
#include "helpers/PlainFile.h"
#include "helpers/TestBank.h"
#include "store/folder/CaseFoldedKey.h"
#include "store/server/ServerKey.h"
#include "store/core/AppError.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/QuestionCheck.h"
#include "store/bank/QuestionWrites.h"
#include "store/server/ServerPhotos.h"
#include "store/folder/FolderSetup.h"
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"
#include "store/core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <sqlite3.h>
#include <unistd.h>

namespace {

Question question(double id, const QString &text)
{
    return {id, text, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")},
            QStringLiteral("A"), QStringLiteral("/fotos/%1.jpg").arg(text)};
}

// A bank whose question table holds `rows`, in that storage order.
class FilledBank : public ScratchBank {
public:
    explicit FilledBank(const QList<Question> &rows = {})
    {
        openBank(where())->createQuestionTable();
        // A server's bank has no account table: its account is a role of the server.
        if (!testingOnServer())
            createAccountTable(folder(), QStringLiteral("Adm"), QStringLiteral("1234"));
        openBank(where())->insertQuestions(rows);
    }
};

QList<Question> numbered(int from, int to)
{
    QList<Question> rows;
    for (int id = from; id <= to; ++id)
        rows.append(question(id, QStringLiteral("Pergunta %1").arg(id)));
    return rows;
}

void setText(Query &query, const QStringList &lines)
{
    query.close();
    query.clear();
    for (const QString &line : lines)
        query.add(line);
}

const QStringList countLines = {QStringLiteral("select count(p.id) as totalsql"), QStringLiteral("from perguntas.db p")};
const QStringList byIdLines = {QStringLiteral("select id,pergunta,resp1,resp2,resp3,resp4,correta,foto"),
                               QStringLiteral("from perguntas.db"), QStringLiteral("where id = :NUMID")};
const QStringList maxLines = {QStringLiteral("select max(id) as ultimo"), QStringLiteral("from perguntas.db")};

int countQuestions(const BankLocation &where)
{
    Query query(openBank(where));
    setText(query, countLines);
    query.execSql();
    query.open();
    return query.asInteger(QStringLiteral("totalsql"));
}

// The Ids met walking the whole table forwards from first(), as texts ("" for a blank Id).
QStringList walkForward(Table &table)
{
    QStringList ids;
    table.first();
    if (!table.hasRecord())
        return ids;
    ids.append(table.fieldText(QStringLiteral("Id")));
    while (!table.atLast()) {
        table.next();
        ids.append(table.fieldText(QStringLiteral("Id")));
    }
    return ids;
}

QStringList walkBackward(Table &table)
{
    QStringList ids;
    table.last();
    if (!table.hasRecord())
        return ids;
    ids.prepend(table.fieldText(QStringLiteral("Id")));
    while (!table.atFirst()) {
        table.prior();
        ids.prepend(table.fieldText(QStringLiteral("Id")));
    }
    return ids;
}

// Makes the record with Id `id` current, walking in the active order.
void moveToId(Table &table, const QString &id)
{
    table.first();
    while (table.fieldText(QStringLiteral("Id")) != id) {
        QVERIFY2(!table.atLast(), qPrintable(QStringLiteral("no record with Id ") + id));
        table.next();
    }
}

// A question table as the set-up tool made it before its text index ignored the case of every
// letter: the same layout, IdPergunta on Pergunta under NOCASE.
void writeOldQuestionTable(const QString &directory, const QStringList &questions)
{
    PlainFile file(QDir(directory).filePath(QStringLiteral("Perguntas.DB")));
    QString sql = QStringLiteral("BEGIN;"
                                 "CREATE TABLE db(Pergunta TEXT, Resp1 TEXT, Resp2 TEXT, Resp3 TEXT, Resp4 TEXT,"
                                 " Correta TEXT, Id REAL, Foto TEXT);"
                                 "CREATE UNIQUE INDEX IdNumero ON db(Id);"
                                 "CREATE INDEX IdPergunta ON db(Pergunta COLLATE NOCASE);");
    for (int i = 0; i < questions.size(); ++i)
        sql += QStringLiteral("INSERT INTO db(Pergunta, Id) VALUES ('%1', %2);").arg(questions[i]).arg(i + 1);
    QCOMPARE(file.exec(sql + QStringLiteral("COMMIT;")), QString());
}

QString textIndexDefinition(const QString &directory)
{
    PlainFile file(QDir(directory).filePath(QStringLiteral("Perguntas.DB")));
    return file.rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'IdPergunta'")).join(QLatin1Char('|'));
}

// Texts that differ in the case of accented letters, ligatures and Ÿ; two are equal but for case.
QList<Question> accentedRows()
{
    const QStringList texts = {"água", "ÉBANO", "Pergunta número 9", "ÁGUA", "Pergunta NÚMERO 8",
                               "œuvre", "Ÿ", "÷ dividir", "caçapava, straße"};
    QList<Question> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.append(question(i + 1, texts[i]));
    return rows;
}

// Questions whose order differs between ignoring the case of A-Z only and of every letter: under
// NOCASE alone, "Ébano" sorts between "ÁGUA" and "água".
const QStringList accentedQuestions = {QStringLiteral("banana"), QStringLiteral("água"), QStringLiteral("Ébano")};

} // namespace

class TestStoreEngine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void questionColumnsKeepTheirPlaces_data();
    void questionColumnsKeepTheirPlaces();
    void countStatement();
    void questionByIdStatement();
    void largestIdStatement();
    void statementErrors_data();
    void statementErrors();
    void conversions_data();
    void conversions();

    void movesInIdOrder();
    void movesThroughBlankIdsAlone();
    void movesInStorageOrder();
    void appendPostCancel();
    void editPostCancel();
    void postBesideAnotherCursor();
    void repeatedColumnNameReadsTheFirst();
    void editOnEmptyTableAppends();
    void fieldTextRules_data();
    void fieldTextRules();
    void setOutsideEditing();
    void remove_data();
    void remove();
    void refusedPostKeepsEverything_data();
    void refusedPostKeepsEverything();
    void readOnlyBankRefusesPost();
    void findNearest_data();
    void findNearest();
    void caseFoldedKeyOfEveryCharacter();
    void accentedCapitals_data();
    void accentedCapitals();
    void movesInCaseFoldedOrder();
    void indexIsSought_data();
    void indexIsSought();
    void plainConnectionWritesTheTable();
    void oldTextIndexIsReplaced();
    void oldTextIndexKeptWhileFileCannotChange_data();
    void oldTextIndexKeptWhileFileCannotChange();
    void searchTermIsOnlyData();
    void indexChangeEndsEditing();
    void signalsFollowChanges();
    void cursorsShareTheFile();
    void directoryNameNeedsEscaping();
    void noStatementStaysOpen_data();
    void noStatementStaysOpen();

    void openErrors_data();
    void openErrors();
    void countFollowsChanges();
    void lostConnectionIsMadeAgain();
    void photosInTheServersBank_data();
    void photosInTheServersBank();
};

void TestStoreEngine::initTestCase() { REQUIRE_TEST_SERVER(); }

void TestStoreEngine::questionColumnsKeepTheirPlaces_data()
{
    // The question table as every bank of the game has it, those made by earlier versions
    // included: the columns in this order, texts cut to these sizes.
    QTest::addColumn<QuestionColumn>("column");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::newRow("Pergunta") << QuestionColumn::Pergunta << "Pergunta" << 240;
    QTest::newRow("Resp1") << QuestionColumn::Resp1 << "Resp1" << 240;
    QTest::newRow("Resp2") << QuestionColumn::Resp2 << "Resp2" << 240;
    QTest::newRow("Resp3") << QuestionColumn::Resp3 << "Resp3" << 240;
    QTest::newRow("Resp4") << QuestionColumn::Resp4 << "Resp4" << 240;
    QTest::newRow("Correta") << QuestionColumn::Correta << "Correta" << 240;
    QTest::newRow("Id") << QuestionColumn::Id << "Id" << 0;
    QTest::newRow("Foto") << QuestionColumn::Foto << "Foto" << 255;
}

void TestStoreEngine::questionColumnsKeepTheirPlaces()
{
    QFETCH(QuestionColumn, column);
    QFETCH(QString, name);
    QFETCH(int, size);
    QCOMPARE(questionField(column).name, name);
    QCOMPARE(questionField(column).size, size);

    // Every text names its column, so that one written into another column shows.
    const auto question = [](double id, const char *how) {
        const auto text = [how](const char *column) { return QStringLiteral("%1 %2").arg(column, how); };
        return Question{id, text("Pergunta"), {text("Resp1"), text("Resp2"), text("Resp3"), text("Resp4")},
                        text("Correta"), text("Foto")};
    };
    const auto expected = [&](double id, const char *how) {
        return column == QuestionColumn::Id ? QString::number(id) : QStringLiteral("%1 %2").arg(name, how);
    };
    FilledBank bank({question(7, "gravada")});
    // The column at its place in the table, and the value in it of each question, in Id order.
    const auto stored = [&] {
        const std::shared_ptr<Engine> engine = bank.bank()->engine();
        const std::unique_ptr<EngineStatement> all =
            engine->statement(QStringLiteral("select * from perguntas.db order by id"));
        QStringList found;
        while (all->step())
            found << all->columnName(int(column)).toLower() + QLatin1Char('=') + all->value(int(column)).toString();
        return found;
    };
    const QString place = name.toLower() + QLatin1Char('=');
    QCOMPARE(stored(), QStringList{place + expected(7, "gravada")});
    {
        Table table;
        table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
        QCOMPARE(table.fieldText(name), expected(7, "gravada"));
    }
    const QList<Question> read = bank.bank()->readQuestions();
    QCOMPARE(read.size(), 1);
    QCOMPARE(read[0].value(column).toString(), expected(7, "gravada"));

    // An import's writes: question 7 replaced, and a question added after it.
    bank.bank()->questionWrites()->store(
        [&](const QuestionWriter &write) {
            write(question(7, "mudada"));
            write(question(std::nan(""), "nova"));
        },
        true);
    QCOMPARE(stored(), (QStringList{place + expected(7, "mudada"), place + expected(8, "nova")}));
}

void TestStoreEngine::countStatement()
{
    FilledBank bank(numbered(1, 10));
    QCOMPARE(countQuestions(bank.where()), 10);

    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    moveToId(table, QStringLiteral("3"));
    table.remove();
    QCOMPARE(countQuestions(bank.where()), 9);

    // A record saved without a number is not counted.
    table.append();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("sem número"));
    table.post();
    QCOMPARE(countQuestions(bank.where()), 9);
}

void TestStoreEngine::questionByIdStatement()
{
    FilledBank bank(numbered(1, 5));
    Query query(bank.bank());
    setText(query, byIdLines);
    QCOMPARE(query.text(), byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 4);
    query.execSql();
    QVERIFY(!query.isOpen());
    query.open();
    QVERIFY(query.isOpen());
    QVERIFY(!query.isEmpty());
    // Column names match in any case; the statement's columns are lower case.
    QCOMPARE(query.asText(QStringLiteral("Pergunta")), QStringLiteral("Pergunta 4"));
    QCOMPARE(query.asText(QStringLiteral("RESP1")), QStringLiteral("A"));
    QCOMPARE(query.asText(QStringLiteral("foto")), QStringLiteral("/fotos/Pergunta 4.jpg"));
    QCOMPARE(query.asInteger(QStringLiteral("Id")), 4);
    QCOMPARE(errorOf([&] { query.value(QStringLiteral("nada")); }), QStringLiteral("O campo 'nada' não foi encontrado"));

    // open() runs the statement as it stands: a parameter set after execSql counts, and opening
    // again reads the table again.
    query.execSql();
    query.setParameter(QStringLiteral("NUMID"), 2);
    query.open();
    QCOMPARE(query.asText(QStringLiteral("Pergunta")), QStringLiteral("Pergunta 2"));
    Query change(bank.bank());
    change.add(QStringLiteral("update perguntas.db set pergunta = 'Outra' where id = 2"));
    change.execSql();
    query.open();
    QCOMPARE(query.asText(QStringLiteral("Pergunta")), QStringLiteral("Outra"));

    // An id that matches no row: no row, every column blank.
    setText(query, byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 99);
    query.open();
    QVERIFY(query.isEmpty());
    QVERIFY(query.value(QStringLiteral("pergunta")).isNull());
    QCOMPARE(errorOf([&] { query.asText(QStringLiteral("Pergunta")); }),
             QStringLiteral("Could not convert variant of type (Null) into type (String)"));
}

void TestStoreEngine::largestIdStatement()
{
    FilledBank bank(numbered(1, 10));
    Query query(bank.bank());
    setText(query, maxLines);
    query.open();
    QCOMPARE(query.asInteger(QStringLiteral("ULTIMO")), 10);

    FilledBank empty;
    Query onEmpty(empty.bank());
    setText(onEmpty, maxLines);
    onEmpty.open();
    QVERIFY(!onEmpty.isEmpty()); // max() gives one row, with no value
    QVERIFY(onEmpty.value(QStringLiteral("ultimo")).isNull());
    QCOMPARE(errorOf([&] { onEmpty.asInteger(QStringLiteral("ultimo")); }),
             QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    setText(onEmpty, countLines);
    onEmpty.open();
    QCOMPARE(onEmpty.asInteger(QStringLiteral("totalsql")), 0);
}

void TestStoreEngine::statementErrors_data()
{
    // Each engine gives its own reason, after the same meaning.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("error");
    QTest::newRow("syntax") << QStringList{QStringLiteral("selec id"), QStringLiteral("from perguntas.db")}
                            << onEngine(QStringLiteral("Erro no comando SQL (near \"selec\": syntax error)"),
                                        QStringLiteral("Erro no comando SQL (syntax error at or near \"selec\")"));
    QTest::newRow("no such table") << QStringList{QStringLiteral("select * from respostas.db")}
                                   << onEngine(QStringLiteral("Erro no comando SQL (no such table: respostas.db)"),
                                               QStringLiteral("Erro no comando SQL (relation \"respostas.db\" does not exist)"));
    QTest::newRow("no such column") << QStringList{QStringLiteral("select nota from perguntas.db")}
                                    << onEngine(QStringLiteral("Erro no comando SQL (no such column: nota)"),
                                                QStringLiteral("Erro no comando SQL (column \"nota\" does not exist)"));
    QTest::newRow("parameter without value") << byIdLines << QStringLiteral("Falta o valor do parâmetro 'NUMID'");
}

void TestStoreEngine::statementErrors()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, error);
    FilledBank bank(numbered(1, 3));
    Query query(bank.bank());
    setText(query, lines);
    QCOMPARE(errorOf([&] { query.open(); }), error);
    QVERIFY(!query.isOpen());
    QCOMPARE(errorOf([&] { query.execSql(); }), error);

    // A bank that is not there: a folder that does not exist, a database the server does not have.
    const BankLocation nowhere = onEngine(BankLocation::folder(bank.file(QStringLiteral("nada"))),
                                          BankLocation::server(bank.connection() + QStringLiteral("_nada")));
    Query lost(openBank(nowhere));
    setText(lost, countLines);
    const QString lostError = errorOf([&] { lost.open(); });
    if (testingOnServer()) {
        QVERIFY2(lostError.startsWith(QStringLiteral("Não foi possível conectar ao servidor PostgreSQL dbname=")
                                      + bank.database() + QStringLiteral("_nada")),
                 qPrintable(lostError));
        QVERIFY2(lostError.contains(QLatin1String("does not exist")), qPrintable(lostError));
    } else {
        QCOMPARE(lostError, QStringLiteral("A pasta não existe: ") + bank.file(QStringLiteral("nada")));
    }
}

void TestStoreEngine::conversions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("integerOrError");
    QTest::newRow("whole real") << "11.0" << "11" << "11";
    QTest::newRow("fraction rounds up") << "2.5" << "2.5" << "3";
    QTest::newRow("negative rounds away") << "-2.5" << "-2.5" << "-3";
    QTest::newRow("below half") << "7.49" << "7.49" << "7";
    QTest::newRow("integer") << "42" << "42" << "42";
    QTest::newRow("integer text") << "'12'" << "12" << "12";
    QTest::newRow("other text") << "'doze'" << "doze" << "'doze' não é um número inteiro válido";
    QTest::newRow("beyond 32 bits") << "3000000000" << "3000000000"
                                    << "Could not convert variant of type (Int64) into type (Integer)";
}

void TestStoreEngine::conversions()
{
    QFETCH(QString, expression);
    QFETCH(QString, text);
    QFETCH(QString, integerOrError);
    FilledBank bank;
    Query query(bank.bank());
    setText(query, {QStringLiteral("select %1 as valor").arg(expression)});
    query.open();
    QCOMPARE(query.asText(QStringLiteral("Valor")), text);
    QString integer;
    try {
        integer = QString::number(query.asInteger(QStringLiteral("valor")));
    } catch (const AppError &error) {
        integer = error.text();
    }
    QCOMPARE(integer, integerOrError);
}

void TestStoreEngine::movesInIdOrder()
{
    // Stored out of order, with gaps and two records without a number.
    const double blank = std::nan("");
    FilledBank bank({question(7, QStringLiteral("sete")), question(blank, QStringLiteral("sem número 1")),
               question(2, QStringLiteral("dois")), question(30, QStringLiteral("trinta")),
               question(blank, QStringLiteral("sem número 2")), question(11, QStringLiteral("onze"))});
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 1")); // opens on the first

    const QStringList order = {QString(), QString(), QStringLiteral("2"), QStringLiteral("7"),
                               QStringLiteral("11"), QStringLiteral("30")};
    QCOMPARE(walkForward(table), order);
    QCOMPARE(walkBackward(table), order);

    // The blank ones run in the order they were stored; moves stop at both ends.
    table.first();
    QVERIFY(table.atFirst());
    table.prior();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 1"));
    table.next();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 2"));
    table.next();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("dois"));
    table.prior();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 2"));
    table.last();
    table.next();
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("30"));
    QVERIFY(table.atLast());
}

void TestStoreEngine::movesThroughBlankIdsAlone()
{
    // No record has a number: every end of the order is in the run of blank ones.
    const double blank = std::nan("");
    FilledBank bank({question(blank, QStringLiteral("sem número 1")), question(blank, QStringLiteral("sem número 2"))});
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.last();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 2"));
    QVERIFY(table.atLast());
    table.first();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("sem número 1"));
    QVERIFY(table.atFirst());
    QCOMPARE(walkForward(table), (QStringList{QString(), QString()}));
}

void TestStoreEngine::movesInStorageOrder()
{
    FilledBank bank({question(7, QStringLiteral("sete")), question(2, QStringLiteral("dois")),
               question(30, QStringLiteral("trinta"))});
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields());
    QCOMPARE(walkForward(table), (QStringList{"7", "2", "30"}));
    QCOMPARE(walkBackward(table), (QStringList{"7", "2", "30"}));
}

void TestStoreEngine::appendPostCancel()
{
    FilledBank bank(numbered(1, 10));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    moveToId(table, QStringLiteral("4"));

    // Cancel: nothing stored, the record current before is current again.
    table.append();
    QCOMPARE(table.state(), Table::State::Insert);
    QVERIFY(!table.hasRecord());
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QString());
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("descartada"));
    table.cancel();
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("4"));
    QCOMPARE(countQuestions(bank.where()), 10);

    // Post: the new record is stored and current, in its place in Id order.
    table.append();
    QVERIFY(!table.isModified());
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("11"));
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("Nova"));
    QVERIFY(table.isModified());
    table.post();
    QCOMPARE(table.state(), Table::State::Browse);
    QVERIFY(table.hasRecord());
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Nova"));
    QVERIFY(table.atLast());
    table.prior();
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("10"));

    // Fields left untouched hold no value.
    Query query(bank.bank());
    setText(query, byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 11);
    query.open();
    QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Nova"));
    QVERIFY(query.value(QStringLiteral("resp1")).isNull());
    QVERIFY(query.value(QStringLiteral("foto")).isNull());

    // Cancel on an empty table leaves it without a record.
    FilledBank empty;
    Table none;
    none.open(*empty.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    none.append();
    none.cancel();
    QVERIFY(!none.hasRecord());
}

void TestStoreEngine::editPostCancel()
{
    FilledBank bank(numbered(1, 3));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.next();

    table.edit();
    QCOMPARE(table.state(), Table::State::Edit);
    QVERIFY(table.hasRecord());
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("mudada"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("mudada"));
    table.cancel();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Pergunta 2"));

    table.edit();
    table.setFieldText(QStringLiteral("Resp4"), QStringLiteral("Quarta"));
    table.post();
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("2"));
    Query query(bank.bank());
    setText(query, byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 2);
    query.open();
    QCOMPARE(query.asText(QStringLiteral("resp4")), QStringLiteral("Quarta"));
    QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Pergunta 2"));

    // A new number moves the record to its new place in the order.
    table.edit();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("50"));
    table.post();
    QVERIFY(table.atLast());
    QCOMPARE(walkForward(table), (QStringList{"1", "3", "50"}));
}

void TestStoreEngine::postBesideAnotherCursor()
{
    // The editor and the game hold separate cursors on one table, and the sqlite3 shell may
    // change it too: a post writes only what its own edit set.
    FilledBank bank(numbered(1, 3));
    Table editor, other;
    editor.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    other.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    editor.next();
    other.next();

    editor.edit();
    editor.setFieldText(QStringLiteral("Resp1"), QStringLiteral("primeira"));
    other.edit();
    other.setFieldText(QStringLiteral("Resp2"), QStringLiteral("segunda"));
    other.post();
    editor.post();
    Query query(bank.bank());
    setText(query, byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 2);
    query.open();
    QCOMPARE(query.asText(QStringLiteral("resp1")), QStringLiteral("primeira"));
    QCOMPARE(query.asText(QStringLiteral("resp2")), QStringLiteral("segunda"));
    QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Pergunta 2"));

    // A record deleted by the other cursor while being edited: the post says so and stores nothing.
    editor.edit();
    editor.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("perdida"));
    other.remove();
    QCOMPARE(errorOf([&] { editor.post(); }), QStringLiteral("O registro não foi encontrado ou foi alterado por outro usuário"));
    QCOMPARE(countQuestions(bank.where()), 2);
    Query lost(bank.bank());
    setText(lost, {QStringLiteral("select count(*) as n from perguntas.db where pergunta = 'perdida'")});
    lost.open();
    QCOMPARE(lost.asInteger(QStringLiteral("n")), 0);
}

void TestStoreEngine::repeatedColumnNameReadsTheFirst()
{
    FilledBank bank(numbered(1, 3));
    Query query(bank.bank());
    setText(query, {QStringLiteral("select id, pergunta as ID from perguntas.db where id = 2")});
    query.open();
    QCOMPARE(query.asInteger(QStringLiteral("id")), 2);
}

void TestStoreEngine::editOnEmptyTableAppends()
{
    FilledBank bank;
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QVERIFY(!table.hasRecord());
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QString());
    table.edit();
    QCOMPARE(table.state(), Table::State::Insert);
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("1"));
    table.post();
    QVERIFY(table.hasRecord());
    QCOMPARE(countQuestions(bank.where()), 1);
}

void TestStoreEngine::fieldTextRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("read");
    QTest::newRow("cut to 240") << "Pergunta" << QString(300, QLatin1Char('p')) << QString(240, QLatin1Char('p'));
    QTest::newRow("photo cut to 255") << "Foto" << QString(300, QLatin1Char('f')) << QString(255, QLatin1Char('f'));
    QTest::newRow("Windows-1252 kept") << "Resp1" << "Ação € “aspas”" << "Ação € “aspas”";
    QTest::newRow("outside Windows-1252") << "Resp1" << "Ω e 日本" << "? e ??";
    QTest::newRow("whole number") << "Id" << "11" << "11";
    QTest::newRow("fraction") << "Id" << "11.5" << "11.5";
    QTest::newRow("spaces around") << "Id" << " 12 " << "12";
    QTest::newRow("not a number") << "Id" << "abc" << "'abc' não é um número válido";
    QTest::newRow("comma") << "Id" << "11,5" << "'11,5' não é um número válido";
}

void TestStoreEngine::fieldTextRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, read);
    FilledBank bank(numbered(1, 1));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.edit();
    const QString error = errorOf([&] { table.setFieldText(field, typed); });
    if (!error.isEmpty()) {
        QCOMPARE(error, read);
        QCOMPARE(table.fieldText(field), QStringLiteral("1")); // the field keeps its value
        return;
    }
    table.post();
    QCOMPARE(table.fieldText(field), read);
    // Read back from the file by a statement, to see what was stored.
    Query query(bank.bank());
    setText(query, {QStringLiteral("select %1 as v from perguntas.db").arg(field)});
    query.open();
    QCOMPARE(query.asText(QStringLiteral("v")), read);
}

void TestStoreEngine::setOutsideEditing()
{
    FilledBank bank(numbered(1, 2));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    const QString notEditing = QStringLiteral("O conjunto de dados não está em modo de edição ou inclusão");
    QCOMPARE(errorOf([&] { table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("x")); }), notEditing);
    QCOMPARE(errorOf([&] { table.post(); }), notEditing);
    QCOMPARE(errorOf([&] { table.fieldText(QStringLiteral("Nada")); }),
             QStringLiteral("O campo 'Nada' não foi encontrado"));

    // An empty text makes a field blank.
    table.edit();
    table.setFieldText(QStringLiteral("Foto"), QString());
    table.post();
    QVERIFY(table.fieldValue(QStringLiteral("Foto")).isNull());
    QCOMPARE(table.fieldText(QStringLiteral("Foto")), QString());
}

void TestStoreEngine::remove_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("currentAfter"); // "" when no record is left
    QTest::newRow("middle: the next") << 5 << "3" << "4";
    QTest::newRow("first: the next") << 5 << "1" << "2";
    QTest::newRow("last: the prior") << 5 << "5" << "4";
    QTest::newRow("only record: none") << 1 << "1" << "";
}

void TestStoreEngine::remove()
{
    QFETCH(int, count);
    QFETCH(QString, removed);
    QFETCH(QString, currentAfter);
    FilledBank bank(numbered(1, count));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    moveToId(table, removed);
    table.remove();
    QCOMPARE(countQuestions(bank.where()), count - 1);
    QCOMPARE(table.hasRecord(), !currentAfter.isEmpty());
    QCOMPARE(table.fieldText(QStringLiteral("Id")), currentAfter);
    if (currentAfter.isEmpty())
        QCOMPARE(errorOf([&] { table.remove(); }), QStringLiteral("Não é possível fazer esta operação em um conjunto de dados vazio"));
}

void TestStoreEngine::refusedPostKeepsEverything_data()
{
    const QString repeated = onEngine(QStringLiteral("A tabela recusou a alteração (UNIQUE constraint failed: db.Id)"),
                                      QStringLiteral("A tabela recusou a alteração (duplicate key value violates "
                                                     "unique constraint \"idnumero\")"));
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("trigger"); // a trigger refuses every change of this kind
    QTest::addColumn<QString>("error");
    QTest::newRow("insert, repeated Id") << true << "3" << "" << repeated;
    QTest::newRow("edit, repeated Id") << false << "3" << "" << repeated;
    QTest::newRow("edit refused by the table") << false << "" << "update" << "A tabela recusou a alteração (recusado)";
    QTest::newRow("insert refused by the table") << true << "9" << "insert" << "A tabela recusou a alteração (recusado)";
}

void TestStoreEngine::refusedPostKeepsEverything()
{
    QFETCH(bool, inserting);
    QFETCH(QString, id);
    QFETCH(QString, trigger);
    QFETCH(QString, error);
    FilledBank bank(numbered(1, 5));
    if (!trigger.isEmpty()) {
        const QList<QStringList> statements =
            refusingTrigger(QStringLiteral("perguntas"), trigger, QStringLiteral("recusado"));
        Query query(bank.bank());
        for (const QStringList &lines : statements) {
            setText(query, lines);
            query.execSql();
        }
    }
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    inserting ? table.append() : table.edit();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("digitada"));
    if (!id.isEmpty())
        table.setFieldText(QStringLiteral("Id"), id);

    QCOMPARE(errorOf([&] { table.post(); }), error);
    QCOMPARE(table.state(), inserting ? Table::State::Insert : Table::State::Edit);
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("digitada"));
    QVERIFY(table.isModified());
    QCOMPARE(countQuestions(bank.where()), 5);

    table.cancel();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Pergunta 1"));
}

void TestStoreEngine::readOnlyBankRefusesPost()
{
    // A table file that only allows reading; on a server, a connection that only allows reading.
    if (!testingOnServer() && ::geteuid() == 0)
        QSKIP("file permissions do not stop root from writing");
    FilledBank bank(numbered(1, 2));
    BankLocation where = bank.where();
    if (testingOnServer())
        where = BankLocation::server(bank.connection() + QStringLiteral(" options='-c default_transaction_read_only=on'"));
    else
        QFile::setPermissions(bank.file(QStringLiteral("Perguntas.DB")), QFile::ReadOwner);
    Table table;
    table.open(*openBank(where), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.append();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("3"));
    QCOMPARE(errorOf([&] { table.post(); }),
             onEngine(QStringLiteral("A tabela não pode ser alterada: o arquivo ou a sua pasta só permite leitura "
                                     "(attempt to write a readonly database)"),
                      QStringLiteral("A tabela não pode ser alterada: a conexão com o servidor só permite leitura "
                                     "(cannot execute INSERT in a read-only transaction)")));
    QCOMPARE(table.state(), Table::State::Insert);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("3"));
}

void TestStoreEngine::findNearest_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("found");
    QTest::newRow("prefix") << "aba" << "Abacaxi";
    QTest::newRow("other case") << "BAN" << "banana";
    QTest::newRow("exact") << "cereja" << "cereja";
    QTest::newRow("between") << "caqui" << "cereja";
    QTest::newRow("empty term") << "" << "Abacaxi";
    QTest::newRow("after the last: the last") << "zzz" << "FIGO";
    QTest::newRow("equal keys: the first stored") << "FIGO" << "figo";
}

void TestStoreEngine::findNearest()
{
    QFETCH(QString, key);
    QFETCH(QString, found);
    FilledBank bank({question(1, QStringLiteral("banana")), question(2, QStringLiteral("Damasco")),
               question(3, QStringLiteral("figo")), question(4, QStringLiteral("Abacaxi")),
               question(5, QStringLiteral("cereja")), question(6, QStringLiteral("FIGO"))});
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.last();
    table.setIndexName(QStringLiteral("IdPergunta"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("6")); // the current record stays
    table.findNearest(key);
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), found);

    // Back in Id order, the record found stays current and moves follow the numbers again.
    const QString id = table.fieldText(QStringLiteral("Id"));
    table.setIndexFieldNames(QStringLiteral("id"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), id);
    if (!table.atLast()) {
        table.next();
        QCOMPARE(table.fieldText(QStringLiteral("Id")), QString::number(id.toInt() + 1));
    }
}

void TestStoreEngine::caseFoldedKeyOfEveryCharacter()
{
    // Every character of Windows-1252 beside every other, so that a key that took a byte for the
    // start of another character would show. On a folder the key is the hex form of the text in
    // small letters; on a server, the text in small letters, compared here in the same hex form.
    QString text;
    for (int a = 1; a < 256; ++a)
        for (int b = 1; b < 256; ++b)
            text += fromWin1252(QByteArray(1, char(a)) + char(b));
    const QByteArray expected = text.toLower().toUtf8().toHex().toUpper();

    QByteArray actual;
    if (testingOnServer()) {
        FilledBank bank; // the server's key is a function of the question table's schema
        PlainServer server(bank.connection());
        const QStringList key = server.rows(QStringLiteral("SELECT perguntas.chave($1)"), {text});
        QCOMPARE(key.size(), 1);
        actual = key[0].toUtf8().toHex().toUpper();
    } else {
        QTemporaryDir dir;
        PlainFile file(dir.filePath(QStringLiteral("chaves.db")));
        const QStringList key = file.rows(QStringLiteral("SELECT %1").arg(caseFoldedKey(QStringLiteral("?1"))), {text});
        QCOMPARE(key.size(), 1);
        actual = key[0].toLatin1();
    }
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    QVERIFY2(actual == expected, qPrintable(QStringLiteral("from hex digit %1: %2 instead of %3")
                                                .arg(at)
                                                .arg(QString::fromLatin1(actual.mid(at - 6, 16)),
                                                     QString::fromLatin1(expected.mid(at - 6, 16)))));
}

void TestStoreEngine::accentedCapitals_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("found");
    QTest::newRow("capital accented") << "PERGUNTA NÚMERO 8" << "Pergunta NÚMERO 8";
    QTest::newRow("small accented") << "pergunta número 9" << "Pergunta número 9";
    QTest::newRow("equal keys: the first stored") << "ÁGUA" << "água";
    QTest::newRow("small for capital") << "ébano" << "ÉBANO";
    QTest::newRow("ligature") << "ŒUV" << "œuvre";
    QTest::newRow("y with diaeresis") << "ÿ" << "Ÿ";
    QTest::newRow("cedilla") << "CAÇAPAVA" << "caçapava, straße";
    // × is no capital of ÷: it sorts before every small accented letter.
    QTest::newRow("multiplication sign") << "×" << "água";
}

void TestStoreEngine::accentedCapitals()
{
    QFETCH(QString, key);
    QFETCH(QString, found);
    FilledBank bank(accentedRows());
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(key);
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), found);
}

void TestStoreEngine::movesInCaseFoldedOrder()
{
    // In small letters and byte order, accented letters after z: "caçapava" < "pergunta número 8"
    // < "... 9" < "água" (twice, in the order stored) < "ébano" < "÷" < "ÿ" < "œuvre".
    FilledBank bank(accentedRows());
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    const QStringList order = {"9", "5", "3", "1", "4", "2", "8", "7", "6"};
    QCOMPARE(walkForward(table), order);
    QCOMPARE(walkBackward(table), order);
}

void TestStoreEngine::indexIsSought_data()
{
    // The statements by which the cursor seeks in its indexes, as it writes them.
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("arguments"); // on a server, of the prepared statement
    QTest::addColumn<QString>("step");
    if (!testingOnServer()) {
        const QString key = caseFoldedKey(QStringLiteral("\"Pergunta\""));
        QTest::newRow("nearest") << QStringLiteral("WHERE %1 >= %2 ORDER BY %1, rowid LIMIT 1")
                                        .arg(key, caseFoldedKey(QStringLiteral("?1")))
                                 << "" << "SEARCH db USING INDEX IdPergunta (<expr>>?)";
        QTest::newRow("next, same key") << QStringLiteral("WHERE %1 = ?1 AND rowid > ?2 ORDER BY rowid LIMIT 1").arg(key)
                                        << "" << "SEARCH db USING INDEX IdPergunta (<expr>=? AND rowid>?)";
        QTest::newRow("prior key") << QStringLiteral("WHERE %1 < ?1 ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(key)
                                   << "" << "SEARCH db USING INDEX IdPergunta (<expr><?)";
        return;
    }
    // On a server, a move is one row comparison with (key, linha), matched with the index on both.
    const QString key = serverCaseFoldedKey(QStringLiteral("\"pergunta\"")) + QStringLiteral(" COLLATE \"C\"");
    QTest::newRow("nearest") << QStringLiteral("WHERE %1 >= %2 ORDER BY %1, linha LIMIT 1")
                                    .arg(key, serverCaseFoldedKey(QStringLiteral("$1")))
                             << "'ban'" << "Index Scan using idpergunta on db";
    QTest::newRow("next") << QStringLiteral("WHERE (%1, linha) > ($1, $2) ORDER BY %1, linha LIMIT 1").arg(key)
                          << "'banana', 2" << "Index Scan using idpergunta on db";
    QTest::newRow("prior") << QStringLiteral("WHERE (%1, linha) < ($1, $2) ORDER BY %1 DESC, linha DESC LIMIT 1").arg(key)
                           << "'banana', 2" << "Index Scan Backward using idpergunta on db";
    QTest::newRow("next number") << QStringLiteral("WHERE (\"id\", linha) > ($1, $2) ORDER BY \"id\", linha LIMIT 1")
                                 << "2, 2" << "Index Scan using idordem on db";
    QTest::newRow("prior number")
        << QStringLiteral("WHERE (\"id\", linha) < ($1, $2) ORDER BY \"id\" DESC, linha DESC LIMIT 1")
        << "2, 2" << "Index Scan Backward using idordem on db";
}

void TestStoreEngine::indexIsSought()
{
    QFETCH(QString, tail);
    QFETCH(QString, arguments);
    QFETCH(QString, step);
    FilledBank bank(numbered(1, 3));
    // One step, in the index: no scan of the table, no sorting, no rows read and dropped.
    if (!testingOnServer()) {
        PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
        QCOMPARE(file.rows(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid, * FROM db ") + tail, {}, 3),
                 QStringList{step});
        return;
    }
    // A table this small is read whole unless that is ruled out; what is left must be the seek.
    PlainServer server(bank.connection());
    QCOMPARE(server.exec(QStringLiteral("SET enable_seqscan = off; SET enable_bitmapscan = off; SET enable_sort = off;"
                                        "PREPARE seek AS SELECT linha, * FROM perguntas.db ")
                         + tail),
             QString());
    QStringList plan = server.rows(QStringLiteral("EXPLAIN (COSTS OFF) EXECUTE seek(%1)").arg(arguments));
    plan.removeIf([](const QString &line) { return line.trimmed().startsWith(QLatin1String("Index Cond:")); });
    QCOMPARE(plan, (QStringList{QStringLiteral("Limit"), QStringLiteral("  ->  ") + step}));
}

void TestStoreEngine::plainConnectionWritesTheTable()
{
    // The sqlite3 shell, or psql, knows nothing of the game: its writes must keep the text index
    // whole.
    FilledBank bank({question(1, QStringLiteral("banana")), question(2, QStringLiteral("Ébano"))});
    if (testingOnServer()) {
        PlainServer server(bank.connection());
        QCOMPARE(server.exec(QStringLiteral("INSERT INTO perguntas.db(pergunta, id) VALUES ('ÁGUA', 3);"
                                            "UPDATE perguntas.db SET pergunta = 'ÓRBITA' WHERE id = 1;")),
                 QString());
    } else {
        PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
        QCOMPARE(file.exec(QStringLiteral("INSERT INTO db(Pergunta, Id) VALUES ('ÁGUA', 3);"
                                          "UPDATE db SET Pergunta = 'ÓRBITA' WHERE Id = 1;")),
                 QString());
        QCOMPARE(file.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    }
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("água"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("3"));
    table.findNearest(QStringLiteral("órbita"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("1"));

    // And the engine's writes leave a table the plain connection finds whole, in the same order:
    // água < Ânfora < Ébano.
    table.edit();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("Ânfora"));
    table.post();
    const QStringList order = {"3", "1", "2"};
    if (testingOnServer()) {
        PlainServer server(bank.connection());
        QCOMPARE(server.rows(QStringLiteral("SELECT id::integer FROM perguntas.db ORDER BY perguntas.chave(pergunta)")),
                 order);
        return;
    }
    PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
    QCOMPARE(file.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    QCOMPARE(file.rows(QStringLiteral("SELECT CAST(Id AS INTEGER) FROM db ORDER BY %1")
                           .arg(caseFoldedKey(QStringLiteral("Pergunta")))),
             order);
}

void TestStoreEngine::oldTextIndexIsReplaced()
{
    FOLDER_ONLY("table files made by earlier versions of the set-up tool");
    QTemporaryDir dir;
    writeOldQuestionTable(dir.path(), accentedQuestions);
    const QString before = textIndexDefinition(dir.path());
    QVERIFY2(before.contains(QLatin1String("NOCASE")), qPrintable(before));

    Table table;
    table.open(*openBank(dir.path()), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("ÁGUA"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("água"));
    table.findNearest(QStringLiteral("BAN"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("banana"));

    // The file keeps its table and the index on Id, and a plain connection reads and writes it.
    const QString after = textIndexDefinition(dir.path());
    QVERIFY2(!after.contains(QLatin1String("NOCASE")), qPrintable(after));
    QVERIFY2(after.endsWith(caseFoldedKey(QStringLiteral("\"Pergunta\"")) + QLatin1Char(')')), qPrintable(after));
    PlainFile file(dir.filePath(QStringLiteral("Perguntas.DB")));
    QCOMPARE(file.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name")),
             (QStringList{QStringLiteral("IdNumero"), QStringLiteral("IdPergunta")}));
    QCOMPARE(file.exec(QStringLiteral("INSERT INTO db(Pergunta, Id) VALUES ('Óleo', 4)")), QString());
    QCOMPARE(file.rows(QStringLiteral("SELECT Pergunta FROM db ORDER BY Id")), accentedQuestions + QStringList{"Óleo"});
    QCOMPARE(file.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
}

void TestStoreEngine::oldTextIndexKeptWhileFileCannotChange_data()
{
    QTest::addColumn<bool>("locked"); // otherwise read-only
    QTest::newRow("locked by another program") << true;
    QTest::newRow("read-only file") << false;
}

void TestStoreEngine::oldTextIndexKeptWhileFileCannotChange()
{
    FOLDER_ONLY("table files made by earlier versions of the set-up tool");
    QFETCH(bool, locked);
    if (!locked && ::geteuid() == 0)
        QSKIP("file permissions do not stop root from writing");
    QTemporaryDir dir;
    writeOldQuestionTable(dir.path(), accentedQuestions);
    const QString path = dir.filePath(QStringLiteral("Perguntas.DB"));
    const QString before = textIndexDefinition(dir.path());
    {
        PlainFile other(path);
        if (locked) {
            QCOMPARE(other.exec(QStringLiteral("BEGIN IMMEDIATE")), QString()); // a write under way
            // A file that only stays as it is because it is locked now: the log says why.
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                                   "^O índice IdPergunta da tabela perguntas não pôde ser trocado")));
        } else {
            QFile::setPermissions(path, QFile::ReadOwner);
        }

        // The table opens and searches in the old order, which ignores the case of A-Z only.
        Table table;
        table.open(*openBank(dir.path()), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
        table.setIndexName(QStringLiteral("IdPergunta"));
        table.findNearest(QStringLiteral("BAN"));
        QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("banana"));
        table.findNearest(QStringLiteral("ÁGUA"));
        QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Ébano"));
        QCOMPARE(textIndexDefinition(dir.path()), before);
        if (locked)
            QCOMPARE(other.exec(QStringLiteral("COMMIT")), QString());
        else
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // Once the file can change, the next opening replaces the index.
    Table table;
    table.open(*openBank(dir.path()), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("ÁGUA"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("água"));
    QVERIFY(textIndexDefinition(dir.path()) != before);
}

void TestStoreEngine::searchTermIsOnlyData()
{
    FilledBank bank({question(1, QStringLiteral("alfa")), question(2, QStringLiteral("beta")),
               question(3, QStringLiteral("gama"))});
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("b' OR 1=1; DROP TABLE db; -- %\"_"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("beta")); // "b'" sorts before "be"
    table.findNearest(QStringLiteral("c%' --"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("gama"));
    QCOMPARE(countQuestions(bank.where()), 3);

    // While the index is active, moves follow its order.
    table.first();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("alfa"));
    table.next();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("beta"));

    QCOMPARE(errorOf([&] { table.setIndexName(QStringLiteral("IdResposta")); }),
             QStringLiteral("O índice não foi encontrado: IdResposta"));
}

void TestStoreEngine::indexChangeEndsEditing()
{
    FilledBank bank(numbered(1, 3));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));

    // A changed record is posted...
    table.append();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("4"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(countQuestions(bank.where()), 4);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("4"));

    // ...an untouched one dropped.
    table.setIndexFieldNames(QStringLiteral("id"));
    table.append();
    table.setIndexName(QStringLiteral("IdPergunta"));
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(countQuestions(bank.where()), 4);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("4"));
    QCOMPARE(errorOf([&] { table.post(); }), QStringLiteral("O conjunto de dados não está em modo de edição ou inclusão"));
}

void TestStoreEngine::signalsFollowChanges()
{
    FilledBank bank(numbered(1, 3));
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QSignalSpy records(&table, &Table::recordChanged);
    QSignalSpy states(&table, &Table::stateChanged);

    table.next();
    QCOMPARE(records.count(), 1);
    QCOMPARE(states.count(), 0);
    table.edit();
    QCOMPARE(states.count(), 1);
    records.clear();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("nova"));
    QCOMPARE(records.count(), 1);
    table.post();
    QCOMPARE(states.count(), 2);
    table.last();
    records.clear();
    table.next(); // already at the end: nothing changes
    QCOMPARE(records.count(), 0);
}

void TestStoreEngine::cursorsShareTheFile()
{
    FilledBank bank(numbered(1, 3));
    Table editor;
    Table game;
    editor.open(*bank.bank(), QStringLiteral("perguntas.db"), questionFields(), QStringLiteral("Id"));
    game.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields());
    if (!testingOnServer()) {
        Table login;
        login.open(*bank.bank(), QStringLiteral("inicial.db"), accountFields());
        QCOMPARE(login.fieldText(QStringLiteral("login")), QStringLiteral("Adm"));
        login.edit();
        login.setFieldText(QStringLiteral("Senha"), QStringLiteral("12345678"));
        login.post();
        QCOMPARE(login.fieldText(QStringLiteral("Senha")), QStringLiteral("1234567"));
    }

    editor.append();
    editor.setFieldText(QStringLiteral("Id"), QStringLiteral("4"));
    editor.post();
    QCOMPARE(countQuestions(bank.where()), 4);
    game.last();
    QCOMPARE(game.fieldText(QStringLiteral("Id")), QStringLiteral("4"));
}

void TestStoreEngine::directoryNameNeedsEscaping()
{
    FOLDER_ONLY("the folder's path, in a file URI");
    // Characters that mean something in a file URI must reach the file system unchanged.
    QTemporaryDir root;
    const QString directory = root.filePath(QStringLiteral("dados ?x=1#%41 ação"));
    QVERIFY(QDir().mkpath(directory));
    openBank(directory)->createQuestionTable();
    openBank(directory)->insertQuestions({question(1, QStringLiteral("um")), question(2, QStringLiteral("dois"))});
    Table table;
    table.open(*openBank(directory), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.last();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("dois"));
    QCOMPARE(countQuestions(directory), 2);
    QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("dados ?x=1#%41 ação")});
}

void TestStoreEngine::noStatementStaysOpen_data()
{
    QTest::addColumn<QString>("use");
    QTest::newRow("statement opened on its first row") << "open";
    QTest::newRow("statement failing on its first row") << "failing";
    QTest::newRow("parameter not in the text") << "parameter";
    QTest::newRow("change refused by the table") << "refused";
    QTest::newRow("cursor moved and looked around") << "cursor";
}

// Whatever way a statement ends, it holds no lock on the table afterwards: another program (the
// set-up tool, a second copy of the game) could not write the table until the game closed it.
void TestStoreEngine::noStatementStaysOpen()
{
    QFETCH(QString, use);
    FilledBank bank(numbered(1, 5));
    // Both stay alive while the table is tried: they hold the bank's connection.
    Query query(bank.bank());
    Table table;
    if (use == QLatin1String("open")) {
        query.run(byIdLines, {{QStringLiteral("NUMID"), 2}});
        QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Pergunta 2"));
    } else if (use == QLatin1String("failing")) {
        setText(query, {onEngine(QStringLiteral("select json(pergunta) as v from perguntas.db"),
                                 QStringLiteral("select pergunta::integer as v from perguntas.db"))});
        const QString error = errorOf([&] { query.open(); });
        QVERIFY2(error.contains(onEngine(QStringLiteral("malformed JSON"), QStringLiteral("invalid input syntax"))),
                 qPrintable(error));
    } else if (use == QLatin1String("parameter")) {
        setText(query, byIdLines);
        query.setParameter(QStringLiteral("NUMID"), 2);
        query.setParameter(QStringLiteral("OUTRO"), 3);
        QCOMPARE(errorOf([&] { query.open(); }), QStringLiteral("O parâmetro 'OUTRO' não foi encontrado"));
    } else if (use == QLatin1String("refused")) {
        setText(query, {QStringLiteral("update perguntas.db set id = 1")});
        const QString error = errorOf([&] { query.execSql(); });
        QVERIFY2(error.contains(onEngine(QStringLiteral("UNIQUE constraint failed"), QStringLiteral("duplicate key value"))),
                 qPrintable(error));
    } else {
        table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
        table.next();
        QVERIFY(!table.atLast());
        QCOMPARE(table.neighbourText(true, QStringLiteral("Id")), QStringLiteral("3"));
    }
    if (testingOnServer()) {
        // The strongest lock, taken at once or not at all: any transaction left open would hold
        // at least a share of the table.
        PlainServer other(bank.connection());
        QCOMPARE(other.exec(QStringLiteral("BEGIN; LOCK TABLE perguntas.db IN ACCESS EXCLUSIVE MODE NOWAIT; ROLLBACK")),
                 QString());
    } else {
        PlainFile other(bank.file(QStringLiteral("Perguntas.DB")));
        QCOMPARE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")), QString());
        QCOMPARE(other.exec(QStringLiteral("ROLLBACK")), QString());
    }
    // The statement that failed runs again once it is right.
    if (use == QLatin1String("parameter")) {
        setText(query, byIdLines);
        query.setParameter(QStringLiteral("NUMID"), 3);
        query.open();
        QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Pergunta 3"));
    }
}

void TestStoreEngine::openErrors_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("error"); // %1 is the folder, or the bank's database
    QTest::addColumn<bool>("whole");    // otherwise the start of the error, the engine's words after it
    if (testingOnServer()) {
        QTest::newRow("missing database") << "nodir" << "Perguntas.DB"
                                          << "Não foi possível conectar ao servidor PostgreSQL dbname=%1_nada: " << false;
        QTest::newRow("missing table") << "" << "Respostas.DB" << "A tabela não existe no servidor: respostas.db" << true;
        QTest::newRow("missing field") << "" << "inicial.db"
                                       << "O campo 'Pergunta' não foi encontrado na tabela inicial.db" << true;
        QTest::newRow("table made by hand") << "byhand" << "Perguntas.DB"
                                            << "A tabela perguntas.db do servidor não tem a coluna linha, que numera os registros"
                                            << true;
        return;
    }
    QTest::newRow("missing directory") << "nodir" << "Perguntas.DB" << "A pasta não existe: %1/nada" << true;
    QTest::newRow("missing file") << "" << "Respostas.DB" << "A tabela não existe: %1/Respostas.DB" << true;
    QTest::newRow("not a database") << "garbage" << "Perguntas.DB" << "%1/Perguntas.DB: O arquivo não é uma tabela de banco de dados (file is not a database)" << true;
    QTest::newRow("missing field") << "" << "inicial.db" << "O campo 'Pergunta' não foi encontrado na tabela %1/inicial.db" << true;
    QTest::newRow("empty file") << "empty" << "Perguntas.DB" << "O arquivo %1/Perguntas.DB não tem a tabela db" << true;
}

void TestStoreEngine::openErrors()
{
    QFETCH(QString, setup);
    QFETCH(QString, fileName);
    QFETCH(QString, error);
    QFETCH(bool, whole);
    ScratchBank bank;
    const QString dir = bank.folder();
    BankLocation where = bank.where();
    if (testingOnServer()) {
        if (error.contains(QLatin1String("%1")))
            error = error.arg(bank.database());
        if (setup == QLatin1String("nodir"))
            where = BankLocation::server(bank.connection() + QStringLiteral("_nada"));
        else if (setup == QLatin1String("byhand"))
            QCOMPARE(PlainServer(bank.connection())
                         .exec(QStringLiteral("CREATE SCHEMA perguntas; CREATE TABLE perguntas.db (pergunta text,"
                                              " resp1 text, resp2 text, resp3 text, resp4 text, correta text,"
                                              " id double precision, foto text)")),
                     QString());
        else
            QCOMPARE(PlainServer(bank.connection())
                         .exec(QStringLiteral("CREATE SCHEMA inicial; CREATE TABLE inicial.db (login text, senha text,"
                                              " linha bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY)")),
                     QString());
    } else {
        error = error.arg(dir);
        if (setup != QLatin1String("nodir") && setup != QLatin1String("")) {
            QFile file(bank.file(QStringLiteral("Perguntas.DB")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (setup == QLatin1String("garbage"))
                file.write(QByteArray(4096, 'x'));
        } else if (setup.isEmpty()) {
            createAccountTable(dir, QStringLiteral("Adm"), QStringLiteral("1234"));
        }
        if (setup == QLatin1String("nodir"))
            where = BankLocation::folder(bank.file(QStringLiteral("nada")));
        if (setup == QLatin1String("garbage")) // left out of the connection's statements, and the log says why
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^O arquivo .*/Perguntas.DB fica fora")));
    }
    Table table;
    const QString actual = errorOf([&] { table.open(*openBank(where), fileName, questionFields(), QStringLiteral("Id")); });
    if (whole)
        QCOMPARE(actual, error);
    else
        QVERIFY2(actual.startsWith(error) && actual.size() > error.size(), qPrintable(actual));
    QVERIFY(!table.isOpen());
    // Opening never creates a table, a folder or a database.
    if (testingOnServer()) {
        QCOMPARE(PlainServer(bank.connection()).rows(QStringLiteral("SELECT pg_catalog.to_regclass('respostas.db') IS NULL")),
                 QStringList{QStringLiteral("t")});
        QCOMPARE(PlainServer(QString()).rows(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = $1"),
                                             {bank.database() + QStringLiteral("_nada")}),
                 QStringList{QStringLiteral("0")});
    } else {
        QVERIFY(!QFile::exists(bank.file(QStringLiteral("Respostas.DB"))));
        QVERIFY(!QFile::exists(bank.file(QStringLiteral("nada"))));
    }
}

void TestStoreEngine::countFollowsChanges()
{
    // The bank keeps its count while the table is unchanged: a change through the game's own
    // connection, or by another program, is seen at the next count.
    FilledBank bank(numbered(1, 30));
    TableQuestionBank questions(bank.bank());
    QCOMPARE(questions.count(), 30);
    QCOMPARE(questions.count(), 30);
    Query(bank.bank()).run({QStringLiteral("delete from perguntas.db where id = 30")});
    QCOMPARE(questions.count(), 29);
    if (testingOnServer())
        QCOMPARE(PlainServer(bank.connection()).exec(QStringLiteral("delete from perguntas.db where id in (1, 2)")),
                 QString());
    else
        QCOMPARE(PlainFile(bank.file(QStringLiteral("Perguntas.DB"))).exec(QStringLiteral("delete from db where id in (1, 2)")),
                 QString());
    QCOMPARE(questions.count(), 27);
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.append();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("31"));
    table.post();
    QCOMPARE(questions.count(), 28);
}

void TestStoreEngine::lostConnectionIsMadeAgain()
{
    if (!testingOnServer())
        QSKIP("only a server has a connection to lose");
    FilledBank bank(numbered(1, 5));
    Query query(bank.bank());
    QCOMPARE(query.run(countLines).asInteger(QStringLiteral("totalsql")), 5);
    // The server ends the game's connection (restarted, or the network cut): the statement under
    // way says so, and the next one connects again and runs.
    // (A connection of the set-up that has just closed may still be listed, and ended too.)
    const QStringList ended = PlainServer(bank.connection())
                                  .rows(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity"
                                                       " WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    QVERIFY2(ended.size() == 1 && ended[0].toInt() >= 1, qPrintable(ended.join(u',')));
    const QString error = errorOf([&] { query.run(countLines); });
    QVERIFY2(error.startsWith(QStringLiteral("O servidor do banco de perguntas não responde (")), qPrintable(error));
    QCOMPARE(query.run(countLines).asInteger(QStringLiteral("totalsql")), 5);
    Table table;
    table.open(*bank.bank(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.last();
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("5"));
}

void TestStoreEngine::photosInTheServersBank_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("error"); // empty when the photo is stored
    QTest::newRow("every byte value") << qint64(256 * 3) << "";
    QTest::newRow("at the limit") << MaxPhotoFileBytes << "";
    QTest::newRow("above the limit") << MaxPhotoFileBytes + 1
                                     << "A foto praia.jpg não foi guardada: a foto tem 33 MB, mais do que o limite de 32 MB";
}

void TestStoreEngine::photosInTheServersBank()
{
    QFETCH(qint64, size);
    QFETCH(QString, error);
    if (!testingOnServer())
        QSKIP("a folder keeps its photos as files of its own");
    FilledBank bank;
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 256);
    ServerPhotos photos(bank.connection());
    QCOMPARE(errorOf([&] { photos.store(QStringLiteral("praia.jpg"), bytes); }), error);
    QCOMPARE(photos.contains(QStringLiteral("praia.jpg")), error.isEmpty());
    if (!error.isEmpty()) {
        QCOMPARE(errorOf([&] { photos.read(QStringLiteral("praia.jpg")); }),
                 QStringLiteral("A foto não está no banco de perguntas: praia.jpg"));
        return;
    }
    QVERIFY(photos.read(QStringLiteral("praia.jpg")) == bytes);
    // A name taken keeps its photo.
    QCOMPARE(errorOf([&] { photos.store(QStringLiteral("praia.jpg"), QByteArray("outra")); }),
             QStringLiteral("A foto praia.jpg não foi guardada: o banco já tem uma foto com esse nome"));
    QVERIFY(photos.read(QStringLiteral("praia.jpg")) == bytes);
    // The server keeps the limit too, for whatever writes past this program.
    QVERIFY(PlainServer(bank.connection())
                .exec(QStringLiteral("INSERT INTO perguntas.fotos VALUES ('grande.jpg', '\\x00'::bytea || repeat('a', %1)::bytea)")
                          .arg(MaxPhotoFileBytes))
                .contains(QLatin1String("check constraint")));
}

QTEST_GUILESS_MAIN(TestStoreEngine)
#include "test_store_engine.moc"
