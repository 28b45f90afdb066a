// The sample question bank in data/: every question passes the checks the editor makes before it
// saves one, and every photo exists and decodes with the game's own picture loader.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>

#include "platform/Pictures.h"
#include "screens/Perguntas.h"
#include "store/AppError.h"
#include "store/Setup.h"
#include "store/TableEngine.h"
#include "store/Win1252.h"

#include <QTemporaryDir>

namespace {

const QString SourceFile = QStringLiteral(JORNADA_SOURCE_DIR "/data/perguntas.tsv");
const QString PhotoDir = QStringLiteral(JORNADA_SOURCE_DIR "/data/fotos");
const QStringList Header = {"Id", "Pergunta", "Resp1", "Resp2", "Resp3", "Resp4", "Correta", "Foto"};

// Field sizes of the question table, in Windows-1252 characters.
constexpr int TextSize = 240;
constexpr int PhotoPathSize = 255;
// What fits the question screen: the question label holds about three lines of bold text, an
// answer button one line.
constexpr int QuestionFits = 170;
constexpr int AnswerFits = 60;
const QSize PhotoBox(137, 177);

struct Line {
    int number;        // line in the file, from 1
    QStringList fields;
};

struct Source {
    QString error;     // why the file could not be read at all
    QStringList header;
    QList<Line> questions;
};

// Reads the bank as the set-up tool does: the first line is the header, then one question per
// line; blank lines and lines starting with '#' are skipped.
Source readSource()
{
    Source src;
    QFile file(SourceFile);
    if (!file.open(QIODevice::ReadOnly)) {
        src.error = file.errorString();
        return src;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString text = lines.at(i);
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (i == 0) {
            src.header = text.split(u'\t');
            continue;
        }
        if (text.trimmed().isEmpty() || text.startsWith(u'#'))
            continue;
        src.questions.append({i + 1, text.split(u'\t')});
    }
    return src;
}

} // namespace

class TestSampleBank : public QObject {
    Q_OBJECT

private slots:
    void wholeBank();
    void question_data();
    void question();
    void installedBankPassesTheEditorCheck();
};

// Properties of the bank as a whole: the header, the ids, no repeats, no stray photos.
void TestSampleBank::wholeBank()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    QCOMPARE(src.header, Header);
    QVERIFY2(src.questions.size() >= 60, qPrintable(QStringLiteral("only %1 questions").arg(src.questions.size())));

    QSet<QString> texts, photos;
    int rightAt[4] = {0, 0, 0, 0};
    for (int i = 0; i < src.questions.size(); ++i) {
        const Line &q = src.questions.at(i);
        const QString where = QStringLiteral("line %1").arg(q.number);
        QVERIFY2(q.fields.size() == Header.size(), qPrintable(where + ": wrong number of fields"));
        // The game draws ids between 1 and the number of rows: they must run 1..N in order.
        QVERIFY2(q.fields.at(0) == QString::number(i + 1),
                 qPrintable(where + QStringLiteral(": id %1, expected %2").arg(q.fields.at(0)).arg(i + 1)));
        const QString text = q.fields.at(1).simplified().toCaseFolded();
        QVERIFY2(!texts.contains(text), qPrintable(where + ": the same question is asked twice"));
        texts.insert(text);
        QVERIFY2(!photos.contains(q.fields.at(7)), qPrintable(where + ": photo shared with another question"));
        photos.insert(q.fields.at(7));
        for (int a = 0; a < 4; ++a)
            rightAt[a] += q.fields.at(2 + a) == q.fields.at(6);
    }

    // A player must not be able to win by always picking the same button.
    for (int a = 0; a < 4; ++a)
        QVERIFY2(rightAt[a] * 100 >= src.questions.size() * 15,
                 qPrintable(QStringLiteral("answer %1 is right in only %2 questions").arg(a + 1).arg(rightAt[a])));

    // Every picture in the photo folder belongs to a question.
    const QStringList files = QDir(PhotoDir).entryList(QDir::Files);
    for (const QString &f : files)
        QVERIFY2(photos.contains(f), qPrintable(f + " is not the photo of any question"));
}

void TestSampleBank::question_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("fields");
    const Source src = readSource();
    for (const Line &q : src.questions)
        QTest::addRow("id %s", qPrintable(q.fields.value(0))) << q.number << q.fields;
}

// One question, checked as the editor checks before saving, plus its photo.
void TestSampleBank::question()
{
    QFETCH(int, line);
    QFETCH(QStringList, fields);
    QVERIFY2(fields.size() == Header.size(), qPrintable(QStringLiteral("line %1: wrong number of fields").arg(line)));

    for (int f = 1; f < Header.size(); ++f) {
        const QString &value = fields.at(f);
        const QString &name = Header.at(f);
        QVERIFY2(!value.trimmed().isEmpty(), qPrintable(name + " is blank"));
        QVERIFY2(value == value.trimmed(), qPrintable(name + " has spaces at an end; the game compares answers exactly"));
        QVERIFY2(fitsWin1252(value), qPrintable(name + " has a character outside Windows-1252: " + value));
        const int size = f == 7 ? PhotoPathSize : TextSize;
        QVERIFY2(value.size() <= size, qPrintable(name + QStringLiteral(" is longer than %1").arg(size)));
    }
    QVERIFY2(fields.at(1).size() <= QuestionFits, "the question is too long for its label");
    for (int a = 2; a <= 5; ++a)
        QVERIFY2(fields.at(a).size() <= AnswerFits, qPrintable(Header.at(a) + " is too long for its button"));

    const QStringList answers = fields.mid(2, 4);
    QCOMPARE(answers.count(fields.at(6)), 1);
    QCOMPARE(QSet<QString>(answers.begin(), answers.end()).size(), 4);

    const QString photo = QDir(PhotoDir).filePath(fields.at(7));
    QVERIFY2(QFileInfo(photo).isFile(), qPrintable(photo + " does not exist"));
    QImage picture;
    try {
        picture = loadPicture(photo);
    } catch (const AppError &e) {
        QFAIL(qPrintable(photo + ": " + e.text()));
    }
    QVERIFY(!picture.isNull());
    // The photo box shows a picture at its own size; the sample photos are painted to fit it.
    QVERIFY2(picture.width() <= PhotoBox.width() && picture.height() <= PhotoBox.height(),
             qPrintable(QStringLiteral("%1 x %2 is larger than the photo box").arg(picture.width()).arg(picture.height())));
}

// The data directory that the set-up tool makes from data/: every question as the game will read
// it passes the editor's check before saving, and its photo loads from the stored full path.
void TestSampleBank::installedBankPassesTheEditorCheck()
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("BDPerguntas"));
    const DataDirectoryReport report =
        buildDataDirectory(folder, QStringLiteral(JORNADA_SOURCE_DIR "/data"), false);
    QVERIFY(report.questions >= 60);

    Table table;
    table.open(folder, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    int seen = 0;
    for (table.first(); table.hasRecord(); table.next()) {
        auto field = [&](const char *name) { return table.fieldText(QLatin1String(name)); };
        const QString where = QStringLiteral("question %1").arg(field("Id"));
        const QStringList problems = questionProblems({field("Pergunta"), field("Resp1"), field("Resp2"),
                                                       field("Resp3"), field("Resp4"), field("Correta"),
                                                       field("Foto")});
        QVERIFY2(problems.isEmpty(), qPrintable(where + ": " + problems.join(QStringLiteral("; "))));
        const QString photo = field("Foto");
        QVERIFY2(QFileInfo(photo).isAbsolute() && photo.startsWith(report.photoFolder), qPrintable(where + ": " + photo));
        try {
            QVERIFY(!loadPicture(photo).isNull());
        } catch (const AppError &e) {
            QFAIL(qPrintable(where + ": " + e.text()));
        }
        ++seen;
        if (table.atLast())
            break;
    }
    QCOMPARE(seen, report.questions);
}

QTEST_MAIN(TestSampleBank)
#include "test_sample_bank.moc"
