#include "helpers/Play.h"

#include "helpers/TestData.h"
#include "app/Jornada.h"
#include "screens/Inicial.h"
#include "screens/QuestoesRandom.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int SequenceRandom::draw(int range)
{
    if (range <= 0)
        return 0;
    if (!next.isEmpty())
        return next.dequeue() % range;
    m_state = m_state * 1103515245u + 12345u;
    return int((m_state >> 8) % unsigned(range));
}

SequenceRandomGuard::SequenceRandomGuard()
{
    auto random = std::make_unique<SequenceRandom>();
    m_random = random.get();
    m_previous = setRandomSource(std::move(random));
}

SequenceRandomGuard::~SequenceRandomGuard()
{
    setRandomSource(std::move(m_previous));
}

namespace Play {

void start(const QString &name)
{
    jornada().FrmInicial()->EdtNome->setText(name);
    jornada().FrmInicial()->BtnJogar->click();
}

QRadioButton *answerButton(bool right)
{
    // The question on screen says which it is ("Pergunta 7"); its right answer is known from the
    // bank the test wrote, never from the game's own state.
    const QString question = jornada().FrmPerguntas()->LblPergunta->text();
    const QString prefix = QStringLiteral("Pergunta ");
    if (!question.startsWith(prefix))
        return nullptr;
    const int id = question.mid(prefix.size()).toInt();
    const QString wanted = TempDataDir::correctAnswerOf(id);
    for (auto *b : jornada().FrmPerguntas()->findChildren<QRadioButton *>())
        if ((TFrmPerguntas::AnswerOf(b) == wanted) == right)
            return b;
    return nullptr;
}

void answer(bool right)
{
    if (QRadioButton *b = answerButton(right))
        b->setChecked(true);
    jornada().FrmPerguntas()->BtnOK->click();
}

void skip()
{
    jornada().FrmPerguntas()->BtnPular->click();
}

void game(const QString &name, int right, int wrong, int skips)
{
    start(name);
    for (int i = 0; i < skips; ++i)
        skip();
    for (int i = 0; i < right; ++i)
        answer(true);
    for (int i = 0; i < wrong; ++i)
        answer(false);
}

} // namespace Play
