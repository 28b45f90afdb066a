#pragma once
// The program's start-up sequence, event loop and shutdown. Returns the exit status.
int runJornada(int argc, char *argv[]);
