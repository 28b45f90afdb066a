#pragma once
// The source of the sample question bank: a text file that people edit, from which the set-up
// makes a new bank, in a folder or on a server.
#include "store/bank/Question.h"

#include <QList>
#include <QString>

// Reads a question source: UTF-8 text, a header line
// "Id<TAB>Pergunta<TAB>Resp1<TAB>Resp2<TAB>Resp3<TAB>Resp4<TAB>Correta<TAB>Foto", then one
// question per line with its fields separated by tabs; blank lines and lines starting with '#'
// are ignored. Foto is kept as written (a file name). Throws AppError, naming the line, for a
// line that does not make a sound question: wrong number of fields, an Id that is not a whole
// number from 1 or is repeated, an empty field, a text too long for its field or with characters
// outside Windows-1252, a Correta equal to none of the answers; and when the Ids do not run
// from 1 to the number of questions without gaps, which the game's draw relies on.
QList<Question> readQuestionSource(const QString &tsvPath);
