#pragma once
// The password change: the current password, the new one and its confirmation.
#include "platform/ScreenWindow.h"

#include <initializer_list>

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
    // Empties `boxes` and puts the focus in the first, before the message that says why: when
    // the message closes, the focus comes back there and a screen reader reads each emptied box
    // as one to type again, until something is typed in it.
    void EmptyForRetyping(std::initializer_list<QLineEdit *> boxes);

    Table &m_account;
    Navigator &m_navigator;
};
