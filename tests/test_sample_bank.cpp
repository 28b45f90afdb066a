// The sample question bank in data/: every question passes the checks the editor makes before it
// saves one, and every photo exists and decodes with the game's own picture loader. The bank as a
// whole must not give answers away: numbers are listed in ascending order, the right answer's
// place is spread over the four buttons without long runs, it is the longest answer no more
// often than chance makes it, and no question is asked twice.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <optional>

#include "platform/Pictures.h"
#include "screens/Fonts.h"
#include "screens/Perguntas.h"
#include "screens/QuestionFit.h"
#include "store/core/AppError.h"
#include "store/folder/DataFolder.h"
#include "store/kinds/OpenBank.h"
#include "store/tables/TableEngine.h"
#include "store/core/Win1252.h"

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

// What the bank must hold: enough questions that a player meets repeats only after many games,
// in enough subjects, each with enough questions to be worth its name.
constexpr int MinQuestions = 200;
constexpr int MinSubjects = 10;
constexpr int MinPerSubject = 12;
// Each of the four buttons holds the right answer in 22% to 28% of the questions, and never more
// than three questions in a row have it on the same button.
constexpr int MinSharePercent = 22;
constexpr int MaxSharePercent = 28;
constexpr int MaxRun = 3;
// Nor does the length of the answers point at the right one (see rightAnswerIsNotTheLongest).
constexpr int MaxRightIsLongestPercent = 22;
constexpr int MaxPickLongestPercent = 27;

struct Line {
    int number;        // line in the file, from 1
    QStringList fields;
    QString subject;   // the last "# Subject" line above it
};

struct Source {
    QString error;     // why the file could not be read at all
    QStringList header;
    QList<Line> questions;
};

// Reads the bank as the set-up tool does: the first line is the header, then one question per
// line; blank lines and lines starting with '#' are skipped. A line "# Name" also starts the
// subject that the questions below it belong to.
Source readSource(const QString &path = SourceFile)
{
    Source src;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        src.error = file.errorString();
        return src;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QString subject;
    for (int i = 0; i < lines.size(); ++i) {
        QString text = lines.at(i);
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (i == 0) {
            src.header = text.split(u'\t');
            continue;
        }
        if (text.startsWith(u'#')) {
            subject = text.mid(1).trimmed();
            continue;
        }
        if (text.trimmed().isEmpty())
            continue;
        src.questions.append({i + 1, text.split(u'\t'), subject});
    }
    return src;
}

// The text as a reader tells it apart: without accents, case or runs of spaces.
QString plainText(const QString &text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out.append(c);
    return out.simplified().toCaseFolded();
}

// Time units, shortest first, in seconds; a month and a year taken at their average lengths.
const QMap<QString, double> &timeUnits()
{
    static const QMap<QString, double> units = [] {
        const double day = 86400;
        QMap<QString, double> u;
        for (const auto &[names, seconds] : std::initializer_list<std::pair<QStringList, double>>{
                 {{"segundo", "segundos"}, 1},
                 {{"minuto", "minutos"}, 60},
                 {{"hora", "horas"}, 3600},
                 {{"dia", "dias"}, day},
                 {{"semana", "semanas"}, 7 * day},
                 {{"mês", "meses"}, 30.44 * day},
                 {{"ano", "anos"}, 365.25 * day},
                 {{"século", "séculos"}, 36525 * day}})
            for (const QString &n : names)
                u.insert(n, seconds);
        return u;
    }();
    return units;
}

// The values of four answers that are all numbers: an integer ("1822", "1.000"), a decimal with a
// comma ("3,14"), or a fraction ("3/4"), each either alone or followed by a unit after a space.
// The unit must be the same words in all four ("90 graus", "42,195 km"), or else every unit must
// be a time unit ("8 minutos", "8 horas"), compared in seconds. Anything else is not numeric.
std::optional<QList<double>> numericValues(const QStringList &answers)
{
    static const QRegularExpression shape(QStringLiteral(
        "^(-?\\d{1,3}(?:\\.\\d{3})+|-?\\d+(?:,\\d+)?|\\d+/\\d+)(?: (\\S.*))?$"));
    QList<double> numbers;
    QStringList units;
    for (const QString &answer : answers) {
        const QRegularExpressionMatch m = shape.match(answer);
        if (!m.hasMatch())
            return std::nullopt;
        QString number = m.captured(1);
        double value;
        if (number.contains(u'/')) {
            const QStringList parts = number.split(u'/');
            if (parts.at(1).toDouble() == 0)
                return std::nullopt;
            value = parts.at(0).toDouble() / parts.at(1).toDouble();
        } else {
            value = number.remove(u'.').replace(u',', u'.').toDouble();
        }
        numbers.append(value);
        units.append(m.captured(2));
    }
    if (units.count(units.first()) == units.size())
        return numbers;
    for (int i = 0; i < units.size(); ++i) {
        const auto unit = timeUnits().constFind(units.at(i));
        if (unit == timeUnits().constEnd())
            return std::nullopt;
        numbers[i] *= *unit;
    }
    return numbers;
}

// Why a question's answers give the right one away by their order, or an empty text.
QString orderProblem(const QStringList &answers)
{
    const std::optional<QList<double>> values = numericValues(answers);
    if (!values)
        return {};
    for (int i = 1; i < values->size(); ++i)
        if (!(values->at(i - 1) < values->at(i)))
            return QStringLiteral("numeric answers out of ascending order: ") + answers.join(QStringLiteral(", "));
    return {};
}

// The longest run of equal values in a row.
int longestRun(const QList<int> &values)
{
    int longest = 0, run = 0;
    for (int i = 0; i < values.size(); ++i) {
        run = i > 0 && values.at(i) == values.at(i - 1) ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// Which button, 0 to 3, holds the right answer of each question; -1 when none does.
QList<int> rightPositions(const QList<Line> &questions)
{
    QList<int> positions;
    for (const Line &q : questions)
        positions.append(q.fields.size() == 8 ? int(q.fields.mid(2, 4).indexOf(q.fields.at(6))) : -1);
    return positions;
}

// How much the answers' lengths give away, over the questions whose answers are not all numbers
// (numbers are told apart by their values, and their order is fixed). Lengths are counted in
// characters, as the player sees them on the buttons.
struct LengthTell {
    int questions = 0;      // questions counted
    int rightIsLongest = 0; // the right answer is longer than each of the other three
    double pickLongest = 0; // right answers expected of a player who always picks a longest
                            // answer, drawing among those of equal length
};

LengthTell lengthTell(const QList<Line> &questions)
{
    LengthTell tell;
    for (const Line &q : questions) {
        if (q.fields.size() != 8)
            continue;
        const QStringList answers = q.fields.mid(2, 4);
        if (numericValues(answers))
            continue;
        ++tell.questions;
        qsizetype longest = 0;
        for (const QString &a : answers)
            longest = std::max(longest, a.size());
        const auto atLongest = std::count_if(answers.cbegin(), answers.cend(),
                                             [longest](const QString &a) { return a.size() == longest; });
        if (q.fields.at(6).size() != longest)
            continue;
        tell.pickLongest += 1.0 / double(atLongest);
        if (atLongest == 1)
            ++tell.rightIsLongest;
    }
    return tell;
}

} // namespace

class TestSampleBank : public QObject {
    Q_OBJECT

private slots:
    void plainTextIgnoresAccentsCaseAndSpaces();
    void numericAnswersAreRecognised_data();
    void numericAnswersAreRecognised();
    void longestRunCountsEqualNeighbours();
    void lengthTellCountsTheLongestAnswers_data();
    void lengthTellCountsTheLongestAnswers();
    void readingKeepsTheSubjects();

    void wholeBank();
    void rightAnswerIsSpreadOverTheButtons();
    void noLongRunOnTheSameButton();
    void rightAnswerIsNotTheLongest();
    void enoughQuestionsAndSubjects();
    void question_data();
    void question();
    void installedBankPassesTheEditorCheck();
};

void TestSampleBank::plainTextIgnoresAccentsCaseAndSpaces()
{
    QCOMPARE(plainText(QStringLiteral("Qual é a  CAPITAL do Amapá?")), QStringLiteral("qual e a capital do amapa?"));
    QCOMPARE(plainText(QStringLiteral("Ação")), plainText(QStringLiteral("acao")));
    QVERIFY(plainText(QStringLiteral("pão")) != plainText(QStringLiteral("pães")));
}

void TestSampleBank::numericAnswersAreRecognised_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<bool>("ascending");
    QTest::newRow("years") << QStringList{"1950", "1955", "1960", "1964"} << true << true;
    QTest::newRow("one number out of place") << QStringList{"7", "9", "10", "8"} << true << false;
    QTest::newRow("descending") << QStringList{"40", "30", "20", "10"} << true << false;
    QTest::newRow("a number twice") << QStringList{"5", "6", "6", "7"} << true << false;
    QTest::newRow("decimals with a comma") << QStringList{"2,72", "3,14", "1,62", "1,41"} << true << false;
    QTest::newRow("decimal after integer") << QStringList{"3", "3,5", "4", "10"} << true << true;
    QTest::newRow("thousands with a point") << QStringList{"800", "1.000", "1.200", "5.000"} << true << true;
    QTest::newRow("common unit") << QStringList{"90 graus", "180 graus", "270 graus", "360 graus"} << true << true;
    QTest::newRow("common unit out of order")
        << QStringList{"90 graus", "270 graus", "360 graus", "180 graus"} << true << false;
    QTest::newRow("time units") << QStringList{"8 segundos", "8 minutos", "8 horas", "8 dias"} << true << true;
    QTest::newRow("time units out of order")
        << QStringList{"8 segundos", "8 horas", "8 minutos", "8 dias"} << true << false;
    QTest::newRow("time units, singular and plural") << QStringList{"30 minutos", "1 hora", "2 horas", "1 dia"} << true << true;
    QTest::newRow("fractions") << QStringList{"1/3", "1/2", "3/4", "1"} << true << true;
    QTest::newRow("fractions out of order") << QStringList{"1/2", "1/3", "3/4", "1"} << true << false;
    QTest::newRow("different units") << QStringList{"340 metros por segundo", "3 mil km por segundo", "30 m", "7 kg"}
                                     << false << true;
    QTest::newRow("words") << QStringList{"Au", "Ag", "Go", "Or"} << false << true;
    QTest::newRow("number inside words") << QStringList{"Dom Pedro I", "Dom Pedro II", "Dom João VI", "Lei 1"}
                                         << false << true;
}

// The rule that decides which answers must be in ascending order, on answers made up here.
void TestSampleBank::numericAnswersAreRecognised()
{
    QFETCH(QStringList, answers);
    QFETCH(bool, numeric);
    QFETCH(bool, ascending);
    QCOMPARE(numericValues(answers).has_value(), numeric);
    QCOMPARE(orderProblem(answers).isEmpty(), ascending);
}

void TestSampleBank::longestRunCountsEqualNeighbours()
{
    QCOMPARE(longestRun({}), 0);
    QCOMPARE(longestRun({2}), 1);
    QCOMPARE(longestRun({0, 1, 2, 3, 0, 1}), 1);
    QCOMPARE(longestRun({0, 0, 1, 1, 1, 2}), 3);
    QCOMPARE(longestRun({3, 1, 1, 1, 1}), 4);
    QCOMPARE(longestRun({1, 1, 2, 1, 1}), 2);
}

void TestSampleBank::lengthTellCountsTheLongestAnswers_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("right");
    QTest::addColumn<int>("counted");
    QTest::addColumn<int>("rightIsLongest");
    QTest::addColumn<double>("pickLongest");
    QTest::newRow("right answer longest") << QStringList{"Sol", "Lua", "Vênus", "Via Láctea"} << "Via Láctea" << 1 << 1 << 1.0;
    QTest::newRow("a wrong answer longest") << QStringList{"Sol", "Lua", "Vênus", "Via Láctea"} << "Lua" << 1 << 0 << 0.0;
    QTest::newRow("longest shared by two") << QStringList{"Lua", "Marte", "Terra", "Sol"} << "Marte" << 1 << 0 << 0.5;
    QTest::newRow("all the same length") << QStringList{"Au", "Ag", "Go", "Or"} << "Au" << 1 << 0 << 0.25;
    // "Ação" is four characters but six bytes in UTF-8: the length a player sees is counted.
    QTest::newRow("accents count once") << QStringList{"Ação", "Acaso", "Ato", "As"} << "Ação" << 1 << 0 << 0.0;
    QTest::newRow("numbers are left out") << QStringList{"8 segundos", "8 minutos", "8 horas", "8 dias"} << "8 segundos"
                                          << 0 << 0 << 0.0;
}

// The measure of how much the answers' lengths give away, on questions made up here.
void TestSampleBank::lengthTellCountsTheLongestAnswers()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, right);
    QFETCH(int, counted);
    QFETCH(int, rightIsLongest);
    QFETCH(double, pickLongest);
    const LengthTell tell = lengthTell({{1, QStringList{"1", "P?"} + answers + QStringList{right, "p.jpg"}, "S"}});
    QCOMPARE(tell.questions, counted);
    QCOMPARE(tell.rightIsLongest, rightIsLongest);
    QCOMPARE(tell.pickLongest, pickLongest);
}

// A bank written here: each question belongs to the subject line above it, one above every subject
// line to none.
void TestSampleBank::readingKeepsTheSubjects()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("perguntas.tsv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString q = QStringLiteral("\tP?\ta\tb\tc\td\ta\tp.jpg\n");
    file.write(QStringLiteral("Id\tPergunta\n1%1\n# Água\n2%1#comment-like\n3%1\n#Outra\n4%1").arg(q).toUtf8());
    file.close();
    const Source src = readSource(path);
    QCOMPARE(src.questions.size(), 4);
    QCOMPARE(src.questions.at(0).subject, QString());
    QCOMPARE(src.questions.at(1).subject, QStringLiteral("Água"));
    QCOMPARE(src.questions.at(2).subject, QStringLiteral("comment-like"));
    QCOMPARE(src.questions.at(3).subject, QStringLiteral("Outra"));
    QCOMPARE(src.questions.at(3).number, 10);
    QCOMPARE(rightPositions(src.questions), (QList<int>{0, 0, 0, 0}));
}

// Properties of the bank as a whole: the header, the ids, no repeats, no stray photos.
void TestSampleBank::wholeBank()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    QCOMPARE(src.header, Header);

    QMap<QString, int> texts;
    QSet<QString> photos;
    for (int i = 0; i < src.questions.size(); ++i) {
        const Line &q = src.questions.at(i);
        const QString where = QStringLiteral("line %1").arg(q.number);
        QVERIFY2(q.fields.size() == Header.size(), qPrintable(where + ": wrong number of fields"));
        // The game draws ids between 1 and the number of rows: they must run 1..N in order.
        QVERIFY2(q.fields.at(0) == QString::number(i + 1),
                 qPrintable(where + QStringLiteral(": id %1, expected %2").arg(q.fields.at(0)).arg(i + 1)));
        // The same question told apart only by accents or case is still the same question.
        const QString text = plainText(q.fields.at(1));
        QVERIFY2(!texts.contains(text),
                 qPrintable(where + QStringLiteral(": the same question as id %1").arg(texts.value(text))));
        texts.insert(text, i + 1);
        QVERIFY2(!photos.contains(q.fields.at(7)), qPrintable(where + ": photo shared with another question"));
        photos.insert(q.fields.at(7));
    }

    // Every picture in the photo folder belongs to a question.
    const QStringList files = QDir(PhotoDir).entryList(QDir::Files);
    for (const QString &f : files)
        QVERIFY2(photos.contains(f), qPrintable(f + " is not the photo of any question"));
}

// A player must not be able to win by always picking the same button.
void TestSampleBank::rightAnswerIsSpreadOverTheButtons()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    const QList<int> positions = rightPositions(src.questions);
    QVERIFY2(!positions.contains(-1), "a question has no right answer among its four");
    const qsizetype n = positions.size();
    QVERIFY(n > 0);
    for (int a = 0; a < 4; ++a) {
        const qsizetype count = positions.count(a);
        QVERIFY2(count * 100 >= n * MinSharePercent && count * 100 <= n * MaxSharePercent,
                 qPrintable(QStringLiteral("answer %1 is the right one in %2 of %3 questions, outside %4%-%5%")
                                .arg(a + 1).arg(count).arg(n).arg(MinSharePercent).arg(MaxSharePercent)));
    }
}

// Nor by guessing that the next right answer sits where the last few did.
void TestSampleBank::noLongRunOnTheSameButton()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    const QList<int> positions = rightPositions(src.questions);
    const qsizetype n = positions.size();
    for (qsizetype i = 0; i + MaxRun < n; ++i) {
        const QList<int> window = positions.mid(i, MaxRun + 1);
        QVERIFY2(longestRun(window) <= MaxRun,
                 qPrintable(QStringLiteral("ids %1 to %2 all have the right answer on button %3")
                                .arg(i + 1).arg(i + MaxRun + 1).arg(window.first() + 1)));
    }
}

// Nor by picking the longest answer. An answer placed without regard to its length is the only
// longest one in a quarter of the questions that have a single longest answer: about three in
// four of this bank, so chance is about 19%, and always picking a longest answer scores 25% like
// any blind choice. The bounds leave a few questions of slack over chance, no more.
void TestSampleBank::rightAnswerIsNotTheLongest()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    const LengthTell tell = lengthTell(src.questions);
    QVERIFY(tell.questions > 0);
    const double rightIsLongest = 100.0 * tell.rightIsLongest / tell.questions;
    const double pickLongest = 100.0 * tell.pickLongest / tell.questions;
    qInfo("%d questions with answers not all numbers: the right answer is the only longest in %d (%.1f%%); "
          "always picking the longest scores %.1f (%.1f%%)",
          tell.questions, tell.rightIsLongest, rightIsLongest, tell.pickLongest, pickLongest);
    QVERIFY2(rightIsLongest <= MaxRightIsLongestPercent,
             qPrintable(QStringLiteral("the right answer is the only longest in %1% of the questions, more than %2%")
                            .arg(rightIsLongest, 0, 'f', 1).arg(MaxRightIsLongestPercent)));
    QVERIFY2(pickLongest <= MaxPickLongestPercent,
             qPrintable(QStringLiteral("always picking the longest answer scores %1%, more than %2%")
                            .arg(pickLongest, 0, 'f', 1).arg(MaxPickLongestPercent)));
}

// The bank is large enough, and every question belongs to a subject with enough company.
void TestSampleBank::enoughQuestionsAndSubjects()
{
    const Source src = readSource();
    QVERIFY2(src.error.isEmpty(), qPrintable(src.error));
    QVERIFY2(src.questions.size() >= MinQuestions,
             qPrintable(QStringLiteral("only %1 questions, at least %2 wanted").arg(src.questions.size()).arg(MinQuestions)));
    QMap<QString, int> perSubject;
    QString previous;
    for (const Line &q : src.questions) {
        QVERIFY2(!q.subject.isEmpty(), qPrintable(QStringLiteral("line %1 is under no \"# Subject\" line").arg(q.number)));
        // One block per subject: a subject that comes back further down is a second block of it.
        QVERIFY2(q.subject == previous || !perSubject.contains(q.subject),
                 qPrintable(QStringLiteral("line %1: subject \"%2\" appears in two places").arg(q.number).arg(q.subject)));
        previous = q.subject;
        ++perSubject[q.subject];
    }
    QVERIFY2(perSubject.size() >= MinSubjects,
             qPrintable(QStringLiteral("only %1 subjects, at least %2 wanted").arg(perSubject.size()).arg(MinSubjects)));
    for (auto it = perSubject.cbegin(); it != perSubject.cend(); ++it)
        QVERIFY2(it.value() >= MinPerSubject, qPrintable(QStringLiteral("subject \"%1\" has only %2 questions, at least %3 wanted")
                                                             .arg(it.key()).arg(it.value()).arg(MinPerSubject)));
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
    // Measured with the game's font, nothing is shown shortened.
    registerGameFonts();
    const QStringList shortened = QuestionFit::warnings(
        {0, fields.at(1), {fields.at(2), fields.at(3), fields.at(4), fields.at(5)}, fields.at(6), fields.at(7)});
    QVERIFY2(shortened.isEmpty(), qPrintable(shortened.join(QStringLiteral("; "))));

    const QStringList answers = fields.mid(2, 4);
    QCOMPARE(answers.count(fields.at(6)), 1);
    // Four answers a reader can tell apart: not only different bytes.
    QSet<QString> plain;
    for (const QString &a : answers)
        plain.insert(plainText(a));
    QVERIFY2(plain.size() == 4, qPrintable("two answers differ only in accents, case or spaces: " + answers.join(", ")));
    // Numbers, years and time spans in ascending order, so that their order says nothing.
    const QString order = orderProblem(answers);
    QVERIFY2(order.isEmpty(), qPrintable(order));

    const QString photo = QDir(PhotoDir).filePath(fields.at(7));
    QVERIFY2(QFileInfo(photo).isFile(), qPrintable(photo + " does not exist"));
    QImage picture;
    try {
        picture = loadPicture(photo);
    } catch (const AppError &e) {
        QFAIL(qPrintable(photo + ": " + e.text()));
    }
    QVERIFY(!picture.isNull());
    // A JPEG says what it shows, for screen readers, without giving the answer away.
    if (photo.endsWith(u".jpg")) {
        const QString shows = picture.text(PictureDescriptionKey);
        QVERIFY2(shows.size() >= 10, qPrintable(photo + " has no description"));
        const QString right = plainText(fields.at(6));
        QVERIFY2(right.size() < 4 || !plainText(shows).contains(right), qPrintable(shows));
    }
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
    DataDirectoryReport report;
    try {
        report = buildDataDirectory(folder, QStringLiteral(JORNADA_SOURCE_DIR "/data"), false);
    } catch (const AppError &e) {
        QFAIL(qPrintable("the set-up tool refuses the bank: " + e.text()));
    }
    QCOMPARE(report.questions, readSource().questions.size());

    Table table;
    table.open(*openBank(folder), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    int seen = 0;
    for (table.first(); table.hasRecord(); table.next()) {
        auto field = [&](const char *name) { return table.fieldText(QLatin1String(name)); };
        const QString where = QStringLiteral("question %1").arg(field("Id"));
        const QStringList problems = questionProblems({0, field("Pergunta"),
                                                       {field("Resp1"), field("Resp2"), field("Resp3"), field("Resp4")},
                                                       field("Correta"), field("Foto")});
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
