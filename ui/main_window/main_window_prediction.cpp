// The main window's "Prediction Passes" command.
#include "ui/main_window/main_window.h"

#include "ui/prediction/prediction_window.h"
#include "ui/widgets/tool_window.h"

void TfrMainWnd::menu_linetabularClick()
{
    ShowToolWindowOnce(frPredictionWnd, [] { return new TfrPredictionWnd; });
}
