#pragma once
// The photos of the sample question bank: one entry per question id, with the file it is saved
// to (the extension chooses the format) and what it shows.
#include <vector>

class QPainter;

struct Photo {
    int id;                  // the question's Id in data/perguntas.tsv
    const char *file;        // file name in data/fotos/, as the question's Foto field names it
    const char *description; // what the picture shows, to find it again when a question changes
    void (*paint)(QPainter &);
};

const std::vector<Photo> &photos();
