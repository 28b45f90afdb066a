#pragma once
// Question banks for the measurements. Each lives in a temporary HOME of its own, so that
// pointing HOME at it makes it the game's data directory ($HOME/BDPerguntas).
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class BenchBank {
public:
    // The sample bank, built as jornada-dados builds it: its questions and real photos.
    static std::unique_ptr<BenchBank> sample();
    // `count` generated questions numbered 1..count; question n points at photos[n % size].
    static std::unique_ptr<BenchBank> generated(int count, const QStringList &photos);
    // `count` generated questions kept in `folder` between runs: made there the first time (or
    // again when the folder does not hold a whole bank of that size), and only opened after that.
    // Question n points at `folder`/fotos/NN.jpg, NN = n % 20; "fotos" is a link to a folder of
    // 20 such photos, at first copies of sample photos, which usePhotos() turns elsewhere.
    static std::unique_ptr<BenchBank> kept(int count, const QString &folder);
    // Points the photos of a kept bank at `folder` (holding 00.jpg to 19.jpg).
    void usePhotos(const QString &folder) const;

    QString home() const { return m_kept.isEmpty() ? m_home.path() : m_kept; }
    QString directory() const;
    int questions() const { return m_questions; }
    // Makes this bank the game's data directory.
    void use() const;

private:
    BenchBank() = default;
    QTemporaryDir m_home;
    QString m_kept; // the folder of a kept bank, used instead of m_home
    int m_questions = 0;
};

// The JPEG photos of the sample bank (data/fotos), by full path.
QStringList samplePhotos();

// Writes a camera-size JPEG (size, quality 90) at `path`: a colour gradient with a few shapes and
// noise of up to `grain` levels per channel, so that it compresses like a photo rather than like
// a flat picture. How much noise decides how dense the compressed data is: with grain 16 a
// 4000 × 3000 picture takes about 2 MB, like a camera photo of moderate detail.
void writeCameraPhoto(const QString &path, QSize size, int grain = 16);

// How many photo names a kept bank's questions take turns at.
constexpr int KeptPhotoNames = 20;

// Search terms that start questions of the generated banks, for the editor's search.
QStringList searchTerms();

// What a generated question is made of: "<opening> <subject> (questão N)?", with the answers
// "Alternativa A da pergunta N" to "Alternativa D da pergunta N", one of them the right one.
QStringList questionOpenings();
QStringList questionSubjects();
