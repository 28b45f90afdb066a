// The question editor driven through its controls, with scripted dialogs: numbering, the browse
// and editing states, save checks, delete, search, photos, leaving while editing, refused writes.
#include "app/Jornada.h"
#include "helpers/Input.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestBank.h"
#include "helpers/TestData.h"
#include "platform/DBEdit.h"
#include "platform/DBNavigator.h"
#include "platform/PictureBox.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/Senha.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/tables/TableEngine.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using Kind = DialogBackend::Kind;

namespace {

// A data directory, the scripted dialogs and the screens, in the order start-up needs them.
// The question screen's creation may report a bank too small for a game; that is not the
// editor's business, so what was shown during start-up is forgotten.
struct Fixture {
    TempDataDir data;
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    explicit Fixture(int questions) : data(questions) { dialogs->shown.clear(); }
};

QPushButton *button(const char *name)
{
    return jornada().FrmCadastro()->findChild<QPushButton *>(QLatin1String(name));
}

DBEdit *box(const char *name)
{
    return jornada().FrmCadastro()->findChild<DBEdit *>(QLatin1String(name));
}

QToolButton *navButton(const char *name)
{
    return jornada().FrmCadastro()->findChild<DBNavigator *>(QStringLiteral("DBNav"))->findChild<QToolButton *>(
        QLatin1String(name));
}

void click(const char *name)
{
    button(name)->click();
}

// The way in: the start screen's menu, then the login with the right password.
void openEditor()
{
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("1234"));
    jornada().FrmSenha()->BtnOk->click();
}

qint32 storedCount()
{
    Query q(openBank(bankInUse()));
    q.add(QStringLiteral("select count(*) as n from perguntas.db"));
    q.open();
    return q.asInteger(QStringLiteral("n"));
}

QVariant storedField(qint32 id, const QString &column)
{
    Query q(openBank(bankInUse()));
    q.add(QStringLiteral("select * from perguntas.db where id = :NUMID"));
    q.setParameter(QStringLiteral("NUMID"), id);
    q.open();
    return q.value(column);
}

void runSql(const QStringList &lines)
{
    Query q(openBank(bankInUse()));
    for (const QString &line : lines)
        q.add(line);
    q.execSql();
}

void fill(const QString &pergunta, const QString &r1, const QString &r2, const QString &r3, const QString &r4,
          const QString &correta)
{
    box("EdtPerg")->setText(pergunta);
    box("EdtResp1")->setText(r1);
    box("EdtResp2")->setText(r2);
    box("EdtResp3")->setText(r3);
    box("EdtResp4")->setText(r4);
    box("EdtCorreta")->setText(correta);
}

void fillComplete()
{
    fill(QStringLiteral("Qual é a capital do Brasil?"), QStringLiteral("Rio"), QStringLiteral("Brasília"),
         QStringLiteral("Salvador"), QStringLiteral("Recife"), QStringLiteral("Brasília"));
}

// Goes to the question at position `n` (1-based) in number order.
void goTo(int n)
{
    navButton("First")->click();
    for (int i = 1; i < n; ++i)
        navButton("Next")->click();
}

QString writePicture(const TempDataDir &data, const QString &name, const QColor &colour)
{
    QImage picture(40, 50, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = data.file(name);
    picture.save(path, "JPG");
    return path;
}

// The Foto that choosing the picture file `path` gives a question: a folder names the file where
// it is, a server keeps the file's bytes under its name.
QString keptFoto(const QString &path)
{
    return onEngine(path, QFileInfo(path).fileName());
}

// Whether the bank keeps the photo `foto`: a folder as a file, a server in its photo table.
bool bankHasPhoto(const TempDataDir &data, const QString &foto)
{
    if (!testingOnServer())
        return QFileInfo::exists(foto);
    return PlainServer(data.server()->connection())
               .rows(QStringLiteral("SELECT nome FROM perguntas.fotos WHERE nome = $1"), {foto})
               .size()
           == 1;
}

// A picture put in the bank as a photo for questions to name, as writePicture() makes it; the
// Foto that names it.
QString bankPicture(const TempDataDir &data, const QString &name, const QColor &colour)
{
    const QString path = writePicture(data, name, colour);
    if (!testingOnServer())
        return path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    PlainServer(data.server()->connection())
        .rows(QStringLiteral("INSERT INTO perguntas.fotos (nome, dados) VALUES ($1, decode($2, 'base64'))"),
              {name, QString::fromLatin1(file.readAll().toBase64())});
    return name;
}

bool showsRed()
{
    const QImage &p = jornada().FrmCadastro()->ImgCadastro->picture();
    if (p.isNull())
        return false;
    const QColor c = p.pixelColor(p.width() / 2, p.height() / 2);
    return c.red() > 150 && c.blue() < 100;
}

// Checks every control against the browse state or one of the two editing states.
enum class Expect { Browse, Inserting, Editing };

void checkControls(Expect expect)
{
    const bool editing = expect != Expect::Browse;
    QCOMPARE(button("BtnIncluir")->isEnabled(), !editing);
    QCOMPARE(button("BtnExcluir")->isEnabled(), !editing);
    QCOMPARE(jornada().FrmCadastro()->DBNav->isEnabled(), !editing);
    QCOMPARE(button("BtnEdit")->isEnabled(), expect != Expect::Inserting);
    QCOMPARE(button("BtnGravar")->isEnabled(), editing);
    QCOMPARE(button("BtnCancelar")->isEnabled(), editing);
    // The boxes are read-only while browsing, yet enabled: they take the focus to be read.
    for (const char *name : {"EdtPerg", "EdtResp1", "EdtResp2", "EdtResp3", "EdtResp4", "EdtCorreta"})
        QVERIFY2(box(name)->isEnabled() && box(name)->isReadOnly() == !editing, name);
    QCOMPARE(button("BtnFoto")->isEnabled(), editing);
    QCOMPARE(jornada().FrmCadastro()->ImgCadastro->isVisible(), !editing);
    QVERIFY(box("EdtNumero")->isEnabled() && box("EdtNumero")->isReadOnly());
    QVERIFY(button("BdLocalizar")->isEnabled());
    QVERIFY(jornada().FrmCadastro()->voltar->isEnabled());
    const Table::State state = jornada().FrmCadastro()->TbPerguntas->state();
    QCOMPARE(state, expect == Expect::Browse      ? Table::State::Browse
                    : expect == Expect::Inserting ? Table::State::Insert
                                                  : Table::State::Edit);
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void questionProblems_data();
    void questionProblems();
    void opensOnTheFirstQuestion();
    void navigator();
    void tabOrder();
    void controlStatesFollowTheButtons();
    void newNumber_data();
    void newNumber();
    void insertThenCancelStoresNothing();
    void insertAndSave();
    void saveRefusesIncompleteQuestion_data();
    void saveRefusesIncompleteQuestion();
    void saveWarnsOfTextsShownShortened();
    void deleteAnsweredYesOrNo_data();
    void deleteAnsweredYesOrNo();
    void deleteOnEmptyBank();
    void editOnEmptyBank();
    void search_data();
    void search();
    void searchShowsThePhotoOfTheQuestionFound();
    void searchWhileEditingChangesNothing_data();
    void searchWhileEditingChangesNothing();
    void photoChosenThenCancelledIsNotStored();
    void largePhotoOffersAFittedCopy_data();
    void largePhotoOffersAFittedCopy();
    void fittedCopyKeptBeforeOutlivesACancelledEdit();
    void photoPathLimits_data();
    void photoPathLimits();
    void photoThatCannotBeLoaded_data();
    void photoThatCannotBeLoaded();
    void leavingWhileEditing_data();
    void leavingWhileEditing();
    void refusedWriteKeepsTheRecord();
    void numberBoxTakesOnlyNumbers();
};

void EditorTest::initTestCase() { REQUIRE_TEST_SERVER(); }

void EditorTest::questionProblems_data()
{
    QTest::addColumn<QStringList>("texts"); // pergunta, resp1..resp4, correta, foto
    QTest::addColumn<QStringList>("problems");

    const QStringList good = {"P?", "a", "b", "c", "d", "c", "/f.jpg"};
    auto with = [&](int i, const QString &value) {
        QStringList t = good;
        t[i] = value;
        return t;
    };
    QTest::newRow("complete") << good << QStringList();
    QTest::newRow("no question") << with(0, "") << QStringList{"falta o texto da pergunta"};
    QTest::newRow("blank question") << with(0, "   ") << QStringList{"falta o texto da pergunta"};
    QTest::newRow("no answer 2") << with(2, "") << QStringList{"falta a resposta 2"};
    QTest::newRow("no photo") << with(6, "") << QStringList{"falta a foto"};
    QTest::newRow("no correct answer") << with(5, "") << QStringList{"falta a resposta correta"};
    const QString mismatch = QStringLiteral("a resposta correta não é igual a nenhuma das quatro respostas "
                                            "(a comparação considera maiúsculas, minúsculas e espaços)");
    QTest::newRow("correct in other case") << with(5, "C") << QStringList{mismatch};
    QTest::newRow("correct with a blank") << with(5, "c ") << QStringList{mismatch};
    QTest::newRow("correct equals answer 4") << with(5, "d") << QStringList();
    QTest::newRow("question of 240 characters") << with(0, QString(240, u'q')) << QStringList();
    QTest::newRow("question of 241 characters")
        << with(0, QString(241, u'q')) << QStringList{u"o texto da pergunta tem 241 caracteres, mas cabem no máximo 240"_qs};
    QTest::newRow("photo path of 256 characters")
        << with(6, QLatin1Char('/') + QString(255, u'f'))
        << QStringList{u"o caminho da foto tem 256 caracteres, mas cabem no máximo 255"_qs};
    QTest::newRow("answer outside Windows-1252, each character once")
        << with(4, u"d → → Ω"_qs)
        << QStringList{u"a resposta 4 tem caracteres que o banco de perguntas não guarda (fora do Windows-1252): →Ω"_qs};
    QTest::newRow("Windows-1252 beyond Latin-1 is kept") << with(4, u"d € “”"_qs) << QStringList();
    QTest::newRow("everything missing")
        << QStringList{"", "", "", "", "", "", ""}
        << QStringList{"falta o texto da pergunta", "falta a resposta 1", "falta a resposta 2",
                       "falta a resposta 3", "falta a resposta 4", "falta a resposta correta", "falta a foto"};
}

void EditorTest::questionProblems()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, problems);
    const Question q{0, texts[0], {texts[1], texts[2], texts[3], texts[4]}, texts[5], texts[6]};
    QCOMPARE(::questionProblems(q), problems);
}

void EditorTest::opensOnTheFirstQuestion()
{
    Fixture f(10);
    openEditor();
    QVERIFY(jornada().FrmCadastro()->isVisible());
    QVERIFY(f.dialogs->shown.isEmpty());
    checkControls(Expect::Browse);
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("1"));
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 1"));
    QCOMPARE(box("EdtCorreta")->text(), TempDataDir::correctAnswerOf(1));
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());
    for (const char *name : {"EdtPerg", "EdtResp1", "EdtResp2", "EdtResp3", "EdtResp4", "EdtCorreta"})
        QCOMPARE(box(name)->maxLength(), 240);
    // Hints are kept but not shown.
    QCOMPARE(button("BtnIncluir")->property("hint").toString(), QStringLiteral("Incluir"));
    QVERIFY(button("BtnIncluir")->toolTip().isEmpty());
    QVERIFY(navButton("Next")->toolTip().isEmpty());
}

void EditorTest::navigator()
{
    Fixture f(10);
    openEditor();
    QVERIFY(!navButton("First")->isEnabled());
    QVERIFY(!navButton("Prior")->isEnabled());
    navButton("Next")->click();
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("2"));
    QCOMPARE(box("EdtResp2")->text(), QStringLiteral("B 2"));
    navButton("Last")->click();
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 10"));
    QVERIFY(!navButton("Next")->isEnabled());
    QVERIFY(!navButton("Last")->isEnabled());
    navButton("Prior")->click();
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("9"));
    navButton("First")->click();
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("1"));

    // Every move loads the photo of the question it lands on.
    const QString red = bankPicture(f.data, QStringLiteral("vermelha.jpg"), Qt::red);
    runSql({QStringLiteral("update perguntas.db set foto = '%1' where id = 2").arg(red)});
    QVERIFY(!showsRed());
    navButton("Next")->click();
    QVERIFY(showsRed());
    navButton("Next")->click();
    QVERIFY(!showsRed());
    QVERIFY(f.dialogs->shown.isEmpty());
}

void EditorTest::tabOrder()
{
    Fixture f(10);
    openEditor();
    // The focus chain from the navigator's first button, keeping the editor's own controls.
    const QStringList expected = {"First",       "Prior",      "Next",      "Last",       "EdtPerg",
                                  "EdtResp1",    "EdtResp2",   "EdtResp3",  "EdtResp4",   "EdtCorreta",
                                  "EdtNumero",   "BtnFoto",    "ImgCadastro", "BtnIncluir", "BtnGravar", "BtnCancelar",
                                  "BtnExcluir",  "BtnEdit",    "BdLocalizar"};
    QStringList chain;
    QWidget *w = navButton("First");
    do {
        if (w->focusPolicy() & Qt::TabFocus && expected.contains(w->objectName())
            && !chain.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != navButton("First"));
    QCOMPARE(chain, expected);
}

void EditorTest::controlStatesFollowTheButtons()
{
    Fixture f(10);
    openEditor();
    checkControls(Expect::Browse);

    click("BtnIncluir");
    checkControls(Expect::Inserting);
    QVERIFY(box("EdtPerg")->hasFocus() || !QApplication::activeWindow());
    click("BtnCancelar");
    checkControls(Expect::Browse);

    click("BtnEdit");
    checkControls(Expect::Editing);
    box("EdtPerg")->setText(QStringLiteral("Pergunta 1 revista"));
    click("BtnEdit"); // pressing "^" again while editing changes nothing
    checkControls(Expect::Editing);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 1 revista"));
    click("BtnGravar");
    checkControls(Expect::Browse);
    QCOMPARE(storedField(1, QStringLiteral("Pergunta")).toString(), QStringLiteral("Pergunta 1 revista"));

    f.dialogs->answerNo();
    click("BtnExcluir");
    checkControls(Expect::Browse);
}

void EditorTest::newNumber_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QList<int>>("deletePositions"); // positions in number order, deleted in turn
    QTest::addColumn<QString>("offered");

    QTest::newRow("1 to 10") << 10 << QList<int>{} << "11";
    QTest::newRow("1 to 10 without 4") << 10 << QList<int>{4} << "11";
    QTest::newRow("1 to 10 without 1 and 5") << 10 << QList<int>{1, 4} << "11";
    QTest::newRow("1 to 10 without 10") << 10 << QList<int>{10} << "10";
    QTest::newRow("empty bank") << 0 << QList<int>{} << "1";
    QTest::newRow("bank emptied") << 1 << QList<int>{1} << "1";
}

void EditorTest::newNumber()
{
    QFETCH(int, questions);
    QFETCH(QList<int>, deletePositions);
    QFETCH(QString, offered);
    Fixture f(questions);
    openEditor();
    for (int position : deletePositions) {
        goTo(position);
        f.dialogs->answerYes();
        click("BtnExcluir");
    }
    QCOMPARE(storedCount(), questions - deletePositions.size());
    f.dialogs->shown.clear();

    click("BtnIncluir");
    QCOMPARE(box("EdtNumero")->text(), offered);
    QVERIFY(f.dialogs->shown.isEmpty());
    checkControls(Expect::Inserting);
    fillComplete();
    f.dialogs->answerText(f.data.photo());
    click("BtnFoto");
    click("BtnGravar");
    checkControls(Expect::Browse);
    QCOMPARE(storedField(offered.toInt(), QStringLiteral("Pergunta")).toString(),
             QStringLiteral("Qual é a capital do Brasil?"));
}

void EditorTest::insertThenCancelStoresNothing()
{
    Fixture f(10);
    openEditor();
    navButton("Last")->click();
    click("BtnIncluir");
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("11"));
    QCOMPARE(box("EdtPerg")->text(), QString());
    box("EdtPerg")->setText(QStringLiteral("Esboço"));
    click("BtnCancelar");
    QCOMPARE(storedCount(), 10);
    // The record that was current before "+" is shown again.
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("10"));
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 10"));
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());

    click("BtnIncluir");
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("11"));
    QCOMPARE(box("EdtPerg")->text(), QString());
    click("BtnCancelar");
    QCOMPARE(storedCount(), 10);
    QVERIFY(f.dialogs->shown.isEmpty());
}

void EditorTest::insertAndSave()
{
    Fixture f(10);
    openEditor();
    const QString red = writePicture(f.data, QStringLiteral("nova.jpg"), Qt::red);
    click("BtnIncluir");
    // Typed as the administrator types, key by key.
    box("EdtPerg")->setFocus();
    typeText(box("EdtPerg"), QStringLiteral("Quanto é 2 + 2?"));
    fill(box("EdtPerg")->text(), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("22"),
         QStringLiteral("4"));
    f.dialogs->answerText(red);
    click("BtnFoto");
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->isVisible());
    click("BtnGravar");

    QCOMPARE(f.dialogs->texts(Kind::Warn), QStringList());
    QCOMPARE(f.dialogs->texts(Kind::Error), QStringList());
    checkControls(Expect::Browse);
    QCOMPARE(storedCount(), 11);
    QCOMPARE(storedField(11, QStringLiteral("Pergunta")).toString(), QStringLiteral("Quanto é 2 + 2?"));
    QCOMPARE(storedField(11, QStringLiteral("Resp4")).toString(), QStringLiteral("22"));
    QCOMPARE(storedField(11, QStringLiteral("Correta")).toString(), QStringLiteral("4"));
    QCOMPARE(storedField(11, QStringLiteral("Foto")).toString(), keptFoto(red));
    QCOMPARE(storedField(11, QStringLiteral("Id")).toDouble(), 11.0);
    // The question just saved stays current, with its photo.
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("11"));
    QVERIFY(showsRed());
}

void EditorTest::saveWarnsOfTextsShownShortened()
{
    // Saved all the same, whole; the warning names each text the question screen shortens.
    Fixture f(10);
    openEditor();
    click("BtnIncluir");
    fillComplete();
    const QString longAnswer =
        QStringLiteral("Salvador, a primeira capital do Brasil, fundada por Tomé de Sousa no ano de 1549");
    box("EdtResp3")->setText(longAnswer);
    f.dialogs->answerText(f.data.photo());
    click("BtnFoto");
    click("BtnGravar");

    const QStringList warnings = f.dialogs->texts(Kind::Warn);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith(QStringLiteral("A pergunta foi gravada")), qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains(QStringLiteral("a resposta 3 não cabe")), qPrintable(warnings[0]));
    QVERIFY2(!warnings[0].contains(QStringLiteral("resposta 2")), qPrintable(warnings[0]));
    QCOMPARE(storedCount(), 11);
    QCOMPARE(storedField(11, QStringLiteral("Resp3")).toString(), longAnswer);
    checkControls(Expect::Browse);
}

void EditorTest::saveRefusesIncompleteQuestion_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("choosePhoto");
    QTest::addColumn<QString>("named");

    QTest::newRow("no question") << "EdtPerg" << "" << true << "falta o texto da pergunta";
    QTest::newRow("no answer 2") << "EdtResp2" << "" << true << "falta a resposta 2";
    QTest::newRow("no correct answer") << "EdtCorreta" << "" << true << "falta a resposta correta";
    QTest::newRow("correct answer matches none") << "EdtCorreta" << "brasília" << true
                                                 << "a resposta correta não é igual a nenhuma";
    QTest::newRow("no photo") << "EdtPerg" << "Qual é a capital do Brasil?" << false << "falta a foto";
}

void EditorTest::saveRefusesIncompleteQuestion()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(bool, choosePhoto);
    QFETCH(QString, named);
    Fixture f(10);
    openEditor();

    click("BtnIncluir");
    fillComplete();
    box(boxName.toLatin1().constData())->setText(text);
    if (choosePhoto) {
        f.dialogs->answerText(f.data.photo());
        click("BtnFoto");
    }
    click("BtnGravar");

    const QStringList warnings = f.dialogs->texts(Kind::Warn);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith(QStringLiteral("A pergunta não pode ser gravada")), qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains(named), qPrintable(warnings[0]));
    QCOMPARE(storedCount(), 10);
    // Everything typed is still there, and the question can be completed and saved.
    checkControls(Expect::Inserting);
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("11"));
    QCOMPARE(box("EdtResp1")->text(), QStringLiteral("Rio"));
    QCOMPARE(box(boxName.toLatin1().constData())->text(), text);

    fillComplete();
    f.dialogs->answerText(f.data.photo());
    click("BtnFoto");
    click("BtnGravar");
    QCOMPARE(f.dialogs->texts(Kind::Warn).size(), 1);
    checkControls(Expect::Browse);
    QCOMPARE(storedCount(), 11);

    // The same check guards an edit.
    click("BtnEdit");
    box("EdtResp3")->setText(QString());
    click("BtnGravar");
    QCOMPARE(f.dialogs->texts(Kind::Warn).size(), 2);
    checkControls(Expect::Editing);
    click("BtnCancelar");
    QCOMPARE(box("EdtResp3")->text(), QStringLiteral("Salvador"));
    QCOMPARE(storedField(11, QStringLiteral("Resp3")).toString(), QStringLiteral("Salvador"));
}

void EditorTest::deleteAnsweredYesOrNo_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("shownAfter");

    QTest::newRow("no") << 4 << false << "4";
    QTest::newRow("yes, the next becomes current") << 4 << true << "5";
    QTest::newRow("yes on the last, the prior becomes current") << 10 << true << "9";
}

void EditorTest::deleteAnsweredYesOrNo()
{
    QFETCH(int, position);
    QFETCH(bool, yes);
    QFETCH(QString, shownAfter);
    Fixture f(10);
    openEditor();
    goTo(position);
    jornada().FrmCadastro()->ImgCadastro->clear(); // to see that the photo is loaded again
    yes ? f.dialogs->answerYes() : f.dialogs->answerNo();
    click("BtnExcluir");

    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].kind, Kind::ConfirmPlain);
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral("Deseja realmente excluir o registro?"));
    QCOMPARE(f.dialogs->shown[0].title, ApplicationTitle);
    QCOMPARE(storedCount(), yes ? 9 : 10);
    QCOMPARE(storedField(position, QStringLiteral("Id")).isNull(), yes);
    QCOMPARE(box("EdtNumero")->text(), shownAfter);
    checkControls(Expect::Browse);
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());
}

void EditorTest::deleteOnEmptyBank()
{
    Fixture f(0);
    openEditor();
    QVERIFY(f.dialogs->shown.isEmpty()); // an empty bank has no photo to load, and that is no error
    QVERIFY(jornada().FrmCadastro()->ImgCadastro->picture().isNull());
    click("BtnExcluir");
    QCOMPARE(f.dialogs->texts(), QStringList{QStringLiteral("Não há pergunta para excluir.")});
    QCOMPARE(f.dialogs->shown[0].kind, Kind::Warn);
    checkControls(Expect::Browse);
    QCOMPARE(storedCount(), 0);
}

void EditorTest::editOnEmptyBank()
{
    Fixture f(0);
    openEditor();
    click("BtnEdit");
    QCOMPARE(f.dialogs->texts(Kind::Warn).size(), 1);
    checkControls(Expect::Browse);
    // "+" is the way to the first question, number 1.
    click("BtnIncluir");
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("1"));
    checkControls(Expect::Inserting);
}

void EditorTest::search_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("found");

    // Index order of the texts: Pergunta 1, Pergunta 10, Pergunta 2, ..., Pergunta 9.
    QTest::newRow("exact") << false << "Pergunta 7" << "7";
    QTest::newRow("lower case") << false << "pergunta 7" << "7";
    QTest::newRow("upper case") << false << "PERGUNTA 7" << "7";
    QTest::newRow("prefix") << false << "perg" << "1";
    QTest::newRow("prefix of two") << false << "pergunta 1" << "1";
    QTest::newRow("between keys") << false << "Pergunta 55" << "6";
    QTest::newRow("after every key") << false << "zebra" << "9";
    QTest::newRow("cancel searches the empty term") << true << "" << "1";
    QTest::newRow("quote") << false << "Pergunta 3' or '1'='1" << "4";
    QTest::newRow("percent") << false << "%" << "1";
    QTest::newRow("statement") << false << "x'; drop table db; --" << "9";
    QTest::newRow("double quote") << false << "Pergunta 5\"" << "6";
}

void EditorTest::search()
{
    QFETCH(bool, cancel);
    QFETCH(QString, term);
    QFETCH(QString, found);
    Fixture f(10);
    openEditor();
    goTo(3);
    cancel ? f.dialogs->answerCancel() : f.dialogs->answerText(term);
    click("BdLocalizar");

    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].kind, Kind::Prompt);
    QCOMPARE(f.dialogs->shown[0].title, ApplicationTitle);
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral("Digite um termo para pesquisa"));
    QCOMPARE(f.dialogs->shown[0].maxLength, 255);
    QCOMPARE(box("EdtNumero")->text(), found);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta %1").arg(found));
    checkControls(Expect::Browse);
    QCOMPARE(storedCount(), 10);

    // The order is by number again: from 1, the next is 2 (in text order it would be 10).
    navButton("First")->click();
    navButton("Next")->click();
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("2"));
}

void EditorTest::searchShowsThePhotoOfTheQuestionFound()
{
    Fixture f(10);
    const QString red = bankPicture(f.data, QStringLiteral("vermelha.jpg"), Qt::red);
    runSql({QStringLiteral("update perguntas.db set foto = '%1' where id = 5").arg(red)});
    openEditor();
    QVERIFY(!showsRed());
    f.dialogs->answerText(QStringLiteral("Pergunta 5"));
    click("BdLocalizar");
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("5"));
    QVERIFY(showsRed());
    QCOMPARE(jornada().FrmCadastro()->ImgCadastro->fileName(), red);
    // And away from it again: a search that lands elsewhere drops it.
    f.dialogs->answerText(QStringLiteral("Pergunta 7"));
    click("BdLocalizar");
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("7"));
    QVERIFY(!showsRed());
}

void EditorTest::searchWhileEditingChangesNothing_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::newRow("inserting") << true;
    QTest::newRow("editing") << false;
}

void EditorTest::searchWhileEditingChangesNothing()
{
    QFETCH(bool, inserting);
    Fixture f(10);
    openEditor();
    goTo(2);
    click(inserting ? "BtnIncluir" : "BtnEdit");
    box("EdtPerg")->setText(QStringLiteral("Meio escrita")); // not savable: answers missing or changed
    if (!inserting)
        box("EdtResp1")->setText(QString());
    f.dialogs->answerText(QStringLiteral("Pergunta 7"));
    click("BdLocalizar");

    QCOMPARE(f.dialogs->texts(Kind::Prompt), QStringList()); // the search did not start
    QCOMPARE(f.dialogs->texts(Kind::Warn).size(), 1);
    checkControls(inserting ? Expect::Inserting : Expect::Editing);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Meio escrita"));
    QCOMPARE(storedCount(), 10);
    QCOMPARE(storedField(2, QStringLiteral("Pergunta")).toString(), QStringLiteral("Pergunta 2"));
    QCOMPARE(storedField(2, QStringLiteral("Resp1")).toString(), QStringLiteral("A 2"));

    click("BtnCancelar");
    checkControls(Expect::Browse);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 2"));
}

void EditorTest::photoChosenThenCancelledIsNotStored()
{
    Fixture f(10);
    openEditor();
    const QString red = writePicture(f.data, QStringLiteral("vermelha.jpg"), Qt::red);
    click("BtnEdit");
    f.dialogs->answerText(red);
    click("BtnFoto");
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Foto")), keptFoto(red));
    QVERIFY(bankHasPhoto(f.data, keptFoto(red)));
    click("BtnCancelar");
    QCOMPARE(storedField(1, QStringLiteral("Foto")).toString(), f.data.foto());
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Foto")), f.data.foto());
    QVERIFY(!showsRed());
    // A server takes back the photo it stored for the edit; a folder's file was never its own.
    QCOMPARE(bankHasPhoto(f.data, keptFoto(red)), !testingOnServer());

    // Cancelling the dialog itself changes nothing either.
    click("BtnEdit");
    f.dialogs->answerCancel();
    click("BtnFoto");
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Foto")), f.data.foto());
    QVERIFY(!jornada().FrmCadastro()->TbPerguntas->isModified());
}

void EditorTest::largePhotoOffersAFittedCopy_data()
{
    QTest::addColumn<bool>("wanted"); // the answer to the offer of a fitted copy
    QTest::addColumn<bool>("saved");  // "OK", else "X"
    QTest::newRow("copy wanted, question saved") << true << true;
    QTest::newRow("copy not wanted") << false << true;
    QTest::newRow("copy wanted, edit cancelled") << true << false;
}

// A photo far larger than the box: with the copy, the box shows it whole (its red frame at the
// top); without, its middle (all blue). A copy made for an edit that is cancelled goes again.
void EditorTest::largePhotoOffersAFittedCopy()
{
    QFETCH(bool, wanted);
    QFETCH(bool, saved);
    Fixture f(3);
    openEditor();
    QImage framed(1200, 900, QImage::Format_RGB32);
    framed.fill(Qt::red);
    for (int y = 225; y < 675; ++y)
        for (int x = 300; x < 900; ++x)
            framed.setPixel(x, y, qRgb(0, 0, 255));
    const QString original = f.data.file(QStringLiteral("praia.png"));
    QVERIFY(framed.save(original, "PNG"));
    const QByteArray originalBytes = readFile(original);
    const QString copy = onEngine(f.data.file(QStringLiteral("fotos/praia-ajustada.jpg")), QStringLiteral("praia-ajustada.jpg"));

    click("BtnEdit");
    f.dialogs->answerText(original);
    wanted ? f.dialogs->answerYes() : f.dialogs->answerNo();
    click("BtnFoto");
    const QList<ShownDialog> offers = [&] {
        QList<ShownDialog> some;
        for (const ShownDialog &d : f.dialogs->shown)
            if (d.kind == Kind::ConfirmPicture)
                some << d;
        return some;
    }();
    QCOMPARE(offers.size(), 1);
    QVERIFY2(offers[0].text.startsWith(QStringLiteral("Esta foto tem 1200 x 900 pixels")), qPrintable(offers[0].text));
    QCOMPARE(offers[0].picture.size(), QSize(137, 177));
    QCOMPARE(bankHasPhoto(f.data, copy), wanted);
    click(saved ? "BtnGravar" : "BtnCancelar");

    const QString stored = storedField(1, QStringLiteral("Foto")).toString();
    QCOMPARE(stored, !saved ? f.data.foto() : wanted ? copy : keptFoto(original));
    QCOMPARE(bankHasPhoto(f.data, copy), wanted && saved);
    QCOMPARE(bankHasPhoto(f.data, keptFoto(original)), !testingOnServer() || (saved && !wanted));
    QCOMPARE(readFile(original), originalBytes);
    if (saved) {
        const QImage shown = jornada().FrmCadastro()->ImgCadastro->picture();
        QCOMPARE(shown.size(), QSize(137, 177));
        const QColor top = shown.pixelColor(68, 4), middle = shown.pixelColor(68, 88);
        QVERIFY(middle.blue() > 200 && middle.red() < 60);
        QCOMPARE(top.red() > 200 && top.blue() < 60, wanted);
    }
}

// The same large photo fitted again names the copy kept for another question, and an edit cancelled
// after it leaves that copy in the bank.
void EditorTest::fittedCopyKeptBeforeOutlivesACancelledEdit()
{
    Fixture f(3);
    openEditor();
    QImage large(1200, 900, QImage::Format_RGB32);
    large.fill(Qt::red);
    const QString original = f.data.file(QStringLiteral("grande.png"));
    QVERIFY(large.save(original, "PNG"));
    const auto chooseFitted = [&] {
        click("BtnEdit");
        f.dialogs->answerText(original);
        f.dialogs->answerYes();
        click("BtnFoto");
    };
    chooseFitted();
    click("BtnGravar");
    const QString copy = storedField(1, QStringLiteral("Foto")).toString();
    QVERIFY(copy.endsWith(QLatin1String("grande-ajustada.jpg")));

    navButton("Next")->click();
    chooseFitted();
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Foto")), copy);
    click("BtnCancelar");
    QVERIFY(bankHasPhoto(f.data, copy));
    QCOMPARE(storedField(1, QStringLiteral("Foto")).toString(), copy);
}

void EditorTest::photoPathLimits_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");

    const QString dir = QStringLiteral("/fotos/");
    const QString ext = QStringLiteral(".jpg");
    QTest::newRow("255 characters") << dir + QString(255 - dir.size() - ext.size(), u'a') + ext << true;
    QTest::newRow("256 characters") << dir + QString(256 - dir.size() - ext.size(), u'a') + ext << false;
    QTest::newRow("accents of Windows-1252") << QStringLiteral("/fotos/coração.jpg") << true;
    QTest::newRow("outside Windows-1252") << QStringLiteral("/fotos/łódź.jpg") << false;
    // "bytes:N": a file of N bytes (sparse), made by the test.
    QTest::newRow("photo of 32 MB") << QStringLiteral("bytes:33554432") << true;
    QTest::newRow("photo over 32 MB") << QStringLiteral("bytes:33554433") << false;
}

void EditorTest::photoPathLimits()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    if (!path.startsWith(QLatin1String("bytes:")))
        FOLDER_ONLY("a photo named by its path");
    Fixture f(10);
    QTemporaryDir files;
    if (path.startsWith(QLatin1String("bytes:"))) {
        const qint64 size = path.mid(6).toLongLong();
        path = files.filePath(QStringLiteral("grande.jpg"));
        QFile big(path);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(size));
    }
    openEditor();
    click("BtnEdit");
    f.dialogs->answerText(path);
    click("BtnFoto");
    QCOMPARE(f.dialogs->texts(Kind::Warn).size(), accepted ? 0 : 1);
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->fieldText(QStringLiteral("Foto")),
             accepted ? keptFoto(path) : f.data.foto());
    checkControls(Expect::Editing);
    if (accepted) {
        // Stored whole (the file does not exist, which loading the photo then reports).
        click("BtnGravar");
        QCOMPARE(storedField(1, QStringLiteral("Foto")).toString(), keptFoto(path));
    }
}

void EditorTest::photoThatCannotBeLoaded_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents"); // empty: no file

    QTest::newRow("missing") << "sumiu.jpg" << QByteArray();
    QTest::newRow("not a picture") << "texto.jpg" << QByteArray("isto não é uma foto");
    QTest::newRow("unknown extension") << "foto.gif" << QByteArray("GIF89a");
}

void EditorTest::photoThatCannotBeLoaded()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    if (contents.isEmpty())
        FOLDER_ONLY("a question naming a file that is not there (a server stores the file when it is chosen)");
    Fixture f(10);
    const QString path = f.data.file(fileName);
    if (!contents.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    openEditor();
    navButton("Last")->click();
    click("BtnEdit");
    f.dialogs->answerText(path);
    click("BtnFoto");
    click("BtnGravar");

    // Saved, reported, and the editor is back to browsing with no photo shown.
    QCOMPARE(storedField(10, QStringLiteral("Foto")).toString(), keptFoto(path));
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 1);
    checkControls(Expect::Browse);
    QVERIFY(jornada().FrmCadastro()->ImgCadastro->picture().isNull());

    // Moving away and back: the other photos load, this one is reported again.
    navButton("Prior")->click();
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 1);
    navButton("Next")->click();
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 2);
    QVERIFY(jornada().FrmCadastro()->ImgCadastro->picture().isNull());
    // Still usable: choose a good photo and save.
    click("BtnEdit");
    f.dialogs->answerText(f.data.photo());
    click("BtnFoto");
    click("BtnGravar");
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 2);
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());
}

void EditorTest::leavingWhileEditing_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::newRow("inserting") << true;
    QTest::newRow("editing") << false;
}

void EditorTest::leavingWhileEditing()
{
    QFETCH(bool, inserting);
    Fixture f(10);
    openEditor();
    click(inserting ? "BtnIncluir" : "BtnEdit");
    box("EdtPerg")->setText(QStringLiteral("Pela metade"));
    jornada().FrmCadastro()->voltar->trigger();
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible());
    QCOMPARE(storedCount(), 10);

    // Opening again shows the question still being written, ready for "OK" or "X".
    openEditor();
    QVERIFY(jornada().FrmCadastro()->isVisible());
    QVERIFY(f.dialogs->shown.isEmpty());
    checkControls(inserting ? Expect::Inserting : Expect::Editing);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pela metade"));

    click("BtnCancelar");
    checkControls(Expect::Browse);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 1"));
    QCOMPARE(storedCount(), 10);
    QVERIFY(!jornada().FrmCadastro()->ImgCadastro->picture().isNull());

    // And after leaving in the browse state, the next opening is in the browse state.
    jornada().FrmCadastro()->voltar->trigger();
    openEditor();
    checkControls(Expect::Browse);
}

void EditorTest::refusedWriteKeepsTheRecord()
{
    Fixture f(10);
    // The table refuses every write, as a read-only one does.
    for (const char *change : {"insert", "update"})
        for (const QStringList &statement : refusingTrigger(QStringLiteral("perguntas"), QLatin1String(change),
                                                            QStringLiteral("attempt to write a readonly database")))
            runSql(statement);
    openEditor();

    click("BtnIncluir");
    fillComplete();
    f.dialogs->answerText(f.data.photo());
    click("BtnFoto");
    click("BtnGravar");
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 1);
    QVERIFY2(f.dialogs->texts(Kind::Error)[0].contains(QStringLiteral("readonly")),
             qPrintable(f.dialogs->texts(Kind::Error)[0]));
    checkControls(Expect::Inserting);
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("11"));
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Qual é a capital do Brasil?"));
    QCOMPARE(storedCount(), 10);
    click("BtnCancelar");
    checkControls(Expect::Browse);

    click("BtnEdit");
    box("EdtPerg")->setText(QStringLiteral("Pergunta 1 revista"));
    click("BtnGravar");
    QCOMPARE(f.dialogs->texts(Kind::Error).size(), 2);
    checkControls(Expect::Editing);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 1 revista"));
    QCOMPARE(storedField(1, QStringLiteral("Pergunta")).toString(), QStringLiteral("Pergunta 1"));
}

void EditorTest::numberBoxTakesOnlyNumbers()
{
    Fixture f(10);
    openEditor();
    click("BtnEdit");
    // Text that is no number is refused by the table: the error is shown and the box shows the
    // record's number again.
    box("EdtNumero")->setText(QStringLiteral("12a"));
    QCOMPARE(f.dialogs->texts(Kind::Error), QStringList{QStringLiteral("'12a' não é um número válido")});
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("1"));
    click("BtnGravar");
    QCOMPARE(storedField(1, QStringLiteral("Pergunta")).toString(), QStringLiteral("Pergunta 1"));
    QCOMPARE(storedCount(), 10);
}

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
