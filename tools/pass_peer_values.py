#!/usr/bin/python3
"""Reference values for the line pass search tests, from independent peers.

Prints C++ initialisers that tests/engine/searches/line_pass_peers_test.cpp
stores; the tests never run Python. Run with Debian's interpreter:
    /usr/bin/python3 tools/pass_peer_values.py

Satellites: ISS (25544), NOAA 15 (25338), GPS BIIR-2 (24876) from the gpredict
element file of January 2018. Observers: London and Sydney at sea level.
Span: two days from 2018-01-21 0h UTC. Times are seconds after that instant.
Besides, the rises and culminations of a few passes of hours (MOLNIYA 2-14,
GPS BIIR-2) and of a lopsided overhead pass (NO-84, eccentricity 0.017).

- python3-skyfield: passes above 10 degrees (the WGS84 geodetic horizon, no
  refraction): rise and set crossings; the culmination's instant, elevation
  and azimuth.
- python3-ephem: the Sun-below--6-degree intervals (pressure 0, the Sun's
  centre) and each satellite's Earth-shadow changes, sampled every second.

Last, the sunlit stretches of GOES 15 (36411) from Denver (1,609 m) in the
dark of 2018-03-18 to 22, in the eclipse season: the satellite leaves the
shadow again before dawn. Seconds after 2018-03-18 0h UTC, sampled every
minute and pinned by bisection: the position from python3-sgp4, the Sun's
direction of date (without aberration) from PyEphem, lit outside the cylinder
of a 6378.137 km Earth (at that height PyEphem's own eclipsed flag lies about
70 s off it).
"""
import math

import ephem
from sgp4.api import Satrec, jday
from skyfield.api import EarthSatellite, load, wgs84

SATELLITES = [
    ("ISS", "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
     "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614"),
    ("NOAA 15", "1 25338U 98030A   18020.96742132  .00000016  00000-0  25641-4 0  9995",
     "2 25338  98.7766  37.2459 0009629 297.3801  62.6398 14.25835947 23784"),
    ("GPS", "1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995",
     "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387"),
]
OBSERVERS = [("London", 51.5074, -0.1278), ("Sydney", -33.8688, 151.2093)]
# Passes of hours, a lopsided overhead pass and a decaying satellite's passes:
# element lines, place (latitude, longitude), first and last day counted from
# the same start, threshold.
LONG_PASSES = [
    ("MOLNIYA 2-14", "1 08195U 75081A   18020.11717079  .00000613  00000-0  48520-3 0  9990",
     "2 08195  61.8340  64.8958 7506200 280.7056  10.1985  2.00802691310416", (51.5074, -0.1278), 0, 1, 10.0),
    ("GPS from Sydney", SATELLITES[2][1], SATELLITES[2][2], (-33.8688, 151.2093), 0, 2, 0.0),
    ("GPS from the equator", SATELLITES[2][1], SATELLITES[2][2], (0.0, 0.0), 0, 1, 0.0),
    ("NO-84 from Honolulu", "1 40654U 15025D   18018.36924391  .00007293  00000-0  12554-3 0 01989",
     "2 40654 054.9932 351.7822 0169835 089.2179 272.8263 15.37930017032774", (21.3069, -157.8583), 0, 3, 0.0),
    ("FLOCK 2E-2 from London", "1 41484U 98067JE  18021.15208568  .01880589  37433-2  11688-2 0  9995",
     "2 41484  51.6306 327.5459 0007627 168.7534 191.4617 16.18089724 96162", (51.5074, -0.1278), 4, 5, 10.0),
]
SPAN = 2 * 86400
THRESHOLD = 10.0
SUN_LIMIT = "-6"

ts = load.timescale()
T0 = ts.utc(2018, 1, 21)


def at(seconds):
    return ts.utc(2018, 1, 21, 0, 0, seconds)


def elevation_at(sat, site, seconds):
    return (sat - site).at(at(seconds)).altaz()[0].degrees


def crossing(sat, site, a, b, rising, threshold=THRESHOLD):
    """Seconds of the threshold crossing in [a, b], by bisection to 1 ms."""
    for _ in range(40):
        m = (a + b) / 2
        up = elevation_at(sat, site, m) >= threshold
        if up == rising:
            b = m
        else:
            a = m
    return (a + b) / 2


def passes(sat, site, span=SPAN, threshold=THRESHOLD, first=0):
    """(rise, set) pairs from one-second samples refined by bisection, from
    `first` to `span` seconds; a pass up at either end starts or ends there."""
    times = at(list(range(first, span + 1)))
    alt = (sat - site).at(times).altaz()[0].degrees
    result, rise = [], float(first) if alt[0] >= threshold else None
    for s in range(first + 1, span + 1):
        if rise is None and alt[s - first] >= threshold:
            rise = crossing(sat, site, s - 1, s, True, threshold)
        elif rise is not None and alt[s - first] < threshold:
            result.append((rise, crossing(sat, site, s - 1, s, False, threshold)))
            rise = None
    if rise is not None:
        result.append((rise, float(span)))
    return result


def culmination(sat, site, rise, set_):
    """Seconds of the highest elevation in [rise, set_]: the best of samples a
    minute apart, refined by a golden-section search within a minute of it."""
    samples = [rise + k * 60.0 for k in range(int((set_ - rise) / 60.0) + 1)] + [set_]
    best = max(samples, key=lambda s: elevation_at(sat, site, s))
    a, b = max(rise, best - 60.0), min(set_, best + 60.0)
    for _ in range(60):
        c, d = b - (b - a) * 0.618, a + (b - a) * 0.618
        if elevation_at(sat, site, c) > elevation_at(sat, site, d):
            b = d
        else:
            a = c
    return (a + b) / 2


def dark_intervals(lat, lon):
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = str(lat), str(lon), 0
    obs.pressure = 0
    obs.horizon = SUN_LIMIT
    sun = ephem.Sun()
    start = ephem.Date("2018/1/21 00:00:00")
    end = ephem.Date(start + 2)
    obs.date = start
    sun.compute(obs)
    t, dark, result = start, sun.alt < ephem.degrees(SUN_LIMIT), []
    while t < end:
        obs.date = t
        if dark:
            n = obs.next_rising(sun, use_center=True)
            result.append((t, min(n, end)))
        else:
            n = obs.next_setting(sun, use_center=True)
        dark = not dark
        t = n
    return [((a - start) * 86400, (b - start) * 86400) for a, b in result]


def shadow_changes(l1, l2):
    """The eclipse state at the start and every second at which it changes."""
    sat = ephem.readtle("sat", l1, l2)
    start = ephem.Date("2018/1/21 00:00:00")
    sat.compute(start)
    first = bool(sat.eclipsed)
    state, changes = first, []
    for s in range(1, SPAN + 1):
        sat.compute(ephem.Date(start + s / 86400.0))
        if bool(sat.eclipsed) != state:
            state = not state
            changes.append(s)
    return first, changes


GOES15 = ("1 36411U 10008A   18020.04261932  .00000091  00000-0  00000-0 0  9992",
          "2 36411   0.0777 254.7228 0001628 344.3928 120.8530  1.00259669 28904")
DENVER = ("39.7392", "-104.9903", 1609)


def sunlit_dark_stretches(lines, place, start, days):
    """(start, end) seconds of the stretches in which the satellite is lit
    with the Sun below -6 degrees: minute samples, each change pinned by
    bisection."""
    sat = Satrec.twoline2rv(*lines)
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = place
    obs.pressure = 0
    sun = ephem.Sun()
    begin = ephem.Date(start)

    def visible(s):
        d = ephem.Date(begin + s / 86400.0)
        _, r, _ = sat.sgp4(*jday(*d.tuple()))
        obs.date = obs.epoch = d
        sun.compute(obs)
        # The Sun's direction of date without aberration, as the satellite's
        # frame has it.
        ra, dec = float(sun.a_ra), float(sun.a_dec)
        u = (math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec))
        radius = math.sqrt(sum(c * c for c in r))
        psi = math.acos(sum(a * b for a, b in zip(r, u)) / radius)
        return sun.alt < math.radians(-6) and math.acos(6378.137 / radius) + math.pi / 2 > psi

    result, state = [], visible(0)
    first = 0.0 if state else None
    for minute in range(60, days * 86400 + 1, 60):
        if visible(minute) == state:
            continue
        a, b = minute - 60.0, float(minute)
        while b - a > 0.01:
            m = (a + b) / 2
            if visible(m) == state:
                a = m
            else:
                b = m
        state = not state
        if state:
            first = b
        else:
            result.append((first, b))
    return result


def main():
    print("// Generated by tools/pass_peer_values.py")
    for name, l1, l2 in SATELLITES:
        sat = EarthSatellite(l1, l2, name, ts)
        for place, lat, lon in OBSERVERS:
            site = wgs84.latlon(lat, lon)
            rows = []
            for rise, set_ in passes(sat, site):
                top = culmination(sat, site, rise, set_)
                alt, az, _ = (sat - site).at(at(top)).altaz()
                rows.append("{%.2f, %.2f, %.2f, %.3f, %.3f}" % (rise, set_, top, alt.degrees, az.degrees))
            print("// %s from %s: rise, set, culmination, its elevation and azimuth" % (name, place))
            print("{" + ",\n ".join(rows) + "},")
    for name, l1, l2, (lat, lon), first, last, threshold in LONG_PASSES:
        sat, site = EarthSatellite(l1, l2, name, ts), wgs84.latlon(lat, lon)
        found = passes(sat, site, last * 86400, threshold, first * 86400)
        tops = [culmination(sat, site, rise, set_) for rise, set_ in found]
        print("// %s above %g degrees: rises and sets; culminations and their elevations" % (name, threshold))
        print("{" + ", ".join("{%.2f, %.2f}" % pair for pair in found) + "},")
        print("{" + ", ".join("{%.2f, %.3f}" % (top, elevation_at(sat, site, top)) for top in tops) + "},")
    for place, lat, lon in OBSERVERS:
        print("// Sun below %s degrees from %s" % (SUN_LIMIT, place))
        print("{" + ", ".join("{%.0f, %.0f}" % d for d in dark_intervals(lat, lon)) + "},")
    for name, l1, l2 in SATELLITES:
        first, changes = shadow_changes(l1, l2)
        print("// %s in shadow at the start: %s; seconds of the changes" % (name, first))
        print("{" + ", ".join(str(c) for c in changes) + "},")
    print("// GOES 15 from Denver, lit in the dark from 2018-03-18 0h: starts and ends")
    print("{" + ", ".join("{%.1f, %.1f}" % p for p in sunlit_dark_stretches(GOES15, DENVER, "2018/3/18", 5)) + "},")


if __name__ == "__main__":
    main()
