#pragma once
// A lab's load on one server: players in processes of their own, each a copy of the game with
// its own connection as the pupils' role, playing whole games at once and answering one question
// every AnswerEveryMs, as a pupil would.
#include <QList>
#include <QString>
#include <QStringList>

constexpr int AnswerEveryMs = 2000;

// Child mode (--jogador N --jogadores TOTAL --segundos S): starts the game on the bank that the
// setting names, says "pronto" and waits for a line on standard input; then plays whole games,
// answering every AnswerEveryMs, from N * AnswerEveryMs / TOTAL ms on so that the players' answers
// are spread over the interval, until S seconds of play are done (the last game finished).
// Player N gives the right answer with a chance from 1/2 (the first) to 9/10 (the last), so that
// the games end with scores of all kinds and the best of them is no foregone 100: the record
// rises claim by claim. Prints the time of each OK click, the points of each game, how many of
// them took the record, and the processor time it used while playing.
int playAsPupil(int index, int total, int seconds);

struct LoadResult {
    int players = 0;
    QList<double> clicks; // ms, every OK click of every player
    QList<int> scores;    // the points of every finished game
    int claims = 0;       // games that took the record (a tie takes it too)
    QStringList best;     // the names of the players who finished a game with the best score
    double wallSeconds = 0;        // from the start of play to the last player's end
    double playersCpuSeconds = 0;  // the players' processor time while playing
    double serverCpuSeconds = -1;  // the server's processes' over the same span; -1 when not seen
    QString serverCpuMissing;      // why it was not seen
    QStringList errors;
};

// Runs `players` children of this program (playAsPupil) with the game's setting in
// `settingFolder` (their XDG_CONFIG_HOME) for `seconds` of play, and gathers what they print.
// `serverBackend` is the process id of a connection's server process on that server, through
// which the server's processes are found in /proc (its parent, the postmaster, and every child of
// that); 0 or a process not on this machine leaves the server's time unmeasured.
LoadResult runPlayers(const QString &settingFolder, int players, int seconds, qint64 serverBackend);
