#pragma once
// Photos decoded before they are shown. A screen hands in the photos it will show next (the
// questions' Foto, read from their bank by BankPhotos), in the order it will show them; a
// background thread of its own decodes them one at a time, as a picture box of the given size
// shows them (loadPicture or decodePicture with that visible size), while the player reads.
// Taking a photo gives the decoded picture when it is still the one that was read (a file: same
// size, modification and change times, same file; a server's photo never changes), and
// otherwise reads and decodes it there and then, errors included: a photo that failed in the background is decoded again
// when it is taken, so that its error is reported then, never before.
//
// Metafiles (EMF, WMF) are only decoded when taken: their libraries are not known to be safe to
// run beside one another.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <thread>

class Bank;

class PhotoPrefetch {
public:
    PhotoPrefetch(QSize visible, const Bank &bank);
    // Stops: waits for the decode under way, if any, and no other.
    ~PhotoPrefetch();
    PhotoPrefetch(const PhotoPrefetch &) = delete;
    PhotoPrefetch &operator=(const PhotoPrefetch &) = delete;

    // Reads the photos of `bank` from now on, after stop().
    void useBank(const Bank &bank);
    // Decodes `paths` in the background, in this order, in place of whatever was handed in before;
    // pictures decoded earlier are kept only when among `paths`. Empty paths are passed over.
    void prefetch(const QStringList &paths);
    // The picture at `path` as loadPicture(path, visible) gives it now. A decode of `path` under
    // way in the background is waited for; one not started yet is dropped and done here, and
    // kept like a background one until a list leaves it out.
    QImage take(const QString &path);
    // Drops what is waiting and every decoded picture, and waits for the decode under way (at
    // most one): nothing runs in the background after it returns.
    void stop();

    // Whether nothing is waiting or being decoded.
    bool idle() const;
    // Background decodes finished since construction, failed ones included.
    int decodedInBackground() const;

private:
    struct Shared;
    std::unique_ptr<Shared> d;
    // The thread that decodes a list; a new one is started for a list handed in after the last
    // one ran out. A plain thread, so that ThreadSanitizer sees every lock between it and the
    // screens (it cannot see inside Qt's own thread pool). Declared after the state it works on,
    // so that it is joined before that state goes, whatever path destroys them.
    std::jthread m_worker;
};
