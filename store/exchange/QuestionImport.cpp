#include "store/exchange/QuestionImport.h"

#include "store/bank/Bank.h"
#include "store/bank/PhotoPlan.h"
#include "store/bank/QuestionCheck.h"
#include "store/bank/QuestionWrites.h"
#include "store/exchange/Csv.h"
#include "store/exchange/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <cmath>
#include <optional>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A CSV file larger than this is refused before it is read: a bank of thousands of questions
// takes a few megabytes.
constexpr qint64 MaxCsvBytes = qint64(64) << 20;

// The columns the import reads, in the order its messages name them: the texts of a question,
// then Id, which only an update reads.
constexpr std::array<QuestionColumn, QuestionColumnCount> ImportColumns = [] {
    std::array<QuestionColumn, QuestionColumnCount> columns {};
    for (size_t i = 0; i < QuestionTexts.size(); ++i)
        columns[i] = QuestionTexts[i];
    columns.back() = QuestionColumn::Id;
    return columns;
}();

// The header a file must have, as the messages give it: the texts' columns joined by `separator`.
QString neededHeader(const QString &separator) { return questionColumnNames(QuestionTexts).join(separator); }

// A question's text as the import compares it with others: without the case of its letters and
// the accents on them ("Qual é" and "QUAL E" are the same question).
QString comparedText(const QString &text)
{
    const QString decomposed = text.trimmed().normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            bare += c;
    return bare.toCaseFolded();
}

// The bank as the import finds it: which question each text is, and each question's photo.
struct BankIndex {
    QHash<QString, double> idOfText; // by comparedText()
    QHash<double, QString> photoOfId;
};

BankIndex indexBank(const Bank &bank)
{
    BankIndex index;
    for (const Question &row : bank.readQuestions()) {
        if (std::isnan(row.id))
            continue;
        index.idOfText.insert(comparedText(row.pergunta), row.id);
        index.photoOfId.insert(row.id, row.foto);
    }
    return index;
}

// The question number an update's Id field names: empty for none, nullopt when it is not a
// whole number from 1.
std::optional<double> idNamed(const QString &field)
{
    const QString text = field.trimmed();
    if (text.isEmpty())
        return std::nan("");
    bool ok = false;
    const qlonglong id = text.toLongLong(&ok);
    if (!ok || id < 1 || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return double(id);
}

QString problem(int line, const QString &text) { return QStringLiteral("linha %1: %2").arg(line).arg(text); }

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

// Correta as the text of the answer: the text itself when it equals one of the answers, else a
// number 1 to 4 or a letter A to D naming one.
QString correctAnswer(const QString &written, const std::array<QString, 4> &answers)
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
// all and decide what becomes of each, and, when none has a problem, once more to store them.
class CsvImport {
public:
    CsvImport(ImportMode mode, bool csvText, const BankIndex &bank, const QString &csvFolder, PhotoPlacer &photos,
              const PhotoCheck &checkPhoto, const FitCheck &checkFit, const PhotoFitter &fitPhoto)
        : m_mode(mode), m_csvText(csvText), m_bank(bank), m_csvFolder(csvFolder), m_photos(photos),
          m_checkPhoto(checkPhoto), m_checkFit(checkFit), m_fitPhoto(fitPhoto)
    {
    }

    ProblemList problems {QStringLiteral("e mais %1 problemas em outras linhas, não listados")};
    ProblemList warnings {QStringLiteral("e mais %1 avisos em outras linhas, não listados")};
    ProblemList changes {QStringLiteral("e mais %1 linhas, não listadas")};
    qint64 questions = 0; // records to store
    int skipped = 0;
    int fittedCopies() const { return m_fittedCount; }

    // The first reading: every record checked, the photos planned, the rows to skip chosen.
    void check(const CsvRecord &record)
    {
        if (!m_headerSeen) {
            m_headerSeen = true;
            readHeader(record);
        } else if (m_headerSound) {
            if (question(record, true))
                ++questions;
        }
    }

    // The second reading: the question of each record not skipped, stored; what became of it is
    // listed in an update.
    void store(const CsvRecord &record, const QuestionWriter &write, ImportReport &report)
    {
        if (!m_headerStored) {
            m_headerStored = true;
            return;
        }
        // The records are those checked, but a photo may have changed on the disk since.
        const qint64 problemsBefore = problems.count();
        const std::optional<Question> row = question(record, false);
        if (problems.count() != problemsBefore)
            throw AppError(problem(record.line, QStringLiteral("a foto mudou durante a importação; importe de novo")));
        if (!row)
            return;
        const StoredRow stored = write(*row);
        const qint64 number = qint64(stored.id);
        switch (stored.as) {
        case StoredAs::Added:
            if (report.added++ == 0)
                report.firstId = stored.id;
            if (m_mode == ImportMode::Update)
                changes.add(record.line, std::isnan(row->id)
                                             ? QStringLiteral("acrescentada com o número %1").arg(number)
                                             : QStringLiteral("acrescentada com o número %1 (o Id %2 não está no banco)")
                                                   .arg(number)
                                                   .arg(qint64(row->id)));
            break;
        case StoredAs::Replaced:
            ++report.replaced;
            changes.add(record.line, QStringLiteral("pergunta %1 substituída").arg(number));
            break;
        case StoredAs::Unchanged:
            ++report.unchanged;
            break;
        }
    }

private:
    // A field's text: in CSV text, without the apostrophe that guards a text from being taken
    // for a formula. A workbook's cells are text already, and keep every character.
    QString fieldText(const QString &field) const { return m_csvText ? csvFormulaUnguarded(field) : field; }

    // Which field of a record holds which column.
    void readHeader(const CsvRecord &header)
    {
        std::fill(std::begin(m_position), std::end(m_position), -1);
        for (QuestionColumn column : ImportColumns) {
            const QString &name = questionField(column).name;
            int &position = m_position[int(column)];
            for (int i = 0; i < header.fields.size(); ++i) {
                if (header.fields[i].trimmed().compare(name, Qt::CaseInsensitive) != 0)
                    continue;
                if (position >= 0)
                    problems.add(header.line, QStringLiteral("a coluna %1 aparece mais de uma vez").arg(name));
                else
                    position = i;
            }
            const bool needed = column != QuestionColumn::Id || m_mode == ImportMode::Update;
            if (position < 0 && needed)
                problems.add(header.line,
                             column == QuestionColumn::Id
                                 ? QStringLiteral("falta a coluna %1, que diz qual pergunta cada linha substitui "
                                                  "(o arquivo exportado pelo jornada-dados a tem)")
                                       .arg(name)
                                 : QStringLiteral("falta a coluna %1 (o cabeçalho deve ter as colunas %2, "
                                                  "separadas por ponto e vírgula ou por vírgula)")
                                       .arg(name, neededHeader(QStringLiteral(", "))));
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

    // Whether a checked row is left out: a question to add that the bank, or an earlier row, has
    // already. Rows that replace a question are never left out.
    bool skip(int line, double id, const QString &pergunta)
    {
        if (!std::isnan(id) && m_bank.photoOfId.contains(id))
            return false;
        const QString text = comparedText(pergunta);
        QString why;
        if (const auto inBank = m_bank.idOfText.constFind(text); inBank != m_bank.idOfText.cend())
            why = QStringLiteral("não acrescentada: a pergunta já está no banco, com o número %1").arg(qint64(*inBank));
        else if (const auto earlier = m_firstLineOfText.constFind(text); earlier != m_firstLineOfText.cend())
            why = QStringLiteral("não acrescentada: repete a pergunta da linha %1").arg(*earlier);
        if (why.isEmpty()) {
            m_firstLineOfText.insert(text, line);
            return false;
        }
        changes.add(line, why);
        m_skippedLines.insert(line);
        ++skipped;
        return true;
    }

    // The question of a record; none for a record of empty fields, a record skipped (see skip(),
    // decided when `checking`), or (when `checking`) one with a problem, which goes to `problems`.
    // Its id is the question it replaces in an update, NaN otherwise. A skipped record is not
    // checked further, and its photo is not copied.
    std::optional<Question> question(const CsvRecord &record, bool checking)
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
        Question q;
        for (QuestionColumn column : QuestionTexts) {
            QString &text = q.text(column);
            text = fieldText(record.fields[m_position[int(column)]]);
            if (hasControlCharacter(text))
                problems.add(record.line,
                             QStringLiteral("a coluna %1 tem caracteres de controle").arg(questionField(column).name));
        }
        double id = std::nan("");
        if (m_mode == ImportMode::Update) {
            const QString written = fieldText(record.fields[m_position[int(QuestionColumn::Id)]]);
            if (const std::optional<double> named = idNamed(written))
                id = *named;
            else
                problems.add(record.line, QStringLiteral("o Id \"%1\" não é o número de uma pergunta; deixe-o vazio "
                                                         "para acrescentar a pergunta")
                                              .arg(written));
            if (checking && !std::isnan(id)) {
                if (const auto earlier = m_lineOfId.constFind(id); earlier != m_lineOfId.cend())
                    problems.add(record.line, QStringLiteral("o Id %1 aparece também na linha %2")
                                                  .arg(qint64(id))
                                                  .arg(*earlier));
                else
                    m_lineOfId.insert(id, record.line);
            }
        }
        if (checking ? skip(record.line, id, q.pergunta) : m_skippedLines.contains(record.line))
            return std::nullopt;
        q.correta = correctAnswer(q.correta, q.answers);
        if (!q.foto.trimmed().isEmpty())
            q.foto = storedPhoto(record.line, q.foto, std::isnan(id) ? QString() : m_bank.photoOfId.value(id));
        if (checking) {
            for (const QString &text : questionProblems(q))
                problems.add(record.line, text);
            if (m_checkFit)
                for (const QString &text : m_checkFit(q))
                    warnings.add(record.line, text);
        }
        if (problems.count() != problemsBefore)
            return std::nullopt;
        q.id = id;
        return q;
    }

    // Where the photo that a record names is stored; with a problem, the name as written.
    // `replacedPhoto` is the stored photo of the question the record replaces, if any.
    QString storedPhoto(int line, const QString &foto, const QString &replacedPhoto)
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
        // A question updated with the photo it has (exported beside the file, say) keeps it as
        // stored, wherever that is.
        if (!replacedPhoto.isEmpty()) {
            // Compared once, though both readings of the record ask.
            const QString pair = key + QLatin1Char('\n') + replacedPhoto;
            auto same = m_sameAsReplaced.constFind(pair);
            if (same == m_sameAsReplaced.cend())
                same = m_sameAsReplaced.insert(pair, m_photos.sameAs(source, replacedPhoto));
            if (*same)
                return replacedPhoto;
        }
        if (m_fitPhoto) {
            const QString fitted = fittedCopy(line, key, source);
            if (fitted.isNull())
                return foto;
            if (!fitted.isEmpty())
                return m_photos.place(fitted);
        }
        return m_photos.place(source);
    }

    // The file of the fitted copy of `source` (made once, aside, for the copies to take); empty
    // when the photo needs none; null when making it failed, which goes to `problems`.
    QString fittedCopy(int line, const QString &key, const QString &source)
    {
        if (const auto known = m_fitted.constFind(key); known != m_fitted.cend())
            return *known;
        std::optional<FittedPhoto> copy;
        try {
            copy = m_fitPhoto(source);
        } catch (const AppError &error) {
            problems.add(line, QStringLiteral("a foto %1 não pode ser ajustada ao quadro: %2").arg(source, error.text()));
            return QString();
        }
        QString made = QLatin1String("");
        if (copy) {
            // Each in a folder of its own: two photos of the same name give copies of the same name.
            const QString folder = m_aside.filePath(QString::number(m_fitted.size()));
            QFile file(QDir(folder).filePath(copy->name));
            if (!m_aside.isValid() || !QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly)
                || file.write(copy->bytes) != copy->bytes.size() || !file.flush()) {
                problems.add(line, QStringLiteral("a cópia ajustada da foto %1 não pôde ser gravada: %2")
                                       .arg(source, file.errorString()));
                return QString();
            }
            made = file.fileName();
            ++m_fittedCount;
        }
        m_fitted.insert(key, made);
        return made;
    }

    ImportMode m_mode;
    bool m_csvText;
    const BankIndex &m_bank;
    QString m_csvFolder;
    PhotoPlacer &m_photos;
    const PhotoCheck &m_checkPhoto;
    const FitCheck &m_checkFit;
    const PhotoFitter &m_fitPhoto;
    QTemporaryDir m_aside;              // the fitted copies, until they are copied in
    QHash<QString, QString> m_fitted;   // by file: its fitted copy aside, empty when it needs none
    int m_fittedCount = 0;
    QHash<QString, QString> m_photoFaults; // by file: why it cannot be shown, empty when it can
    QHash<QString, bool> m_sameAsReplaced; // by file and replaced photo: whether their bytes are the same
    QHash<QString, int> m_firstLineOfText;  // rows to add, by comparedText() of their question
    QHash<double, int> m_lineOfId;          // rows of an update, by their Id
    QSet<int> m_skippedLines;
    bool m_headerSeen = false, m_headerSound = false, m_headerStored = false;
    int m_position[QuestionColumnCount] {}; // by QuestionColumn: the column's place in the file
    qsizetype m_width = 0, m_headerFields = 0;
};

} // namespace

ImportReport importQuestions(const QString &csvPath, const Bank &bank, ImportMode mode, const PhotoCheck &checkPhoto,
                             const FitCheck &checkFit, const PhotoFitter &fitPhoto)
{
    ImportReport report;
    const std::unique_ptr<QuestionWrites> writes = bank.questionWrites();
    report.table = writes->table();
    report.photoFolder = writes->photoPlace();

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
    // A workbook is read by its parts from the file, twice; CSV text is read once, and kept.
    const QString suffix = QFileInfo(csvPath).suffix().toLower();
    const bool workbook = suffix == u"xlsx" || suffix == u"ods";
    const QByteArray bytes = workbook ? QByteArray() : file.readAll();
    const auto read = [&](const std::function<void(const CsvRecord &)> &onRecord) {
        return workbook ? parseSpreadsheet(csvPath, onRecord) : parseCsv(bytes, onRecord);
    };
    const QString refusal = QStringLiteral("%1: nada foi importado; corrija o arquivo e importe de novo").arg(csvPath);
    const QString nothingDone = QStringLiteral("\nNada foi importado; o banco de perguntas ficou como estava.");

    // 1. Every record checked, against the questions of the bank.
    BankIndex index;
    try {
        index = indexBank(bank);
    } catch (const AppError &error) {
        throw AppError(error.text() + nothingDone);
    }
    CsvImport import(mode, !workbook, index, QFileInfo(csvPath).absolutePath(), writes->photoPlan(), checkPhoto,
                     checkFit, fitPhoto);
    bool anyRecord = false;
    const CsvText csv = read([&](const CsvRecord &record) {
        anyRecord = true;
        import.check(record);
    });
    if (!anyRecord && csv.error.isEmpty())
        import.problems.add(1, QStringLiteral("o arquivo está vazio; a primeira linha deve ser o cabeçalho %1")
                                   .arg(neededHeader(QStringLiteral(";"))));
    if (!csv.error.isEmpty())
        import.problems.add(csv.errorLine, csv.error);
    if (!import.problems.isEmpty())
        throw ImportRefused(refusal, import.problems.lines());
    if (import.questions == 0 && import.skipped == 0)
        throw AppError(QStringLiteral("%1 não tem perguntas depois do cabeçalho; nada foi importado").arg(csvPath));
    report.warnings = import.warnings.lines();
    report.skipped = import.skipped;
    report.photosFitted = import.fittedCopies();

    // 2. The photos, then the questions in one transaction; a failure takes the photos back.
    const auto storeRecords = [&](const QuestionWriter &write) {
        read([&](const CsvRecord &record) { import.store(record, write, report); });
    };
    try {
        report.photosCopied = writes->store(storeRecords, import.questions > 0);
    } catch (const AppError &error) {
        throw AppError(error.text() + nothingDone);
    }
    report.changes = import.changes.lines();
    return report;
}
