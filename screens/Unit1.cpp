#include "screens/Unit1.h"

#include "platform/Accessibility.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "screens/Navigator.h"

#include <QAction>
#include <QMenuBar>


TFrmInstrucao::TFrmInstrucao(Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmInstrucao"),
                   QStringLiteral("0RB1T4A & CR1ST4L: JORNADA DO SABER - INSTRUÇÕES"), QSize(800, 500),
                   parent),
      m_navigator(navigator)
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    MnuVoltar = addMenuItem(QStringLiteral("MnuVoltar"), QStringLiteral("&Voltar"));
    // The picture sits 8 pixels above the content area's top edge.
    Image1 = addBackground(QStringLiteral(":/instrucoes.jpg"), -8);
    // The rules are part of the picture: a screen reader reads them from its description. The
    // picture takes the focus, so they are read as soon as the screen comes up.
    Accessibility::describe(Image1, QStringLiteral("Instruções"), RulesText());
    Image1->setFocusPolicy(Qt::TabFocus);
    Image1->setFocus();
    connectHandler(MnuVoltar, &QAction::triggered, this, &TFrmInstrucao::MnuVoltarClick);
}

QString TFrmInstrucao::RulesText()
{
    return QStringLiteral(
        "a) Cada pergunta tem apenas uma resposta correta;\n"
        "b) Cada pergunta respondida corretamente valerá 5 pontos;\n"
        "c) Cada pergunta errada; será descontado 3 pontos;\n"
        "d) Você pode pular 2 perguntas;\n"
        "e) Cada pergunta não respondida será descontado 1 ponto;\n"
        "f) É necessário informar um nome para começar a jogar;\n"
        "g) Se clicar em DESISTIR o jogo será encerrado sem contagem de pontos;\n"
        "h) Você terá que responder 20 perguntas;\n"
        "i) O pulo não elimina uma pergunta, você só perde ponto, ou seja, se pular uma vez, passará por 21 "
        "perguntas, se pular 2, passará por 22 perguntas;\n"
        "j) A pergunta pulada pode ser sorteada novamente;\n"
        "k) Não há tempo estipulado para responder as perguntas.");
}

void TFrmInstrucao::MnuVoltarClick()
{
    m_navigator.showStart();
    close();
}
