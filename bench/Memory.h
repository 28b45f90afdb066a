#pragma once
// Peak memory, measured in child processes so that the other measurements do not inflate it.
#include <QString>

struct Peak {
    double maxRssMb = 0; // getrusage: ru_maxrss
    double vmHwmMb = 0;  // /proc/self/status: VmHWM
    QString error;       // empty when the child ran to its end
};

// Child modes of jornada-bench; each prints its peak on standard output and returns the exit
// status. The game runs on the data directory of $HOME.
int playOneGameForMemory();  // --memoria: start-up, a whole game, the results screen
int showOneWindowForMemory(); // --memoria-base: one QMainWindow with a QLabel, shown and painted
// --memoria-importacao CSV PASTA: the import of CSV into the data directory PASTA (made here),
// every photo taken as one that can be shown; --memoria-leitura CSV: the file read whole, and
// nothing else.
int importCsvForMemory(const QString &csv, const QString &folder);
int readFileForMemory(const QString &path);

// Runs this program again with `arguments` and HOME=`home` and reads the peak it prints.
Peak peakOfChild(const QStringList &arguments, const QString &home);
