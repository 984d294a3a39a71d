#!/usr/bin/python3
"""Altitude and azimuth of the Sun from PyEphem (Debian python3-ephem) for the
main window's sky read-out test: geometric (pressure 0), topocentric, for one
observer and instant. Prints the values the test stores.

Usage: /usr/bin/python3 tools/sun_altaz_reference.py
"""
import datetime
import math

import ephem

LATITUDE_DEG = 52.5
LONGITUDE_DEG = 13.4
HEIGHT_M = 34.0
INSTANT = datetime.datetime(2020, 3, 20, 15, 0, 0)

observer = ephem.Observer()
observer.lat = str(LATITUDE_DEG)
observer.lon = str(LONGITUDE_DEG)
observer.elevation = HEIGHT_M
observer.pressure = 0
observer.date = ephem.Date(INSTANT)
sun = ephem.Sun(observer)
day_count = (INSTANT - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0
print("ephem %s" % ephem.__version__)
print("instant (day count) %.6f" % day_count)
print("altitude %.4f deg" % math.degrees(float(sun.alt)))
print("azimuth %.4f deg" % math.degrees(float(sun.az)))
