// How the download tasks reach the progress box and the main window.
#pragma once

#include "engine/downloads/auto_download.h"

// begin disables the main window and shows the progress box; progress sets
// its label; end hides it, resets the label, clears a stop the box asked
// for and, when enableMainWindow is set, enables the main window again.
// Each looks the windows up when it runs, so a window that is gone by then
// is left out.
DownloadTaskLinks ProgressBoxLinks(bool enableMainWindow);
