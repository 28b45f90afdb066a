#include "screens/Senha.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PasswordBox.h"
#include "screens/Navigator.h"
#include "store/bank/AdminAccount.h"
#include "store/bank/Bank.h"
#include "store/tables/Fields.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>


namespace {

QLabel *fieldLabel(const QString &name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TFrmSenha::TFrmSenha(AdminAccount &account, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmSenha"), QStringLiteral("SENHA SOLICITADA"), QSize(212, 191), parent),
      m_account(account), m_navigator(navigator)
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    AlterarSenha1 = addMenuItem(QStringLiteral("AlterarSenha1"), QStringLiteral("Alterar Senha"));

    QWidget *area = content();
    Label1 = fieldLabel(QStringLiteral("Label1"), QStringLiteral("Usuário"), {4, 14, 56, 24}, area);
    EdtNome = new QLineEdit(area);
    EdtNome->setObjectName(QStringLiteral("EdtNome"));
    EdtNome->setGeometry(66, 14, 120, 24);
    Label2 = fieldLabel(QStringLiteral("Label2"), QStringLiteral("Senha"), {4, 46, 56, 24}, area);
    EdtSenha = new QLineEdit(area);
    EdtSenha->setObjectName(QStringLiteral("EdtSenha"));
    EdtSenha->setGeometry(66, 46, 120, 24);
    maskAsPassword(EdtSenha);
    LblLimiteSenha = passwordLimitSign(area);
    LblLimiteSenha->setGeometry(4, 114, 188, 16);

    BtnOk = new QPushButton(QStringLiteral("OK"), area);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(20, 86, 75, 26);
    BtnCancel = new QPushButton(QStringLiteral("Cancelar"), area);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(102, 86, 75, 26);
    // Enter and Escape trigger nothing on this screen.
    for (QPushButton *b : {BtnOk, BtnCancel})
        b->setAutoDefault(false);

    // Top to bottom, as the screen reads: the password, where the focus is put on opening, is
    // followed by "OK".
    setTabOrder(EdtNome, EdtSenha);
    setTabOrder(EdtSenha, BtnOk);
    setTabOrder(BtnOk, BtnCancel);
    Label1->setBuddy(EdtNome);
    Label2->setBuddy(EdtSenha);
    Accessibility::describe(EdtNome, QStringLiteral("Usuário"), QStringLiteral("Nome de login do administrador."));
    Accessibility::describe(EdtSenha, QStringLiteral("Senha"), QStringLiteral("Senha do administrador, até %1 caracteres.").arg(PasswordSize));
    // The stored password never has more characters, so nothing that could match is refused.
    limitPassword(EdtSenha, PasswordSize, LblLimiteSenha);
    Accessibility::describe(BtnOk, QStringLiteral("OK"), QStringLiteral("Entra no cadastro de perguntas."));
    Accessibility::describe(BtnCancel, QStringLiteral("Cancelar"), QStringLiteral("Fecha esta janela sem entrar."));
    // The menu item's caption has no accelerator letter; Alt+A reaches it from the keyboard.
    AlterarSenha1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_A));

    connectHandler(BtnOk, &QPushButton::clicked, this, &TFrmSenha::BtnOkClick);
    connectHandler(BtnCancel, &QPushButton::clicked, this, &TFrmSenha::BtnCancelClick);
    connectHandler(AlterarSenha1, &QAction::triggered, this, &TFrmSenha::Alterarsenha1Click);
}

TFrmSenha::~TFrmSenha() = default;

void TFrmSenha::OpenLogin(bool focusPassword)
{
    showScreen();
    EdtNome->setText(QStringLiteral("Adm"));
    EdtSenha->clear();
    if (focusPassword)
        EdtSenha->setFocus();
}

void TFrmSenha::BtnOkClick()
{
    if (std::shared_ptr<Bank> bank = m_account.logIn(EdtNome->text(), EdtSenha->text())) {
        m_navigator.showEditor(std::move(bank));
        return;
    }
    Dialogs::warn(QStringLiteral("Senha inválida!"), QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER"));
    EdtSenha->clear();
    EdtNome->clear();
    close();
}

void TFrmSenha::BtnCancelClick()
{
    EdtSenha->clear();
    EdtNome->clear();
    close();
}

void TFrmSenha::Alterarsenha1Click()
{
    m_navigator.showPasswordChange();
}
