#!/usr/bin/python3
"""Writes the map view's places file "MapLocations.dat" from GeoNames data.

usage: make_map_locations.py CITIES.txt COUNTRY_INFO.txt OUTPUT

The places are the capitals of countries with at least a million people,
largest first, then every other city of at least a million, largest first. A
place is taken only when its marker and label fit on the map and touch no
label taken before, measured on the map as a 1366 x 768 screen shows it with
the default view font: so the map shows one readable name per area rather
than a heap of names over Europe and Asia (larger maps only spread them
further apart). Each line holds the latitude in columns 1-8 and the longitude
in columns 9-16 (degrees, three decimals, east and north positive), a blank
in column 17 and the place name in columns 18-37, in ASCII so that a column
is a byte.
"""
import sys

from data_output import fail, write_atomically
from geonames import (CITY_ASCII_NAME, CITY_COUNTRY, CITY_FEATURE_CODE, CITY_LATITUDE, CITY_LONGITUDE,
                      CITY_POPULATION, COUNTRY_CODE, COUNTRY_POPULATION, read_table)

MIN_COUNTRY_POPULATION = 1_000_000
MIN_CITY_POPULATION = 1_000_000
NAME_WIDTH = 20
# The map picture of a maximised main window on a 1366 x 768 screen, and the
# default view font (8 points, 11 pixels, monospaced) its labels are drawn
# in: a character's advance and the line's height, rounded up, in pixels.
MAP_WIDTH, MAP_HEIGHT = 1364, 560
CHAR_WIDTH, LINE_HEIGHT = 7, 13
# The marker is a cross of two pixels either side of the place; labels keep
# this much more apart.
CROSS_ARM, GAP = 2, 2
MIN_PLACES = 60


def place_name(ascii_name):
    # A few official names carry a district after " - " ("Palikir - National
    # Government Center"); the town name is what a map shows.
    return ascii_name.split(" - ")[0].strip()[:NAME_WIDTH].rstrip()


def label_box(latitude, longitude, name):
    """The pixels the marker and its name cover, as the map view draws them:
    the cross about the place, the name with its top-left corner there."""
    x = int((longitude + 180.0) / 360.0 * MAP_WIDTH)
    y = int((90.0 - latitude) / 180.0 * MAP_HEIGHT)
    return (x - CROSS_ARM, y - CROSS_ARM, x + CHAR_WIDTH * len(name), y + LINE_HEIGHT)


def on_map(box):
    return box[0] >= 0 and box[1] >= 0 and box[2] < MAP_WIDTH and box[3] < MAP_HEIGHT


def apart(a, b):
    return a[2] + GAP < b[0] or b[2] + GAP < a[0] or a[3] + GAP < b[1] or b[3] + GAP < a[1]


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
    chosen, boxes = [], []
    for entry in sorted(capitals, key=by_size) + sorted(big, key=by_size):
        if not entry[2]:
            continue
        box = label_box(entry[0], entry[1], entry[2])
        if on_map(box) and all(apart(box, kept) for kept in boxes):
            chosen.append(entry)
            boxes.append(box)
    return chosen


def format_line(latitude, longitude, name):
    return "%8.3f%8.3f %s" % (latitude, longitude, name)


def main():
    if len(sys.argv) != 4:
        fail("usage: make_map_locations.py CITIES.txt COUNTRY_INFO.txt OUTPUT")
    places = select_places(read_table(sys.argv[1]), read_table(sys.argv[2]))
    if len(places) < MIN_PLACES:
        fail("only %d places found in %s" % (len(places), sys.argv[1]))
    places.sort(key=lambda e: (e[2], e[0], e[1]))
    text = "".join(format_line(lat, lon, name) + "\n" for lat, lon, name, _ in places)
    write_atomically(sys.argv[3], text.encode("ascii"))


if __name__ == "__main__":
    main()
