#pragma once
// The metafile decoder process. Each EMF or WMF shown is handed to a short-lived process of its
// own (jornada-metarquivo), which runs libemf2svg or libwmf on it under a time and a memory
// limit: whatever those libraries do with a damaged file (crash, hang, allocate without end)
// ends with that process, and the game is told that the file could not be decoded.
#include <QByteArray>
#include <QString>

enum class MetafileKind { Emf, Wmf };

// The decoder's program and the limits it runs under.
struct MetafileDecoder {
    QString program;
    qint64 memoryBytes = 0; // its address space, at most (see MetafileMemoryLimited)
    int seconds = 0;        // its processor time, and its time on the clock, at most
};

// AddressSanitizer and ThreadSanitizer reserve terabytes of address space before main: a limit
// on it would stop a sanitizer build of the decoder from starting, so those builds keep only the
// time limit (and libwmf's own memory budget).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool MetafileMemoryLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool MetafileMemoryLimited = false;
#else
constexpr bool MetafileMemoryLimited = true;
#endif
#else
constexpr bool MetafileMemoryLimited = true;
#endif

// The installed decoder, with the limits a metafile is decoded under. The program is looked for
// beside the running program and in the folder above it (a build folder keeps it there), then
// where the package installs it.
MetafileDecoder metafileDecoder();

// What came of one run.
struct MetafileOutcome {
    enum Kind {
        Decoded,       // `bytes` is the SVG document (EMF) or the PNG (WMF)
        Refused,       // the decoder refused the file; `bytes` is its reason, in UTF-8
        LibraryFailed, // libwmf failed without a reason (WmfLibraryFailed)
        Died,          // crashed, was killed at its limits, or gave no usable answer
    } kind;
    QByteArray bytes;
};

// Runs `decoder` on `data`; libwmf's allocations are held to `memoryBudget`. A decoder that
// cannot be started throws AppError.
MetafileOutcome runMetafileDecoder(MetafileKind kind, const QByteArray &data, qint64 memoryBudget,
                                   const MetafileDecoder &decoder);

// The decoder process's side of the exchange: its command line is
//   jornada-metarquivo emf|wmf BUDGET
// the metafile comes on its standard input, and its exit code says what its standard output is.
namespace MetafileExit {
constexpr int Decoded = 0;
constexpr int Refused = 2;
constexpr int LibraryFailed = 3;
constexpr int Usage = 64;
} // namespace MetafileExit
