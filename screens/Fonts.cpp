#include "screens/Fonts.h"

QFont gameFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
