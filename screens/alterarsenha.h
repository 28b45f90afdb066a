#pragma once
// The password change: the current password, the new one and its confirmation.
#include "platform/ScreenWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFrmAlterarSenha : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmAlterarSenha(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *EdtSenhaAtual;
    QLineEdit *EdtNovaSenha;
    QLineEdit *EdtConfirmacao;
    QPushButton *BtnAlterarSenha;
    QPushButton *BtnCancel;

public slots:
    void BtnAlterarSenhaClick();
    void BtnCancelClick();
};

extern TFrmAlterarSenha *FrmAlterarSenha;
