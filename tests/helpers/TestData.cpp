#include "helpers/TestData.h"

#include "app/Screens.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"

#include <QDir>
#include <QFile>
#include <QImage>

TempDataDir::TempDataDir(int questionCount, const QString &password)
{
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", m_home.path().toLocal8Bit());
    QDir().mkpath(path());

    m_photo = file(QStringLiteral("foto.jpg"));
    QImage picture(60, 80, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    // Qt's writer keeps the description in a JPEG comment.
    picture.setText(QStringLiteral("Description"), QStringLiteral("Um retângulo azul"));
    picture.save(m_photo, "JPG");

    createQuestionTable(path());
    createAccountTable(path(), QStringLiteral("Adm"), password);
    QList<QuestionRow> rows;
    for (int id = 1; id <= questionCount; ++id)
        rows << sampleQuestion(id, m_photo);
    insertQuestions(path(), rows);
}

TempDataDir::~TempDataDir()
{
    qputenv("HOME", m_oldHome);
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

QuestionRow TempDataDir::sampleQuestion(int id, const QString &photo)
{
    QuestionRow row;
    row.id = id;
    row.pergunta = QStringLiteral("Pergunta %1").arg(id);
    row.resp1 = QStringLiteral("A %1").arg(id);
    row.resp2 = QStringLiteral("B %1").arg(id);
    row.resp3 = QStringLiteral("C %1").arg(id);
    row.resp4 = QStringLiteral("D %1").arg(id);
    row.correta = correctAnswerOf(id);
    row.foto = photo;
    return row;
}

void TempDataDir::writeRecordFile(const QByteArray &bytes) const
{
    QFile f(file(QStringLiteral("Recorde.txt")));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempDataDir::recordFileBytes() const
{
    QFile f(file(QStringLiteral("Recorde.txt")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ScreenSet::ScreenSet()
{
    fatalReport = createScreens();
}

ScreenSet::~ScreenSet()
{
    destroyScreens();
}

QList<ScreenWindow *> ScreenSet::all()
{
    return {FrmInicial, FrmPerguntas, FrmCadastro, FrmResult, FrmSenha, FrmInstrucao, FrmAlterarSenha};
}
