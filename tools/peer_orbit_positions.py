#!/usr/bin/python3
"""Prints positions of two low-inclination deep-space element sets computed
independently with python3-sgp4 (WGS-72 constants, one fresh propagation per
instant), as C++ initialisers that the orbit library's tests store.

usage: peer_orbit_positions.py

The sets: 38753 (inclination 9.9 degrees, eccentricity 0.68) with its node
field set to 359.5 degrees, so that the node crosses 360 degrees within the
days propagated, and the geostationary GOES 13 (inclination 0.3 degrees),
both from the element data of Debian's gpredict package (January 2018).
Positions are TEME, km, at -30, -10, 0, 10 and 30 days from the epoch.
"""
from sgp4.api import WGS72, Satrec


def with_checksum(line):
    total = sum(int(c) if c.isdigit() else (1 if c == "-" else 0) for c in line[:68])
    return line[:68] + str(total % 10)


NODE_NEAR_360 = (
    "1 38753U 12046B   18020.56840596 -.00000015  00000-0  13481-4 0  9991",
    with_checksum("2 38753   9.8866 359.5000 6831164 311.2160   7.5072  2.65132731 52306"),
)
GEOSTATIONARY = (
    "1 29155U 06018A   18020.76993589 -.00000277  00000-0  00000+0 0  9990",
    "2 29155   0.3033 103.4554 0011344  94.0749 132.0880  1.00469224 42737",
)
DAYS = (-30, -10, 0, 10, 30)


def main():
    for name, (line1, line2) in (("kNodeNear360", NODE_NEAR_360), ("kGeostationary", GEOSTATIONARY)):
        print("// %s\n//   %s\n//   %s" % (name, line1, line2))
        for days in DAYS:
            satellite = Satrec.twoline2rv(line1, line2, WGS72)
            error, position, _ = satellite.sgp4_tsince(days * 1440.0)
            assert error == 0, (name, days, error)
            print("{%s, %.1f, {%.7f, %.7f, %.7f}}," % ((name, days * 1440.0) + tuple(position)))


if __name__ == "__main__":
    main()
