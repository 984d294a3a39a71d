// The selected satellite's ground track and the small circles on the ground
// (visibility circles) that the map and globe views draw.
#pragma once

#include <QPainter>

#include <cstdint>
#include <vector>

#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

// The selected satellite's sub-points, one a minute, and the span of
// instants they cover; the track is current while CurrentTime lies strictly
// inside TrackStart .. TrackEnd.
extern std::vector<Angles3> TrackPoints;
extern double TrackStart;
extern double TrackEnd;

struct GroundTrack {
    std::vector<Angles3> points;
    double start = 0.0;
    double end = 0.0;
};

// hours x 60 sub-points of record from instant on, a minute apart, forwards
// or (step < 0) backwards. Works on its own copies of the record and the
// observer, so a worker may run it. The track ends at the first minute the
// satellite is found decayed (or no longer propagates); the span ends there.
GroundTrack ComputeGroundTrack(TleRecord record, ObserverRecord observer, double instant, int step,
                               int hours);
// Refills TrackPoints, TrackStart and TrackEnd for the selected satellite at
// CurrentTime in the clock's direction. With no satellite shown, or the
// selected one decayed, the track is emptied and the span kept.
void CalcGroundTrack();

// count points (count >= 2) of the circle on the ground of all points from
// which a body at the geocentric distance distanceKm is on the horizon:
// angular radius arccos(6378.137 / distanceKm) about centre (latitude,
// longitude). The first point lies due east of the centre; the last repeats it.
std::vector<Angles3> CalcSmallCircle(const Angles3 &centre, double distanceKm, int count);

// A 90-point small circle drawn with the colour's alpha on the map or the
// globe (by Options.ViewMode). Steps that cross the map's +-180 edge and
// steps with an end behind the globe are not drawn.
void DrawCircleOnView(QPainter &painter, const Angles3 &centre, std::uint32_t argb, double distanceKm);

// The selected satellite's visibility circle and the home location's circle
// for it, as the display switches ask, sized by the satellite's distance.
void DrawSelectedCircles(QPainter &painter, const TargetState &selected);
