#pragma once
// The writes of one import into a bank: the names its photos take there, planned while the
// import checks its rows and before anything is written; then the photos and the questions,
// stored all or nothing.
#include "store/bank/Question.h"

#include <QString>

#include <functional>

class PhotoPlacer;

class QuestionWrites {
public:
    virtual ~QuestionWrites();

    // The question table, as a person is told: the full path of a folder's Perguntas.DB, or
    // "perguntas.db no servidor PostgreSQL ...".
    virtual QString table() const = 0;
    // Where the photos go, as a person is told: the folder's fotos folder, or the server's
    // "perguntas.fotos no servidor PostgreSQL ...".
    virtual QString photoPlace() const = 0;
    // The names the photos of the import take in the bank.
    virtual PhotoPlacer &photoPlan() = 0;
    // Stores the photos planned, then the questions that `produce` hands over, one at a time:
    // a row whose id is the number of a question of the bank replaces it (or is Unchanged), any
    // other is added, numbered on from the largest Id. `anyQuestion` is false when `produce` has
    // none to hand over. Every failure, and what `produce` throws, leaves the bank as it was,
    // photos included (AppError). Returns how many photos were stored.
    virtual int store(const std::function<void(const QuestionWriter &)> &produce, bool anyQuestion) = 0;
};
