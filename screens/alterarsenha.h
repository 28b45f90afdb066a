#pragma once
// The password change: the current password, the new one and its confirmation.
#include "platform/ScreenWindow.h"

class Navigator;
class QLabel;
class QLineEdit;
class QPushButton;
class Table;

class TFrmAlterarSenha : public ScreenWindow {
    Q_OBJECT
public:
    // `account` is the login screen's cursor on the account table, on the administrator's record.
    TFrmAlterarSenha(Table &account, Navigator &navigator, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *EdtSenhaAtual;
    QLineEdit *EdtNovaSenha;
    QLineEdit *EdtConfirmacao;
    QLabel *LblLimiteSenha; // shown while the focused box is full
    QPushButton *BtnAlterarSenha;
    QPushButton *BtnCancel;

    // Shows the screen with its three boxes empty and the focus in the first.
    void Open();

public slots:
    void BtnAlterarSenhaClick();
    void BtnCancelClick();

private:
    Table &m_account;
    Navigator &m_navigator;
};
