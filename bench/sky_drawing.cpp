// One full redraw of the sky view at 1920 x 1080: the whole sky about the
// zenith, stars to magnitude 8, constellation figures and names, the Sun,
// Moon and planets, and every satellite of the default element file as the
// sky set. Needs the set-up's data (tools/prepare-data.sh) in the program
// folder: KYT_TEST_DATA_DIR, else this build's.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/bodies.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/astronomy/de_reader.h"
#include "engine/files/element_files.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "views/sky_view.h"
#include "views/view_setup.h"

namespace {

bool PrepareScene()
{
    const char *dataDir = std::getenv("KYT_TEST_DATA_DIR");
    SetProgramFolders(dataDir ? dataDir : KYT_TEST_PROGRAM_DIR);
    Options = DefaultOptions();
    Options.ViewMode = ViewModeSky;
    Options.StarMagnitude = 7.9; // the limit 8 over the 165 degrees of the whole sky
    Options.MaxMagnitude = 30.0;
    Observer = DefaultObserver(Vec4{});
    MainViewSwitches = ViewSwitches{};
    MainViewSwitches.Constellations = true;
    MainViewSwitches.ConstellationNames = true;
    MainViewSwitches.StarNames = true;
    MainViewSwitches.ShowSkySatellites = true;
    MainViewSwitches.ShowSatelliteLabel = true;
    InitGraphics(1921, 1081);
    ApplyViewOptions();
    ResetSkyZoom();
    MainView.HorizonAltitude = CalcHorizonAltitude(Observer.Height);

    if (!LoadStarFile(StarStreams.Stars) || !LoadStarNameFile(StarStreams.Names) ||
        !LoadConstellationFile(StarStreams.Lines)) {
        std::cerr << "star files missing in " << DataDir << "\n";
        return false;
    }
    ElementList elements;
    if (!LoadTleTextFile(elements, ProgramDir + "tle/gpredict.tle")) {
        std::cerr << "element file missing\n";
        return false;
    }
    tlearray skySet;
    for (const ElementRecord &element : elements) {
        TleRecord record;
        if (LoadSatFromElementRecord(record, element, false, 0.0, 100.0))
            skySet.push_back(record);
    }
    // An hour after the first set's epoch, so most sets still propagate.
    CurrentTime = skySet.front().Elements.epoch - JulianDateOfDayZero + 1.0 / 24.0;
    ReplaceSkyList(std::move(skySet));

    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    if (LoadDEFile(ProgramDir + "de_files/1957_2050.423")) {
        BodyStates.clear();
        for (std::int32_t body : {BodyMercury, BodyVenus, BodyMars, BodyJupiter, BodySaturn, BodyUranus,
                                  BodyNeptune, BodyPluto, BodyMoon, BodySun}) {
            TargetState state;
            state.BodyId = body;
            state.Mode = ModeRaDec;
            BodyStates.push_back(state);
        }
        BodyCount = 9;
        UpdateBodies(BodyCount);
    }
    return true;
}

bool SceneReady(benchmark::State &state)
{
    static int argc = 1;
    static char name[] = "bench_sky_drawing";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(argc, argv);
    static const bool ready = PrepareScene();
    if (!ready)
        state.SkipWithError("default data missing: run tools/prepare-data.sh on the program folder");
    return ready;
}

// The parts of the picture on their own, after DrawSky has set up the view.
template <class Draw>
void DrawPart(benchmark::State &state, Draw draw)
{
    if (!SceneReady(state))
        return;
    DrawSky();
    for (auto _ : state) {
        QPainter painter(&ViewBitmap());
        draw(painter);
    }
}

void BM_Stars(benchmark::State &state)
{
    DrawPart(state, [](QPainter &painter) { DrawStars(painter, MainView, 8.0, StarStreams, StarColours{}); });
}

void BM_Constellations(benchmark::State &state)
{
    DrawPart(state, [](QPainter &painter) { DrawConstellations(painter, MainView, StarStreams, 0xFF808000u); });
}

void BM_SkySet(benchmark::State &state)
{
    DrawPart(state, [](QPainter &painter) { DrawSkyCatalogue(painter); });
}

void BM_DrawWholeSky(benchmark::State &state)
{
    if (!SceneReady(state))
        return;
    for (auto _ : state) {
        ViewBitmap().fill(0xFF000000u);
        DrawSky();
        benchmark::DoNotOptimize(ViewBitmap().constBits());
    }
    state.counters["stars"] = static_cast<double>(StarStreams.Stars.size());
    state.counters["satellites"] = static_cast<double>(SkyList.size());
}

} // namespace

BENCHMARK(BM_DrawWholeSky)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Constellations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkySet)->Unit(benchmark::kMillisecond);
