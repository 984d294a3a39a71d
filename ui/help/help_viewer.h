// The program's help: one HTML page per window, kept in the "help/" folder
// beside the program and shown in one in-program viewer. Pages are addressed
// by the window's help context number ("100.html" is the main window's).
#pragma once

class QWidget;

// Help context numbers of the windows.
enum HelpContext : int {
    HelpMainWindow = 100,
    HelpSatelliteSelector = 300,
    HelpObserverLocation = 310,
    HelpStarPicker = 320,
    HelpAnalysis = 400,
    HelpPrediction = 410,
    HelpSunMoonData = 420,
    HelpNamesEditor = 430,
    HelpOptions = 500,
    HelpSatelliteInfo = 501,
    HelpDownload = 502,
};

// Shows the page of the context; an unknown context shows the contents page.
// When the request comes from a modal window the viewer becomes that window's
// child, so the modality does not block it.
void ShowHelp(int context, QWidget *from = nullptr);

// Gives the window F1, which shows the page of the context.
void SetHelpContext(QWidget *window, int context);

// The viewer window while it exists (tests look at it), else null.
QWidget *HelpViewerWindow();
