#pragma once
// The program's start-up sequence, event loop and shutdown.
#include <memory>

class Jornada;

struct StartupOptions {
    int pauseMs = 4000; // the blocking pause with the splash on the desktop
};

// Shows the splash, sets the application title, builds the game with its screens, pauses and
// removes the splash. Returns the game, to be kept for the program's run; null, after the report,
// when a table could not be opened.
std::unique_ptr<Jornada> startUp(const StartupOptions &options = {});

// Fonts, the Portuguese texts of Qt's own dialogs and the application title.
void prepareApplication();

// The whole program: returns its exit status.
int runJornada(int argc, char *argv[]);
