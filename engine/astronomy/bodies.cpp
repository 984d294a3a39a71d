#include "engine/astronomy/bodies.h"

#include <cmath>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/delta_t.h"
#include "engine/astronomy/geodesy.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/runtime/ui_hooks.h"

namespace {

constexpr double SecondsPerDay = 86400.0;
constexpr double DeltaTRefreshDays = 365.0;

thread_local DeltaTCache t_deltaT;

// Set once this thread has told the user about an ephemeris failure; cleared
// by the next success. A search that steps past the end of the file fails
// thousands of times, and the clock tick every second: one box is enough.
thread_local bool t_failureShown = false;

void ReportEphemerisFailure()
{
    if (t_failureShown)
        return;
    t_failureShown = true;
    ShowUserMessage("Error in JPL DE Planet Calculations", "Planets", MessageKind::Error);
}

bool HasFixedPosition(int body) { return body == BodySkyPoint || body == BodyStar; }

} // namespace

double DeltaTCache::DaysAt(double julianDate)
{
    if (std::fabs(julianDate - date) > DeltaTRefreshDays) {
        deltaTDays = CalcDeltaT(julianDate) / SecondsPerDay;
        date = julianDate + deltaTDays;
    }
    return deltaTDays;
}

bool CalcBodyGeocentric(int body, Vec4 &position, double instant)
{
    // Codes 12 and 13 are a sky point and a star here but barycentres to the
    // reader: they have no ephemeris position.
    if (body < BodyMercury || body > BodySun)
        return false;
    const double julianDate = instant + JulianDateOfDayZero;
    const double terrestrial = julianDate + t_deltaT.DaysAt(julianDate);
    if (!CalcDEBodyPosition(body, BodyEarth, position, terrestrial, kDEUnitsKm)) {
        ReportEphemerisFailure();
        return false;
    }
    t_failureShown = false;
    return true;
}

bool CalcBodyOfDate(int body, double instant, Vec4 &ofDate)
{
    Vec4 position;
    if (!CalcBodyGeocentric(body, position, instant))
        return false;
    PrecessVectorFromJ2000(position, ofDate, instant + JulianDateOfDayZero);
    return true;
}

bool UpdateBody(TargetState &state, double gmst, double instant, const ObserverRecord &observer)
{
    Vec4 position = state.Position;
    if (HasFixedPosition(state.BodyId)) {
        // The picker set the direction 1 AU away; without one there is
        // nothing to derive from.
        if (!(position.w > 0.0))
            return false;
    } else if (!CalcBodyGeocentric(state.BodyId, position, instant)) {
        return false;
    }
    state.Position = position;
    if (state.Mode == ModeGeocentricRaDec) {
        CalcGeoRaDec(position, state.RaDec);
        return true;
    }
    // The observer and the sidereal time belong to the date; the ephemeris
    // is J2000. The altitude, azimuth and sub-point are therefore taken from
    // the body carried to the date.
    const double julianDate = instant + JulianDateOfDayZero;
    Vec4 ofDate;
    PrecessVectorFromJ2000(position, ofDate, julianDate);
    DeriveStateCoordinates(state, ofDate, gmst, julianDate, observer);
    // The right ascension and declination stay in the ephemeris frame: the
    // observer goes back to J2000 rather than the body there and back, whose
    // round trip of the approximate precession is off by arcseconds.
    if (DerivesRaDec(state.Mode)) {
        Vec4 observerJ2000;
        PrecessVectorToJ2000(observer.Eci, observerJ2000, julianDate);
        CalcTopoRaDec(position, observerJ2000, state.RaDec);
    }
    return true;
}

bool UpdateBodies(int n)
{
    bool allOk = true;
    for (int i = 0; i <= n && i < static_cast<int>(BodyStates.size()); ++i)
        allOk = UpdateBody(BodyStates[i], SiderealTime, CurrentTime, Observer) && allOk;
    return allOk;
}
