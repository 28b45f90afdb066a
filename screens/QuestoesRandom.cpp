#include "screens/QuestoesRandom.h"

#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Random.h"
#include "screens/Fonts.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/Resultado.h"
#include "store/AppError.h"
#include "store/DataDir.h"
#include "store/RecordFile.h"
#include "store/TableEngine.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

TGameState GameState;
TFrmPerguntas *FrmPerguntas = nullptr;

// ---------------------------------------------------------------------------------------------
// The game's operations on the bank

namespace {

// Rebuilds a statement in full and runs it: close, new text, the parameter if any, run, open.
Query &runStatement(Query &q, std::initializer_list<const char *> lines, const char *parameter = nullptr,
                    qint32 value = 0)
{
    q.close();
    q.clear();
    for (const char *line : lines)
        q.add(QLatin1String(line));
    if (parameter)
        q.setParameter(QLatin1String(parameter), value);
    q.execSql();
    q.open();
    return q;
}

} // namespace

void CountQuestions()
{
    Query &q = runStatement(*FrmPerguntas->QuerySql, {"select count(p.id) as totalsql", "from perguntas.db p"});
    GameState.QuestionCount = q.asInteger(QStringLiteral("totalsql"));
}

QString BankTooSmallMessage(qint32 questionCount)
{
    const QString has = questionCount <= 0 ? QStringLiteral("não tem nenhuma pergunta")
                        : questionCount == 1
                            ? QStringLiteral("tem apenas 1 pergunta")
                            : QStringLiteral("tem apenas %1 perguntas").arg(questionCount);
    return QStringLiteral("O banco de perguntas %1, mas um jogo precisa de %2 perguntas "
                          "diferentes. Cadastre mais perguntas para poder jogar.")
        .arg(has)
        .arg(QuestionsPerGame);
}

qint32 QuestionIdAt(qint32 position)
{
    // Numbers freed by deletions leave gaps, so a question is found by its place in number order.
    Query &q = runStatement(*FrmPerguntas->QueryPosicao,
                            {"select id", "from perguntas.db", "where id is not null", "order by id",
                             "limit 1 offset :POSICAO"},
                            "POSICAO", position);
    return q.isEmpty() ? 0 : q.asInteger(QStringLiteral("id"));
}

void DrawQuestions()
{
    GameState.DrawnIds.fill(0);
    // A smaller bank can never yield 20 distinct questions: refuse instead of drawing forever.
    if (GameState.QuestionCount < QuestionsPerGame)
        throw AppError(BankTooSmallMessage(GameState.QuestionCount));

    int stored = 0;
    while (stored < QuestionsPerGame) {
        GameState.CandidateId = QuestionIdAt(randomBelow(GameState.QuestionCount));
        const auto &ids = GameState.DrawnIds;
        // Empty slots hold 0, which never equals the id of a question.
        if (GameState.CandidateId == 0 || std::find(ids.begin(), ids.end(), GameState.CandidateId) != ids.end())
            continue;
        GameState.DrawnIds[stored++] = GameState.CandidateId;
    }
}

void ShowQuestion(qint32 id)
{
    Query &q = runStatement(*FrmPerguntas->QuerySql2,
                            {"select id,pergunta,resp1,resp2,resp3,resp4,correta,foto", "from perguntas.db",
                             "where id = :NUMID"},
                            "NUMID", id);

    // Everything that can be shown is shown; what cannot is gathered and reported at the end,
    // so the player can still answer the question.
    QStringList blank;
    auto text = [&](const char *column) {
        const QString value = q.value(QLatin1String(column)).toString();
        if (value.isEmpty())
            blank << QLatin1String(column);
        return value;
    };

    FrmPerguntas->LblPergunta->setText(text("Pergunta"));
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp1, text("resp1"));
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp2, text("resp2"));
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp3, text("resp3"));
    TFrmPerguntas::SetAnswer(FrmPerguntas->RBResp4, text("resp4"));
    GameState.CorrectAnswer = text("correta");
    const QString photo = text("foto");

    QStringList problems;
    if (q.isEmpty()) {
        problems << QStringLiteral("A pergunta número %1 não existe no banco de perguntas.").arg(id);
    } else if (!blank.isEmpty()) {
        problems << QStringLiteral("A pergunta número %1 tem campos em branco: %2.")
                        .arg(id)
                        .arg(blank.join(QStringLiteral(", ")));
    }
    if (photo.isEmpty()) {
        FrmPerguntas->ImgPerg->clear();
    } else {
        try {
            FrmPerguntas->ImgPerg->loadFromFile(photo);
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

qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped)
{
    return right * 5 - wrong * 3 - skipped;
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

    if (AnswerOf(*checked) == GameState.CorrectAnswer) {
        ++GameState.RightCount;
    } else {
        Dialogs::warn(QStringLiteral("Resposta incorreta!"));
        ++GameState.WrongCount;
    }
    ++GameState.CurrentIndex;
    CountQuestions();
    if (GameState.CurrentIndex < QuestionsPerGame) {
        LblQtePerg->setText(QString::number(GameState.CurrentIndex + 1));
        // A question that cannot be fully shown is reported, and the game goes on with it.
        runGuarded([] { ShowQuestion(GameState.DrawnIds[GameState.CurrentIndex]); });
    }
    UncheckAnswers();
    if (GameState.CurrentIndex == QuestionsPerGame)
        EndOfGame();
}

void TFrmPerguntas::EndOfGame()
{
    // A record file that cannot be read is reported; the game ends with the record held in memory.
    runGuarded([] {
        QString name;
        qint32 points = 0;
        if (ReadRecord(recordFilePath(), name, points)) {
            GameState.RecordName = name;
            GameState.RecordPoints = points;
        }
    });

    hide();
    FrmResult->showScreen();
    FrmResult->LblCertas->setText(QString::number(GameState.RightCount));
    FrmResult->LblErradas->setText(QString::number(GameState.WrongCount));
    FrmResult->LblNaoResp->setText(QString::number(GameState.SkippedCount));
    GameState.GamePoints = PointsFor(GameState.RightCount, GameState.WrongCount, GameState.SkippedCount);
    FrmResult->LblPontos->setText(QString::number(GameState.GamePoints));
    FrmResult->LblNome->setText(GameState.PlayerName);
    if (GameState.GamePoints < 0) {
        FrmResult->LblPontos->setText(QStringLiteral("0"));
        Dialogs::inform(QStringLiteral("Fique mais atento, você errou muitas questões!"));
    }

    if (GameState.GamePoints < GameState.RecordPoints) {
        FrmResult->LblNomeRecord->setText(GameState.RecordName);
        FrmResult->LblPontosRecord->setText(
            GameState.RecordPoints > 0 ? QString::number(GameState.RecordPoints) : QString());
        return;
    }
    // A tie with the record is a new record.
    Dialogs::inform(QStringLiteral("NOVO RECORDE!"));
    const QString holder = FrmInicial->EdtNome->text();
    FrmResult->LblNomeRecord->setText(holder);
    FrmResult->LblPontosRecord->setText(QString::number(GameState.GamePoints));
    GameState.RecordName = holder;
    GameState.RecordPoints = GameState.GamePoints;
    WriteRecord(recordFilePath(), GameState.RecordName, GameState.RecordPoints);
}

void TFrmPerguntas::BtnPularClick()
{
    if (GameState.SkippedCount >= SkipLimit)
        return;
    ++GameState.SkippedCount;
    CountQuestions();
    GameState.CandidateId = QuestionIdAt(randomBelow(GameState.QuestionCount));
    runGuarded([] { ShowQuestion(GameState.CandidateId); });
    UncheckAnswers();
    if (GameState.SkippedCount == SkipLimit) {
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
    GameState.RightCount = 0;
    GameState.WrongCount = 0;
    GameState.CurrentIndex = 0;
    GameState.SkippedCount = 0;
    BtnPular->setEnabled(true);
    FrmInicial->EdtNome->clear();
    FrmInicial->EdtNome->setFocus();
}
