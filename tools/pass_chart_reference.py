#!/usr/bin/python3
"""Reference directions for the pass chart tests, from python3-skyfield.

Prints C++ initialisers that tests/ui/pass_chart/pass_chart_test.cpp stores;
the tests never run Python. Run with Debian's interpreter:
    /usr/bin/python3 tools/pass_chart_reference.py

For the first ISS pass and the first GPS BIIR-2 pass (all day) that the line
search finds from London (sea level) from 2018-01-21 0h UTC, the topocentric
J2000 (ICRF) right ascension and declination in degrees at the chart's rise
(AOS), middle and set (LOS) points. Instants are seconds after 2018-01-21 0h
UTC: the pass start and end of the line search, and the middle point, the
15-second step nearest the middle of the points drawn.
"""
from skyfield.api import EarthSatellite, load, wgs84

SATELLITES = [
    ("Iss", "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
     "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614",
     (2533.0, 2728.0, 2928.0)),
    ("Gps", "1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995",
     "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387",
     (39693.0, 50553.0, 61410.0)),
]

ts = load.timescale()
site = wgs84.latlon(51.5074, -0.1278, elevation_m=0.0)

for name, line1, line2, instants in SATELLITES:
    satellite = EarthSatellite(line1, line2, name, ts)
    print("    {&%s, {" % name)
    for seconds in instants:
        t = ts.utc(2018, 1, 21, 0, 0, seconds)
        ra, dec, _ = (satellite - site).at(t).radec()
        print("        {%.3f, %.5f, %.5f}," % (seconds, ra._degrees, dec.degrees))
    print("    }},")
