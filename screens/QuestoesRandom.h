#pragma once
// The question screen, where a game is played: it shows the question the game session gives it
// and forwards the player's answer, skip or giving up.
#include "platform/ScreenWindow.h"

#include <array>
#include <memory>

class Bank;
class GameSession;
class Navigator;
class PhotoPrefetch;
class PictureBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct NewGame;
struct QuestionView;

class TFrmPerguntas : public ScreenWindow {
    Q_OBJECT
public:
    // Plays the game of `session`, the photos read from `bank`.
    TFrmPerguntas(GameSession &session, const Bank &bank, Navigator &navigator, QWidget *parent = nullptr);
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

    // A game just drawn: its photos decoded ahead, the answers unchecked, its first question shown.
    // A question that cannot be fully shown is reported by throwing AppError, after showing what can.
    void ShowNewGame(const NewGame &game);
    // Shows one question: its number, text, answers and photo. Whatever can be shown is shown;
    // what cannot is then reported by throwing AppError.
    void ShowQuestion(const QuestionView &question);
    // Ready for the next game: the skip button usable again, nothing decoded for the last game.
    void ResetForNewGame();
    // The photos of the game, decoded while the player reads.
    PhotoPrefetch &photoPrefetch() const;
    // The answer text on a button, as typed ('&' included).
    static QString AnswerOf(const QRadioButton *button);

public slots:
    void FormCreate();
    void BtnOKClick();
    void BtnPularClick();
    void BtnDesistirClick();

private:
    std::array<QRadioButton *, 4> answers() const;
    void UncheckAnswers();
    static void SetAnswer(QRadioButton *button, const QString &text);
    // The question's label shows `text`, shortened if it must be; WholeQuestion() has it whole.
    void ShowQuestionText(const QString &text);
    QString WholeQuestion() const;
    // Names and descriptions of the controls for screen readers, and the tab stops of the
    // question and the photo.
    void describeForScreenReaders();

    GameSession &m_session;
    Navigator &m_navigator;
    // The photos of the drawn questions, decoded while the player reads; ImgPerg takes them from
    // here. Stopped when a game ends or is given up.
    std::unique_ptr<PhotoPrefetch> m_prefetch;
};
