#!/usr/bin/python3
"""Reference period and heights for the satellite information tests.

Prints, for each element set, the period (minutes, from the Brouwer mean
motion no_kozai) and the apogee and perigee heights (km, from alta and altp)
that python3-sgp4 derives; the tests store these numbers.
Run with Debian's /usr/bin/python3 (python3-sgp4).
"""
import math

from sgp4.api import Satrec, WGS72
from sgp4.earth_gravity import wgs72

SETS = {
    "ISS": ("1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927",
            "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537"),
    "28626": ("1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190",
              "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891"),
}

for name, (line1, line2) in SETS.items():
    sat = Satrec.twoline2rv(line1, line2, WGS72)
    period = 2.0 * math.pi / sat.no_kozai
    apogee = sat.alta * wgs72.radiusearthkm
    perigee = sat.altp * wgs72.radiusearthkm
    print(f"{name}: period {period:.6f} min, apogee {apogee:.4f} km, perigee {perigee:.4f} km")
