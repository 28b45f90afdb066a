#pragma once
// Importing questions from a CSV file or a workbook into a bank (of a data directory, or on a
// server): adding new ones, or updating the bank from a file it was exported to. Used by
// jornada-dados.
#include "store/core/AppError.h"
#include "store/bank/QuestionCheck.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Bank;

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
using FitCheck = std::function<QStringList(const Question &question)>;
// A copy of a photo fitted to the photo box (see PhotoFit), for a photo much larger than the box:
// its file's bytes and name. None for a photo the box shows (nearly) whole. Throws AppError.
struct FittedPhoto {
    QByteArray bytes;
    QString name;
};
using PhotoFitter = std::function<std::optional<FittedPhoto>(const QString &path)>;

enum class ImportMode {
    Add,    // every row is a new question, unless the bank has its question text already
    Update, // a row whose Id is a question of the bank replaces it; the others are added
};

struct ImportReport {
    QString table;        // the full path of Perguntas.DB, or the table on the server
    int added = 0;        // questions added
    double firstId = 0;   // ImportMode::Add: their numbers run from firstId to firstId + added - 1
    int replaced = 0;     // ImportMode::Update: questions replaced
    int unchanged = 0;    // ImportMode::Update: rows equal to their question already
    int skipped = 0;      // rows not added because the bank or an earlier row has their question
    int photosCopied = 0;
    int photosFitted = 0; // of the photos stored, copies fitted to the photo box in place of the photo
    QString photoFolder;  // where the photos were copied: a folder, or the bank's photos on a server
    QStringList changes;  // "linha N: ...": each row skipped, and (ImportMode::Update) each added or replaced
    QStringList warnings; // "linha N: ...", for questions stored that will not show whole
};

// Imports the file `csvPath` into the existing bank at `bank`: a workbook
// when its name ends in .xlsx or .ods (its first sheet, read by parseSpreadsheet()), else CSV
// text (read as readCsv() reads it). Either is at most 64 MB.
//
// The header names the columns, in any order and letter case: Pergunta, Resp1 to Resp4, Correta
// and Foto, and Id, which ImportMode::Update needs and ImportMode::Add does not read; other
// columns are not read. Correta is the text of the right answer, or its number (1 to 4) or letter
// (A to D) when it equals none of the four texts. Foto is the path of a picture file, relative to
// the CSV file's folder or absolute; the photo is copied into folder/fotos (under a new name when
// a different file has its name there) and stored by the copy's full path. A photo already in
// folder/fotos is not copied again, and neither is one (in an update) with the same contents as
// the photo of the question it replaces, which keeps its stored path. On a server the photo is
// stored in the bank instead (ServerPhotoPlan.h), under its file's name (or a new one when the
// bank has a different photo of that name), in the questions' transaction, and named so by its
// question; a photo the bank has with the same bytes is not stored again. Lines whose fields are all
// empty are skipped. Of CSV text, exactly one leading apostrophe of each field is taken off, as
// the export puts one before texts a spreadsheet would take for formulas; a workbook's cells are
// taken as they are.
//
// Added questions are numbered on after the bank's largest Id. A row to be added whose question
// text the bank already has, or an earlier row of the file has, ignoring case and accents, is
// skipped and listed instead.
//
// All or nothing: every record is checked first, as the editor checks a question before saving
// it (questionProblems()), and its photo must exist and pass `checkPhoto`; in an update, the Id
// must be empty or a whole number that no other row has. Any problem throws ImportRefused, listing
// every problem, and nothing is written. The questions are then stored in one transaction; when it
// fails (a locked table, a full disk) the table is left as it was, the photos copied for it are
// removed, and AppError says why. `checkFit`, when given, lists what of a question will not show
// whole; those are warnings, which refuse nothing. `fitPhoto`, when given, is asked for each photo
// to copy: a photo it fits is stored as its fitted copy, and the photo itself is not copied.
ImportReport importQuestions(const QString &csvPath, const Bank &bank, ImportMode mode,
                             const PhotoCheck &checkPhoto, const FitCheck &checkFit = {},
                             const PhotoFitter &fitPhoto = {});
