#include "screens/Resultado.h"

#include "game/GameSession.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "screens/Fonts.h"
#include "screens/Navigator.h"
#include "store/core/AppError.h"

#include <QLabel>
#include <QPushButton>

namespace {

struct ValueLabel {
    const char *name;
    QRect geometry;
    Qt::Alignment alignment;
    int pixelSize;
    const char *colour;
    const char *designText;
    const char *caption; // the caption of its box in the picture, as a screen reader says it
};

} // namespace

TFrmResult::TFrmResult(GameSession &session, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmResult"),
                   QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER - RESULTADO"), QSize(800, 500), parent),
      m_session(session), m_navigator(navigator)
{
    Image1 = addBackground(QStringLiteral(":/resultado.jpg"));
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const ValueLabel values[] = {
        {"LblNome", {50, 120, 233, 35}, left, 24, "maroon", "LblNome", "Nome:"},
        {"LblCertas", {48, 210, 73, 41}, Qt::AlignCenter, 29, "black", "LblCertas", "Certas:"},
        {"LblErradas", {158, 210, 68, 41}, Qt::AlignCenter, 29, "black", "LblErradas", "Erradas:"},
        {"LblNaoResp", {263, 210, 71, 41}, Qt::AlignCenter, 29, "black", "LblNaoResp", "Não respondidas:"},
        {"LblPontos", {49, 305, 112, 49}, Qt::AlignCenter, 37, "black", "LblPontos", "Pontuação final:"},
        {"LblNomeRecord", {450, 150, 233, 35}, left, 24, "maroon", "", "Recorde atual, nome:"},
        {"LblPontosRecord", {448, 240, 71, 41}, Qt::AlignCenter, 29, "black", "", "Recorde atual, pontos:"},
    };
    QLabel **fields[] = {&LblNome, &LblCertas, &LblErradas, &LblNaoResp,
                         &LblPontos, &LblNomeRecord, &LblPontosRecord};
    for (int i = 0; i < 7; ++i) {
        const ValueLabel &v = values[i];
        auto *label = new QLabel(QLatin1String(v.designText), content());
        label->setObjectName(QLatin1String(v.name));
        label->setGeometry(v.geometry);
        label->setAlignment(v.alignment);
        label->setTextFormat(Qt::PlainText);
        label->setFont(gameFont(v.pixelSize, true));
        label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(QLatin1String(v.colour)));
        // A value is read with its caption ("Certas: 12"); the values are tab stops after the
        // two buttons, so that the player can hear them.
        Accessibility::nameFromText(label, [caption = QString::fromUtf8(v.caption)](const QString &value) {
            return caption + QLatin1Char(' ') + (value.isEmpty() ? QStringLiteral("não consta") : value);
        });
        label->setFocusPolicy(Qt::TabFocus);
        *fields[i] = label;
    }
    // The player's name is where the focus lands when the screen opens: it reads the whole
    // result, so that the player hears it at once, before Tab goes on to the buttons and then to
    // each value on its own.
    Accessibility::nameFromText(LblNome, [this](const QString &name) {
        const auto count = [](const QLabel *value, const char *one, const char *many) {
            return value->text() + QLatin1Char(' ') + QString::fromUtf8(value->text() == QLatin1String("1") ? one : many);
        };
        return QStringLiteral("Resultado de %1: %2, %3, %4; pontuação final: %5")
            .arg(name, count(LblCertas, "certa", "certas"), count(LblErradas, "errada", "erradas"),
                 count(LblNaoResp, "não respondida", "não respondidas"), LblPontos->text());
    });

    BtnEncerrar = new QPushButton(QStringLiteral("Encerrar"), content());
    BtnEncerrar->setObjectName(QStringLiteral("BtnEncerrar"));
    BtnEncerrar->setGeometry(420, 400, 121, 25);
    BtnJogarNovamente = new QPushButton(QStringLiteral("Jogar Novamente"), content());
    BtnJogarNovamente->setObjectName(QStringLiteral("BtnJogarNovamente"));
    BtnJogarNovamente->setGeometry(240, 400, 121, 25);
    Accessibility::describe(Image1, QStringLiteral("Fundo do resultado final"));
    Accessibility::describe(BtnEncerrar, QStringLiteral("Encerrar"),
                            QStringLiteral("Fecha o jogo, depois de confirmar."));
    Accessibility::describe(BtnJogarNovamente, QStringLiteral("Jogar Novamente"),
                            QStringLiteral("Volta à tela inicial para um novo jogo."));
    QWidget *tabOrder[] = {LblNome,    BtnEncerrar, BtnJogarNovamente, LblCertas,      LblErradas,
                           LblNaoResp, LblPontos,   LblNomeRecord,     LblPontosRecord};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    connectHandler(BtnEncerrar, &QPushButton::clicked, this, &TFrmResult::BtnEncerrarClick);
    connectHandler(BtnJogarNovamente, &QPushButton::clicked, this, &TFrmResult::BtnJogarNovamenteClick);
}

void TFrmResult::ShowResult(const GameResult &result)
{
    LblCertas->setText(QString::number(result.right));
    LblErradas->setText(QString::number(result.wrong));
    LblNaoResp->setText(QString::number(result.skipped));
    LblPontos->setText(result.pointsShown);
    LblNome->setText(result.playerName);
    LblNome->setFocus();
    if (result.tooManyWrong)
        Dialogs::inform(QStringLiteral("Fique mais atento, você errou muitas questões!"));
    if (result.newRecord)
        Dialogs::inform(QStringLiteral("NOVO RECORDE!"));
    LblNomeRecord->setText(result.recordName);
    LblPontosRecord->setText(result.recordPointsShown);
    if (!result.recordError.isEmpty())
        throw AppError(result.recordError);
}

void TFrmResult::BtnEncerrarClick()
{
    if (Dialogs::confirm(QStringLiteral("Tem certeza que deseja sair?")))
        m_navigator.closeAll();
}

void TFrmResult::BtnJogarNovamenteClick()
{
    m_navigator.backToStartForAnotherGame();
    // The game drawn here waits in the hidden question screen; a problem with its first question
    // is reported and the record line is still refreshed.
    const NewGame game = m_session.playAgain();
    runGuarded([&] { m_navigator.loadGameAhead(game); });
    if (m_session.loadRecord())
        m_navigator.showRecordLine(m_session.recordLine());
}
