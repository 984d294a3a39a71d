// A satellite set file of any content: records are taken whole, their work
// areas rebuilt from the stored elements, and one propagation of each must
// not crash whatever those elements hold. Read as the main set, what is kept
// holds satellites, and one clock tick over them (every selected record with
// its sunlit test) runs clean. Inputs shorter than a record are laid over a
// real record, so that every input reaches the set-up.
#include "engine/files/element_files.h"
#include "engine/files/main_set.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"

#include <cstdlib>
#include <cstring>

namespace {

std::string RealRecordImage()
{
    ElementList list;
    ParseTleText("ISS\n"
                 "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\n"
                 "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\n",
                 list);
    TleRecord record;
    LoadSatFromElementRecord(record, list.at(0), true, 0.0, 20.0);
    std::string image;
    AppendRecordBytes(image, record);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string real = RealRecordImage();
    std::string bytes(reinterpret_cast<const char *>(data), size);
    if (bytes.size() < real.size())
        bytes += real.substr(bytes.size());
    ObserverRecord observer = DefaultObserver(Vec4{});
    for (TleRecord &record : SatRecordsFromBytes(bytes)) {
        const double instant = 39710.0;
        const double gmst = UpdateSiderealObserver(instant, observer);
        TargetState state{};
        state.Mode = ModeAll;
        PropagateSatellite(record, state, gmst, instant, observer);
    }

    std::size_t dropped = 0;
    MainList = SoundSatRecordsFromBytes(bytes, dropped);
    if (MainList.size() + dropped != bytes.size() / sizeof(TleRecord))
        std::abort();
    std::size_t selected = 0;
    for (const TleRecord &record : MainList) {
        if (!IsSoundSatRecord(record))
            std::abort();
        selected += record.Selected != 0;
    }

    // The tick of the map view: the Sun in entry 1, each selected satellite
    // in its slot.
    Options.ViewMode = ViewModeMap;
    CurrentTime = 39710.0;
    Observer = observer;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    TargetState sun;
    sun.BodyId = BodySun;
    sun.Position = Vec4{1.496e8, 0.0, 0.0, 1.496e8};
    BodyStates = {TargetState{}, sun};
    SatStates.assign(selected, TargetState{});
    for (TargetState &state : SatStates)
        state.Mode = ModeAll;
    UpdateSelectedSatellites();
    return 0;
}
