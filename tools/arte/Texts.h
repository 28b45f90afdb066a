#pragma once
// Every text that the background pictures carry. Change a text here and run
// `jornada-arte <assets folder>` again to repaint the pictures.

#include <QString>
#include <QStringList>

namespace arte::texto {

// Title artwork (splash, start screen, instructions).
inline const QString tituloPrincipal = QStringLiteral("ÓRBITA & CRISTAL");
inline const QString tituloSubtitulo = QStringLiteral("JORNADA DO SABER");
inline const QString versao = QStringLiteral("Versão 1.0");

// Instructions screen.
inline const QString instrucoesCabecalho = QStringLiteral("INSTRUÇÕES:");
inline const QStringList regras = {
    QStringLiteral("a) Cada pergunta tem apenas uma resposta correta;"),
    QStringLiteral("b) Cada pergunta respondida corretamente valerá 5 pontos;"),
    QStringLiteral("c) Cada pergunta errada; será descontado 3 pontos;"),
    QStringLiteral("d) Você pode pular 2 perguntas;"),
    QStringLiteral("e) Cada pergunta não respondida será descontado 1 ponto;"),
    QStringLiteral("f) É necessário informar um nome para começar a jogar;"),
    QStringLiteral("g) Se clicar em DESISTIR o jogo será encerrado sem contagem de pontos;"),
    QStringLiteral("h) Você terá que responder 20 perguntas;"),
    QStringLiteral("i) O pulo não elimina uma pergunta, você só perde ponto, ou seja, se pular uma vez, "
                   "passará por 21 perguntas, se pular 2, passará por 22 perguntas;"),
    QStringLiteral("j) A pergunta pulada pode ser sorteada novamente;"),
    QStringLiteral("k) Não há tempo estipulado para responder as perguntas."),
};

// Results screen.
inline const QString resultadoCabecalho = QStringLiteral("Resultado Final");
inline const QString resultadoNome = QStringLiteral("Nome:");
inline const QString resultadoCertas = QStringLiteral("Certas:");
inline const QString resultadoErradas = QStringLiteral("Erradas:");
inline const QString resultadoNaoRespondidas = QStringLiteral("Não respondidas:");
inline const QString resultadoPontuacao = QStringLiteral("Pontuação final:");
inline const QString recordeCabecalho = QStringLiteral("Recorde atual:");
inline const QString recordeNome = QStringLiteral("Nome:");
inline const QString recordePontos = QStringLiteral("Pontos:");

// Question editor.
inline const QString cadastroCabecalho = QStringLiteral("Cadastro de Perguntas");
inline const QString cadastroAssinatura = QStringLiteral("ÓRBITA & CRISTAL · JORNADA DO SABER");
inline const QStringList cadastroCampos = {
    QStringLiteral("Questão número:"), QStringLiteral("Pergunta:"),   QStringLiteral("Resposta 1:"),
    QStringLiteral("Resposta 2:"),     QStringLiteral("Resposta 3:"), QStringLiteral("Resposta 4:"),
    QStringLiteral("Resposta Correta:"),
};

} // namespace arte::texto
