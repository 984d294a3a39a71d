// The main set's commands: the satellite list and the main list update.
#include "ui/main_window/main_window.h"

#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/main_list_update.h"
#include "ui/selector/sat_selector.h"
#include "ui/window_glue.h"

#include <cstring>

namespace {

bool SameRecords(const tlearray &a, const tlearray &b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(TleRecord)) == 0);
}

} // namespace

void TfrMainWnd::menu_satelliteClick()
{
    bn_stopClick();
    tlearray chosen = TfrSatSelectorWnd::ChooseSatellites(MainList, this);
    if (!SameRecords(chosen, MainList)) {
        MainList = std::move(chosen);
        MainSetChanged();
    }
    FillMainSatelliteCombos();
    cb_sat1Change();
}

void TfrMainWnd::menu_updatemainlistClick()
{
    bn_stopClick();
    // The task updates a copy; the new elements reach MainList on this thread.
    StartTask(MainListUpdateTaskTag, [set = MainList, folder = Options.UpdateFolder.str()]() mutable {
        UpdateMainListThread(std::move(set), folder);
    });
}
