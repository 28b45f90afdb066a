#pragma once
// Exporting a bank (of a data directory or on a server) to a file a spreadsheet opens, with the
// photos beside it, so that the file can be edited and imported back, on this computer or
// another. Used by jornada-dados.

#include <QString>
#include <QStringList>

class Bank;

struct ExportReport {
    int questions = 0;
    int photosCopied = 0;  // photos written into photoFolder (the others were there already)
    QString photoFolder;   // the fotos folder beside the file
    QStringList warnings;  // "pergunta N: ...", for photos that could not go with their question
};

// Writes every question of the bank at `bank`, in Id order, to `path`, by the name's ending:
// - .csv: UTF-8 with a byte-order mark, ';' between fields, CR LF after each line, every text in
//   double quotes and a text a spreadsheet would take for a formula after an apostrophe
//   (csvFormulaGuarded()), so that a spreadsheet told to take quoted fields as text changes none;
// - .xlsx: an Excel workbook whose every cell, Id included, is text, in columns formatted as text.
// The header is Id;Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto, Correta the text of the answer.
// Each photo is copied into the fotos folder beside `path` (see PhotoPlan) and named
// "fotos/NAME": from its file, or on a server from the bank's photos; a photo that is not there
// keeps its stored name and is warned of. The file is
// written aside and put in place only when complete, so an existing file at that path is replaced
// whole or not at all; when that fails, the photos copied for it are removed again. Throws
// AppError, in Portuguese.
ExportReport exportQuestions(const Bank &bank, const QString &path);
