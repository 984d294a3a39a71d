// Opens the observer location window for the main, prediction and analysis
// windows.
#pragma once

// Runs the location window modally; after an applied change the main window
// takes the new observer (horizon correction, caption, refresh). True when
// the observer changed.
bool ShowLocationSelector();
