// The record file: what is written byte by byte, how any file is read back, and that a failed
// write never costs the record already on disk nor leaves a file open; the owner of a file
// descriptor that the record file uses.
#include "helpers/Descriptors.h"
#include "store/core/AppError.h"
#include "store/core/Handles.h"
#include "store/folder/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <optional>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The error text WriteRecord throws, or an empty text when it succeeds.
QString writeError(const QString &path, const QString &name, qint32 points)
{
    try {
        WriteRecord(path, name, points);
    } catch (const AppError &e) {
        return e.text();
    }
    return QString();
}

mode_t modeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

bool setMode(const QString &path, mode_t mode) { return ::chmod(QFile::encodeName(path).constData(), mode) == 0; }

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Runs `work` as an ordinary user and returns what it returns. A process that is not root runs
// it itself; root runs it in a child process that has become the user "nobody", so that this
// process keeps its own identity. Returns nothing when the switch is impossible here.
std::optional<QString> asOrdinaryUser(const std::function<QString()> &work)
{
    if (::geteuid() != 0)
        return work();
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        const uid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setegid(nobody) != 0 || ::seteuid(nobody) != 0)
            ::_exit(2);
        const QByteArray text = work().toUtf8();
        ::_exit(::write(channel[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray text;
    char chunk[512];
    for (ssize_t n; (n = ::read(channel[0], chunk, sizeof chunk)) != 0;) {
        if (n > 0)
            text.append(chunk, n);
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("(the child process ended abnormally)");
    return QString::fromUtf8(text);
}

ino_t inodeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// Marks a folder immutable for the life of the guard: nothing can be created in it or removed
// from it, by root neither, while the files inside stay writable. Needs a file system that
// keeps the mark and the right to set it; isSet() tells whether it took.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        int flags = 0;
        if (m_fd < 0 || ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) != 0)
            return;
        flags |= FS_IMMUTABLE_FL;
        m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ~ImmutableFolder() { clear(); }
    bool isSet() const { return m_set; }
    void clear()
    {
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        m_set = false;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    bool m_set = false;
};

// Limits the size of files this process may write, for the life of the guard. It applies to
// root as well, so it makes a write fail where permissions cannot.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestStoreRecord : public QObject {
    Q_OBJECT

private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void read_data();
    void read();
    void hugeFirstLine();
    void absentFileTouchesNothing();
    void roundTrip_data();
    void roundTrip();
    void failedWriteKeepsOldFile();
    void readOnlyFileIsKept();
    void fileTheUserMayNotWriteIsKept();
    void leftoverTemporariesAreRemoved();
    void killedWriteIsCleanedUpByTheNext();
    void temporaryInUseIsKept();
    void newFileTakesUsualPermissions_data();
    void newFileTakesUsualPermissions();
    void folderThatTakesNoNewFile_data();
    void folderThatTakesNoNewFile();
    void writeErrors_data();
    void writeErrors();
    void readErrors_data();
    void readErrors();
    void linkedRecordFile();
    void descriptorIsClosedOnce_data();
    void descriptorIsClosedOnce();
};

void TestStoreRecord::writesExactBytes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Ana 85") << "Ana" << 85 << QByteArray::fromHex("416E610D0A38350D0A");
    QTest::newRow("negative") << "Bia" << -7 << QByteArray("Bia\r\n-7\r\n");
    QTest::newRow("Windows-1252 name") << "José €" << 0 << QByteArray("Jos\xe9 \x80\r\n0\r\n");
    QTest::newRow("empty name") << "" << 12 << QByteArray("\r\n12\r\n");
    QTest::newRow("line break in the name") << "Ana\nMaria" << 3 << QByteArray("Ana Maria\r\n3\r\n");
    QTest::newRow("smallest") << "Z" << int(INT32_MIN) << QByteArray("Z\r\n-2147483648\r\n");
}

void TestStoreRecord::writesExactBytes()
{
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, QByteArray(1000, 'o')); // a longer old file is replaced whole
    WriteRecord(path, name, points);
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("error");
    QTest::newRow("as written") << QByteArray("Ana\r\n85\r\n") << "Ana" << 85 << "";
    QTest::newRow("empty file") << QByteArray() << "" << 0 << "";
    QTest::newRow("name only") << QByteArray("Ana") << "Ana" << 0 << "";
    QTest::newRow("name and line end only") << QByteArray("Ana\r\n") << "Ana" << 0 << "";
    QTest::newRow("blanks after the name") << QByteArray("Ana\r\n \t\r\n\r\n") << "Ana" << 0 << "";
    QTest::newRow("spaces, number, word") << QByteArray("Ana\r\n  85 pontos\r\n") << "Ana" << 85 << "";
    QTest::newRow("blank lines before the number") << QByteArray("Ana\r\n\r\n\n \t\r\n85\r\n") << "Ana" << 85 << "";
    QTest::newRow("LF only") << QByteArray("Ana\n85\n") << "Ana" << 85 << "";
    QTest::newRow("lone CR dropped") << QByteArray("A\rna\r\n85\r\n") << "Ana" << 85 << "";
    QTest::newRow("CR alone is no line end") << QByteArray("Ana\r85\r\n") << "Ana85" << 0 << "";
    QTest::newRow("end-of-file byte in the name") << QByteArray("An\x1a" "a\r\n85\r\n") << "An" << 0 << "";
    QTest::newRow("end-of-file byte before the number") << QByteArray("Ana\r\n\x1a" "85\r\n") << "Ana" << 0 << "";
    QTest::newRow("end-of-file byte after the number") << QByteArray("Ana\r\n85\x1a" "7\r\n") << "Ana" << 85 << "";
    QTest::newRow("Windows-1252 name") << QByteArray("Jos\xe9 \x80\r\n1\r\n") << "José €" << 1 << "";
    QTest::newRow("negative") << QByteArray("Ana\r\n-12\r\n") << "Ana" << -12 << "";
    QTest::newRow("plus sign") << QByteArray("Ana\r\n+12\r\n") << "Ana" << 12 << "";
    QTest::newRow("leading zeros") << QByteArray("Ana\r\n007\r\n") << "Ana" << 7 << "";
    QTest::newRow("largest") << QByteArray("Ana\r\n2147483647\r\n") << "Ana" << int(INT32_MAX) << "";
    QTest::newRow("smallest") << QByteArray("Ana\r\n-2147483648\r\n") << "Ana" << int(INT32_MIN) << "";
    QTest::newRow("third line ignored") << QByteArray("Ana\r\n5\r\nlixo\r\n") << "Ana" << 5 << "";
    QTest::newRow("letters") << QByteArray("Ana\r\nabc\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("digits then letters") << QByteArray("Ana\r\n85abc\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("sign alone") << QByteArray("Ana\r\n-\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("decimal point") << QByteArray("Ana\r\n8.5\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("above 32 bits") << QByteArray("Ana\r\n2147483648\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("below 32 bits") << QByteArray("Ana\r\n-2147483649\r\n") << "Ana" << 0 << "Invalid numeric input";
    QTest::newRow("very long number") << QByteArray("Ana\r\n") + QByteArray(40, '9') << "Ana" << 0
                                      << "Invalid numeric input";
}

void TestStoreRecord::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, bytes);

    QString readName = QStringLiteral("antes");
    qint32 readPoints = -1;
    QString readError;
    bool existed = false;
    try {
        existed = ReadRecord(path, readName, readPoints);
    } catch (const AppError &e) {
        readError = e.text();
    }
    QCOMPARE(readError, error);
    QCOMPARE(readName, name); // taken from line 1 even when line 2 fails
    if (error.isEmpty()) {
        QVERIFY(existed);
        QCOMPARE(readPoints, points);
    }
}

void TestStoreRecord::hugeFirstLine()
{
    // A file of 1 MiB is still read, name and all; one byte more is refused unread.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    const QByteArray name(1024 * 1024 - 6, 'n');
    writeBytes(path, name + "\r\n42\r\n");
    QString readName;
    qint32 points = 0;
    QVERIFY(ReadRecord(path, readName, points));
    QCOMPARE(readName.toLatin1(), name);
    QCOMPARE(points, 42);

    writeBytes(path, name + "\r\n421\r\n");
    QString error;
    try {
        ReadRecord(path, readName, points);
    } catch (const AppError &e) {
        error = e.text();
    }
    QVERIFY2(error.startsWith(QStringLiteral("Recorde.txt está danificado: tem 1048577 bytes")), qPrintable(error));
}

void TestStoreRecord::absentFileTouchesNothing()
{
    QTemporaryDir dir;
    QString name = QStringLiteral("antes");
    qint32 points = 33;
    QVERIFY(!ReadRecord(dir.filePath(QStringLiteral("Recorde.txt")), name, points));
    QCOMPARE(name, QStringLiteral("antes"));
    QCOMPARE(points, 33);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Recorde.txt"))));
}

void TestStoreRecord::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::newRow("negative") << "Carla" << -15;
    QTest::newRow("zero") << "Zé" << 0;
    QTest::newRow("largest") << "Máximo" << int(INT32_MAX);
    QTest::newRow("smallest") << "Mínimo" << int(INT32_MIN);
    QTest::newRow("spaces kept") << "  Ana  Maria " << 100;
}

void TestStoreRecord::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, points);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    WriteRecord(path, name, points);
    QString readName;
    qint32 readPoints = 0;
    QVERIFY(ReadRecord(path, readName, readPoints));
    QCOMPARE(readName, name);
    QCOMPARE(readPoints, points);
}

void TestStoreRecord::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    WriteRecord(path, QStringLiteral("Ana"), 85);
    const QByteArray before = readBytes(path);

    QString error;
    const int descriptors = openDescriptors();
    {
        FileSizeLimit limit(64);
        try {
            WriteRecord(path, QString(1000, QLatin1Char('x')), 90);
        } catch (const AppError &e) {
            error = e.text();
        }
    }
    QCOMPARE(error, QStringLiteral("I/O error %1").arg(EFBIG));
    QCOMPARE(openDescriptors(), descriptors);
    QCOMPARE(readBytes(path), before);
    // Nothing is left behind beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::readOnlyFileIsKept()
{
    // No write permission for anyone: refused even when the suite runs as root.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, "Bia\r\n100\r\n");
    QVERIFY(setMode(path, 0444));

    QCOMPARE(writeError(path, QStringLiteral("Ana"), 85), QStringLiteral("File access denied"));
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(modeOf(path), mode_t(0444));
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::fileTheUserMayNotWriteIsKept()
{
    // Writable by its group only, in a folder anyone may write: neither its owner nor "nobody"
    // (who is neither owner nor in the group) may write it, though either could replace it.
    QTemporaryDir dir;
    QVERIFY(setMode(dir.path(), 0777));
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, "Bia\r\n100\r\n");
    QVERIFY(setMode(path, 0464));

    const std::optional<QString> error =
        asOrdinaryUser([&] { return writeError(path, QStringLiteral("Ana"), 85); });
    if (!error)
        QSKIP("this process cannot become an ordinary user");
    QCOMPARE(*error, QStringLiteral("File access denied"));
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(modeOf(path), mode_t(0464));
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::leftoverTemporariesAreRemoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, "Ana\r\n85\r\n");
    const QStringList leftovers{QStringLiteral("Recorde.txt.tmp-a1B2c3"), QStringLiteral("Recorde.txt.tmp-XXXXXX"),
                                QStringLiteral("Recorde.txt.tmp-000000")};
    for (const QString &leftover : leftovers)
        writeBytes(dir.filePath(leftover), "Ana\r\n");
    // Not a temporary of a write: a different name, or a longer ending.
    writeBytes(dir.filePath(QStringLiteral("Recorde.txt.bak")), "Bia\r\n100\r\n");
    writeBytes(dir.filePath(QStringLiteral("Recorde.txt.tmp-antigo1")), "Caio\r\n3\r\n");

    WriteRecord(path, QStringLiteral("Bia"), 100);
    QCOMPARE(filesIn(dir.path()), (QStringList{QStringLiteral("Recorde.txt"), QStringLiteral("Recorde.txt.bak"),
                                               QStringLiteral("Recorde.txt.tmp-antigo1")}));
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("Recorde.txt.bak"))), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("Recorde.txt.tmp-antigo1"))), QByteArray("Caio\r\n3\r\n"));
}

void TestStoreRecord::killedWriteIsCleanedUpByTheNext()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    writeBytes(path, "Ana\r\n85\r\n");

    // A child process is killed in the middle of its write: past 4 bytes the system ends it.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        rlimit limit{0, 0};
        ::setrlimit(RLIMIT_CORE, &limit);
        limit = {4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            WriteRecord(path, QStringLiteral("Interrompido"), 1);
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGXFSZ);
    const QStringList left = filesIn(dir.path());
    QCOMPARE(left.size(), 2);
    QCOMPARE(left[0], QStringLiteral("Recorde.txt"));
    QVERIFY2(left[1].startsWith(QLatin1String("Recorde.txt.tmp-")), qPrintable(left[1]));
    QCOMPARE(readBytes(path), QByteArray("Ana\r\n85\r\n"));

    WriteRecord(path, QStringLiteral("Bia"), 100);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Recorde.txt")});
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
}

void TestStoreRecord::temporaryInUseIsKept()
{
    // Another write holds a lock on the temporary it is still filling; it is no leftover.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    const QString busy = dir.filePath(QStringLiteral("Recorde.txt.tmp-Em0uso"));
    writeBytes(busy, "Caio\r\n");
    const int fd = ::open(QFile::encodeName(busy).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX), 0);

    WriteRecord(path, QStringLiteral("Bia"), 100);
    ::close(fd);
    QCOMPARE(filesIn(dir.path()), (QStringList{QStringLiteral("Recorde.txt"), QStringLiteral("Recorde.txt.tmp-Em0uso")}));
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(readBytes(busy), QByteArray("Caio\r\n"));
}

void TestStoreRecord::newFileTakesUsualPermissions_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode");
    QTest::newRow("umask 022") << 022 << 0644;
    QTest::newRow("umask 002") << 002 << 0664;
    QTest::newRow("umask 077") << 077 << 0600;
}

void TestStoreRecord::newFileTakesUsualPermissions()
{
    QFETCH(int, umask);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    const mode_t previous = ::umask(mode_t(umask));
    WriteRecord(path, QStringLiteral("Bia"), 100);
    ::umask(previous);
    QCOMPARE(modeOf(path), mode_t(mode));
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
}

void TestStoreRecord::folderThatTakesNoNewFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("hasRecord");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("writable folder: replaced") << "writable" << true << "" << false;
    QTest::newRow("read-only folder, ordinary user: in place") << "readonly" << true << "" << true;
    QTest::newRow("immutable folder: in place") << "immutable" << true << "" << true;
    QTest::newRow("immutable folder, no record file") << "immutable" << false << "File access denied" << false;
}

void TestStoreRecord::folderThatTakesNoNewFile()
{
    QFETCH(QString, folder);
    QFETCH(bool, hasRecord);
    QFETCH(QString, error);
    QFETCH(bool, inPlace);
    QTemporaryDir dir;
    QVERIFY(setMode(dir.path(), 0755)); // an ordinary user may reach the folder inside
    const QString data = dir.filePath(QStringLiteral("dados"));
    QVERIFY(QDir().mkdir(data));
    const QString path = data + QStringLiteral("/Recorde.txt");
    if (hasRecord) {
        writeBytes(path, "Ana\r\n85\r\n");
        QVERIFY(setMode(path, 0666));
    }
    const ino_t before = inodeOf(path);
    auto write = [&] { return writeError(path, QStringLiteral("Bia"), 100); };

    QString text;
    if (folder == QLatin1String("writable")) {
        text = write();
    } else if (folder == QLatin1String("readonly")) {
        QVERIFY(setMode(data, 0555));
        const std::optional<QString> result = asOrdinaryUser(write);
        QVERIFY(setMode(data, 0755));
        if (!result)
            QSKIP("this process cannot become an ordinary user");
        text = *result;
    } else {
        ImmutableFolder immutable(data);
        if (!immutable.isSet())
            QSKIP("this file system or this process cannot mark a folder immutable");
        text = write();
    }

    QCOMPARE(text, error);
    if (!hasRecord) {
        QCOMPARE(filesIn(data), QStringList());
        return;
    }
    QCOMPARE(readBytes(path), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(modeOf(path), mode_t(0666));
    QCOMPARE(inodeOf(path) == before, inPlace);
    QCOMPARE(filesIn(data), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::writeErrors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("a folder in place of the file") << "folder" << "File access denied";
    QTest::newRow("a file in place of the folder") << "notdir" << QStringLiteral("I/O error %1").arg(ENOTDIR);
    QTest::newRow("missing folder") << "missing" << "File not found";
    QTest::newRow("name too long") << "long" << "Invalid filename";
    QTest::newRow("read-only folder") << "readonly" << "File access denied";
    QTest::newRow("no name at all") << "empty" << "Invalid filename";
}

void TestStoreRecord::writeErrors()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Recorde.txt")));
    } else if (kind == QLatin1String("notdir")) {
        writeBytes(dir.filePath(QStringLiteral("arquivo")), "x");
        path = dir.filePath(QStringLiteral("arquivo/Recorde.txt"));
    } else if (kind == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("nada/Recorde.txt"));
    } else if (kind == QLatin1String("long")) {
        path = dir.filePath(QString(300, QLatin1Char('r')));
    } else if (kind == QLatin1String("empty")) {
        path.clear();
    } else if (kind == QLatin1String("readonly")) {
        if (::geteuid() == 0)
            QSKIP("folder permissions do not stop root from writing");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    }

    QString text;
    const int descriptors = openDescriptors();
    try {
        WriteRecord(path, QStringLiteral("Ana"), 85);
    } catch (const AppError &e) {
        text = e.text();
    }
    QCOMPARE(openDescriptors(), descriptors);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(text, error);
    if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(path).isDir());
    QStringList expected{QStringLiteral("arquivo")};
    if (kind != QLatin1String("notdir"))
        expected.clear();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), expected);
}

void TestStoreRecord::readErrors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error"); // how the text starts; the file's path follows
    QTest::newRow("folder") << "folder" << "File access denied\nRecorde.txt é uma pasta, não um arquivo: ";
    // A pipe with no writer would hold the game at its start for good.
    QTest::newRow("named pipe") << "fifo" << "Recorde.txt não é um arquivo comum; ele não foi lido.\nArquivo: ";
    QTest::newRow("link to /dev/zero") << "zero" << "Recorde.txt não é um arquivo comum; ele não foi lido.\nArquivo: ";
    QTest::newRow("2 GB, sparse") << "sparse" << "Recorde.txt está danificado: tem 2147483648 bytes";
}

void TestStoreRecord::readErrors()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Recorde.txt"));
    const QByteArray native = QFile::encodeName(path);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Recorde.txt")));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(native.constData(), 0666), 0);
    if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    if (kind == QLatin1String("sparse")) {
        writeBytes(path, "Ana\r\n1\r\n");
        QCOMPARE(::truncate(native.constData(), qint64(1) << 31), 0);
    }
    QString name = QStringLiteral("antes");
    qint32 points = 0;
    QString text;
    const int descriptors = openDescriptors();
    try {
        ReadRecord(path, name, points);
    } catch (const AppError &e) {
        text = e.text();
    }
    QVERIFY2(text.startsWith(error), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("bytes")) || text.endsWith(path), qPrintable(text));
    QCOMPARE(openDescriptors(), descriptors);
    QCOMPARE(name, QStringLiteral("antes"));
}

void TestStoreRecord::linkedRecordFile()
{
    // A record file that is a link to a shared one: the shared file gets the new record and the
    // link stays a link.
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("compartilhado/recorde-geral.txt"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("compartilhado")));
    writeBytes(shared, "Ana\r\n10\r\n");
    const QString link = dir.filePath(QStringLiteral("Recorde.txt"));
    QVERIFY(QFile::link(shared, link));
    WriteRecord(link, QStringLiteral("Bia"), 90);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(shared), QByteArray("Bia\r\n90\r\n"));
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Recorde.txt")});
}

void TestStoreRecord::descriptorIsClosedOnce_data()
{
    QTest::addColumn<QString>("how"); // the owner gives its descriptor up
    QTest::newRow("closed early") << "close";
    QTest::newRow("moved to another owner") << "move";
    QTest::newRow("given another descriptor") << "reset";
}

// Once an owner has given its descriptor up, the number may be taken by any file this process
// opens next: the owner must never close it again.
void TestStoreRecord::descriptorIsClosedOnce()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const auto openFile = [&](const char *name) {
        return ::open(QFile::encodeName(dir.filePath(QLatin1String(name))).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    };
    int number = -1;
    {
        UniqueFd owner(openFile("primeiro"));
        number = owner.get();
        QVERIFY(number >= 0);
        if (how == QLatin1String("close")) {
            QCOMPARE(owner.close(), 0);
        } else if (how == QLatin1String("move")) {
            UniqueFd other(std::move(owner));
            QCOMPARE(other.get(), number);
        } else {
            owner.reset(openFile("segundo"));
        }
        QCOMPARE(::fcntl(number, F_GETFD), -1); // closed
        // Another file takes the number (the next open usually takes it by itself).
        const int bystander = openFile("terceiro");
        if (bystander != number) {
            QCOMPARE(::dup2(bystander, number), number);
            ::close(bystander);
        }
    }
    QVERIFY2(::fcntl(number, F_GETFD) != -1, "the owner closed a descriptor it had given up");
    ::close(number);
}

QTEST_GUILESS_MAIN(TestStoreRecord)
#include "test_store_record.moc"
