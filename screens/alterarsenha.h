#pragma once
// The password change: the current password, the new one and its confirmation.
#include "platform/ScreenWindow.h"

#include <initializer_list>

class AdminAccount;
class Navigator;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmAlterarSenha : public ScreenWindow {
    Q_OBJECT
public:
    // `account` is the login screen's: a change takes effect at once for its next login.
    TFrmAlterarSenha(AdminAccount &account, Navigator &navigator, QWidget *parent = nullptr);

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
    // Empties `boxes` and puts the focus in the first, before the message that says why: when
    // the message closes, the focus comes back there and a screen reader reads each emptied box
    // as one to type again, until something is typed in it.
    void EmptyForRetyping(std::initializer_list<QLineEdit *> boxes);

    AdminAccount &m_account;
    Navigator &m_navigator;
};
