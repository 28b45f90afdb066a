#include "screens/Perguntas.h"

#include "platform/ErrorReport.h"
#include "screens/Inicial.h"
#include "store/DataDir.h"
#include "store/TableEngine.h"

#include <QAction>
#include <QMenuBar>

TFrmCadastro *FrmCadastro = nullptr;

TFrmCadastro::TFrmCadastro(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmCadastro"),
                   QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER - CADASTRO"), QSize(800, 500), parent)
{
    menuBar()->setObjectName(QStringLiteral("MenuCad"));
    voltar = addMenuItem(QStringLiteral("voltar"), QStringLiteral("&Voltar"));
    Image1 = addBackground(QStringLiteral(":/cadastro.jpg"));

    TbPerguntas = new Table(this);
    TbPerguntas->setObjectName(QStringLiteral("TbPerguntas"));
    TbPerguntas->open(dataDirectory(), QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));

    connectHandler(voltar, &QAction::triggered, this, &TFrmCadastro::voltarClick);
}

void TFrmCadastro::OpenEditor()
{
    showScreen();
}

void TFrmCadastro::voltarClick()
{
    close();
    FrmInicial->showScreen();
}
