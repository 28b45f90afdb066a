// EMF and WMF pictures: exact colours on metafiles written here record by record, real
// metafiles made by other programs, and damaged ones.
#include "platform/PictureDecoders.h"
#include "platform/Pictures.h"
#include "platform/metafile/MetafileLibraries.h"
#include "store/core/AppError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <random>

namespace {

// Little-endian record writer.
class Bytes {
public:
    Bytes &u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_data.append(b, 2);
        return *this;
    }
    Bytes &u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_data.append(b, 4);
        return *this;
    }
    Bytes &i32(qint32 v) { return u32(quint32(v)); }
    const QByteArray &data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }
    void patch32(qsizetype offset, quint32 v) { qToLittleEndian(v, m_data.data() + offset); }

private:
    QByteArray m_data;
};

quint32 colorRef(QRgb c)
{
    return quint32(qRed(c)) | quint32(qGreen(c)) << 8 | quint32(qBlue(c)) << 16;
}

// A placeable WMF of 100 x 80 pixels at 96 dpi: a white page with a rectangle from (20, 10)
// to (80, 70) filled with a solid brush of `fill`, both outlined by the default black pen.
// (libwmf stretches what is drawn to the picture's size, so the page covers all of it.)
QByteArray rectangleWmf(QRgb fill)
{
    Bytes placeable;
    placeable.u32(0x9AC6CDD7).u16(0);            // key, handle
    placeable.u16(0).u16(0).u16(100).u16(80);    // bounding box in metafile units
    placeable.u16(96).u32(0);                    // units per inch, reserved
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(placeable.data().constData() + 2 * i);
    placeable.u16(checksum);

    Bytes records;
    records.u32(5).u16(0x020B).u16(0).u16(0);     // SetWindowOrg(y, x)
    records.u32(5).u16(0x020C).u16(80).u16(100);  // SetWindowExt(height, width)
    records.u32(7).u16(0x02FC).u16(0);            // CreateBrushIndirect: solid (object 0)
    records.u32(colorRef(qRgb(255, 255, 255))).u16(0); //   colour, hatch
    records.u32(4).u16(0x012D).u16(0);            // SelectObject(0)
    records.u32(7).u16(0x041B).u16(80).u16(100).u16(0).u16(0); // Rectangle(bottom, right, top, left)
    records.u32(7).u16(0x02FC).u16(0);            // CreateBrushIndirect: solid (object 1)
    records.u32(colorRef(fill)).u16(0);
    records.u32(4).u16(0x012D).u16(1);            // SelectObject(1)
    records.u32(7).u16(0x041B).u16(70).u16(80).u16(10).u16(20);
    records.u32(3).u16(0x0000);                   // end of file

    Bytes header;
    header.u16(1).u16(9).u16(0x0300);              // in memory, header words, version
    header.u32(quint32((18 + records.size()) / 2)); // file size in words
    header.u16(2).u32(7).u16(0);                   // objects, largest record, unused

    return placeable.data() + header.data() + records.data();
}

// An EMF whose frame is 100 x 80 pixels at 96 dpi on a 96 dpi reference device: a rectangle
// from (20, 10) to (80, 70) filled with a solid brush of `fill`, without outline.
QByteArray rectangleEmf(QRgb fill)
{
    Bytes emf;
    emf.u32(1).u32(88);                        // EMR_HEADER
    emf.i32(0).i32(0).i32(100).i32(80);        // bounds, device pixels
    emf.i32(0).i32(0).i32(2646).i32(2117);     // frame, 0.01 mm
    emf.u32(0x464D4520).u32(0x10000);          // signature, version
    emf.u32(0).u32(6);                         // file size (patched below), records
    emf.u16(2).u16(0);                         // handles, reserved
    emf.u32(0).u32(0).u32(0);                  // description, palette
    emf.i32(960).i32(960).i32(254).i32(254);   // device in pixels and in millimetres
    emf.u32(39).u32(24).u32(1);                // EMR_CREATEBRUSHINDIRECT, object 1
    emf.u32(0).u32(colorRef(fill)).u32(0);     //   solid, colour, hatch
    emf.u32(37).u32(12).u32(1);                // EMR_SELECTOBJECT 1
    emf.u32(37).u32(12).u32(0x80000008);       // EMR_SELECTOBJECT NULL_PEN
    emf.u32(43).u32(24);                       // EMR_RECTANGLE
    emf.i32(20).i32(10).i32(80).i32(70);
    emf.u32(14).u32(20).u32(0).u32(16).u32(20); // EMR_EOF
    emf.patch32(48, quint32(emf.size()));
    return emf.data();
}

bool hasTwoColours(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

// A WMF (without placeable header) of one line of text in a font `width` units wide and 20 high;
// a width of 0 means the font's own proportions.
QByteArray textWmf(qint16 width)
{
    Bytes records;
    records.u32(3 + 9 + 5).u16(0x02FB);          // CreateFontIndirect
    records.u16(20).u16(quint16(width)).u16(0).u16(0).u16(400); // height, width, angles, weight
    records.u32(0).u32(0);                       //   italic ... pitch and family
    records.u16(0x6147).u16(0x6172).u16(0x6F6D).u16(0x646E).u16(0); // "Garamond"
    records.u32(4).u16(0x012D).u16(0);           // SelectObject(0)
    records.u32(3 + 1 + 7 + 2).u16(0x0521).u16(13); // TextOut, 13 characters
    const char text[14] = "I am a string";
    for (int i = 0; i < 14; i += 2)
        records.u16(quint16(uchar(text[i]) | uchar(text[i + 1]) << 8));
    records.u16(20).u16(0);                      //   y, x
    records.u32(3).u16(0x0000);

    Bytes header;
    header.u16(1).u16(9).u16(0x0300).u32(quint32((18 + records.size()) / 2));
    header.u16(1).u32(17).u16(0);
    return header.data() + records.data();
}

// An EMF with one line of text whose characters are given as glyph indices of the font, as
// printer drivers and office programs write it.
QByteArray glyphIndexTextEmf()
{
    Bytes emf;
    emf.u32(1).u32(88);
    emf.i32(0).i32(0).i32(200).i32(40);
    emf.i32(0).i32(0).i32(5292).i32(1058);
    emf.u32(0x464D4520).u32(0x10000);
    emf.u32(0).u32(5);
    emf.u16(2).u16(0);
    emf.u32(0).u32(0).u32(0);
    emf.i32(960).i32(960).i32(254).i32(254);

    emf.u32(82).u32(12 + 320).u32(1);          // EMR_EXTCREATEFONTINDIRECTW, object 1
    emf.i32(-24).i32(0).i32(0).i32(0).i32(400); //   height, width, escapement, orientation, weight
    emf.u32(0).u32(0);                         //   italic ... pitch and family
    const QString face = QStringLiteral("DejaVu Sans");
    for (int i = 0; i < 32; ++i)
        emf.u16(i < face.size() ? face.at(i).unicode() : 0);
    for (int i = 0; i < 320 - 92; i += 4)       //   the rest of the extended font description
        emf.u32(0);
    emf.u32(37).u32(12).u32(1);                // EMR_SELECTOBJECT 1

    const quint16 glyphs[4] = {43, 72, 79, 79};
    emf.u32(84).u32(76 + 8 + 16);              // EMR_EXTTEXTOUTW
    emf.i32(0).i32(0).i32(200).i32(40);        //   bounds
    emf.u32(1).u32(0).u32(0);                  //   graphics mode, scales
    emf.i32(10).i32(30).u32(4);                //   reference point, characters
    emf.u32(76).u32(0x10);                     //   text offset, ETO_GLYPH_INDEX
    emf.i32(0).i32(0).i32(200).i32(40);        //   clipping rectangle
    emf.u32(76 + 8);                           //   offset of the advances
    for (const quint16 glyph : glyphs)
        emf.u16(glyph);
    for (int i = 0; i < 4; ++i)
        emf.u32(14);

    emf.u32(14).u32(20).u32(0).u32(16).u32(20); // EMR_EOF
    emf.patch32(48, quint32(emf.size()));
    return emf.data();
}

// Draws text with Qt in a font not used before, so that Qt asks fontconfig for fonts.
bool qtDrawsText(int round)
{
    static const char *const families[] = {"Serif", "Monospace", "Sans", "Cursive", "Fantasy"};
    QImage image(160, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QFont(QString::fromLatin1(families[round % 5]), 10 + round));
    painter.drawText(image.rect(), QStringLiteral("Jornada \u03A3 \u2211 \u65E5"));
    painter.end();
    return image.pixel(0, 0) == qRgb(255, 255, 255) && hasTwoColours(image);
}

QString errorText(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.text();
    }
    return QString();
}

QString metafileDir()
{
    return QStringLiteral(JORNADA_SHARED_DIR "/testdata/metafiles");
}

// The files of one folder of the shared metafiles; none when the folder is absent.
QStringList metafiles(const QString &folder)
{
    const QDir dir(metafileDir() + u'/' + folder);
    QStringList paths;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

} // namespace

class TestPictureMetafiles : public QObject {
    Q_OBJECT

private slots:
    void exactColours_data();
    void exactColours();
    void realMetafiles_data();
    void realMetafiles();
    void damagedEmfs_data();
    void damagedEmfs();
    void damagedWritten_data();
    void damagedWritten();
    void glyphIndexTextLeavesQtFontsWorking();
    void absurdlyWideTextIsLeftOut();
    void readerWithoutItsFontsSaysSo();
    void wmfMemoryIsBudgeted();
    void wmfPenOfAbsurdWidthIsNarrowed_data();
    void wmfPenOfAbsurdWidthIsNarrowed();
    void decoderThatDoesNotAnswerRefusesTheFile_data();
    void decoderThatDoesNotAnswerRefusesTheFile();
    void decoderRunsWithinItsLimits();
    void wmfBitmapThatCannotTileIsLeftOut_data();
    void wmfBitmapThatCannotTileIsLeftOut();
    void deletingASelectedBrushKeepsIt_data();
    void deletingASelectedBrushKeepsIt();
};

void TestPictureMetafiles::exactColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRgb>("fill");
    for (const QRgb fill : {qRgb(18, 52, 86), qRgb(201, 7, 133), qRgb(254, 254, 253)}) {
        const QString colour = QString::number(fill & 0xffffff, 16);
        QTest::addRow("wmf %s", qPrintable(colour)) << "quadro.wmf" << rectangleWmf(fill) << fill;
        QTest::addRow("WMF %s", qPrintable(colour)) << "QUADRO.WMF" << rectangleWmf(fill) << fill;
        QTest::addRow("emf %s", qPrintable(colour)) << "quadro.emf" << rectangleEmf(fill) << fill;
        QTest::addRow("EMF %s", qPrintable(colour)) << "Quadro.Emf" << rectangleEmf(fill) << fill;
    }
}

void TestPictureMetafiles::exactColours()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QRgb, fill);
    QTemporaryDir dir;
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    const QImage picture = loadPicture(file.fileName());
    QCOMPARE(picture.size(), QSize(100, 80));
    // Inside the rectangle, two pixels clear of its edges: exactly the brush colour.
    for (int y = 12; y < 68; ++y)
        for (int x = 22; x < 78; ++x)
            if (picture.pixel(x, y) != fill)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3")
                                     .arg(x).arg(y).arg(picture.pixel(x, y), 8, 16)));
    // Outside it, nothing of that colour.
    QVERIFY(picture.pixel(5, 5) != fill);
    QVERIFY(picture.pixel(90, 75) != fill);
}

void TestPictureMetafiles::realMetafiles_data()
{
    QTest::addColumn<QString>("path");
    const QStringList paths = metafiles(QStringLiteral("emf")) + metafiles(QStringLiteral("wmf"));
    if (paths.isEmpty())
        QSKIP("The shared test metafiles are not beside the project");
    for (const QString &path : paths)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TestPictureMetafiles::realMetafiles()
{
    QFETCH(QString, path);
    const QImage picture = loadPicture(path);
    QVERIFY(!picture.isNull());
    QVERIFY2(picture.width() >= 16 && picture.height() >= 16 && picture.width() <= 2000
                 && picture.height() <= 2000,
             qPrintable(QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height())));
    QVERIFY2(hasTwoColours(picture), "nothing drawn");

    // Cut to a photo box: the centre of the whole picture.
    const QImage cut = loadPicture(path, QSize(37, 29));
    QCOMPARE(cut, picture.copy((picture.width() - 37) / 2, (picture.height() - 29) / 2, 37, 29));
}

void TestPictureMetafiles::damagedEmfs_data()
{
    QTest::addColumn<QString>("path");
    const QStringList paths = metafiles(QStringLiteral("emf-damaged"));
    if (paths.isEmpty())
        QSKIP("The shared test metafiles are not beside the project");
    for (const QString &path : paths)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TestPictureMetafiles::damagedEmfs()
{
    QFETCH(QString, path);
    QCOMPARE(errorText([&] { loadPicture(path); }), QStringLiteral("O metarquivo avançado não é válido"));
}

void TestPictureMetafiles::damagedWritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    std::mt19937 random(11);
    QByteArray noise(2048, '\0');
    for (char &c : noise)
        c = char(random());
    const QByteArray emf = rectangleEmf(qRgb(1, 2, 3));
    const QByteArray wmf = rectangleWmf(qRgb(1, 2, 3));
    const QString badEmf = QStringLiteral("O metarquivo avançado não é válido");
    const QString badWmf = QStringLiteral("O metarquivo não é válido");

    QTest::newRow("empty emf") << QByteArray() << "emf" << badEmf;
    QTest::newRow("random emf") << noise << "emf" << badEmf;
    QTest::newRow("emf header only") << emf.left(88) << "emf" << badEmf;
    QTest::newRow("emf cut in a record") << emf.left(100) << "emf" << badEmf;
    QTest::newRow("emf without its end") << emf.left(emf.size() - 20) << "emf" << badEmf;
    QByteArray huge = emf;
    qToLittleEndian<qint32>(2000000000, huge.data() + 16); // bounds' right edge
    qToLittleEndian<qint32>(2000000000, huge.data() + 32); // frame's right edge
    QTest::newRow("emf of absurd size") << huge << "emf"
                                        << "Metarquivo grande demais (2000000000 x 80 pixels)";

    QByteArray emfHeaderBeyond = emf;
    qToLittleEndian<quint32>(quint32(emf.size() + 4), emfHeaderBeyond.data() + 4);
    QTest::newRow("emf header record beyond the file") << emfHeaderBeyond << "emf" << badEmf;
    QByteArray emfSizeBeyond = emf;
    qToLittleEndian<quint32>(quint32(emf.size() + 4), emfSizeBeyond.data() + 48);
    QTest::newRow("emf claiming more bytes than it has") << emfSizeBeyond << "emf" << badEmf;
    // A drawing of 30 million pixels would take a second and hundreds of megabytes to show.
    QByteArray emfLarge = emf;
    qToLittleEndian<qint32>(6000, emfLarge.data() + 16);  // bounds: 6000 x 5000 device pixels
    qToLittleEndian<qint32>(5000, emfLarge.data() + 20);
    qToLittleEndian<qint32>(0, emfLarge.data() + 32);     // no usable frame
    QTest::newRow("emf of 6000 x 5000 pixels") << emfLarge << "emf"
                                               << "Metarquivo grande demais (6000 x 5000 pixels)";

    QTest::newRow("empty wmf") << QByteArray() << "wmf" << badWmf;
    QTest::newRow("random wmf") << noise << "wmf" << badWmf;
    QTest::newRow("wmf headers only") << wmf.left(40) << "wmf" << badWmf;
    // The standard header starts after the 22-byte placeable one: its size in words at +2, the
    // file's size in words at +6, the largest record's at +12.
    QByteArray hugeRecord = wmf;
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeRecord.data() + 22 + 12);
    QTest::newRow("wmf claiming a record of 4 GiB") << hugeRecord << "wmf" << badWmf;
    Bytes tiny; // 28 bytes: a standard header, the end record and two spare words
    tiny.u16(1).u16(9).u16(0x0300).u32(14).u16(0).u32(0x7FFFFFFF).u16(0);
    tiny.u32(3).u16(0x0000).u16(0).u16(0);
    QTest::newRow("wmf of 28 bytes claiming a record of 4 GiB") << tiny.data() << "wmf" << badWmf;
    QByteArray longerThanFile = wmf;
    qToLittleEndian<quint32>(quint32(wmf.size()), longerThanFile.data() + 22 + 6);
    QTest::newRow("wmf claiming twice its size") << longerThanFile << "wmf" << badWmf;
    // The second brush's record made unknown: the SelectObject(1) after it selects an empty slot,
    // with which libwmf drew from stale memory (asking for 6.8 GB once).
    QByteArray emptySlot = wmf;
    qToLittleEndian<quint16>(0x7EFC, emptySlot.data() + 22 + 18 + 10 + 10 + 14 + 8 + 14 + 4);
    QTest::newRow("wmf selecting an object never made") << emptySlot << "wmf" << badWmf;
    QByteArray oddHeader = wmf;
    qToLittleEndian<quint16>(200, oddHeader.data() + 22 + 2);
    QTest::newRow("wmf header of 200 words") << oddHeader << "wmf" << badWmf;
    // Placeable bounds of 6000 x 5000 units at 96 units per inch: 30 million pixels.
    QByteArray wmfLarge = wmf;
    qToLittleEndian<quint16>(6000, wmfLarge.data() + 10);
    qToLittleEndian<quint16>(5000, wmfLarge.data() + 12);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(wmfLarge.constData() + 2 * i);
    qToLittleEndian<quint16>(checksum, wmfLarge.data() + 20);
    QTest::newRow("wmf of 6000 x 5000 pixels") << wmfLarge << "wmf"
                                               << "Metarquivo grande demais (6000 x 5000 pixels)";
}

void TestPictureMetafiles::damagedWritten()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(errorText([&] { decodePicture(bytes, extension); }), expected);
}

// libemf2svg tears fontconfig down after glyph-index text; beside Qt, in one process, that must
// leave Qt's fonts working.
void TestPictureMetafiles::glyphIndexTextLeavesQtFontsWorking()
{
    QVERIFY(qtDrawsText(0));
    const QByteArray emf = glyphIndexTextEmf();
    for (int round = 1; round < 5; ++round) {
        const QImage picture = emfFromSvg(placeEmf(emf), emfToSvg(emf));
        QCOMPARE(picture.size(), QSize(200, 40));
        QVERIFY(qtDrawsText(round));
    }
}

void TestPictureMetafiles::absurdlyWideTextIsLeftOut()
{
    // FreeType cannot render a character a thousand times wider than high, and libwmf would
    // then draw a bitmap that is not there.
    const QImage wide = decodePicture(textWmf(16000), QStringLiteral("wmf"));
    QVERIFY(!wide.isNull());
    const QImage normal = decodePicture(textWmf(0), QStringLiteral("wmf"));
    QVERIFY2(hasTwoColours(normal), "the text of a normal font is drawn");
}

void TestPictureMetafiles::readerWithoutItsFontsSaysSo()
{
    // This machine has the faces: a package list that forgets them fails here.
    QCOMPARE(missingWmfFonts(wmfFontFolder()), QStringList());

    QTemporaryDir fonts;
    const QStringList all = missingWmfFonts(fonts.path());
    QCOMPARE(all.size(), 13);
    QCOMPARE(all.first(), fonts.filePath(QStringLiteral("NimbusMonoPS-Regular.t1")));
    for (const QString &path : all)
        if (!path.endsWith(QLatin1String("StandardSymbolsPS.t1"))) {
            QFile face(path);
            QVERIFY(face.open(QIODevice::WriteOnly));
        }
    QCOMPARE(missingWmfFonts(fonts.path()),
             QStringList{fonts.filePath(QStringLiteral("StandardSymbolsPS.t1"))});

    // libwmf fails on every file when it has no faces; the failure is then laid on the reader,
    // not on the file. A file whose first record is larger than its header allows stands in
    // for that failure here (its header itself is sound, so libwmf gets to read it).
    QByteArray damaged = rectangleWmf(qRgb(1, 2, 3));
    qToLittleEndian<quint32>(0xFFFF, damaged.data() + 22 + 18);
    QTemporaryDir empty;
    QCOMPARE(errorText([&] { decodeWmf(damaged, empty.path()); }),
             QStringLiteral("Não foi possível iniciar o leitor de metarquivos: arquivo de fonte não "
                            "encontrado (%1 e mais 12); instale o pacote fonts-urw-base35")
                 .arg(empty.filePath(QStringLiteral("NimbusMonoPS-Regular.t1"))));
    QCOMPARE(errorText([&] { decodeWmf(damaged, fonts.path()); }),
             QStringLiteral("Não foi possível iniciar o leitor de metarquivos: arquivo de fonte não "
                            "encontrado (%1); instale o pacote fonts-urw-base35")
                 .arg(fonts.filePath(QStringLiteral("StandardSymbolsPS.t1"))));
    // With the faces in place the same file is simply damaged, and a sound one is drawn.
    QCOMPARE(errorText([&] { decodeWmf(damaged); }), QStringLiteral("O metarquivo não é válido"));
    QCOMPARE(decodeWmf(rectangleWmf(qRgb(1, 2, 3)), empty.path()).size(), QSize(100, 80));
}

QTEST_MAIN(TestPictureMetafiles)
// libwmf allocates through the decoder's own allocator, which refuses what goes beyond the budget:
// the same real metafile loads with the usual budget and is refused with a small one. How much
// libwmf takes depends on the fonts and font maps the machine has, so the small budget is one in
// which no machine's libwmf can start or read a file.
void TestPictureMetafiles::wmfMemoryIsBudgeted()
{
    QFile file(metafileDir() + QStringLiteral("/wmf/sample.wmf"));
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("the shared test metafiles are not here");
    const QByteArray bytes = file.readAll();
    QVERIFY(!decodeWmf(bytes).isNull());
    QCOMPARE(errorText([&] { decodeWmf(bytes, wmfFontFolder(), 64); }),
             QStringLiteral("O metarquivo exige memória demais"));
}

// A pen record of a few damaged bytes can make a pen 20000 units wide in a window of 100: the
// renderer painted a pen-sized block at every point of the stroke and took minutes. The pen is
// narrowed: the picture comes back, painted in the pen's colour around the shape, whichever
// shape the pen strokes.
void TestPictureMetafiles::wmfPenOfAbsurdWidthIsNarrowed_data()
{
    QTest::addColumn<QByteArray>("shape");
    Bytes ellipse, polyline, rectangle, line;
    // An ellipse reaching far outside the window, as the damaged file had it.
    ellipse.u32(7).u16(0x0418).u16(8272).u16(80).u16(quint16(-2541)).u16(20); // (bottom, right, top, left)
    polyline.u32(3 + 1 + 6).u16(0x0325).u16(3);                    // Polyline of 3 points
    polyline.u16(20).u16(quint16(-2541)).u16(80).u16(8272).u16(20).u16(80);
    rectangle.u32(7).u16(0x041B).u16(8272).u16(80).u16(quint16(-2541)).u16(20); // Rectangle
    line.u32(5).u16(0x0214).u16(quint16(-2541)).u16(20);          // MoveTo(y, x)
    line.u32(5).u16(0x0213).u16(8272).u16(80);                    // LineTo(y, x)
    QTest::newRow("ellipse") << ellipse.data();
    QTest::newRow("polyline") << polyline.data();
    QTest::newRow("rectangle") << rectangle.data();
    QTest::newRow("line") << line.data();
}

void TestPictureMetafiles::wmfPenOfAbsurdWidthIsNarrowed()
{
    QFETCH(QByteArray, shape);
    const QRgb ink = qRgb(200, 30, 40);
    Bytes records;
    records.u32(5).u16(0x020B).u16(0).u16(0);              // SetWindowOrg(y, x)
    records.u32(5).u16(0x020C).u16(100).u16(100);          // SetWindowExt(height, width)
    records.u32(8).u16(0x02FA).u16(0).u16(21506).u16(0);   // CreatePenIndirect: solid, 21506 wide
    records.u32(colorRef(ink));
    records.u32(4).u16(0x012D).u16(0);                     // SelectObject(0)
    Bytes end;
    end.u32(3).u16(0x0000);
    Bytes header;
    header.u16(1).u16(9).u16(0x0300).u32(quint32((18 + records.size() + shape.size() + 6) / 2));
    header.u16(1).u32(10).u16(0);

    const QImage picture =
        decodePicture(header.data() + records.data() + shape + end.data(), QStringLiteral("wmf"));
    QVERIFY(!picture.isNull());
    bool inked = false;
    for (int y = 0; y < picture.height() && !inked; ++y)
        for (int x = 0; x < picture.width() && !inked; ++x)
            inked = picture.pixel(x, y) == ink;
    QVERIFY(inked);
}

// Whatever the decoder process does short of answering (it crashes, hangs, spins, ends without
// a word or with a code it has no business giving, or is not there), the game is told that the
// file is not valid and goes on; it waits no longer than the decoder's time.
void TestPictureMetafiles::decoderThatDoesNotAnswerRefusesTheFile_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::newRow("killed by a signal") << QByteArray("kill -FPE $$");
    QTest::newRow("hangs") << QByteArray("exec sleep 30");
    QTest::newRow("spins") << QByteArray("while :; do :; done");
    QTest::newRow("no answer") << QByteArray("cat >/dev/null; exit 0");
    QTest::newRow("refusal without reason") << QByteArray("exit 2");
    QTest::newRow("unknown code") << QByteArray("printf x; exit 7");
}

void TestPictureMetafiles::decoderThatDoesNotAnswerRefusesTheFile()
{
    QFETCH(QByteArray, script);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("decodificador"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + script + "\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const MetafileDecoder decoder {program, qint64(1) << 30, 1};

    // Files larger than a pipe holds, so that a decoder that stops reading leaves the game with
    // bytes it cannot hand over.
    const QByteArray padding(2 << 20, '\0');
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(errorText([&] { decodeWmf(rectangleWmf(qRgb(1, 2, 3)) + padding, wmfFontFolder(), MaxDecoderBytes, decoder); }),
             QStringLiteral("O metarquivo não é válido"));
    QCOMPARE(errorText([&] { decodeEmf(rectangleEmf(qRgb(1, 2, 3)) + padding, decoder); }),
             QStringLiteral("O metarquivo avançado não é válido"));
    QVERIFY2(clock.elapsed() < 10000, "each run is cut off at the decoder's second");

    const MetafileDecoder missing {dir.filePath(QStringLiteral("nada")), qint64(1) << 30, 1};
    QVERIFY(errorText([&] { decodeEmf(rectangleEmf(qRgb(1, 2, 3)), missing); })
                .startsWith(QStringLiteral("Não foi possível iniciar o leitor de metarquivos (%1): ")
                                .arg(missing.program)));
}

// The decoder runs with its limits: address space, processor time, and no core file. A
// stand-in decoder reports the limits it was given as its refusal.
void TestPictureMetafiles::decoderRunsWithinItsLimits()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("limites"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\ncat >/dev/null; printf '%s %s %s' $(ulimit -v) $(ulimit -t) $(ulimit -c); exit 2\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);

    const QString space = MetafileMemoryLimited ? QStringLiteral("98304") : QStringLiteral("unlimited");
    QCOMPARE(errorText([&] { decodeWmf(rectangleWmf(qRgb(1, 2, 3)), wmfFontFolder(), MaxDecoderBytes,
                                       {program, 96 * 1024 * 1024, 3}); }),
             space + QStringLiteral(" 3 0"));
}

// Pattern brushes whose bitmap libwmf cannot tile: a header of 24 bytes, a size no bitmap header
// has (libwmf read it for minutes), and a bitmap without width or height (its tiling divided by
// zero and killed the process). The bitmap is left out and the rest of the drawing is shown; the
// same brush with a sound bitmap is drawn.
void TestPictureMetafiles::wmfBitmapThatCannotTileIsLeftOut_data()
{
    QTest::addColumn<quint32>("headerSize");
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<bool>("patterned");
    QTest::newRow("sound") << 40u << 8 << 8 << true;
    QTest::newRow("unknown header size") << 24u << 8 << 8 << false;
    QTest::newRow("no width") << 40u << 0 << 8 << false;
    QTest::newRow("no height") << 40u << 8 << 0 << false;
}

void TestPictureMetafiles::wmfBitmapThatCannotTileIsLeftOut()
{
    QFETCH(quint32, headerSize);
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(bool, patterned);
    Bytes dib; // 1 bit per pixel: the header, two colours, eight rows of 4 bytes
    dib.u32(headerSize).i32(width).i32(height).u16(1).u16(1).u32(0).u32(32).i32(0).i32(0).u32(0).u32(0);
    dib.u32(colorRef(qRgb(0, 0, 255))).u32(colorRef(qRgb(255, 255, 0)));
    for (int row = 0; row < 8; ++row)
        dib.u32(row % 2 ? 0x55 : 0xAA);
    Bytes records;
    records.u32(5).u16(0x020B).u16(0).u16(0);     // SetWindowOrg(y, x)
    records.u32(5).u16(0x020C).u16(100).u16(100); // SetWindowExt(height, width)
    records.u32(quint32(3 + 2 + dib.size() / 2)).u16(0x0142).u16(3).u16(0); // DIBCreatePatternBrush
    const QByteArray bits = dib.data();
    Bytes all;
    all.u16(1).u16(9).u16(0x0300).u32(0).u16(1).u32(quint32(5 + bits.size() / 2)).u16(0);
    QByteArray bytes = all.data() + records.data() + bits;
    Bytes tail;
    tail.u32(4).u16(0x012D).u16(0);               // SelectObject(0)
    tail.u32(7).u16(0x041B).u16(80).u16(80).u16(20).u16(20); // Rectangle
    tail.u32(3).u16(0x0000);
    bytes += tail.data();
    qToLittleEndian<quint32>(quint32(bytes.size() / 2), bytes.data() + 6);

    const QImage picture = decodePicture(bytes, QStringLiteral("wmf"));
    QVERIFY(!picture.isNull());
    const QImage inside = picture.copy(QRect(picture.rect().center() - QPoint(5, 5), QSize(10, 10)));
    QCOMPARE(hasTwoColours(inside), patterned);
}

// Windows refuses to delete an object that is selected for drawing; libwmf deleted it and then
// drew with whatever took its slot (once asking for 6.8 GB). As in Windows, the brush stays: a
// rectangle drawn after the deletion, and after a pen made meanwhile, is filled with it. So it
// does when the brush is selected in a drawing state saved for later, and after a record of
// function 0 that is not the end of the file (libwmf plays on past it).
void TestPictureMetafiles::deletingASelectedBrushKeepsIt_data()
{
    const QRgb fill = qRgb(30, 160, 90);
    QTest::addColumn<QByteArray>("records");
    Bytes selected, saved, pastAZero;
    selected.u32(7).u16(0x02FC).u16(0).u32(colorRef(fill)).u16(0);      // brush, slot 0
    selected.u32(4).u16(0x012D).u16(0);                                 // SelectObject(0)
    selected.u32(4).u16(0x01F0).u16(0);                                 // DeleteObject(0): refused
    selected.u32(8).u16(0x02FA).u16(0).u16(1).u16(0).u32(0);            // a pen: slot 1
    selected.u32(7).u16(0x02FC).u16(0).u32(colorRef(qRgb(200, 0, 0))).u16(0); // another brush: slot 2
    selected.u32(4).u16(0x012D).u16(2);                                 // SelectObject(2)
    selected.u32(4).u16(0x012D).u16(1);                                 // SelectObject(1): the pen
    selected.u32(4).u16(0x012D).u16(0);                                 // SelectObject(0): the first brush
    QTest::newRow("selected") << selected.data();

    saved.u32(7).u16(0x02FC).u16(0).u32(colorRef(fill)).u16(0);         // brush, slot 0
    saved.u32(4).u16(0x012D).u16(0);                                    // SelectObject(0)
    saved.u32(3).u16(0x001E);                                           // SaveDC
    saved.u32(7).u16(0x02FC).u16(0).u32(colorRef(qRgb(200, 0, 0))).u16(0); // another brush: slot 1
    saved.u32(4).u16(0x012D).u16(1);                                    // SelectObject(1)
    saved.u32(4).u16(0x01F0).u16(0);                                    // DeleteObject(0): refused
    saved.u32(8).u16(0x02FA).u16(0).u16(1).u16(0).u32(0);               // a pen: slot 2
    saved.u32(4).u16(0x012D).u16(2);                                    // SelectObject(2)
    saved.u32(4).u16(0x0127).u16(quint16(-1));                          // RestoreDC: brush 0 again
    QTest::newRow("selected in a saved state") << saved.data();

    pastAZero.u32(4).u16(0x0000).u16(0);                                // function 0, 4 words
    QTest::newRow("after a record of function 0") << pastAZero.data() + selected.data();
}

void TestPictureMetafiles::deletingASelectedBrushKeepsIt()
{
    QFETCH(QByteArray, records);
    const QRgb fill = qRgb(30, 160, 90);
    Bytes placeable;
    placeable.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(100).u16(80).u16(96).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(placeable.data().constData() + 2 * i);
    placeable.u16(checksum);
    Bytes window, end;
    window.u32(5).u16(0x020B).u16(0).u16(0);                        // SetWindowOrg
    window.u32(5).u16(0x020C).u16(80).u16(100);                     // SetWindowExt
    end.u32(7).u16(0x041B).u16(70).u16(80).u16(10).u16(20);         // Rectangle
    end.u32(3).u16(0x0000);
    const QByteArray all = window.data() + records + end.data();
    Bytes header;
    header.u16(1).u16(9).u16(0x0300).u32(quint32((18 + all.size()) / 2));
    header.u16(3).u32(8).u16(0);

    const QImage picture = decodePicture(placeable.data() + header.data() + all, QStringLiteral("wmf"));
    QCOMPARE(picture.size(), QSize(100, 80));
    QCOMPARE(picture.pixel(50, 40), fill);
}

#include "test_pictures_metafiles.moc"
