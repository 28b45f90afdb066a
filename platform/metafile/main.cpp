// jornada-metarquivo: decodes one metafile for the game, in a process of its own, so that what
// libemf2svg or libwmf do with a damaged file (crash, hang, allocate without end) ends here.
// It runs under the limits the game starts it with; see platform/MetafileProcess.h for the
// exchange.
#include "platform/MetafileProcess.h"
#include "platform/formats/PictureLimits.h"
#include "platform/metafile/MetafileLibraries.h"
#include "store/core/AppError.h"

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include <unistd.h>

namespace {

// Reads `fd` to its end; false when it holds more than `limit` bytes.
bool readAll(int fd, QByteArray &data, qint64 limit)
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            std::_Exit(MetafileExit::Usage);
        if (n == 0)
            return true;
        if (data.size() + n > limit)
            return false;
        data.append(chunk, n);
    }
}

void writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            std::_Exit(MetafileExit::Usage);
        done += n;
    }
}

// Ends the process at once: nothing it holds needs giving back, and a library's state torn down
// at exit is one more place for a damaged file's effects to show.
[[noreturn]] void finish(int code, const QByteArray &answer)
{
    writeAll(STDOUT_FILENO, answer);
    std::_Exit(code);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return MetafileExit::Usage;
    const QByteArray kind = argv[1];
    bool budgetOk = false;
    const qint64 budget = QByteArray(argv[2]).toLongLong(&budgetOk);
    if ((kind != "emf" && kind != "wmf") || !budgetOk || budget < 0)
        return MetafileExit::Usage;

    QByteArray data;
    if (!readAll(STDIN_FILENO, data, MaxMetafileBytes))
        finish(MetafileExit::Refused, QByteArrayLiteral("Metarquivo grande demais"));
    try {
        finish(MetafileExit::Decoded, kind == "emf" ? emfToSvg(data) : wmfToPng(data, budget));
    } catch (const AppError &error) {
        finish(MetafileExit::Refused, error.text().toUtf8());
    } catch (const WmfLibraryFailed &) {
        finish(MetafileExit::LibraryFailed, {});
    } catch (const std::bad_alloc &) {
        finish(MetafileExit::Refused, QByteArrayLiteral("O metarquivo exige memória demais"));
    }
}
