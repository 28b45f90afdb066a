#pragma once
// The administrator login: a login name and a password checked against the administrator's
// account.
#include "platform/ScreenWindow.h"

class AdminAccount;
class Navigator;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmSenha : public ScreenWindow {
    Q_OBJECT
public:
    // Checks logins against `account`, the administrator's account of the bank in use.
    TFrmSenha(AdminAccount &account, Navigator &navigator, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *EdtNome;
    QLineEdit *EdtSenha;
    QLabel *LblLimiteSenha; // shown while the password box is full
    QPushButton *BtnOk;
    QPushButton *BtnCancel;
    QAction *AlterarSenha1;

    ~TFrmSenha() override;

    // Shows the screen with "Adm" in the user box and an empty password box; the focus goes to
    // the password box when `focusPassword`.
    void OpenLogin(bool focusPassword = true);

public slots:
    void BtnOkClick();
    void BtnCancelClick();
    void Alterarsenha1Click();

private:
    AdminAccount &m_account;
    Navigator &m_navigator;
};
