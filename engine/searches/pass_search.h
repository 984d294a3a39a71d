// Step searches for the instants a satellite rises above and sets below an
// elevation threshold, and the ground geometry of the transit ground-track
// search: where on the ground the satellite stands in front of a body, and
// how wide the strip is inside which it crosses the body's disc.
//
// Every search moves the given observer (its inertial position belongs to
// the last instant tried), so a worker passes its own copy.
#pragma once

#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

// First instant at or after `start`, on the whole-second grid from `start`,
// at which the satellite's elevation reaches `threshold` (rad): coarse steps
// of 100 s or 25 s, then 5 s and 1 s. A satellite already at or above the
// threshold gives `start`. Returns `end` when there is no rise before it,
// when the satellite cannot be propagated at `start`, or when it decayed.
// `state` is left propagated at the last instant tried, its Mode unchanged.
double FindRiseTime(TleRecord &record, TargetState &state, double threshold, double start,
                    double end, ObserverRecord &observer);

// First instant after `start` at which the elevation has dropped to
// `threshold` or below, found as FindRiseTime finds a rise; `end` when there
// is none before it, the propagation fails at `start`, or the satellite
// decayed.
double FindSetTime(TleRecord &record, TargetState &state, double threshold, double start,
                   double end, ObserverRecord &observer);

// Propagates the satellite and moves the body (ephemeris bodies only; a sky
// point or star keeps its fixed J2000 position) to the instant, then finds
// where the line from the body through the satellite meets the sphere
// through the observer: the ground point (latitude, longitude, height in km)
// and the distance along that line from the satellite. False, with the
// ground point and distance not written, when there is none: the body stands
// behind the satellite's horizon (the line meets the sphere at more than
// 1.55 rad from the vertical) or the line passes beside the sphere, or the
// satellite or body cannot be computed. With `withDetails` the satellite
// state also receives its topocentric right ascension and declination
// (J2000) and range, its elevation and azimuth from the observer, its
// sub-point and its sunlit flag, and the body state the body's elevation and
// azimuth seen from the ground point. The satellite state's Mode is left 0.
bool CalcTransitGroundPoint(TargetState &satellite, TargetState &body, TleRecord &record,
                            double instant, Angles3 &groundPoint, bool withDetails,
                            double &distance, ObserverRecord &observer);

// Whether a body at `ofDate` (geocentric, frame of date) stands above the
// horizon as the views draw it: above the apparent horizon, refraction and
// the dip of the observer's height allowed for. observer.Eci must belong to
// the position's instant.
bool IsAboveApparentHorizon(const Vec4 &ofDate, const ObserverRecord &observer);

// Half-width in km of the strip on the ground, measured across the track
// from `previous` to `current`, inside which the satellite at `distance` km
// (from CalcTransitGroundPoint) crosses the Sun's or the Moon's disc, using
// the body elevation and azimuth that CalcTransitGroundPoint left with
// details.
// 0 when the body is not above the horizon there; 0.1 for any other body.
double CalcTransitPathWidth(const TargetState &body, const Angles3 &current, const Angles3 &previous,
                            double distance);
