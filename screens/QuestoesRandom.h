#pragma once
// The question screen, where a game is played, and the state of the game, held once for the
// whole process and shared with the start and results screens.
#include "platform/ScreenWindow.h"

#include <QString>
#include <array>
#include <memory>

class PictureBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Query;
class Table;

constexpr int QuestionsPerGame = 20;
constexpr int SkipLimit = 2;

struct TGameState {
    QString PlayerName;
    std::array<qint32, QuestionsPerGame> DrawnIds{};
    qint32 QuestionCount = 0;
    qint32 CandidateId = 0;
    qint32 CurrentIndex = 0;
    QString CorrectAnswer;
    qint32 RightCount = 0;
    qint32 WrongCount = 0;
    qint32 SkippedCount = 0;
    qint32 GamePoints = 0;
    QString RecordName;
    qint32 RecordPoints = 0;
};

extern TGameState GameState;

// Sets QuestionCount to the number of questions in the bank.
void CountQuestions();
// Fills DrawnIds with 20 distinct ids of questions that exist, drawn at random. Refuses, with
// a message that says how many questions the bank has, when it has fewer than 20.
void DrawQuestions();
// Loads question `id` onto the question screen and sets CorrectAnswer. Whatever can be shown is
// shown; a missing question, a blank field or a photo that cannot be loaded is then reported
// by throwing AppError.
void ShowQuestion(qint32 id);

// The id of the question at `position` (0-based) in number order, or 0 when there is none.
qint32 QuestionIdAt(qint32 position);
// The points of a game: 5 a right answer, minus 3 a wrong one, minus 1 a skip.
qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped);
// The refusal for a bank too small to play, in the player's language.
QString BankTooSmallMessage(qint32 questionCount);

class TFrmPerguntas : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmPerguntas(QWidget *parent = nullptr);
    ~TFrmPerguntas() override;

    PictureBox *Image1;
    QLabel *LblQtePerg;
    QLabel *LblPergunta;
    QRadioButton *RBResp1;
    QRadioButton *RBResp2;
    QRadioButton *RBResp3;
    QRadioButton *RBResp4;
    QPushButton *BtnOK;
    QPushButton *BtnPular;
    PictureBox *ImgPerg;
    QPushButton *BtnDesistir;

    Table *TbPerguntas;
    std::unique_ptr<Query> QuerySql;   // the count of questions
    std::unique_ptr<Query> QuerySql2;  // one question by its id
    std::unique_ptr<Query> QueryPosicao; // the id at a position in number order

    // Unchecks the four answers.
    void UncheckAnswers();
    // Puts an answer text on its button; the text is shown as typed, '&' included.
    static void SetAnswer(QRadioButton *button, const QString &text);
    static QString AnswerOf(const QRadioButton *button);

public slots:
    void FormCreate();
    void BtnOKClick();
    void BtnPularClick();
    void BtnDesistirClick();

private:
    void EndOfGame();
    std::array<QRadioButton *, 4> answers() const;
};

extern TFrmPerguntas *FrmPerguntas;
