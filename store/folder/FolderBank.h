#pragma once
// The backend of a bank kept in a data folder: the table files Perguntas.DB and inicial.db
// (SQLite), the photo files the questions name, and the record file Recorde.txt.
#include "store/bank/Bank.h"

class FolderBank final : public Bank {
public:
    // The bank of the folder `folder`, as its caller names it. Nothing is opened until used.
    explicit FolderBank(const QString &folder);

    QString description() const override;
    bool sameAs(const Bank &other) const override;
    std::shared_ptr<Engine> engine() const override;
    std::unique_ptr<RecordStore> record() const override;
    std::unique_ptr<AdminAccount> account() const override;
    std::unique_ptr<BankPhotos> photos(PhotoThread thread) const override;

    bool openedBeforeScreens() const override { return false; }
    QString cannotStartReport(const AppError &error, const QString &setupCommand) const override;

    void createQuestionTable() const override;
    // A folder's record file is written with its first record: there is nothing to make.
    void createRecordPlace() const override {}
    QString setAdminPassword(const QString &password) const override;
    QString accountPlace() const override;
    void insertQuestions(const QList<Question> &rows) const override;
    QList<Question> readQuestions() const override;
    QString questionsPlace() const override;
    QString finishInterruptedImports() const override;
    std::unique_ptr<QuestionWrites> questionWrites() const override;

private:
    QString m_folder;
};
