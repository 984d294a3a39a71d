// The prediction window's "Show Google Earth": the KML file of the last
// flare or ground-track result, handed to the desktop.
#include "ui/prediction/prediction_window.h"

#include <QDesktopServices>
#include <QUrl>

#include "engine/files/data_files.h"
#include "engine/reports/kml_export.h"
#include "engine/reports/transit_report.h"
#include "engine/runtime/ui_hooks.h"

namespace {

const char *const Caption = "Satellite Pass Prediction";
const char *const OpenFailed = "Failed to load Program Google Earth";
constexpr double MilesFactor = 0.621371;

} // namespace

void TfrPredictionWnd::bn_googleClick()
{
    // A running search has not handed over its result yet.
    if (Busy)
        return;
    std::string error;
    const KmlWrite written =
        FlareResult ? WriteFlareKml(Passes, Observer, UtcMode ? 0.0 : Observer.UtcOffset, &error)
                    : WriteTrackKml(ResultLines(), Observer,
                                    ResultDistanceUnit == DistanceUnit(1.0) ? 1.0 : MilesFactor, &error);
    switch (written) {
    case KmlWrite::NothingToWrite:
        ShowUserMessage(" Failed to find Tracks or Error in producing the Google file.", Caption);
        return;
    case KmlWrite::Failed:
        ShowUserMessage(std::string(OpenFailed) + "\n" + error, Caption, MessageKind::Error);
        return;
    case KmlWrite::Written: {
        const std::string path = ResolvePath(DataDir + GoogleTracksFileName);
        // The desktop's "open" action cannot be asked for a maximised window.
        // Without a handler the file is still there for any globe program.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
            ShowUserMessage(std::string(OpenFailed) + "\nThe tracks were written to \"" + path +
                                "\"; any program that reads KML files can open it.",
                            Caption, MessageKind::Error);
        return;
    }
    }
}
