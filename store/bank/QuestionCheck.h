#pragma once
// The check a question passes before it is stored: by the editor's save and by the import of a
// CSV file into the bank.
#include "store/bank/Question.h"

#include <QString>
#include <QStringList>

// What keeps the texts of a question from being played or stored as they are, one item per problem, in
// Portuguese ("falta a resposta 2"); empty when the question can be stored. A text of blanks
// counts as missing; the correct answer must equal one of the four answers exactly, as the game
// compares them; a text longer than its field (240 characters, 255 for the photo's path) would
// be cut, and a character outside Windows-1252 lost, so both are refused.
QStringList questionProblems(const Question &question);

// The largest photo file that enters the bank, through the editor or the import: far above any
// photo a game shows (a phone's largest is some 20 MB), far below what would fill a disk.
constexpr qint64 MaxPhotoFileBytes = qint64(32) * 1024 * 1024;

// Why a photo file of `bytes` bytes does not enter the bank; empty when it may.
QString photoSizeProblem(qint64 bytes);
