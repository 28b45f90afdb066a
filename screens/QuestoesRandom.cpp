#include "screens/QuestoesRandom.h"

#include "game/GameSession.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PhotoPrefetch.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "platform/RadioGroup.h"
#include "screens/Fonts.h"
#include "screens/QuestionFit.h"
#include "screens/Navigator.h"
#include "store/core/AppError.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// The screen

TFrmPerguntas::TFrmPerguntas(GameSession &session, const Bank &bank, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmPerguntas"), QStringLiteral("ÓRBITA & CRISTAL: JORNADA DO SABER"),
                   QSize(800, 500), parent),
      m_session(session), m_navigator(navigator)
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
    LblPergunta->setGeometry(QuestionFit::QuestionBox);
    LblPergunta->setWordWrap(true);
    LblPergunta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblPergunta->setTextFormat(Qt::PlainText);
    LblPergunta->setFont(QuestionFit::questionFont());
    LblPergunta->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    const char *answerNames[] = {"RBResp1", "RBResp2", "RBResp3", "RBResp4"};
    QRadioButton **answerFields[] = {&RBResp1, &RBResp2, &RBResp3, &RBResp4};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(area);
        button->setObjectName(QLatin1String(answerNames[i]));
        button->setGeometry(QuestionFit::FirstAnswerButton.translated(0, 40 * i));
        button->setFont(QuestionFit::answerFont());
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
    RadioGroup::wrapArrowKeys({RBResp1, RBResp2, RBResp3, RBResp4});
    setTabOrder(BtnOK, BtnPular);
    setTabOrder(BtnPular, ImgPerg);
    setTabOrder(ImgPerg, BtnDesistir);

    m_prefetch = std::make_unique<PhotoPrefetch>(ImgPerg->size(), bank);

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
    // The whole question, also when the label shows it shortened.
    // A screen reader says nothing of a label's description, so the first question of a game
    // also says how to go on from it.
    static const QString hint = QStringLiteral("Tab leva às alternativas; as setas passam de uma alternativa a outra.");
    Accessibility::nameFromText(LblPergunta, [this](const QString &) {
        QString name = QStringLiteral("Pergunta %1 de %2: %3").arg(LblQtePerg->text()).arg(QuestionsPerGame).arg(WholeQuestion());
        if (LblQtePerg->text() == QLatin1String("1"))
            name += (name.back().isPunct() ? QStringLiteral(" ") : QStringLiteral(". ")) + hint;
        return name;
    });
    LblPergunta->setAccessibleDescription(hint);
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
    // What the photo shows, as its file describes it, or else its file name.
    Accessibility::nameFromContent(ImgPerg, [this] {
        if (ImgPerg->picture().isNull())
            return QStringLiteral("Pergunta sem foto");
        return QStringLiteral("Foto da pergunta: %1").arg(pictureDescription(ImgPerg->picture(), ImgPerg->fileName()));
    });
    ImgPerg->setFocusPolicy(Qt::TabFocus);
    Accessibility::describe(BtnDesistir, QStringLiteral("Desistir"),
                            QStringLiteral("Abandona o jogo, sem contar pontos, e volta à tela inicial. Pede confirmação."));
}

std::array<QRadioButton *, 4> TFrmPerguntas::answers() const
{
    return {RBResp1, RBResp2, RBResp3, RBResp4};
}

void TFrmPerguntas::SetAnswer(QRadioButton *button, const QString &text)
{
    // A button caption reads '&' as a shortcut marker; doubling it shows the text as typed.
    button->setProperty("answer", text);
    // A text longer than the button's line ends after a whole word, with "…"; the accessible
    // name below has it whole.
    button->setText(QuestionFit::shownAnswer(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    // Read with its place among the four: "Alternativa 2 de 4: Brasília".
    const QString place = QStringLiteral("Alternativa %1 de 4").arg(button->property("position").toInt());
    button->setAccessibleName(text.isEmpty() ? place : place + QStringLiteral(": ") + text);
}

void TFrmPerguntas::ShowQuestionText(const QString &text)
{
    // Kept whole for the accessible name before the label, which announces the change, shows it.
    LblPergunta->setProperty("question", text);
    LblPergunta->setText(QuestionFit::shownQuestion(text));
}

QString TFrmPerguntas::WholeQuestion() const
{
    return LblPergunta->property("question").toString();
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
    // A question nobody has answered yet is entered at its first answer.
    RadioGroup::enterAtFirst({RBResp1, RBResp2, RBResp3, RBResp4});
}

void TFrmPerguntas::ShowNewGame(const NewGame &game)
{
    m_prefetch->prefetch(game.photos);
    UncheckAnswers();
    // Every game starts on its first question, read where the focus lands; the screen would
    // otherwise give the focus back to where the last game left it.
    LblPergunta->setFocus();
    ShowQuestion(game.first);
}

void TFrmPerguntas::ShowQuestion(const QuestionView &question)
{
    LblQtePerg->setText(QString::number(question.place));
    BtnPular->setEnabled(question.canSkip);
    if (question.readable) {
        ShowQuestionText(question.pergunta);
    } else {
        ShowQuestionText(QStringLiteral("Esta pergunta não pôde ser lida do banco de perguntas. "
                                        "Clique em \"OK\" para tentar de novo."));
        UncheckAnswers();
    }
    const auto buttons = answers();
    for (int i = 0; i < 4; ++i) {
        SetAnswer(buttons[i], question.answers[i]);
        buttons[i]->setEnabled(question.readable);
    }

    // Everything that can be shown is shown; what cannot is reported at the end, so the player
    // can still answer the question.
    QStringList problems = question.problems;
    if (question.foto.isEmpty() || !question.readable) {
        ImgPerg->clear();
    } else {
        try {
            ImgPerg->setPicture(m_prefetch->take(question.foto), question.foto);
        } catch (const AppError &e) {
            ImgPerg->clear();
            // The place is what the screen shows; the number is what the editor finds it by.
            problems << QStringLiteral("A foto da %1ª pergunta deste jogo (a de número %2 no banco de perguntas) "
                                       "não pôde ser mostrada.\n%3")
                            .arg(question.place)
                            .arg(question.id)
                            .arg(e.text());
        }
    }
    if (!problems.isEmpty())
        throw AppError(problems.join(QLatin1Char('\n')));
}

PhotoPrefetch &TFrmPerguntas::photoPrefetch() const
{
    return *m_prefetch;
}

void TFrmPerguntas::ResetForNewGame()
{
    m_prefetch->stop();
    BtnPular->setEnabled(true);
}

void TFrmPerguntas::FormCreate()
{
    ShowNewGame(m_session.prepare());
}

void TFrmPerguntas::BtnOKClick()
{
    const auto buttons = answers();
    const auto checked = std::find_if(buttons.begin(), buttons.end(), [](QRadioButton *b) { return b->isChecked(); });
    // While the question could not be read there is nothing to choose: "OK" reads it again.
    const bool unread = std::none_of(buttons.begin(), buttons.end(), [](QRadioButton *b) { return b->isEnabled(); });
    if (checked == buttons.end() && !unread) {
        Dialogs::warn(QStringLiteral("É necessário escolher uma alternativa"));
        return;
    }

    const AnswerOutcome outcome = m_session.answer(int(checked - buttons.begin()));
    if (outcome.counted && !outcome.right)
        Dialogs::warn(QStringLiteral("Resposta incorreta!"));
    if (!outcome.countError.isEmpty())
        Dialogs::error(outcome.countError);
    if (outcome.next) {
        // A question that cannot be fully shown is reported, and the game goes on with it.
        runGuarded([&] { ShowQuestion(*outcome.next); });
        // A screen reader reads the new question where the focus lands; Tab goes on to the answers.
        LblPergunta->setFocus();
    }
    if (outcome.counted)
        UncheckAnswers();
    if (outcome.result) {
        // Nothing is decoded for a game that is over.
        m_prefetch->stop();
        m_navigator.showResult(*outcome.result);
    }
}

void TFrmPerguntas::BtnPularClick()
{
    const std::optional<SkipOutcome> skipped = m_session.skip();
    if (!skipped)
        return;
    runGuarded([&] { ShowQuestion(skipped->question); });
    LblPergunta->setFocus();
    UncheckAnswers();
    if (skipped->lastSkip)
        Dialogs::inform(QStringLiteral("A partir de agora não pode mais pular! Boa sorte!"));
}

void TFrmPerguntas::BtnDesistirClick()
{
    if (!Dialogs::confirm(QStringLiteral("Tem certeza que deseja desistir?")))
        return;
    m_session.giveUp();
    ResetForNewGame();
    m_navigator.backToStartAfterGivingUp();
    close();
}
