#include "engine/satellites/satellite_driver.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "engine/runtime/program_state.h"
#include "engine/astronomy/vectors.h"

namespace {

// Periods of 225 minutes or more (6.4 revolutions a day or fewer) take the
// deep-space model.
constexpr double DeepSpacePeriodMinutes = 225.0;
constexpr double MinutesPerDay = 1440.0;

// Library result codes that still deliver a position: success, and a perigee
// or apogee inside the Earth (the decay test below then decides).
constexpr int PropagationOk = 0;
constexpr int PropagationPerigeeInsideEarth = -4;

bool UsesDeepSpace(const TleRecord &record) { return record.DeepSpace == 1; }

bool IsFinite(const Vec4 &v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

// Mean motion in revolutions a day as written in columns 53-63 of line 2;
// 1.0 when the text is no number.
double MeanMotionFromLine2(const std::string &line2)
{
    double value = 1.0;
    if (line2.size() > 52 && ParseDecimal(std::string_view(line2).substr(52, 11), value))
        return value;
    return 1.0;
}

// Perigee and apogee heights (km above the equatorial radius) from the
// semi-major axis that the near-earth model's initialisation recovers from
// the element set. False when the elements give no ellipse.
bool CalcOrbitHeights(const element_set &elements, double &perigee, double &apogee)
{
    const double n = elements.mean_motion;
    const double e = elements.eccentricity;
    const double a1 = std::pow(0.0743669161331734 / n, 2.0 / 3.0);
    const double cosI = std::cos(elements.inclination);
    const double k = (3.0 * cosI * cosI - 1.0) * 0.00081196185;
    const double beta0sq = 1.0 - e * e;
    const double beta0 = std::sqrt(beta0sq);
    const double delta1 = k / (beta0sq * a1 * a1 * beta0);
    const double a0 = a1 * (1.0 - delta1 * (1.0 / 3.0 + delta1 * (1.0 + delta1 * 134.0 / 81.0)));
    const double delta0 = k / (beta0sq * beta0 * a0 * a0);
    const double a0dp = a0 / (1.0 - delta0);
    apogee = (a0dp * (1.0 + e) - 1.0) * EarthRadiusKm;
    perigee = (a0dp * (1.0 - e) - 1.0) * EarthRadiusKm;
    return std::isfinite(perigee) && std::isfinite(apogee) && beta0sq > 0.0;
}

} // namespace

int ParseSatElements(const std::string &line1, const std::string &line2, TleRecord &record,
                     bool withHeights)
{
    // Everything is worked out on a copy and taken over only when it all
    // succeeded, so a rejected pair never leaves a half-updated satellite.
    TleRecord parsed = record;
    const int result = parse_elements(line1.c_str(), line2.c_str(), &parsed.Elements);
    if (result < 0)
        return result;

    parsed.MeanMotion = MeanMotionFromLine2(line2);
    const double period = MinutesPerDay / parsed.MeanMotion;
    if (!std::isfinite(period))
        return -1;
    parsed.DeepSpace = period >= DeepSpacePeriodMinutes ? 1 : 0;
    parsed.Period = period;
    if (withHeights && !CalcOrbitHeights(parsed.Elements, parsed.PerigeeHeight, parsed.ApogeeHeight))
        return -1;

    record = parsed;
    return result;
}

void InitSatelliteModel(TleRecord &record)
{
    if (UsesDeepSpace(record))
        SDP4_init(&record.Params.Sdp4, &record.Elements);
    else
        SGP4_init(&record.Params.Sgp4, &record.Elements);
}

bool LoadSatFromElementRecord(TleRecord &record, const ElementRecord &element, bool withHeights,
                              double lowerMeanMotion, double upperMeanMotion)
{
    const double meanMotion = element.MeanMotion;
    if (!(lowerMeanMotion < meanMotion && meanMotion < upperMeanMotion))
        return false;
    // The identity is taken only with elements that parse, so a damaged
    // element record never renames a working satellite.
    if (ParseSatElements(element.Line1.str(), element.Line2.str(), record, withHeights) < 0)
        return false;
    record.Name.assignCut(element.Name.str());
    record.Number.assignCut(element.Number.str());
    record.StdMagnitude = element.StdMagnitude;
    InitSatelliteModel(record);
    return true;
}

double UpdateSiderealObserver(double instant, ObserverRecord &observer)
{
    const double gmst = CalcGMST(instant + JulianDateOfDayZero);
    CalcObserverECI(observer.Eci, observer.RhoCosPhi, observer.RhoSinPhi, observer.Longitude, gmst);
    return gmst;
}

bool DerivesRaDec(int mode)
{
    return mode == ModeAll || mode == ModeRaDec || mode == ModeRaDecHorizon || mode == ModeRaDecSubPoint;
}

void DeriveStateCoordinates(TargetState &state, const Vec4 &positionOfDate, double gmst,
                            double julianDate, const ObserverRecord &observer)
{
    const int mode = state.Mode;
    const bool raDec = DerivesRaDec(mode);
    const bool horizon = mode == ModeAll || mode == ModeRaDecHorizon;
    const bool subPoint = mode == ModeAll || mode == ModeSubPoint || mode == ModeRaDecSubPoint;

    if (raDec) {
        Angles3 ofDate;
        CalcTopoRaDec(positionOfDate, observer.Eci, ofDate);
        if (horizon) {
            const Angles3 site{observer.Latitude, observer.Longitude, observer.Height};
            EquToHorizontal(site, ofDate, state.Elevation, state.Azimuth, std::nullopt, gmst);
        }
        PrecessToJ2000(ofDate, state.RaDec, julianDate);
    }
    if (subPoint)
        CalcSubPoint(positionOfDate, state.SubPoint, gmst);
}

bool PropagateSatellite(TleRecord &record, TargetState &state, double gmst, double instant,
                        const ObserverRecord &observer)
{
    const double julianDate = instant + JulianDateOfDayZero;
    const double tsince = (julianDate - record.Elements.epoch) * MinutesPerDay;

    // The library writes into its own vectors; the state changes only when
    // the propagation delivered a position.
    Vec4 position{}, velocity{};
    const int result =
        UsesDeepSpace(record)
            ? SDP4(tsince, &record.Elements, &record.Params.Sdp4, &position, &velocity)
            : SGP4(tsince, &record.Elements, &record.Params.Sgp4, &position, &velocity);
    if (result != PropagationOk && result != PropagationPerigeeInsideEarth)
        return false;
    if (!IsFinite(position) || !IsFinite(velocity))
        return false;
    if (position.w < EarthRadiusKm) {
        record.Decayed = 1;
        return false;
    }
    record.Decayed = 0;

    state.Position = position;
    state.Velocity = velocity;
    DeriveStateCoordinates(state, position, gmst, julianDate, observer);
    return true;
}

double CalcTargetElevation(const TargetState &state, const ObserverRecord &observer)
{
    // Above the plane perpendicular to the geodetic vertical, the horizon the
    // data fields and the sky view use. The observer's inertial position
    // carries the local sidereal angle of the instant it was computed for.
    const double localSidereal = std::atan2(observer.Eci.y, observer.Eci.x);
    const double cosLat = std::cos(observer.Latitude);
    const double up[3] = {cosLat * std::cos(localSidereal), cosLat * std::sin(localSidereal),
                          std::sin(observer.Latitude)};
    const double line[3] = {state.Position.x - observer.Eci.x, state.Position.y - observer.Eci.y,
                            state.Position.z - observer.Eci.z};
    const double length = std::sqrt(line[0] * line[0] + line[1] * line[1] + line[2] * line[2]);
    if (length <= 0.0)
        return HalfPi;
    const double sine = (up[0] * line[0] + up[1] * line[1] + up[2] * line[2]) / length;
    return std::asin(std::clamp(sine, -1.0, 1.0));
}

void UpdateSelectedSatellites()
{
    // The Sun's state is the last body entry of the view in use; a list not
    // yet rebuilt for a new view holds another body there and lights nothing.
    const std::size_t sunEntry = Options.ViewMode == ViewModeSky ? 9 : 1;
    const bool haveSun = sunEntry < BodyStates.size() && BodyStates[sunEntry].BodyId == BodySun;
    Vec4 sunOfDate{};
    if (haveSun)
        PrecessVectorFromJ2000(BodyStates[sunEntry].Position, sunOfDate,
                               CurrentTime + JulianDateOfDayZero);

    std::size_t slot = 0;
    for (TleRecord &record : MainList) {
        if (!record.Selected)
            continue;
        if (slot >= SatStates.size())
            break;
        TargetState &state = SatStates[slot];
        if (PropagateSatellite(record, state, SiderealTime, CurrentTime, Observer) && haveSun)
            state.Lit = IsSunlit(state.Position, sunOfDate) ? 1 : 0;
        ++slot;
    }
}
