#!/usr/bin/python3
"""Writes the observer location window's place list and time zones from
GeoNames data and the system's tz database.

usage: make_locations.py places CITIES.txt OUTPUT
       make_locations.py zones CITIES.txt ZONE1970.tab OUTPUT

"places" writes "Locations.dat": every city of the table as "ASCII name, CC"
(the country code; a name that repeats within its country gets the admin-1
code too, "Springfield, US-IL"), at most NAME_WIDTH characters, with its
coordinates to four decimals and its IANA zone, in the fixed columns the
window reads and sorted as the window's "Save" sorts (whole lines, letters
without regard to case).

"zones" writes "Timezone.dat": the zone of the default observer and every
zone of the places and of zone1970.tab with its standard offset in hours (the
smaller of its offsets on 2025-01-01 and 2025-07-01), sorted by name.

Must run with Debian's /usr/bin/python3: zoneinfo reads the system's tzdata.
"""
import collections
import datetime
import sys
import zoneinfo

from data_output import fail, write_atomically
from geonames import CITY_ADMIN1, CITY_ASCII_NAME, CITY_COUNTRY, CITY_LATITUDE, CITY_LONGITUDE, CITY_TIMEZONE, read_table

NAME_WIDTH = 30
DEFAULT_ZONE = "Greenwich (Coordinated Universal) Time"
STANDARD_TIME_DATES = (datetime.datetime(2025, 1, 1, tzinfo=datetime.timezone.utc),
                       datetime.datetime(2025, 7, 1, tzinfo=datetime.timezone.utc))


def sort_key(text):
    # The window compares letters in their ASCII upper case, other bytes as
    # they are.
    return text.encode("utf-8").upper()


def place_name(name, suffix):
    return name[:NAME_WIDTH - len(suffix)].rstrip() + suffix


def place_names(cities):
    plain = [place_name(row[CITY_ASCII_NAME], ", " + row[CITY_COUNTRY]) for row in cities]
    repeats = collections.Counter(plain)
    names = []
    for row, name in zip(cities, plain):
        if repeats[name] > 1 and row[CITY_ADMIN1]:
            name = place_name(row[CITY_ASCII_NAME], ", %s-%s" % (row[CITY_COUNTRY], row[CITY_ADMIN1]))
        names.append(name)
    return names


def location_line(name, latitude, longitude, zone):
    return "%-30s%10s%10s%10s%50s%10s" % (name, "%.4f" % latitude, "%.4f" % longitude, "0.00", zone, "2")


def make_places(cities_path):
    cities = read_table(cities_path)
    lines = []
    for row, name in zip(cities, place_names(cities)):
        if not row[CITY_ASCII_NAME].strip() or not row[CITY_TIMEZONE]:
            continue
        lines.append(location_line(name, float(row[CITY_LATITUDE]), float(row[CITY_LONGITUDE]),
                                   row[CITY_TIMEZONE]))
    if len(lines) < 20000:
        fail("only %d places found in %s" % (len(lines), cities_path))
    lines.sort(key=sort_key)
    return "".join(line + "\n" for line in lines).encode("ascii")


def offset_text(hours):
    text = ("%.2f" % hours).rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def standard_offset_hours(zone):
    info = zoneinfo.ZoneInfo(zone)
    return min(at.astimezone(info).utcoffset().total_seconds() for at in STANDARD_TIME_DATES) / 3600.0


def make_zones(cities_path, zone_table_path):
    zones = {row[CITY_TIMEZONE] for row in read_table(cities_path) if row[CITY_TIMEZONE]}
    zones |= {row[2] for row in read_table(zone_table_path)}
    known = zoneinfo.available_timezones()
    missing = sorted(zones - known)
    if missing:
        fail("zones unknown to the tz database: %s" % ", ".join(missing))
    entries = [(DEFAULT_ZONE, "0")] + [(zone, offset_text(standard_offset_hours(zone))) for zone in zones]
    entries.sort(key=lambda entry: sort_key(entry[0]))
    return "".join("%s, %s\n" % (offset, zone) for zone, offset in entries).encode("ascii")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "places":
        data = make_places(sys.argv[2])
    elif len(sys.argv) == 5 and sys.argv[1] == "zones":
        data = make_zones(sys.argv[2], sys.argv[3])
    else:
        fail("usage: make_locations.py places CITIES.txt OUTPUT | zones CITIES.txt ZONE1970.tab OUTPUT")
    write_atomically(sys.argv[-1], data)


if __name__ == "__main__":
    main()
