#pragma once
// Importing questions from a CSV file into the bank of a data directory, and exporting the bank
// to one. Used by jornada-dados.
#include "store/AppError.h"
#include "store/QuestionCheck.h"

#include <QString>
#include <QStringList>
#include <functional>

// The import refused the file: every problem found, each "linha N: ...", N being the line of the
// file where the record starts (the header is line 1).
class ImportRefused : public AppError {
public:
    ImportRefused(const QString &text, QStringList problems) : AppError(text), m_problems(std::move(problems)) {}
    const QStringList &problems() const noexcept { return m_problems; }

private:
    QStringList m_problems;
};

// Says whether a photo can be shown: returns normally, or throws AppError with the reason.
using PhotoCheck = std::function<void(const QString &path)>;
// Warnings about a question that can be stored but will not show whole (see QuestionFit).
using FitCheck = std::function<QStringList(const QuestionFields &question)>;

struct ImportReport {
    QString table;       // the full path of Perguntas.DB
    int questions = 0;   // questions added
    double firstId = 0;  // their numbers run from firstId to firstId + questions - 1
    int photosCopied = 0;
    QString photoFolder; // where the photos were copied
    QStringList warnings; // "linha N: ...", for questions added that will not show whole
};

// Adds the questions of the CSV file `csvPath` (read as readCsv() reads it) to the bank of the
// existing data directory `folder`, numbered on after its largest Id.
//
// The header names the columns, in any order and letter case: Pergunta, Resp1 to Resp4, Correta
// and Foto; other columns are not read. Correta is the text of the right answer, or its number
// (1 to 4) or letter (A to D) when it equals none of the four texts. Foto is the path of a
// picture file, relative to the CSV file's folder or absolute; the photo is copied into
// folder/fotos (under a new name when a different file has its name there) and stored by the
// copy's full path. A photo already in folder/fotos is not copied again. Lines whose fields are
// all empty are skipped.
//
// All or nothing: every record is checked first, as the editor checks a question before saving
// it (questionProblems()), and its photo must exist and pass `checkPhoto`. Any problem throws
// ImportRefused, listing every problem, and nothing is written. The questions are then added in
// one transaction; when it fails (a locked table, a full disk) the table is left as it was, the
// photos copied for it are removed, and AppError says why.
// `checkFit`, when given, lists what of a question will not show whole; those are warnings, which
// refuse nothing.
ImportReport importQuestionsCsv(const QString &csvPath, const QString &folder, const PhotoCheck &checkPhoto,
                                const FitCheck &checkFit = {});

// Writes every question of the bank of `folder`, in Id order, to `csvPath`: UTF-8 with a
// byte-order mark, ';' between fields, CR LF after each line, the header
// Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto, Correta as the text of the answer and Foto as
// stored (a full path). The file is written aside and put in place only when complete, so an
// existing file at that path is replaced whole or not at all. Returns the number of questions.
int exportQuestionsCsv(const QString &folder, const QString &csvPath);
