#!/usr/bin/python3
"""Reference values for the tests of the analysis listings and the Sun, Moon
and planet tables, from independent peers: python3-sgp4 (WGS72) through
Skyfield's EarthSatellite with Skyfield's own timescale for satellites, and
PyEphem for the Sun, the Moon and the planets. Prints C++ initialisers that
the tests store; the tests never run Python.

Run with Debian's interpreter: /usr/bin/python3 tools/analysis_references.py
[program folder] (default build/release/bin, which holds tle/gpredict.tle).
"""
import math
import sys

import ephem
import numpy as np
from skyfield.api import EarthSatellite, load, wgs84
from skyfield.positionlib import Geocentric

AU_KM = 149597870.6996262
EARTH_RADIUS_KM = 6378.137
TS = load.timescale(builtin=True)
LONDON = (51.5, -0.1)


def read_elements(path):
    lines = [l.rstrip('\r\n') for l in open(path, encoding='latin-1')]
    sets = []
    for i in range(len(lines) - 1):
        if lines[i].startswith('1 ') and lines[i + 1].startswith('2 '):
            name = lines[i - 1].strip() if i > 0 else ''
            sets.append((name, lines[i], lines[i + 1]))
    return sets


def ephem_date(t):
    return ephem.Date(t.utc_datetime().replace(tzinfo=None))


def geocentric_j2000_km(body, t):
    """PyEphem's astrometric geocentric J2000 vector of a body, km."""
    body.compute(ephem_date(t))
    ra, dec, r = float(body.a_ra), float(body.a_dec), body.earth_distance * AU_KM
    return np.array([r * math.cos(dec) * math.cos(ra), r * math.cos(dec) * math.sin(ra), r * math.sin(dec)])


def observer_km(lat, lon, t, height=0.0):
    return wgs84.latlon(lat, lon, elevation_m=height).at(t).position.km


def visible_now(sets):
    """Every set of 14 < n < 18 revs a day within a degree of the box at
    2018-01-21 20:00 UTC: name, az, alt, range, height, lit fraction, PyEphem's
    eclipsed flag and the spherical-shadow margin (degrees, lit when > 0)."""
    t = TS.utc(2018, 1, 21, 20, 0, 0)
    site = wgs84.latlon(*LONDON)
    sun = geocentric_j2000_km(ephem.Sun(), t)
    observer = site.at(t).position.km
    rows = []
    for name, l1, l2 in sets:
        n = float(l2[52:63])
        if not 14.0 < n < 18.0:
            continue
        sat = EarthSatellite(l1, l2, name, TS)
        if sat.model.error:
            continue
        geo = sat.at(t)
        if sat.model.error or np.isnan(geo.position.km).any():
            continue
        alt, az, distance = (sat - site).at(t).altaz()
        if alt.degrees < 9.0:
            continue
        position = geo.position.km
        height = wgs84.geographic_position_of(geo).elevation.km
        d = observer - position
        fraction = (1.0 + d.dot(sun) / (np.linalg.norm(d) * np.linalg.norm(sun))) / 2.0
        r = np.linalg.norm(position)
        psi = math.degrees(math.acos(position.dot(sun) / (r * np.linalg.norm(sun))))
        margin = math.degrees(math.acos(EARTH_RADIUS_KM / r)) + 90.0 - psi
        body = ephem.readtle(name, l1, l2)
        where = ephem.Observer()
        where.lat, where.lon = str(LONDON[0]), str(LONDON[1])
        where.date = ephem_date(t)
        body.compute(where)
        rows.append((l1[2:7], az.degrees, alt.degrees, distance.km, height, fraction,
                     int(body.eclipsed), margin))
    print('// Visible at 2018-01-21 20:00 UTC from 51.5 N 0.1 W: number, az, alt, range, height,'
          ' fraction, eclipsed, shadow margin')
    for row in rows:
        print('{"%s", %.4f, %.4f, %.3f, %.3f, %.5f, %d, %.3f},' % row)


def ground_on_line(point, direction, t):
    """Where point - k direction (unit) meets the ellipsoid, by bisection."""
    low, high = 0.0, 5000.0
    for _ in range(80):
        k = (low + high) / 2.0
        where = wgs84.geographic_position_of(Geocentric((point - k * direction) / AU_KM, t=t))
        if where.elevation.km > 0.0:
            low = k
        else:
            high = k
    return where


def transits(sets):
    """An ISS instant and the ground point from which it stands on the Sun,
    on the Moon at night and on Sirius at night."""
    iss = next(s for s in sets if s[0].startswith('ISS'))
    sat = EarthSatellite(iss[1], iss[2], iss[0], TS)
    sirius_ra, sirius_dec = math.radians(101.28715533), math.radians(-16.71611586)
    sirius = np.array([math.cos(sirius_dec) * math.cos(sirius_ra),
                       math.cos(sirius_dec) * math.sin(sirius_ra), math.sin(sirius_dec)])

    def search(kind, need):
        for second in range(0, 2 * 86400, 20):
            t = TS.utc(2018, 1, 21, 0, 0, second)
            iss_km = sat.at(t).position.km
            sun = geocentric_j2000_km(ephem.Sun(), t)
            if kind == 'Sun':
                direction = sun - iss_km
            elif kind == 'Moon':
                direction = geocentric_j2000_km(ephem.Moon(), t) - iss_km
            else:
                direction = sirius
            direction = direction / np.linalg.norm(direction)
            # Seen from below the satellite the target stands about as high as
            # seen from the ground point: most instants are ruled out cheaply.
            up = iss_km / np.linalg.norm(iss_km)
            sun_up = math.degrees(math.asin(np.dot(sun, up) / np.linalg.norm(sun)))
            if not need(math.degrees(math.asin(np.dot(direction, up))) - 3.0, sun_up + 3.0):
                continue
            where = ground_on_line(iss_km, direction, t)
            site = wgs84.latlon(where.latitude.degrees, where.longitude.degrees)
            target_alt = math.degrees(math.asin(np.dot(
                direction, site.at(t).position.km / np.linalg.norm(site.at(t).position.km))))
            s = ephem.Sun()
            o = ephem.Observer()
            o.lat, o.lon, o.pressure = str(where.latitude.degrees), str(where.longitude.degrees), 0
            o.date = ephem_date(t)
            s.compute(o)
            if need(target_alt, math.degrees(float(s.alt))):
                return t, where
        raise SystemExit('no ' + kind + ' transit found')

    cases = [('Sun', lambda alt, sun_alt: alt > 30.0),
             ('Moon', lambda alt, sun_alt: alt > 25.0 and sun_alt < -12.0),
             ('Star', lambda alt, sun_alt: alt > 18.0 and sun_alt < -10.0)]
    print('// ISS transits: instant (UTC), observer latitude and longitude on the line')
    for kind, need in cases:
        t, where = search(kind, need)
        dt = t.utc
        print('{"%s", MakeInstant(%d, %d, %d, %d, %d, %d), %.6f, %.6f},' % (
            kind, dt[0], dt[1], dt[2], dt[3], dt[4], int(round(dt[5])),
            where.latitude.degrees, where.longitude.degrees))


def day_events(site, body, start, horizon):
    """Rise, transit and set of one day from start, seconds after it (-1: none)."""
    site.date = start
    site.horizon = horizon
    end = ephem.Date(start + 1)
    events = []
    for find in (site.next_rising, site.next_transit, site.next_setting):
        try:
            if find == site.next_transit:
                when = find(body, start=start)
            else:
                when = find(body, start=start, use_center=True)
            seconds = (when - start) * 86400.0
            events.append(round(seconds, 1) if when < end else -1)
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            events.append(-1)
    return events


def tables():
    cases = [('London', 51.5, -0.1, 0.0, (2024, 3, 1)),
             ('Sydney', -33.8688, 151.2093, 11.0, (2024, 1, 10)),
             ('Tromso', 69.65, 18.96, 0.0, (2024, 12, 5))]
    thresholds = {'Sun': ['-0.8', '-6', '-12', '-18'], 'Moon': ['-0.8']}
    print('// Rise, transit, set: seconds after the day\'s start (-1 none); Moon: lit percent at transit')
    for name, lat, lon, offset, (y, m, d) in cases:
        site = ephem.Observer()
        site.lat, site.lon, site.elevation, site.pressure = str(lat), str(lon), 0.0, 0
        first = ephem.Date((y, m, d)) - offset / 24.0
        for kind, body in (('Sun', ephem.Sun()), ('Moon', ephem.Moon())):
            for horizon in thresholds[kind]:
                if name == 'Tromso' and horizon not in ('-0.8',):
                    continue
                print('// %s %s %s' % (name, kind, horizon))
                for day in range(15):
                    start = ephem.Date(first + day)
                    rise, mid, set_ = day_events(site, body, start, horizon)
                    lit = -1.0
                    if kind == 'Moon':
                        when = start + (mid if mid >= 0 else 86400) / 86400.0
                        body.compute(ephem.Date(when))
                        lit = body.moon_phase * 100.0
                    print('{%s, %s, %s, %.2f},' % (rise, mid, set_, lit))


def planets():
    t = TS.utc(2024, 3, 10, 21, 0, 0)
    site = ephem.Observer()
    site.lat, site.lon, site.elevation, site.pressure = str(LONDON[0]), str(LONDON[1]), 0.0, 0
    site.date = ephem_date(t)
    here = observer_km(*LONDON, t)
    print('// Planet table 2024-03-10 21:00 UTC, 51.5 N 0.1 W: topocentric J2000 RA (h), Dec (deg), alt, az')
    for body in (ephem.Mercury(), ephem.Venus(), ephem.Mars(), ephem.Jupiter(), ephem.Saturn(),
                 ephem.Uranus(), ephem.Neptune(), ephem.Pluto(), ephem.Moon(), ephem.Sun()):
        v = geocentric_j2000_km(body, t) - here
        ra = math.degrees(math.atan2(v[1], v[0])) % 360.0 / 15.0
        dec = math.degrees(math.asin(v[2] / np.linalg.norm(v)))
        body.compute(site)
        print('{"%s", %.7f, %.7f, %.4f, %.4f},' % (body.name, ra, dec, math.degrees(float(body.alt)),
                                                   math.degrees(float(body.az))))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else 'build/release/bin'
    sets = read_elements(folder + '/tle/gpredict.tle')
    visible_now(sets)
    transits(sets)
    tables()
    planets()


if __name__ == '__main__':
    main()
