#pragma once
// The backend of a bank on a PostgreSQL server, shared by the machines of a lab: each table file
// of a folder is table db of a schema named after it (perguntas.db, inicial.db, recorde.db), the
// photos are kept in the bank (perguntas.fotos), the record is a row settled by the server's own
// functions, and the administrator's account is a role of the server.
#include "store/bank/Bank.h"

class ServerBank final : public Bank {
public:
    // The bank that the libpq connection string `connection` reaches, as the role it names.
    // Nothing is asked of the server until used.
    explicit ServerBank(const QString &connection);

    QString description() const override;
    bool sameAs(const Bank &other) const override;
    std::shared_ptr<Engine> engine() const override;
    std::unique_ptr<RecordStore> record() const override;
    std::unique_ptr<AdminAccount> account() const override;
    std::unique_ptr<BankPhotos> photos(PhotoThread thread) const override;

    bool openedBeforeScreens() const override { return true; }
    QString cannotStartReport(const AppError &error, const QString &setupCommand) const override;

    void createQuestionTable() const override;
    void createRecordPlace() const override;
    QString setAdminPassword(const QString &password) const override;
    QString accountPlace() const override;
    void insertQuestions(const QList<Question> &rows) const override;
    QList<Question> readQuestions() const override;
    QString questionsPlace() const override;
    // An import on a server is one transaction: a killed one leaves nothing to finish.
    QString finishInterruptedImports() const override { return QString(); }
    std::unique_ptr<QuestionWrites> questionWrites() const override;

private:
    QString m_connection;
};
