#pragma once
// Where photos go when they are copied into a fotos folder: by the import into a data
// directory's, by the export into the one it writes beside its file. (On a server the import
// stores them in the bank: ServerPhotoPlan.h.)
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// Whether two files hold the same bytes, read a piece at a time: memory stays the same whatever
// their size. False when either cannot be read.
bool sameContents(const QString &a, const QString &b);

// `fileName` as the n-th photo of that name is stored: itself for n = 1, then "name-2.ext",
// "name-3.ext", ...
QString numberedPhotoName(const QString &fileName, int n);

// Where the photos of one import are stored, and under which name, before anything is stored.
class PhotoPlacer {
public:
    virtual ~PhotoPlacer() = default;
    // What a question names `source` (an existing file) by once it is stored.
    virtual QString place(const QString &source) = 0;
    // Whether `source` holds the same picture as `stored`, a question's stored photo.
    virtual bool sameAs(const QString &source, const QString &stored) = 0;
};

// The names in one fotos folder of the photos of one import or export: the same file once, under
// its own name when that is free or already holds the same picture, else under "name-2.ext",
// "name-3.ext", ... so that no other photo is overwritten. Only plans: the copies are made by the
// caller.
class PhotoPlan final : public PhotoPlacer {
public:
    explicit PhotoPlan(const QString &photoFolder);

    // The full path under which `source` (an existing file) is stored. A photo already in the
    // folder stays where it is, under its own name (the name of the file a link leads to, not
    // the link's).
    QString place(const QString &source) override;
    // `stored` is a photo file with the bytes of `source`.
    bool sameAs(const QString &source, const QString &stored) override;

    struct Copy {
        QString source, target;
    };
    // The copies to make, in the order they were planned.
    const QList<Copy> &copies() const { return m_copies; }

private:
    QString remember(const QString &key, const QString &target);

    QString m_folder, m_canonicalFolder;
    QHash<QString, QString> m_placed; // canonical source -> stored path
    QSet<QString> m_taken;
    QList<Copy> m_copies;
};
