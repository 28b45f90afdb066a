#include "store/server/ServerBank.h"

#include "store/bank/QuestionWrites.h"
#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/server/ServerAccount.h"
#include "store/server/ServerEngine.h"
#include "store/server/ServerPhotoPlan.h"
#include "store/server/ServerPhotos.h"
#include "store/server/ServerRecord.h"
#include "store/server/ServerSetup.h"

namespace {

// An import into a bank on a server: the photos go into the bank in the questions' transaction.
class ServerWrites final : public QuestionWrites {
public:
    explicit ServerWrites(const QString &connection) : m_connection(connection), m_plan(connection) {}

    QString table() const override
    {
        return QStringLiteral("perguntas.db no %1").arg(serverDescription(m_connection));
    }
    QString photoPlace() const override
    {
        return QStringLiteral("perguntas.fotos no %1").arg(serverDescription(m_connection));
    }
    PhotoPlacer &photoPlan() override { return m_plan; }

    int store(const std::function<void(const QuestionWriter &)> &produce, bool) override
    {
        storeServerQuestions(m_connection, m_plan.stores(), produce);
        return int(m_plan.stores().size());
    }

private:
    QString m_connection;
    ServerPhotoPlan m_plan;
};

} // namespace

ServerBank::ServerBank(const QString &connection) : m_connection(connection) {}

QString ServerBank::description() const { return serverDescription(m_connection); }

bool ServerBank::sameAs(const Bank &other) const
{
    const auto *server = dynamic_cast<const ServerBank *>(&other);
    return server && server->m_connection == m_connection;
}

std::shared_ptr<Engine> ServerBank::engine() const { return ServerEngine::forConnection(m_connection); }

std::unique_ptr<RecordStore> ServerBank::record() const { return std::make_unique<ServerRecordStore>(m_connection); }

std::unique_ptr<AdminAccount> ServerBank::account() const { return std::make_unique<ServerAccount>(m_connection); }

std::unique_ptr<BankPhotos> ServerBank::photos(PhotoThread thread) const
{
    return std::make_unique<ServerBankPhotos>(m_connection, thread);
}

QString ServerBank::cannotStartReport(const AppError &error, const QString &) const
{
    // The folder's remedies (the set-up program, a backup) do not apply: the bank is the lab's.
    return QStringLiteral("O jogo não pode começar: o banco de perguntas desta máquina fica no %1, que não pôde "
                          "ser usado.\n\nDetalhe: %2\n\n"
                          "Confira se o servidor está ligado e se esta máquina chega até ele. O servidor é escolhido "
                          "pela chave servidor do grupo [banco] em /etc/xdg/jornada/jornada.conf (para todos os "
                          "usuários) ou em ~/.config/jornada/jornada.conf; sem ela, o jogo usa a pasta de dados.")
        .arg(description(), error.text());
}

void ServerBank::createQuestionTable() const { createServerQuestionTable(m_connection); }

void ServerBank::createRecordPlace() const { createServerRecordTable(m_connection); }

QString ServerBank::setAdminPassword(const QString &password) const
{
    return setServerAdminPassword(m_connection, password);
}

QString ServerBank::accountPlace() const { return QStringLiteral("no %1").arg(description()); }

void ServerBank::insertQuestions(const QList<Question> &rows) const
{
    QList<Question> stored;
    stored.reserve(rows.size());
    for (const Question &row : rows)
        stored.append(storedQuestion(row));
    insertServerQuestions(m_connection, stored);
}

QList<Question> ServerBank::readQuestions() const { return readServerQuestionTable(m_connection); }

QString ServerBank::questionsPlace() const { return QStringLiteral("do banco do %1").arg(description()); }

std::unique_ptr<QuestionWrites> ServerBank::questionWrites() const { return std::make_unique<ServerWrites>(m_connection); }
