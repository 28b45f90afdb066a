// The administrator login and the password change, driven through their controls with scripted
// dialogs.
#include "app/Jornada.h"
#include "helpers/Input.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestBank.h"
#include "helpers/TestData.h"
#include "platform/DBEdit.h"
#include "platform/PictureBox.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/Senha.h"
#include "screens/alterarsenha.h"
#include "store/server/Conninfo.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/tables/TableEngine.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <libpq-fe.h>

using Kind = DialogBackend::Kind;

namespace {

const QString LoginTitle = QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER");
const QString Refused = QStringLiteral("Senha inválida!");
const QString Changed = QStringLiteral("Senha alterada com sucesso!");
const QString Mismatch = QStringLiteral("A nova senha não é idêntica à confirmação");
const QString WrongCurrent = QStringLiteral("Senha não confere");

// A data directory with the account Adm / 1234, the scripted dialogs and the screens. What the
// screens' creation showed (a bank too small for a game) is forgotten.
struct Fixture {
    TempDataDir data;
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    explicit Fixture(int questions = 10) : data(questions) { dialogs->shown.clear(); }
};

void logIn(const QString &name, const QString &password)
{
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtNome->setText(name);
    jornada().FrmSenha()->EdtSenha->setText(password);
    jornada().FrmSenha()->BtnOk->click();
}

void changePassword(const QString &current, const QString &newPassword, const QString &confirmation)
{
    jornada().FrmSenha()->AlterarSenha1->trigger();
    jornada().FrmAlterarSenha()->EdtSenhaAtual->setText(current);
    jornada().FrmAlterarSenha()->EdtNovaSenha->setText(newPassword);
    jornada().FrmAlterarSenha()->EdtConfirmacao->setText(confirmation);
    jornada().FrmAlterarSenha()->BtnAlterarSenha->click();
}

// Whether `password` is the administrator's as stored: in a folder, the account table's, read
// through a cursor of its own; on a server, the one the server takes for the role Adm.
bool storedPasswordIs(const QString &password)
{
    const BankLocation bank = bankInUse();
    if (bank.kind() == BankLocation::Kind::Folder) {
        Table account;
        account.open(*openBank(bank), QStringLiteral("inicial.db"), accountFields());
        return account.fieldText(QStringLiteral("Senha")) == password;
    }
    // libpq would take an empty password for none, and look for one elsewhere.
    if (password.isEmpty())
        return false;
    PGconn *server = PQconnectdb(connectionAs(bank.text(), QStringLiteral("Adm"), password).toUtf8().constData());
    const bool accepted = PQstatus(server) == CONNECTION_OK;
    PQfinish(server);
    return accepted;
}

void runSql(const QStringList &lines)
{
    Query q(openBank(bankInUse()));
    for (const QString &line : lines)
        q.add(line);
    q.execSql();
}

} // namespace

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void menuPrefillsTheLogin();
    void login_data();
    void login();
    void loginCancel();
    void passwordChange_data();
    void passwordChange();
    void emptyNewPasswordIsAccepted();
    void emptyNewPasswordIsRefusedOnAServer();
    void changeWithoutLoggingIn();
    void changeCancel();
    void menuClearsTheChangeScreen();
    void refusedWriteKeepsThePassword();
    void boxesRefuseCharactersTheTableCannotKeep();
    void theSameTypingAlwaysLogsIn();
    void loginWithAPhotoThatCannotBeLoaded();
};

void LoginTest::initTestCase() { REQUIRE_TEST_SERVER(); }

void LoginTest::menuPrefillsTheLogin()
{
    Fixture f;
    jornada().FrmInicial()->showScreen();
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("velha"));
    jornada().FrmInicial()->CadPer->trigger();
    QVERIFY(jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));
    QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());
    QCOMPARE(jornada().FrmSenha()->EdtSenha->echoMode(), QLineEdit::Password);
    QVERIFY(jornada().FrmInicial()->isVisible());
}

void LoginTest::login_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("right") << "Adm" << "1234" << true;
    QTest::newRow("login in lower case") << "adm" << "1234" << false;
    QTest::newRow("login in upper case") << "ADM" << "1234" << false;
    QTest::newRow("wrong password") << "Adm" << "4321" << false;
    QTest::newRow("empty password") << "Adm" << "" << false;
    QTest::newRow("password with a trailing blank") << "Adm" << "1234 " << false;
    QTest::newRow("login with a leading blank") << " Adm" << "1234" << false;
    QTest::newRow("password longer than its field") << "Adm" << "1234567890" << false;
    QTest::newRow("login longer than its field") << "AdmAdmAdmAdm" << "1234" << false;
    QTest::newRow("quote in the password") << "Adm" << "' or '1'='1" << false;
}

void LoginTest::login()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    Fixture f;
    logIn(name, password);

    QCOMPARE(jornada().FrmCadastro()->isVisible(), accepted);
    if (accepted) {
        // The editor is shown in the browse state; the login screen stays as typed.
        QVERIFY(f.dialogs->shown.isEmpty());
        QVERIFY(jornada().FrmSenha()->isVisible());
        QCOMPARE(jornada().FrmSenha()->EdtNome->text(), name);
        QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), password);
        QVERIFY(!jornada().FrmCadastro()->BtnGravar->isEnabled());
        QVERIFY(!jornada().FrmCadastro()->BtnCancelar->isEnabled());
        QVERIFY(jornada().FrmCadastro()->EdtPerg->isReadOnly());
        QVERIFY(!jornada().FrmCadastro()->BtnFoto->isEnabled());
        QVERIFY(jornada().FrmCadastro()->BtnIncluir->isEnabled());
        QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());
    } else {
        QCOMPARE(f.dialogs->shown.size(), 1);
        QCOMPARE(f.dialogs->shown[0].kind, Kind::Warn);
        QCOMPARE(f.dialogs->shown[0].text, Refused);
        QCOMPARE(f.dialogs->shown[0].title, LoginTitle);
        QVERIFY(!jornada().FrmSenha()->isVisible());
        QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QString());
        QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());
    }
}

void LoginTest::loginCancel()
{
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("12"));
    jornada().FrmSenha()->BtnCancel->click();
    QVERIFY(!jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QString());
    QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    QVERIFY(f.dialogs->shown.isEmpty());
}

void LoginTest::passwordChange_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("boxesAfter"); // current, new, confirmation; empty: screen closed
    QTest::addColumn<QString>("stored");

    QTest::newRow("accepted") << "1234" << "nova" << "nova" << Changed << QStringList() << "nova";
    QTest::newRow("seven characters") << "1234" << "abcdefg" << "abcdefg" << Changed << QStringList() << "abcdefg";
    QTest::newRow("mismatch") << "1234" << "nova" << "novo" << Mismatch << QStringList{"1234", "", ""} << "1234";
    QTest::newRow("wrong current and mismatch")
        << "errada" << "nova" << "novo" << Mismatch << QStringList{"errada", "", ""} << "1234";
    QTest::newRow("wrong current") << "errada" << "nova" << "nova" << WrongCurrent << QStringList{"", "", ""}
                                   << "1234";
    QTest::newRow("current with a trailing blank") << "1234 " << "nova" << "nova" << WrongCurrent
                                           << QStringList{"", "", ""} << "1234";
    QTest::newRow("confirmation differs in case") << "1234" << "nova" << "NOVA" << Mismatch
                                                  << QStringList{"1234", "", ""} << "1234";
}

void LoginTest::passwordChange()
{
    QFETCH(QString, current);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QString, stored);
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    changePassword(current, newPassword, confirmation);

    QCOMPARE(f.dialogs->texts(), QStringList{message});
    QCOMPARE(f.dialogs->shown[0].kind, message == Changed ? Kind::Inform : Kind::Warn);
    QCOMPARE(f.dialogs->shown[0].title, ApplicationTitle);
    QVERIFY(storedPasswordIs(stored));
    if (boxesAfter.isEmpty()) {
        QVERIFY(!jornada().FrmAlterarSenha()->isVisible());
        QVERIFY(jornada().FrmSenha()->isVisible());
        QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));
        QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());
    } else {
        QVERIFY(jornada().FrmAlterarSenha()->isVisible());
        QCOMPARE(jornada().FrmAlterarSenha()->EdtSenhaAtual->text(), boxesAfter[0]);
        QCOMPARE(jornada().FrmAlterarSenha()->EdtNovaSenha->text(), boxesAfter[1]);
        QCOMPARE(jornada().FrmAlterarSenha()->EdtConfirmacao->text(), boxesAfter[2]);
    }

    // The next login takes the stored password, and only it.
    f.dialogs->shown.clear();
    logIn(QStringLiteral("Adm"), stored == QLatin1String("1234") ? newPassword : QStringLiteral("1234"));
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    QCOMPARE(f.dialogs->texts(), QStringList{Refused});
    logIn(QStringLiteral("Adm"), stored);
    QVERIFY(jornada().FrmCadastro()->isVisible());
}

void LoginTest::emptyNewPasswordIsAccepted()
{
    FOLDER_ONLY("an empty password, which a server never takes");
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    changePassword(QStringLiteral("1234"), QString(), QString());
    QCOMPARE(f.dialogs->texts(), QStringList{Changed});
    QVERIFY(storedPasswordIs(QString()));

    logIn(QStringLiteral("Adm"), QStringLiteral("1234"));
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    logIn(QStringLiteral("Adm"), QString());
    QVERIFY(jornada().FrmCadastro()->isVisible());
    QCOMPARE(f.dialogs->texts(), (QStringList{Changed, Refused}));

    // And the empty password is the current one for the next change.
    changePassword(QString(), QStringLiteral("outra"), QStringLiteral("outra"));
    QVERIFY(storedPasswordIs(QStringLiteral("outra")));
}

void LoginTest::emptyNewPasswordIsRefusedOnAServer()
{
    if (!testingOnServer())
        QSKIP("a folder takes an empty password");
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    changePassword(QStringLiteral("1234"), QString(), QString());
    QCOMPARE(f.dialogs->texts(Kind::Error),
             QStringList{QStringLiteral("No servidor, a senha do administrador não pode ficar vazia: o servidor não deixa "
                                        "entrar sem senha. A senha não foi alterada.")});
    QCOMPARE(f.dialogs->texts(Kind::Inform), QStringList());
    QVERIFY(jornada().FrmAlterarSenha()->isVisible());
    QVERIFY(storedPasswordIs(QStringLiteral("1234")));
    // Nor does an empty password log in, whatever this machine's PGPASSWORD holds.
    logIn(QStringLiteral("Adm"), QString());
    QVERIFY(!jornada().FrmCadastro()->isVisible());
}

void LoginTest::changeWithoutLoggingIn()
{
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtNome->setText(QStringLiteral("qualquer"));
    changePassword(QStringLiteral("1234"), QStringLiteral("x"), QStringLiteral("x"));
    QVERIFY(storedPasswordIs(QStringLiteral("x")));
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    // The login name is neither asked for nor changed.
    logIn(QStringLiteral("Adm"), QStringLiteral("x"));
    QVERIFY(jornada().FrmCadastro()->isVisible());
}

void LoginTest::changeCancel()
{
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtNome->setText(QStringLiteral("outro"));
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("abc"));
    jornada().FrmSenha()->AlterarSenha1->trigger();
    jornada().FrmAlterarSenha()->EdtSenhaAtual->setText(QStringLiteral("1234"));
    jornada().FrmAlterarSenha()->BtnCancel->click();
    QVERIFY(!jornada().FrmAlterarSenha()->isVisible());
    QVERIFY(jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));
    QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());
    QVERIFY(storedPasswordIs(QStringLiteral("1234")));
    QVERIFY(f.dialogs->shown.isEmpty());
}

void LoginTest::menuClearsTheChangeScreen()
{
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    changePassword(QStringLiteral("1234"), QStringLiteral("a"), QStringLiteral("b"));
    jornada().FrmAlterarSenha()->EdtNovaSenha->setText(QStringLiteral("c"));
    jornada().FrmSenha()->AlterarSenha1->trigger();
    QCOMPARE(jornada().FrmAlterarSenha()->EdtSenhaAtual->text(), QString());
    QCOMPARE(jornada().FrmAlterarSenha()->EdtNovaSenha->text(), QString());
    QCOMPARE(jornada().FrmAlterarSenha()->EdtConfirmacao->text(), QString());
    for (QLineEdit *box : {jornada().FrmAlterarSenha()->EdtSenhaAtual, jornada().FrmAlterarSenha()->EdtNovaSenha,
                           jornada().FrmAlterarSenha()->EdtConfirmacao}) {
        QCOMPARE(box->maxLength(), 7);
        QCOMPARE(box->echoMode(), QLineEdit::Password);
    }
    // Every password box, the login's too, masks each character with '*', whatever the style's
    // own mask; the other boxes show their text.
    for (QLineEdit *box : {jornada().FrmAlterarSenha()->EdtSenhaAtual, jornada().FrmAlterarSenha()->EdtNovaSenha,
                           jornada().FrmAlterarSenha()->EdtConfirmacao, jornada().FrmSenha()->EdtSenha}) {
        box->setText(QStringLiteral("a1é"));
        QCOMPARE(box->displayText(), QStringLiteral("***"));
        QCOMPARE(box->text(), QStringLiteral("a1é"));
    }
    jornada().FrmSenha()->EdtNome->setText(QStringLiteral("Adm"));
    QCOMPARE(jornada().FrmSenha()->EdtNome->displayText(), QStringLiteral("Adm"));
}

void LoginTest::refusedWriteKeepsThePassword()
{
    FOLDER_ONLY("a trigger on the account table, which a server does not have");
    Fixture f;
    for (const QStringList &statement : refusingTrigger(QStringLiteral("inicial"), QStringLiteral("update"),
                                                        QStringLiteral("attempt to write a readonly database")))
        runSql(statement);
    jornada().FrmInicial()->CadPer->trigger();
    changePassword(QStringLiteral("1234"), QStringLiteral("nova"), QStringLiteral("nova"));

    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 1);
    QCOMPARE(f.dialogs->texts(Kind::Inform), QStringList());
    QVERIFY(jornada().FrmAlterarSenha()->isVisible());
    QVERIFY(storedPasswordIs(QStringLiteral("1234")));
    // The refused password is not taken for the stored one either.
    logIn(QStringLiteral("Adm"), QStringLiteral("nova"));
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    logIn(QStringLiteral("Adm"), QStringLiteral("1234"));
    QVERIFY(jornada().FrmCadastro()->isVisible());
}

void LoginTest::boxesRefuseCharactersTheTableCannotKeep()
{
    // A character outside Windows-1252 would be stored as '?', and the password typed would
    // never match again.
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->AlterarSenha1->trigger();
    for (QLineEdit *box : {jornada().FrmAlterarSenha()->EdtNovaSenha, jornada().FrmAlterarSenha()->EdtConfirmacao}) {
        box->setFocus();
        typeText(box, QStringLiteral("aλb€"));
        QCOMPARE(box->text(), QStringLiteral("ab€"));
    }
    jornada().FrmAlterarSenha()->EdtSenhaAtual->setText(QStringLiteral("1234"));
    jornada().FrmAlterarSenha()->BtnAlterarSenha->click();
    QVERIFY(storedPasswordIs(QStringLiteral("ab€")));
    logIn(QStringLiteral("Adm"), QStringLiteral("ab€"));
    QVERIFY(jornada().FrmCadastro()->isVisible());
}

void LoginTest::theSameTypingAlwaysLogsIn()
{
    // A password typed longer than the table keeps is cut alike in every box, the login's
    // included, and each box that stops taking characters says so while it has the focus.
    Fixture f;
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->AlterarSenha1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(jornada().FrmAlterarSenha()));
    QLabel *sign = jornada().FrmAlterarSenha()->LblLimiteSenha;
    jornada().FrmAlterarSenha()->EdtSenhaAtual->setFocus();
    typeText(jornada().FrmAlterarSenha()->EdtSenhaAtual, QStringLiteral("1234"));
    QVERIFY(!sign->isVisible());
    QCOMPARE(jornada().FrmAlterarSenha()->EdtSenhaAtual->accessibleDescription(), QStringLiteral("Até 7 caracteres."));
    for (QLineEdit *box : {jornada().FrmAlterarSenha()->EdtNovaSenha, jornada().FrmAlterarSenha()->EdtConfirmacao}) {
        box->setFocus();
        QVERIFY(!sign->isVisible());
        typeText(box, QStringLiteral("Escola2026"));
        QCOMPARE(box->text(), QStringLiteral("Escola2"));
        QVERIFY(sign->isVisible());
        QVERIFY2(sign->text().contains(QLatin1String("7 caracteres")), qPrintable(sign->text()));
        QVERIFY(sign->parentWidget()->rect().contains(sign->geometry()));
        QVERIFY(sign->sizeHint().width() <= sign->width());
        QCOMPARE(box->accessibleDescription(), sign->text());
        // Room again: the sign goes, and the box's description is its own again.
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(!sign->isVisible());
        QCOMPARE(box->accessibleDescription(), QStringLiteral("Até 7 caracteres."));
        typeText(box, QStringLiteral("26"));
        QVERIFY(sign->isVisible());
    }
    // The sign belongs to the box with the focus.
    jornada().FrmAlterarSenha()->BtnAlterarSenha->setFocus();
    QVERIFY(!sign->isVisible());
    jornada().FrmAlterarSenha()->EdtNovaSenha->setFocus();
    QVERIFY(sign->isVisible());
    jornada().FrmAlterarSenha()->EdtSenhaAtual->setFocus();
    QVERIFY(!sign->isVisible());
    jornada().FrmAlterarSenha()->BtnAlterarSenha->click();
    QCOMPARE(f.dialogs->texts(), QStringList{Changed});
    QVERIFY(storedPasswordIs(QStringLiteral("Escola2")));

    jornada().FrmSenha()->EdtSenha->setFocus();
    QVERIFY(jornada().FrmSenha()->EdtSenha->accessibleDescription().contains(QStringLiteral("até 7 caracteres")));
    typeText(jornada().FrmSenha()->EdtSenha, QStringLiteral("Escola2026"));
    QVERIFY(jornada().FrmSenha()->LblLimiteSenha->isVisible());
    const QLabel *limit = jornada().FrmSenha()->LblLimiteSenha;
    QVERIFY(limit->parentWidget()->rect().contains(limit->geometry()));
    jornada().FrmSenha()->BtnOk->click();
    QVERIFY(jornada().FrmCadastro()->isVisible());
}

void LoginTest::loginWithAPhotoThatCannotBeLoaded()
{
    // The question has no photo before the editor's table is opened.
    TempDataDir data(10);
    runSql({QStringLiteral("update perguntas.db set foto = null where id = 1")});
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    dialogs->shown.clear();
    logIn(QStringLiteral("Adm"), QStringLiteral("1234"));
    // The editor is shown in the browse state, and the photo's failure is reported.
    QVERIFY(jornada().FrmCadastro()->isVisible());
    QVERIFY(!jornada().FrmCadastro()->BtnGravar->isEnabled());
    QVERIFY(jornada().FrmCadastro()->BtnIncluir->isEnabled());
    QCOMPARE(dialogs->texts(Kind::Error), QStringList{QStringLiteral("Unknown picture file extension (.)")});
}

QTEST_MAIN(LoginTest)
#include "test_login.moc"
