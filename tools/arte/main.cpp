// jornada-arte: paints the background pictures of the screens into an assets folder, or the
// game's icon into an icon theme folder.
// Usage: jornada-arte <assets folder>
//        jornada-arte --icone <icons folder>
// The assets folder must hold fonts/Cabin-*.otf, the face the pictures are lettered in.
// The icons folder receives hicolor/scalable/apps/<id>.svg and hicolor/<N>x<N>/apps/<id>.png,
// each size painted on its own; it is created if missing.

#include "Icon.h"
#include "Pictures.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

constexpr int kJpegQuality = 92;

// The icon is named after the application id, as the desktop entry asks for it.
const QString kIconName = QStringLiteral("br.jornadadosaber.jornada");
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kSvgSize = 256;

void report(QTextStream& out, const QString& path, int width, int height)
{
    out << path << ": " << width << " x " << height << ", " << QFileInfo(path).size() << " bytes\n";
}

int writePictures(const QDir& assets, QTextStream& out, QTextStream& err)
{
    for (const char* face : {"Cabin-Regular.otf", "Cabin-SemiBold.otf", "Cabin-Bold.otf"}) {
        const QString path = assets.filePath(QStringLiteral("fonts/") + QLatin1String(face));
        if (QFontDatabase::addApplicationFont(path) < 0) {
            err << "jornada-arte: não foi possível carregar a fonte " << path << "\n";
            return 1;
        }
    }

    const struct {
        const char* file;
        QImage (*paint)();
    } pictures[] = {
        {"splash.jpg", arte::paintSplash},         {"inicial.jpg", arte::paintInicial},
        {"perguntas.jpg", arte::paintPerguntas},   {"resultado.jpg", arte::paintResultado},
        {"cadastro.jpg", arte::paintCadastro},     {"instrucoes.jpg", arte::paintInstrucoes},
    };
    for (const auto& picture : pictures) {
        const QString path = assets.filePath(QLatin1String(picture.file));
        const QImage image = picture.paint().convertToFormat(QImage::Format_RGB32);
        if (!image.save(path, "JPG", kJpegQuality)) {
            err << "jornada-arte: não foi possível gravar " << path << "\n";
            return 1;
        }
        report(out, path, image.width(), image.height());
    }
    return 0;
}

// Makes `folder`/hicolor/`theme`/apps and gives the icon's path in it, or an empty string.
QString iconPath(const QDir& folder, const QString& theme, const QString& suffix, QTextStream& err)
{
    const QString apps = QStringLiteral("hicolor/%1/apps").arg(theme);
    if (!folder.mkpath(apps)) {
        err << "jornada-arte: não foi possível criar a pasta " << folder.filePath(apps) << "\n";
        return {};
    }
    return folder.filePath(apps + QLatin1Char('/') + kIconName + suffix);
}

// The icon as SVG text: the painter's paths and gradients, on a 256-pixel square.
QByteArray iconSvg()
{
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    svg.setTitle(QStringLiteral("Jornada do Saber"));
    svg.setDescription(QStringLiteral("Ícone do jogo Jornada do Saber"));
    {
        QPainter p(&svg);
        arte::paintIcon(p, kSvgSize);
    }
    // The generator gives the size in millimetres at its resolution; in pixels it is exact.
    QString text = QString::fromUtf8(buffer.data());
    static const QRegularExpression millimetres(QStringLiteral(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")"));
    text.replace(millimetres, QStringLiteral(R"(<svg width="%1" height="%1")").arg(kSvgSize));
    return text.toUtf8();
}

int writeIcons(const QDir& folder, QTextStream& out, QTextStream& err)
{
    const QString svgPath = iconPath(folder, QStringLiteral("scalable"), QStringLiteral(".svg"), err);
    if (svgPath.isEmpty())
        return 1;
    QSaveFile svgFile(svgPath);
    if (!svgFile.open(QIODevice::WriteOnly) || svgFile.write(iconSvg()) < 0 || !svgFile.commit()) {
        err << "jornada-arte: não foi possível gravar " << svgPath << "\n";
        return 1;
    }
    report(out, svgPath, kSvgSize, kSvgSize);

    for (int size : kIconSizes) {
        const QString theme = QStringLiteral("%1x%1").arg(size);
        const QString path = iconPath(folder, theme, QStringLiteral(".png"), err);
        if (path.isEmpty())
            return 1;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            arte::paintIcon(p, size);
        }
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            err << "jornada-arte: não foi possível gravar " << path << "\n";
            return 1;
        }
        report(out, path, size, size);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // The tool opens no window; it needs a GUI application only for fonts and the blur effect.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const bool icons = argc >= 2 && qstrcmp(argv[1], "--icone") == 0;
    if (argc != (icons ? 3 : 2)) {
        err << "uso: jornada-arte PASTA_DAS_IMAGENS\n"
               "     jornada-arte --icone PASTA_DOS_ÍCONES\n";
        return 2;
    }
    if (icons)
        return writeIcons(QDir(QString::fromLocal8Bit(argv[2])), out, err);

    const QDir assets(QString::fromLocal8Bit(argv[1]));
    if (!assets.exists()) {
        err << "jornada-arte: a pasta não existe: " << assets.path() << "\n";
        return 1;
    }
    return writePictures(assets, out, err);
}
