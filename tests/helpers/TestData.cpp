#include "helpers/TestData.h"
#include "helpers/TestBank.h"

#include "app/Jornada.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"
#include "store/folder/RecordFile.h"
#include "store/server/ServerSetup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>

TempDataDir::TempDataDir(int questionCount, const QString &password)
{
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", m_home.path().toLocal8Bit());
    QDir().mkpath(path());
    // The settings are read from the temporary HOME alone, not from the machine's /etc/xdg:
    // QSettings fixes its folders at its first use, so they are pointed here each time.
    const QString config = m_home.filePath(QStringLiteral(".config"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_home.filePath(QStringLiteral("sistema")));
    if (testingOnServer()) {
        m_server = std::make_unique<ServerDatabase>();
        QSettings setting(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("jornada"),
                          QStringLiteral("jornada"));
        setting.setValue(QStringLiteral("banco/servidor"), m_server->connection());
    }

    m_photo = file(QStringLiteral("foto.jpg"));
    QImage picture(60, 80, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    // Qt's writer keeps the description in a JPEG comment.
    picture.setText(QStringLiteral("Description"), QStringLiteral("Um retângulo azul"));
    picture.save(m_photo, "JPG");

    QList<Question> rows;
    for (int id = 1; id <= questionCount; ++id)
        rows << sampleQuestion(id, foto());
    if (m_server) {
        ServerBankContents bank;
        bank.photos = {{foto(), m_photo}};
        bank.roles = testRoles(password);
        bank.questions = rows;
        dropRoles(bank.roles);
        createServerBank(m_server->connection(), bank);
        return;
    }
    bank()->createQuestionTable();
    createAccountTable(path(), QStringLiteral("Adm"), password);
    bank()->insertQuestions(rows);
}

TempDataDir::~TempDataDir()
{
    qputenv("HOME", m_oldHome);
    if (m_server) {
        m_server.reset();
        dropRoles(testRoles());
    }
}

BankLocation TempDataDir::where() const
{
    return m_server ? BankLocation::server(m_server->connection()) : BankLocation::folder(path());
}

QString TempDataDir::path() const
{
    return m_home.filePath(QStringLiteral("BDPerguntas"));
}

QString TempDataDir::file(const QString &name) const
{
    return QDir(path()).filePath(name);
}

QString TempDataDir::correctAnswerOf(int id)
{
    return QStringLiteral("%1 %2").arg(QChar(u'A' + id % 4)).arg(id);
}

QString TempDataDir::wrongAnswerOf(int id)
{
    return QStringLiteral("%1 %2").arg(QChar(u'A' + (id + 1) % 4)).arg(id);
}

Question TempDataDir::sampleQuestion(int id, const QString &photo)
{
    Question row;
    row.id = id;
    row.pergunta = QStringLiteral("Pergunta %1").arg(id);
    row.answers = {QStringLiteral("A %1").arg(id), QStringLiteral("B %1").arg(id), QStringLiteral("C %1").arg(id),
                   QStringLiteral("D %1").arg(id)};
    row.correta = correctAnswerOf(id);
    row.foto = photo;
    return row;
}

void TempDataDir::writeRecordFile(const QByteArray &bytes) const
{
    QTemporaryDir scratch;
    const QString path = m_server ? scratch.filePath(QStringLiteral("Recorde.txt")) : file(QStringLiteral("Recorde.txt"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    f.close();
    if (!m_server)
        return;
    QString name;
    qint32 points = 0;
    ReadRecord(path, name, points);
    PlainServer(m_server->connection())
        .rows(QStringLiteral("UPDATE recorde.db SET nome = $1, pontos = $2 RETURNING 1"), {name, QString::number(points)});
}

QByteArray TempDataDir::recordFileBytes() const
{
    QTemporaryDir scratch;
    QString path = file(QStringLiteral("Recorde.txt"));
    if (m_server) {
        PlainServer server(m_server->connection());
        const QStringList name = server.rows(QStringLiteral("SELECT nome FROM recorde.db WHERE nome IS NOT NULL"));
        const QStringList points = server.rows(QStringLiteral("SELECT pontos FROM recorde.db WHERE nome IS NOT NULL"));
        if (name.size() != 1 || points.size() != 1)
            return QByteArray();
        path = scratch.filePath(QStringLiteral("Recorde.txt"));
        WriteRecord(path, name[0], points[0].toInt());
    }
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempDataDir::recordStored() const
{
    if (!m_server)
        return QFile::exists(file(QStringLiteral("Recorde.txt")));
    return !recordFileBytes().isEmpty();
}

namespace {
ScreenSet *currentScreenSet = nullptr;
} // namespace

ScreenSet::ScreenSet() : m_jornada(Jornada::create(fatalReport)), m_previous(currentScreenSet)
{
    currentScreenSet = this;
}

ScreenSet::~ScreenSet()
{
    m_jornada.reset();
    currentScreenSet = m_previous;
}

QList<ScreenWindow *> ScreenSet::all() const
{
    if (!m_jornada)
        qFatal("No screens: the tables did not open (%s)", qPrintable(fatalReport));
    return screensOf(*m_jornada);
}

QList<ScreenWindow *> ScreenSet::screensOf(const Jornada &jornada)
{
    return {jornada.FrmInicial(), jornada.FrmPerguntas(), jornada.FrmCadastro(),    jornada.FrmResult(),
            jornada.FrmSenha(),   jornada.FrmInstrucao(), jornada.FrmAlterarSenha()};
}

Jornada &jornada()
{
    if (!currentScreenSet || !currentScreenSet->m_jornada)
        qFatal("No game: no ScreenSet alive, or its tables did not open (%s)",
               currentScreenSet ? qPrintable(currentScreenSet->fatalReport) : "");
    return *currentScreenSet->m_jornada;
}

QList<ScreenWindow *> screenWindowsAlive()
{
    QList<ScreenWindow *> screens;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *screen = qobject_cast<ScreenWindow *>(window))
            screens << screen;
    return screens;
}
