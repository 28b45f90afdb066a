// Picture loading: choice by extension, error texts, JPEG decoding and its cropped decode, and
// the readers of bitmaps, icons, PNG and GIF. Test JPEGs are made here with libjpeg's compressor.
#include "platform/PhotoFit.h"
#include "platform/Pictures.h"
#include "store/core/AppError.h"

#include "helpers/Descriptors.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include <jpeglib.h>

namespace {

struct JpegForm {
    int width = 0;
    int height = 0;
    int hSampling = 2; // of the luminance component; chroma is always 1 x 1
    int vSampling = 2;
    bool progressive = false;
    bool grey = false;
};

} // namespace

Q_DECLARE_METATYPE(JpegForm)

namespace {

// A noisy picture with gradients, so that every pixel and every chroma sample matters.
QImage syntheticPicture(int width, int height)
{
    std::mt19937 random(unsigned(width * 7919 + height));
    std::uniform_int_distribution<int> noise(-40, 40);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb(qBound(0, (x * 255) / width + noise(random), 255),
                          qBound(0, (y * 255) / height + noise(random), 255),
                          qBound(0, ((x + y) * 3) % 256 + noise(random), 255));
    }
    return image;
}

// The GIF of `image` in the colours of its first 128 pixels' palette: `image` becomes the
// picture the file holds. The LZW stream is written without compression, every pixel a code of
// its own and the table cleared before its codes outgrow 8 bits, which every decoder reads.
QByteArray gifOf(QImage &image)
{
    QList<QRgb> palette;
    for (int i = 0; i < 128; ++i)
        palette << qRgb((i * 37) % 256, (i * 91) % 256, (i * 13) % 256);
    image = image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    QByteArray gif("GIF89a");
    const auto le16 = [&gif](int v) { gif += char(v & 0xFF); gif += char(v >> 8); };
    le16(image.width());
    le16(image.height());
    gif += char(0xE6); // a global table of 128 colours
    gif += QByteArray(2, '\0');
    for (QRgb c : palette)
        for (int channel : {qRed(c), qGreen(c), qBlue(c)})
            gif += char(channel);
    gif += ',';
    le16(0);
    le16(0);
    le16(image.width());
    le16(image.height());
    gif += '\0';
    gif += char(7); // 7-bit pixels: 8-bit codes, clear 128, end 129
    QByteArray codes(1, char(128));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (codes.size() % 64 == 0)
                codes += char(128);
            codes += char(image.pixelIndex(x, y));
        }
    codes += char(129);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif += char(block.size()) + block;
    }
    gif += '\0';
    gif += ';';
    image = image.convertToFormat(QImage::Format_RGB32);
    return gif;
}

// A PNG whose header claims `width` x `height` pixels, its checksum made right: the file
// is whole as far as its header goes.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    quint32 crc = 0xFFFFFFFF;
    for (int i = 12; i < 29; ++i) {
        crc ^= uchar(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    qToBigEndian(~crc, png.data() + 29);
    return png;
}

// Compresses a picture whose rows `fillRow` writes, `components` samples per pixel.
QByteArray compress(const JpegForm &form, int components, J_COLOR_SPACE space,
                    const std::function<void(int, JSAMPLE *)> &fillRow)
{
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(form.width);
    c.image_height = JDIMENSION(form.height);
    c.input_components = components;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    if (space == JCS_CMYK)
        jpeg_set_colorspace(&c, JCS_YCCK); // also writes the Adobe marker
    c.comp_info[0].h_samp_factor = form.hSampling;
    c.comp_info[0].v_samp_factor = form.vSampling;
    if (form.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(size_t(form.width) * size_t(components));
    while (c.next_scanline < c.image_height) {
        fillRow(int(c.next_scanline), row.data());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

QByteArray compressJpeg(const JpegForm &form)
{
    const QImage picture = syntheticPicture(form.width, form.height);
    return compress(form, form.grey ? 1 : 3, form.grey ? JCS_GRAYSCALE : JCS_RGB,
                    [&](int y, JSAMPLE *row) {
                        const auto *pixels = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
                        for (int x = 0; x < form.width; ++x) {
                            if (form.grey) {
                                row[x] = JSAMPLE(qGray(pixels[x]));
                                continue;
                            }
                            row[3 * x] = JSAMPLE(qRed(pixels[x]));
                            row[3 * x + 1] = JSAMPLE(qGreen(pixels[x]));
                            row[3 * x + 2] = JSAMPLE(qBlue(pixels[x]));
                        }
                    });
}

// A CMYK JPEG of one flat colour, with the inks stored inverted as Adobe's marker announces.
QByteArray compressCmykJpeg(int width, int height, const uchar ink[4])
{
    return compress({width, height, 1, 1, false, false}, 4, JCS_CMYK, [&](int, JSAMPLE *row) {
        for (int i = 0; i < 4 * width; ++i)
            row[i] = JSAMPLE(255 - ink[i % 4]);
    });
}

QString errorText(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return QStringLiteral("size/format %1x%2/%3 vs %4x%5/%6")
            .arg(a.width()).arg(a.height()).arg(a.format())
            .arg(b.width()).arg(b.height()).arg(b.format());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("pixel (%1, %2): %3 vs %4")
                    .arg(x).arg(y).arg(a.pixel(x, y), 8, 16).arg(b.pixel(x, y), 8, 16);
    return QString();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Bytes this process has read through system calls so far (rchar of /proc/self/io), or -1.
qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// A JPEG whose frame header (SOF0 or SOF2) claims `width` x `height` pixels; the compressed data
// stays that of the small picture.
QByteArray withFrameSize(QByteArray jpeg, quint16 width, quint16 height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            qToBigEndian(height, jpeg.data() + i + 5);
            qToBigEndian(width, jpeg.data() + i + 7);
            return jpeg;
        }
    }
    return QByteArray();
}

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void choosesDecoderByExtension_data();
    void choosesDecoderByExtension();
    void unknownExtension_data();
    void unknownExtension();
    void unreadableFile_data();
    void unreadableFile();
    void damagedFile_data();
    void damagedFile();
    void largeFileIsReadOnlyAsFarAsNeeded_data();
    void largeFileIsReadOnlyAsFarAsNeeded();
    void jpegHeaderOfHugePictureIsRefused();
    void jpegDecoderMemoryIsBounded();
    void croppedJpegMatchesFullDecode_data();
    void croppedJpegMatchesFullDecode();
    void greyscaleJpegComesOutGrey();
    void cmykJpegComesOutRgb();
    void iconKeepsTransparency();
    void otherKindsAreCutToo();
    void descriptionTravelsWithThePhoto_data();
    void descriptionTravelsWithThePhoto();

private:
    QTemporaryDir m_dir;
};

void TestPictures::choosesDecoderByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("saveFormat"); // empty: a JPEG made with libjpeg
    QTest::newRow("jpg") << "foto.jpg" << "";
    QTest::newRow("JPG in capitals") << "FOTO.JPG" << "";
    QTest::newRow("jpeg") << "foto.jpeg" << "";
    QTest::newRow("Jpeg mixed case") << "Foto.Jpeg" << "";
    QTest::newRow("dots in the name") << "minha.foto.v2.jpg" << "";
    QTest::newRow("bmp") << "quadro.bmp" << "BMP";
    QTest::newRow("BMP in capitals") << "QUADRO.BMP" << "BMP";
    QTest::newRow("ico") << "icone.ico" << "ICO";
    QTest::newRow("Ico mixed case") << "Icone.Ico" << "ICO";
    QTest::newRow("png") << "foto.png" << "PNG";
    QTest::newRow("gif") << "desenho.GIF" << "GIF";
}

void TestPictures::choosesDecoderByExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, saveFormat);
    const QString path = m_dir.filePath(name);
    QImage original;
    if (saveFormat.isEmpty()) {
        QVERIFY(writeFile(path, compressJpeg({48, 40, 2, 2, false, false})));
        original = syntheticPicture(48, 40);
    } else if (saveFormat == u"GIF") {
        original = syntheticPicture(48, 40);
        QVERIFY(writeFile(path, gifOf(original)));
    } else {
        original = syntheticPicture(48, 40);
        QVERIFY(original.save(path, saveFormat.toLatin1().constData()));
    }

    const QImage picture = loadPicture(path);
    QCOMPARE(picture.size(), QSize(48, 40));
    QVERIFY(picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32);
    if (saveFormat.isEmpty()) {
        // Lossy: near the original, not equal.
        const QRgb got = picture.pixel(24, 20), want = original.pixel(24, 20);
        QVERIFY2(qAbs(qRed(got) - qRed(want)) < 48 && qAbs(qGreen(got) - qGreen(want)) < 48,
                 qPrintable(QString::number(got, 16)));
    } else {
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), original);
    }
}

void TestPictures::unknownExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty path") << "" << "Unknown picture file extension (.)";
    QTest::newRow("no extension") << "/fotos/foto" << "Unknown picture file extension (.)";
    QTest::newRow("trailing dot") << "/fotos/foto." << "Unknown picture file extension (.)";
    QTest::newRow("dot only in a folder") << "/fotos.jpg/foto"
                                          << "Unknown picture file extension (.)";
    QTest::newRow("tiff") << "/fotos/foto.tiff" << "Unknown picture file extension (.tiff)";
    QTest::newRow("case kept") << "/fotos/FOTO.WEBP" << "Unknown picture file extension (.WEBP)";
    QTest::newRow("last dot counts") << "/fotos/foto.jpg.txt"
                                     << "Unknown picture file extension (.txt)";
    QTest::newRow("Windows path") << "C:\\fotos\\foto.tif" << "Unknown picture file extension (.tif)";
}

void TestPictures::unknownExtension()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    // None of these files exists: the extension is judged before the file is opened.
    QCOMPARE(errorText([&] { loadPicture(path); }), expected);
    const QString extension = expected.mid(expected.indexOf(u'.') + 1).chopped(1);
    QCOMPARE(errorText([&] { decodePicture(QByteArray("x"), extension); }), expected);
}

void TestPictures::unreadableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("makeFirst"); // "folder", "file" (the photo's folder is a file), "loop"
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "nada.jpg" << "" << "o arquivo não existe";
    QTest::newRow("missing folder") << "sem/pasta.bmp" << "" << "o arquivo não existe";
    QTest::newRow("a folder") << "pasta.jpg" << "folder" << "é uma pasta, não um arquivo";
    QTest::newRow("folder that is a file") << "arquivo/foto.jpg" << "file" << "uma parte do caminho não é uma pasta";
    QTest::newRow("link to itself") << "laco.jpg" << "loop" << "o caminho passa por links simbólicos demais";
}

void TestPictures::unreadableFile()
{
    QFETCH(QString, name);
    QFETCH(QString, makeFirst);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(name);
    if (makeFirst == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    if (makeFirst == QLatin1String("file"))
        writeFile(QFileInfo(path).path(), "x");
    if (makeFirst == QLatin1String("loop"))
        QVERIFY(QFile::link(path, path));
    const int descriptors = openDescriptors();
    QCOMPARE(errorText([&] { loadPicture(path); }),
             QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(path, reason));
    // A file opened before the failure was found is closed again.
    QCOMPARE(openDescriptors(), descriptors);
}

void TestPictures::damagedFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("visible");
    QTest::addColumn<QString>("expectedStart");

    const QByteArray baseline = compressJpeg({401, 301, 2, 2, false, false});
    const QByteArray progressive = compressJpeg({401, 301, 2, 2, true, false});
    QTest::newRow("empty jpg") << "vazia.jpg" << QByteArray() << QSize() << "Não foi possível ler a imagem JPEG (Empty input file)";
    QTest::newRow("empty bmp") << "vazia.bmp" << QByteArray() << QSize()
                               << "O bitmap não é válido";
    QTest::newRow("empty ico") << "vazia.ico" << QByteArray() << QSize()
                               << "O ícone não é válido";
    QTest::newRow("half a baseline jpg") << "metade.jpg" << baseline.left(baseline.size() / 2)
                                         << QSize() << "Não foi possível ler a imagem JPEG (Premature end of JPEG file)";
    QTest::newRow("half a progressive jpg")
        << "metade-p.jpg" << progressive.left(progressive.size() / 2) << QSize()
        << "Não foi possível ler a imagem JPEG (Premature end of JPEG file)";
    QTest::newRow("cut inside the shown region")
        << "metade-c.jpg" << baseline.left(baseline.size() / 2) << QSize(137, 177)
        << "Não foi possível ler a imagem JPEG (Premature end of JPEG file)";
    QTest::newRow("headers only") << "cabecalho.jpg" << baseline.left(600) << QSize()
                                  << "Não foi possível ler a imagem JPEG (Premature end of JPEG file)";

    std::mt19937 random(7);
    QByteArray noise(4096, '\0');
    for (char &c : noise)
        c = char(random());
    noise[0] = '\x12';
    QTest::newRow("random bytes as jpg") << "ruido.jpg" << noise << QSize()
                                         << "Não foi possível ler a imagem JPEG (Not a JPEG file: starts with 0x12";
    QTest::newRow("random bytes as bmp") << "ruido.bmp" << noise << QSize()
                                         << "O bitmap não é válido";
    QTest::newRow("random bytes as png") << "ruido.png" << noise << QSize() << u"A imagem PNG não é válida"_qs;
    QTest::newRow("random bytes as gif") << "ruido.gif" << noise << QSize() << u"A imagem GIF não é válida"_qs;
    QImage drawn = syntheticPicture(40, 30);
    const QByteArray gif = gifOf(drawn);
    // Headers may claim any size: refused before any pixel is decoded.
    QTest::newRow("png of 100000 x 100000") << "enorme.png" << pngClaiming(100000, 100000) << QSize(137, 177)
                                            << "Imagem grande demais (100000 x 100000 pixels)";
    QByteArray wide = gif;
    qToLittleEndian<quint16>(65535, wide.data() + 6);
    qToLittleEndian<quint16>(65535, wide.data() + 8);
    qToLittleEndian<quint16>(65535, wide.data() + 13 + 3 * 128 + 5);
    qToLittleEndian<quint16>(65535, wide.data() + 13 + 3 * 128 + 7);
    QTest::newRow("gif of 65535 x 65535") << "enorme.gif" << wide << QSize(137, 177)
                                          << "Imagem grande demais (65535 x 65535 pixels)";
    QTest::newRow("a BMP named jpg") << "engano.jpg" << QByteArray("BM\x36\x00\x00\x00", 6)
                                     << QSize() << "Não foi possível ler a imagem JPEG (Not a JPEG file: starts with 0x42 0x4d)";

    // A bitmap header may claim any size: one of 16000 x 16000 pixels in a few hundred bytes is
    // damaged, while a run-length-encoded one may leave its pixels out but is beyond the limit.
    QImage small(8, 6, QImage::Format_RGB32);
    small.fill(qRgb(200, 10, 10));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(small.save(&buffer, "BMP"));
    QByteArray tall = bmp;
    qToLittleEndian<qint32>(16000, tall.data() + 18);
    qToLittleEndian<qint32>(16000, tall.data() + 22);
    QTest::newRow("bmp claiming more rows than it holds") << "alta.bmp" << tall << QSize(137, 177)
                                                          << "O bitmap não é válido";
    QByteArray encoded = tall;
    qToLittleEndian<quint16>(8, encoded.data() + 28);  // 8 bits per pixel
    qToLittleEndian<quint32>(1, encoded.data() + 30);  // RLE8
    QTest::newRow("rle bmp of 16000 x 16000") << "rle.bmp" << encoded << QSize(137, 177)
                                              << "Imagem grande demais (16000 x 16000 pixels)";
}

void TestPictures::damagedFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, visible);
    QFETCH(QString, expectedStart);
    const QString path = m_dir.filePath(name);
    QVERIFY(writeFile(path, bytes));
    const int descriptors = openDescriptors();
    const QString text = errorText([&] { loadPicture(path, visible); });
    QVERIFY2(text.startsWith(expectedStart), qPrintable(text));
    QCOMPARE(openDescriptors(), descriptors);
}

// A picture file of 1 GiB (sparse: it takes no room on disk) is read only as far as its decoder
// needs: the start decides, for a picture that is damaged as for one that is whole, and a
// metafile that large is refused before any of it is read.
void TestPictures::largeFileIsReadOnlyAsFarAsNeeded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QString>("expected"); // an error's start; empty when the picture loads

    const QByteArray garbage("GARBAGE! This is no picture at all.");
    QTest::newRow("jpg") << "grande.jpg" << garbage << "Não foi possível ler a imagem JPEG (Not a JPEG file: starts with 0x47 0x41)";
    QTest::newRow("bmp") << "grande.bmp" << garbage << "O bitmap não é válido";
    QTest::newRow("ico") << "grande.ico" << garbage << "O ícone não é válido";
    QTest::newRow("png") << "grande.png" << garbage << u"A imagem PNG não é válida"_qs;
    QTest::newRow("gif") << "grande.gif" << garbage << "O arquivo de imagem \"";
    QTest::newRow("emf") << "grande.emf" << garbage << "O arquivo de imagem \"";
    QTest::newRow("wmf") << "grande.wmf" << garbage << "O arquivo de imagem \"";
    QTest::newRow("whole jpg, then zeros")
        << "inteira.jpg" << compressJpeg({64, 48, 2, 2, false, false}) << QString();
    QImage bitmap(64, 48, QImage::Format_RGB32);
    bitmap.fill(qRgb(10, 200, 30));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(bitmap.save(&buffer, "BMP"));
    QTest::newRow("whole bmp, then zeros") << "inteira.bmp" << bmp << QString();
}

void TestPictures::largeFileIsReadOnlyAsFarAsNeeded()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(QString, expected);
    constexpr qint64 GiB = qint64(1) << 30;
    const QString path = m_dir.filePath(name);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(start), qint64(start.size()));
        QVERIFY(file.resize(GiB));
    }
    const qint64 before = bytesReadSoFar();
    if (before < 0)
        QSKIP("/proc/self/io is not readable here");
    QString text;
    QImage picture;
    try {
        picture = loadPicture(path, QSize(137, 177));
    } catch (const AppError &error) {
        text = error.text();
    }
    const qint64 read = bytesReadSoFar() - before;
    QFile::remove(path);
    if (expected.isEmpty()) {
        QVERIFY2(text.isEmpty(), qPrintable(text));
        QCOMPARE(picture.size(), QSize(64, 48));
    } else {
        QVERIFY2(text.startsWith(expected), qPrintable(text));
    }
    QVERIFY2(read < 1024 * 1024, qPrintable(QStringLiteral("%1 bytes read").arg(read)));
}

// The size a JPEG's header claims is judged before the decoder sets up anything for it.
void TestPictures::jpegHeaderOfHugePictureIsRefused()
{
    const QByteArray huge = withFrameSize(compressJpeg({64, 48, 2, 2, false, false}), 65000, 65000);
    QVERIFY(!huge.isEmpty());
    const QString expected = QStringLiteral("Imagem grande demais (65000 x 65000 pixels)");
    QCOMPARE(errorText([&] { decodePicture(huge, QStringLiteral("jpg"), QSize(137, 177)); }), expected);
    const QString path = m_dir.filePath(QStringLiteral("enorme.jpg"));
    QVERIFY(writeFile(path, huge));
    QCOMPARE(errorText([&] { loadPicture(path, QSize(137, 177)); }), expected);
}

// A progressive JPEG keeps the coefficients of the whole picture while it decodes: one whose
// header claims 16000 x 16000 pixels (under the pixel limit) would need about 770 MB for them,
// beyond what the decoder may take. libjpeg refuses instead of allocating.
void TestPictures::jpegDecoderMemoryIsBounded()
{
    const QByteArray large = withFrameSize(compressJpeg({64, 48, 2, 2, true, false}), 16000, 16000);
    QVERIFY(!large.isEmpty());
    const QString text = errorText([&] { decodePicture(large, QStringLiteral("jpg"), QSize(137, 177)); });
    QCOMPARE(text, QStringLiteral("A imagem JPEG exige memória demais (Backing store not supported)"));
}

void TestPictures::croppedJpegMatchesFullDecode_data()
{
    QTest::addColumn<JpegForm>("form");
    QTest::addColumn<QSize>("visible");
    const QSize box(137, 177); // the photo boxes
    // width, height, luminance sampling h x v, progressive, grey
    QTest::newRow("4:2:0 baseline 1001x777") << JpegForm {1001, 777, 2, 2, false, false} << box;
    QTest::newRow("4:2:0 progressive 1001x777") << JpegForm {1001, 777, 2, 2, true, false} << box;
    QTest::newRow("4:2:2 baseline 333x999") << JpegForm {333, 999, 2, 1, false, false} << box;
    QTest::newRow("4:2:2 progressive 333x999") << JpegForm {333, 999, 2, 1, true, false} << box;
    QTest::newRow("4:4:4 baseline 1001x777") << JpegForm {1001, 777, 1, 1, false, false} << box;
    QTest::newRow("4:4:4 progressive 333x999") << JpegForm {333, 999, 1, 1, true, false} << box;
    QTest::newRow("4:4:0 baseline 777x1001") << JpegForm {777, 1001, 1, 2, false, false} << box;
    QTest::newRow("grey baseline 1001x777") << JpegForm {1001, 777, 1, 1, false, true} << box;
    QTest::newRow("grey progressive 333x999") << JpegForm {333, 999, 1, 1, true, true} << box;
    QTest::newRow("narrower than the box") << JpegForm {100, 999, 2, 2, false, false} << box;
    QTest::newRow("lower than the box") << JpegForm {999, 120, 2, 1, true, false} << box;
    QTest::newRow("smaller than the box") << JpegForm {120, 150, 2, 2, false, false} << box;
    QTest::newRow("exactly the box") << JpegForm {137, 177, 2, 2, false, false} << box;
    QTest::newRow("one pixel more") << JpegForm {138, 178, 2, 2, false, false} << box;
    // The region starts one pixel after an iMCU boundary, so the extra column is on it ...
    QTest::newRow("extra column on an iMCU edge") << JpegForm {171, 211, 2, 2, false, false} << box;
    // ... or exactly on it.
    QTest::newRow("region on an iMCU edge") << JpegForm {169, 209, 2, 2, true, false} << box;
    QTest::newRow("one-pixel box") << JpegForm {1001, 777, 2, 2, false, false} << QSize(1, 1);
    QTest::newRow("wide box, progressive") << JpegForm {1001, 777, 2, 2, true, false}
                                           << QSize(640, 480);
}

void TestPictures::croppedJpegMatchesFullDecode()
{
    QFETCH(JpegForm, form);
    QFETCH(QSize, visible);
    const QByteArray jpeg = compressJpeg(form);

    const QImage full = decodePicture(jpeg, QStringLiteral("jpg"));
    QCOMPARE(full.size(), QSize(form.width, form.height));
    QCOMPARE(full.format(), QImage::Format_RGB32);

    const int width = qMin(form.width, visible.width());
    const int height = qMin(form.height, visible.height());
    const QRect region((form.width - width) / 2, (form.height - height) / 2, width, height);
    const QImage cropped = decodePicture(jpeg, QStringLiteral("jpg"), visible);
    const QString difference = firstDifference(cropped, full.copy(region));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestPictures::greyscaleJpegComesOutGrey()
{
    const QImage picture = decodePicture(compressJpeg({64, 48, 1, 1, false, true}), QStringLiteral("jpeg"));
    QCOMPARE(picture.format(), QImage::Format_RGB32);
    QVERIFY(picture.allGray());
    // The gradient survives: the left and right edges differ.
    QVERIFY(qAbs(qGray(picture.pixel(2, 24)) - qGray(picture.pixel(61, 24))) > 100);
}

void TestPictures::cmykJpegComesOutRgb()
{
    const uchar orangeInk[4] = {0, 128, 255, 0}; // C, M, Y, K: no cyan, half magenta, full yellow
    const QImage picture = decodePicture(compressCmykJpeg(32, 24, orangeInk), QStringLiteral("jpg"));
    QCOMPARE(picture.size(), QSize(32, 24));
    QCOMPARE(picture.format(), QImage::Format_RGB32);
    const QRgb pixel = picture.pixel(16, 12);
    QVERIFY2(qAbs(qRed(pixel) - 255) <= 4 && qAbs(qGreen(pixel) - 127) <= 4 && qBlue(pixel) <= 4,
             qPrintable(QString::number(pixel, 16)));
}

void TestPictures::iconKeepsTransparency()
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            icon.setPixel(x, y, qRgba(200, 30, 90, 255));
    const QString path = m_dir.filePath(QStringLiteral("transparente.ico"));
    QVERIFY(icon.save(path, "ICO"));

    const QImage picture = loadPicture(path);
    QCOMPARE(picture.format(), QImage::Format_ARGB32);
    QCOMPARE(qAlpha(picture.pixel(2, 2)), 0);
    QCOMPARE(picture.pixel(16, 16), qRgba(200, 30, 90, 255));
}

void TestPictures::otherKindsAreCutToo()
{
    const QImage original = syntheticPicture(301, 203);
    const QString path = m_dir.filePath(QStringLiteral("grande.bmp"));
    QVERIFY(original.save(path, "BMP"));
    const QImage picture = loadPicture(path, QSize(137, 177));
    QCOMPARE(picture, original.copy(82, 13, 137, 177));
}

// A screen reader names a photo by what its file says it shows: a JPEG comment (as Qt's writer
// or any other program puts it) or a PNG text chunk; a photo that says nothing, or a file kind
// with no place for it, is named by its file name. The description survives the cut to the photo
// box and the fitted copy of a large photo.
void TestPictures::descriptionTravelsWithThePhoto_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("comment"); // a JPEG comment put in by hand; empty: none
    QTest::addColumn<QString>("qtText");     // the picture's text as Qt's writer stores it
    QTest::addColumn<QString>("heard");
    QTest::newRow("Qt's JPEG writer") << "barco.jpg" << QByteArray() << "Um barco no rio" << "Um barco no rio";
    QTest::newRow("plain comment") << "barco.jpg" << QByteArray("Barco a vela: ao entardecer") << ""
                                   << "Barco a vela: ao entardecer";
    QTest::newRow("Latin-1 comment") << "fruta.jpg" << QByteArray("Ma\xe7\xe3 vermelha") << "" << "Maçã vermelha";
    QTest::newRow("comment of another key") << "foto1.jpg" << QByteArray("Software: Editor 2") << "" << "foto1.jpg";
    QTest::newRow("a program's signature") << "foto2.jpg" << QByteArray("Created with GIMP") << "" << "foto2.jpg";
    QTest::newRow("no comment") << "foto3.jpg" << QByteArray() << "" << "foto3.jpg";
    QTest::newRow("PNG text") << "mapa.png" << QByteArray() << "Mapa antigo" << "Mapa antigo";
    QTest::newRow("BMP has no place for it") << "quadro.bmp" << QByteArray() << "Quadro" << "quadro.bmp";
}

void TestPictures::descriptionTravelsWithThePhoto()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, comment);
    QFETCH(QString, qtText);
    QFETCH(QString, heard);
    const QString path = m_dir.filePath(name);
    // Larger than twice the photo box, so that the editor offers a fitted copy.
    QImage picture = syntheticPicture(400, 500);
    if (!qtText.isEmpty())
        picture.setText(QStringLiteral("Description"), qtText);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, QFileInfo(name).suffix().toUpper().toLatin1().constData()));
    if (!comment.isEmpty()) {
        // A comment segment right after the start of image: FF FE, its length, its bytes.
        QByteArray segment("\xff\xfe", 2);
        segment.append(char((comment.size() + 2) >> 8)).append(char((comment.size() + 2) & 0xff)).append(comment);
        bytes.insert(2, segment);
    }
    QVERIFY(writeFile(path, bytes));

    QCOMPARE(pictureDescription(loadPicture(path, PhotoBoxSize), path), heard);
    QCOMPARE(pictureDescription(loadPicture(path), path), heard);
    if (name.endsWith(u".bmp"))
        return;
    const std::optional<FittedCopy> copy = fittedCopyOf(path);
    QVERIFY(copy);
    const QString copyPath = m_dir.filePath(copy->name);
    QVERIFY(writeFile(copyPath, copy->bytes));
    QCOMPARE(pictureDescription(loadPicture(copyPath, PhotoBoxSize), copyPath),
             heard == name ? copy->name : heard);
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
