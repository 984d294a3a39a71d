#include "views/view_setup.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/files/settings.h"
#include "views/globe_view.h"
#include "views/ground_track.h"
#include "views/map_view.h"
#include "views/sky_view.h"
#include "views/view_painting.h"

ViewSwitches MainViewSwitches;
std::vector<std::string> SatelliteLabels;
QImage MapImage;
QImage Background;

namespace {

constexpr const char *FallbackMapFile = "default.jpg";
// The map without a world image: a dark blue that black and white labels,
// yellow tracks and the night shadow all stand out on.
constexpr QRgb OceanColour = 0xFF1A3D73u;
constexpr int OceanImageWidth = 360;
// A monospaced face that every installation of the program has.
constexpr const char *FallbackFontFamily = "DejaVu Sans Mono";
// The settings give the font size in points of a 96 dpi screen.
constexpr double PixelsPerPoint = 96.0 / 72.0;

QImage VisibleBitmap;
QFont CurrentViewFont;

void ApplyViewFont()
{
    CurrentViewFont = ViewFontOfSize(Options.FontSize);
}

// Whether JPEG bytes run on to their end-of-image marker. A file cut short
// decodes without an error, with its missing part grey, so its markers are
// followed: each segment by its length, the coded data of a scan up to the
// next marker that is neither an escaped 0xFF byte nor a restart.
bool JpegReachesItsEnd(const QByteArray &bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 2; // after the start-of-image marker
    while (i + 1 < n) {
        if (b[i] != 0xFF)
            return false;
        const unsigned char marker = b[i + 1];
        if (marker == 0xD9)
            return true;
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += marker == 0xFF ? 1 : 2; // a fill byte, or a marker without a segment
            continue;
        }
        if (i + 3 >= n)
            return false;
        const int length = (b[i + 2] << 8) | b[i + 3];
        if (length < 2)
            return false;
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        while (i + 1 < n && !(b[i] == 0xFF && b[i + 1] != 0x00 && !(b[i + 1] >= 0xD0 && b[i + 1] <= 0xD7)))
            ++i;
    }
    return false;
}

bool IsJpeg(const QByteArray &bytes) { return bytes.startsWith("\xFF\xD8\xFF"); }

QImage BlankBitmap(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(OpaqueBlack);
    return image;
}

} // namespace

QImage &ViewBitmap() { return VisibleBitmap; }

const QFont &ViewFont() { return CurrentViewFont; }

QFont ViewFontOfSize(int points)
{
    QFont font;
    font.setFamilies(QStringList{QString::fromStdString(Options.FontName.str()), FallbackFontFamily});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * PixelsPerPoint))));
    return font;
}

const TargetState *SelectedShownState()
{
    if (MainList.empty() || SatStates.empty())
        return nullptr;
    if (SelectedMain < 0 || static_cast<std::size_t>(SelectedMain) >= MainList.size() ||
        MainList[SelectedMain].Decayed)
        return nullptr;
    if (SelectedPos < 0 || static_cast<std::size_t>(SelectedPos) >= SatStates.size())
        return nullptr;
    return &SatStates[SelectedPos];
}

std::string LoadMapImage()
{
    MainView.RebuildBackground = 1;
    const std::string folder = ProgramDir + "map/";
    // A settings file that names no world image takes the default one.
    if (Options.MapFile.str().empty())
        Options.MapFile.assign(FallbackMapFile);
    const auto load = [](const std::string &path) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = file.readAll();
        // A damaged image is told as one that does not load, not shown grey.
        if (IsJpeg(bytes) && !JpegReachesItsEnd(bytes))
            return false;
        const QImage image = QImage::fromData(bytes);
        if (image.isNull())
            return false;
        MapImage = image.convertToFormat(QImage::Format_ARGB32);
        return true;
    };
    const std::string chosen = ResolvePath(folder + Options.MapFile.str());
    if (load(chosen))
        return {};
    // The user's choice stays in the settings (the file may be back at the
    // next start); this run shows the default image.
    const std::string fallback = ResolvePath(folder + FallbackMapFile);
    if (fallback != chosen && load(fallback))
        return "The world image \"" + chosen + "\" could not be loaded; the map shows \"" + FallbackMapFile +
               "\" instead until it can. \"Options ...\" (Ctrl+O) chooses another image.";
    // Without a world image the map is a plain ocean, on which places,
    // tracks and satellites stay visible.
    MapImage = QImage(OceanImageWidth, OceanImageWidth / 2, QImage::Format_ARGB32);
    MapImage.fill(OceanColour);
    const std::string tried = fallback != chosen ? "\"" + chosen + "\" and \"" + fallback + "\"" : "\"" + chosen + "\"";
    return "The world image could not be loaded; tried " + tried + ". The map shows a plain ocean instead.";
}

std::string InitGraphics(int controlWidth, int controlHeight)
{
    MapImage = QImage();
    Background = QImage();
    ApplyViewFont();
    std::string problem = LoadMapImage();
    std::vector<MapPlace> places;
    std::string placesProblem;
    if (!ReadMapPlaces(places, &placesProblem))
        problem += (problem.empty() ? "" : "\n") + placesProblem + ". The map shows no places.";
    SizeBackground(controlWidth, controlHeight);
    MainView.SignX = 1;
    MainView.SignY = 1;
    MainView.StarToHorizon = MainViewSwitches.StarToHorizon;
    MainView.Constellations = MainViewSwitches.Constellations;
    MainView.ConstellationNames = MainViewSwitches.ConstellationNames;
    MainView.StarNames = MainViewSwitches.StarNames;
    return problem;
}

void SizeBackground(int controlWidth, int controlHeight)
{
    // Never an empty picture: every scale below divides by these sizes.
    const int width = std::max(1, controlWidth - 1);
    const int height = std::max(1, controlHeight - 1);
    Background = BlankBitmap(width, height);
    ViewState &view = MainView;
    view.ImageWidth = width;
    view.ImageHeight = height;
    view.CentreX = width / 2;
    view.CentreY = height / 2;
    view.MapScaleX = width / TwoPi;
    view.MapScaleY = height / Pi;
    view.SkyScale = height / 80.0;
    view.SkyScaleMin = height / 80.0;
    view.GlobeZoom = height / Pi;
    view.GlobeZoomMax = height / 2.2;
}

std::string ApplyViewOptions()
{
    ViewState &view = MainView;
    VisibleBitmap = BlankBitmap(view.ImageWidth, view.ImageHeight);
    ApplyViewFont();
    view.RebuildBackground = 1;
    // The widest sky view spans 170 degrees across.
    view.SkyScaleMin = view.ImageWidth / 170.0;
    view.SkyScale = view.ImageHeight / Options.SkyZoom;
    // A saved whole-sky picture comes back as that picture. Narrowed to the
    // widest zoom it would turn about its centre near the zenith, whose
    // azimuth swings round within seconds, so every start showed the sky in
    // another orientation.
    const bool wholeSky = std::fabs(Options.SkyZoom - WholeSkyField) < 1e-6;
    const bool narrowed = !(view.SkyScale >= view.SkyScaleMin) && !wholeSky;
    if (narrowed)
        view.SkyScale = view.SkyScaleMin;
    const double chosenZoom = Options.SkyZoom;
    std::string sizeText = ShowViewSize();
    // The settings keep the zoom the user chose: narrowed to fit this view,
    // or divided back (which changes its last digits), it would count as a
    // change of the user's settings at exit, and a taller view would not get
    // it back.
    Options.SkyZoom = chosenZoom;
    view.GlobeZoom = view.ImageHeight / Options.GlobeScale;
    if (!(std::isfinite(view.GlobeZoom) && view.GlobeZoom > 0.0))
        view.GlobeZoom = view.ImageHeight / Pi;
    return sizeText;
}

void DrawView()
{
    ViewBitmap().fill(OpaqueBlack);

    // The track is computed ahead from the instant it was made for; once
    // the clock reaches either end of it, it is made anew.
    if (!SatStates.empty() && MainViewSwitches.GroundTrack &&
        (CurrentTime >= TrackEnd || CurrentTime <= TrackStart)) {
        MainView.RebuildBackground = 1;
        CalcGroundTrack();
    }

    if (MainView.RebuildBackground) {
        if (Options.ViewMode == ViewModeMap)
            BuildMapBackground();
        else if (Options.ViewMode == ViewModeGlobe)
            BuildGlobeBackground();
    }

    switch (Options.ViewMode) {
    case ViewModeMap:
        DrawMap();
        break;
    case ViewModeGlobe:
        DrawGlobe();
        break;
    case ViewModeSky:
        DrawSky();
        break;
    default:
        break;
    }
}
