#pragma once
#include "platform/ScreenWindow.h"

class Navigator;

// The instructions screen: the rules of the game, painted on its picture, and a way back.
class TFrmInstrucao : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmInstrucao(Navigator &navigator, QWidget *parent = nullptr);

    class PictureBox *Image1;
    class QAction *MnuVoltar;

    // The rules painted on the picture, one a line, as a screen reader reads them.
    static QString RulesText();

public slots:
    void MnuVoltarClick();

private:
    Navigator &m_navigator;
};
