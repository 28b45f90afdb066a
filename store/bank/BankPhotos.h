#pragma once
// The photos of a bank, read and kept as that bank keeps them. A folder's questions name photo
// files by their path, wherever they are on the disk, and a copy made for the bank goes into its
// fotos/ folder. A server's questions name photos kept in the bank itself (perguntas.fotos), so
// that every machine of a lab shows them without a shared folder. Above store/, a question's
// Foto is only a name that this reads.
//
// An object serves one thread. On a server, the screens' thread reads through the connection its
// tables use; another thread (one decoding photos in the background) has a connection of its
// own. Either is made on first use, and made again after it broke.

#include <QByteArray>
#include <QString>

#include <memory>

// A photo as its bank gives it: a file to read, or its bytes.
struct BankPhoto {
    QString file;      // the file to read, when the bank keeps it as a file
    QByteArray bytes;  // the photo itself, when the bank keeps it (file empty)
    QString extension; // the kind of picture, from the photo's name ("jpg")
};

// A photo kept for a question by keep(): the Foto naming it, and whether keep() stored it anew
// (so that forget() may take it away if no question comes to use it).
struct KeptPhoto {
    QString foto;
    bool stored = false;
};

class BankPhotos {
public:
    virtual ~BankPhotos();

    // The photo that a question's `foto` names. Throws AppError when the bank has no such photo
    // or cannot be reached (a folder's file is opened only by whoever reads it).
    virtual BankPhoto read(const QString &foto) = 0;
    // Whether the bank has the photo that `foto` names (a folder: a file there). Throws AppError
    // when the bank cannot be reached.
    virtual bool has(const QString &foto) = 0;
    // What a person is told of a photo that `foto` names and the bank does not have: "a foto X não
    // existe", "a foto X não está no banco".
    virtual QString missing(const QString &foto) const = 0;
    // Whether a photo read now may differ from one read before under the same name: a folder's
    // file may be changed in place, a server's photo never is (a photo is stored under a name no
    // other photo has).
    virtual bool changesInPlace() const = 0;
    // Keeps the photo file at `path` for a question. A folder keeps the path itself; a server
    // stores the file's bytes under its name, or "name-2.ext", ... when another photo has it
    // (one with the same bytes is named, not stored again). Throws AppError, storing nothing.
    virtual KeptPhoto keepFile(const QString &path) = 0;
    // Keeps `bytes`, a picture made here (a copy fitted to the photo box), as `name`: in a
    // folder's fotos/ folder, or in a server's bank, numbered like keepFile() when the name is
    // taken by other bytes. Throws AppError, storing nothing.
    virtual KeptPhoto keepBytes(const QString &name, const QByteArray &bytes) = 0;
    // Takes away a photo that keep*() stored and no question came to use. Failing quietly: a
    // photo left over is no harm to any question.
    virtual void forget(const QString &foto) = 0;
};

enum class PhotoThread { Screens, Other };

// The kind of picture a photo is, from its name: its extension in small letters ("jpg").
QString photoExtension(const QString &foto);
