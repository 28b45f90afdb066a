#include "screens/QuestoesRandom.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PhotoPrefetch.h"
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

namespace {

// Reads the photos of the drawn questions and has them decoded in the background, in the order
// they will be asked. A bank that cannot be read now stops the list where it is: each question
// reads its own photo when it is shown, and reports what goes wrong then.
void PrefetchPhotos()
{
    QStringList paths;
    Query &q = *FrmPerguntas->QueryFoto;
    try {
        for (qint32 id : GameState.DrawnIds) {
            q.close();
            q.clear();
            q.add(QStringLiteral("select foto"));
            q.add(QStringLiteral("from perguntas.db"));
            q.add(QStringLiteral("where id = :NUMID"));
            q.setParameter(QStringLiteral("NUMID"), id);
            q.execSql();
            q.open();
            if (!q.isEmpty())
                paths << q.value(QStringLiteral("foto")).toString();
        }
    } catch (const AppError &) {
    }
    FrmPerguntas->Prefetch->prefetch(paths);
}

} // namespace

void DrawQuestions()
{
    DrawQuestions(*FrmPerguntas->QueryPosicao, *FrmPerguntas->QuerySql);
    PrefetchPhotos();
}

void ShowQuestion(qint32 id)
{
    QuestionRead read;
    try {
        read = ReadQuestion(*FrmPerguntas->QuerySql2, id);
    } catch (const AppError &e) {
        FrmPerguntas->ShowUnreadQuestion(id);
        throw AppError(TFrmPerguntas::UnreadQuestionMessage(e.text()));
    }
    FrmPerguntas->PendingQuestion.reset();
    for (QRadioButton *button : FrmPerguntas->answers())
        button->setEnabled(true);

    // Everything that can be shown is shown; what cannot is reported at the end, so the player
    // can still answer the question.
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
            FrmPerguntas->ImgPerg->setPicture(FrmPerguntas->Prefetch->take(read.foto), read.foto);
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
        button->setProperty("position", i + 1);
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

    describeForScreenReaders();
    setTabOrder(LblPergunta, RBResp1);
    setTabOrder(RBResp1, RBResp2);
    setTabOrder(RBResp2, RBResp3);
    setTabOrder(RBResp3, RBResp4);
    setTabOrder(RBResp4, BtnOK);
    setTabOrder(BtnOK, BtnPular);
    setTabOrder(BtnPular, ImgPerg);
    setTabOrder(ImgPerg, BtnDesistir);

    TbPerguntas = new Table(this);
    TbPerguntas->setObjectName(QStringLiteral("TbPerguntas"));
    TbPerguntas->open(dataDirectory(), QStringLiteral("Perguntas.DB"), questionFields());
    QuerySql = std::make_unique<Query>(dataDirectory());
    QuerySql2 = std::make_unique<Query>(dataDirectory());
    QueryPosicao = std::make_unique<Query>(dataDirectory());
    QueryFoto = std::make_unique<Query>(dataDirectory());
    Prefetch = std::make_unique<PhotoPrefetch>(ImgPerg->size());

    connectHandler(BtnOK, &QPushButton::clicked, this, &TFrmPerguntas::BtnOKClick);
    connectHandler(BtnPular, &QPushButton::clicked, this, &TFrmPerguntas::BtnPularClick);
    connectHandler(BtnDesistir, &QPushButton::clicked, this, &TFrmPerguntas::BtnDesistirClick);
}

TFrmPerguntas::~TFrmPerguntas() = default;

void TFrmPerguntas::describeForScreenReaders()
{
    Accessibility::describe(Image1, QStringLiteral("Fundo da tela de perguntas"));
    Accessibility::nameFromText(LblQtePerg, [](const QString &number) {
        return QStringLiteral("Pergunta %1 de %2").arg(number).arg(QuestionsPerGame);
    });
    // The question is read with its number, and is the first tab stop: the player hears it when
    // the screen comes up and can go back to it with Shift+Tab.
    Accessibility::nameFromText(LblPergunta, [this](const QString &question) {
        return QStringLiteral("Pergunta %1 de %2: %3").arg(LblQtePerg->text()).arg(QuestionsPerGame).arg(question);
    });
    LblPergunta->setAccessibleDescription(
        QStringLiteral("Tab leva às alternativas; as setas passam de uma alternativa a outra."));
    LblPergunta->setFocusPolicy(Qt::TabFocus);
    for (QRadioButton *button : answers()) {
        SetAnswer(button, AnswerOf(button));
        button->setAccessibleDescription(
            QStringLiteral("Espaço marca a alternativa, as setas passam a outra; confirme com o botão OK."));
    }
    Accessibility::describe(BtnOK, QStringLiteral("OK"), QStringLiteral("Confirma a alternativa marcada."));
    Accessibility::describe(BtnPular, QStringLiteral("Pular"),
                            QStringLiteral("Troca esta pergunta por outra sorteada. Vale duas vezes por jogo; "
                                           "cada pulo desconta 1 ponto."));
    // The question's text is a fair description of its photo.
    Accessibility::nameFromContent(ImgPerg, [this] {
        if (ImgPerg->picture().isNull())
            return QStringLiteral("Pergunta sem foto");
        return QStringLiteral("Foto da pergunta: %1").arg(LblPergunta->text());
    });
    ImgPerg->setFocusPolicy(Qt::TabFocus);
    Accessibility::describe(BtnDesistir, QStringLiteral("Desistir"),
                            QStringLiteral("Abandona o jogo, sem contar pontos, e volta à tela inicial. Pede confirmação."));
}

std::array<QRadioButton *, 4> TFrmPerguntas::answers() const
{
    return {RBResp1, RBResp2, RBResp3, RBResp4};
}

QString TFrmPerguntas::UnreadQuestionMessage(const QString &engineText)
{
    return QStringLiteral("Não foi possível ler a pergunta do banco de perguntas:\n%1\n\n"
                          "Quando o banco puder ser lido, clique em \"OK\" para vê-la; nenhuma resposta é "
                          "contada antes disso.")
        .arg(engineText);
}

void TFrmPerguntas::ShowUnreadQuestion(qint32 id)
{
    // Nothing of the question before stays on the screen to be answered in this one's place.
    PendingQuestion = id;
    GameState.CorrectAnswer.clear();
    LblPergunta->setText(QStringLiteral("Esta pergunta não pôde ser lida do banco de perguntas. "
                                        "Clique em \"OK\" para tentar de novo."));
    for (QRadioButton *button : answers()) {
        SetAnswer(button, QString());
        button->setEnabled(false);
    }
    UncheckAnswers();
    ImgPerg->clear();
}

void TFrmPerguntas::SetAnswer(QRadioButton *button, const QString &text)
{
    // A button caption reads '&' as a shortcut marker; doubling it shows the text as typed.
    button->setProperty("answer", text);
    button->setText(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    // Read with its place among the four: "Alternativa 2 de 4: Brasília".
    const QString place = QStringLiteral("Alternativa %1 de 4").arg(button->property("position").toInt());
    button->setAccessibleName(text.isEmpty() ? place : place + QStringLiteral(": ") + text);
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
    // The question of this place could not be read: "OK" reads it again and counts nothing.
    if (PendingQuestion) {
        ShowQuestion(*PendingQuestion);
        return;
    }

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
    // The answer is counted whatever the bank does next: a count or a read it refuses is
    // reported, the next question waits for the next "OK", and the 20th answer still ends the game.
    const bool counted = runGuarded([] { CountQuestions(); });
    if (GameState.CurrentIndex < QuestionsPerGame) {
        LblQtePerg->setText(QString::number(GameState.CurrentIndex + 1));
        const qint32 next = GameState.DrawnIds[GameState.CurrentIndex];
        // A question that cannot be fully shown is reported, and the game goes on with it.
        if (counted)
            runGuarded([next] { ShowQuestion(next); });
        else
            ShowUnreadQuestion(next);
        // A screen reader reads the new question where the focus lands; Tab goes on to the answers.
        LblPergunta->setFocus();
    }
    UncheckAnswers();
    if (GameIsOver())
        EndOfGame();
}

void TFrmPerguntas::EndOfGame()
{
    // Nothing is decoded for a game that is over.
    Prefetch->stop();
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

    // Decided and written at once, against the record as it is on disk now: another copy of the
    // game may have finished a moment ago.
    const QString holder = FrmInicial->EdtNome->text();
    const RecordClaim claim = ClaimRecord(holder);
    if (!claim.isNew) {
        FrmResult->LblNomeRecord->setText(ShownRecordName(GameState.RecordName));
        FrmResult->LblPontosRecord->setText(
            GameState.RecordPoints > 0 ? QString::number(GameState.RecordPoints) : QString());
        return;
    }
    Dialogs::inform(QStringLiteral("NOVO RECORDE!"));
    FrmResult->LblNomeRecord->setText(holder);
    FrmResult->LblPontosRecord->setText(QString::number(GameState.GamePoints));
    if (!claim.writeError.isEmpty())
        throw AppError(claim.writeError);
}

void TFrmPerguntas::BtnPularClick()
{
    if (GameState.SkippedCount >= SkipLimit)
        return;
    const bool lastSkip = RecordSkip(*QuerySql, *QueryPosicao);
    runGuarded([] { ShowQuestion(GameState.CandidateId); });
    LblPergunta->setFocus();
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
    Prefetch->stop();
    FrmInicial->showScreen();
    close();
    FrmCadastro->close();
    FrmResult->close();
    ResetCounters();
    BtnPular->setEnabled(true);
    FrmInicial->EdtNome->clear();
    FrmInicial->EdtNome->setFocus();
}
