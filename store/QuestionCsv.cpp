#include "store/QuestionCsv.h"

#include "store/Csv.h"
#include "store/QuestionCheck.h"
#include "store/Setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <filesystem>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A CSV file larger than this is refused before it is read: a bank of thousands of questions
// takes a few megabytes.
constexpr qint64 MaxCsvBytes = qint64(64) << 20;

const QStringList &columnNames()
{
    static const QStringList names = {
        QStringLiteral("Pergunta"), QStringLiteral("Resp1"),   QStringLiteral("Resp2"), QStringLiteral("Resp3"),
        QStringLiteral("Resp4"),    QStringLiteral("Correta"), QStringLiteral("Foto"),
    };
    return names;
}
enum Column { Pergunta, Resp1, Resp2, Resp3, Resp4, Correta, Foto, ColumnCount };

QString problem(int line, const QString &text) { return QStringLiteral("linha %1: %2").arg(line).arg(text); }

// A spreadsheet runs a cell that begins with one of these as a formula (=HYPERLINK(...), say).
// The export puts an apostrophe before such a text, as is usual against formulas in CSV files, and
// before a text that itself begins with one; the import takes exactly one leading apostrophe off,
// so that every text comes back as it was.
QString guardedText(const QString &text)
{
    return !text.isEmpty() && QStringLiteral("=+-@\t\r'").contains(text.front()) ? QLatin1Char('\'') + text : text;
}

QString unguardedText(const QString &text)
{
    return text.startsWith(QLatin1Char('\'')) ? text.mid(1) : text;
}

// The full path of a photo named in the CSV file, relative to the file's folder or absolute. Going
// up from the root stays at the root, as the system resolves it.
QString photoSource(const QString &csvFolder, const QString &foto)
{
    QString path = QDir::cleanPath(QDir(csvFolder).absoluteFilePath(foto));
    while (path.startsWith(QLatin1String("/../")))
        path.remove(0, 3);
    if (path == QLatin1String("/.."))
        path = QStringLiteral("/");
    return path;
}

// Why `path` cannot be a photo's file, in words for the teacher; empty when it is a regular file
// of a size the bank takes.
QString notAPhotoFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) == 0) {
        if (S_ISREG(info.st_mode)) {
            const QString tooLarge = photoSizeProblem(info.st_size);
            return tooLarge.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(tooLarge, path);
        }
        if (S_ISDIR(info.st_mode))
            return QStringLiteral("a foto é uma pasta, não um arquivo: %1").arg(path);
        return QStringLiteral("a foto não é um arquivo comum (é um dispositivo, um pipe ou um soquete): %1").arg(path);
    }
    const int error = errno;
    if (error == ELOOP)
        return QStringLiteral("a foto é um link simbólico que leva a si mesmo, num laço: %1").arg(path);
    struct stat link {};
    if (::lstat(native.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        return QStringLiteral("a foto é um link simbólico para um arquivo que não existe: %1").arg(path);
    if (error == EACCES)
        return QStringLiteral("não há permissão para chegar à foto: %1").arg(path);
    return QStringLiteral("a foto não existe: %1").arg(path);
}

std::filesystem::path fsPath(const QString &path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

bool sameContents(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    // A piece at a time: memory stays the same whatever the files' size.
    for (;;) {
        const QByteArray pa = fa.read(64 * 1024), pb = fb.read(64 * 1024);
        if (pa != pb)
            return false;
        if (pa.isEmpty())
            return !fa.error() && !fb.error();
    }
}

// Where the photos of one import go in the data directory's fotos folder: the same file once,
// under its own name when that is free or already holds the same picture, else under
// "name-2.ext", "name-3.ext", ... so that no other photo is overwritten.
class PhotoPlan {
public:
    explicit PhotoPlan(const QString &photoFolder)
        : m_folder(photoFolder), m_canonicalFolder(QFileInfo(photoFolder).canonicalFilePath())
    {
    }

    // The full path under which `source` (an existing file) is stored.
    QString place(const QString &source)
    {
        const QFileInfo info(source);
        const QString key = info.canonicalFilePath();
        if (const auto known = m_placed.constFind(key); known != m_placed.cend())
            return *known;
        // A photo already in the fotos folder stays where it is, under its own name (the name
        // of the file a link leads to, not the link's).
        if (!m_canonicalFolder.isEmpty() && info.canonicalPath() == m_canonicalFolder)
            return remember(key, QDir(m_folder).filePath(QFileInfo(key).fileName()));
        for (int n = 1;; ++n) {
            const QString name = n == 1 ? info.fileName()
                                        : QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(n).arg(
                                              info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
            const QString target = QDir(m_folder).filePath(name);
            if (m_taken.contains(target))
                continue;
            if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
                if (QFileInfo(target).isFile() && sameContents(target, source))
                    return remember(key, target);
                continue;
            }
            m_copies.append({source, target});
            return remember(key, target);
        }
    }

    struct Copy {
        QString source, target;
    };
    const QList<Copy> &copies() const { return m_copies; }

private:
    QString remember(const QString &key, const QString &target)
    {
        m_placed.insert(key, target);
        m_taken.insert(target);
        return target;
    }

    QString m_folder, m_canonicalFolder;
    QHash<QString, QString> m_placed; // canonical source -> stored path
    QSet<QString> m_taken;
    QList<Copy> m_copies;
};

// Correta as the text of the answer: the text itself when it equals one of the answers, else a
// number 1 to 4 or a letter A to D naming one.
QString correctAnswer(const QString &written, const QString (&answers)[4])
{
    for (const QString &answer : answers)
        if (answer == written)
            return written;
    const QString key = written.trimmed().toUpper();
    static const QStringList numbers = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    static const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    for (int i = 0; i < 4; ++i)
        if (key == numbers[i] || key == letters[i])
            return answers[i];
    return written;
}

// Control characters (other than the tab and line breaks) have no place in a question's text.
bool hasControlCharacter(const QString &text)
{
    for (QChar c : text)
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7F)
            return true;
    return false;
}

// The question table of the data directory `folder` (absolute), which must exist.
QString bankTable(const QString &folder)
{
    const QString table = QDir(folder).filePath(QStringLiteral("Perguntas.DB"));
    if (!QFileInfo(table).isFile())
        throw AppError(QStringLiteral("a pasta %1 não tem o banco de perguntas (Perguntas.DB); crie a pasta de "
                                      "dados antes, com: jornada-dados \"%1\"")
                           .arg(folder));
    return table;
}

void removeCopies(const QList<PhotoPlan::Copy> &copies, int count)
{
    for (int i = 0; i < count; ++i)
        QFile::remove(copies[i].target);
}

} // namespace

ImportReport importQuestionsCsv(const QString &csvPath, const QString &folder, const PhotoCheck &checkPhoto,
                                const FitCheck &checkFit)
{
    ImportReport report;
    const QString dataFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    report.table = bankTable(dataFolder);
    report.photoFolder = QDir(dataFolder).filePath(QStringLiteral("fotos"));

    QFile file(csvPath);
    if (!QFileInfo::exists(csvPath))
        throw AppError(QStringLiteral("o arquivo %1 não existe").arg(csvPath));
    if (QFileInfo(csvPath).isDir() || !file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("não foi possível ler %1: %2")
                           .arg(csvPath, QFileInfo(csvPath).isDir() ? QStringLiteral("é uma pasta") : file.errorString()));
    if (file.size() > MaxCsvBytes)
        throw AppError(QStringLiteral("%1 tem mais de %2 MB; divida-o em arquivos menores")
                           .arg(csvPath)
                           .arg(MaxCsvBytes >> 20));
    const CsvText csv = readCsv(file.readAll());
    const QString csvFolder = QFileInfo(csvPath).absolutePath();
    const QString refusal = QStringLiteral("%1: nada foi importado; corrija o arquivo e importe de novo").arg(csvPath);

    QStringList problems;
    auto refuse = [&] {
        if (!csv.error.isEmpty())
            problems << problem(csv.errorLine, csv.error);
        throw ImportRefused(refusal, problems);
    };

    // 1. The header: which field of a record holds which column.
    if (csv.records.isEmpty()) {
        if (csv.error.isEmpty())
            problems << problem(1, QStringLiteral("o arquivo está vazio; a primeira linha deve ser o cabeçalho %1")
                                       .arg(columnNames().join(QLatin1Char(';'))));
        refuse();
    }
    const CsvRecord &header = csv.records.first();
    int position[ColumnCount];
    std::fill(std::begin(position), std::end(position), -1);
    for (int c = 0; c < ColumnCount; ++c) {
        for (int i = 0; i < header.fields.size(); ++i) {
            if (header.fields[i].trimmed().compare(columnNames()[c], Qt::CaseInsensitive) != 0)
                continue;
            if (position[c] >= 0)
                problems << problem(header.line, QStringLiteral("a coluna %1 aparece mais de uma vez").arg(columnNames()[c]));
            else
                position[c] = i;
        }
        if (position[c] < 0)
            problems << problem(header.line, QStringLiteral("falta a coluna %1 (o cabeçalho deve ter as colunas %2, "
                                                            "separadas por ponto e vírgula ou por vírgula)")
                                                 .arg(columnNames()[c], columnNames().join(QStringLiteral(", "))));
    }
    if (!problems.isEmpty())
        refuse();

    // The header's width, leaving out the empty names that some spreadsheets write after the last
    // column: a record with fewer fields has lost a separator somewhere.
    qsizetype width = header.fields.size();
    while (width > 0 && header.fields[width - 1].trimmed().isEmpty())
        --width;

    // 2. Every record, checked as the editor checks a question before saving it.
    PhotoPlan photos(report.photoFolder);
    QHash<QString, QString> photoFaults; // by file: why it cannot be shown, empty when it can
    QList<QuestionRow> rows;
    for (qsizetype r = 1; r < csv.records.size(); ++r) {
        const CsvRecord &record = csv.records[r];
        if (std::all_of(record.fields.begin(), record.fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); }))
            continue;
        const bool extrasEmpty = std::all_of(record.fields.begin() + std::min(record.fields.size(), header.fields.size()),
                                             record.fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
        if (record.fields.size() < width || !extrasEmpty) {
            problems << problem(record.line, QStringLiteral("tem %1 campos, mas o cabeçalho tem %2; confira o "
                                                            "separador e as aspas")
                                                 .arg(record.fields.size())
                                                 .arg(width));
            continue;
        }
        QString texts[ColumnCount];
        for (int c = 0; c < ColumnCount; ++c) {
            texts[c] = unguardedText(record.fields[position[c]]);
            if (hasControlCharacter(texts[c]))
                problems << problem(record.line, QStringLiteral("a coluna %1 tem caracteres de controle")
                                                     .arg(columnNames()[c]));
        }
        const QString answers[4] = {texts[Resp1], texts[Resp2], texts[Resp3], texts[Resp4]};
        QuestionFields q{texts[Pergunta], texts[Resp1], texts[Resp2], texts[Resp3], texts[Resp4],
                         correctAnswer(texts[Correta], answers), texts[Foto]};

        if (!q.foto.trimmed().isEmpty()) {
            const QString source = photoSource(csvFolder, q.foto);
            if (const QString notAFile = notAPhotoFile(source); !notAFile.isEmpty()) {
                problems << problem(record.line, notAFile);
            } else {
                // A photo that many questions share is decoded once.
                const QString key = QFileInfo(source).canonicalFilePath();
                if (!photoFaults.contains(key)) {
                    try {
                        checkPhoto(source);
                        photoFaults.insert(key, QString());
                    } catch (const AppError &error) {
                        photoFaults.insert(key, error.text());
                    }
                }
                const QString fault = photoFaults.value(key);
                if (fault.isEmpty())
                    q.foto = photos.place(source);
                else
                    problems << problem(record.line, QStringLiteral("a foto %1 não pode ser mostrada: %2").arg(source, fault));
            }
        }
        for (const QString &text : questionProblems(q))
            problems << problem(record.line, text);
        if (checkFit)
            for (const QString &text : checkFit(q))
                report.warnings << problem(record.line, text);

        QuestionRow row;
        row.pergunta = q.pergunta;
        row.resp1 = q.resp1;
        row.resp2 = q.resp2;
        row.resp3 = q.resp3;
        row.resp4 = q.resp4;
        row.correta = q.correta;
        row.foto = q.foto;
        rows.append(row);
    }
    if (!problems.isEmpty() || !csv.error.isEmpty())
        refuse();
    if (rows.isEmpty())
        throw AppError(QStringLiteral("%1 não tem perguntas depois do cabeçalho; nada foi importado").arg(csvPath));

    // 3. The photos, then the questions in one transaction; a failure takes the copies back.
    const bool folderMade = !QFileInfo::exists(report.photoFolder);
    const QList<PhotoPlan::Copy> &copies = photos.copies();
    int copied = 0;
    try {
        if (!copies.isEmpty() && !QDir().mkpath(report.photoFolder))
            throw AppError(QStringLiteral("não foi possível criar a pasta %1").arg(report.photoFolder));
        for (const PhotoPlan::Copy &copy : copies) {
            std::error_code error;
            // Never over a file: one that appeared since the check is left alone.
            std::filesystem::copy_file(fsPath(copy.source), fsPath(copy.target), std::filesystem::copy_options::none,
                                       error);
            if (error)
                throw AppError(QStringLiteral("não foi possível copiar a foto %1 para %2: %3")
                                   .arg(copy.source, copy.target, QString::fromLocal8Bit(error.message())));
            ++copied;
        }
        report.firstId = appendQuestions(dataFolder, rows);
    } catch (const AppError &error) {
        removeCopies(copies, copied);
        if (folderMade)
            QDir().rmdir(report.photoFolder);
        throw AppError(error.text() + QStringLiteral("\nNada foi importado; o banco de perguntas ficou como estava."));
    }
    report.questions = int(rows.size());
    report.photosCopied = copied;
    return report;
}

int exportQuestionsCsv(const QString &folder, const QString &csvPath)
{
    bankTable(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    const QList<QuestionRow> rows = readQuestionTable(folder);
    if (QFileInfo(csvPath).isDir())
        throw AppError(QStringLiteral("não foi possível gravar %1: é uma pasta").arg(csvPath));
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("não foi possível gravar %1: %2").arg(csvPath, file.errorString()));
    file.write(QByteArrayLiteral("\xEF\xBB\xBF"));
    file.write(csvLine(columnNames(), ';'));
    for (const QuestionRow &row : rows)
        file.write(csvLine({guardedText(row.pergunta), guardedText(row.resp1), guardedText(row.resp2),
                            guardedText(row.resp3), guardedText(row.resp4), guardedText(row.correta),
                            guardedText(row.foto)},
                           ';'));
    if (!file.commit())
        throw AppError(QStringLiteral("não foi possível gravar %1: %2").arg(csvPath, file.errorString()));
    return int(rows.size());
}
