#pragma once
// The program's start-up sequence, event loop and shutdown.

struct StartupOptions {
    int pauseMs = 4000; // the blocking pause with the splash on the desktop
};

// Shows the splash, sets the application title, creates the screens, pauses and removes the
// splash. Returns false, after the report, when a table could not be opened.
bool startUp(const StartupOptions &options = {});

// Fonts, the Portuguese texts of Qt's own dialogs and the application title.
void prepareApplication();

// The whole program: returns its exit status.
int runJornada(int argc, char *argv[]);
