// CSV files: the reader and writer on their own, and the import and export of jornada-dados,
// run as the program itself.
#include "helpers/Input.h"
#include "store/exchange/Csv.h"
#include "store/folder/FolderSetup.h"
#include "store/kinds/OpenBank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QElapsedTimer>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

#include <minizip/unzip.h>
#include <sqlite3.h>

#include <csignal>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString TestData = QStringLiteral(JORNADA_SOURCE_DIR "/tests/data/csv");

void writePicture(const QString &path, const QColor &colour)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage picture(6, 8, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path, "BMP"));
}

struct Run {
    int status = -1;
    QString out, err;
};

Run jornadaDados(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(JORNADA_DADOS), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The lines of the refusal that name a line of the file.
QStringList problemLines(const QString &err)
{
    QStringList lines;
    for (const QString &line : err.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("linha ")))
            lines << line;
    return lines;
}

QStringList texts(const Question &r)
{
    return {r.pergunta, r.answers[0], r.answers[1], r.answers[2], r.answers[3], r.correta};
}

// A data directory with a question bank of `count` questions numbered 1..count, whose photo is
// fotos/velha.bmp, and a folder for the CSV files beside it.
class CsvBank {
public:
    explicit CsvBank(int count = 2)
    {
        QDir().mkpath(data());
        openBank(data())->createQuestionTable();
        writePicture(photo(QStringLiteral("velha.bmp")), Qt::darkRed);
        QList<Question> rows;
        for (int id = 1; id <= count; ++id) {
            Question row;
            row.id = id;
            row.pergunta = QStringLiteral("Pergunta %1").arg(id);
            row.answers = {QStringLiteral("um"), QStringLiteral("dois"), QStringLiteral("três"),
                           QStringLiteral("quatro")};
            row.correta = QStringLiteral("dois");
            row.foto = photo(QStringLiteral("velha.bmp"));
            rows << row;
        }
        openBank(data())->insertQuestions(rows);
    }
    QString data() const { return m_dir.filePath(QStringLiteral("dados")); }
    QString photo(const QString &name) const { return m_dir.filePath(QStringLiteral("dados/fotos/") + name); }
    QString csv(const QString &name) const { return m_dir.filePath(QStringLiteral("planilhas/") + name); }
    QStringList photoFiles() const
    {
        // Hidden files too: what an import leaves behind must show here.
        return QDir(m_dir.filePath(QStringLiteral("dados/fotos"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private:
    QTemporaryDir m_dir;
};

const QByteArray Header = "Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto\n";

// The entry `name` of the zip file at `path`, unpacked; empty when it cannot be read.
QByteArray zipEntry(const QString &path, const char *name)
{
    QByteArray bytes;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (zip && unzLocateFile(zip, name, 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char chunk[65536];
        for (int n; (n = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0;)
            bytes.append(chunk, n);
        unzCloseCurrentFile(zip);
    }
    if (zip)
        unzClose(zip);
    return bytes;
}

} // namespace

class CsvTest : public QObject {
    Q_OBJECT
private slots:
    void readsWhatSpreadsheetsWrite_data();
    void readsWhatSpreadsheetsWrite();
    void writtenLinesReadBack_data();
    void writtenLinesReadBack();

    void importsHandMadeFiles_data();
    void importsHandMadeFiles();
    void refusesWholeFile_data();
    void refusesWholeFile();
    void photoNamesNeverOverwrite();
    void largePhotosAreStoredFitted();
    void importWarnsOfTextsShownShortened();
    void exportThenImportGivesTheSameBank();
    void exportReplacesANamedFileWhole();
    void roundTripChangesNothing_data();
    void roundTripChangesNothing();
    void doubleImportSkipsEveryRow();
    void updateByIdChangesOnlyThatQuestion();
    void lockedTableIsLeftAsItWas();
    void failureMidwayIsUndone();
    void photoThatCannotBeWrittenLeavesNothing();
    void killedImportLeavesNothingBehind();
    void cleanUpRemovesOnlyWhatAnImportMade();
    void refusesWrongUse();
};

// ---------------------------------------------------------------------------------------------
// The reader and the writer

void CsvTest::readsWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<int>("errorLine");

    QTest::newRow("semicolon, Windows-1252, CR LF")
        << QByteArray("a;b\r\n\"Ol\xE1; \"\"mundo\"\"\";\x80 5\r\n") << ';' << false << QList<int>{1, 2}
        << QList<QStringList>{{"a", "b"}, {u"Olá; \"mundo\""_qs, u"€ 5"_qs}} << 0;
    QTest::newRow("comma, UTF-8 with BOM, LF, quoted line break")
        << QByteArray("\xEF\xBB\xBF" "a,b\nc,\"d\ne\"\nf,\"\xC3\xA7\"\n") << ',' << true << QList<int>{1, 2, 4}
        << QList<QStringList>{{"a", "b"}, {"c", "d\ne"}, {"f", u"ç"_qs}} << 0;
    QTest::newRow("UTF-8 without BOM")
        << QByteArray("x;\xC3\xA9\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"x", u"é"_qs}} << 0;
    QTest::newRow("quoted CR LF kept, CR LF after it ends the record")
        << QByteArray("a;b\r\n\"1\r\n2\";3\r\n4;5") << ';' << true << QList<int>{1, 2, 4}
        << QList<QStringList>{{"a", "b"}, {"1\r\n2", "3"}, {"4", "5"}} << 0;
    QTest::newRow("separator inside quotes does not count")
        << QByteArray("\"a,b,c\";d\n1;2\n") << ';' << true << QList<int>{1, 2}
        << QList<QStringList>{{"a,b,c", "d"}, {"1", "2"}} << 0;
    QTest::newRow("more commas than semicolons")
        << QByteArray("a,b;c,d\n") << ',' << true << QList<int>{1} << QList<QStringList>{{"a", "b;c", "d"}} << 0;
    QTest::newRow("more semicolons than commas")
        << QByteArray("a;b;c,d\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"a", "b", "c,d"}} << 0;
    QTest::newRow("blank lines keep the count")
        << QByteArray("a;b\n\n  \n\r\nc;d\n") << ';' << true << QList<int>{1, 5}
        << QList<QStringList>{{"a", "b"}, {"c", "d"}} << 0;
    QTest::newRow("CR alone ends lines")
        << QByteArray("a;b\rc;d\r") << ';' << true << QList<int>{1, 2} << QList<QStringList>{{"a", "b"}, {"c", "d"}} << 0;
    QTest::newRow("blanks around unquoted fields go, inside quotes stay")
        << QByteArray(" a ;\" b \"\t\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"a", " b "}} << 0;
    QTest::newRow("empty fields")
        << QByteArray("a;;\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"a", "", ""}} << 0;
    QTest::newRow("U+FEFF after the byte-order mark is text")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a;b\n") << ';' << true << QList<int>{1}
        << QList<QStringList>{{QStringLiteral("\uFEFFa"), "b"}} << 0;
    QTest::newRow("quote never closed")
        << QByteArray("a;b\n1;2\n\"3;4\n5;6\n") << ';' << true << QList<int>{1, 2}
        << QList<QStringList>{{"a", "b"}, {"1", "2"}} << 3;
    QTest::newRow("quote inside an unquoted field")
        << QByteArray("a;b\n1;2\"x\"\n5;6\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"a", "b"}} << 2;
    QTest::newRow("text after a closing quote")
        << QByteArray("a;b\n\"1\"x;2\n") << ';' << true << QList<int>{1} << QList<QStringList>{{"a", "b"}} << 2;
    // What a record keeps is bounded, whatever the text: the first fields, each cut short.
    QTest::newRow("fields beyond those kept")
        << QByteArray("x;").repeated(MaxCsvFields + 500) + "x\n" << ';' << true << QList<int>{1}
        << QList<QStringList>{QList<QString>(MaxCsvFields, QStringLiteral("x"))} << 0;
    QTest::newRow("a field longer than is kept")
        << QByteArray(MaxCsvFieldBytes + 100, 'y') + ";z\n" << ';' << true << QList<int>{1}
        << QList<QStringList>{{QString(MaxCsvFieldBytes, u'y'), "z"}} << 0;
    QTest::newRow("BOM before text that is not UTF-8")
        << QByteArray("\xEF\xBB\xBF" "a;b\nc;d\n\xE9;f\n") << ';' << false << QList<int>{} << QList<QStringList>{} << 3;
    QTest::newRow("BOM before a first byte that is not UTF-8")
        << QByteArray("\xEF\xBB\xBF" "\xE9;b\nc;d\n") << ';' << false << QList<int>{} << QList<QStringList>{} << 1;
}

void CsvTest::readsWhatSpreadsheetsWrite()
{
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(bool, utf8);
    QFETCH(QList<int>, lines);
    QFETCH(QList<QStringList>, records);
    QFETCH(int, errorLine);

    const CsvText csv = readCsv(bytes);
    QCOMPARE(csv.utf8, utf8);
    if (!records.isEmpty())
        QCOMPARE(csv.separator, separator);
    QList<int> gotLines;
    QList<QStringList> gotRecords;
    for (const CsvRecord &r : csv.records) {
        gotLines << r.line;
        gotRecords << r.fields;
    }
    QCOMPARE(gotRecords, records);
    QCOMPARE(gotLines, lines);
    QCOMPARE(csv.errorLine, errorLine);
    QCOMPARE(csv.error.isEmpty(), errorLine == 0);
}

void CsvTest::writtenLinesReadBack_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << QStringList{"a", u"é"_qs, ""} << QByteArray("a;\xC3\xA9;\r\n");
    QTest::newRow("separator") << QStringList{"a;b", "c"} << QByteArray("\"a;b\";c\r\n");
    QTest::newRow("quotes doubled") << QStringList{"diz \"oi\""} << QByteArray("\"diz \"\"oi\"\"\"\r\n");
    QTest::newRow("line breaks") << QStringList{"1\n2", "3\r\n4"} << QByteArray("\"1\n2\";\"3\r\n4\"\r\n");
    QTest::newRow("blanks at the ends") << QStringList{" a", "b\t", "c d"} << QByteArray("\" a\";\"b\t\";c d\r\n");
    QTest::newRow("a lone empty field") << QStringList{""} << QByteArray("\"\"\r\n");
    QTest::newRow("U+FEFF first") << QStringList{QStringLiteral("\uFEFFx")} << QByteArray("\"\xEF\xBB\xBFx\"\r\n");
    QTest::newRow("comma needs no quotes") << QStringList{"2,5", "x"} << QByteArray("2,5;x\r\n");
}

void CsvTest::writtenLinesReadBack()
{
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, line);
    QCOMPARE(csvLine(fields, ';'), line);
    // Read back after a header of as many columns, so the separator is found.
    const QByteArray header = QByteArray("h").repeated(1) + QByteArray(";h").repeated(fields.size() - 1) + "\r\n";
    const CsvText csv = readCsv(header + line);
    QCOMPARE(csv.error, QString());
    QCOMPARE(csv.records.size(), 2);
    QCOMPARE(csv.records[1].fields, fields);
}

// ---------------------------------------------------------------------------------------------
// Import through jornada-dados

void CsvTest::importsHandMadeFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<QStringList>>("questions"); // pergunta, resp1..resp4, correta
    QTest::addColumn<QStringList>("photos");            // the file names in the bank's fotos/

    QTest::newRow("semicolon, Windows-1252, CR LF, Correta as letter, number and text")
        << QStringLiteral("planilha-1252.csv")
        << QList<QStringList>{
               {u"Qual é a capital do Brasil?"_qs, "Rio de Janeiro", u"Brasília"_qs, "Salvador", u"São Paulo"_qs,
                u"Brasília"_qs},
               {u"Quem escreveu \"O Guarani\"?"_qs, u"José de Alencar"_qs, "Machado de Assis", "Jorge Amado",
                "Graciliano Ramos", u"José de Alencar"_qs},
               {"Complete o lema:\r\n\"Ordem e ...\"", "Paz", "Progresso", "Amor", "Vida", "Progresso"}}
        << QStringList{"azul.bmp", "verde.bmp", "azul.bmp"};
    QTest::newRow("comma, UTF-8 with BOM, LF, columns in another order and case")
        << QStringLiteral("planilha-utf8-bom.csv")
        << QList<QStringList>{{u"Quanto é 2,5 + 2,5?"_qs, "4", "4,5", "6", "5", "5"},
                              {u"De que cor é o morango maduro?"_qs, "Azul", "Verde", "Vermelho", "Amarelo", "Vermelho"},
                              // An answer whose text is "1" is taken as that text, not as answer 1.
                              {u"Quanto é 3 - 2?"_qs, "0", "1", "2", "3", "1"},
                              {"Qual destas é uma ave?", "Ema", u"Onça"_qs, "Tatu", "Sapo", "Ema"}}
        << QStringList{"verde.bmp", "azul.bmp", "azul.bmp", "verde.bmp"};
    QTest::newRow("a column not read, empty names and blank lines")
        << QStringLiteral("planilha-colunas-a-mais.csv")
        << QList<QStringList>{{"Quantos dias tem uma semana?", "5", "6", "7", "8", "7"},
                              {u"Qual é o maior planeta?"_qs, "Terra", "Marte", u"Júpiter"_qs, u"Vênus"_qs, u"Júpiter"_qs}}
        << QStringList{"verde.bmp", "azul.bmp"};
}

void CsvTest::importsHandMadeFiles()
{
    QFETCH(QString, file);
    QFETCH(QList<QStringList>, questions);
    QFETCH(QStringList, photos);
    CsvBank bank(2);

    const Run run = jornadaDados({QStringLiteral("--importar"), QDir(TestData).filePath(file), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral("com os números 3 a %1").arg(2 + questions.size())), qPrintable(run.out));

    const QList<Question> rows = readQuestionTable(bank.data());
    QCOMPARE(rows.size(), 2 + questions.size());
    QCOMPARE(texts(rows[0]), QStringList({"Pergunta 1", "um", "dois", u"três"_qs, "quatro", "dois"}));
    for (int i = 0; i < questions.size(); ++i) {
        const Question &row = rows[2 + i];
        QCOMPARE(row.id, double(3 + i));
        QCOMPARE(texts(row), questions[i]);
        QCOMPARE(row.foto, bank.photo(photos[i]));
        QCOMPARE(readFile(row.foto), readFile(TestData + QStringLiteral("/fotos/") + photos[i]));
    }
    QCOMPARE(bank.photoFiles(), QStringList({"azul.bmp", "velha.bmp", "verde.bmp"}));
}

void CsvTest::refusesWholeFile_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("problems");

    const QByteArray good = "Boa?;a;b;c;d;a;boa.bmp\n";
    QTest::newRow("blank field") << Header + good + "Sem resposta?;a;;c;d;a;boa.bmp\n"
                                 << QStringList{"linha 3: falta a resposta 2"};
    const QString mismatch = u"a resposta correta não é igual a nenhuma das quatro respostas (a comparação "
                             u"considera maiúsculas, minúsculas e espaços)"_qs;
    QTest::newRow("right answer not among the four")
        << Header + "Qual?;a;b;c;d;E;boa.bmp\n" + good + "Outra?;a;b;c;d;5;boa.bmp\n"
        << QStringList{"linha 2: " + mismatch, "linha 4: " + mismatch};
    QTest::newRow("text too long")
        << Header + "Longa?;" + QByteArray(241, 'x') + ";b;c;d;b;boa.bmp\n"
        << QStringList{u"linha 2: a resposta 1 tem 241 caracteres, mas cabem no máximo 240"_qs};
    QTest::newRow("character outside Windows-1252 in a UTF-8 file")
        << Header + "Seta \xE2\x86\x92?;a;b;c;d;a;boa.bmp\n"
        << QStringList{u"linha 2: o texto da pergunta tem caracteres que o banco de perguntas não guarda "
                       u"(fora do Windows-1252): →"_qs};
    QTest::newRow("missing photo") << Header + good + "Sem foto?;a;b;c;d;a;falta.bmp\n"
                                   << QStringList{"linha 3: a foto não existe: {csv}/falta.bmp"};
    QTest::newRow("blank photo") << Header + "Sem foto?;a;b;c;d;a;\n" << QStringList{"linha 2: falta a foto"};
    QTest::newRow("photos that are no regular files")
        << Header + "A?;a;b;c;d;a;pasta.jpg\n" + "B?;a;b;c;d;a;/dev/zero\n" + "C?;a;b;c;d;a;laco.jpg\n"
               + "D?;a;b;c;d;a;perdida.jpg\n" + "E?;a;b;c;d;a;../../../../../../../../../../../../nada.jpg\n"
        << QStringList{u"linha 2: a foto é uma pasta, não um arquivo: {csv}/pasta.jpg"_qs,
                       u"linha 3: a foto não é um arquivo comum (é um dispositivo, um pipe ou um soquete): /dev/zero"_qs,
                       u"linha 4: a foto é um link simbólico que leva a si mesmo, num laço: {csv}/laco.jpg"_qs,
                       u"linha 5: a foto é um link simbólico para um arquivo que não existe: {csv}/perdida.jpg"_qs,
                       u"linha 6: a foto não existe: /nada.jpg"_qs};
    // A sparse file of 2 GB: refused before anything reads it.
    QTest::newRow("photo over the size limit") << Header + "Grande?;a;b;c;d;a;grande.jpg\n"
        << QStringList{u"linha 2: a foto tem 2048 MB, mais do que o limite de 32 MB: {csv}/grande.jpg"_qs};
    QTest::newRow("photo that is no picture, named on every line")
        << Header + "Quebrada?;a;b;c;d;a;quebrada.bmp\n" + good + "De novo?;a;b;c;d;a;quebrada.bmp\n"
        << QStringList{u"linha 2: a foto {csv}/quebrada.bmp não pode ser mostrada: "_qs,
                       u"linha 4: a foto {csv}/quebrada.bmp não pode ser mostrada: "_qs};
    QTest::newRow("missing column")
        << QByteArray("Pergunta;Resp1;Resp2;Resp3;Resp4;Foto\nQ?;a;b;c;d;boa.bmp\n")
        << QStringList{u"linha 1: falta a coluna Correta (o cabeçalho deve ter as colunas Pergunta, Resp1, "
                       u"Resp2, Resp3, Resp4, Correta, Foto, separadas por ponto e vírgula ou por vírgula)"_qs};
    QTest::newRow("unclosed quote, after a record with a line break")
        << Header + "\"Duas\nlinhas?\";a;b;c;d;a;boa.bmp\n" + "\"Aberta?;a;b;c;d;a;boa.bmp\n" + good
        << QStringList{u"linha 4: as aspas abertas neste registro não se fecham até o fim do arquivo"_qs};
    QTest::newRow("several problems, each line named")
        << Header + good + "\"Quebra\r\nde linha\";a;;c;d;z;boa.bmp\n" + good + "Poucos;a;b\n"
        << QStringList{"linha 3: falta a resposta 2", "linha 3: " + mismatch,
                       u"linha 6: tem 3 campos, mas o cabeçalho tem 7; confira o separador e as aspas"_qs};
    QTest::newRow("a field too many")
        << Header + good + "Demais?;a;b;c;d;a;boa.bmp;x\n" + "Vazios a mais?;a;b;c;d;a;boa.bmp;;\n"
        << QStringList{u"linha 3: tem 8 campos, mas o cabeçalho tem 7; confira o separador e as aspas"_qs};
    // A fault on every line: the first few hundred are listed, the rest counted.
    QStringList eachLine;
    for (int line = 2; line <= 301; ++line)
        eachLine << u"linha %1: tem 1 campos, mas o cabeçalho tem 7; confira o separador e as aspas"_qs.arg(line);
    QTest::newRow("a fault on each of a thousand lines")
        << Header + QByteArray("a\n").repeated(1000) << eachLine;
    QTest::newRow("a header of too many columns")
        << "Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto" + QByteArray(";x").repeated(1000) + "\n" + good
        << QStringList{u"linha 1: o cabeçalho tem 1007 colunas; o máximo é 1000"_qs};
    // An update reads the Id column, which must name each question once.
    const QByteArray idHeader = "Id;" + Header;
    const QString notANumber = u"o Id \"%1\" não é o número de uma pergunta; deixe-o vazio para acrescentar a pergunta"_qs;
    QTest::newRow("update: Ids that are no question numbers")
        << idHeader + "abc;A?;a;b;c;d;a;boa.bmp\n" + "0;B?;a;b;c;d;a;boa.bmp\n" + "2.5;C?;a;b;c;d;a;boa.bmp\n"
               + " 3 ;D?;a;b;c;d;a;boa.bmp\n" + ";E?;a;b;c;d;a;boa.bmp\n"
        << QStringList{"linha 2: " + notANumber.arg("abc"), "linha 3: " + notANumber.arg("0"),
                       "linha 4: " + notANumber.arg("2.5")};
    QTest::newRow("update: an Id twice")
        << idHeader + "2;A?;a;b;c;d;a;boa.bmp\n" + "9;B?;a;b;c;d;a;boa.bmp\n" + "2;C?;a;b;c;d;a;boa.bmp\n"
        << QStringList{u"linha 4: o Id 2 aparece também na linha 2"_qs};
    QTest::newRow("update: no Id column")
        << Header + good
        << QStringList{u"linha 1: falta a coluna Id, que diz qual pergunta cada linha substitui (o arquivo "
                       u"exportado pelo jornada-dados a tem)"_qs};
    QTest::newRow("empty file")
        << QByteArray()
        << QStringList{u"linha 1: o arquivo está vazio; a primeira linha deve ser o cabeçalho "
                       u"Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto"_qs};
}

void CsvTest::refusesWholeFile()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, problems);
    CsvBank bank(3);
    writePicture(bank.csv(QStringLiteral("boa.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("quebrada.bmp")), "BM isto não é uma imagem");
    QDir().mkpath(bank.csv(QStringLiteral("pasta.jpg")));
    QFile big(bank.csv(QStringLiteral("grande.jpg")));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(2) << 30));
    big.close();
    QFile::link(bank.csv(QStringLiteral("laco.jpg")), bank.csv(QStringLiteral("laco.jpg")));
    QFile::link(bank.csv(QStringLiteral("nada.jpg")), bank.csv(QStringLiteral("perdida.jpg")));
    writeFile(bank.csv(QStringLiteral("novas.csv")), csv);
    const QList<Question> before = readQuestionTable(bank.data());

    const bool update = QByteArray(QTest::currentDataTag()).startsWith("update:");
    const Run run = jornadaDados({update ? QStringLiteral("--atualizar") : QStringLiteral("--importar"),
                                  bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("nada foi importado")), qPrintable(run.err));
    const QString folder = QFileInfo(bank.csv(QString())).absolutePath();
    QStringList expected;
    for (const QString &p : problems)
        expected << QString(p).replace(QStringLiteral("{csv}"), folder);
    QStringList got = problemLines(run.err);
    // The reason a picture fails is the loader's; the line only has to name the file.
    if (QByteArray(QTest::currentDataTag()).startsWith("photo that is no picture") && got.size() == expected.size())
        for (qsizetype i = 0; i < got.size(); ++i) {
            QVERIFY2(got[i].size() > expected[i].size(), qPrintable(got[i]));
            got[i].truncate(expected[i].size());
        }
    QCOMPARE(got, expected);
    if (QByteArray(QTest::currentDataTag()).startsWith("a fault on each"))
        QVERIFY2(run.err.contains(u"\ne mais 700 problemas em outras linhas, não listados\n"_qs), qPrintable(run.err));

    const QList<Question> after = readQuestionTable(bank.data());
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i)
        QCOMPARE(texts(after[i]), texts(before[i]));
    QCOMPARE(bank.photoFiles(), QStringList{"velha.bmp"});
}

void CsvTest::importWarnsOfTextsShownShortened()
{
    // Imported whole all the same; the report names the line and the text the screen shortens.
    CsvBank bank(1);
    writePicture(bank.csv(QStringLiteral("azul.bmp")), Qt::blue);
    const QByteArray longAnswer =
        "Salvador, a primeira capital do Brasil, fundada por Tom\xC3\xA9 de Sousa no ano de 1549";
    writeFile(bank.csv(QStringLiteral("novas.csv")), Header + "Cabe?;a;b;c;d;a;azul.bmp\n"
                                                         + "Primeira capital?;a;" + longAnswer + ";c;d;a;azul.bmp\n");
    const Run run = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QStringList warned = run.out.split(QLatin1Char('\n')).filter(QStringLiteral("linha "));
    QCOMPARE(warned.size(), 1);
    QVERIFY2(warned[0].startsWith(QStringLiteral("linha 3: a resposta 2 não cabe")), qPrintable(run.out));
    const QList<Question> rows = readQuestionTable(bank.data());
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[2].answers[1], QString::fromUtf8(longAnswer));
}

void CsvTest::photoNamesNeverOverwrite()
{
    CsvBank bank(1);
    // The bank already has a different azul.bmp and the same verde.bmp as the spreadsheet's.
    writePicture(bank.csv(QStringLiteral("azul.bmp")), Qt::blue);
    writePicture(bank.csv(QStringLiteral("sub/azul.bmp")), Qt::cyan);
    writePicture(bank.csv(QStringLiteral("verde.bmp")), Qt::green);
    writePicture(bank.photo(QStringLiteral("azul.bmp")), Qt::yellow);
    QFile::copy(bank.csv(QStringLiteral("verde.bmp")), bank.photo(QStringLiteral("verde.bmp")));
    const QByteArray oldAzul = readFile(bank.photo(QStringLiteral("azul.bmp")));
    writeFile(bank.csv(QStringLiteral("novas.csv")),
              Header + "Q1?;a;b;c;d;a;azul.bmp\n" + "Q2?;a;b;c;d;a;sub/azul.bmp\n" + "Q3?;a;b;c;d;a;verde.bmp\n"
                  + "Q4?;a;b;c;d;a;azul.bmp\n" + "Q5?;a;b;c;d;a;" + bank.photo(QStringLiteral("velha.bmp")).toUtf8()
                  + "\n" + "Q6?;a;b;c;d;a;atalho.bmp\n");
    // A link beside the spreadsheet to a photo the bank has: the bank's photo, by its own name.
    QVERIFY(QFile::link(bank.photo(QStringLiteral("velha.bmp")), bank.csv(QStringLiteral("atalho.bmp"))));

    const Run run = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral(": 2.")), qPrintable(run.out)); // two copies made

    const QList<Question> rows = readQuestionTable(bank.data());
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows[6].foto, bank.photo(QStringLiteral("velha.bmp")));
    QCOMPARE(rows[1].foto, bank.photo(QStringLiteral("azul-2.bmp")));
    QCOMPARE(rows[2].foto, bank.photo(QStringLiteral("azul-3.bmp")));
    QCOMPARE(rows[3].foto, bank.photo(QStringLiteral("verde.bmp")));
    QCOMPARE(rows[4].foto, bank.photo(QStringLiteral("azul-2.bmp")));
    QCOMPARE(rows[5].foto, bank.photo(QStringLiteral("velha.bmp")));
    QCOMPARE(readFile(bank.photo(QStringLiteral("azul.bmp"))), oldAzul);
    QCOMPARE(readFile(bank.photo(QStringLiteral("azul-2.bmp"))), readFile(bank.csv(QStringLiteral("azul.bmp"))));
    QCOMPARE(readFile(bank.photo(QStringLiteral("azul-3.bmp"))), readFile(bank.csv(QStringLiteral("sub/azul.bmp"))));
    QCOMPARE(bank.photoFiles(), QStringList({"azul-2.bmp", "azul-3.bmp", "azul.bmp", "velha.bmp", "verde.bmp"}));
}

// A photo far larger than the photo box is stored as a copy fitted to it, which shows it whole
// (its red frame at the top); the spreadsheet's own file is neither copied nor changed.
void CsvTest::largePhotosAreStoredFitted()
{
    CsvBank bank(1);
    QImage framed(1200, 900, QImage::Format_RGB32);
    framed.fill(Qt::red);
    for (int y = 225; y < 675; ++y)
        for (int x = 300; x < 900; ++x)
            framed.setPixel(x, y, qRgb(0, 0, 255));
    QDir().mkpath(QFileInfo(bank.csv(QString())).path());
    QVERIFY(framed.save(bank.csv(QStringLiteral("praia.png")), "PNG"));
    const QByteArray original = readFile(bank.csv(QStringLiteral("praia.png")));
    writePicture(bank.csv(QStringLiteral("pequena.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("novas.csv")), Header + "Praia?;a;b;c;d;a;praia.png\nDe novo?;a;b;c;d;a;praia.png\n"
                                                         + "Pequena?;a;b;c;d;a;pequena.bmp\n");
    const Run run = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(u"guardadas como cópias ajustadas ao quadro: 1;"_qs), qPrintable(run.out));
    QCOMPARE(bank.photoFiles(), QStringList({"pequena.bmp", "praia-ajustada.jpg", "velha.bmp"}));
    const QList<Question> rows = readQuestionTable(bank.data());
    QCOMPARE(rows[1].foto, bank.photo(QStringLiteral("praia-ajustada.jpg")));
    QCOMPARE(rows[2].foto, rows[1].foto);
    const QImage stored(rows[1].foto);
    QCOMPARE(stored.size(), QSize(137, 177));
    QVERIFY(stored.pixelColor(68, 4).red() > 200 && stored.pixelColor(68, 88).blue() > 200);
    QCOMPARE(readFile(bank.csv(QStringLiteral("praia.png"))), original);
}

void CsvTest::exportThenImportGivesTheSameBank()
{
    CsvBank bank(0);
    writePicture(bank.photo(QStringLiteral("a.bmp")), Qt::red);
    const QList<QStringList> questions = {
        {u"Ponto e vírgula; vírgula, e \"aspas\"?"_qs, " antes", "depois ", "1", "2", "2"},
        {"Duas\r\nlinhas?", u"Ação"_qs, u"€"_qs, "=1+1", "x", "=1+1"},
        // Texts a spreadsheet would run as formulas, and texts that begin with the apostrophe
        // that guards them.
        {"=HYPERLINK(\"http://x\";\"clique\")", "+55", "-5 graus", "@soma", "'aspas'", "-5 graus"},
        {"''dois", "'", "a", "b", "c", "'"},
    };
    QList<Question> rows;
    for (int i = 0; i < questions.size(); ++i) {
        const QStringList &q = questions[i];
        rows << Question{double(i + 1), q[0], {q[1], q[2], q[3], q[4]}, q[5], bank.photo(QStringLiteral("a.bmp"))};
    }
    openBank(bank.data())->insertQuestions(rows);
    const QString csv = bank.csv(QStringLiteral("banco.csv"));
    QDir().mkpath(QFileInfo(csv).path());

    const Run exported = jornadaDados({QStringLiteral("--exportar"), csv, bank.data()});
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    const QByteArray bytes = readFile(csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF\"Id\";\"Pergunta\";\"Resp1\";\"Resp2\";\"Resp3\";\"Resp4\";\"Correta\";\"Foto\"\r\n"));
    QVERIFY(bytes.contains("\r\n2;\"Duas\r\nlinhas?\";\"A\xC3\xA7\xC3\xA3o\";\"\xE2\x82\xAC\";\"'=1+1\";\"x\";\"'=1+1\";\"fotos/a.bmp\"\r\n"));
    QVERIFY(bytes.contains("\"'=HYPERLINK(\"\"http://x\"\";\"\"clique\"\")\";\"'+55\";\"'-5 graus\";\"'@soma\";\"''aspas'\";"));

    QTemporaryDir other;
    openBank(other.path())->createQuestionTable();
    const Run imported = jornadaDados({QStringLiteral("--importar"), csv, other.path()});
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    const QList<Question> back = readQuestionTable(other.path());
    QCOMPARE(back.size(), questions.size());
    for (int i = 0; i < questions.size(); ++i) {
        QCOMPARE(back[i].id, double(i + 1));
        QCOMPARE(texts(back[i]), questions[i]);
        QCOMPARE(back[i].foto, other.filePath(QStringLiteral("fotos/a.bmp")));
    }
    QCOMPARE(readFile(other.filePath(QStringLiteral("fotos/a.bmp"))), readFile(bank.photo(QStringLiteral("a.bmp"))));
}

void CsvTest::exportReplacesANamedFileWhole()
{
    CsvBank bank(2);
    const QString csv = bank.csv(QStringLiteral("banco.csv"));
    writeFile(csv, QByteArray(5000, 'v'));
    const Run run = jornadaDados({QStringLiteral("--exportar"), csv, bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QByteArray expected = u"\uFEFF\"Id\";\"Pergunta\";\"Resp1\";\"Resp2\";\"Resp3\";\"Resp4\";\"Correta\";\"Foto\"\r\n"
                                u"1;\"Pergunta 1\";\"um\";\"dois\";\"três\";\"quatro\";\"dois\";\"fotos/velha.bmp\"\r\n"
                                u"2;\"Pergunta 2\";\"um\";\"dois\";\"três\";\"quatro\";\"dois\";\"fotos/velha.bmp\"\r\n"_qs
                                    .toUtf8();
    QCOMPARE(readFile(csv), expected);
    QCOMPARE(readFile(bank.csv(QStringLiteral("fotos/velha.bmp"))), readFile(bank.photo(QStringLiteral("velha.bmp"))));
    // Nothing is left beside it.
    QCOMPARE(QDir(QFileInfo(csv).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"banco.csv"});

    const Run missing = jornadaDados({QStringLiteral("--exportar"), bank.csv(QStringLiteral("nao/ha/banco.csv")), bank.data()});
    QCOMPARE(missing.status, 1);
    QVERIFY(missing.err.contains(QStringLiteral("não foi possível gravar")));
}

void CsvTest::roundTripChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("savedAs"); // LibreOffice's filter that saves the file again; empty for none
    QTest::newRow("csv") << QStringLiteral("banco.csv") << QString();
    QTest::newRow("xlsx") << QStringLiteral("banco.xlsx") << QString();
    // Opened in Calc with "Format quoted field as text", saved with "Quote all text cells".
    QTest::newRow("csv saved by Calc") << QStringLiteral("banco.csv")
                                       << QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1,,1046,true,true");
    QTest::newRow("xlsx saved by Calc") << QStringLiteral("banco.xlsx") << QStringLiteral("xlsx:Calc MS Excel 2007 XML");
    QTest::newRow("xlsx saved by Calc as ods") << QStringLiteral("banco.xlsx") << QStringLiteral("ods");
}

// Exported (and, in some rows, opened and saved again by LibreOffice Calc), then imported back as
// an update: every field as it was. Exported, carried with its photos to another computer and
// imported there: the same questions and photos.
void CsvTest::roundTripChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, savedAs);
    CsvBank bank(0);
    QTemporaryDir elsewhere;
    writePicture(bank.photo(QStringLiteral("a.bmp")), Qt::red);
    writePicture(elsewhere.filePath(QStringLiteral("b.bmp")), Qt::blue);
    const QList<QStringList> questions = {
        {u"Quanto é 1/2 + 3/4?"_qs, "1/2", "3/4", "5/4", "1.000", "5/4"},
        {u"Pi vale?"_qs, "3,14", "3.14", "1e3", "007", "3,14"},
        {" Ponto; e \"aspas\", e mais ", "=1+1", "+55", "-5", "'x", "'x"},
        {"Duas\r\nlinhas?", "@a", "TRUE", "01/02/2024 12:30", "Tab\taqui", "TRUE"},
    };
    QList<Question> rows;
    for (int i = 0; i < questions.size(); ++i) {
        const QStringList &q = questions[i];
        const QString photo = i % 2 ? elsewhere.filePath(QStringLiteral("b.bmp")) : bank.photo(QStringLiteral("a.bmp"));
        rows << Question{double(i + 1) * 3, q[0], {q[1], q[2], q[3], q[4]}, q[5], photo};
    }
    openBank(bank.data())->insertQuestions(rows);
    const QString exported = bank.csv(file);
    QDir().mkpath(QFileInfo(exported).path());
    const Run out = jornadaDados({QStringLiteral("--exportar"), exported, bank.data()});
    QVERIFY2(out.status == 0, qPrintable(out.err));

    if (file.endsWith(QLatin1String(".xlsx")) && savedAs.isEmpty()) {
        // Every cell text (t="s"), none a number, a date or a formula a spreadsheet would work out.
        const QByteArray sheet = zipEntry(exported, "xl/worksheets/sheet1.xml");
        QCOMPARE(sheet.count("<c "), (rows.size() + 1) * 8);
        QCOMPARE(sheet.count("<c "), sheet.count(" t=\"s\""));
        QVERIFY(!sheet.contains("<f>"));
        // The eight columns, and no other, are formatted as text for what a teacher types.
        QCOMPARE(sheet.count("<col "), 8);
        QVERIFY(sheet.contains("<col min=\"8\" max=\"8\""));
    }

    QString imported = exported;
    QTemporaryDir saved;
    if (!savedAs.isEmpty()) {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice, package libreoffice-calc-nogui) is not installed");
        QStringList arguments = {QStringLiteral("--headless"),
                                 QStringLiteral("-env:UserInstallation=file://") + saved.filePath(QStringLiteral("perfil"))};
        if (file.endsWith(QLatin1String(".csv")))
            arguments << QStringLiteral("--infilter=CSV:59,34,76,1,,1046,true,false");
        arguments << QStringLiteral("--convert-to") << savedAs << QStringLiteral("--outdir") << saved.path() << exported;
        QProcess calc;
        calc.start(soffice, arguments);
        QVERIFY(calc.waitForFinished(180000));
        imported = saved.filePath(QStringLiteral("banco.") + savedAs.section(QLatin1Char(':'), 0, 0));
        QVERIFY2(QFileInfo::exists(imported), calc.readAllStandardError().constData());
        QVERIFY(QFile::rename(bank.csv(QStringLiteral("fotos")), saved.filePath(QStringLiteral("fotos"))));
    }
    const Run back = jornadaDados({QStringLiteral("--atualizar"), imported, bank.data()});
    QVERIFY2(back.status == 0, qPrintable(back.err));
    QVERIFY2(back.out.contains(u"substituídas: 0; acrescentadas: 0; iguais às do banco: 4."_qs), qPrintable(back.out));
    const QList<Question> after = readQuestionTable(bank.data());
    QCOMPARE(after.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(after[i].id, rows[i].id);
        QCOMPARE(texts(after[i]), texts(rows[i]));
        QCOMPARE(after[i].foto, rows[i].foto);
    }
    QCOMPARE(bank.photoFiles(), (QStringList{"a.bmp", "velha.bmp"}));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"b.bmp"});

    // Another computer: only the exported folder goes there.
    if (!savedAs.isEmpty())
        return;
    QTemporaryDir other;
    const QString carried = other.filePath(QStringLiteral("pendrive"));
    QVERIFY(QDir().rename(QFileInfo(exported).path(), carried));
    openBank(other.path())->createQuestionTable();
    const Run there = jornadaDados({QStringLiteral("--importar"), QDir(carried).filePath(file), other.path()});
    QVERIFY2(there.status == 0, qPrintable(there.err));
    const QList<Question> copied = readQuestionTable(other.path());
    QCOMPARE(copied.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(texts(copied[i]), texts(rows[i]));
        QCOMPARE(readFile(copied[i].foto), readFile(rows[i].foto));
        QVERIFY(copied[i].foto.startsWith(other.filePath(QStringLiteral("fotos/"))));
    }
}

// A file imported twice adds nothing the second time; a question the bank has, or the file has
// on an earlier line, is skipped whatever its case and accents, and its photo is not copied.
void CsvTest::doubleImportSkipsEveryRow()
{
    CsvBank bank(2);
    writePicture(bank.csv(QStringLiteral("nova.bmp")), Qt::green);
    writePicture(bank.csv(QStringLiteral("pulada.bmp")), Qt::blue);
    writeFile(bank.csv(QStringLiteral("novas.csv")),
              Header + u"Qual é a capital?;a;b;c;d;a;nova.bmp\n"_qs.toUtf8()
                  + "QUAL E A CAPITAL?;a;b;c;d;a;pulada.bmp\n" + "  pergunta 1;x;y;z;w;x;pulada.bmp\n");
    const QStringList skippedFirst = {u"linha 3: não acrescentada: repete a pergunta da linha 2"_qs,
                                      u"linha 4: não acrescentada: a pergunta já está no banco, com o número 1"_qs};
    const Run first = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY2(first.status == 0, qPrintable(first.err));
    QCOMPARE(problemLines(first.out), skippedFirst);
    QVERIFY2(first.out.contains(QStringLiteral("com o número 3.")), qPrintable(first.out));
    QCOMPARE(bank.photoFiles(), (QStringList{"nova.bmp", "velha.bmp"}));

    const Run second = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY2(second.status == 0, qPrintable(second.err));
    QVERIFY2(second.out.contains(QStringLiteral("Nenhuma pergunta nova")), qPrintable(second.out));
    const QStringList skippedSecond = {u"linha 2: não acrescentada: a pergunta já está no banco, com o número 3"_qs,
                                       u"linha 3: não acrescentada: a pergunta já está no banco, com o número 3"_qs,
                                       skippedFirst[1]};
    QCOMPARE(problemLines(second.out), skippedSecond);
    QCOMPARE(readQuestionTable(bank.data()).size(), 3);
    QCOMPARE(bank.photoFiles(), (QStringList{"nova.bmp", "velha.bmp"}));
}

// An update replaces the question its Id names and nothing else; a row without a known Id is
// added, and the report says what became of each line.
void CsvTest::updateByIdChangesOnlyThatQuestion()
{
    CsvBank bank(3);
    const QList<Question> before = readQuestionTable(bank.data());
    writePicture(bank.csv(QStringLiteral("nova.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("banco.csv")),
              "Id;" + Header + "2;Pergunta dois, mudada?;um;dois;tres;quatro;um;nova.bmp\n"
                  + u"1;Pergunta 1;um;dois;três;quatro;dois;%1\n"_qs.arg(bank.photo(QStringLiteral("velha.bmp"))).toUtf8()
                  + ";Nova?;a;b;c;d;a;nova.bmp\n" + "77;Outra nova?;a;b;c;d;b;nova.bmp\n");
    const Run run = jornadaDados({QStringLiteral("--atualizar"), bank.csv(QStringLiteral("banco.csv")), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(u"substituídas: 1; acrescentadas: 2; iguais às do banco: 1."_qs), qPrintable(run.out));
    QCOMPARE(problemLines(run.out), QStringList({u"linha 2: pergunta 2 substituída"_qs,
                                                 u"linha 4: acrescentada com o número 4"_qs,
                                                 u"linha 5: acrescentada com o número 5 (o Id 77 não está no banco)"_qs}));
    const QList<Question> after = readQuestionTable(bank.data());
    QCOMPARE(after.size(), 5);
    for (int i : {0, 2}) {
        QCOMPARE(texts(after[i]), texts(before[i]));
        QCOMPARE(after[i].foto, before[i].foto);
    }
    QCOMPARE(texts(after[1]), QStringList({"Pergunta dois, mudada?", "um", "dois", "tres", "quatro", "um"}));
    QCOMPARE(after[1].foto, bank.photo(QStringLiteral("nova.bmp")));
    QCOMPARE(after[3].pergunta, QStringLiteral("Nova?"));
    QCOMPARE(after[4].correta, QStringLiteral("b"));
    QCOMPARE(after[4].id, 5.0);
}

void CsvTest::lockedTableIsLeftAsItWas()
{
    CsvBank bank(2);
    writePicture(bank.csv(QStringLiteral("nova.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("novas.csv")), Header + "Q?;a;b;c;d;a;nova.bmp\n");

    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(bank.data() + QStringLiteral("/Perguntas.DB")).constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const Run run = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("em uso por outro programa")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("Nada foi importado")), qPrintable(run.err));
    QCOMPARE(readQuestionTable(bank.data()).size(), 2);
    QCOMPARE(bank.photoFiles(), QStringList{"velha.bmp"});
}

void CsvTest::failureMidwayIsUndone()
{
    CsvBank bank(2);
    // The table refuses the second new question, after the first has been added.
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(bank.data() + QStringLiteral("/Perguntas.DB")).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db,
                          "CREATE TRIGGER falha BEFORE INSERT ON db WHEN NEW.Pergunta = 'Segunda?'"
                          " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);
    writePicture(bank.csv(QStringLiteral("nova.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("novas.csv")), Header + "Primeira?;a;b;c;d;a;nova.bmp\nSegunda?;a;b;c;d;a;nova.bmp\n");

    const Run run = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("disco cheio")), qPrintable(run.err));
    const QList<Question> rows = readQuestionTable(bank.data());
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].pergunta, QStringLiteral("Pergunta 2"));
    QCOMPARE(bank.photoFiles(), QStringList{"velha.bmp"});
}

// The disk refuses the photo partway (a file size limit stands in for a full disk): no copy is
// left, whole, cut short or empty, and the bank is as it was.
void CsvTest::photoThatCannotBeWrittenLeavesNothing()
{
    CsvBank bank(2);
    QImage large(270, 340, QImage::Format_RGB32); // some 360 KB as a bitmap, small enough to be copied as it is
    large.fill(Qt::blue);
    QDir().mkpath(QFileInfo(bank.csv(QString())).path());
    QVERIFY(large.save(bank.csv(QStringLiteral("grande.bmp")), "BMP"));
    writePicture(bank.csv(QStringLiteral("pequena.bmp")), Qt::green);
    writeFile(bank.csv(QStringLiteral("novas.csv")),
              Header + "Pequena?;a;b;c;d;a;pequena.bmp\nGrande?;a;b;c;d;a;grande.bmp\n");

    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit size {100 * 1024, 100 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &size);
        ::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails, as on a full disk
    });
    process.start(QStringLiteral(JORNADA_DADOS), {QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains(QStringLiteral("não foi possível copiar a foto %1").arg(bank.csv(QStringLiteral("grande.bmp")))),
             qPrintable(err));
    QCOMPARE(readQuestionTable(bank.data()).size(), 2);
    QCOMPARE(bank.photoFiles(), QStringList{"velha.bmp"});
}

// An import killed at any moment: once jornada-dados runs again, no photo that the import made is
// left without a question, no question names a missing photo, and the photos there before stay.
void CsvTest::killedImportLeavesNothingBehind()
{
    const auto prepare = [](CsvBank &bank) {
        QByteArray csv = Header;
        for (int i = 0; i < 30; ++i) {
            QImage picture(200, 200, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 12, 200, 200));
            QDir().mkpath(QFileInfo(bank.csv(QString())).path());
            QVERIFY(picture.save(bank.csv(QStringLiteral("foto%1.bmp").arg(i)), "BMP"));
            csv += QStringLiteral("Pergunta nova %1?;a;b;c;d;a;foto%1.bmp\n").arg(i).toUtf8();
        }
        writeFile(bank.csv(QStringLiteral("novas.csv")), csv);
    };
    const auto importing = [](const CsvBank &bank) {
        auto *process = new QProcess;
        process->start(QStringLiteral(JORNADA_DADOS),
                       {QStringLiteral("--importar"), bank.csv(QStringLiteral("novas.csv")), bank.data()});
        return process;
    };
    // How long a whole import takes here, so that the kills fall all along it.
    qint64 whole = 0;
    {
        CsvBank bank(2);
        prepare(bank);
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<QProcess> process(importing(bank));
        QVERIFY(process->waitForFinished(60000));
        whole = clock.elapsed();
        QCOMPARE(process->exitCode(), 0);
    }
    constexpr int Kills = 12;
    for (int k = 0; k < Kills; ++k) {
        CsvBank bank(2);
        prepare(bank);
        std::unique_ptr<QProcess> process(importing(bank));
        QVERIFY(process->waitForStarted());
        QThread::msleep(unsigned(whole * (2 * k + 1) / (2 * Kills)));
        process->kill();
        process->waitForFinished();

        jornadaDados({QStringLiteral("--exportar"), bank.csv(QStringLiteral("depois.csv")), bank.data()});
        const QList<Question> rows = readQuestionTable(bank.data());
        QVERIFY(rows.size() == 2 || rows.size() == 32);
        QSet<QString> named;
        for (const Question &row : rows) {
            QVERIFY2(QFileInfo(row.foto).isFile(), qPrintable(row.foto));
            named.insert(QFileInfo(row.foto).fileName());
        }
        const QStringList files = bank.photoFiles();
        QVERIFY(files.contains(QStringLiteral("velha.bmp")));
        for (const QString &file : files)
            QVERIFY2(named.contains(file), qPrintable(QStringLiteral("kill %1: %2").arg(k).arg(file)));
    }
}

// What a killed import left, as its journal lists it (each copy's inode and name): the clean-up
// removes a copy no question names, and the import's unfinished copies; it keeps a photo a
// question names, and a name that now holds some other file than the copy.
void CsvTest::cleanUpRemovesOnlyWhatAnImportMade()
{
    CsvBank bank(2);
    const auto inode = [](const QString &path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? QByteArray::number(qulonglong(info.st_ino))
                                                                        : QByteArray("0");
    };
    writePicture(bank.photo(QStringLiteral("sobra.bmp")), Qt::green);
    writePicture(bank.photo(QStringLiteral("outra.bmp")), Qt::blue);
    writePicture(bank.photo(QStringLiteral("meia.tmp")), Qt::gray);
    writeFile(bank.photo(QStringLiteral(".importacao-4.tmp")), "metade de uma cópia");
    writeFile(bank.photo(QStringLiteral(".importacao-em-andamento")),
              inode(bank.photo(QStringLiteral("sobra.bmp"))) + " sobra.bmp\n"
                  + inode(bank.photo(QStringLiteral("velha.bmp"))) + " velha.bmp\n"
                  + QByteArray::number(inode(bank.photo(QStringLiteral("outra.bmp"))).toULongLong() + 1)
                  + " outra.bmp\n" + "12 sumida.bmp\n" + inode(bank.photo(QStringLiteral("meia.tmp"))).left(3));

    const Run run = jornadaDados({QStringLiteral("--exportar"), bank.data() + QStringLiteral("/todas.csv"), bank.data()});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(u"Uma importação interrompida foi desfeita: 1 foto de %1 que nenhuma pergunta usava foi removida."_qs
                                  .arg(QDir(bank.data()).filePath(QStringLiteral("fotos")))),
             qPrintable(run.out));
    QCOMPARE(bank.photoFiles(), QStringList({"meia.tmp", "outra.bmp", "velha.bmp"}));
}

void CsvTest::refusesWrongUse()
{
    QTemporaryDir empty;
    writeFile(empty.filePath(QStringLiteral("novas.csv")), Header);
    const Run noBank = jornadaDados({QStringLiteral("--importar"), empty.filePath(QStringLiteral("novas.csv")), empty.path()});
    QCOMPARE(noBank.status, 1);
    QVERIFY(noBank.err.contains(QStringLiteral("não tem o banco de perguntas")));

    CsvBank bank(1);
    const Run noFile = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("nao-ha.csv")), bank.data()});
    QCOMPARE(noFile.status, 1);
    QVERIFY2(noFile.err.contains(QStringLiteral("nao-ha.csv não existe")), qPrintable(noFile.err));

    writeFile(bank.csv(QStringLiteral("vazio.csv")), Header + ";;;;;;\n\n");
    const Run nothing = jornadaDados({QStringLiteral("--importar"), bank.csv(QStringLiteral("vazio.csv")), bank.data()});
    QCOMPARE(nothing.status, 1);
    QVERIFY(nothing.err.contains(QStringLiteral("não tem perguntas depois do cabeçalho")));

    const Run both = jornadaDados({QStringLiteral("--importar"), QStringLiteral("a.csv"), QStringLiteral("--exportar"),
                                   QStringLiteral("b.csv"), bank.data()});
    QCOMPARE(both.status, 1);
    QVERIFY2(both.err.contains(QStringLiteral("não se combinam")), qPrintable(both.err));
    QVERIFY2(both.err.contains(QStringLiteral("jornada-dados --importar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]")), qPrintable(both.err));
    const Run withReplace = jornadaDados({QStringLiteral("--importar"), QStringLiteral("a.csv"), QStringLiteral("--substituir")});
    QCOMPARE(withReplace.status, 1);
    QCOMPARE(readQuestionTable(bank.data()).size(), 1);

    const Run help = jornadaDados({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains(QStringLiteral("jornada-dados --importar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]")));
    QVERIFY(help.out.contains(QStringLiteral("jornada-dados --exportar ARQUIVO.csv|ARQUIVO.xlsx [PASTA_DE_DADOS]")));
    QVERIFY(help.out.contains(QStringLiteral("--importar ARQUIVO")));
    QVERIFY(help.out.contains(QStringLiteral("--exportar ARQUIVO")));
    QVERIFY(help.out.contains(QStringLiteral("o cabeçalho é a linha 1")));
    QVERIFY(help.out.contains(QStringLiteral("Exemplo:")));
}

QTEST_GUILESS_MAIN(CsvTest)
#include "test_csv.moc"
