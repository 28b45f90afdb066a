#pragma once
// The start screen: the record, the player's name and the way into a game, the administration
// and the instructions. Closing it ends the program.
#include "platform/ScreenWindow.h"

class PictureBox;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmInicial : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmInicial(QWidget *parent = nullptr);

    PictureBox *Image1;
    QLabel *Label2;
    QLabel *LblRecordeAtual;
    QLabel *Label1;
    QLineEdit *EdtNome;
    QPushButton *BtnJogar;
    QAction *CadPer;
    QAction *MnuInst;
    QAction *Sair;

    // "Ana - 85 pontos": the record line for a holder and points.
    static QString RecordLine(const QString &name, qint32 points);
    // Sets the record line from the record held in memory.
    void ShowRecordLine();

public slots:
    void FormCreate();
    void BtnJogarClick();
    void CadPerClick();
    void MnuInstClick();
    void SairClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Names and descriptions of the controls for screen readers, and the record line's tab stop.
    void describeForScreenReaders();
};

extern TFrmInicial *FrmInicial;
