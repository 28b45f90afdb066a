#pragma once
// The start screen: the record, the player's name and the way into a game, the administration
// and the instructions. Closing it ends the program.
#include "platform/ScreenWindow.h"

class GameSession;
class Navigator;
class PictureBox;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmInicial : public ScreenWindow {
    Q_OBJECT
public:
    TFrmInicial(GameSession &session, Navigator &navigator, QWidget *parent = nullptr);

    PictureBox *Image1;
    QLabel *Label2;
    QLabel *LblRecordeAtual;
    QLabel *Label1;
    QLineEdit *EdtNome;
    QPushButton *BtnJogar;
    QAction *CadPer;
    QAction *MnuInst;
    QAction *Sair;

    // Sets the record line ("Ana - 85 pontos").
    void ShowRecordLine(const QString &line);
    // Empties the name box and puts the focus in it, for the next player.
    void ReadyForNextPlayer();

public slots:
    void FormCreate();
    void BtnJogarClick();
    void CadPerClick();
    void MnuInstClick();
    void SairClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    GameSession &m_session;
    Navigator &m_navigator;
    // Names and descriptions of the controls for screen readers, and the record line's tab stop.
    void describeForScreenReaders();
};
