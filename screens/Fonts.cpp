#include "screens/Fonts.h"

#include <QFontDatabase>

// Outside any namespace, as the resource's initializer must be.
static void initFontResources()
{
    Q_INIT_RESOURCE(fonts);
}

QFont gameFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void registerGameFonts()
{
    static const bool registered = [] {
        initFontResources();
        for (const char *face : {":/fonts/Cabin-Regular.otf", ":/fonts/Cabin-Bold.otf"})
            QFontDatabase::addApplicationFont(QLatin1String(face));
        QFont::insertSubstitution(QStringLiteral("Trebuchet MS"), QStringLiteral("Cabin"));
        return true;
    }();
    (void)registered;
}
