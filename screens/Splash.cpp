#include "screens/Splash.h"

TFrmSplash *FrmSplash = nullptr;

TFrmSplash::TFrmSplash(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmSplash"), QStringLiteral("ÓRB174 & CR157AL: JORNADA DO SABER"),
                   QSize(602, 413), parent)
{
    Image1 = addBackground(QStringLiteral(":/splash.jpg"), 0, QSize(597, 390));
}
