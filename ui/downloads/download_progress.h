// How the download tasks reach the progress box and the main window.
#pragma once

#include "engine/downloads/auto_download.h"

class QWidget;

// begin disables the main window and shows the progress box; progress sets
// its label; end hides it, resets the label, clears a stop the box asked
// for and, when enableMainWindow is set, enables the main window again;
// then it shows the run's closing messages owned by owner, the window that
// started the download, so they open in front of it. Each looks the windows
// up when it runs, so a window that is gone by then is left out.
DownloadTaskLinks ProgressBoxLinks(QWidget *owner, bool enableMainWindow);
