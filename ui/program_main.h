// The program's entry: start-up order, the start-up task and the event loop.
#pragma once

#include <string>

// Runs the program; returns when the main window's event loop ends. The
// application object stays alive until the process ends, because worker
// tasks may still hand results to it.
int ProgramMain(int &argc, char **argv);

// Starts the start-up task of the main window (frMainWnd must exist).
void StartInitialization();
