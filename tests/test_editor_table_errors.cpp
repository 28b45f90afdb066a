// The question editor over a bank that refuses it: held by another program, on a full disk, in a
// read-only folder. Every refusal is told, keeps what was typed and leaves the table as it was.
#include "app/Jornada.h"
#include "helpers/PlainFile.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestData.h"
#include "platform/DBEdit.h"
#include "platform/DBNavigator.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/Senha.h"
#include "store/tables/TableEngine.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

using Kind = DialogBackend::Kind;

namespace {

enum class Refusal { Held, DiskFull, ReadOnlyFolder };

} // namespace

Q_DECLARE_METATYPE(Refusal)

namespace {

// The data directory moved onto a small file system of its own, which can be filled up or made
// read-only. Needs the right to mount (root); unmounted at the end of the scope.
class OwnFileSystem {
public:
    explicit OwnFileSystem(const QString &directory) : m_directory(directory)
    {
        const QString aside = directory + QStringLiteral(".aside");
        if (!QDir().rename(directory, aside) || !QDir().mkpath(directory))
            return;
        if (::mount("tmpfs", QFile::encodeName(directory).constData(), "tmpfs", 0, "size=2m") != 0) {
            QDir().rmdir(directory);
            QDir().rename(aside, directory);
            return;
        }
        m_mounted = true;
        for (const QString &name : QDir(aside).entryList(QDir::Files))
            QFile::copy(aside + QLatin1Char('/') + name, directory + QLatin1Char('/') + name);
    }
    ~OwnFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_directory).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    // Takes every free byte.
    void fill() const
    {
        QFile filler(m_directory + QStringLiteral("/enche"));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, QFile::encodeName(m_directory).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                       nullptr)
            == 0;
    }

private:
    QString m_directory;
    bool m_mounted = false;
};

QPushButton *button(const char *name)
{
    return jornada().FrmCadastro()->findChild<QPushButton *>(QLatin1String(name));
}

DBEdit *box(const char *name)
{
    return jornada().FrmCadastro()->findChild<DBEdit *>(QLatin1String(name));
}

QToolButton *navButton(DBNavigator::Button which)
{
    return jornada().FrmCadastro()->DBNav->button(which);
}

// Every row of the bank, as a second program reads it.
QStringList bankRows(const TempDataDir &data)
{
    PlainFile file(data.file(QStringLiteral("Perguntas.DB")));
    return file.rows(QStringLiteral("SELECT Id || '|' || Pergunta || '|' || Correta FROM db ORDER BY Id"));
}

} // namespace

class EditorTableErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void refusedBankKeepsWhatWasTyped_data();
    void refusedBankKeepsWhatWasTyped();
};

void EditorTableErrorsTest::refusedBankKeepsWhatWasTyped_data()
{
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("why");
    QTest::newRow("held by another program") << Refusal::Held << TableInUseText;
    QTest::newRow("disk full") << Refusal::DiskFull << QStringLiteral("database or disk is full");
    QTest::newRow("read-only folder") << Refusal::ReadOnlyFolder << QStringLiteral("readonly database");
}

void EditorTableErrorsTest::refusedBankKeepsWhatWasTyped()
{
    QFETCH(Refusal, refusal);
    QFETCH(QString, why);
    TempDataDir data(10);
    const QStringList before = bankRows(data);
    QCOMPARE(before.size(), 10);
    std::optional<OwnFileSystem> fileSystem;
    if (refusal != Refusal::Held) {
        fileSystem.emplace(data.path());
        if (!fileSystem->mounted())
            QSKIP("a file system of its own needs the right to mount");
        if (refusal == Refusal::ReadOnlyFolder)
            QVERIFY(fileSystem->makeReadOnly());
    }
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    QCOMPARE(screens.fatalReport, QString());
    jornada().FrmInicial()->CadPer->trigger();
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("1234"));
    jornada().FrmSenha()->BtnOk->click();
    QVERIFY(jornada().FrmCadastro()->isVisible());
    navButton(DBNavigator::Button::Next)->click();
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("2"));
    dialogs->shown.clear();

    // A program that takes the bank while the administrator types: edit and insert begin first.
    std::optional<PlainFile> other;
    const auto hold = [&] {
        if (refusal != Refusal::Held)
            return;
        other.emplace(data.file(QStringLiteral("Perguntas.DB")));
        QCOMPARE(other->exec(QStringLiteral("BEGIN EXCLUSIVE")), QString());
    };
    const auto letGo = [&] {
        if (other)
            QCOMPARE(other->exec(QStringLiteral("COMMIT")), QString());
        other.reset();
    };
    if (refusal == Refusal::DiskFull)
        fileSystem->fill();
    auto lastError = [&] {
        const QStringList errors = dialogs->texts(Kind::Error);
        return errors.isEmpty() ? QString() : errors.last();
    };

    // Saving a change.
    button("BtnEdit")->click();
    box("EdtPerg")->setText(QStringLiteral("Pergunta 2 revista"));
    hold();
    button("BtnGravar")->click();
    QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
    QVERIFY2(lastError().contains(why), qPrintable(lastError()));
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->state(), Table::State::Edit);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 2 revista"));
    letGo();
    button("BtnCancelar")->click();
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 2"));

    // Saving a new question.
    button("BtnIncluir")->click();
    const QString number = box("EdtNumero")->text();
    box("EdtPerg")->setText(QStringLiteral("Qual é a capital do Brasil?"));
    for (const char *name : {"EdtResp1", "EdtResp2", "EdtResp3", "EdtResp4"})
        box(name)->setText(QLatin1String(name));
    box("EdtCorreta")->setText(QStringLiteral("EdtResp2"));
    jornada().FrmCadastro()->TbPerguntas->setFieldText(QStringLiteral("Foto"), data.foto());
    hold();
    button("BtnGravar")->click();
    QVERIFY2(lastError().contains(why), qPrintable(lastError()));
    QCOMPARE(jornada().FrmCadastro()->TbPerguntas->state(), Table::State::Insert);
    QCOMPARE(box("EdtNumero")->text(), number);
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Qual é a capital do Brasil?"));
    QCOMPARE(box("EdtCorreta")->text(), QStringLiteral("EdtResp2"));
    letGo();
    button("BtnCancelar")->click();

    // Deleting.
    hold();
    const int errorsBefore = dialogs->texts(Kind::Error).size();
    dialogs->answerYes();
    button("BtnExcluir")->click();
    QCOMPARE(dialogs->texts(Kind::Error).size(), errorsBefore + 1);
    QVERIFY2(lastError().contains(why), qPrintable(lastError()));
    QCOMPARE(box("EdtNumero")->text(), QStringLiteral("2"));
    QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 2"));

    // Moving: a held bank cannot even be read; the others still can.
    navButton(DBNavigator::Button::Next)->click();
    if (refusal == Refusal::Held) {
        QVERIFY2(lastError().contains(why), qPrintable(lastError()));
        QCOMPARE(box("EdtNumero")->text(), QStringLiteral("2"));
        QCOMPARE(box("EdtPerg")->text(), QStringLiteral("Pergunta 2"));
        letGo();
    } else {
        QCOMPARE(box("EdtNumero")->text(), QStringLiteral("3"));
    }
    QCOMPARE(bankRows(data), before);
}

QTEST_MAIN(EditorTableErrorsTest)
#include "test_editor_table_errors.moc"
