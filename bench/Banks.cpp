#include "Banks.h"

#include "store/bank/AdminAccount.h"
#include "store/core/AppError.h"
#include "store/folder/FolderSetup.h"
#include "store/folder/DataFolder.h"
#include "store/kinds/OpenBank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

namespace {

// Questions read like the sample bank's: an opening, a subject and a number that keeps them
// apart, so that the index on the question text has many distinct keys sharing prefixes.
const char *const openings[] = {
    "Qual é a capital de",     "Em que ano foi fundada",   "Quem escreveu a obra sobre",
    "Qual rio atravessa",      "Quantos habitantes tem",   "Qual é o bioma típico de",
    "Que animal é símbolo de", "Qual festa é famosa em",   "Que prato é típico de",
    "Qual serra fica perto de", "Quem governou",           "Qual é a maior cidade de",
};
const char *const subjects[] = {
    "Minas Gerais", "Pernambuco", "Amazonas", "Rio Grande do Sul", "Bahia", "Goiás",
    "Santa Catarina", "Pará", "Ceará", "Mato Grosso", "Paraná", "Tocantins",
};

QString answerText(int id, int option)
{
    return QStringLiteral("Alternativa %1 da pergunta %2").arg(QChar(u'A' + option)).arg(id);
}

} // namespace

QString BenchBank::directory() const
{
    return QDir(home()).filePath(QStringLiteral("BDPerguntas"));
}

void BenchBank::use() const
{
    qputenv("HOME", QFile::encodeName(home()));
}

std::unique_ptr<BenchBank> BenchBank::sample()
{
    std::unique_ptr<BenchBank> bank(new BenchBank);
    const DataDirectoryReport report = buildDataDirectory(
        bank->directory(), QStringLiteral(JORNADA_SOURCE_DIR "/data"), false);
    bank->m_questions = report.questions;
    return bank;
}

namespace {

void fillBank(const QString &dir, int count, const QStringList &photos)
{
    QDir().mkpath(dir);
    openBank(dir)->createQuestionTable();
    createAccountTable(dir, QString::fromLatin1(defaultAdminLogin), QString::fromLatin1(defaultAdminPassword));

    // A fixed seed: every run measures the same banks.
    QRandomGenerator random(20240601);
    // Stored 50,000 at a time, so that a bank of a million never sits whole in memory.
    constexpr int chunk = 50000;
    QList<Question> rows;
    rows.reserve(std::min(count, chunk));
    for (int id = 1; id <= count; ++id) {
        Question row;
        row.id = id;
        row.pergunta = QStringLiteral("%1 %2 (questão %3)?")
                           .arg(QString::fromUtf8(openings[random.bounded(int(std::size(openings)))]),
                                QString::fromUtf8(subjects[random.bounded(int(std::size(subjects)))]))
                           .arg(id);
        row.answers = {answerText(id, 0), answerText(id, 1), answerText(id, 2), answerText(id, 3)};
        row.correta = answerText(id, random.bounded(4));
        row.foto = photos.at(id % photos.size());
        rows.append(row);
        if (rows.size() == chunk || id == count) {
            openBank(dir)->insertQuestions(rows);
            rows.clear();
        }
    }
}

// The file that marks a kept bank as whole: written last, it names what the folder holds.
QString keptMark(int count)
{
    return QStringLiteral("jornada-bench: %1 perguntas, fotos em fotos/NN.jpg, formato 1\n").arg(count);
}

} // namespace

std::unique_ptr<BenchBank> BenchBank::generated(int count, const QStringList &photos)
{
    std::unique_ptr<BenchBank> bank(new BenchBank);
    fillBank(bank->directory(), count, photos);
    bank->m_questions = count;
    return bank;
}

std::unique_ptr<BenchBank> BenchBank::kept(int count, const QString &folder)
{
    std::unique_ptr<BenchBank> bank(new BenchBank);
    bank->m_kept = folder;
    bank->m_questions = count;
    QDir dir(folder);
    const QString markPath = dir.filePath(QStringLiteral("completo"));
    QFile mark(markPath);
    const QDir data(bank->directory());
    if (mark.open(QIODevice::ReadOnly) && mark.readAll() == keptMark(count).toUtf8()
        && data.exists(QStringLiteral("Perguntas.DB")) && data.exists(QStringLiteral("inicial.db")))
        return bank;
    mark.close();

    // Half made, or made by another version of this program: made again from nothing.
    if (dir.exists() && !dir.removeRecursively())
        throw AppError(QStringLiteral("Não foi possível apagar %1").arg(folder));
    const QString samples = dir.filePath(QStringLiteral("fotos-exemplo"));
    if (!QDir().mkpath(samples))
        throw AppError(QStringLiteral("Não foi possível criar %1").arg(samples));
    const QStringList sources = samplePhotos();
    QStringList photos;
    for (int i = 0; i < KeptPhotoNames; ++i) {
        const QString name = QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        if (!QFile::copy(sources.at(i % sources.size()), QDir(samples).filePath(name)))
            throw AppError(QStringLiteral("Não foi possível copiar as fotos para %1").arg(samples));
        photos << dir.filePath(QStringLiteral("fotos/") + name);
    }
    bank->usePhotos(samples);
    fillBank(bank->directory(), count, photos);
    if (!mark.open(QIODevice::WriteOnly) || mark.write(keptMark(count).toUtf8()) < 0 || !mark.flush())
        throw AppError(QStringLiteral("Não foi possível gravar %1").arg(markPath));
    return bank;
}

void BenchBank::usePhotos(const QString &folder) const
{
    const QString link = QDir(home()).filePath(QStringLiteral("fotos"));
    if (QFileInfo(link).symLinkTarget() == QFileInfo(folder).absoluteFilePath())
        return;
    QFile::remove(link);
    if (!QFile::link(QFileInfo(folder).absoluteFilePath(), link))
        throw AppError(QStringLiteral("Não foi possível ligar %1 a %2").arg(link, folder));
}

QStringList samplePhotos()
{
    const QDir folder(QStringLiteral(JORNADA_SOURCE_DIR "/data/fotos"));
    QStringList paths;
    for (const QString &name : folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    if (paths.isEmpty())
        throw AppError(QStringLiteral("Nenhuma foto JPEG em %1").arg(folder.path()));
    return paths;
}

void writeCameraPhoto(const QString &path, QSize size, int grain)
{
    const quint32 span = quint32(2 * grain + 1);
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // A smooth diagonal gradient plus noise, like sensor grain.
            const quint32 noise = random.generate();
            const int r = 40 + 180 * x / w + int((noise & 1023) % span) - grain;
            const int g = 60 + 140 * y / h + int(((noise >> 10) & 1023) % span) - grain;
            const int b = 200 - 150 * (x + y) / (w + h) + int(((noise >> 20) & 1023) % span) - grain;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    // Edges and flat patches, which a photo has and a gradient has not.
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 120 + random.bounded(120), 80 + random.bounded(170)));
        painter.setPen(QPen(QColor::fromHsv(random.bounded(360), 200, 60), 1 + random.bounded(12)));
        const int d = 80 + random.bounded(w / 4);
        painter.drawEllipse(random.bounded(w), random.bounded(h), d, d * 3 / 4);
    }
    painter.end();
    if (!image.save(path, "JPG", 90))
        throw AppError(QStringLiteral("Não foi possível gravar %1").arg(path));
}

QStringList searchTerms()
{
    QStringList terms;
    for (const char *opening : openings)
        terms << QString::fromUtf8(opening);
    for (int i = 0; i < int(std::size(subjects)); ++i)
        terms << QStringLiteral("%1 %2").arg(QString::fromUtf8(openings[i % std::size(openings)]),
                                             QString::fromUtf8(subjects[i]).toLower());
    return terms;
}

QStringList questionOpenings()
{
    QStringList texts;
    for (const char *opening : openings)
        texts << QString::fromUtf8(opening);
    return texts;
}

QStringList questionSubjects()
{
    QStringList texts;
    for (const char *subject : subjects)
        texts << QString::fromUtf8(subject);
    return texts;
}
