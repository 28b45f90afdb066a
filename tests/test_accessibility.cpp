// What a screen reader finds on every screen, through Qt's accessibility interfaces: names,
// roles, descriptions and states; the order in which Tab moves the focus; the focus ring; a whole
// game played with the keyboard alone; and message boxes. The interfaces are asked directly, as
// the desktop's accessibility bridge asks them; the offscreen platform has no bridge to notify.
#include "app/Jornada.h"
#include "game/GameSession.h"
#include "helpers/Input.h"
#include "helpers/Play.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestData.h"
#include "platform/DBEdit.h"
#include "platform/DBNavigator.h"
#include "platform/FocusFrame.h"
#include "platform/PictureBox.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"
#include "store/tables/TableEngine.h"
#include "tools/arte/Texts.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QAccessibleInterface *acc(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    return acc(object)->text(QAccessible::Name);
}

QString descriptionOf(QObject *object)
{
    return acc(object)->text(QAccessible::Description);
}

// The screen last brought in front.
QPointer<QWidget> front;

// What a window manager does when a screen comes in front: the offscreen platform has none.
bool bringToFront(QWidget *window)
{
    front = window;
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// The active window. A window manager gives the activation back to the screen in front when a
// message box over it closes; the offscreen platform does not.
QWidget *activeWindow()
{
    if (!QApplication::activeWindow() && front)
        bringToFront(front);
    return QApplication::activeWindow();
}

QWidget *focused()
{
    activeWindow();
    return QApplication::focusWidget();
}

QString focusedName()
{
    return focused() ? focused()->objectName() : QString();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused() ? focused() : activeWindow(), key, modifiers);
}

// The objects that take the focus, one Tab after another, `steps` times.
QStringList tabWalk(int steps, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QStringList walk;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(activeWindow(), Qt::Key_Tab, modifiers);
        walk << focusedName();
    }
    return walk;
}

// Presses Tab (or Shift+Tab) until `target` has the focus; false if it is never reached.
bool tabTo(QWidget *target, bool backwards = false)
{
    for (int i = 0; i < 20 && focused() != target; ++i)
        QTest::keyClick(activeWindow(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    return focused() == target;
}

// Every control of `window` that a user can meet: what takes the focus, buttons, boxes, labels
// and pictures. Qt's own helpers inside the menu bar are left out.
QList<QWidget *> controlsOf(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<FocusFrame *>(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) || qobject_cast<QAbstractButton *>(w)
            || qobject_cast<QLineEdit *>(w) || qobject_cast<QLabel *>(w) || qobject_cast<PictureBox *>(w))
            controls << w;
    }
    return controls;
}

struct Expected {
    const char *object;
    QAccessible::Role role;
    QString name;
};

void checkControls(QWidget *window, const QList<Expected> &expected)
{
    for (const Expected &e : expected) {
        QObject *object = window->findChild<QObject *>(QLatin1String(e.object));
        QVERIFY2(object, e.object);
        QAccessibleInterface *iface = acc(object);
        QVERIFY2(iface, e.object);
        QCOMPARE(iface->role(), e.role);
        QCOMPARE(iface->text(QAccessible::Name), e.name);
    }
}

// The menu items of a screen's menu bar as a screen reader lists them: name and the keys that
// reach them.
QStringList menuItems(QMainWindow *screen)
{
    QStringList items;
    QAccessibleInterface *bar = acc(screen->menuBar());
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface *item = bar->child(i);
        items << item->text(QAccessible::Name) + QLatin1Char('|') + item->text(QAccessible::Accelerator);
    }
    return items;
}

// The bank's question on screen, from its number and text as the screen reader reads the
// question label: "Pergunta 3 de 20: Pergunta 17" is question 17 of the bank. The first question
// of a game, and only the first, goes on to say how to reach the answers.
int questionIdHeard(int *place = nullptr)
{
    static const QRegularExpression heard(QStringLiteral(
        "^Pergunta (\\d+) de 20: Pergunta (\\d+)(\\. Tab leva às alternativas; as setas passam de uma alternativa a outra\\.)?$"));
    const auto match = heard.match(nameOf(jornada().FrmPerguntas()->LblPergunta));
    if (!match.hasMatch() || match.captured(3).isEmpty() != (match.captured(1) != QLatin1String("1")))
        return 0;
    if (place)
        *place = match.captured(1).toInt();
    return match.captured(2).toInt();
}

// "Alternativa 2 de 4: B 17" -> 2
int answerPlaceHeard()
{
    static const QRegularExpression heard(QStringLiteral("^Alternativa (\\d) de 4: "));
    const auto match = heard.match(nameOf(focused()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Closes every real message box that comes up with Enter, noting what a screen reader announces
// of it: its role, its title and its text.
class MessageBoxListener : public QObject {
public:
    QStringList heard;

    MessageBoxListener()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QAccessibleInterface *iface = acc(box);
            heard << QStringLiteral("%1|%2|%3")
                         .arg(iface->role() == QAccessible::AlertMessage ? QStringLiteral("alerta")
                                                                         : QStringLiteral("?"))
                         .arg(iface->text(QAccessible::Name), iface->text(QAccessible::Value));
            QTest::keyClick(box, m_key);
        });
        m_timer.start(5);
    }
    void answerWith(Qt::Key key) { m_key = key; }

private:
    QTimer m_timer;
    Qt::Key m_key = Qt::Key_Return;
};

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:

    void everyControlHasAName();
    void textBoxesAnswerEveryTextRequest();
    void enterPressesNoButton();
    void startScreen();
    void instructionsScreen();
    void questionScreen();
    void resultsScreen();
    void loginScreens();
    void editorBrowsing();
    void editorEditing();
    void focusRing();
    void wholeGameByKeyboard();
    void messageBoxesAreAnnouncedAndAnsweredByKeyboard();
};

void AccessibilityTest::everyControlHasAName()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    // Screens are named as a voice reads them; their captions spell the game's name in digits.
    QStringList screenNames;
    for (ScreenWindow *screen : screens.all())
        screenNames << nameOf(screen);
    const QString game = QStringLiteral("Órbita e Cristal: Jornada do Saber");
    QCOMPARE(screenNames, (QStringList{game, game, game + " - CADASTRO", game + " - RESULTADO", "SENHA SOLICITADA",
                                       game + " - INSTRUÇÕES", "ALTERAÇÃO DE SENHA"}));
    for (ScreenWindow *screen : screens.all()) {
        const QList<QWidget *> controls = controlsOf(screen);
        QVERIFY(!controls.isEmpty());
        for (QWidget *w : controls)
            QVERIFY2(!nameOf(w).isEmpty(), qPrintable(screen->objectName() + QLatin1Char('.') + w->objectName()));
    }
    // The tables behind the screens go by their names too, for tools that look for them.
    QVERIFY(jornada().FrmCadastro()->findChild<Table *>(QStringLiteral("TbPerguntas"), Qt::FindDirectChildrenOnly));

    // Each box is labelled by the text beside it, which a screen reader reads with it.
    const struct {
        QWidget *screen;
        const char *label, *box;
    } labelled[] = {{jornada().FrmInicial(), "Label1", "EdtNome"},
                    {jornada().FrmSenha(), "Label1", "EdtNome"},
                    {jornada().FrmSenha(), "Label2", "EdtSenha"},
                    {jornada().FrmAlterarSenha(), "Label1", "EdtSenhaAtual"},
                    {jornada().FrmAlterarSenha(), "Label2", "EdtNovaSenha"},
                    {jornada().FrmAlterarSenha(), "Label3", "EdtConfirmacao"}};
    for (const auto &l : labelled) {
        auto *label = l.screen->findChild<QLabel *>(QLatin1String(l.label));
        QVERIFY2(label && label->buddy() == l.screen->findChild<QWidget *>(QLatin1String(l.box)), l.box);
    }
}

// A screen reader asks a text box for the character, word, sentence or line at, before and after
// any offset, the end included (Ctrl+Left at the end of a name asks for the word there). Every
// request answers, with a span of the text as the box shows it; the spans at successive offsets
// tile the text; one attribute run covers it all; a password box shows only its mask.
void AccessibilityTest::textBoxesAnswerEveryTextRequest()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    const QString typed = QStringLiteral("Pico da Neblina. É alto?  Sim!");
    const QAccessible::TextBoundaryType boundaries[] = {
        QAccessible::CharBoundary, QAccessible::WordBoundary,      QAccessible::SentenceBoundary,
        QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary};
    // A screen reader moves the cursor, selects and edits through the same interface; the box's
    // own limits still hold.
    QLineEdit *name = jornada().FrmInicial()->EdtNome;
    name->setText(QStringLiteral("Ana Maria"));
    QAccessibleTextInterface *text = acc(name)->textInterface();
    text->setCursorPosition(3);
    QCOMPARE(name->cursorPosition(), 3);
    QCOMPARE(text->cursorPosition(), 3);
    text->addSelection(4, 9);
    QCOMPARE(name->selectedText(), QStringLiteral("Maria"));
    int start = 0, end = 0;
    QCOMPARE(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(4, 9));
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    QAccessibleEditableTextInterface *editable = acc(name)->editableTextInterface();
    editable->replaceText(0, 3, QStringLiteral("Bia"));
    editable->insertText(int(name->text().size()), QStringLiteral(" Souza"));
    editable->deleteText(3, 9);
    QCOMPARE(name->text(), QStringLiteral("Bia Souza"));
    editable->insertText(0, QStringLiteral("😀")); // outside Windows-1252: refused, as typing is
    editable->insertText(0, QString(30, QLatin1Char('x')));
    QCOMPARE(name->text(), QString(QString(30, QLatin1Char('x')) + QStringLiteral("Bia Souza")).left(name->maxLength()));


    int boxes = 0;
    for (ScreenWindow *screen : screens.all()) {
        for (QLineEdit *box : screen->findChildren<QLineEdit *>()) {
            const QString where = screen->objectName() + QLatin1Char('.') + box->objectName();
            box->setMaxLength(100);
            box->setValidator(nullptr);
            box->setText(typed);
            // A box bound to a table may keep less of it (the number box keeps a number).
            const QString held = box->text();
            QVERIFY2(!held.isEmpty(), qPrintable(where));
            ++boxes;
            QAccessibleTextInterface *text = acc(box)->textInterface();
            QVERIFY2(text, qPrintable(where));
            const bool masked = box->echoMode() != QLineEdit::Normal;
            QCOMPARE(acc(box)->state().passwordEdit, masked);
            QCOMPARE(acc(box)->state().editable, !box->isReadOnly());
            QCOMPARE(acc(box)->state().readOnly, box->isReadOnly());
            const QString shown = masked ? QString(held.size(), QLatin1Char('*')) : held;
            const int length = int(shown.size());
            QCOMPARE(text->characterCount(), length);
            QCOMPARE(text->text(0, length), shown);
            QCOMPARE(acc(box)->text(QAccessible::Value), shown);
            for (QAccessible::TextBoundaryType boundary : boundaries) {
                QString tiled;
                int lastEnd = 0;
                for (int offset = 0; offset <= length; ++offset) {
                    const QString at = QStringLiteral("%1 boundary %2 offset %3").arg(where).arg(boundary).arg(offset);
                    int start = -9, end = -9;
                    const QString piece = text->textAtOffset(offset, boundary, &start, &end);
                    QVERIFY2(0 <= start && start <= end && end <= length, qPrintable(at));
                    QCOMPARE(piece, shown.mid(start, end - start));
                    if (offset < length) {
                        QVERIFY2(start <= offset && offset < end, qPrintable(at));
                        if (start == lastEnd) {
                            tiled += piece;
                            lastEnd = end;
                        }
                    } else if (boundary == QAccessible::CharBoundary) {
                        QVERIFY2(piece.isEmpty() && start == length, qPrintable(at));
                    } else {
                        QVERIFY2(end == length && !piece.isEmpty(), qPrintable(at));
                    }
                    // The span before ends where this one starts, the span after starts where it ends.
                    int bStart = -9, bEnd = -9, aStart = -9, aEnd = -9;
                    const QString before = text->textBeforeOffset(offset, boundary, &bStart, &bEnd);
                    const QString after = text->textAfterOffset(offset, boundary, &aStart, &aEnd);
                    if (start > 0)
                        QVERIFY2(bEnd == start && before == shown.mid(bStart, bEnd - bStart) && !before.isEmpty(),
                                 qPrintable(at));
                    else
                        QVERIFY2(before.isEmpty(), qPrintable(at));
                    if (end < length)
                        QVERIFY2(aStart == end && after == shown.mid(aStart, aEnd - aStart) && !after.isEmpty(),
                                 qPrintable(at));
                    else
                        QVERIFY2(after.isEmpty(), qPrintable(at));
                }
                QCOMPARE(tiled, shown);
            }
            // Words are words: the second word of the name is "da".
            if (shown == typed) {
                int start = 0, end = 0;
                QCOMPARE(text->textAtOffset(6, QAccessible::WordBoundary, &start, &end), QStringLiteral("da"));
                QCOMPARE(text->textAtOffset(length, QAccessible::WordBoundary, &start, &end), QStringLiteral("!"));
                QCOMPARE(text->textAtOffset(3, QAccessible::SentenceBoundary, &start, &end),
                         QStringLiteral("Pico da Neblina. "));
            }
            for (int offset = 0; offset <= length; ++offset) {
                int start = -9, end = -9;
                text->attributes(offset, &start, &end);
                QVERIFY2(start == 0 && end == length, qPrintable(where));
            }
        }
    }
    // The name, the login, the three password boxes and the editor's fields.
    QVERIFY(boxes >= 10);

}

void AccessibilityTest::enterPressesNoButton()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    for (ScreenWindow *screen : screens.all()) {
        screen->showScreen();
        for (QPushButton *button : screen->findChildren<QPushButton *>()) {
            if (!button->isEnabled())
                continue;
            QSignalSpy clicked(button, &QPushButton::clicked);
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter);
            QVERIFY2(clicked.isEmpty(), qPrintable(screen->objectName() + QLatin1Char('.') + button->objectName()));
        }
        screen->hide();
    }
    QVERIFY(dialogs->shown.isEmpty());
}

void AccessibilityTest::startScreen()
{
    TempDataDir data(25);
    data.writeRecordFile("Ana\r\n85\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    QVERIFY(bringToFront(jornada().FrmInicial()));

    checkControls(jornada().FrmInicial(), {
        {"EdtNome", QAccessible::EditableText, "Nome do jogador"},
        {"BtnJogar", QAccessible::Button, "Jogar"},
        {"Label1", QAccessible::StaticText, "Digite seu nome:"},
        {"LblRecordeAtual", QAccessible::StaticText, "Recorde Atual: Ana - 85 pontos"},
        {"Image1", QAccessible::Graphic, "Arte do título: Jornada do Saber"},
    });
    QVERIFY(!descriptionOf(jornada().FrmInicial()->EdtNome).isEmpty());
    // The caption of the name box is its label.
    const auto labelled = acc(jornada().FrmInicial()->EdtNome)->relations(QAccessible::Label);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.first().first->object(), jornada().FrmInicial()->Label1);
    QCOMPARE(menuItems(jornada().FrmInicial()),
             (QStringList{"Cadastrar Novas Perguntas|Alt+C", "Instruções|Alt+I", "Sair|Alt+S"}));

    // The name box has the focus, and Tab goes to "Jogar", then to the record line.
    QCOMPARE(focused(), jornada().FrmInicial()->EdtNome);
    QVERIFY(acc(jornada().FrmInicial()->EdtNome)->state().focused);
    QCOMPARE(tabWalk(3), (QStringList{"BtnJogar", "LblRecordeAtual", "EdtNome"}));
    QCOMPARE(tabWalk(2, Qt::ShiftModifier), (QStringList{"LblRecordeAtual", "BtnJogar"}));
    QVERIFY(acc(jornada().FrmInicial()->LblRecordeAtual)->state().focusable);
    QVERIFY(!acc(jornada().FrmInicial()->Label1)->state().focusable);

    // A new record line is read at once with its caption.
    jornada().FrmInicial()->ShowRecordLine(QStringLiteral("Bia - 90 pontos"));
    QCOMPARE(nameOf(jornada().FrmInicial()->LblRecordeAtual), QStringLiteral("Recorde Atual: Bia - 90 pontos"));

    // The menu is reached with Alt and the item's letter.
    press(Qt::Key_I, Qt::AltModifier);
    QVERIFY(jornada().FrmInstrucao()->isVisible());
    press(Qt::Key_C, Qt::AltModifier);
    QVERIFY(jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));
}

void AccessibilityTest::instructionsScreen()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    jornada().FrmInicial()->MnuInstClick();
    QVERIFY(bringToFront(jornada().FrmInstrucao()));

    // The rules painted on the picture are its description, and the picture has the focus as the
    // screen comes up, so they are read at once.
    QCOMPARE(focused(), jornada().FrmInstrucao()->Image1);
    QAccessibleInterface *picture = acc(jornada().FrmInstrucao()->Image1);
    QCOMPARE(picture->role(), QAccessible::Graphic);
    QCOMPARE(picture->text(QAccessible::Name), QStringLiteral("Instruções"));
    QCOMPARE(picture->text(QAccessible::Description), arte::texto::regras.join(QLatin1Char('\n')));
    QCOMPARE(tabWalk(1), QStringList{"Image1"});
    QCOMPARE(menuItems(jornada().FrmInstrucao()), QStringList{"Voltar|Alt+V"});

    press(Qt::Key_V, Qt::AltModifier);
    QVERIFY(!jornada().FrmInstrucao()->isVisible());
}

void AccessibilityTest::questionScreen()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    Play::start(QStringLiteral("Ana"));
    QVERIFY(bringToFront(jornada().FrmPerguntas()));

    const int first = questionIdHeard();
    QVERIFY(first >= 1 && first <= 25);
    checkControls(jornada().FrmPerguntas(), {
        {"LblQtePerg", QAccessible::StaticText, "Pergunta 1 de 20"},
        {"LblPergunta", QAccessible::StaticText,
         QStringLiteral("Pergunta 1 de 20: Pergunta %1. Tab leva às alternativas; as setas passam de uma "
                        "alternativa a outra.").arg(first)},
        {"RBResp1", QAccessible::RadioButton, QStringLiteral("Alternativa 1 de 4: A %1").arg(first)},
        {"RBResp2", QAccessible::RadioButton, QStringLiteral("Alternativa 2 de 4: B %1").arg(first)},
        {"RBResp3", QAccessible::RadioButton, QStringLiteral("Alternativa 3 de 4: C %1").arg(first)},
        {"RBResp4", QAccessible::RadioButton, QStringLiteral("Alternativa 4 de 4: D %1").arg(first)},
        {"BtnOK", QAccessible::Button, "OK"},
        {"BtnPular", QAccessible::Button, "Pular"},
        {"ImgPerg", QAccessible::Graphic, "Foto da pergunta: Um retângulo azul"},
        {"BtnDesistir", QAccessible::Button, "Desistir"},
    });
    const TFrmPerguntas *questions = jornada().FrmPerguntas();
    for (QWidget *w : std::initializer_list<QWidget *>{questions->RBResp1, questions->BtnOK, questions->BtnPular,
                                                       questions->BtnDesistir})
        QVERIFY2(!descriptionOf(w).isEmpty(), qPrintable(w->objectName()));
    QVERIFY(!acc(jornada().FrmPerguntas()->RBResp1)->state().checked);
    QVERIFY(acc(jornada().FrmPerguntas()->RBResp1)->state().checkable);

    // The question is read first; the four answers are one stop, then the buttons and the photo.
    QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
    QCOMPARE(tabWalk(6), (QStringList{"RBResp1", "BtnOK", "BtnPular", "ImgPerg", "BtnDesistir", "LblPergunta"}));
    // The arrows go from answer to answer; Space marks one.
    QVERIFY(tabTo(jornada().FrmPerguntas()->RBResp1));
    press(Qt::Key_Space);
    QVERIFY(acc(jornada().FrmPerguntas()->RBResp1)->state().checked);
    press(Qt::Key_Down);
    QCOMPARE(focused(), jornada().FrmPerguntas()->RBResp2);
    QVERIFY(jornada().FrmPerguntas()->RBResp2->isChecked());
    QVERIFY(!acc(jornada().FrmPerguntas()->RBResp1)->state().checked);
    QCOMPARE(tabWalk(1, Qt::ShiftModifier), QStringList{"LblPergunta"});
    QCOMPARE(tabWalk(2), (QStringList{"RBResp2", "BtnOK"}));

    // After OK the names follow the next question. The labels' names are composed, never set:
    // a label with a name of its own would not tell screen readers that its text changed.
    press(Qt::Key_Space);
    QVERIFY(jornada().FrmPerguntas()->LblQtePerg->accessibleName().isEmpty());
    QVERIFY(jornada().FrmPerguntas()->LblPergunta->accessibleName().isEmpty());
    int place = 0;
    const int second = questionIdHeard(&place);
    QCOMPARE(place, 2);
    QVERIFY(second >= 1 && second <= 25);
    QCOMPARE(nameOf(jornada().FrmPerguntas()->LblQtePerg), QStringLiteral("Pergunta 2 de 20"));
    QCOMPARE(nameOf(jornada().FrmPerguntas()->RBResp3), QStringLiteral("Alternativa 3 de 4: C %1").arg(second));
    QCOMPARE(nameOf(jornada().FrmPerguntas()->ImgPerg), QStringLiteral("Foto da pergunta: Um retângulo azul"));
    // The focus went to the new question. "Pular" is left out once it is disabled; the question
    // announces that it has the focus.
    QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
    jornada().FrmPerguntas()->BtnPular->setEnabled(false);
    QVERIFY(acc(jornada().FrmPerguntas()->BtnPular)->state().disabled);
    // The answers are entered at the first again, not where the last question was marked.
    QCOMPARE(tabWalk(5), (QStringList{"RBResp1", "BtnOK", "ImgPerg", "BtnDesistir", "LblPergunta"}));
    QVERIFY(acc(jornada().FrmPerguntas()->LblPergunta)->state().focused);

    // An answer holding "&" is read as written.
    QuestionView ampersand;
    ampersand.answers = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("Tom & Jerry")};
    jornada().FrmPerguntas()->ShowQuestion(ampersand);
    QCOMPARE(nameOf(jornada().FrmPerguntas()->RBResp4), QStringLiteral("Alternativa 4 de 4: Tom & Jerry"));
    // A question with no photo says so.
    jornada().FrmPerguntas()->ImgPerg->clear();
    QCOMPARE(nameOf(jornada().FrmPerguntas()->ImgPerg), QStringLiteral("Pergunta sem foto"));
}

void AccessibilityTest::resultsScreen()
{
    TempDataDir data(30);
    data.writeRecordFile("Ana\r\n85\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    Play::game(QStringLiteral("Bia"), 15, 5, 2); // 75 - 15 - 2 = 58 points
    QVERIFY(jornada().FrmResult()->isVisible());
    QVERIFY(bringToFront(jornada().FrmResult()));

    // Every value is read with the caption of its box in the picture.
    using namespace arte::texto;
    checkControls(jornada().FrmResult(), {
        {"LblNome", QAccessible::StaticText,
         "Resultado de Bia: 15 certas, 5 erradas, 2 não respondidas; pontuação final: 58"},
        {"LblCertas", QAccessible::StaticText, resultadoCertas + " 15"},
        {"LblErradas", QAccessible::StaticText, resultadoErradas + " 5"},
        {"LblNaoResp", QAccessible::StaticText, resultadoNaoRespondidas + " 2"},
        {"LblPontos", QAccessible::StaticText, resultadoPontuacao + " 58"},
        {"LblNomeRecord", QAccessible::StaticText, "Recorde atual, nome: Ana"},
        {"LblPontosRecord", QAccessible::StaticText, "Recorde atual, pontos: 85"},
        {"BtnEncerrar", QAccessible::Button, "Encerrar"},
        {"BtnJogarNovamente", QAccessible::Button, "Jogar Novamente"},
    });

    // The whole result is heard first; Tab goes on to the buttons and then through the values.
    QCOMPARE(focused(), jornada().FrmResult()->LblNome);
    QCOMPARE(tabWalk(9), (QStringList{"BtnEncerrar", "BtnJogarNovamente", "LblCertas", "LblErradas", "LblNaoResp",
                                     "LblPontos", "LblNomeRecord", "LblPontosRecord", "LblNome"}));
    jornada().FrmResult()->LblCertas->setText(QStringLiteral("1"));
    jornada().FrmResult()->LblNaoResp->setText(QStringLiteral("1"));
    QCOMPARE(nameOf(jornada().FrmResult()->LblNome),
             QStringLiteral("Resultado de Bia: 1 certa, 5 erradas, 1 não respondida; pontuação final: 58"));

    // An empty value is not read as nothing at all.
    jornada().FrmResult()->LblPontosRecord->setText(QString());
    for (QLabel *value : jornada().FrmResult()->findChildren<QLabel *>())
        QVERIFY(value->accessibleName().isEmpty());
    QCOMPARE(nameOf(jornada().FrmResult()->LblPontosRecord), QStringLiteral("Recorde atual, pontos: não consta"));
}

void AccessibilityTest::loginScreens()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    jornada().FrmInicial()->CadPerClick();
    QVERIFY(bringToFront(jornada().FrmSenha()));

    checkControls(jornada().FrmSenha(), {
        {"EdtNome", QAccessible::EditableText, "Usuário"},
        {"EdtSenha", QAccessible::EditableText, "Senha"},
        {"BtnOk", QAccessible::Button, "OK"},
        {"BtnCancel", QAccessible::Button, "Cancelar"},
    });
    QVERIFY(acc(jornada().FrmSenha()->EdtSenha)->state().passwordEdit);
    QVERIFY(!acc(jornada().FrmSenha()->EdtNome)->state().passwordEdit);
    QCOMPARE(acc(jornada().FrmSenha()->EdtSenha)->relations(QAccessible::Label).value(0).first->object(),
             jornada().FrmSenha()->Label2);
    QCOMPARE(menuItems(jornada().FrmSenha()), QStringList{"Alterar Senha|Alt+A"});

    // The password has the focus; Tab goes on to "OK", as the screen reads top to bottom.
    QCOMPARE(focused(), jornada().FrmSenha()->EdtSenha);
    QCOMPARE(tabWalk(4), (QStringList{"BtnOk", "BtnCancel", "EdtNome", "EdtSenha"}));

    // A login typed and confirmed with the keyboard alone opens the editor.
    QTest::keyClicks(focused(), QStringLiteral("1234"));
    QVERIFY(tabTo(jornada().FrmSenha()->BtnOk));
    press(Qt::Key_Space);
    QVERIFY(jornada().FrmCadastro()->isVisible());

    // Alt+A opens the password change, whose boxes are read by their captions.
    QVERIFY(bringToFront(jornada().FrmSenha()));
    press(Qt::Key_A, Qt::AltModifier);
    QVERIFY(jornada().FrmAlterarSenha()->isVisible());
    QVERIFY(bringToFront(jornada().FrmAlterarSenha()));
    checkControls(jornada().FrmAlterarSenha(), {
        {"EdtSenhaAtual", QAccessible::EditableText, "Senha atual"},
        {"EdtNovaSenha", QAccessible::EditableText, "Nova senha"},
        {"EdtConfirmacao", QAccessible::EditableText, "Confirmar senha"},
        {"BtnAlterarSenha", QAccessible::Button, "OK"},
        {"BtnCancel", QAccessible::Button, "Cancelar"},
    });
    QVERIFY(acc(jornada().FrmAlterarSenha()->EdtNovaSenha)->state().passwordEdit);
    QCOMPARE(focused(), jornada().FrmAlterarSenha()->EdtSenhaAtual);
    QCOMPARE(tabWalk(5), (QStringList{"EdtNovaSenha", "EdtConfirmacao", "BtnAlterarSenha", "BtnCancel",
                                     "EdtSenhaAtual"}));
}

void AccessibilityTest::editorBrowsing()
{
    TempDataDir data(10);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    jornada().FrmCadastro()->OpenEditor();
    QVERIFY(bringToFront(jornada().FrmCadastro()));

    checkControls(jornada().FrmCadastro(), {
        {"EdtNumero", QAccessible::EditableText, "Número da pergunta"},
        {"EdtPerg", QAccessible::EditableText, "Pergunta"},
        {"EdtResp1", QAccessible::EditableText, "Resposta 1"},
        {"EdtResp2", QAccessible::EditableText, "Resposta 2"},
        {"EdtResp3", QAccessible::EditableText, "Resposta 3"},
        {"EdtResp4", QAccessible::EditableText, "Resposta 4"},
        {"EdtCorreta", QAccessible::EditableText, "Resposta correta"},
        {"BtnIncluir", QAccessible::Button, "Incluir"},
        {"BtnExcluir", QAccessible::Button, "Excluir"},
        {"BtnEdit", QAccessible::Button, "Editar"},
        {"BtnGravar", QAccessible::Button, "Gravar"},
        {"BtnCancelar", QAccessible::Button, "Cancelar"},
        {"BdLocalizar", QAccessible::Button, "Localizar"},
        {"BtnFoto", QAccessible::Button, "Selecionar foto"},
        {"ImgCadastro", QAccessible::Graphic, "Foto: foto.jpg. Um retângulo azul"},
        {"First", QAccessible::Button, "Primeiro registro. Mostrando a pergunta número 1: Pergunta 1"},
        {"Prior", QAccessible::Button, "Registro anterior. Mostrando a pergunta número 1: Pergunta 1"},
        {"Next", QAccessible::Button, "Próximo registro. Mostrando a pergunta número 1: Pergunta 1"},
        {"Last", QAccessible::Button, "Último registro. Mostrando a pergunta número 1: Pergunta 1"},
    });
    QCOMPARE(menuItems(jornada().FrmCadastro()), QStringList{"Voltar|Alt+V"});
    // While browsing the boxes are read-only, not disabled: they take the focus and are read.
    for (QWidget *box : {(QWidget *)jornada().FrmCadastro()->EdtPerg, (QWidget *)jornada().FrmCadastro()->EdtCorreta,
                         (QWidget *)jornada().FrmCadastro()->EdtNumero}) {
        QVERIFY(acc(box)->state().readOnly && !acc(box)->state().editable);
        QVERIFY(!acc(box)->state().disabled && acc(box)->state().focusable);
    }
    QCOMPARE(acc(jornada().FrmCadastro()->EdtPerg)->text(QAccessible::Value), QStringLiteral("Pergunta 1"));
    QCOMPARE(descriptionOf(jornada().FrmCadastro()->BtnFoto), QStringLiteral("Foto escolhida: ") + data.photo());

    // At the first question "First" and "Prior" are disabled and left out.
    auto *next = jornada().FrmCadastro()->DBNav->button(DBNavigator::Button::Next);
    next->setFocus();
    QCOMPARE(tabWalk(14), (QStringList{"Last", "EdtPerg", "EdtResp1", "EdtResp2", "EdtResp3", "EdtResp4", "EdtCorreta",
                                      "EdtNumero", "ImgCadastro", "BtnIncluir", "BtnExcluir", "BtnEdit", "BdLocalizar",
                                      "Next"}));
    // Space on "Next" moves on, and the button's name, read out as it changes, says where to.
    press(Qt::Key_Space);
    QCOMPARE(jornada().FrmCadastro()->EdtNumero->text(), QStringLiteral("2"));
    QCOMPARE(nameOf(next), QStringLiteral("Próximo registro. Mostrando a pergunta número 2: Pergunta 2"));
    QCOMPARE(nameOf(jornada().FrmCadastro()->DBNav->button(DBNavigator::Button::First)),
             QStringLiteral("Primeiro registro. Mostrando a pergunta número 2: Pergunta 2"));
    // Typing into a browsed box changes nothing.
    QVERIFY(tabTo(jornada().FrmCadastro()->EdtResp2));
    QTest::keyClicks(focused(), QStringLiteral("xyz"));
    QCOMPARE(jornada().FrmCadastro()->EdtResp2->text(), QStringLiteral("B 2"));
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->state(), Table::State::Browse);
}

void AccessibilityTest::editorEditing()
{
    TempDataDir data(10);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    jornada().FrmCadastro()->OpenEditor();
    QVERIFY(bringToFront(jornada().FrmCadastro()));

    // "+" with the keyboard: the focus goes to the question box and Tab runs through the fields.
    jornada().FrmCadastro()->BtnIncluir->setFocus();
    press(Qt::Key_Space);
    QCOMPARE(focused(), jornada().FrmCadastro()->EdtPerg);
    QVERIFY(!acc(jornada().FrmCadastro()->EdtPerg)->state().disabled);
    QCOMPARE(nameOf(jornada().FrmCadastro()->DBNav->button(DBNavigator::Button::Next)),
             QStringLiteral("Próximo registro. Mostrando a pergunta número 11, ainda sem texto."));
    QCOMPARE(tabWalk(10), (QStringList{"EdtResp1", "EdtResp2", "EdtResp3", "EdtResp4", "EdtCorreta", "EdtNumero",
                                      "BtnFoto", "BtnGravar", "BtnCancelar", "BdLocalizar"}));
    QVERIFY(acc(jornada().FrmCadastro()->EdtNumero)->state().readOnly);

    // The photo button says which photo was chosen before the question is saved.
    QCOMPARE(descriptionOf(jornada().FrmCadastro()->BtnFoto), QStringLiteral("Nenhuma foto escolhida."));
    dialogs->answerText(data.photo());
    jornada().FrmCadastro()->BtnFoto->setFocus();
    press(Qt::Key_Space);
    QCOMPARE(descriptionOf(jornada().FrmCadastro()->BtnFoto), QStringLiteral("Foto escolhida: ") + data.photo());

    // A question typed and saved with the keyboard alone.
    jornada().FrmCadastro()->EdtPerg->setFocus();
    for (const QString &text : {QStringLiteral("Quanto é 2 + 2?"), QStringLiteral("3"), QStringLiteral("4"),
                                QStringLiteral("5"), QStringLiteral("22"), QStringLiteral("4")}) {
        typeText(focused(), text);
        press(Qt::Key_Tab);
    }
    QVERIFY(tabTo(jornada().FrmCadastro()->BtnGravar));
    press(Qt::Key_Space);
    QCOMPARE(dialogs->texts(DialogBackend::Kind::Warn), QStringList());
    QVERIFY(jornada().FrmCadastro()->ImgCadastro->isVisible());
    QCOMPARE(nameOf(jornada().FrmCadastro()->ImgCadastro), QStringLiteral("Foto: foto.jpg. Um retângulo azul"));
    QCOMPARE(nameOf(jornada().FrmCadastro()->DBNav->button(DBNavigator::Button::First)),
             QStringLiteral("Primeiro registro. Mostrando a pergunta número 11: Quanto é 2 + 2?"));
}

void AccessibilityTest::focusRing()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    QVERIFY(bringToFront(jornada().FrmInicial()));
    auto *ring = jornada().FrmInicial()->findChild<FocusFrame *>();
    QVERIFY(ring);

    // Around the focused control, as far as the window shows it.
    jornada().FrmInicial()->BtnJogar->setFocus();
    const QPushButton *play = jornada().FrmInicial()->BtnJogar;
    const QRect button(play->mapTo(jornada().FrmInicial(), QPoint(0, 0)), play->size());
    const int out = FocusFrame::Outside;
    QCOMPARE(ring->ringRect(), button.adjusted(-out, -out, out, out));
    // Painted in yellow between two dark lines, over whatever lies under it.
    const QImage shot = jornada().FrmInicial()->grab().toImage();
    const int y = button.center().y();
    QCOMPARE(QColor(shot.pixel(button.left() - out, y)), QColor(0x1a, 0x1a, 0x1a));
    QCOMPARE(QColor(shot.pixel(button.left() - out + 1, y)), QColor(0xff, 0xcc, 0x00));
    QCOMPARE(QColor(shot.pixel(button.left() - out + 2, y)), QColor(0xff, 0xcc, 0x00));
    QCOMPARE(QColor(shot.pixel(button.left(), y)), QColor(0x1a, 0x1a, 0x1a));
    QVERIFY(QColor(shot.pixel(button.left() + 1, y)) != QColor(0x1a, 0x1a, 0x1a));
    QVERIFY(QColor(shot.pixel(button.center())) != QColor(0xff, 0xcc, 0x00));
    // All round: the bottom edge too.
    const int x = button.center().x();
    QCOMPARE(QColor(shot.pixel(x, button.bottom() + out)), QColor(0x1a, 0x1a, 0x1a));
    QCOMPARE(QColor(shot.pixel(x, button.bottom() + out - 1)), QColor(0xff, 0xcc, 0x00));
    QCOMPARE(QColor(shot.pixel(x, button.bottom())), QColor(0x1a, 0x1a, 0x1a));

    // It moves with the focus, and only the active window shows one.
    QTest::keyClick(jornada().FrmInicial(), Qt::Key_Tab);
    const QRect line(jornada().FrmInicial()->LblRecordeAtual->mapTo(jornada().FrmInicial(), QPoint(0, 0)),
                     jornada().FrmInicial()->LblRecordeAtual->size());
    QCOMPARE(ring->ringRect(), line.adjusted(-out, -out, out, out));
    jornada().FrmInicial()->MnuInstClick();
    QVERIFY(bringToFront(jornada().FrmInstrucao()));
    QVERIFY(ring->ringRect().isEmpty());
    // A picture larger than the area that shows it gets its ring along that area's edges: under
    // the menu bar, at the window's sides and bottom.
    const QRect instructions = jornada().FrmInstrucao()->findChild<FocusFrame *>()->ringRect();
    QCOMPARE(instructions.top(), jornada().FrmInstrucao()->content()->y() - out);
    QCOMPARE(instructions.left(), 0);
    QCOMPARE(instructions.right(), jornada().FrmInstrucao()->width() - 1);
    QCOMPARE(instructions.bottom(), jornada().FrmInstrucao()->height() - 1);
}

void AccessibilityTest::wholeGameByKeyboard()
{
    TempDataDir data(30);
    ScreenSet screens;
    SequenceRandomGuard random;
    MessageBoxListener boxes;

    // The name, then Tab to "Jogar" and Space.
    QVERIFY(bringToFront(jornada().FrmInicial()));
    QCOMPARE(focused(), jornada().FrmInicial()->EdtNome);
    QTest::keyClicks(focused(), QStringLiteral("Ana"));
    press(Qt::Key_Tab);
    QCOMPARE(nameOf(focused()), QStringLiteral("Jogar"));
    press(Qt::Key_Space);
    QVERIFY(bringToFront(jornada().FrmPerguntas()));

    // Each question: hear it, Tab into the answers, go with the arrows to the wanted one, mark it
    // with Space, Tab to OK and press Space. One skip comes first; 15 right answers, then 5 wrong.
    QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
    int place = 0;
    const int skipped = questionIdHeard(&place);
    QVERIFY(skipped > 0);
    QVERIFY(tabTo(jornada().FrmPerguntas()->BtnPular));
    press(Qt::Key_Space);
    QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
    QCOMPARE(jornada().FrmPerguntas()->BtnPular->isEnabled(), true);

    for (int answered = 0; answered < 20; ++answered) {
        QVERIFY(tabTo(jornada().FrmPerguntas()->LblPergunta, true));
        const int id = questionIdHeard(&place);
        QVERIFY2(id > 0, qPrintable(nameOf(jornada().FrmPerguntas()->LblPergunta)));
        QCOMPARE(place, answered + 1);
        QCOMPARE(nameOf(jornada().FrmPerguntas()->LblQtePerg), QStringLiteral("Pergunta %1 de 20").arg(answered + 1));
        const bool right = answered < 15;
        const QString wanted = right ? TempDataDir::correctAnswerOf(id) : TempDataDir::wrongAnswerOf(id);

        // Tab enters every question at its first answer, wherever the last one was marked.
        press(Qt::Key_Tab);
        QCOMPARE(focused(), jornada().FrmPerguntas()->RBResp1);
        press(Qt::Key_Space);
        // Down, listening on the way, goes round from the fourth answer to the first; Up from
        // the first to the fourth.
        auto heardWanted = [&] { return nameOf(focused()).endsWith(QStringLiteral(": ") + wanted); };
        if (answered == 0) {
            press(Qt::Key_Up);
            QCOMPARE(answerPlaceHeard(), 4);
        }
        for (int moves = 0; moves < 4 && !heardWanted(); ++moves)
            press(Qt::Key_Down);
        QCOMPARE(nameOf(focused()).section(QStringLiteral(": "), 1), wanted);
        QVERIFY(acc(focused())->state().checked);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), jornada().FrmPerguntas()->BtnOK);
        press(Qt::Key_Space);
        // The next question is read at once: the focus goes to it.
        if (answered < 19)
            QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
    }

    // The wrong answers and the new record were announced as alerts and closed with Enter.
    const QString title = QStringLiteral("Órbita e Cristal: Jornada do Saber");
    QStringList expected;
    for (int i = 0; i < 5; ++i)
        expected << QStringLiteral("alerta|%1|Resposta incorreta!").arg(title);
    expected << QStringLiteral("alerta|%1|NOVO RECORDE!").arg(title);
    QCOMPARE(boxes.heard, expected);

    // The results, heard one Tab after another: 75 - 15 - 1 = 59 points.
    QVERIFY(jornada().FrmResult()->isVisible());
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QVERIFY(bringToFront(jornada().FrmResult()));
    QCOMPARE(nameOf(focused()),
             QStringLiteral("Resultado de Ana: 15 certas, 5 erradas, 1 não respondida; pontuação final: 59"));
    QStringList heard;
    for (int i = 0; i < 7; ++i) {
        press(Qt::Key_Tab);
        if (qobject_cast<QLabel *>(focused()))
            heard << nameOf(focused());
    }
    QCOMPARE(heard, (QStringList{"Certas: 15", "Erradas: 5", "Não respondidas: 1", "Pontuação final: 59",
                                 "Recorde atual, nome: Ana"}));
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n59\r\n"));

    // "Jogar Novamente" with the keyboard brings back an empty name box with the focus.
    QVERIFY(tabTo(jornada().FrmResult()->BtnJogarNovamente));
    press(Qt::Key_Space);
    QVERIFY(bringToFront(jornada().FrmInicial()));
    QCOMPARE(focused(), jornada().FrmInicial()->EdtNome);
    QCOMPARE(nameOf(jornada().FrmInicial()->LblRecordeAtual), QStringLiteral("Recorde Atual: Ana - 59 pontos"));

    // Every later game starts on its first question too: the second after a game that ended with
    // OK, the third after giving up the second (Enter answers "Sim").
    for (int game = 2; game <= 3; ++game) {
        QTest::keyClicks(focused(), QStringLiteral("Bia"));
        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        QVERIFY(bringToFront(jornada().FrmPerguntas()));
        QCOMPARE(focused(), jornada().FrmPerguntas()->LblPergunta);
        QVERIFY(nameOf(focused()).startsWith(QStringLiteral("Pergunta 1 de 20: ")));
        QVERIFY(tabTo(jornada().FrmPerguntas()->BtnDesistir));
        press(Qt::Key_Space);
        QVERIFY(bringToFront(jornada().FrmInicial()));
        QCOMPARE(focused(), jornada().FrmInicial()->EdtNome);
    }
}

void AccessibilityTest::messageBoxesAreAnnouncedAndAnsweredByKeyboard()
{
    TempDataDir data(25);
    ScreenSet screens;
    QVERIFY(bringToFront(jornada().FrmInicial()));
    MessageBoxListener boxes;

    // An empty name: the warning is an alert, read with its title and text, closed by Enter.
    jornada().FrmInicial()->BtnJogar->setFocus();
    press(Qt::Key_Space);
    QCOMPARE(boxes.heard, QStringList{QStringLiteral("alerta|Órbita e Cristal: Jornada do Saber|"
                                                     "É necessário digitar um nome para jogar")});
    QVERIFY(!jornada().FrmPerguntas()->isVisible());

    // "&Sair" through the menu: Escape answers No, and the program goes on.
    boxes.answerWith(Qt::Key_Escape);
    press(Qt::Key_S, Qt::AltModifier);
    QCOMPARE(boxes.heard.size(), 2);
    QCOMPARE(boxes.heard.last().section(QLatin1Char('|'), 2), QStringLiteral("Tem certeza que deseja sair?"));
    QVERIFY(jornada().FrmInicial()->isVisible());
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
