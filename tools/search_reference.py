#!/usr/bin/python3
"""Reference values for the tests of the flare, transit and ground-track searches.

Independent of KYT's engine: orbits from python3-sgp4 (WGS72), the Sun and
the Moon from PyEphem (astrometric J2000 places carried to the date with
ephem.Equatorial), distances and azimuths on the ellipsoid from
python3-geographiclib, and the mirror-panel model of the orbit library
written out again here. Satellites are taken in the frame of date and
turned with mean sidereal time, as KYT does.

    /usr/bin/python3 tools/search_reference.py ELEMENTS.tle windows|transits|equator|tracks|flares|evaluate

prints C++ initialisers that the tests store; the tests never run Python.
"""
import math
import sys

import ephem
import numpy as np
from geographiclib.geodesic import Geodesic
from sgp4.api import WGS72, Satrec
from sgp4.propagation import gstime

A = 6378.137                     # km, WGS84
F = 1.0 / 298.257223563
AU = 149597870.6996262
DAY0 = 2415018.5                 # Julian date of day count 0
DEG = math.pi / 180.0
SIRIUS = (101.28715533, -16.71611586)  # J2000 degrees


def instant(y, mo, d, h=0, mi=0, s=0.0):
    return ephem.julian_date(ephem.Date((y, mo, d, h, mi, s))) - DAY0


def text_time(t):
    return str(ephem.Date(t + DAY0 - 2415020.0))


def read_elements(path):
    lines = [l.rstrip("\n") for l in open(path, encoding="latin-1")]
    sets = []
    for i in range(len(lines) - 2):
        if lines[i + 1].startswith("1 ") and lines[i + 2].startswith("2 "):
            sets.append((lines[i].strip(), lines[i + 1], lines[i + 2]))
    return sets


def satellite(sets, name):
    for n, l1, l2 in sets:
        if n == name:
            return Satrec.twoline2rv(l1, l2, WGS72)
    raise KeyError(name)


def propagate(sat, t):
    """Position and velocity (km, km/s) at day count t; arrays for arrays."""
    jd = np.asarray(t, dtype=float) + DAY0
    whole = np.floor(jd)
    e, r, v = sat.sgp4_array(np.atleast_1d(whole), np.atleast_1d(jd - whole))
    return np.asarray(e), np.asarray(r), np.asarray(v)


def gmst(t):
    return np.vectorize(gstime)(np.asarray(t, dtype=float) + DAY0)


def observer_eci(lat, lon, h_km, t):
    c = 1.0 / math.sqrt(math.cos(lat) ** 2 + (1 - F) ** 2 * math.sin(lat) ** 2)
    s = (1 - F) ** 2 * c
    theta = lon + gmst(t)
    rc = (A * c + h_km) * math.cos(lat)
    return np.stack([rc * np.cos(theta), rc * np.sin(theta),
                     np.full_like(theta, (A * s + h_km) * math.sin(lat))], axis=-1)


def topocentric(lat, lon, h_km, t, target):
    """Elevation, azimuth (rad, geodetic horizon) and range of target (of date)."""
    theta = lon + gmst(t)
    rho = target - observer_eci(lat, lon, h_km, t)
    up = np.stack([math.cos(lat) * np.cos(theta), math.cos(lat) * np.sin(theta),
                   np.full_like(theta, math.sin(lat))], axis=-1)
    east = np.stack([-np.sin(theta), np.cos(theta), np.zeros_like(theta)], axis=-1)
    north = np.cross(up, east)
    rng = np.linalg.norm(rho, axis=-1)
    el = np.arcsin(np.sum(rho * up, axis=-1) / rng)
    az = np.mod(np.arctan2(np.sum(rho * east, axis=-1), np.sum(rho * north, axis=-1)), 2 * math.pi)
    return el, az, rng


def body_of_date(kind, t):
    """Geocentric position of the Sun or Moon (km), J2000 place carried to the date."""
    date = ephem.Date(t + DAY0 - 2415020.0)
    b = ephem.Sun(date) if kind == "sun" else ephem.Moon(date)
    eq = ephem.Equatorial(ephem.Equatorial(b.a_ra, b.a_dec, epoch=ephem.J2000), epoch=date)
    return unit(float(eq.ra), float(eq.dec)) * b.earth_distance * AU


def star_of_date(radec, t):
    date = ephem.Date(t + DAY0 - 2415020.0)
    eq = ephem.Equatorial(ephem.Equatorial(radec[0] * DEG, radec[1] * DEG, epoch=ephem.J2000), epoch=date)
    return unit(float(eq.ra), float(eq.dec)) * AU


def unit(ra, dec):
    return np.array([math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec)])


def body_track(kind, t):
    """Sun or Moon of date at every instant of t, interpolated from 10-minute samples."""
    t = np.atleast_1d(t)
    grid = np.arange(t.min() - 0.01, t.max() + 0.02, 1.0 / 144.0)
    samples = np.array([body_of_date(kind, g) for g in grid])
    return np.stack([np.interp(t, grid, samples[:, k]) for k in range(3)], axis=-1)


def geodetic(p, g):
    """Geodetic latitude, longitude (rad) and height (km) of an inertial point."""
    x, y, z = p
    lon = math.atan2(y, x) - g
    lon = (lon + math.pi) % (2 * math.pi) - math.pi
    r = math.hypot(x, y)
    e2 = F * (2 - F)
    lat = math.atan2(z, r * (1 - e2))
    for _ in range(6):
        n = A / math.sqrt(1 - e2 * math.sin(lat) ** 2)
        h = r / math.cos(lat) - n
        lat = math.atan2(z, r * (1 - e2 * n / (n + h)))
    n = A / math.sqrt(1 - e2 * math.sin(lat) ** 2)
    return lat, lon, r / math.cos(lat) - n


def sunlit(sat, sun):
    """Spherical Earth of the equatorial radius, no penumbra."""
    d = np.linalg.norm(sat)
    psi = math.acos(np.dot(sat, sun) / (d * np.linalg.norm(sun)))
    return math.acos(A / d) + math.pi / 2 > psi


def angle_between(a, b):
    return math.acos(max(-1.0, min(1.0, np.dot(a, b) / (np.linalg.norm(a) * np.linalg.norm(b)))))


# --- the mirror panels -----------------------------------------------------

PANELS = (0.0, 2.09439510239, -2.09439510239)
TILT_COS, TILT_SIN = 0.7660444431189, 0.6427876096865


def panel_angles(obs, pos, vel, sun):
    """Angles (degrees) between the reflected Sun and the observer for the
    three panels, and the reflected rays; arrays over samples (axis 0)."""
    s = pos - sun
    q = obs - pos
    vh = vel / np.linalg.norm(vel, axis=-1)[..., None]
    hh = np.cross(pos, vel)
    hh /= np.linalg.norm(hh, axis=-1)[..., None]
    uh = np.cross(vh, hh)
    uh /= np.linalg.norm(uh, axis=-1)[..., None]
    angles, rays = [], []
    for a in PANELS:
        ca, sa = math.cos(a), math.sin(a)
        n = TILT_COS * (ca * vh - sa * hh) - TILT_SIN * uh
        e2 = ca * hh + sa * vh
        e3 = TILT_SIN * (ca * vh - sa * hh) + TILT_COS * uh
        sn = np.sum(s * n, axis=-1)
        r = -sn[..., None] * n + np.sum(s * e2, axis=-1)[..., None] * e2 + np.sum(s * e3, axis=-1)[..., None] * e3
        cosang = np.sum(q * r, axis=-1) / (np.linalg.norm(q, axis=-1) * np.linalg.norm(r, axis=-1))
        ang = np.degrees(np.arccos(np.clip(cosang, -1, 1)))
        angles.append(np.where(sn <= 0, ang, 180.0))
        rays.append(r)
    return np.stack(angles, axis=-1), rays


def ray_to_sphere(direction, origin, radius):
    dn, on = np.linalg.norm(direction), np.linalg.norm(origin)
    th = math.acos(np.dot(-direction, origin) / (on * dn))
    if not th < math.pi / 2:
        return None
    w = min(1.0, on * math.sin(th) / radius)
    dist = on * math.cos(th) - radius * math.cos(math.asin(w))
    return origin + dist * direction / dn, dist


def flare(sat, site, t, panel):
    """Everything the flare line shows, for one panel (1..3) at instant t."""
    lat, lon, h = site
    e, pos, vel = propagate(sat, [t])
    pos, vel = pos[0], vel[0]
    obs = observer_eci(lat, lon, h, np.array([t]))[0]
    sun = body_of_date("sun", t)
    angles, rays = panel_angles(obs[None], pos[None], vel[None], sun[None])
    ray = rays[panel - 1][0]
    centre, d = ray_to_sphere(ray, pos, np.linalg.norm(obs))
    theta = angle_between(centre - pos, sun - pos)
    magc = 2.5 * math.log10((d / 1000.0) ** 2 / (1.62 * math.cos(theta / 2))) - 7.5
    el, az, _ = topocentric(lat, lon, h, np.array([t]), pos[None])
    angle = angles[0, panel - 1]
    mag = max(magc, math.log10(2.2 / angle) * magc + 1.25 * math.cos(el[0]))
    clat, clon, _ = geodetic(centre, gmst(t))
    g = Geodesic.WGS84.Inverse(lat / DEG, lon / DEG, clat / DEG, clon / DEG)
    return dict(angle=angle, lat=clat / DEG, lon=clon / DEG, d=d, magc=magc, mag=mag,
                el=el[0] / DEG, az=az[0] / DEG, dist=g["s12"] / 1000.0, lit=sunlit(pos, sun))


def flare_minima(sets, site, start, end):
    """Every minimum of the best panel's angle below 3 degrees with the
    satellite above 5 degrees, with its instant, panel and conditions."""
    lat, lon, h = site
    found = []
    coarse = np.arange(start, end, 30.0 / 86400.0)
    sun_coarse = body_track("sun", coarse)
    sun_el, _, _ = topocentric(lat, lon, h, coarse, sun_coarse)
    for name, l1, l2 in sets:
        if "IRIDIUM" not in name or "DEB" in name:
            continue
        sat = Satrec.twoline2rv(l1, l2, WGS72)
        e, pos, _ = propagate(sat, coarse)
        el, _, _ = topocentric(lat, lon, h, coarse, pos)
        up = np.flatnonzero((el > 5 * DEG) & (e == 0))
        if up.size == 0:
            continue
        # Runs of coarse samples above 5 degrees, widened by one sample.
        breaks = np.flatnonzero(np.diff(up) > 1)
        for first, last in zip(np.r_[up[0], up[breaks + 1]], np.r_[up[breaks], up[-1]]):
            fine = np.arange(coarse[max(first - 1, 0)], coarse[min(last + 1, coarse.size - 1)], 1.0 / 86400.0)
            e2, p2, v2 = propagate(sat, fine)
            sun = body_track("sun", fine)
            angles, _ = panel_angles(observer_eci(lat, lon, h, fine), p2, v2, sun)
            best = angles.min(axis=1)
            for k in range(1, fine.size - 1):
                if best[k] < 3.0 and best[k] <= best[k - 1] and best[k] < best[k + 1]:
                    found.append(refine_minimum(sat, name, site, fine[k]))
    return found


def refine_minimum(sat, name, site, t0):
    lat, lon, h = site
    t = t0 + np.arange(-1.5, 1.5, 0.01) / 86400.0
    e, p, v = propagate(sat, t)
    sun = body_track("sun", t)
    angles, _ = panel_angles(observer_eci(lat, lon, h, t), p, v, sun)
    k = int(np.argmin(angles.min(axis=1)))
    panel = int(np.argmin(angles[k])) + 1
    f = flare(sat, site, t[k], panel)
    sun_el, _, _ = topocentric(lat, lon, h, t[k:k + 1], sun[k:k + 1])
    f.update(name=name, t=t[k], panel=panel, sun=sun_el[0] / DEG)
    return f


# --- transits and ground points -------------------------------------------


def ground_point(pos, target, radius):
    """Where the line from the target through the satellite meets the sphere
    of the radius; None when it does not."""
    s = target - pos
    c = angle_between(s, pos)
    u = s / np.linalg.norm(s)
    b = np.linalg.norm(pos)
    w = b * math.sin(c) / radius
    if c > math.pi / 2 or w >= 1.0:
        return None
    dist = b * math.cos(c) - radius * math.cos(math.asin(w))
    return pos - dist * u


def target_at(kind, t):
    return star_of_date(SIRIUS, t) if kind == "star" else body_of_date(kind, t)


def ground_point_at(sat, kind, t, radius):
    _, pos, _ = propagate(sat, [t])
    p = ground_point(pos[0], target_at(kind, t), radius)
    if p is None:
        return None
    lat, lon, _ = geodetic(p, gmst(t))
    return lat, lon


def closest_approach(sat, kind, site, around):
    """Instant, separation (arcmin), elevation, azimuth (deg) and range of the
    smallest topocentric separation within a minute of `around`."""
    lat, lon, h = site
    t = around + np.arange(-60.0, 60.0, 0.02) / 86400.0
    _, pos, _ = propagate(sat, t)
    obs = observer_eci(lat, lon, h, t)
    target = np.array([target_at(kind, x) for x in t[::50]])
    target = np.stack([np.interp(t, t[::50], target[:, k]) for k in range(3)], axis=-1)
    a, b = pos - obs, target - obs
    sep = np.degrees(np.arccos(np.clip(np.sum(a * b, axis=-1) /
                                       (np.linalg.norm(a, axis=-1) * np.linalg.norm(b, axis=-1)), -1, 1)))
    k = int(np.argmin(sep))
    el, az, rng = topocentric(lat, lon, h, t[k:k + 1], pos[k:k + 1])
    sun = body_of_date("sun", t[k])
    moon = body_of_date("moon", t[k])
    illum = (1 + math.cos(angle_between(obs[k] - moon, sun - moon))) / 2 * 100
    return dict(t=t[k], sep=sep[k] * 60, el=el[0] / DEG, az=az[0] / DEG, rng=rng[0], illum=illum)


def find_alignment(sat, kind, start, end):
    """First whole second at which the line from the target through the
    satellite reaches the ground with the satellite 15 degrees up there and
    the Sun 8 degrees down: the observer stands at that point."""
    step = 10.0 / 86400.0
    t = start
    while t < end:
        p = ground_point_at(sat, kind, t, 6371.0)
        if p is not None:
            lat, lon = p
            _, pos, _ = propagate(sat, [t])
            el, _, _ = topocentric(lat, lon, 0.0, np.array([t]), pos)
            sun_el, _, _ = topocentric(lat, lon, 0.0, np.array([t]), body_of_date("sun", t)[None])
            if el[0] > 15 * DEG and sun_el[0] < -8 * DEG:
                # The sphere through an observer standing there.
                radius = np.linalg.norm(observer_eci(lat, lon, 0.0, np.array([t]))[0])
                for _ in range(3):
                    lat, lon = ground_point_at(sat, kind, t, radius)
                    radius = np.linalg.norm(observer_eci(lat, lon, 0.0, np.array([t]))[0])
                return t, (lat, lon, 0.0)
        t += step
    raise RuntimeError("no alignment")


def track_points(sat, kind, site, around, seconds=5):
    lat, lon, h = site
    radius = np.linalg.norm(observer_eci(lat, lon, h, np.array([around]))[0])
    rows = []
    for k in range(-seconds, seconds + 1):
        t = around + k / 86400.0
        plat, plon = ground_point_at(sat, kind, t, radius)
        g = Geodesic.WGS84.Inverse(lat / DEG, lon / DEG, plat / DEG, plon / DEG)
        rows.append((k, plat / DEG, plon / DEG, g["s12"] / 1000.0, g["azi1"] % 360.0))
    return rows


def seconds_inside(sat, kind, site, around, seconds, width, min_el):
    """The whole seconds (from `around`) at which the ground point lies within
    `width` km of the site with the satellite above min_el degrees there."""
    lat, lon, h = site
    radius = np.linalg.norm(observer_eci(lat, lon, h, np.array([around]))[0])
    inside = []
    for k in seconds:
        t = around + k / 86400.0
        p = ground_point_at(sat, kind, t, radius)
        _, pos, _ = propagate(sat, [t])
        el, _, _ = topocentric(lat, lon, h, np.array([t]), pos)
        if p is None or el[0] <= min_el * DEG:
            continue
        g = Geodesic.WGS84.Inverse(lat / DEG, lon / DEG, p[0] / DEG, p[1] / DEG)
        if g["s12"] < width * 1000.0:
            inside.append("%d (%.3f km, %.3f deg)" % (k, g["s12"] / 1000.0, el[0] / DEG))
    return inside


def limb_track(sat, kind, near, width):
    """The first second at which the line from the target through the
    satellite meets the ground again after missing it, near the instant
    `near`, with the observer standing at that second's ground point; the
    rows within `width` km and the first row's path half-width, the track's
    direction taken towards the next second's point."""
    t, lat, lon = near, None, None
    radius = 6371.0
    for _ in range(4):
        k = -20
        while ground_point_at(sat, kind, t + k / 86400.0, radius) is None:
            k += 1
        t += k / 86400.0
        lat, lon = ground_point_at(sat, kind, t, radius)
        radius = np.linalg.norm(observer_eci(lat, lon, 0.0, np.array([t]))[0])
    print("limb site %.5f %.5f  first second %s" % (lat / DEG, lon / DEG, text_time(t)))
    rows = []
    for k in range(-1, 8):
        tk = t + k / 86400.0
        _, pos, _ = propagate(sat, [tk])
        target = target_at(kind, tk)
        p = ground_point(pos[0], target, radius)
        if p is None:
            print("  %+d no ground point" % k)
            continue
        plat, plon, _ = geodetic(p, gmst(tk))
        g = Geodesic.WGS84.Inverse(lat / DEG, lon / DEG, plat / DEG, plon / DEG)
        el, _, _ = topocentric(lat, lon, 0.0, np.array([tk]), pos)
        # The target seen from the ground point, along the line.
        u = (target - pos[0]) / np.linalg.norm(target - pos[0])
        theta = plon + float(gmst(tk))
        up = np.array([math.cos(plat) * math.cos(theta), math.cos(plat) * math.sin(theta), math.sin(plat)])
        east = np.array([-math.sin(theta), math.cos(theta), 0.0])
        north = np.cross(up, east)
        rows.append(dict(k=k, lat=plat, lon=plon, dist=g["s12"] / 1000.0, el=el[0] / DEG,
                         sight=np.linalg.norm(pos[0] - p), body_el=math.asin(np.dot(u, up)),
                         body_az=math.atan2(np.dot(u, east), np.dot(u, north)), body_r=np.linalg.norm(target)))
        print("  %+d %.5f %.5f dist %.3f el %.3f" % (k, plat / DEG, plon / DEG, g["s12"] / 1000.0, el[0] / DEG))
    first, second = rows[0], rows[1]
    bearing = Geodesic.WGS84.Inverse(first["lat"] / DEG, first["lon"] / DEG,
                                     second["lat"] / DEG, second["lon"] / DEG)["azi1"] * DEG
    across = first["sight"] * math.sin(math.atan2(696265.0, first["body_r"]))
    along = across / math.sin(first["body_el"])
    angle = bearing - first["body_az"]
    print("  first row path %.2f km, rows within %.0f km: %s" %
          (math.hypot(across * math.cos(angle), along * math.sin(angle)), width,
           [r["k"] for r in rows if r["dist"] < width]))


# --- commands -------------------------------------------------------------


def cmd_windows(sets):
    london = ephem.Observer()
    london.lat, london.lon, london.elevation = str(51.5074), str(-0.1278), 20.0
    london.pressure = 0
    london.horizon = "10"
    london.date = ephem.Date((2018, 1, 21))
    star = ephem.FixedBody()
    star._ra, star._dec, star._epoch = SIRIUS[0] * DEG, SIRIUS[1] * DEG, ephem.J2000
    start = instant(2018, 1, 21)
    first_setting = london.next_setting(star)
    rise = london.next_rising(star)
    london.date = rise
    setting = london.next_setting(star)
    for x in (first_setting, rise, setting):
        print("%.1f  // %s" % ((ephem.julian_date(x) - DAY0 - start) * 86400.0, x))


def cmd_transits(sets):
    iss = satellite(sets, "ISS (ZARYA)")
    sun_site = (-28.0868 * DEG, -27.2692 * DEG, 0.0)
    cases = [("sun", sun_site, instant(2018, 1, 21, 9, 0, 0))]
    for kind in ("moon", "star"):
        t, site = find_alignment(iss, kind, instant(2018, 1, 21), instant(2018, 1, 28))
        cases.append((kind, site, t))
    for kind, site, t in cases:
        c = closest_approach(iss, kind, site, t)
        print("%s site %.6f %.6f  alignment %s (%.9f)" % (kind, site[0] / DEG, site[1] / DEG, text_time(t), t))
        print("  closest %s sep %.3f' el %.2f az %.2f range %.2f illum %.1f" %
              (text_time(c["t"]), c["sep"], c["el"], c["az"], c["rng"], c["illum"]))
        for k, plat, plon, dist, az in track_points(iss, kind, site, round(c["t"] * 86400) / 86400):
            print("  {%d, %.5f, %.5f, %.3f, %.2f}," % (k, plat, plon, dist, az))


def cmd_equator(sets):
    iss = satellite(sets, "ISS (ZARYA)")
    lat, lon = 0.03 * DEG, -51.07 * DEG
    t = instant(2018, 1, 21) + np.arange(0, 86400) / 86400.0
    _, pos, _ = propagate(iss, t)
    el, _, _ = topocentric(lat, lon, 0.0, t, pos)
    up = np.flatnonzero(el > 10 * DEG)
    radius = np.linalg.norm(observer_eci(lat, lon, 0.0, t[:1])[0])
    moon = body_track("moon", t[up])
    near, none = [], 0
    for k, i in enumerate(up):
        p = ground_point(pos[i], moon[k], radius)
        if p is None:
            none += 1
            continue
        plat, plon, _ = geodetic(p, gmst(t[i]))
        g = Geodesic.WGS84.Inverse(lat / DEG, lon / DEG, plat / DEG, plon / DEG)
        if g["s12"] < 25000.0:
            near.append(text_time(t[i]))
    print("seconds above 10 deg: %d, without a ground point: %d, within 25 km: %s" % (len(up), none, near))


def cmd_tracks(sets):
    """Ground tracks the search finds only second by second: beside the line
    of the Sun transit (width 160 km), a single second within 25 km at the
    closest approach and at the set, and a track that starts where the line
    first meets the ground."""
    iss = satellite(sets, "ISS (ZARYA)")
    around = instant(2018, 1, 21, 9, 0, 0)
    line = (-28.0868, -27.2692)
    # The point crosses the line's site heading 133.4 degrees: 43.4 is across it.
    beside = Geodesic.WGS84.Direct(line[0], line[1], 43.4, 140000.0)
    near = Geodesic.WGS84.Direct(line[0], line[1], 43.4, 24000.0)
    cases = [("beside 1 deg north", (-27.0868, -27.2692), 160.0, 10.0),
             ("beside 140 km", (round(beside["lat2"], 6), round(beside["lon2"], 6)), 160.0, 10.0),
             ("24 km", (round(near["lat2"], 6), round(near["lon2"], 6)), 25.0, 10.0),
             ("set at 22.18 deg", line, 25.0, 22.18)]
    for name, (lat, lon), width, min_el in cases:
        inside = seconds_inside(iss, "sun", (lat * DEG, lon * DEG, 0.0), around, range(-60, 61), width, min_el)
        print("%s: site %.6f %.6f, seconds within %.0f km: %s" % (name, lat, lon, width, inside))
    limb_track(iss, "sun", instant(2018, 1, 21, 8, 57, 5), 160.0)


def cmd_flares(sets, min_el, day):
    site = (51.5 * DEG, -0.1 * DEG, 0.0)
    start, end = instant(2018, 1, 21), instant(2018, 1, 24)
    for f in flare_minima(sets, site, start, end):
        if f["el"] < min_el:
            continue
        if day != (f["sun"] > -6.0):
            continue
        print('    {"%s", %.2f, %d, %.3f, %.1f, %.1f, %.2f, %s},  // %s' %
              (f["name"], (f["t"] - start) * 86400.0, f["panel"], f["angle"], f["el"], f["sun"], f["mag"],
               "true" if f["lit"] else "false", text_time(f["t"])))


def cmd_evaluate(sets):
    site = (51.5 * DEG, -0.1 * DEG, 0.0)
    start = instant(2018, 1, 21)
    for name, seconds, panel in [(a, float(b), int(c)) for a, b, c in
                                 (x.split(",") for x in sys.argv[3:])]:
        f = flare(satellite(sets, name), site, start + seconds / 86400.0, panel)
        print('    {"%s", %.3f, %d, %.4f, %.4f, %.4f, %.3f, %.3f, %.3f, %.3f, %.3f},' %
              (name, seconds, panel, f["angle"], f["lat"], f["lon"], f["d"], f["magc"], f["mag"], f["el"], f["az"]))


def main():
    sets = read_elements(sys.argv[1])
    command = sys.argv[2]
    if command == "windows":
        cmd_windows(sets)
    elif command == "transits":
        cmd_transits(sets)
    elif command == "equator":
        cmd_equator(sets)
    elif command == "tracks":
        cmd_tracks(sets)
    elif command == "flares":
        cmd_flares(sets, float(sys.argv[3]) if len(sys.argv) > 3 else 10.0,
                   len(sys.argv) > 4 and sys.argv[4] == "day")
    elif command == "evaluate":
        cmd_evaluate(sets)


if __name__ == "__main__":
    main()
