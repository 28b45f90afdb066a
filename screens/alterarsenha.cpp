#include "screens/alterarsenha.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PasswordBox.h"
#include "platform/Win1252Validator.h"
#include "screens/Navigator.h"
#include "store/bank/AdminAccount.h"
#include "store/tables/Fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>


namespace {

QLineEdit *passwordBox(const QString &name, int y, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(126, y, 140, 24);
    maskAsPassword(box);
    // The account table keeps Windows-1252 text: a character outside it would be stored as
    // something else, and the password as typed would never match again.
    box->setValidator(new Win1252Validator(box));
    return box;
}

QLabel *boxLabel(const QString &name, const QString &text, int y, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(8, y, 112, 24);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// What a screen reader says of every box after its name.
QString boxDescription()
{
    return QStringLiteral("Até %1 caracteres.").arg(PasswordSize);
}

} // namespace

TFrmAlterarSenha::TFrmAlterarSenha(AdminAccount &account, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmAlterarSenha"), QStringLiteral("ALTERAÇÃO DE SENHA"), QSize(307, 200),
                   parent),
      m_account(account), m_navigator(navigator)
{
    QWidget *area = content();
    Label1 = boxLabel(QStringLiteral("Label1"), QStringLiteral("Senha atual"), 14, area);
    EdtSenhaAtual = passwordBox(QStringLiteral("EdtSenhaAtual"), 14, area);
    Label2 = boxLabel(QStringLiteral("Label2"), QStringLiteral("Nova senha"), 46, area);
    EdtNovaSenha = passwordBox(QStringLiteral("EdtNovaSenha"), 46, area);
    Label3 = boxLabel(QStringLiteral("Label3"), QStringLiteral("Confirmar senha"), 78, area);
    EdtConfirmacao = passwordBox(QStringLiteral("EdtConfirmacao"), 78, area);

    LblLimiteSenha = passwordLimitSign(area);
    LblLimiteSenha->setGeometry(8, 145, 275, 16);

    BtnAlterarSenha = new QPushButton(QStringLiteral("OK"), area);
    BtnAlterarSenha->setObjectName(QStringLiteral("BtnAlterarSenha"));
    BtnAlterarSenha->setGeometry(62, 118, 80, 26);
    BtnCancel = new QPushButton(QStringLiteral("Cancelar"), area);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(150, 118, 80, 26);
    for (QPushButton *b : {BtnAlterarSenha, BtnCancel})
        b->setAutoDefault(false);

    setTabOrder(EdtSenhaAtual, EdtNovaSenha);
    setTabOrder(EdtNovaSenha, EdtConfirmacao);
    setTabOrder(EdtConfirmacao, BtnAlterarSenha);
    setTabOrder(BtnAlterarSenha, BtnCancel);
    const std::pair<QLabel *, QLineEdit *> boxes[] = {
        {Label1, EdtSenhaAtual}, {Label2, EdtNovaSenha}, {Label3, EdtConfirmacao}};
    for (const auto &[label, box] : boxes) {
        label->setBuddy(box);
        Accessibility::describe(box, label->text(), boxDescription());
        limitPassword(box, PasswordSize, LblLimiteSenha);
    }
    Accessibility::describe(BtnAlterarSenha, QStringLiteral("OK"), QStringLiteral("Grava a nova senha."));
    Accessibility::describe(BtnCancel, QStringLiteral("Cancelar"),
                            QStringLiteral("Volta ao login sem alterar a senha."));

    connectHandler(BtnAlterarSenha, &QPushButton::clicked, this, &TFrmAlterarSenha::BtnAlterarSenhaClick);
    connectHandler(BtnCancel, &QPushButton::clicked, this, &TFrmAlterarSenha::BtnCancelClick);
}

void TFrmAlterarSenha::Open()
{
    showScreen();
    EdtSenhaAtual->clear();
    EdtNovaSenha->clear();
    EdtConfirmacao->clear();
    EdtSenhaAtual->setFocus();
}

void TFrmAlterarSenha::BtnAlterarSenhaClick()
{
    // A new password and a confirmation that differ are refused whatever the current password
    // is, so the account is asked only about a change it may make.
    if (EdtNovaSenha->text() != EdtConfirmacao->text()) {
        EmptyForRetyping({EdtNovaSenha, EdtConfirmacao});
        Dialogs::warn(QStringLiteral("A nova senha não é idêntica à confirmação"));
        return;
    }
    if (m_account.changePassword(EdtSenhaAtual->text(), EdtNovaSenha->text()) == AdminAccount::Change::Changed) {
        close();
        m_navigator.backToLogin(false);
        Dialogs::inform(QStringLiteral("Senha alterada com sucesso!"));
        return;
    }
    EmptyForRetyping({EdtSenhaAtual, EdtNovaSenha, EdtConfirmacao});
    Dialogs::warn(QStringLiteral("Senha não confere"));
}

void TFrmAlterarSenha::EmptyForRetyping(std::initializer_list<QLineEdit *> boxes)
{
    for (QLineEdit *box : boxes) {
        box->clear();
        box->setAccessibleDescription(QStringLiteral("Vazia: digite de novo. ") + boxDescription());
        connect(box, &QLineEdit::textEdited, box, [box] { box->setAccessibleDescription(boxDescription()); },
                Qt::SingleShotConnection);
    }
    (*boxes.begin())->setFocus();
}

void TFrmAlterarSenha::BtnCancelClick()
{
    close();
    m_navigator.backToLogin(true);
}
