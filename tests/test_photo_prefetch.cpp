// Photos decoded in the background before they are shown: on their own, in a game and in the
// editor. What is shown must always be what the file on disk holds when it is shown, errors
// included, and stopping never waits for more than the decode under way.
#include "app/Jornada.h"
#include "game/GameSession.h"
#include "helpers/Play.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestData.h"
#include "platform/DBNavigator.h"
#include "platform/PhotoPrefetch.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Senha.h"
#include "store/kinds/OpenBank.h"
#include "store/core/AppError.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/tables/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <cstdio>

using Kind = DialogBackend::Kind;

namespace {

const QSize Box(137, 177);

// A JPEG of one colour, larger than the photo box, written beside `path` and renamed over it,
// as a program that replaces a photo does.
void writePhoto(const QString &path, QColor colour, QSize size = QSize(300, 400))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString fresh = path + QStringLiteral(".novo");
    QVERIFY(image.save(fresh, "JPG", 95));
    QVERIFY(std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0);
}

// Which of red, green and blue the centre of a picture is.
QColor centreOf(const QImage &picture)
{
    const QColor c = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
        return Qt::red;
    if (c.green() > 200 && c.red() < 60 && c.blue() < 60)
        return Qt::green;
    if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
        return Qt::blue;
    return Qt::black;
}

QString errorOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &e) {
        return e.text();
    }
    return QString();
}

void runSql(const QString &statement)
{
    Query q(openBank(bankInUse()));
    q.add(statement);
    q.execSql();
}

// Gives question n the photo `folder`/n.jpg, red.
QString givePhotos(const TempDataDir &data, int questions)
{
    const QString folder = QDir(data.path()).filePath(QStringLiteral("fotos"));
    QDir().mkpath(folder);
    for (int id = 1; id <= questions; ++id) {
        const QString path = QDir(folder).filePath(QStringLiteral("%1.jpg").arg(id));
        writePhoto(path, Qt::red);
        runSql(QStringLiteral("update perguntas.db set foto = '%1' where id = %2").arg(path).arg(id));
    }
    return folder;
}

QString photoOf(const QString &folder, int id)
{
    return QDir(folder).filePath(QStringLiteral("%1.jpg").arg(id));
}

// A picture of random pixels: as a JPEG, it takes a while to decode.
QImage grainyPicture(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    return image;
}

void waitForPrefetch(const PhotoPrefetch &prefetch)
{
    QTRY_VERIFY_WITH_TIMEOUT(prefetch.idle(), 60000);
}

} // namespace

class PhotoPrefetchTest : public QObject {
    Q_OBJECT

private slots:
    void decodesAsTheBoxShows();
    void photoChangedOnDiskIsReadAgain();
    void failureIsReportedWhenTaken();
    void stopWaitsForTheDecodeUnderWayOnly();
    void gameShowsPhotosReplacedAfterTheDraw();
    void gameReportsABadPhotoAtItsQuestion();
    void skipAndEndOfGame();
    void programEndsDuringAPrefetch();
    void editorMovesThroughPrefetchedPhotos();

private:
    QTemporaryDir m_dir;
};

void PhotoPrefetchTest::decodesAsTheBoxShows()
{
    // A picture with a different colour in each quarter: the centred crop must be the one
    // loadPicture gives for the box, pixel for pixel.
    QImage image(500, 420, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 500, y * 255 / 420, (x + y) % 256));
    const QString path = m_dir.filePath(QStringLiteral("quartos.jpg"));
    QVERIFY(image.save(path, "JPG", 90));
    const QString bmp = m_dir.filePath(QStringLiteral("quartos.bmp"));
    QVERIFY(image.save(bmp, "BMP"));

    PhotoPrefetch prefetch(Box, *openBank(BankLocation::folder(QDir::tempPath())));
    // A photo listed twice is decoded once; a metafile only when it is shown.
    const QString metafile = m_dir.filePath(QStringLiteral("desenho.emf"));
    prefetch.prefetch({path, bmp, QString(), path, metafile});
    waitForPrefetch(prefetch);
    QCOMPARE(prefetch.decodedInBackground(), 2);
    for (const QString &p : {path, bmp}) {
        const QImage taken = prefetch.take(p);
        QCOMPARE(taken.size(), Box);
        QCOMPARE(taken, loadPicture(p, Box));
        // Taken twice, it is the same decoded picture: nothing was read again.
        QCOMPARE(prefetch.take(p).cacheKey(), taken.cacheKey());
    }
    QCOMPARE(prefetch.decodedInBackground(), 2);

    // A photo taken before a list names it is decoded there and kept: the next list that names
    // it does not decode it again, nor the ones it had already.
    const QString taken = m_dir.filePath(QStringLiteral("tomada.jpg"));
    writePhoto(taken, Qt::green);
    const QImage first = prefetch.take(taken);
    QCOMPARE(centreOf(first), QColor(Qt::green));
    prefetch.prefetch({taken, path});
    waitForPrefetch(prefetch);
    QCOMPARE(prefetch.decodedInBackground(), 2);
    QCOMPARE(prefetch.take(taken).cacheKey(), first.cacheKey());
}

void PhotoPrefetchTest::photoChangedOnDiskIsReadAgain()
{
    const QString renamed = m_dir.filePath(QStringLiteral("trocada.jpg"));
    const QString rewritten = m_dir.filePath(QStringLiteral("regravada.jpg"));
    const QString deleted = m_dir.filePath(QStringLiteral("apagada.jpg"));
    for (const QString &path : {renamed, rewritten, deleted})
        writePhoto(path, Qt::red);

    PhotoPrefetch prefetch(Box, *openBank(BankLocation::folder(QDir::tempPath())));
    prefetch.prefetch({renamed, rewritten, deleted});
    waitForPrefetch(prefetch);

    // Another file put in its place.
    writePhoto(renamed, Qt::blue);
    QCOMPARE(centreOf(prefetch.take(renamed)), QColor(Qt::blue));

    // The same file written again in place, with another size.
    QImage green(QSize(320, 400), QImage::Format_RGB32);
    green.fill(Qt::green);
    QFile file(rewritten);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(green.save(&file, "JPG", 95));
    file.close();
    QCOMPARE(centreOf(prefetch.take(rewritten)), QColor(Qt::green));

    // Gone: the error of a missing file, as loadPicture gives it.
    QVERIFY(QFile::remove(deleted));
    const QString missing = errorOf([&] { prefetch.take(deleted); });
    QVERIFY(!missing.isEmpty());
    QCOMPARE(missing, errorOf([&] { loadPicture(deleted, Box); }));
}

void PhotoPrefetchTest::failureIsReportedWhenTaken()
{
    const QString damaged = m_dir.filePath(QStringLiteral("estragada.jpg"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8\xFF\xE0 isto não é uma foto");
    file.close();
    const QString missing = m_dir.filePath(QStringLiteral("nao-existe.jpg"));

    PhotoPrefetch prefetch(Box, *openBank(BankLocation::folder(QDir::tempPath())));
    // Nothing is thrown while they are decoded in the background.
    prefetch.prefetch({damaged, missing});
    waitForPrefetch(prefetch);
    QCOMPARE(prefetch.decodedInBackground(), 2);
    for (const QString &path : {damaged, missing}) {
        const QString error = errorOf([&] { prefetch.take(path); });
        QVERIFY(!error.isEmpty());
        QCOMPARE(error, errorOf([&] { loadPicture(path, Box); }));
    }

    // Mended before it is taken: shown.
    writePhoto(damaged, Qt::green);
    prefetch.prefetch({damaged});
    QCOMPARE(centreOf(prefetch.take(damaged)), QColor(Qt::green));
}

void PhotoPrefetchTest::stopWaitsForTheDecodeUnderWayOnly()
{
    // Twelve copies of a large photo with grain, each a decode of some length.
    const QImage image = grainyPicture(QSize(2400, 1800), 5);
    const QString first = m_dir.filePath(QStringLiteral("grande-0.jpg"));
    QVERIFY(image.save(first, "JPG", 90));
    QStringList paths{first};
    for (int i = 1; i < 12; ++i) {
        paths << m_dir.filePath(QStringLiteral("grande-%1.jpg").arg(i));
        QVERIFY(QFile::copy(first, paths.last()));
    }

    PhotoPrefetch prefetch(Box, *openBank(BankLocation::folder(QDir::tempPath())));
    prefetch.prefetch(paths);
    QTRY_VERIFY_WITH_TIMEOUT(prefetch.decodedInBackground() >= 1, 60000);
    const int before = prefetch.decodedInBackground();
    prefetch.stop();
    const int after = prefetch.decodedInBackground();
    QVERIFY(prefetch.idle());
    QVERIFY2(after <= before + 1, qPrintable(QStringLiteral("%1 then %2").arg(before).arg(after)));
    QVERIFY(after < paths.size());
    // And nothing more is decoded afterwards; a photo is then decoded when taken.
    QTest::qWait(200);
    QCOMPARE(prefetch.decodedInBackground(), after);
    QCOMPARE(prefetch.take(paths.last()), loadPicture(paths.last(), Box));
    QCOMPARE(prefetch.decodedInBackground(), after);
}

void PhotoPrefetchTest::gameShowsPhotosReplacedAfterTheDraw()
{
    TempDataDir data(25);
    const QString folder = givePhotos(data, 25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    for (int i = 0; i < 20; ++i)
        random->next << i; // questions 1 to 20, in order
    Play::start(QStringLiteral("Ana"));
    QCOMPARE(jornada().game().state().DrawnIds[1], 2);
    waitForPrefetch(jornada().FrmPerguntas()->photoPrefetch());
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::red));

    // Questions 2 and 3 get new photos after they were decoded; 4 keeps its own.
    writePhoto(photoOf(folder, 2), Qt::blue);
    writePhoto(photoOf(folder, 3), Qt::green, QSize(280, 400));
    Play::answer(true);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), QStringLiteral("Pergunta 2"));
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::blue));
    Play::answer(true);
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::green));
    Play::answer(true);
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::red));
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void PhotoPrefetchTest::gameReportsABadPhotoAtItsQuestion()
{
    TempDataDir data(25);
    const QString folder = givePhotos(data, 25);
    QFile damaged(photoOf(folder, 3));
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("nada de foto");
    damaged.close();
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    dialogs->shown.clear();
    SequenceRandomGuard random;
    for (int i = 0; i < 20; ++i)
        random->next << (i + 20) % 25; // questions 21 to 25, then 1 to 15: number 3 comes eighth
    Play::start(QStringLiteral("Ana"));
    waitForPrefetch(jornada().FrmPerguntas()->photoPrefetch());
    // Decoded in the background and failed, yet nothing is said before its question.
    for (int place = 1; place < 8; ++place) {
        QVERIFY(dialogs->texts(Kind::Error).isEmpty());
        Play::answer(true);
    }
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("A foto da 8ª pergunta deste jogo (a de número 3 no banco de "
                                                      "perguntas) não pôde ser mostrada.\n")),
             qPrintable(errors.first()));
    QVERIFY(jornada().FrmPerguntas()->ImgPerg->picture().isNull());
    // The game goes on with the question, and the next photo is shown.
    Play::answer(true);
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::red));
    QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
}

void PhotoPrefetchTest::skipAndEndOfGame()
{
    TempDataDir data(25);
    const QString folder = givePhotos(data, 25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    for (int i = 0; i < 20; ++i)
        random->next << i;
    Play::start(QStringLiteral("Ana"));
    // A skip shows a question outside the game, decoded there and then, as it is on disk now.
    writePhoto(photoOf(folder, 24), Qt::blue);
    random->next << 23;
    Play::skip();
    QCOMPARE(jornada().game().state().CandidateId, 24);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), QStringLiteral("Pergunta 24"));
    QCOMPARE(centreOf(jornada().FrmPerguntas()->ImgPerg->picture()), QColor(Qt::blue));

    for (int i = 0; i < 20; ++i)
        Play::answer(true);
    QCOMPARE(jornada().game().state().CurrentIndex, QuestionsPerGame);
    // Nothing is left to decode for a game that is over.
    QVERIFY(jornada().FrmPerguntas()->photoPrefetch().idle());
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void PhotoPrefetchTest::programEndsDuringAPrefetch()
{
    // Large photos for all questions; the screens are destroyed, as at the end of the program,
    // while they are being decoded. Under the sanitizers nothing may be touched after it is freed.
    TempDataDir data(25);
    const QImage image = grainyPicture(QSize(2000, 1500), 9);
    const QString folder = QDir(data.path()).filePath(QStringLiteral("fotos"));
    QDir().mkpath(folder);
    QVERIFY(image.save(photoOf(folder, 1), "JPG", 90));
    for (int id = 2; id <= 25; ++id)
        QVERIFY(QFile::copy(photoOf(folder, 1), photoOf(folder, id)));
    for (int id = 1; id <= 25; ++id)
        runSql(QStringLiteral("update perguntas.db set foto = '%1' where id = %2").arg(photoOf(folder, id)).arg(id));
    ScriptedDialogsGuard dialogs;
    {
        ScreenSet screens;
        Play::start(QStringLiteral("Ana"));
        QVERIFY(!jornada().FrmPerguntas()->photoPrefetch().idle());
    }
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void PhotoPrefetchTest::editorMovesThroughPrefetchedPhotos()
{
    TempDataDir data(25);
    const QString folder = givePhotos(data, 25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    dialogs->shown.clear();
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("1234"));
    jornada().FrmSenha()->BtnOk->click();
    QVERIFY(jornada().FrmCadastro()->isVisible());
    PhotoPrefetch &prefetch = jornada().FrmCadastro()->photoPrefetch();
    QToolButton *next = jornada().FrmCadastro()->DBNav->button(DBNavigator::Button::Next);

    // The next question's photo was decoded while the first was shown: moving shows that one.
    waitForPrefetch(prefetch);
    const int decoded = prefetch.decodedInBackground();
    QVERIFY(decoded >= 1);
    next->click();
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Id")), QStringLiteral("2"));
    QCOMPARE(jornada().FrmCadastro()->ImgCadastro->picture().cacheKey(), prefetch.take(photoOf(folder, 2)).cacheKey());

    // Replaced after it was decoded: the new one is shown.
    waitForPrefetch(prefetch);
    writePhoto(photoOf(folder, 3), Qt::blue);
    next->click();
    QCOMPARE(centreOf(jornada().FrmCadastro()->ImgCadastro->picture()), QColor(Qt::blue));
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());

    // Leaving the editor stops it.
    jornada().FrmCadastro()->voltarClick();
    QVERIFY(prefetch.idle());
}

QTEST_MAIN(PhotoPrefetchTest)
#include "test_photo_prefetch.moc"
