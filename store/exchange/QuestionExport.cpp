#include "store/exchange/QuestionExport.h"

#include "store/core/AppError.h"
#include "store/exchange/Csv.h"
#include "store/bank/PhotoPlan.h"
#include "store/bank/Bank.h"
#include "store/bank/BankPhotos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cmath>
#include <optional>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

const QStringList &header()
{
    static const QStringList names = questionColumnNames(QuestionFileColumns);
    return names;
}

// Excel's own limit on the rows of a sheet.
constexpr qsizetype MaxXlsxRows = 1048576;

QString idText(double id)
{
    if (std::isnan(id))
        return QString();
    return id == std::floor(id) && std::abs(id) < 1e15 ? QString::number(qint64(id)) : QString::number(id, 'g', 17);
}

[[noreturn]] void cannotWrite(const QString &path, const QString &why)
{
    throw AppError(QStringLiteral("não foi possível gravar %1: %2").arg(path, why));
}

void writeCsv(const QString &path, const QList<QStringList> &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString());
    file.write(QByteArrayLiteral("\xEF\xBB\xBF"));
    // The header and every text quoted; the Id, a number, not.
    file.write(csvLine(header(), ';', ~quint64(0)));
    for (const QStringList &line : lines) {
        QStringList fields = {line.front()};
        for (qsizetype i = 1; i < line.size(); ++i)
            fields << csvFormulaGuarded(line[i]);
        file.write(csvLine(fields, ';', ~quint64(1)));
    }
    if (!file.commit())
        cannotWrite(path, file.errorString());
}

// The mode a new file gets: what the user's umask leaves of rw-rw-rw-.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeXlsx(const QString &path, const QList<QStringList> &lines)
{
    if (lines.size() + 1 > MaxXlsxRows)
        throw AppError(QStringLiteral("o banco tem %1 perguntas, mais do que cabe numa planilha .xlsx (%2 linhas); "
                                      "exporte para .csv")
                           .arg(lines.size())
                           .arg(MaxXlsxRows - 1));
    // libxlsxwriter writes to a name of its own: a temporary file beside the target, put in place
    // once complete and on the disk.
    QTemporaryFile aside(QFileInfo(path).absolutePath() + QStringLiteral("/.exportacao-XXXXXX.xlsx"));
    if (!aside.open())
        cannotWrite(path, aside.errorString());
    aside.close();
    const QByteArray asideName = QFile::encodeName(aside.fileName());

    lxw_workbook *book = workbook_new(asideName.constData());
    if (!book)
        cannotWrite(path, QStringLiteral("a planilha não pôde ser criada"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Perguntas");
    lxw_format *text = workbook_add_format(book);
    format_set_num_format(text, "@");
    // The columns are text, so that what a teacher types in a new row stays as typed too. Their
    // widths, in the order of QuestionFileColumns: Id, Pergunta, the answers and Correta, Foto.
    const double widths[] = {8, 60, 25, 25, 25, 25, 25, 30};
    static_assert(std::size(widths) == QuestionFileColumns.size());
    for (lxw_col_t c = 0; c < std::size(widths); ++c)
        worksheet_set_column(sheet, c, c, widths[c], text);
    worksheet_freeze_panes(sheet, 1, 0);
    lxw_error error = LXW_NO_ERROR;
    const auto put = [&](lxw_row_t row, const QStringList &cells) {
        for (qsizetype c = 0; c < cells.size() && error == LXW_NO_ERROR; ++c)
            if (!cells[c].isEmpty())
                error = worksheet_write_string(sheet, row, lxw_col_t(c), cells[c].toUtf8().constData(), text);
    };
    put(0, header());
    for (qsizetype r = 0; r < lines.size(); ++r)
        put(lxw_row_t(r + 1), lines[r]);
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        cannotWrite(path, QString::fromUtf8(lxw_strerror(error)));

    const int fd = ::open(asideName.constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    struct stat existing {};
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &existing) == 0 ? existing.st_mode & 07777
                                                                                   : newFileMode();
    if (!synced || ::chmod(asideName.constData(), mode) != 0
        || ::rename(asideName.constData(), QFile::encodeName(path).constData()) != 0)
        cannotWrite(path, QString::fromLocal8Bit(std::strerror(errno)));
    aside.setAutoRemove(false);
}

// The photos copied for one export, removed again unless it succeeds.
class ExportedPhotos {
public:
    explicit ExportedPhotos(const QString &folder) : m_folder(folder) {}
    ~ExportedPhotos()
    {
        if (m_kept)
            return;
        for (const QString &made : m_made)
            QFile::remove(made);
        if (m_folderMade)
            QDir().rmdir(m_folder);
    }
    void copy(const QString &source, const QString &target)
    {
        if (!QFileInfo(m_folder).isDir()) {
            if (!QDir().mkpath(m_folder))
                cannotWrite(m_folder, QStringLiteral("a pasta das fotos não pôde ser criada"));
            m_folderMade = true;
        }
        QFile file(source);
        if (!file.copy(target))
            cannotWrite(target, file.errorString());
        m_made << target;
    }
    int count() const { return int(m_made.size()); }
    void keep() { m_kept = true; }

private:
    QString m_folder;
    QStringList m_made;
    bool m_folderMade = false, m_kept = false;
};

// The photos of a bank, each as a file: a folder's photo file as it is; a photo the bank keeps as
// bytes written once to a file of its own name in a temporary folder, so that it is copied beside
// the exported file as a photo file is.
class PhotoFiles {
public:
    explicit PhotoFiles(const Bank &bank) : m_photos(bank.photos(PhotoThread::Screens)) {}

    // The file of the photo `foto` names; empty when the bank has no such photo, and `missing`
    // then says so. Each photo is asked of the bank once.
    QString fileOf(const QString &foto, QString &missing)
    {
        auto known = m_files.constFind(foto);
        if (known == m_files.cend())
            known = m_files.insert(foto, m_photos->has(foto) ? fileFor(foto, m_photos->read(foto)) : QString());
        if (known->isEmpty())
            missing = m_photos->missing(foto);
        return *known;
    }

private:
    // The file that holds `photo`: its own, or one written aside with its bytes.
    QString fileFor(const QString &foto, const BankPhoto &photo)
    {
        if (!photo.file.isEmpty())
            return photo.file;
        if (!m_aside)
            m_aside.emplace();
        if (!m_aside->isValid())
            throw AppError(QStringLiteral("não foi possível criar uma pasta temporária: %1").arg(m_aside->errorString()));
        // Each in a folder of its own, under the photo's own name (the part after any '/'),
        // which the copy beside the exported file keeps where it can.
        const QString folder = m_aside->filePath(QString::number(m_written++));
        QString base = QFileInfo(foto).fileName();
        if (base.isEmpty() || base == QLatin1String("..") || base == QLatin1String("."))
            base = QStringLiteral("foto");
        const QString file = QDir(folder).filePath(base);
        QFile out(file);
        if (!QDir().mkpath(folder) || !out.open(QIODevice::WriteOnly) || out.write(photo.bytes) != photo.bytes.size()
            || !out.flush())
            throw AppError(QStringLiteral("não foi possível gravar a foto %1 numa pasta temporária: %2")
                               .arg(foto, out.errorString()));
        return file;
    }

    std::unique_ptr<BankPhotos> m_photos;
    std::optional<QTemporaryDir> m_aside; // made for the first photo
    int m_written = 0;                     // photos written aside
    QHash<QString, QString> m_files;       // photo name -> its file, empty when the bank has none
};

} // namespace

ExportReport exportQuestions(const Bank &bank, const QString &path)
{
    const bool xlsx = path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    if (!xlsx && !path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        throw AppError(QStringLiteral("%1: a exportação grava arquivos .csv ou .xlsx; dê um nome terminado em um deles")
                           .arg(path));
    const QList<Question> rows = bank.readQuestions();
    if (QFileInfo(path).isDir())
        cannotWrite(path, QStringLiteral("é uma pasta"));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        cannotWrite(path, QStringLiteral("a pasta %1 não existe").arg(QFileInfo(path).absolutePath()));

    ExportReport report;
    report.photoFolder = QDir(QFileInfo(path).absolutePath()).filePath(QStringLiteral("fotos"));
    PhotoPlan plan(report.photoFolder);
    PhotoFiles files(bank);
    QList<QStringList> lines;
    lines.reserve(rows.size());
    for (Question row : rows) {
        QString &foto = row.foto; // as the exported file names it
        if (!foto.isEmpty()) {
            QString missing;
            const QString file = files.fileOf(foto, missing);
            if (!file.isEmpty())
                foto = QStringLiteral("fotos/") + QFileInfo(plan.place(file)).fileName();
            else
                report.warnings << QStringLiteral("pergunta %1: %2; a coluna Foto ficou com o nome gravado no banco")
                                       .arg(idText(row.id), missing);
        }
        QStringList line;
        for (QuestionColumn column : QuestionFileColumns)
            line << (column == QuestionColumn::Id ? idText(row.id) : row.text(column));
        lines << line;
    }

    ExportedPhotos photos(report.photoFolder);
    for (const PhotoPlan::Copy &copy : plan.copies())
        photos.copy(copy.source, copy.target);
    if (xlsx)
        writeXlsx(path, lines);
    else
        writeCsv(path, lines);
    photos.keep();
    report.questions = int(rows.size());
    report.photosCopied = photos.count();
    return report;
}
