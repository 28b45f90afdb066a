#pragma once
// A question bank, as everything above the store uses it: its tables and statements, its record,
// the administrator's account, its photos, the set-up of a new bank and the writes of an import.
// Each kind of bank supplies all of it in a backend of its own (a data folder: store/folder; a
// PostgreSQL server: store/server), and openBank() (store/kinds) is the one place that picks the
// backend for a location. Nothing else asks which kind a bank is: what differs between kinds is
// a service of this interface, so that a new kind supplies it or fails to compile. A new service
// that each kind keeps its own way (the games a bank keeps, say) is added here, and each backend
// supplies it.
#include "store/bank/Question.h"
#include "store/tables/Engine.h"

#include <QList>
#include <QString>

#include <memory>

class AdminAccount;
class AppError;
class BankPhotos;
class QuestionWrites;
class RecordStore;
enum class PhotoThread;

class Bank : public EngineSource, public std::enable_shared_from_this<Bank> {
public:
    ~Bank() override;

    // What a person is told the bank is: "pasta /home/ana/BDPerguntas", or "servidor PostgreSQL
    // host=lab dbname=jornada". A server's password never appears in it.
    virtual QString description() const = 0;
    // Whether `other` is this bank reached the same way (the same folder; the same server as the
    // same role), so that what is open on one is open on the other.
    virtual bool sameAs(const Bank &other) const = 0;

    // The services of the bank. Each is made when asked for and reaches the bank only when used,
    // unless it says otherwise.
    // The record that goes with the bank.
    virtual std::unique_ptr<RecordStore> record() const = 0;
    // The administrator's account, opened as the login screen opens it. Throws AppError when it
    // cannot be (a folder's account table that is missing or damaged).
    virtual std::unique_ptr<AdminAccount> account() const = 0;
    // The photos, for use on `thread`.
    virtual std::unique_ptr<BankPhotos> photos(PhotoThread thread) const = 0;

    // Start-up. Whether the question table must be opened before any screen reads the bank: a
    // server that cannot be reached is then one report, not one for the record and another for
    // the tables.
    virtual bool openedBeforeScreens() const = 0;
    // What the player is told when the game cannot start on this bank because of `error`, and
    // how to mend it; `setupCommand` is how this machine runs the set-up tool.
    virtual QString cannotStartReport(const AppError &error, const QString &setupCommand) const = 0;

    // The set-up of a bank and the tool's work on it (jornada-dados).
    // Creates the empty question table. Throws AppError when it exists already.
    virtual void createQuestionTable() const = 0;
    // Makes the record's place, with no record. Throws AppError when it exists already.
    virtual void createRecordPlace() const = 0;
    // Sets the administrator's password, leaving the login, the questions and the record as
    // they are. Throws AppError, changing nothing, for a password that does not fit (1 to 7
    // Windows-1252 characters) or a bank that refuses. Returns the account's login.
    virtual QString setAdminPassword(const QString &password) const = 0;
    // Where setAdminPassword() keeps the password, as a person is told: "em /pasta/inicial.db",
    // "no servidor PostgreSQL ...".
    virtual QString accountPlace() const = 0;
    // Adds `rows` as they are (their own ids) in one transaction, texts stored as the table
    // engine stores them: cut to the field size, in Windows-1252 characters.
    virtual void insertQuestions(const QList<Question> &rows) const = 0;
    // Every question, in Id order. Throws AppError when the table is not there.
    virtual QList<Question> readQuestions() const = 0;
    // Where the questions come from, as a person is told: "de /pasta/Perguntas.DB", "do banco do
    // servidor PostgreSQL ...".
    virtual QString questionsPlace() const = 0;
    // Finishes what an import killed midway left behind; what was done, as a person is told, or
    // empty when there was nothing to do.
    virtual QString finishInterruptedImports() const = 0;
    // The writes of one import: where its photos go and the questions' transaction. Throws
    // AppError, naming what is missing, when the bank has no question table.
    virtual std::unique_ptr<QuestionWrites> questionWrites() const = 0;
};
