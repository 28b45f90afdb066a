#include "screens/QuestionFit.h"

#include "screens/Fonts.h"
#include "store/bank/QuestionCheck.h"

#include <QFontMetrics>

namespace {

const QString Ellipsis = QStringLiteral("…");

// Shortens `text` until `fits` accepts it: whole words are dropped from the end, with the
// ellipsis after the last one kept. A first word that fits on no account is cut where it must,
// since there is no whole word to show.
template <typename Fits>
QString shortened(const QString &text, Fits fits, const QFontMetrics &metrics, int width)
{
    if (fits(text))
        return text;
    QString kept = text;
    for (;;) {
        const qsizetype space = kept.trimmed().lastIndexOf(u' ');
        if (space <= 0)
            break;
        kept = kept.left(space).trimmed();
        // A word that ends in punctuation reads better without it before the ellipsis.
        while (!kept.isEmpty() && QStringLiteral(",;:-").contains(kept.back()))
            kept.chop(1);
        if (fits(kept + Ellipsis))
            return kept + Ellipsis;
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}

} // namespace

namespace QuestionFit {

QFont questionFont() { return gameFont(13, true); }
QFont answerFont() { return gameFont(12, false); }

QString shownQuestion(const QString &text)
{
    const QFontMetrics metrics(questionFont());
    const auto fits = [&](const QString &candidate) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, QuestionBox.width(), 100000),
                                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, candidate);
        return needed.height() <= QuestionBox.height() && needed.width() <= QuestionBox.width();
    };
    return shortened(text, fits, metrics, QuestionBox.width());
}

QString shownAnswer(const QString &text)
{
    const QFontMetrics metrics(answerFont());
    const auto fits = [&](const QString &candidate) {
        return metrics.horizontalAdvance(candidate) <= AnswerTextWidth;
    };
    return shortened(text, fits, metrics, AnswerTextWidth);
}

QStringList warnings(const Question &question)
{
    QStringList found;
    const QString shown = shownQuestion(question.pergunta);
    if (shown != question.pergunta)
        found << QStringLiteral("a pergunta não cabe no seu quadro da tela de perguntas e aparece encurtada: \"%1\"")
                     .arg(shown);
    for (size_t i = 0; i < question.answers.size(); ++i) {
        const QString answer = shownAnswer(question.answers[i]);
        if (answer != question.answers[i])
            found << QStringLiteral("a resposta %1 não cabe numa linha do seu botão e aparece encurtada: \"%2\"")
                         .arg(i + 1)
                         .arg(answer);
    }
    return found;
}

} // namespace QuestionFit
