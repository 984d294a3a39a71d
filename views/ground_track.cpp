#include "views/ground_track.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/constants.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "views/map_view.h"
#include "views/view_painting.h"
#include "views/view_setup.h"
#include "views/view_state.h"

std::vector<Angles3> TrackPoints;
double TrackStart = 0.0;
double TrackEnd = 0.0;

namespace {

constexpr double MinutesPerDay = 1440.0;
constexpr int CirclePointCount = 90;

} // namespace

GroundTrack ComputeGroundTrack(TleRecord record, ObserverRecord observer, double instant, int step,
                               int hours)
{
    const int count = std::max(0, hours) * 60;
    const int direction = step < 0 ? -1 : 1;
    GroundTrack track;
    track.points.reserve(count);

    TargetState state;
    state.Mode = ModeSubPoint;
    int minute = 0;
    // Each instant is taken from the start, so a long track gathers no
    // rounding from repeated additions of a minute.
    auto instantAt = [&](int m) { return instant + direction * m / MinutesPerDay; };
    for (; minute < count; ++minute) {
        const double t = instantAt(minute);
        const double gmst = UpdateSiderealObserver(t, observer);
        // A satellite that no longer propagates (decayed or failed) has no
        // sub-point here; its state would still hold the previous minute's.
        if (!PropagateSatellite(record, state, gmst, t, observer))
            break;
        track.points.push_back(state.SubPoint);
    }
    const double last = instantAt(minute);
    track.start = direction < 0 ? last : instant;
    track.end = direction < 0 ? instant : last;
    return track;
}

void CalcGroundTrack()
{
    TrackPoints.clear();
    if (SatStates.empty() || SelectedMain < 0 || static_cast<std::size_t>(SelectedMain) >= MainList.size())
        return;
    const TleRecord &selected = MainList[SelectedMain];
    if (selected.Decayed)
        return;
    GroundTrack track = ComputeGroundTrack(selected, Observer, CurrentTime, Step, Options.TrackHours);
    TrackPoints = std::move(track.points);
    TrackStart = track.start;
    TrackEnd = track.end;
}

std::vector<Angles3> CalcSmallCircle(const Angles3 &centre, double distanceKm, int count)
{
    count = std::max(count, 2);
    // A distance inside the Earth has no horizon circle; it shrinks to the centre.
    const double rho = std::acos(std::clamp(EarthRadiusKm / distanceKm, -1.0, 1.0));
    const double step = TwoPi / (count - 1);
    const double sinLat = std::sin(centre.first), cosLat = std::cos(centre.first);
    const double sinLon = std::sin(centre.second), cosLon = std::cos(centre.second);
    const double sinRho = std::sin(rho), cosRho = std::cos(rho);

    std::vector<Angles3> points(count);
    for (int i = 0; i < count; ++i) {
        const double bearing = HalfPi + i * step;
        const double cosT = std::cos(bearing);
        const double z = cosLat * cosRho - sinLat * sinRho * cosT;
        const double e = sinRho * std::sin(bearing);
        points[i].first = std::asin(std::clamp(sinLat * cosRho + cosLat * sinRho * cosT, -1.0, 1.0));
        points[i].second = std::atan2(sinLon * z + cosLon * e, cosLon * z - sinLon * e);
    }
    return points;
}

void DrawCircleOnView(QPainter &painter, const Angles3 &centre, std::uint32_t argb, double distanceKm)
{
    const bool map = Options.ViewMode == ViewModeMap;
    const std::vector<Angles3> points = CalcSmallCircle(centre, distanceKm, CirclePointCount);
    const Angles3 *previous = &points.front();
    Pixel previousPixel;
    ProjectView(*previous, previousPixel, 0.0);
    for (const Angles3 &point : points) {
        Pixel pixel;
        ProjectView(point, pixel, 0.0);
        // On the map a step across the +-180 edge would be a line across
        // the whole picture; on the globe an end behind the disc hides it.
        if (pixel.visible() && previousPixel.visible() && !(map && CrossesMapEdge(*previous, point)))
            DrawSolidLine(painter, previousPixel, pixel, argb);
        previous = &point;
        previousPixel = pixel;
    }
}

void DrawSelectedCircles(QPainter &painter, const TargetState &selected)
{
    if (MainViewSwitches.SatelliteCircle)
        DrawCircleOnView(painter, selected.SubPoint, Options.SatColor, selected.Position.w);
    if (MainViewSwitches.LocationCircle)
        DrawCircleOnView(painter, Angles3{Observer.Latitude, Observer.Longitude, 0.0}, Options.HomeColor,
                         selected.Position.w);
}
