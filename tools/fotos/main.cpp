// jornada-fotos: paints the photos of the sample question bank.
//
//   jornada-fotos <folder> [id ...]
//
// Paints every photo (or only those of the given question ids) into <folder>, normally the
// source tree's data/fotos. The file name's extension chooses the format: JPEG at quality 90,
// 24-bit BMP, or ICO through Qt's icon writer.
#include "Canvas.h"
#include "Photos.h"

#include <QDir>
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

bool save(const QImage &image, const QString &path, QString *error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QImageWriter writer(path);
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
        *error = QStringLiteral("unsupported extension .%1").arg(suffix);
        return false;
    }
    if (!writer.write(out)) {
        *error = writer.errorString();
        return false;
    }
    return true;
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
        std::fprintf(stderr, "usage: jornada-fotos <folder> [id ...]\n");
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "jornada-fotos: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    std::set<int> wanted;
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int id = args.at(i).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "jornada-fotos: not a question id: %s\n", qPrintable(args.at(i)));
            return 2;
        }
        wanted.insert(id);
    }

    int painted = 0, failed = 0;
    for (const Photo &photo : photos()) {
        if (!wanted.empty() && !wanted.count(photo.id))
            continue;
        const QString path = folder.filePath(QString::fromLatin1(photo.file));
        QString error;
        if (save(paintPhoto(photo), path, &error)) {
            std::printf("%3d  %-9s %s\n", photo.id, photo.file, photo.description);
            ++painted;
        } else {
            std::fprintf(stderr, "jornada-fotos: %s: %s\n", qPrintable(path), qPrintable(error));
            ++failed;
        }
    }
    std::printf("%d photo(s) painted into %s\n", painted, qPrintable(folder.path()));
    return failed == 0 ? 0 : 1;
}
