#pragma once
// The question bank as a game reads it: how many questions it holds, which numbers they carry,
// one question by its number. The game asks nothing else of the bank, and never writes to it.
#include "store/bank/Question.h"

#include <QString>

#include <memory>
#include <optional>

class EngineSource;
class Query;

class QuestionBank {
public:
    virtual ~QuestionBank() = default;

    // The number of questions that have a number.
    virtual qint32 count() = 0;
    // How many different numbers they carry: fewer than count() only in a table made by hand.
    virtual qint32 countDistinct() = 0;
    // The smallest and the largest number, as stored; nothing for an empty bank.
    virtual std::optional<std::pair<double, double>> numberRange() = 0;
    // Whether a question carries exactly `number`.
    virtual bool hasNumber(qint32 number) = 0;
    // The number of the question at `position` (from 0) in number order; 0 when there is none.
    virtual qint32 numberAt(qint32 position) = 0;
    // Question `number` as stored, every text as typed and blank fields empty; nothing when no
    // question has that number.
    virtual std::optional<Question> question(qint32 number) = 0;
    // The photo path of question `number`; empty when there is no such question.
    virtual QString photoOf(qint32 number) = 0;
};

// The bank of the tables of a bank (a folder or a server), read through the table engine's
// statements. A count is kept while the question table is unchanged: counting walks the whole
// index, and a game counts at every answer.
class TableQuestionBank final : public QuestionBank {
public:
    explicit TableQuestionBank(std::shared_ptr<const EngineSource> bank);
    ~TableQuestionBank() override;

    // Opens the question table and checks its fields, so that a bank that is missing or not a
    // question table is found at once. Throws AppError.
    void open();

    qint32 count() override;
    qint32 countDistinct() override;
    std::optional<std::pair<double, double>> numberRange() override;
    bool hasNumber(qint32 number) override;
    qint32 numberAt(qint32 position) override;
    std::optional<Question> question(qint32 number) override;
    QString photoOf(qint32 number) override;

    // Makes the next count() count the table even if it is unchanged, as at a program's start.
    void forgetCount();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The number for a new question: the largest number stored plus one, 1 for an empty bank. Runs
// the largest-number statement on `query`.
qint32 nextQuestionNumber(Query &query);
