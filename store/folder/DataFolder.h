#pragma once
// A new data folder, filled from the source of the sample question bank. Used by the set-up tool
// jornada-dados and by tests that need a data folder of their own.
#include <QString>

struct DataDirectoryReport {
    QString folder;      // absolute
    QString photoFolder; // folder/fotos
    int questions = 0;
    int photos = 0;
    bool replaced = false; // tables were there before
};

// Fills `folder` (created with its parents if needed) from the question source in `source`:
// Perguntas.DB from source/perguntas.tsv, inicial.db with the default account, and a copy in
// folder/fotos of every photo of source/fotos that a question uses; Foto holds the full path of
// the copy. Everything is checked before anything is written, and the tables are built aside and
// moved into place only when complete. Existing tables are replaced only when `replace` is true;
// otherwise, as on any other failure, AppError (in Portuguese) and nothing changed. The record
// file is never touched.
DataDirectoryReport buildDataDirectory(const QString &folder, const QString &source, bool replace);
