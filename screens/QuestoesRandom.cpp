#include "screens/QuestoesRandom.h"

#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "screens/Fonts.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/Resultado.h"
#include "store/AppError.h"
#include "store/DataDir.h"
#include "store/TableEngine.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

TFrmPerguntas *FrmPerguntas = nullptr;

// ---------------------------------------------------------------------------------------------
// The game's operations, on the screen's statements and controls

void CountQuestions()
{
    CountQuestions(*FrmPerguntas->QuerySql);
}

void DrawQuestions()
{
    DrawQuestions(*FrmPerguntas->QueryPosicao, *FrmPerguntas->QuerySql);
}

void ShowQuestion(qint32 id)
{
    // Everything that can be shown is shown; what cannot is reported at the end, so the player
    // can still answer the question.
    const QuestionRead read = ReadQuestion(*FrmPerguntas->QuerySql2, id);
    FrmPerguntas->LblPergunta->setText(read.pergunta);
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp1, read.answers[0]);
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp2, read.answers[1]);
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp3, read.answers[2]);
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp4, read.answers[3]);

    QStringList problems = read.problems;
    if (read.foto.isEmpty()) {
        FrmPerguntas->ImgPerg->clear();
    } else {
        try {
            FrmPerguntas->ImgPerg->loadFromFile(read.foto);
        } catch (const AppError &e) {
            FrmPerguntas->ImgPerg->clear();
            problems << QStringLiteral("A foto da pergunta número %1 não pôde ser carregada: %2")
                            .arg(id)
                            .arg(e.text());
        }
    }
    if (!problems.isEmpty())
        throw AppError(problems.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------------------------
// The screen

TFrmPerguntas::TFrmPerguntas(QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmPerguntas"), QStringLiteral("ÓRBITA & CRISTAL: JORNADA DO SABER"),
                   QSize(800, 500), parent)
{
    Image1 = addBackground(QStringLiteral(":/perguntas.jpg"));
    QWidget *area = content();

    LblQtePerg = new QLabel(area);
    LblQtePerg->setObjectName(QStringLiteral("LblQtePerg"));
    LblQtePerg->setGeometry(16, 17, 65, 62);
    LblQtePerg->setAlignment(Qt::AlignCenter);
    LblQtePerg->setFont(gameFont(37, true));
    LblQtePerg->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    LblPergunta = new QLabel(area);
    LblPergunta->setObjectName(QStringLiteral("LblPergunta"));
    LblPergunta->setGeometry(95, 60, 433, 77);
    LblPergunta->setWordWrap(true);
    LblPergunta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblPergunta->setTextFormat(Qt::PlainText);
    LblPergunta->setFont(gameFont(13, true));
    LblPergunta->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    const char *answerNames[] = {"RBResp1", "RBResp2", "RBResp3", "RBResp4"};
    QRadioButton **answerFields[] = {&RBResp1, &RBResp2, &RBResp3, &RBResp4};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(area);
        button->setObjectName(QLatin1String(answerNames[i]));
        button->setGeometry(95, 170 + 40 * i, 425, 17);
        button->setFont(gameFont(12, false));
        button->setStyleSheet(QStringLiteral("QRadioButton { background: white; color: black; }"));
        *answerFields[i] = button;
    }

    BtnOK = new QPushButton(QStringLiteral("OK"), area);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(95, 350, 100, 30);
    BtnPular = new QPushButton(QStringLiteral("Pular"), area);
    BtnPular->setObjectName(QStringLiteral("BtnPular"));
    BtnPular->setGeometry(215, 350, 100, 30);
    ImgPerg = new PictureBox(area, PictureBox::Placement::Centre);
    ImgPerg->setObjectName(QStringLiteral("ImgPerg"));
    ImgPerg->setGeometry(600, 60, 137, 177);
    BtnDesistir = new QPushButton(QStringLiteral("Desistir"), area);
    BtnDesistir->setObjectName(QStringLiteral("BtnDesistir"));
    BtnDesistir->setGeometry(600, 380, 137, 30);
    for (QPushButton *b : {BtnOK, BtnPular, BtnDesistir})
        b->setAutoDefault(false);

    setTabOrder(RBResp1, RBResp2);
    setTabOrder(RBResp2, RBResp3);
    setTabOrder(RBResp3, RBResp4);
    setTabOrder(RBResp4, BtnOK);
    setTabOrder(BtnOK, BtnPular);
    setTabOrder(BtnPular, BtnDesistir);

    TbPerguntas = new Table(this);
    TbPerguntas->setObjectName(QStringLiteral("TbPerguntas"));
    TbPerguntas->open(dataDirectory(), QStringLiteral("Perguntas.DB"), questionFields());
    QuerySql = std::make_unique<Query>(dataDirectory());
    QuerySql2 = std::make_unique<Query>(dataDirectory());
    QueryPosicao = std::make_unique<Query>(dataDirectory());

    connectHandler(BtnOK, &QPushButton::clicked, this, &TFrmPerguntas::BtnOKClick);
    connectHandler(BtnPular, &QPushButton::clicked, this, &TFrmPerguntas::BtnPularClick);
    connectHandler(BtnDesistir, &QPushButton::clicked, this, &TFrmPerguntas::BtnDesistirClick);
}

TFrmPerguntas::~TFrmPerguntas() = default;

std::array<QRadioButton *, 4> TFrmPerguntas::answers() const
{
    return {RBResp1, RBResp2, RBResp3, RBResp4};
}

void TFrmPerguntas::SetAnswer(QRadioButton *button, const QString &text)
{
    // A button caption reads '&' as a shortcut marker; doubling it shows the text as typed.
    button->setProperty("answer", text);
    button->setText(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
}

QString TFrmPerguntas::AnswerOf(const QRadioButton *button)
{
    return button->property("answer").toString();
}

void TFrmPerguntas::UncheckAnswers()
{
    // An exclusive group never lets its checked button go; lift that for the moment.
    for (QRadioButton *button : answers()) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void TFrmPerguntas::FormCreate()
{
    CountQuestions();
    DrawQuestions();
    GameState.CurrentIndex = 0;
    LblQtePerg->setText(QStringLiteral("1"));
    ShowQuestion(GameState.DrawnIds[0]);
}

void TFrmPerguntas::BtnOKClick()
{
    const auto buttons = answers();
    const auto checked = std::find_if(buttons.begin(), buttons.end(),
                                      [](QRadioButton *b) { return b->isChecked(); });
    if (checked == buttons.end()) {
        Dialogs::warn(QStringLiteral("É necessário escolher uma alternativa"));
        return;
    }

    const bool right = AnswerIsRight(AnswerOf(*checked));
    if (!right)
        Dialogs::warn(QStringLiteral("Resposta incorreta!"));
    RecordAnswer(right);
    CountQuestions();
    if (GameState.CurrentIndex < QuestionsPerGame) {
        LblQtePerg->setText(QString::number(GameState.CurrentIndex + 1));
        // A question that cannot be fully shown is reported, and the game goes on with it.
        runGuarded([] { ShowQuestion(GameState.DrawnIds[GameState.CurrentIndex]); });
    }
    UncheckAnswers();
    if (GameIsOver())
        EndOfGame();
}

void TFrmPerguntas::EndOfGame()
{
    // A record file that cannot be read is reported; the game ends with the record held in memory.
    runGuarded([] { ReloadRecord(); });

    hide();
    FrmResult->showScreen();
    FrmResult->LblCertas->setText(QString::number(GameState.RightCount));
    FrmResult->LblErradas->setText(QString::number(GameState.WrongCount));
    FrmResult->LblNaoResp->setText(QString::number(GameState.SkippedCount));
    ScoreGame();
    FrmResult->LblPontos->setText(QString::number(GameState.GamePoints));
    FrmResult->LblNome->setText(GameState.PlayerName);
    if (GameState.GamePoints < 0) {
        FrmResult->LblPontos->setText(QStringLiteral("0"));
        Dialogs::inform(QStringLiteral("Fique mais atento, você errou muitas questões!"));
    }

    if (!IsNewRecord()) {
        FrmResult->LblNomeRecord->setText(ShownRecordName(GameState.RecordName));
        FrmResult->LblPontosRecord->setText(
            GameState.RecordPoints > 0 ? QString::number(GameState.RecordPoints) : QString());
        return;
    }
    Dialogs::inform(QStringLiteral("NOVO RECORDE!"));
    const QString holder = FrmInicial->EdtNome->text();
    FrmResult->LblNomeRecord->setText(holder);
    FrmResult->LblPontosRecord->setText(QString::number(GameState.GamePoints));
    SetNewRecord(holder);
}

void TFrmPerguntas::BtnPularClick()
{
    if (GameState.SkippedCount >= SkipLimit)
        return;
    const bool lastSkip = RecordSkip(*QuerySql, *QueryPosicao);
    runGuarded([] { ShowQuestion(GameState.CandidateId); });
    UncheckAnswers();
    if (lastSkip) {
        BtnPular->setEnabled(false);
        Dialogs::inform(QStringLiteral("A partir de agora não pode mais pular! Boa sorte!"));
    }
}

void TFrmPerguntas::BtnDesistirClick()
{
    if (!Dialogs::confirm(QStringLiteral("Tem certeza que deseja desistir?")))
        return;
    FrmInicial->showScreen();
    close();
    FrmCadastro->close();
    FrmResult->close();
    ResetCounters();
    BtnPular->setEnabled(true);
    FrmInicial->EdtNome->clear();
    FrmInicial->EdtNome->setFocus();
}
