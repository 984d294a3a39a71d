#!/usr/bin/python3
"""Writes the map view's places file "MapLocations.dat" from GeoNames data.

usage: make_map_locations.py CITIES.txt COUNTRY_INFO.txt OUTPUT

The places are the capitals of countries with at least a million people and
every other city of at least one and a half million, largest first; a place within
MIN_SPACING_KM of one already taken is left out, so labels do not pile up on
twin cities. Each line holds the latitude in columns 1-8 and the longitude in
columns 9-16 (degrees, three decimals, east and north positive), a blank in
column 17 and the place name in columns 18-37, in ASCII so that a column is
a byte.
"""
import math
import sys

from data_output import fail, write_atomically
from geonames import (CITY_ASCII_NAME, CITY_COUNTRY, CITY_FEATURE_CODE, CITY_LATITUDE, CITY_LONGITUDE,
                      CITY_POPULATION, COUNTRY_CODE, COUNTRY_POPULATION, read_table)

MIN_COUNTRY_POPULATION = 1_000_000
MIN_CITY_POPULATION = 1_500_000
MIN_SPACING_KM = 60.0
EARTH_RADIUS_KM = 6371.0
NAME_WIDTH = 20


def distance_km(a, b):
    lat1, lon1, lat2, lon2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((lat2 - lat1) / 2) ** 2 + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2
    return 2 * EARTH_RADIUS_KM * math.asin(min(1.0, math.sqrt(h)))


def place_name(ascii_name):
    # A few official names carry a district after " - " ("Palikir - National
    # Government Center"); the town name is what a map shows.
    return ascii_name.split(" - ")[0].strip()[:NAME_WIDTH].rstrip()


def select_places(cities, countries):
    populous = {row[COUNTRY_CODE] for row in countries if int(row[COUNTRY_POPULATION] or 0) >= MIN_COUNTRY_POPULATION}
    capitals, big = [], []
    for row in cities:
        population = int(row[CITY_POPULATION] or 0)
        entry = (float(row[CITY_LATITUDE]), float(row[CITY_LONGITUDE]), place_name(row[CITY_ASCII_NAME]), population)
        if row[CITY_FEATURE_CODE] == "PPLC" and row[CITY_COUNTRY] in populous:
            capitals.append(entry)
        elif population >= MIN_CITY_POPULATION:
            big.append(entry)
    by_size = lambda e: (-e[3], e[2], e[0], e[1])
    chosen = []
    for entry in sorted(capitals, key=by_size) + sorted(big, key=by_size):
        if entry[2] and all(distance_km(entry, kept) >= MIN_SPACING_KM for kept in chosen):
            chosen.append(entry)
    return chosen


def format_line(latitude, longitude, name):
    return "%8.3f%8.3f %s" % (latitude, longitude, name)


def main():
    if len(sys.argv) != 4:
        fail("usage: make_map_locations.py CITIES.txt COUNTRY_INFO.txt OUTPUT")
    places = select_places(read_table(sys.argv[1]), read_table(sys.argv[2]))
    if len(places) < 100:
        fail("only %d places found in %s" % (len(places), sys.argv[1]))
    places.sort(key=lambda e: (e[2], e[0], e[1]))
    text = "".join(format_line(lat, lon, name) + "\n" for lat, lon, name, _ in places)
    write_atomically(sys.argv[3], text.encode("ascii"))


if __name__ == "__main__":
    main()
