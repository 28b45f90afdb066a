#pragma once
// The administrator login: a login name and a password checked against the administrator's
// account.
#include "platform/ScreenWindow.h"

#include <memory>

class AdminAccount;
class Navigator;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmSenha : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmSenha(Navigator &navigator, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *EdtNome;
    QLineEdit *EdtSenha;
    QLabel *LblLimiteSenha; // shown while the password box is full
    QPushButton *BtnOk;
    QPushButton *BtnCancel;
    QAction *AlterarSenha1;

    ~TFrmSenha() override;

    // The administrator's account, opened with the screen; the password change uses it too.
    AdminAccount &account() const;

    // Shows the screen with "Adm" in the user box and an empty password box; the focus goes to
    // the password box when `focusPassword`.
    void OpenLogin(bool focusPassword = true);

public slots:
    void BtnOkClick();
    void BtnCancelClick();
    void Alterarsenha1Click();

private:
    Navigator &m_navigator;
    std::unique_ptr<AdminAccount> m_account;
};
