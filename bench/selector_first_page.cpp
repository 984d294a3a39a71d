// The satellite selector on a 60,000-set element file: the time from the
// file dialog's answer to the first page of candidates, and the longest
// stretch for which the user-interface thread was kept from its events
// meanwhile (the load and sort run on task 20).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/files/data_files.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/selector/sat_selector.h"

namespace {

const std::string Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";

QApplication &App()
{
    static QApplication *app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "bench";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::string Element(std::string line, int number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%05d", number);
    line.replace(2, 5, text);
    int sum = 0;
    for (int i = 0; i < 68; ++i)
        sum += line[i] == '-' ? 1 : (line[i] >= '0' && line[i] <= '9' ? line[i] - '0' : 0);
    line[68] = static_cast<char>('0' + sum % 10);
    return line;
}

// A program folder with the file; names in an order unlike the numbers'.
std::string MakeProgramFolder()
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "kyt-bench-selector";
    std::filesystem::create_directories(root / "data");
    std::ofstream(root / "data" / "qvnames.dat") << "";
    std::ofstream out(root / "large.tle", std::ios::binary);
    for (int n = 1; n <= 60000; ++n)
        out << "SAT " << (n * 7919) % 60001 << "\r\n" << Element(Line1, n) << "\r\n" << Element(Line2, n) << "\r\n";
    SetProgramFolders(root.string() + "/");
    return (root / "large.tle").string();
}

void FirstPageOfSixtyThousand(benchmark::State &state)
{
    App();
    const QString path = QString::fromStdString(MakeProgramFolder());
    Hooks().runOnUiThread = [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    };
    // The dialog's end and the start of the task; the longest pass of the
    // event loop while the task runs and when its result is shown.
    qint64 afterFile = 0, worstEvents = 0;
    std::size_t shown = 0;
    for (auto _ : state) {
        TfrSatSelectorWnd selector;
        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->selectFile(path);
            clock.start();
            static_cast<QDialog *>(dialog)->accept();
        });
        selector.bn_fileClick();
        afterFile = std::max(afterFile, clock.elapsed());
        while (selector.Busy()) {
            QElapsedTimer step;
            step.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            worstEvents = std::max(worstEvents, step.elapsed());
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        shown = selector.CandidateCount();
    }
    Hooks().runOnUiThread = nullptr;
    state.counters["file_click_ms"] = static_cast<double>(afterFile);
    state.counters["worst_events_ms"] = static_cast<double>(worstEvents);
    state.counters["candidates"] = static_cast<double>(shown);
}
BENCHMARK(FirstPageOfSixtyThousand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
