// Event searches for the Sun, the Moon and the planets: altitude crossings,
// the meridian transit, and the time windows in which a body stays above or
// below an altitude (the dark windows of the pass searches when the body is
// the Sun).
//
// Every search sets the body's Mode to 4 (right ascension and declination,
// elevation and azimuth) and moves the given observer to the instants it
// tries, so a worker passes its own copy.
#pragma once

#include <vector>

#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

// One time window (day counts, UTC). The end comes first.
struct WindowItem {
    double EndTime = 0.0;
    double StartTime = 0.0;
};

// Direction of FindBodyAltitudeCrossing.
inline constexpr int BodyRising = -1;  // the upward crossing: search while below
inline constexpr int BodySetting = +1; // the downward crossing: search while above

// Instant in [start, end] at which the body's altitude crosses `threshold`
// (rad) in `direction`: `start` when it is already across there, `end` when
// the crossing is not found before `end`. Coarse steps of 60, 15 and 5
// minutes, then a secant refinement to about 5 arcseconds.
double FindBodyAltitudeCrossing(TargetState &body, int direction, double threshold, double start,
                                double end, ObserverRecord &observer);

// The next upper culmination (hour angle 0, the body highest in the sky)
// after `start`, refined to about a second; `end` when it falls at or after
// `end`.
double FindBodyTransit(TargetState &body, double start, double end, ObserverRecord &observer);

// Appends to `windows` the windows of [start, end] in which the body stands
// above `threshold` (above set) or below it (below set), each from its
// crossing to the next one; a window still open at `end` ends there, and one
// open at `start` starts there. Both flags give the whole span as one window;
// neither gives none. A body that never crosses while the span lasts gives one
// window that starts and ends at `end`. The body's Mode is restored.
void BuildBodyWindows(TargetState &body, bool above, bool below, double start, double end,
                      double threshold, std::vector<WindowItem> &windows,
                      ObserverRecord &observer);
