#pragma once
// The question screen, where a game is played. The state of the game and its rules (game/) are
// reached through it, as the start and results screens do.
#include "game/GameState.h"
#include "game/Rules.h"
#include "platform/ScreenWindow.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

class PhotoPrefetch;
class PictureBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Query;
class Table;

// Loads question `id` onto the question screen and sets CorrectAnswer. Whatever can be shown is
// shown; a missing question, a blank field, a right answer that is none of the four or a photo
// that cannot be loaded is then reported by throwing AppError.
void ShowQuestion(qint32 id);

// The operations of the game on the question screen's own statements. The draw also hands the
// photos of the 20 questions, in the order they will be asked, to the screen's Prefetch.
void CountQuestions();
void DrawQuestions();

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
    std::unique_ptr<Query> QueryFoto;    // the photo of a drawn question
    // The photos of the drawn questions, decoded while the player reads; ImgPerg takes them from
    // here. Stopped when a game ends or is given up.
    std::unique_ptr<PhotoPrefetch> Prefetch;

    // The question that belongs on the screen but could not be read from the bank: the screen
    // shows its number and nothing to answer until "OK" reads it.
    std::optional<qint32> PendingQuestion;

    // Unchecks the four answers.
    void UncheckAnswers();
    // Clears the question and disables the answers, with `id` left pending.
    void ShowUnreadQuestion(qint32 id);
    static QString UnreadQuestionMessage(const QString &engineText);
    std::array<QRadioButton *, 4> answers() const;
    // Puts an answer text on its button; the text is shown as typed, '&' included.
    static void SetAnswer(QRadioButton *button, const QString &text);
    static QString AnswerOf(const QRadioButton *button);

public slots:
    void FormCreate();
    void BtnOKClick();
    void BtnPularClick();
    void BtnDesistirClick();

private:
    // Names and descriptions of the controls for screen readers, and the tab stops of the
    // question and the photo.
    void describeForScreenReaders();
    void EndOfGame();
};

extern TFrmPerguntas *FrmPerguntas;
