#include "screens/Inicial.h"

#include "game/GameSession.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Win1252Validator.h"
#include "screens/Navigator.h"
#include "store/core/GameRules.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

TFrmInicial::TFrmInicial(GameSession &session, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmInicial"), QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER"),
                   QSize(800, 500), parent),
      m_session(session), m_navigator(navigator)
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    CadPer = addMenuItem(QStringLiteral("CadPer"), QStringLiteral("&Cadastrar Novas Perguntas"));
    MnuInst = addMenuItem(QStringLiteral("MnuInst"), QStringLiteral("&Instruções"));
    Sair = addMenuItem(QStringLiteral("Sair"), QStringLiteral("&Sair"));

    Image1 = addBackground(QStringLiteral(":/inicial.jpg"));
    QWidget *area = content();
    const QString labelStyle = QStringLiteral("color: #f4f1ff; background: transparent;");

    Label2 = new QLabel(QStringLiteral("Recorde Atual:"), area);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 12, 380, 20);
    QFont bold = Label2->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    Label2->setFont(bold);
    Label2->setStyleSheet(labelStyle);

    LblRecordeAtual = new QLabel(area);
    LblRecordeAtual->setObjectName(QStringLiteral("LblRecordeAtual"));
    LblRecordeAtual->setGeometry(16, 34, 380, 22);
    LblRecordeAtual->setTextFormat(Qt::PlainText);
    QFont plain = bold;
    plain.setBold(false);
    LblRecordeAtual->setFont(plain);
    LblRecordeAtual->setStyleSheet(labelStyle);

    Label1 = new QLabel(QStringLiteral("Digite seu nome:"), area);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 350, 230, 22);
    Label1->setFont(plain);
    Label1->setStyleSheet(labelStyle);

    EdtNome = new QLineEdit(area);
    EdtNome->setObjectName(QStringLiteral("EdtNome"));
    EdtNome->setGeometry(16, 374, 230, 26);
    EdtNome->setMaxLength(GameRules::playerNameLength);
    // The name may become the record holder's, which the record file keeps in Windows-1252.
    EdtNome->setValidator(new Win1252Validator(EdtNome));

    BtnJogar = new QPushButton(QStringLiteral("Jogar"), area);
    BtnJogar->setObjectName(QStringLiteral("BtnJogar"));
    BtnJogar->setGeometry(256, 373, 100, 28);
    BtnJogar->setAutoDefault(false);
    BtnJogar->setDefault(false);

    describeForScreenReaders();
    setTabOrder(EdtNome, BtnJogar);
    setTabOrder(BtnJogar, LblRecordeAtual);
    EdtNome->setFocus();

    connectHandler(BtnJogar, &QPushButton::clicked, this, &TFrmInicial::BtnJogarClick);
    connectHandler(CadPer, &QAction::triggered, this, &TFrmInicial::CadPerClick);
    connectHandler(MnuInst, &QAction::triggered, this, &TFrmInicial::MnuInstClick);
    connectHandler(Sair, &QAction::triggered, this, &TFrmInicial::SairClick);
}

void TFrmInicial::describeForScreenReaders()
{
    Accessibility::describe(Image1, QStringLiteral("Arte do título: Jornada do Saber"));
    Accessibility::describe(EdtNome, QStringLiteral("Nome do jogador"),
                            QStringLiteral("Digite seu nome, com até %1 caracteres, e vá com Tab até o botão Jogar.")
                                .arg(GameRules::playerNameLength));
    Label1->setBuddy(EdtNome);
    Accessibility::describe(BtnJogar, QStringLiteral("Jogar"),
                            QStringLiteral("Começa um jogo de %1 perguntas.").arg(GameRules::questionsPerGame));
    // The record line is read with its caption, and Tab reaches it after "Jogar".
    Accessibility::nameFromText(LblRecordeAtual, [this](const QString &line) {
        return Label2->text() + QLatin1Char(' ') + line;
    });
    LblRecordeAtual->setFocusPolicy(Qt::TabFocus);
}

void TFrmInicial::ShowRecordLine(const QString &line)
{
    LblRecordeAtual->setText(line);
}

void TFrmInicial::ReadyForNextPlayer()
{
    EdtNome->clear();
    EdtNome->setFocus();
}

void TFrmInicial::FormCreate()
{
    ShowRecordLine(m_session.loadRecord() ? m_session.recordLine() : QStringLiteral("Não consta"));
}

void TFrmInicial::BtnJogarClick()
{
    if (EdtNome->text().isEmpty()) {
        Dialogs::warn(QStringLiteral("É necessário digitar um nome para jogar"));
        return;
    }
    m_navigator.showGame(m_session.start(EdtNome->text()));
}

void TFrmInicial::CadPerClick()
{
    m_navigator.showLogin();
}

void TFrmInicial::MnuInstClick()
{
    m_navigator.showInstructions();
}

void TFrmInicial::SairClick()
{
    if (Dialogs::confirm(QStringLiteral("Tem certeza que deseja sair?")))
        close();
}

void TFrmInicial::closeEvent(QCloseEvent *event)
{
    // The main screen: closing it asks the event loop to stop. The handler that closed it still
    // runs to its end first.
    ScreenWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::exit(0);
}
