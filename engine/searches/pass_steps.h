// The steps the pass searches of the prediction window are made of: moving
// a satellite and its observer to an instant, the Sun of that instant, a
// pass's magnitude, and rise and set searches that never step over a pass,
// which also give the main window its pass in progress or next pass.
//
// Everything here moves only the record, state and observer it is given, so
// a search thread passes its own copies.
#pragma once

#include <optional>
#include <vector>

#include "engine/files/settings.h"
#include "engine/satellites/satellite_record.h"

// Sidereal time and the observer's inertial position at the instant, then
// the satellite with what state.Mode asks for. False when the satellite
// could not be propagated (the state is then as it was).
bool MoveSatellite(TleRecord &record, TargetState &state, ObserverRecord &observer, double instant);

// The Sun's geocentric position carried to the date (the frame satellites
// and the observer are in) along a search: exact on the whole hours and on
// the straight line between them in between. In an hour the Sun moves 0.04
// degrees, and the line strays from its path by a millionth of that, far
// less than a satellite's shadow edge can show; the ephemeris is asked once
// an hour rather than at every step. A zero vector when the ephemeris cannot
// give it (the user has been told).
class SunAlong {
public:
    Vec4 At(long long t); // ms

private:
    long long from_ = 0, to_ = -1; // ms, the hours about the last instant asked
    Vec4 first_{}, last_{};
};

// Where a search for a change of the satellite's sunlight stopped.
struct SunlightEdge {
    long long at = 0;     // ms
    bool changed = false; // the sunlight at `at` differs from the one at the start
};

// The first whole second after `first` (ms) at which the satellite's
// sunlight differs from `litAtFirst`, or the first second at or after `last`
// when it does not change before. Each step is as long as the satellite
// provably stays on its side of the shadow's edge (from how far it is from
// the edge and how fast it can move), at least a second; the change is then
// pinned to the second. A position that cannot be computed leaves the
// sunlight as it was. Only the satellite moves (state.Mode must ask for
// nothing); the observer stays as it is.
SunlightEdge FindSunlightEdge(TleRecord &record, TargetState &state, const ObserverRecord &observer,
                              SunAlong &sun, long long first, long long last, bool litAtFirst);

// One stretch of a pass in which the satellite stays in sunlight, or in the
// Earth's shadow.
struct SunlightStretch {
    long long first = 0; // ms: the pass's rise, or the first second after a change
    long long last = 0;  // ms: the second before the next stretch's first, or the pass's set
    bool lit = false;
};

// The stretches of the pass from `rise` to `set` (ms) in which the satellite
// is in turn sunlit and in shadow (a high satellite may leave the shadow
// again before it sets), found with FindSunlightEdge from the rise on. A
// change counts when the second it is shown at, the last sunlit second
// before the shadow or the first one after it, comes before the set. Moves
// the satellite, with state.Mode set to ask for nothing, and the observer.
std::vector<SunlightStretch> FindSunlightStretches(TleRecord &record, TargetState &state,
                                                   ObserverRecord &observer, SunAlong &sun, long long rise,
                                                   long long set);

// Magnitude of the satellite at state.Position, range state.RaDec.third,
// from the observer's inertial position; none in the Earth's shadow.
std::optional<double> PassMagnitude(const TleRecord &record, const TargetState &state,
                                    const ObserverRecord &observer, const Vec4 &sunOfDate);

// The instant (ms) of the satellite's highest elevation from `first` to
// `last` (ms), to within 10 ms: the culmination of that part of a pass. The
// elevation is sampled a few dozen times a period to find the highest
// stretch (a pass of hours may rise and fall more than once), whose top is
// then pinned down. `state` is left moved.
long long FindCulmination(TleRecord &record, TargetState &state, ObserverRecord &observer, long long first,
                          long long last);

// The first instant on the whole-second grid from `start` at which the
// elevation reaches `threshold` (rad): `start` itself when the satellite is
// up there, `end` when there is none before it or the satellite decays. The
// same instant FindRiseTime finds, except that no pass is stepped over:
// each step is as long as the satellite provably stays below the threshold
// (from its distance, its highest speed and its greatest orbital radius),
// at least a second. A propagation failure hands over to FindRiseTime.
// `state` is left at the instant returned (mode as the caller set it).
double FindRiseSecond(TleRecord &record, TargetState &state, double threshold, double start,
                      double end, ObserverRecord &observer);

// The first instant after `start` on the same grid at which the elevation is
// at or below `threshold`; `end` when there is none before it. Steps as
// FindRiseSecond does, from the height of the satellite above the threshold;
// a propagation failure hands over to FindSetTime.
double FindSetSecond(TleRecord &record, TargetState &state, double threshold, double start,
                     double end, ObserverRecord &observer);

// The rise and set of one pass on the whole-second grid of UTC, so that they
// are the instants FindRiseSecond and FindSetSecond find from any earlier
// whole second: the pass in progress at `now`, however long before `now`
// it rose, or else the next pass. The set lies at least a second after the
// rise. The span searched reaches `days` before and after `now` (the second
// at or before it); an end of the span stands in for a crossing not found
// within it, and the flags say which crossings were found.
struct PassTimes {
    double Rise = 0.0;
    double Set = 0.0;
    bool RiseFound = false;
    bool SetFound = false;
    // False for a satellite that neither rises nor sets within the span:
    // up or down all along.
    bool Crosses() const { return RiseFound || SetFound; }
};
PassTimes FindPassAt(TleRecord &record, TargetState &state, double threshold, double now, double days,
                     ObserverRecord &observer);
