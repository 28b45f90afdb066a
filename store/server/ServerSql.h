#pragma once
// Statement texts as a PostgreSQL server takes them. The statements of the game and the editor
// name their parameters as ":NUMID"; the server numbers them ("$1"). This is the one place where
// a text is changed on its way to the server; everything else in it runs as written, tables
// included ("perguntas.db" is table db of the server's schema perguntas).
#include <QString>
#include <QStringList>

struct ServerText {
    QString sql;           // the text with every ":NAME" replaced by its "$n"
    QStringList names;     // names[n - 1] is the name of "$n" (empty for one written as "$n")
};

// Replaces the named parameters of `sql`, each name (matched without regard to case) by one
// number, numbered on from the largest "$n" the text already has. Quoted texts and names,
// comments and the cast operator "::" are left as they are.
ServerText serverText(const QString &sql);
