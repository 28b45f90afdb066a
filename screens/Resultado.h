#pragma once
// The results screen: the outcome of a finished game and the record, and the two ways on.
#include "platform/ScreenWindow.h"

class PictureBox;
class QLabel;
class QPushButton;

class TFrmResult : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmResult(QWidget *parent = nullptr);

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

public slots:
    void BtnEncerrarClick();
    void BtnJogarNovamenteClick();
};

extern TFrmResult *FrmResult;
