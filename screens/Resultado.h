#pragma once
// The results screen: the outcome of a finished game and the record, and the two ways on.
#include "platform/ScreenWindow.h"

class Navigator;
class PictureBox;
class GameSession;
class QLabel;
class QPushButton;

class TFrmResult : public ScreenWindow {
    Q_OBJECT
public:
    TFrmResult(GameSession &session, Navigator &navigator, QWidget *parent = nullptr);

    PictureBox *Image1;
    QLabel *LblNome;
    QLabel *LblCertas;
    QLabel *LblErradas;
    QLabel *LblNaoResp;
    QLabel *LblPontos;
    QLabel *LblNomeRecord;
    QLabel *LblPontosRecord;
    QPushButton *BtnJogarNovamente;
    QPushButton *BtnEncerrar;

    // Fills the labels with a finished game and its record, telling the player what it means.
    // A record that could not be stored is then reported by throwing AppError.
    void ShowResult(const struct GameResult &result);

public slots:
    void BtnEncerrarClick();
    void BtnJogarNovamenteClick();

private:
    GameSession &m_session;
    Navigator &m_navigator;
};
