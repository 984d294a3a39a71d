#include "views/view_state.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/constants.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"

ViewState MainView;

namespace {

// Beyond this a pixel coordinate is a fault, not a place on any screen, and
// converting it to an int would overflow.
constexpr double LargestPixel = 1.0e8;

int CeilToPixel(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > LargestPixel)
        return NotVisible;
    return static_cast<int>(std::ceil(value));
}

// Right ascension of a point relative to a reference, carried over 0h when
// the reference lies just below 24h and the point just above 0h.
double RaDifference(double reference, double ra)
{
    if (reference > ThreeHalfPi && ra < HalfPi)
        return ra + TwoPi - reference;
    return ra - reference;
}

double ClampUnit(double value) { return std::clamp(value, -1.0, 1.0); }

} // namespace

int TruncToPixel(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > LargestPixel)
        return NotVisible;
    return static_cast<int>(value);
}

int ClampToIndex(double value, int last)
{
    if (!(value >= 0.0))
        return 0;
    return value < last ? static_cast<int>(value) : last;
}

bool ProjectSky(const Angles3 &point, const ViewState &view, Pixel &pixel)
{
    const double a = point.first;
    const double b = point.second;
    const bool culling = view.CullCos != NoCulling;

    if (view.StarToHorizon && culling) {
        const double d = RaDifference(view.Zenith.first, a);
        const double zb = view.Zenith.second;
        const double sinAltitude = std::sin(zb) * std::sin(b) + std::cos(zb) * std::cos(b) * std::cos(d);
        // The sine is compared with the angle itself: both are small near the horizon.
        if (sinAltitude < view.HorizonAltitude)
            return false;
    }

    const double d = RaDifference(view.Centre.first, a);
    const double sinB = std::sin(view.Centre.second);
    const double cosB = std::cos(view.Centre.second);
    const double cosC = sinB * std::sin(b) + cosB * std::cos(b) * std::cos(d);
    if (culling && !(cosC > view.CullCos))
        return false;
    // The point opposite the centre has no finite Lambert position.
    if (!(1.0 + cosC > 0.0))
        return false;

    const double xp = std::cos(b) * std::sin(d);
    const double yp = cosB * std::sin(b) - sinB * std::cos(b) * std::cos(d);
    const double cosR = std::cos(view.Rotation);
    const double sinR = std::sin(view.Rotation);
    const double x = view.SignX * (cosR * xp - sinR * yp);
    const double y = view.SignY * (sinR * xp + cosR * yp);
    const double k = std::sqrt(2.0 / (1.0 + cosC)) * view.SkyScale;

    const int dx = CeilToPixel(RadToDeg(x * k));
    const int dy = CeilToPixel(RadToDeg(y * k));
    if (dx == NotVisible || dy == NotVisible)
        return false;
    pixel = Pixel{view.CentreX - dx, view.CentreY - dy};
    return true;
}

void UnprojectSky(Pixel pixel, double &ra, double &dec, const ViewState &view)
{
    ra = NoPosition;
    dec = NoPosition;
    if (pixel.x == NotVisible || pixel.y == NotVisible)
        return;

    const int u = view.SignX * (view.CentreX - pixel.x);
    const int v = view.SignY * (view.CentreY - pixel.y);
    const double cosR = std::cos(-view.Rotation);
    const double sinR = std::sin(-view.Rotation);
    const double p = cosR * u - sinR * v;
    const double q = sinR * u + cosR * v;
    const double xr = DegToRad(p / view.SkyScale);
    const double yr = DegToRad(q / view.SkyScale);
    double rho = std::hypot(xr, yr);
    if (rho > 2.0)
        rho = 2.0;
    // Beyond rho 1.42 the all-sky picture shows the ground below the horizon.
    if (rho > 1.42 && view.SkyScale < view.SkyScaleMin)
        return;
    if (!(rho >= 1e-7))
        return;

    const double c = 2.0 * std::asin(rho / 2.0);
    const double sinB = std::sin(view.Centre.second);
    const double cosB = std::cos(view.Centre.second);
    const double resultRa = NormalizeAngle2Pi(
        view.Centre.first +
        std::atan2(xr * std::sin(c), rho * cosB * std::cos(c) - yr * sinB * std::sin(c)));
    const double resultDec = std::asin(ClampUnit(std::cos(c) * sinB + yr * std::sin(c) * cosB / rho));
    if (!std::isfinite(resultRa) || !std::isfinite(resultDec))
        return;
    ra = resultRa;
    dec = resultDec;
}

Pixel ProjectMap(const Angles3 &point, const ViewState &view)
{
    const double x = std::min((point.second + Pi) * view.MapScaleX, double(view.ImageWidth));
    const double y = std::min((HalfPi - point.first) * view.MapScaleY, double(view.ImageHeight));
    const Pixel pixel{TruncToPixel(x), TruncToPixel(y)};
    if (!pixel.visible())
        return Pixel{};
    return pixel;
}

double ProjectGlobe(const Angles3 &point, const ViewState &view, Pixel &pixel, double threshold)
{
    const double p = view.GlobeCentre.first;
    const double lat = point.first;
    const double d = view.GlobeCentre.second - point.second;
    const double r = view.GlobeZoom;
    const double cosC = std::sin(p) * std::sin(lat) + std::cos(p) * std::cos(lat) * std::cos(d);
    pixel = Pixel{};
    if (!(cosC > threshold))
        return cosC;
    const int dx = TruncToPixel(r * std::cos(lat) * std::sin(d));
    const int dy = TruncToPixel(r * (std::sin(p) * std::cos(lat) * std::cos(d) - std::cos(p) * std::sin(lat)));
    if (dx != NotVisible && dy != NotVisible)
        pixel = Pixel{view.CentreX - dx, view.CentreY + dy};
    return cosC;
}

double ProjectView(const Angles3 &point, Pixel &pixel, double threshold)
{
    switch (Options.ViewMode) {
    case ViewModeMap:
        pixel = ProjectMap(point, MainView);
        return threshold;
    case ViewModeGlobe:
        return ProjectGlobe(point, MainView, pixel, threshold);
    default:
        return threshold;
    }
}

void UnprojectMap(Pixel pixel, Angles3 &position, const ViewState &view)
{
    if (view.MapScaleX == 0.0 || view.MapScaleY == 0.0)
        return;
    position.first = HalfPi - pixel.y / view.MapScaleY;
    position.second = pixel.x / view.MapScaleX - Pi;
}

GlobeFrame::GlobeFrame(const ViewState &view)
    : sinP(std::sin(view.GlobeCentre.first)),
      cosP(std::cos(view.GlobeCentre.first)),
      centreLongitude(view.GlobeCentre.second),
      radius(view.GlobeZoom),
      centreX(view.CentreX),
      centreY(view.CentreY)
{
}

void UnprojectGlobe(double x, double y, Angles3 &position, const ViewState &view)
{
    double latitude = 0.0, longitude = 0.0;
    if (GlobeFrame(view).Unproject(x, y, latitude, longitude))
        position = Angles3{latitude, longitude, EarthRadiusKm};
    else
        position = Angles3{NoPosition, NoPosition, EarthRadiusKm};
}

void UnprojectView(Pixel pixel, Angles3 &position)
{
    if (Options.ViewMode == ViewModeMap)
        UnprojectMap(pixel, position, MainView);
    else if (Options.ViewMode == ViewModeGlobe)
        UnprojectGlobe(pixel.x, pixel.y, position, MainView);
}

std::string ShowViewSize()
{
    const double width = MainView.ImageWidth;
    const double height = MainView.ImageHeight;
    double size = height / MainView.SkyScale;
    Options.SkyZoom = size;
    const double half = std::sqrt(height * height + width * width) / (height / size) / 1.75;
    if (size <= 90.0) {
        MainView.CullCos = std::cos(DegToRad(half));
    } else {
        MainView.CullCos = 0.0;
        size = 180.0;
    }
    std::string unit = "Deg";
    if (size < 1.0) {
        size *= 60.0;
        unit = "Min";
    }
    return FormatReport("Size: %0:4.1f %1s", {size, unit});
}

std::string ResetSkyZoom()
{
    MainView.SkyScale = MainView.ImageHeight / WholeSkyField;
    MainView.CentreAlt = HalfPi - 0.0001;
    return ShowViewSize();
}

int PixelDistance(Pixel a, Pixel b)
{
    const double dx = double(a.x) - b.x;
    const double dy = double(a.y) - b.y;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}
