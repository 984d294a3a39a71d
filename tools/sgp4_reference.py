#!/usr/bin/python3
"""Reference positions for the tests of the main list update and the
satellite selector, from Debian's python3-sgp4 (the 2006 revision of the
model, "wgs72" constants, AFSPC mode, as the orbit library's own tests use).

Usage: /usr/bin/python3 tools/sgp4_reference.py
Prints one C++ initialiser per set and instant: {minutes, {x, y, z}} in km.
"""
from sgp4.earth_gravity import wgs72
from sgp4.io import twoline2rv
from sgp4.propagation import sgp4

SETS = {
    # A near-earth set (the ISS, 2008 September 20).
    "iss": ("1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927",
            "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537"),
    # A deep-space set with the half-day resonance (08195, 2006 June 25).
    "08195": ("1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
              "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"),
}

for name, (line1, line2) in SETS.items():
    satellite = twoline2rv(line1, line2, wgs72, opsmode="a")
    for minutes in (0.0, 720.0):
        position, _ = sgp4(satellite, minutes)
        print("// %s" % name)
        print("{%.1f, {%.6f, %.6f, %.6f}}," % ((minutes,) + tuple(position)))
