#include "platform/MetafileProcess.h"

#include "platform/formats/PictureLimits.h"
#include "store/core/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <sys/resource.h>

namespace {

// The decoder's address space: the libraries' own budget, the largest drawing and its PNG, and
// room for the program and its libraries themselves. Real metafiles need a small part of it.
constexpr qint64 DecoderMemoryBytes = MaxDecoderBytes + qint64(512) * 1024 * 1024;

// A real metafile decodes in a fraction of a second; a file that takes this long is refused.
constexpr int DecoderSeconds = 10;

// The most a decoder may answer: an SVG text within MaxEmfSvgBytes, or the PNG of the largest
// drawing (which compresses, but is allowed its raw size and more).
constexpr qint64 MaxAnswerBytes = std::max(MaxEmfSvgBytes, MaxMetafilePixels * 4 + 1024 * 1024);

const char DecoderName[] = "jornada-metarquivo";

// Beside the running program, in the folder above it, or where the package installs it.
QString findDecoderProgram()
{
    const QDir here = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).dir();
    for (const QString &candidate :
         {here.filePath(QLatin1String(DecoderName)), here.filePath(QStringLiteral("../") + QLatin1String(DecoderName))}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QString::fromUtf8(JORNADA_METAFILE_DECODER);
}

} // namespace

MetafileDecoder metafileDecoder()
{
    // Looked for once: the program does not move while this one runs.
    static const QString program = findDecoderProgram();
    return {program, DecoderMemoryBytes, DecoderSeconds};
}

MetafileOutcome runMetafileDecoder(MetafileKind kind, const QByteArray &data, qint64 memoryBudget,
                                   const MetafileDecoder &decoder)
{
    QProcess child;
    child.setProgram(decoder.program);
    child.setArguments({kind == MetafileKind::Emf ? QStringLiteral("emf") : QStringLiteral("wmf"),
                        QString::number(memoryBudget)});
    // The limits are set between fork and exec, where only system calls are safe to make.
    const rlim_t memory = rlim_t(decoder.memoryBytes), seconds = rlim_t(decoder.seconds);
    child.setChildProcessModifier([memory, seconds] {
        // No core file of a crash there: the crash is the file's fault, reported as such.
        const rlimit noCore {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        // Past the soft limit the process gets SIGXCPU, which ends it; the hard one kills it.
        const rlimit time {seconds, seconds + 1};
        ::setrlimit(RLIMIT_CPU, &time);
        if (MetafileMemoryLimited) {
            const rlimit space {memory, memory};
            ::setrlimit(RLIMIT_AS, &space);
        }
    });
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(QIODevice::ReadWrite);
    if (!child.waitForStarted(decoder.seconds * 1000))
        throw AppError(QStringLiteral("Não foi possível iniciar o leitor de metarquivos (%1): %2")
                           .arg(decoder.program, child.errorString()));
    child.write(data);
    child.closeWriteChannel();

    // The time on the clock covers a decoder that waits rather than computes.
    if (!child.waitForFinished(decoder.seconds * 1000)) {
        child.kill();
        child.waitForFinished(-1);
        return {MetafileOutcome::Died, {}};
    }
    const QByteArray answer = child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || answer.size() > MaxAnswerBytes)
        return {MetafileOutcome::Died, {}};
    switch (child.exitCode()) {
    case MetafileExit::Decoded:
        return {answer.isEmpty() ? MetafileOutcome::Died : MetafileOutcome::Decoded, answer};
    case MetafileExit::Refused:
        return {answer.isEmpty() ? MetafileOutcome::Died : MetafileOutcome::Refused, answer};
    case MetafileExit::LibraryFailed:
        return {MetafileOutcome::LibraryFailed, {}};
    default:
        return {MetafileOutcome::Died, {}};
    }
}
