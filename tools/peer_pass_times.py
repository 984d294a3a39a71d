#!/usr/bin/python3
"""Prints the rise and set instants of a few real element sets, computed
independently with python3-skyfield (its own SGP4 and Earth model), as C++
initialisers for the rise and set search tests, which store them.

usage: peer_pass_times.py

The elevation is skyfield's altaz() of the satellite seen from a WGS84
geodetic site, refraction off: the angle above the plane perpendicular to
the site's ellipsoid normal. UT1 is taken equal to UTC (a constant
Delta T of 69.184 s, right for 2018), as KYT's clock does. Crossings are
found on a one-second scan and refined by bisection to 0.01 s; instants are
printed as seconds after the start of each case (a satellite up at the start
rises at 0, one still up at the end sets at the end). For the low pass the
culmination elevation is printed too, refined to 0.01 s.
"""
import numpy as np
from skyfield.api import EarthSatellite, load, wgs84

TS = load.timescale(delta_t=69.184)

ISS = ("1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
       "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614")
GPS = ("1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995",
       "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387")
NOAA19 = ("1 33591U 09005A   18020.91958580  .00000107  00000-0  83477-4 0  9992",
          "2 33591  99.1238 356.1693 0014450  24.0615 336.1228 14.12247534461122")
JPSS1 = ("1 43013U 17073A   18020.90595486 -.00000036  00000-0  37063-5 0  9990",
         "2 43013  98.7126 321.4710 0000893  65.9680 294.1589 14.19549727  9015")

LONDON = (51.5074, -0.1278, 20.0)
SYDNEY = (-33.8688, 151.2093, 40.0)
MUNICH = (48.137, 11.575, 520.0)

# name, elements, site, threshold (degrees), start (UTC), span (s)
CASES = [
    ("ISS London 0", ISS, LONDON, 0.0, (2018, 1, 21), 2 * 86400),
    ("ISS London 10", ISS, LONDON, 10.0, (2018, 1, 21), 2 * 86400),
    ("NOAA 19 London 0", NOAA19, LONDON, 0.0, (2018, 1, 21), 2 * 86400),
    ("GPS London 0", GPS, LONDON, 0.0, (2018, 1, 21), 2 * 86400),
    ("ISS Sydney 0", ISS, SYDNEY, 0.0, (2018, 1, 21), 2 * 86400),
    ("NOAA 19 Sydney 0", NOAA19, SYDNEY, 0.0, (2018, 1, 21), 2 * 86400),
    ("GPS Sydney 0", GPS, SYDNEY, 0.0, (2018, 1, 21), 2 * 86400),
]
LOW_PASS = ("JPSS-1 Munich 0", JPSS1, MUNICH, 0.0, (2018, 1, 22, 4), 3600)


def elevation_function(elements, site, start):
    satellite = EarthSatellite(elements[0], elements[1], "", TS)
    place = wgs84.latlon(site[0], site[1], elevation_m=site[2])

    def elevation(seconds):
        t = TS.utc(*start, 0, 0, seconds) if len(start) == 3 else TS.utc(*start, 0, seconds)
        return (satellite - place).at(t).altaz()[0].degrees

    return elevation


def refine(elevation, threshold, low, high):
    """The crossing between two instants that lie on either side."""
    below_at_low = elevation(low) < threshold
    while high - low > 0.005:
        middle = 0.5 * (low + high)
        if (elevation(middle) < threshold) == below_at_low:
            low = middle
        else:
            high = middle
    return 0.5 * (low + high)


def passes(case):
    _, elements, site, threshold, start, span = case
    elevation = elevation_function(elements, site, start)
    seconds = np.arange(0, span + 1, 1.0)
    above = elevation(seconds) >= threshold
    # A satellite already up at the start rises at the start, as the
    # search says.
    found = [[0.0, None]] if above[0] else []
    for i in np.nonzero(above[1:] != above[:-1])[0]:
        instant = refine(elevation, threshold, seconds[i], seconds[i + 1])
        if above[i + 1]:
            found.append([instant, None])
        else:
            found[-1][1] = instant
    # One still up at the end sets at the end, as the search says.
    if found and found[-1][1] is None:
        found[-1][1] = float(span)
    return elevation, found


def culmination(elevation, rise, set_):
    """The highest elevation between rise and set, golden-section search."""
    ratio = (5 ** 0.5 - 1) / 2
    low, high = rise, set_
    while high - low > 0.01:
        a = high - ratio * (high - low)
        b = low + ratio * (high - low)
        if elevation(a) > elevation(b):
            high = b
        else:
            low = a
    return float(elevation(0.5 * (low + high)))


def main():
    for case in CASES:
        _, found = passes(case)
        pairs = ["{%.2f, %.2f}" % (rise, set_) for rise, set_ in found]
        rows = [", ".join(pairs[i:i + 4]) for i in range(0, len(pairs), 4)]
        print("// %s\n{%s}," % (case[0], ",\n ".join(rows)))
    elevation, found = passes(LOW_PASS)
    for rise, set_ in found:
        print("// %s: rise %.2f, set %.2f, culmination %.3f degrees"
              % (LOW_PASS[0], rise, set_, culmination(elevation, rise, set_)))


if __name__ == "__main__":
    main()
