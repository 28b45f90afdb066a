#pragma once
// The photos an import copies into a data directory's fotos folder, copied so that no moment at
// which the import is killed leaves behind a photo that no question names, a photo cut short, or
// a question naming a photo that is not there.
//
// A photo is first copied whole under a temporary name (.importacao-N.tmp), then entered in the
// import's journal (.importacao-em-andamento: the copy's inode and its name) and only then given
// its name, never over an existing file. The questions are stored after every copy is in place;
// the journal goes once they are. What a killed import leaves is undone by the next import, or by
// finishInterruptedImports(): of the photos in its journal, those the bank does not name are
// removed, and so are its temporary copies. Nothing else is ever removed: not a photo the bank
// names, nor one that an import did not make (a name whose file is no longer the copy made).
// While an import runs, the fotos folder is locked, so that another import into the same folder
// waits for nothing and is told, and the clean-up passes over an import under way.
#include <QList>
#include <QString>

#include "store/core/Handles.h"

class PhotoCopies {
public:
    // Takes the lock of `photoFolder` (created when missing) and finishes whatever a killed
    // import left there. Throws AppError when another import holds the folder.
    explicit PhotoCopies(const QString &photoFolder);
    // Copies that were not committed are taken back.
    ~PhotoCopies();
    PhotoCopies(const PhotoCopies &) = delete;
    PhotoCopies &operator=(const PhotoCopies &) = delete;

    // Copies `source` to photoFolder/`name`, never over an existing file. Throws AppError.
    void copy(const QString &source, const QString &name);
    int count() const { return int(m_made.size()); }
    // Makes the copies durable on the disk: called before the questions that name them are stored.
    void sync();
    // The bank now names the copies: they stay, and the journal goes.
    void commit();

private:
    void undo();

    QString m_folder;
    bool m_folderMade = false;
    UniqueFd m_lock;    // the folder, locked
    UniqueFd m_journal; // open while there are entries
    QStringList m_made; // the names given, in order
    bool m_committed = false;
};

// Finishes the imports into the data directory `dataFolder` that were killed midway, as the next
// import does. Returns how many photos were removed; an import under way is left alone, and so is
// a folder whose bank cannot be read.
int finishInterruptedImports(const QString &dataFolder);
