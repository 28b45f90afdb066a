#pragma once
// The administrator login: a login name and a password checked against the account table.
#include "platform/ScreenWindow.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class Table;

class TFrmSenha : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmSenha(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *EdtNome;
    QLineEdit *EdtSenha;
    QPushButton *BtnOk;
    QPushButton *BtnCancel;
    QAction *AlterarSenha1;
    // The account table; the record it opens on is the administrator's account.
    Table *TbSenha;

public slots:
    void BtnOkClick();
    void BtnCancelClick();
    void Alterarsenha1Click();
};

extern TFrmSenha *FrmSenha;
