#include "store/folder/FolderBank.h"

#include "store/bank/PhotoPlan.h"
#include "store/bank/QuestionWrites.h"
#include "store/core/AppError.h"
#include "store/folder/FolderAccount.h"
#include "store/folder/FolderPhotos.h"
#include "store/folder/FolderSetup.h"
#include "store/folder/PhotoCopies.h"
#include "store/folder/RecordFileStore.h"
#include "store/folder/SqliteEngine.h"
#include "store/tables/TableErrors.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

// The folder `folder` as an import or an export names it: absolute, without "." or "..".
QString absoluteFolder(const QString &folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); }

// An import into a data folder: the photos copied into its fotos folder (PhotoCopies.h, so that
// an import killed midway leaves nothing behind), then the questions in one transaction.
class FolderWrites final : public QuestionWrites {
public:
    explicit FolderWrites(const QString &folder)
        : m_folder(absoluteFolder(folder)), m_table(questionBankTable(m_folder)),
          m_photoFolder(QDir(m_folder).filePath(QStringLiteral("fotos"))), m_plan(m_photoFolder)
    {
    }

    QString table() const override { return m_table; }
    QString photoPlace() const override { return m_photoFolder; }
    PhotoPlacer &photoPlan() override { return m_plan; }

    int store(const std::function<void(const QuestionWriter &)> &produce, bool anyQuestion) override
    {
        std::optional<PhotoCopies> photos;
        if (!m_plan.copies().isEmpty()) {
            photos.emplace(m_photoFolder);
            for (const PhotoPlan::Copy &copy : m_plan.copies())
                photos->copy(copy.source, QFileInfo(copy.target).fileName());
            photos->sync();
        }
        if (anyQuestion)
            storeQuestions(m_folder, produce);
        if (!photos)
            return 0;
        photos->commit();
        return photos->count();
    }

private:
    QString m_folder, m_table, m_photoFolder;
    PhotoPlan m_plan;
};

} // namespace

FolderBank::FolderBank(const QString &folder) : m_folder(folder) {}

QString FolderBank::description() const { return QStringLiteral("pasta %1").arg(QDir::toNativeSeparators(m_folder)); }

bool FolderBank::sameAs(const Bank &other) const
{
    const auto *folder = dynamic_cast<const FolderBank *>(&other);
    return folder && folder->m_folder == m_folder;
}

std::shared_ptr<Engine> FolderBank::engine() const { return std::make_shared<SqliteEngine>(m_folder); }

std::unique_ptr<RecordStore> FolderBank::record() const
{
    return std::make_unique<RecordFileStore>(QDir(m_folder).filePath(QStringLiteral("Recorde.txt")));
}

std::unique_ptr<AdminAccount> FolderBank::account() const
{
    return std::make_unique<FolderAccount>(std::const_pointer_cast<Bank>(shared_from_this()));
}

std::unique_ptr<BankPhotos> FolderBank::photos(PhotoThread) const { return std::make_unique<FolderPhotos>(m_folder); }

QString FolderBank::cannotStartReport(const AppError &error, const QString &setupCommand) const
{
    const QString folder = QDir::toNativeSeparators(m_folder);
    if (isTableInUse(error)) {
        // The tables are there: setting up the folder again would not help, and would lose the bank.
        return QStringLiteral("O jogo não pode começar: outro programa está usando o banco de perguntas na "
                              "pasta de dados %1.\n\nDetalhe: %2\n\n"
                              "Feche o outro programa (ou espere que ele termine) e abra o jogo de novo.")
            .arg(folder, error.text());
    }
    // What to do depends on what is there: the set-up program never replaces a table that exists
    // unless told to, and replacing the questions is what a teacher must choose knowingly.
    const QString createAll = QStringLiteral("Para criar a pasta de dados com o banco de perguntas de exemplo, "
                                             "execute o comando:\n\n%1").arg(setupCommand);
    const QString replaceBank =
        QStringLiteral("Se houver uma cópia de segurança da pasta de dados, restaure-a. Para recomeçar com o banco "
                       "de perguntas de exemplo (as perguntas cadastradas se perdem; o recorde fica), execute o "
                       "comando:\n\n%1 --substituir")
            .arg(setupCommand);
    QString what, todo = createAll;
    if (!QFileInfo(m_folder).isDir()) {
        what = QStringLiteral("A pasta de dados %1 não existe.").arg(folder);
    } else {
        const bool noBank = !QFileInfo::exists(QDir(m_folder).filePath(QStringLiteral("Perguntas.DB")));
        const bool noAccount = !QFileInfo::exists(QDir(m_folder).filePath(QStringLiteral("inicial.db")));
        if (noBank && noAccount) {
            what = QStringLiteral("Faltam os arquivos Perguntas.DB e inicial.db na pasta de dados %1.").arg(folder);
        } else if (noAccount) {
            what = QStringLiteral("Falta o arquivo inicial.db na pasta de dados %1.").arg(folder);
            todo = QStringLiteral("Para criar de novo a conta do administrador, sem mexer nas perguntas nem no "
                                  "recorde, execute o comando abaixo e digite a senha nova:\n\n%1 --senha")
                       .arg(setupCommand);
        } else if (noBank) {
            what = QStringLiteral("Falta o arquivo Perguntas.DB na pasta de dados %1.").arg(folder);
            todo = replaceBank;
        } else {
            what = QStringLiteral("Uma tabela da pasta de dados %1 não pôde ser aberta: ela pode estar danificada.")
                       .arg(folder);
            todo = replaceBank;
        }
    }
    return QStringLiteral("O jogo não pode começar: %1\n\nDetalhe: %2\n\n%3").arg(what, error.text(), todo);
}

void FolderBank::createQuestionTable() const { ::createQuestionTable(m_folder); }

QString FolderBank::setAdminPassword(const QString &password) const { return ::setAdminPassword(m_folder, password); }

QString FolderBank::accountPlace() const
{
    return QStringLiteral("em %1").arg(QDir(m_folder).filePath(QStringLiteral("inicial.db")));
}

void FolderBank::insertQuestions(const QList<Question> &rows) const { ::insertQuestions(m_folder, rows); }

QList<Question> FolderBank::readQuestions() const
{
    // A folder without the table is told how to make one.
    questionBankTable(absoluteFolder(m_folder));
    return readQuestionTable(m_folder);
}

QString FolderBank::questionsPlace() const
{
    return QStringLiteral("de %1").arg(QDir(m_folder).filePath(QStringLiteral("Perguntas.DB")));
}

QString FolderBank::finishInterruptedImports() const
{
    const int removed = ::finishInterruptedImports(m_folder);
    if (removed == 0)
        return QString();
    return QStringLiteral("Uma importação interrompida foi desfeita: %1 de %2 que nenhuma pergunta usava %3.")
        .arg(removed == 1 ? QStringLiteral("1 foto") : QStringLiteral("%1 fotos").arg(removed),
             QDir(m_folder).filePath(QStringLiteral("fotos")),
             removed == 1 ? QStringLiteral("foi removida") : QStringLiteral("foram removidas"));
}

std::unique_ptr<QuestionWrites> FolderBank::questionWrites() const { return std::make_unique<FolderWrites>(m_folder); }
