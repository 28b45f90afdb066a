// jornada-fotos: paints the photos of the sample question bank.
//
//   jornada-fotos <folder> [id ...]
//
// Paints every photo (or only those of the given question ids) into <folder>, normally the
// source tree's data/fotos. The file name's extension chooses the format: JPEG at quality 90,
// 24-bit BMP, or ICO through Qt's icon writer.
#include "Canvas.h"
#include "Photos.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>
#include <set>

namespace {

QImage paintPhoto(const Photo &photo)
{
    QImage image(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    photo.paint(p);
    return image;
}

// Encodes the photo in the format its file name's extension asks for.
bool encode(const QImage &image, const QString &suffix, QByteArray *bytes, QString *error)
{
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray());
    QImage out = image;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        writer.setFormat("jpeg");
        writer.setQuality(90);
    } else if (suffix == QLatin1String("bmp")) {
        // Qt writes 24 bits per pixel for an image without alpha.
        writer.setFormat("bmp");
        out = image.convertToFormat(QImage::Format_RGB888);
    } else if (suffix == QLatin1String("ico")) {
        writer.setFormat("ico");
        out = image.convertToFormat(QImage::Format_ARGB32);
    } else {
        *error = QStringLiteral("extensão não suportada: .%1").arg(suffix);
        return false;
    }
    if (!writer.write(out)) {
        *error = writer.errorString();
        return false;
    }
    return true;
}

enum class Outcome { Written, Unchanged, Failed };

// Writes the photo unless the file already holds the same picture. Qt's icon writer leaves the
// padding bits of the mask unset, so comparing bytes would rewrite unchanged icons every time.
Outcome save(const QImage &image, const QString &path, QString *error)
{
    QByteArray bytes;
    if (!encode(image, QFileInfo(path).suffix().toLower(), &bytes, error))
        return Outcome::Failed;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QImage before = QImage::fromData(file.readAll());
        file.close();
        const QImage after = QImage::fromData(bytes);
        if (!before.isNull() && before == after && before.text() == after.text())
            return Outcome::Unchanged;
    }
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        *error = file.errorString();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

} // namespace

int main(int argc, char **argv)
{
    // The tool paints off screen; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "uso: jornada-fotos PASTA [NÚMERO_DA_PERGUNTA ...]\n");
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "jornada-fotos: não foi possível criar a pasta %s\n", qUtf8Printable(folder.path()));
        return 1;
    }
    std::set<int> wanted;
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int id = args.at(i).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "jornada-fotos: não é um número de pergunta: %s\n", qUtf8Printable(args.at(i)));
            return 2;
        }
        wanted.insert(id);
    }

    int painted = 0, unchanged = 0, failed = 0;
    for (const Photo &photo : photos()) {
        if (!wanted.empty() && !wanted.count(photo.id))
            continue;
        const QString path = folder.filePath(QString::fromLatin1(photo.file));
        QString error;
        // What the photo shows travels inside the file (a JPEG comment), for screen readers;
        // BMP and ICO files have no place for it.
        QImage picture = paintPhoto(photo);
        picture.setText(QStringLiteral("Description"), QString::fromUtf8(photo.description));
        switch (save(picture, path, &error)) {
        case Outcome::Written:
            std::printf("%3d  %-9s %s\n", photo.id, photo.file, photo.description);
            ++painted;
            break;
        case Outcome::Unchanged:
            ++unchanged;
            break;
        case Outcome::Failed:
            std::fprintf(stderr, "jornada-fotos: %s: %s\n", qUtf8Printable(path), qUtf8Printable(error));
            ++failed;
            break;
        }
    }
    std::printf("Fotos pintadas em %s: %d (já em dia: %d).\n", qUtf8Printable(folder.path()), painted,
                unchanged);
    return failed == 0 ? 0 : 1;
}
