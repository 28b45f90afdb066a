// The table engine on real table files: the game's three statements, the editor's cursor
// (moves, edit/append/post/cancel/delete, search in an order that ignores the case of every
// letter), the text index as older set-up tools made it, and the errors of opening a table.
#include "helpers/Input.h"
#include "helpers/PlainFile.h"
#include "store/AppError.h"
#include "store/Setup.h"
#include "store/TableEngine.h"
#include "store/Win1252.h"

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

QuestionRow question(double id, const QString &text)
{
    return {id, text, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
            QStringLiteral("A"), QStringLiteral("/fotos/%1.jpg").arg(text)};
}

// A data directory whose question table holds `rows`, in that storage order.
class Bank {
public:
    explicit Bank(const QList<QuestionRow> &rows = {})
    {
        createQuestionTable(path());
        createAccountTable(path(), QStringLiteral("Adm"), QStringLiteral("1234"));
        insertQuestions(path(), rows);
    }
    static Bank numbered(int from, int to)
    {
        QList<QuestionRow> rows;
        for (int id = from; id <= to; ++id)
            rows.append(question(id, QStringLiteral("Pergunta %1").arg(id)));
        return Bank(rows);
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

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

int countQuestions(const QString &directory)
{
    Query query(directory);
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
QList<QuestionRow> accentedRows()
{
    const QStringList texts = {"água", "ÉBANO", "Pergunta número 9", "ÁGUA", "Pergunta NÚMERO 8",
                               "œuvre", "Ÿ", "÷ dividir", "caçapava, straße"};
    QList<QuestionRow> rows;
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
    void countStatement();
    void questionByIdStatement();
    void largestIdStatement();
    void statementErrors_data();
    void statementErrors();
    void conversions_data();
    void conversions();

    void movesInIdOrder();
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
    void readOnlyFileRefusesPost();
    void findNearest_data();
    void findNearest();
    void caseFoldedKeyOfEveryCharacter();
    void accentedCapitals_data();
    void accentedCapitals();
    void movesInCaseFoldedOrder();
    void textIndexIsSought_data();
    void textIndexIsSought();
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
};

void TestStoreEngine::countStatement()
{
    Bank bank = Bank::numbered(1, 10);
    QCOMPARE(countQuestions(bank.path()), 10);

    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    moveToId(table, QStringLiteral("3"));
    table.remove();
    QCOMPARE(countQuestions(bank.path()), 9);

    // A record saved without a number is not counted.
    table.append();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("sem número"));
    table.post();
    QCOMPARE(countQuestions(bank.path()), 9);
}

void TestStoreEngine::questionByIdStatement()
{
    Bank bank = Bank::numbered(1, 5);
    Query query(bank.path());
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
    Query change(bank.path());
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
    Bank bank = Bank::numbered(1, 10);
    Query query(bank.path());
    setText(query, maxLines);
    query.open();
    QCOMPARE(query.asInteger(QStringLiteral("ULTIMO")), 10);

    Bank empty;
    Query onEmpty(empty.path());
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
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("error");
    QTest::newRow("syntax") << QStringList{QStringLiteral("selec id"), QStringLiteral("from perguntas.db")}
                            << QStringLiteral("Erro no comando SQL (near \"selec\": syntax error)");
    QTest::newRow("no such table") << QStringList{QStringLiteral("select * from respostas.db")}
                                   << QStringLiteral("Erro no comando SQL (no such table: respostas.db)");
    QTest::newRow("no such column") << QStringList{QStringLiteral("select nota from perguntas.db")}
                                    << QStringLiteral("Erro no comando SQL (no such column: nota)");
    QTest::newRow("parameter without value") << byIdLines << QStringLiteral("Falta o valor do parâmetro 'NUMID'");
}

void TestStoreEngine::statementErrors()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, error);
    Bank bank = Bank::numbered(1, 3);
    Query query(bank.path());
    setText(query, lines);
    QCOMPARE(errorOf([&] { query.open(); }), error);
    QVERIFY(!query.isOpen());
    QCOMPARE(errorOf([&] { query.execSql(); }), error);

    Query nowhere(bank.file(QStringLiteral("nada")));
    setText(nowhere, countLines);
    QCOMPARE(errorOf([&] { nowhere.open(); }),
             QStringLiteral("A pasta não existe: ") + bank.file(QStringLiteral("nada")));
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
    Bank bank;
    Query query(bank.path());
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
    Bank bank({question(7, QStringLiteral("sete")), question(blank, QStringLiteral("sem número 1")),
               question(2, QStringLiteral("dois")), question(30, QStringLiteral("trinta")),
               question(blank, QStringLiteral("sem número 2")), question(11, QStringLiteral("onze"))});
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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

void TestStoreEngine::movesInStorageOrder()
{
    Bank bank({question(7, QStringLiteral("sete")), question(2, QStringLiteral("dois")),
               question(30, QStringLiteral("trinta"))});
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields());
    QCOMPARE(walkForward(table), (QStringList{"7", "2", "30"}));
    QCOMPARE(walkBackward(table), (QStringList{"7", "2", "30"}));
}

void TestStoreEngine::appendPostCancel()
{
    Bank bank = Bank::numbered(1, 10);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    QCOMPARE(countQuestions(bank.path()), 10);

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
    Query query(bank.path());
    setText(query, byIdLines);
    query.setParameter(QStringLiteral("NUMID"), 11);
    query.open();
    QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Nova"));
    QVERIFY(query.value(QStringLiteral("resp1")).isNull());
    QVERIFY(query.value(QStringLiteral("foto")).isNull());

    // Cancel on an empty table leaves it without a record.
    Bank empty;
    Table none;
    none.open(empty.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    none.append();
    none.cancel();
    QVERIFY(!none.hasRecord());
}

void TestStoreEngine::editPostCancel()
{
    Bank bank = Bank::numbered(1, 3);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    Query query(bank.path());
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
    Bank bank = Bank::numbered(1, 3);
    Table editor, other;
    editor.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    other.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    editor.next();
    other.next();

    editor.edit();
    editor.setFieldText(QStringLiteral("Resp1"), QStringLiteral("primeira"));
    other.edit();
    other.setFieldText(QStringLiteral("Resp2"), QStringLiteral("segunda"));
    other.post();
    editor.post();
    Query query(bank.path());
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
    QCOMPARE(countQuestions(bank.path()), 2);
    Query lost(bank.path());
    setText(lost, {QStringLiteral("select count(*) as n from perguntas.db where pergunta = 'perdida'")});
    lost.open();
    QCOMPARE(lost.asInteger(QStringLiteral("n")), 0);
}

void TestStoreEngine::repeatedColumnNameReadsTheFirst()
{
    Bank bank = Bank::numbered(1, 3);
    Query query(bank.path());
    setText(query, {QStringLiteral("select id, pergunta as ID from perguntas.db where id = 2")});
    query.open();
    QCOMPARE(query.asInteger(QStringLiteral("id")), 2);
}

void TestStoreEngine::editOnEmptyTableAppends()
{
    Bank bank;
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QVERIFY(!table.hasRecord());
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QString());
    table.edit();
    QCOMPARE(table.state(), Table::State::Insert);
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("1"));
    table.post();
    QVERIFY(table.hasRecord());
    QCOMPARE(countQuestions(bank.path()), 1);
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
    Bank bank = Bank::numbered(1, 1);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    Query query(bank.path());
    setText(query, {QStringLiteral("select %1 as v from perguntas.db").arg(field)});
    query.open();
    QCOMPARE(query.asText(QStringLiteral("v")), read);
}

void TestStoreEngine::setOutsideEditing()
{
    Bank bank = Bank::numbered(1, 2);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    Bank bank = Bank::numbered(1, count);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    moveToId(table, removed);
    table.remove();
    QCOMPARE(countQuestions(bank.path()), count - 1);
    QCOMPARE(table.hasRecord(), !currentAfter.isEmpty());
    QCOMPARE(table.fieldText(QStringLiteral("Id")), currentAfter);
    if (currentAfter.isEmpty())
        QCOMPARE(errorOf([&] { table.remove(); }), QStringLiteral("Não é possível fazer esta operação em um conjunto de dados vazio"));
}

void TestStoreEngine::refusedPostKeepsEverything_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("trigger"); // refuses every change when set
    QTest::addColumn<QString>("error");
    QTest::newRow("insert, repeated Id") << true << "3" << "" << "A tabela recusou a alteração (UNIQUE constraint failed: db.Id)";
    QTest::newRow("edit, repeated Id") << false << "3" << "" << "A tabela recusou a alteração (UNIQUE constraint failed: db.Id)";
    QTest::newRow("edit refused by the file")
        << false << "" << "BEFORE UPDATE" << "A tabela recusou a alteração (recusado)";
    QTest::newRow("insert refused by the file")
        << true << "9" << "BEFORE INSERT" << "A tabela recusou a alteração (recusado)";
}

void TestStoreEngine::refusedPostKeepsEverything()
{
    QFETCH(bool, inserting);
    QFETCH(QString, id);
    QFETCH(QString, trigger);
    QFETCH(QString, error);
    Bank bank = Bank::numbered(1, 5);
    if (!trigger.isEmpty()) {
        Query query(bank.path());
        setText(query, {QStringLiteral("create trigger perguntas.recusa %1 on db").arg(trigger),
                        QStringLiteral("begin select raise(abort, 'recusado'); end")});
        query.execSql();
    }
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    inserting ? table.append() : table.edit();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("digitada"));
    if (!id.isEmpty())
        table.setFieldText(QStringLiteral("Id"), id);

    QCOMPARE(errorOf([&] { table.post(); }), error);
    QCOMPARE(table.state(), inserting ? Table::State::Insert : Table::State::Edit);
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("digitada"));
    QVERIFY(table.isModified());
    QCOMPARE(countQuestions(bank.path()), 5);

    table.cancel();
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("Pergunta 1"));
}

void TestStoreEngine::readOnlyFileRefusesPost()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not stop root from writing");
    Bank bank = Bank::numbered(1, 2);
    QFile::setPermissions(bank.file(QStringLiteral("Perguntas.DB")), QFile::ReadOwner);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.append();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("3"));
    QCOMPARE(errorOf([&] { table.post(); }),
             QStringLiteral("A tabela não pode ser alterada: o arquivo ou a sua pasta só permite leitura "
                            "(attempt to write a readonly database)"));
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
    Bank bank({question(1, QStringLiteral("banana")), question(2, QStringLiteral("Damasco")),
               question(3, QStringLiteral("figo")), question(4, QStringLiteral("Abacaxi")),
               question(5, QStringLiteral("cereja")), question(6, QStringLiteral("FIGO"))});
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    // start of another character would show. The key is the hex form of the text in small letters.
    QString text;
    for (int a = 1; a < 256; ++a)
        for (int b = 1; b < 256; ++b)
            text += fromWin1252(QByteArray(1, char(a)) + char(b));
    const QByteArray expected = text.toLower().toUtf8().toHex().toUpper();

    QTemporaryDir dir;
    PlainFile file(dir.filePath(QStringLiteral("chaves.db")));
    const QStringList key =
        file.rows(QStringLiteral("SELECT %1").arg(caseFoldedKey(QStringLiteral("?1"))), {text});
    QCOMPARE(key.size(), 1);
    const QByteArray actual = key[0].toLatin1();
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
    Bank bank(accentedRows());
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(key);
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), found);
}

void TestStoreEngine::movesInCaseFoldedOrder()
{
    // In small letters and byte order, accented letters after z: "caçapava" < "pergunta número 8"
    // < "... 9" < "água" (twice, in the order stored) < "ébano" < "÷" < "ÿ" < "œuvre".
    Bank bank(accentedRows());
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    const QStringList order = {"9", "5", "3", "1", "4", "2", "8", "7", "6"};
    QCOMPARE(walkForward(table), order);
    QCOMPARE(walkBackward(table), order);
}

void TestStoreEngine::textIndexIsSought_data()
{
    // The statements by which the cursor seeks in the text index, as it writes them.
    const QString key = caseFoldedKey(QStringLiteral("\"Pergunta\""));
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("step");
    QTest::newRow("nearest") << QStringLiteral("WHERE %1 >= %2 ORDER BY %1, rowid LIMIT 1")
                                    .arg(key, caseFoldedKey(QStringLiteral("?1")))
                             << "SEARCH db USING INDEX IdPergunta (<expr>>?)";
    QTest::newRow("next, same key") << QStringLiteral("WHERE %1 = ?1 AND rowid > ?2 ORDER BY rowid LIMIT 1").arg(key)
                                    << "SEARCH db USING INDEX IdPergunta (<expr>=? AND rowid>?)";
    QTest::newRow("prior key") << QStringLiteral("WHERE %1 < ?1 ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(key)
                               << "SEARCH db USING INDEX IdPergunta (<expr><?)";
}

void TestStoreEngine::textIndexIsSought()
{
    QFETCH(QString, tail);
    QFETCH(QString, step);
    Bank bank = Bank::numbered(1, 3);
    PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
    // One step, in the index: no scan of the table, no sorting.
    QCOMPARE(file.rows(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid, * FROM db ") + tail, {}, 3),
             QStringList{step});
}

void TestStoreEngine::plainConnectionWritesTheTable()
{
    // The sqlite3 shell knows nothing of the game: its writes must keep the text index whole.
    Bank bank({question(1, QStringLiteral("banana")), question(2, QStringLiteral("Ébano"))});
    {
        PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
        QCOMPARE(file.exec(QStringLiteral("INSERT INTO db(Pergunta, Id) VALUES ('ÁGUA', 3);"
                                          "UPDATE db SET Pergunta = 'ÓRBITA' WHERE Id = 1;")),
                 QString());
        QCOMPARE(file.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    }
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("água"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("3"));
    table.findNearest(QStringLiteral("órbita"));
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("1"));

    // And the engine's writes leave a file the plain connection finds whole.
    table.edit();
    table.setFieldText(QStringLiteral("Pergunta"), QStringLiteral("Ânfora"));
    table.post();
    PlainFile file(bank.file(QStringLiteral("Perguntas.DB")));
    QCOMPARE(file.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    // água < Ânfora < Ébano
    QCOMPARE(file.rows(QStringLiteral("SELECT CAST(Id AS INTEGER) FROM db ORDER BY %1")
                           .arg(caseFoldedKey(QStringLiteral("Pergunta")))),
             (QStringList{"3", "1", "2"}));
}

void TestStoreEngine::oldTextIndexIsReplaced()
{
    QTemporaryDir dir;
    writeOldQuestionTable(dir.path(), accentedQuestions);
    const QString before = textIndexDefinition(dir.path());
    QVERIFY2(before.contains(QLatin1String("NOCASE")), qPrintable(before));

    Table table;
    table.open(dir.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
        table.open(dir.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    table.open(dir.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("ÁGUA"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("água"));
    QVERIFY(textIndexDefinition(dir.path()) != before);
}

void TestStoreEngine::searchTermIsOnlyData()
{
    Bank bank({question(1, QStringLiteral("alfa")), question(2, QStringLiteral("beta")),
               question(3, QStringLiteral("gama"))});
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    table.findNearest(QStringLiteral("b' OR 1=1; DROP TABLE db; -- %\"_"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("beta")); // "b'" sorts before "be"
    table.findNearest(QStringLiteral("c%' --"));
    QCOMPARE(table.fieldText(QStringLiteral("Pergunta")), QStringLiteral("gama"));
    QCOMPARE(countQuestions(bank.path()), 3);

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
    Bank bank = Bank::numbered(1, 3);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));

    // A changed record is posted...
    table.append();
    table.setFieldText(QStringLiteral("Id"), QStringLiteral("4"));
    table.setIndexName(QStringLiteral("IdPergunta"));
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(countQuestions(bank.path()), 4);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("4"));

    // ...an untouched one dropped.
    table.setIndexFieldNames(QStringLiteral("id"));
    table.append();
    table.setIndexName(QStringLiteral("IdPergunta"));
    QCOMPARE(table.state(), Table::State::Browse);
    QCOMPARE(countQuestions(bank.path()), 4);
    QCOMPARE(table.fieldText(QStringLiteral("Id")), QStringLiteral("4"));
    QCOMPARE(errorOf([&] { table.post(); }), QStringLiteral("O conjunto de dados não está em modo de edição ou inclusão"));
}

void TestStoreEngine::signalsFollowChanges()
{
    Bank bank = Bank::numbered(1, 3);
    Table table;
    table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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
    Bank bank = Bank::numbered(1, 3);
    Table editor;
    Table game;
    editor.open(bank.path(), QStringLiteral("perguntas.db"), questionFields(), QStringLiteral("Id"));
    game.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields());
    Table login;
    login.open(bank.path(), QStringLiteral("inicial.db"), accountFields());
    QCOMPARE(login.fieldText(QStringLiteral("login")), QStringLiteral("Adm"));
    login.edit();
    login.setFieldText(QStringLiteral("Senha"), QStringLiteral("12345678"));
    login.post();
    QCOMPARE(login.fieldText(QStringLiteral("Senha")), QStringLiteral("1234567"));

    editor.append();
    editor.setFieldText(QStringLiteral("Id"), QStringLiteral("4"));
    editor.post();
    QCOMPARE(countQuestions(bank.path()), 4);
    game.last();
    QCOMPARE(game.fieldText(QStringLiteral("Id")), QStringLiteral("4"));
}

void TestStoreEngine::directoryNameNeedsEscaping()
{
    // Characters that mean something in a file URI must reach the file system unchanged.
    QTemporaryDir root;
    const QString directory = root.filePath(QStringLiteral("dados ?x=1#%41 ação"));
    QVERIFY(QDir().mkpath(directory));
    createQuestionTable(directory);
    insertQuestions(directory, {question(1, QStringLiteral("um")), question(2, QStringLiteral("dois"))});
    Table table;
    table.open(directory, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
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

// Whatever way a statement ends, it holds no lock on the file afterwards: another program (the
// set-up tool, a second copy of the game) could not write the table until the game closed it.
void TestStoreEngine::noStatementStaysOpen()
{
    QFETCH(QString, use);
    Bank bank = Bank::numbered(1, 5);
    // Both stay alive while the file is tried: they hold the directory's connection.
    Query query(bank.path());
    Table table;
    if (use == QLatin1String("open")) {
        query.run(byIdLines, {{QStringLiteral("NUMID"), 2}});
        QCOMPARE(query.asText(QStringLiteral("pergunta")), QStringLiteral("Pergunta 2"));
    } else if (use == QLatin1String("failing")) {
        setText(query, {QStringLiteral("select json(pergunta) as v from perguntas.db")});
        QVERIFY(errorOf([&] { query.open(); }).contains(QLatin1String("malformed JSON")));
    } else if (use == QLatin1String("parameter")) {
        setText(query, byIdLines);
        query.setParameter(QStringLiteral("NUMID"), 2);
        query.setParameter(QStringLiteral("OUTRO"), 3);
        QCOMPARE(errorOf([&] { query.open(); }), QStringLiteral("O parâmetro 'OUTRO' não foi encontrado"));
    } else if (use == QLatin1String("refused")) {
        setText(query, {QStringLiteral("update perguntas.db set id = 1")});
        QVERIFY(errorOf([&] { query.execSql(); }).contains(QLatin1String("UNIQUE constraint failed")));
    } else {
        table.open(bank.path(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
        table.next();
        QVERIFY(!table.atLast());
        QCOMPARE(table.neighbourText(true, QStringLiteral("Id")), QStringLiteral("3"));
    }
    PlainFile other(bank.file(QStringLiteral("Perguntas.DB")));
    QCOMPARE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")), QString());
    QCOMPARE(other.exec(QStringLiteral("ROLLBACK")), QString());
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
    QTest::addColumn<QString>("error"); // %1 is the directory
    QTest::newRow("missing directory") << "nodir" << "Perguntas.DB" << "A pasta não existe: %1/nada";
    QTest::newRow("missing file") << "" << "Respostas.DB" << "A tabela não existe: %1/Respostas.DB";
    QTest::newRow("not a database") << "garbage" << "Perguntas.DB" << "%1/Perguntas.DB: O arquivo não é uma tabela de banco de dados (file is not a database)";
    QTest::newRow("missing field") << "" << "inicial.db" << "O campo 'Pergunta' não foi encontrado na tabela %1/inicial.db";
    QTest::newRow("empty file") << "empty" << "Perguntas.DB" << "O arquivo %1/Perguntas.DB não tem a tabela db";
}

void TestStoreEngine::openErrors()
{
    QFETCH(QString, setup);
    QFETCH(QString, fileName);
    QFETCH(QString, error);
    QTemporaryDir dir;
    if (setup != QLatin1String("nodir") && setup != QLatin1String("")) {
        QFile file(dir.filePath(QStringLiteral("Perguntas.DB")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (setup == QLatin1String("garbage"))
            file.write(QByteArray(4096, 'x'));
    } else if (setup.isEmpty()) {
        createAccountTable(dir.path(), QStringLiteral("Adm"), QStringLiteral("1234"));
    }
    const QString directory = setup == QLatin1String("nodir") ? dir.filePath(QStringLiteral("nada")) : dir.path();
    if (setup == QLatin1String("garbage")) // left out of the connection's statements, and the log says why
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^O arquivo .*/Perguntas.DB fica fora")));
    Table table;
    QCOMPARE(errorOf([&] { table.open(directory, fileName, questionFields(), QStringLiteral("Id")); }),
             error.arg(dir.path()));
    QVERIFY(!table.isOpen());
    // Opening never creates a file or a folder.
    QVERIFY(!QFile::exists(QDir(directory).filePath(QStringLiteral("Respostas.DB"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("nada"))));
}

QTEST_GUILESS_MAIN(TestStoreEngine)
#include "test_store_engine.moc"
