// The projection and zoom state of a view and the projections between
// angles and pixels that every picture of the program goes through: the
// Lambert equal-area sky, the equirectangular map and the orthographic globe.
//
// Pixels are integers, x to the right and y down from the top-left corner.
// NotVisible (9999) in a pixel coordinate marks a point that is not drawn;
// the angle pair 9999, 9999 marks that no position lies under a pixel. No
// value that is not a number ever becomes a pixel: it gives NotVisible.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"

inline constexpr int NotVisible = 9999;
inline constexpr double NoPosition = 9999.0;
// CullCos value that turns off culling (and the horizon test) in ProjectSky.
inline constexpr double NoCulling = 9999.0;

struct Pixel {
    int x = NotVisible;
    int y = NotVisible;
    bool visible() const { return x != NotVisible && y != NotVisible; }
    friend bool operator==(const Pixel &, const Pixel &) = default;
};

struct ViewState {
    Angles3 Zenith;         // right ascension, declination of the zenith (horizon test)
    Angles3 Centre;         // right ascension, declination (and range) of the sky centre
    Angles3 GlobeCentre;    // latitude, longitude, height under the globe's centre
    double CentreAlt = 0.0; // altitude of the sky centre
    double CentreAz = 0.0;  // azimuth of the sky centre, north 0, east pi/2
    std::int32_t ImageWidth = 0;
    std::int32_t ImageHeight = 0;
    double Rotation = 0.0;        // of the sky picture about its centre
    double HorizonAltitude = 0.0; // apparent altitude of the horizon (negative)
    double MapScaleX = 0.0;       // map pixels per radian of longitude
    double MapScaleY = 0.0;       // map pixels per radian of latitude
    double SkyScale = 0.0;        // sky pixels per degree
    double SkyScaleMin = 0.0;     // widest sky view
    double CullCos = NoCulling;   // sky points drawn only when cos(distance from Centre) exceeds it
    double GlobeZoom = 0.0;       // globe radius in pixels
    double GlobeZoomMax = 0.0;
    std::int32_t CentreX = 0;
    std::int32_t CentreY = 0;
    std::int32_t SignX = 1; // -1 mirrors the sky picture left-right
    std::int32_t SignY = 1; // -1 mirrors it up-down
    std::uint8_t RebuildBackground = 0;
    std::uint8_t StarToHorizon = 0;
    std::uint8_t Constellations = 0;
    std::uint8_t ConstellationNames = 0;
    std::uint8_t StarNames = 0;
};
static_assert(sizeof(ViewState) == 192);
static_assert(offsetof(ViewState, CentreAlt) == 72);
static_assert(offsetof(ViewState, ImageWidth) == 88);
static_assert(offsetof(ViewState, Rotation) == 96);
static_assert(offsetof(ViewState, CentreX) == 168);
static_assert(offsetof(ViewState, RebuildBackground) == 184);
static_assert(offsetof(ViewState, StarNames) == 188);

// The main window's view; the pass chart keeps a ViewState of its own.
extern ViewState MainView;

// A map or globe pixel coordinate, truncated toward zero; NotVisible for a
// value that is not a number or lies far beyond any screen.
int TruncToPixel(double value);
// value truncated toward zero and held within 0..last (a value that is no
// number gives 0): an index into a picture or a size from any double.
int ClampToIndex(double value, int last);
// The largest radius a body's disc is drawn with in the sky view.
inline constexpr int LargestDiscRadius = 100000;

// Sky pixel of a point (first two values: right ascension, declination) in
// view. True when the point is drawn; pixel is written only then. With
// StarToHorizon set and culling on, points below the horizon are not drawn.
// A point exactly opposite the centre with culling off has no position and
// is reported as not drawn.
bool ProjectSky(const Angles3 &point, const ViewState &view, Pixel &pixel);
// Right ascension [0, 2pi] and declination under a pixel of the sky view, or
// NoPosition twice.
void UnprojectSky(Pixel pixel, double &ra, double &dec, const ViewState &view = MainView);

// Map pixel of (latitude, longitude): x limited to ImageWidth and y to
// ImageHeight from above, no lower limit.
Pixel ProjectMap(const Angles3 &point, const ViewState &view);
// Globe pixel of (latitude, longitude) and the cosine of its angular distance
// from the globe centre; the pixel is NotVisible when the cosine is not above
// threshold (0: front hemisphere only, -1: every point).
double ProjectGlobe(const Angles3 &point, const ViewState &view, Pixel &pixel, double threshold);
// ProjectMap or ProjectGlobe on MainView by Options.ViewMode. Returns the
// threshold unchanged in the map (and the sky view, which writes nothing),
// the cosine in the globe view.
double ProjectView(const Angles3 &point, Pixel &pixel, double threshold);

// Latitude, longitude under a map pixel; position's height is kept. Nothing
// is written while the map scales are zero.
void UnprojectMap(Pixel pixel, Angles3 &position, const ViewState &view);
// Latitude, longitude and height 6378.137 km under a globe pixel, or
// NoPosition twice when the pixel is off the disc.
void UnprojectGlobe(double x, double y, Angles3 &position, const ViewState &view);
// UnprojectMap or UnprojectGlobe on MainView by Options.ViewMode; position is
// untouched in the sky view.
void UnprojectView(Pixel pixel, Angles3 &position);

// atan2 by the polynomial of Abramowitz and Stegun 4.4.49 (error below 2e-8
// rad, far below a pixel): the globe texture needs two arc functions for each
// of a few hundred thousand pixels, and the library's take several times as
// long.
inline double FastAtan2(double y, double x)
{
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (ax == 0.0 && ay == 0.0)
        return 0.0;
    const bool steep = ay > ax;
    const double t = steep ? ax / ay : ay / ax;
    const double t2 = t * t;
    double r = t * (1.0 + t2 * (-0.3333314528 + t2 * (0.1999355085 + t2 * (-0.1420889944 +
               t2 * (0.1065626393 + t2 * (-0.0752896400 + t2 * (0.0429096138 +
               t2 * (-0.0161657367 + t2 * 0.0028662257))))))));
    if (steep)
        r = HalfPi - r;
    if (x < 0.0)
        r = Pi - r;
    return y < 0.0 ? -r : r;
}

// The unit sphere turned so that the globe centre faces the viewer: the
// per-pixel inverse of the globe projection without recomputing the centre's
// sines for every pixel (the globe texture walks a few hundred thousand).
struct GlobeFrame {
    explicit GlobeFrame(const ViewState &view);
    // Latitude and longitude [-pi, pi] under the pixel; false off the disc.
    bool Unproject(double x, double y, double &latitude, double &longitude) const;

    double sinP, cosP, centreLongitude, radius, centreX, centreY;
};

inline bool GlobeFrame::Unproject(double x, double y, double &latitude, double &longitude) const
{
    const double xg = (centreX - x) / radius;
    const double yg = (centreY - y) / radius;
    const double rhoSquared = xg * xg + yg * yg;
    if (!(rhoSquared <= 1.0))
        return false;
    // With c = arcsin(rho), sin c / rho is 1, so the orthographic inverse
    // needs no division by rho and holds at the centre pixel too.
    const double cosC = std::sqrt(1.0 - rhoSquared);
    const double sinLatitude = std::clamp(cosC * sinP + yg * cosP, -1.0, 1.0);
    latitude = FastAtan2(sinLatitude, std::sqrt(1.0 - sinLatitude * sinLatitude));
    longitude = centreLongitude - FastAtan2(xg, cosP * cosC - yg * sinP);
    if (longitude > Pi)
        longitude -= TwoPi;
    else if (longitude < -Pi)
        longitude += TwoPi;
    return std::isfinite(latitude) && std::isfinite(longitude);
}

// Recomputes CullCos and Options.SkyZoom from MainView.SkyScale and returns
// the field-of-view text the main window shows in its field txt_info1, such
// as "Size: 75.0 Deg" or "Size: 30.0 Min".
std::string ShowViewSize();
// The zenith command's whole-sky picture: this many degrees over the image
// height, wider than the widest zoom of a landscape image.
constexpr double WholeSkyField = 165.0;
// The zenith command's zoom and centre: WholeSkyField over the image height,
// centre just below the zenith. Returns ShowViewSize's text.
std::string ResetSkyZoom();

// Distance between two pixels in whole pixels.
int PixelDistance(Pixel a, Pixel b);
