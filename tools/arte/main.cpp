// jornada-arte: paints the background pictures of the screens into an assets folder.
// Usage: jornada-arte <assets folder>
// The folder must hold fonts/Cabin-*.otf, the face the pictures are lettered in.

#include "Pictures.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QTextStream>

namespace {

constexpr int kJpegQuality = 92;

} // namespace

int main(int argc, char* argv[])
{
    // The tool opens no window; it needs a GUI application only for fonts and the blur effect.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (argc != 2) {
        err << "usage: jornada-arte <assets folder>\n";
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    if (!assets.exists()) {
        err << "jornada-arte: folder not found: " << assets.path() << "\n";
        return 1;
    }

    for (const char* face : {"Cabin-Regular.otf", "Cabin-SemiBold.otf", "Cabin-Bold.otf"}) {
        const QString path = assets.filePath(QStringLiteral("fonts/") + QLatin1String(face));
        if (QFontDatabase::addApplicationFont(path) < 0) {
            err << "jornada-arte: cannot load font " << path << "\n";
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
            err << "jornada-arte: cannot write " << path << "\n";
            return 1;
        }
        out << path << ": " << image.width() << " x " << image.height() << ", " << QFileInfo(path).size()
            << " bytes\n";
    }
    return 0;
}
