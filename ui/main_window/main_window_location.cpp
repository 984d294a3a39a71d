#include "ui/main_window/main_window.h"

#include "ui/location/location_selector.h"

void TfrMainWnd::menu_locationClick()
{
    // The clock stands while the place changes under it.
    bn_stopClick();
    ShowLocationSelector();
}
