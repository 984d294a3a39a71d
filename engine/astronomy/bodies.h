// Positions of the Sun, the Moon and the planets from the DE ephemeris with
// the time scale corrected by Delta T, and the coordinates derived from them
// for the bodies the views draw and the searches compare with.
//
// Each thread keeps its own Delta T cache (as the ephemeris reader keeps its
// own evaluation caches), and every worker task runs on a thread of its own,
// so a search and the clock tick each get the values of their own instants.
#pragma once

#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

// Delta T, recomputed only when the date has moved more than 365 days from
// the date of the last computation: over a year it changes by about a second.
struct DeltaTCache {
    double deltaTDays = 0.0;  // Delta T last computed, days
    double date = 0.0;        // terrestrial-time Julian date it was computed at

    // Delta T in days for a Julian date (UT).
    double DaysAt(double julianDate);
};

// Geocentric position (km, J2000) of a body (BodyMercury to BodySun) at an
// instant (UTC day count). False when the ephemeris cannot give it, with
// position untouched; the user is told "Error in JPL DE Planet Calculations"
// once for each run of failures on the calling thread, not for every call.
bool CalcBodyGeocentric(int body, Vec4 &position, double instant);

// A body's geocentric position (BodyMercury to BodySun) carried to the frame
// of date, where satellites and the observer are. False as
// CalcBodyGeocentric.
bool CalcBodyOfDate(int body, double instant, Vec4 &ofDate);

// Moves state to the instant: its BodyId's position, then what its Mode
// derives (modes 1 to 5 as for satellites, from the position carried to the
// date, but with the topocentric right ascension and declination in J2000
// straight from the ephemeris; 6 the geocentric right ascension and
// declination). A sky point or star (BodySkyPoint, BodyStar) keeps the J2000
// Position its picker set and only its coordinates are derived. gmst belongs
// to the instant and to observer (UpdateSiderealObserver). False, with state
// as it was, when the position could not be computed (or a fixed target has
// none).
bool UpdateBody(TargetState &state, double gmst, double instant, const ObserverRecord &observer);

// Updates BodyStates entries 0 to n at CurrentTime with SiderealTime and the
// global Observer (nothing for n < 0). False when any body failed. Runs on the
// user-interface thread.
bool UpdateBodies(int n);
