#include "store/QuestionCsv.h"

#include "store/Csv.h"
#include "store/PhotoCopies.h"
#include "store/QuestionCheck.h"
#include "store/Setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <optional>

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

// Problems (or warnings) of an import, listed up to a point and counted beyond it: a file with a
// fault on each of millions of lines is refused with a list a person reads, at a cost that does
// not grow with the file.
class ProblemList {
public:
    static constexpr qsizetype MaxListed = 300;

    explicit ProblemList(QString unlistedText) : m_unlistedText(std::move(unlistedText)) {}

    void add(int line, const QString &text)
    {
        if (m_listed.size() < MaxListed)
            m_listed << problem(line, text);
        else
            ++m_unlisted;
    }
    bool isEmpty() const { return m_listed.isEmpty(); }
    qint64 count() const { return m_listed.size() + m_unlisted; }
    // The listed ones, then how many more there are.
    QStringList lines() const
    {
        return m_unlisted == 0 ? m_listed : m_listed + QStringList{m_unlistedText.arg(m_unlisted)};
    }

private:
    QString m_unlistedText; // with %1 for the count
    QStringList m_listed;
    qint64 m_unlisted = 0;
};

// One import's reading of the records: the header first, then each record checked as the editor
// checks a question before saving it. The records are read twice, never kept: once to check them
// all, and, when none has a problem, once more to store them.
class CsvImport {
public:
    CsvImport(const QString &csvFolder, const QString &photoFolder, const PhotoCheck &checkPhoto,
              const FitCheck &checkFit)
        : m_csvFolder(csvFolder), m_photos(photoFolder), m_checkPhoto(checkPhoto), m_checkFit(checkFit)
    {
    }

    ProblemList problems {QStringLiteral("e mais %1 problemas em outras linhas, não listados")};
    ProblemList warnings {QStringLiteral("e mais %1 avisos em outras linhas, não listados")};
    qint64 questions = 0; // records that make a question
    const QList<PhotoPlan::Copy> &copies() const { return m_photos.copies(); }

    // The first reading: every record checked, the photos planned.
    void check(const CsvRecord &record)
    {
        if (!m_headerSeen) {
            m_headerSeen = true;
            readHeader(record);
        } else if (m_headerSound && question(record, true)) {
            ++questions;
        }
    }

    // The second reading: the question of each record, for storing.
    void store(const CsvRecord &record, const QuestionSink &add)
    {
        if (!m_headerStored) {
            m_headerStored = true;
            return;
        }
        // The records are those checked, but a photo may have changed on the disk since.
        const qint64 problemsBefore = problems.count();
        const std::optional<QuestionRow> row = question(record, false);
        if (problems.count() != problemsBefore)
            throw AppError(problem(record.line, QStringLiteral("a foto mudou durante a importação; importe de novo")));
        if (row)
            add(*row);
    }

private:
    // Which field of a record holds which column.
    void readHeader(const CsvRecord &header)
    {
        std::fill(std::begin(m_position), std::end(m_position), -1);
        for (int c = 0; c < ColumnCount; ++c) {
            for (int i = 0; i < header.fields.size(); ++i) {
                if (header.fields[i].trimmed().compare(columnNames()[c], Qt::CaseInsensitive) != 0)
                    continue;
                if (m_position[c] >= 0)
                    problems.add(header.line, QStringLiteral("a coluna %1 aparece mais de uma vez").arg(columnNames()[c]));
                else
                    m_position[c] = i;
            }
            if (m_position[c] < 0)
                problems.add(header.line, QStringLiteral("falta a coluna %1 (o cabeçalho deve ter as colunas %2, "
                                                         "separadas por ponto e vírgula ou por vírgula)")
                                              .arg(columnNames()[c], columnNames().join(QStringLiteral(", "))));
        }
        if (header.fieldCount > MaxCsvFields)
            problems.add(header.line, QStringLiteral("o cabeçalho tem %1 colunas; o máximo é %2")
                                          .arg(header.fieldCount)
                                          .arg(MaxCsvFields));
        m_headerSound = problems.isEmpty();
        // The header's width, leaving out the empty names that some spreadsheets write after the
        // last column: a record with fewer fields has lost a separator somewhere.
        m_width = header.fieldCount;
        while (m_width > 0 && m_width <= header.fields.size() && header.fields[m_width - 1].trimmed().isEmpty())
            --m_width;
        m_headerFields = header.fieldCount;
    }

    // The question of a record; none for a record of empty fields, or (when `checking`) one with
    // a problem, which goes to `problems`.
    std::optional<QuestionRow> question(const CsvRecord &record, bool checking)
    {
        const auto blank = [](const QString &f) { return f.trimmed().isEmpty(); };
        if (record.fieldCount == record.fields.size() && std::all_of(record.fields.begin(), record.fields.end(), blank))
            return std::nullopt;
        const bool extrasEmpty = record.fieldCount == record.fields.size()
            && std::all_of(record.fields.begin() + std::min(record.fields.size(), m_headerFields), record.fields.end(), blank);
        if (record.fieldCount < m_width || !extrasEmpty) {
            problems.add(record.line, QStringLiteral("tem %1 campos, mas o cabeçalho tem %2; confira o "
                                                     "separador e as aspas")
                                          .arg(record.fieldCount)
                                          .arg(m_width));
            return std::nullopt;
        }
        const qint64 problemsBefore = problems.count();
        QString texts[ColumnCount];
        for (int c = 0; c < ColumnCount; ++c) {
            texts[c] = unguardedText(record.fields[m_position[c]]);
            if (hasControlCharacter(texts[c]))
                problems.add(record.line, QStringLiteral("a coluna %1 tem caracteres de controle").arg(columnNames()[c]));
        }
        const QString answers[4] = {texts[Resp1], texts[Resp2], texts[Resp3], texts[Resp4]};
        QuestionFields q{texts[Pergunta], texts[Resp1], texts[Resp2], texts[Resp3], texts[Resp4],
                         correctAnswer(texts[Correta], answers), texts[Foto]};
        if (!q.foto.trimmed().isEmpty())
            q.foto = storedPhoto(record.line, q.foto);
        if (checking) {
            for (const QString &text : questionProblems(q))
                problems.add(record.line, text);
            if (m_checkFit)
                for (const QString &text : m_checkFit(q))
                    warnings.add(record.line, text);
            if (problems.count() != problemsBefore)
                return std::nullopt;
        }
        QuestionRow row;
        row.pergunta = q.pergunta;
        row.resp1 = q.resp1;
        row.resp2 = q.resp2;
        row.resp3 = q.resp3;
        row.resp4 = q.resp4;
        row.correta = q.correta;
        row.foto = q.foto;
        return row;
    }

    // Where the photo that a record names is stored; with a problem, the name as written.
    QString storedPhoto(int line, const QString &foto)
    {
        const QString source = photoSource(m_csvFolder, foto);
        if (const QString notAFile = notAPhotoFile(source); !notAFile.isEmpty()) {
            problems.add(line, notAFile);
            return foto;
        }
        // A photo that many questions share is decoded once.
        const QString key = QFileInfo(source).canonicalFilePath();
        auto fault = m_photoFaults.constFind(key);
        if (fault == m_photoFaults.cend()) {
            QString reason;
            try {
                m_checkPhoto(source);
            } catch (const AppError &error) {
                reason = error.text();
            }
            fault = m_photoFaults.insert(key, reason);
        }
        if (!fault->isEmpty()) {
            problems.add(line, QStringLiteral("a foto %1 não pode ser mostrada: %2").arg(source, *fault));
            return foto;
        }
        return m_photos.place(source);
    }

    QString m_csvFolder;
    PhotoPlan m_photos;
    const PhotoCheck &m_checkPhoto;
    const FitCheck &m_checkFit;
    QHash<QString, QString> m_photoFaults; // by file: why it cannot be shown, empty when it can
    bool m_headerSeen = false, m_headerSound = false, m_headerStored = false;
    int m_position[ColumnCount] {};
    qsizetype m_width = 0, m_headerFields = 0;
};

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
    const QByteArray bytes = file.readAll();
    const QString refusal = QStringLiteral("%1: nada foi importado; corrija o arquivo e importe de novo").arg(csvPath);

    // 1. Every record checked.
    CsvImport import(QFileInfo(csvPath).absolutePath(), report.photoFolder, checkPhoto, checkFit);
    bool anyRecord = false;
    const CsvText csv = parseCsv(bytes, [&](const CsvRecord &record) {
        anyRecord = true;
        import.check(record);
    });
    if (!anyRecord && csv.error.isEmpty())
        import.problems.add(1, QStringLiteral("o arquivo está vazio; a primeira linha deve ser o cabeçalho %1")
                                   .arg(columnNames().join(QLatin1Char(';'))));
    if (!csv.error.isEmpty())
        import.problems.add(csv.errorLine, csv.error);
    if (!import.problems.isEmpty())
        throw ImportRefused(refusal, import.problems.lines());
    if (import.questions == 0)
        throw AppError(QStringLiteral("%1 não tem perguntas depois do cabeçalho; nada foi importado").arg(csvPath));
    report.warnings = import.warnings.lines();

    // 2. The photos, then the questions in one transaction; a failure takes the copies back.
    try {
        std::optional<PhotoCopies> photos;
        if (!import.copies().isEmpty()) {
            photos.emplace(report.photoFolder);
            for (const PhotoPlan::Copy &copy : import.copies())
                photos->copy(copy.source, QFileInfo(copy.target).fileName());
            photos->sync();
        }
        report.firstId = appendQuestions(dataFolder, [&](const QuestionSink &add) {
            parseCsv(bytes, [&](const CsvRecord &record) { import.store(record, add); });
        });
        if (photos) {
            photos->commit();
            report.photosCopied = photos->count();
        }
    } catch (const AppError &error) {
        throw AppError(error.text() + QStringLiteral("\nNada foi importado; o banco de perguntas ficou como estava."));
    }
    report.questions = int(import.questions);
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
