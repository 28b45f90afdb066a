#include "screens/Splash.h"

#include "platform/Accessibility.h"
#include "platform/PictureBox.h"

TFrmSplash *FrmSplash = nullptr;

TFrmSplash::TFrmSplash(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmSplash"), QStringLiteral("ÓRB174 & CR157AL: JORNADA DO SABER"),
                   QSize(602, 413), parent)
{
    Image1 = addBackground(QStringLiteral(":/splash.jpg"), 0, QSize(597, 390));
    Accessibility::describe(Image1, QStringLiteral("Abertura: Jornada do Saber"),
                            QStringLiteral("O jogo está começando."));
}
