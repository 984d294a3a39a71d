#include "ui/location/location_selector.h"

#include "ui/location/loc_wnd.h"
#include "ui/main_window/main_window.h"

#include <QApplication>

bool ShowLocationSelector()
{
    TfrLocWnd window(QApplication::activeWindow());
    window.exec();
    if (!window.Applied())
        return false;
    if (frMainWnd)
        frMainWnd->ObserverChanged();
    return true;
}
