#include "screens/Inicial.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Win1252Validator.h"
#include "screens/QuestoesRandom.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "store/AppError.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

TFrmInicial *FrmInicial = nullptr;

TFrmInicial::TFrmInicial(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmInicial"), QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER"),
                   QSize(800, 500), parent)
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
    EdtNome->setMaxLength(20);
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
                            QStringLiteral("Digite seu nome, com até 20 caracteres, e vá com Tab até o botão Jogar."));
    Label1->setBuddy(EdtNome);
    Accessibility::describe(BtnJogar, QStringLiteral("Jogar"), QStringLiteral("Começa um jogo de 20 perguntas."));
    // The record line is read with its caption, and Tab reaches it after "Jogar".
    Accessibility::nameFromText(LblRecordeAtual, [this](const QString &line) {
        return Label2->text() + QLatin1Char(' ') + line;
    });
    LblRecordeAtual->setFocusPolicy(Qt::TabFocus);
}

QString TFrmInicial::RecordLine(const QString &name, qint32 points)
{
    return ShownRecordName(name) + QStringLiteral(" - ") + QString::number(points) + QStringLiteral(" pontos");
}

void TFrmInicial::ShowRecordLine()
{
    LblRecordeAtual->setText(RecordLine(GameState.RecordName, GameState.RecordPoints));
}

void TFrmInicial::FormCreate()
{
    if (!ReloadRecord()) {
        LblRecordeAtual->setText(QStringLiteral("Não consta"));
        return;
    }
    ShowRecordLine();
}

void TFrmInicial::BtnJogarClick()
{
    if (EdtNome->text().isEmpty()) {
        Dialogs::warn(QStringLiteral("É necessário digitar um nome para jogar"));
        return;
    }
    // A bank too small for a game is refused before the question screen comes up. It is counted
    // again first, in case questions were added since the last count.
    if (GameState.QuestionCount < QuestionsPerGame) {
        CountQuestions();
        if (GameState.QuestionCount < QuestionsPerGame)
            throw AppError(BankTooSmallMessage(GameState.QuestionCount));
    }

    FrmPerguntas->showScreen();
    GameState.PlayerName = EdtNome->text();
    FrmPerguntas->UncheckAnswers();
    // Every game starts from nothing, also one started while another is under way or just over
    // (the start screen stays usable behind the others).
    ResetCounters();
    FrmPerguntas->BtnPular->setEnabled(true);
    try {
        DrawQuestions();
    } catch (const AppError &) {
        // No game could be drawn (the bank shrank since the last count): none is started.
        FrmPerguntas->hide();
        showScreen();
        throw;
    }
    GameState.CurrentIndex = 0;
    FrmPerguntas->LblQtePerg->setText(QString::number(GameState.CurrentIndex + 1));
    ShowQuestion(GameState.DrawnIds[0]);
}

void TFrmInicial::CadPerClick()
{
    FrmSenha->showScreen();
    FrmSenha->EdtNome->setText(QStringLiteral("Adm"));
    FrmSenha->EdtSenha->clear();
    FrmSenha->EdtSenha->setFocus();
}

void TFrmInicial::MnuInstClick()
{
    FrmInstrucao->showScreen();
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
