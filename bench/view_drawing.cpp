// Time of a full redraw of the map and the globe view at 1920 x 1080 with
// 15 satellites, the selected one's ground track and both visibility
// circles, the background rebuilt every time (as after every user action).
// Uses the set-up's world image and places when KYT_TEST_DATA_DIR names a
// filled program folder, a synthetic image otherwise.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "views/ground_track.h"
#include "views/view_setup.h"

namespace {

const std::string IssLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string IssLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";
constexpr int SatelliteCount = 15;

QGuiApplication &Application()
{
    static QGuiApplication *app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "bench_view_drawing";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

// The ISS's elements with the node and mean anomaly spread, so the
// satellites lie all over the world.
TleRecord SpreadSatellite(int k)
{
    std::string line2 = IssLine2;
    const std::string node = std::to_string(100 + 17 * k) + ".0000";
    const std::string anomaly = std::to_string(10 + 23 * k) + ".0000";
    line2.replace(17, 8, std::string(8 - node.size(), ' ') + node);
    line2.replace(43, 8, std::string(8 - anomaly.size(), ' ') + anomaly);
    TleRecord record;
    ParseSatElements(IssLine1, line2, record, true);
    InitSatelliteModel(record);
    record.Selected = 1;
    record.Name.assign("SAT " + std::to_string(k));
    return record;
}

TargetState Body(int id, double latitude, double longitude, double distance)
{
    TargetState state;
    state.BodyId = id;
    const double ra = longitude + SiderealTime;
    state.Position = Vec4{distance * std::cos(latitude) * std::cos(ra), distance * std::cos(latitude) * std::sin(ra),
                          distance * std::sin(latitude), distance};
    state.RaDec = Angles3{std::fmod(ra + TwoPi, TwoPi), latitude, distance};
    state.SubPoint = Angles3{latitude, longitude, distance - EarthRadiusKm};
    return state;
}

void PrepareScene(int mode)
{
    Application();
    const char *data = std::getenv("KYT_TEST_DATA_DIR");
    SetProgramFolders(data ? data : KYT_TEST_PROGRAM_DIR);
    Options = DefaultOptions();
    Options.ViewMode = mode;
    Observer = DefaultObserver(Vec4{});
    MainViewSwitches = ViewSwitches{};
    MainViewSwitches.MapGrids = true;
    MainViewSwitches.LocationCircle = true;
    InitGraphics(1921, 1081);
    if (MapImage.isNull()) {
        MapImage = QImage(2048, 1024, QImage::Format_ARGB32);
        for (int y = 0; y < MapImage.height(); ++y)
            for (int x = 0; x < MapImage.width(); ++x)
                MapImage.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    }
    ApplyViewOptions();
    MainView.GlobeCentre = Angles3{Observer.Latitude, Observer.Longitude, 0.0};

    CurrentTime = 2454730.01782528 - JulianDateOfDayZero + 0.3;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    Step = 1000;
    BodyStates = {Body(BodyMoon, 0.2, 2.0, 384400.0), Body(BodySun, 0.05, -0.7, AstronomicalUnitKm)};
    BodyCount = 1;
    MainList.clear();
    SatStates.clear();
    SatelliteLabels.clear();
    for (int k = 0; k < SatelliteCount; ++k) {
        MainList.push_back(SpreadSatellite(k));
        TargetState state;
        state.Mode = ModeAll;
        PropagateSatellite(MainList.back(), state, SiderealTime, CurrentTime, Observer);
        state.Lit = k % 2;
        SatStates.push_back(state);
        SatelliteLabels.push_back(MainList.back().Name.str());
    }
    SelectedMain = SelectedPos = 0;
}

void DrawWithRebuild(benchmark::State &state, int mode)
{
    PrepareScene(mode);
    for (auto _ : state) {
        // With the clock stopped the instant sits on the track's start, so
        // every draw recomputes the track and rebuilds the background.
        TrackStart = TrackEnd = CurrentTime;
        MainView.RebuildBackground = 1;
        DrawView();
        benchmark::DoNotOptimize(ViewBitmap().constBits());
    }
}

void BM_DrawMapView(benchmark::State &state) { DrawWithRebuild(state, ViewModeMap); }
void BM_DrawGlobeView(benchmark::State &state) { DrawWithRebuild(state, ViewModeGlobe); }

} // namespace

BENCHMARK(BM_DrawMapView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawGlobeView)->Unit(benchmark::kMillisecond);
