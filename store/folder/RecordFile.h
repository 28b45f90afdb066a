#pragma once
// The record file Recorde.txt: two lines of Windows-1252 text, the holder's name and the points.
#include <QString>

QString recordFilePath(); // Recorde.txt in the data directory

// Fills `name` and `points` from the file. Returns false, touching nothing, when the file does
// not exist. Throws AppError ("Invalid numeric input", "File access denied", ...) on failure;
// `name` has then already been taken from line 1 when the failure is in line 2. What is not a
// regular file (a folder, a pipe, a device) or is larger than 1 MiB is refused without being read.
bool ReadRecord(const QString &path, QString &name, qint32 &points);

// Replaces the file with `name` and `points`, each line ended by CR LF. The new contents are
// written beside the old file and moved over it only when complete, so a failure never loses
// the record already on disk. Only where the folder cannot take a new file is an existing record
// file written over in place, and there a failure midway can cut it short. A record file the
// user may not write is left alone and is a failure ("File access denied"). Throws AppError on
// failure.
void WriteRecord(const QString &path, const QString &name, qint32 points);
