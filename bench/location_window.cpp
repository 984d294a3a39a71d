// Time of the observer location window on the full default place list: from
// creation to its first paint, and "Save", which sorts the list and fills
// the list box again. Needs the set-up's "Locations.dat" and "Timezone.dat"
// (KYT_TEST_DATA_DIR names a filled program folder); they are copied to a
// folder of the benchmark's own, so nothing of the set-up is written.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/files/data_files.h"
#include "engine/files/location_files.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/location/loc_wnd.h"

namespace {

QApplication &Application()
{
    static QApplication *app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "bench_location_window";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// A program folder holding copies of the set-up's location files; false
// when the set-up has none.
bool PrepareFolder()
{
    static bool ready = [] {
        const char *setUp = std::getenv("KYT_TEST_DATA_DIR");
        if (!setUp)
            return false;
        const std::filesystem::path from = std::filesystem::path(setUp) / "data";
        const std::filesystem::path root = std::filesystem::temp_directory_path() / "kyt-bench-locations";
        std::filesystem::create_directories(root / "data");
        for (const char *name : {LocationsFileName, TimeZonesFileName}) {
            if (!std::filesystem::exists(from / name))
                return false;
            std::filesystem::copy_file(from / name, root / "data" / name,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        SetProgramFolders(root.string() + "/");
        Options = DefaultOptions();
        Observer = DefaultObserver({});
        // Every box answers at once.
        Hooks().showMessage = [](const std::string &, const std::string &, MessageKind) { return true; };
        return true;
    }();
    return ready;
}

void BM_OpenToFirstPaint(benchmark::State &state)
{
    Application();
    if (!PrepareFolder()) {
        state.SkipWithError("no set-up location files (KYT_TEST_DATA_DIR)");
        return;
    }
    for (auto _ : state) {
        TfrLocWnd window;
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_SaveSortsTheFullList(benchmark::State &state)
{
    Application();
    if (!PrepareFolder()) {
        state.SkipWithError("no set-up location files (KYT_TEST_DATA_DIR)");
        return;
    }
    TfrLocWnd window;
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.bn_newClick();
        window.txt_loc->setText(QString("Bench place %1").arg(++count));
        state.ResumeTiming();
        window.bn_saveClick();
    }
    state.counters["places"] = static_cast<double>(window.PlaceLines().size());
}
BENCHMARK(BM_SaveSortsTheFullList)->Unit(benchmark::kMillisecond);

} // namespace
