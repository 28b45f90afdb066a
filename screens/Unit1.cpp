#include "screens/Unit1.h"

#include "platform/ErrorReport.h"
#include "screens/Inicial.h"

#include <QAction>
#include <QMenuBar>

TFrmInstrucao *FrmInstrucao = nullptr;

TFrmInstrucao::TFrmInstrucao(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmInstrucao"),
                   QStringLiteral("0RB1T4A & CR1ST4L: JORNADA DO SABER - INSTRUÇÕES"), QSize(800, 500),
                   parent)
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    MnuVoltar = addMenuItem(QStringLiteral("MnuVoltar"), QStringLiteral("&Voltar"));
    // The picture sits 8 pixels above the content area's top edge.
    Image1 = addBackground(QStringLiteral(":/instrucoes.jpg"), -8);
    connectHandler(MnuVoltar, &QAction::triggered, this, &TFrmInstrucao::MnuVoltarClick);
}

void TFrmInstrucao::MnuVoltarClick()
{
    FrmInicial->showScreen();
    close();
}
