#!/usr/bin/python3
"""Writes the sky view's star files and the star picker's list from the
d3-celestial package of the npm registry (Hipparcos stars from the XHIP
compilation, IAU star names and constellation figures; BSD-3-Clause).

usage: make_star_catalogs.py KIND OUTPUT
  KIND  stars           "Stars.bin": every star to magnitude FAINTEST_STAR
        names           "starname.bin": the proper names of the bright stars
        constellations  "Constellations.bin": the 88 constellation figures
        picker          "star.dat": named stars for the transit-target picker

The package is fetched with `npm pack` at a pinned version (npm checks its
integrity against the registry) and read straight from the tarball.
Positions are J2000 in the ICRS; the package gives them as longitudes of
-180..180 degrees, which become right ascensions of 0..360 degrees.
"""
import json
import math
import os
import struct
import subprocess
import sys
import tarfile
import tempfile
import unicodedata

from data_output import fail, fixed, write_atomically

PACKAGE = "d3-celestial@0.7.35"
# The sky view's limiting magnitude never passes 11.
FAINTEST_STAR = 11.0
# Names are drawn whatever the star limit, so only the bright stars get one.
FAINTEST_NAMED_STAR = 3.5
NAME_CAPACITY = 23          # short-string capacity of a name record
PICKER_NAME_WIDTH = 20      # columns 38-57 of star.dat
PICKER_DESIGNATION_WIDTH = 9  # columns 27-35 of star.dat

GREEK_ABBREVIATIONS = {
    "α": "alf", "β": "bet", "γ": "gam", "δ": "del", "ε": "eps", "ζ": "zet",
    "η": "eta", "θ": "the", "ι": "iot", "κ": "kap", "λ": "lam", "μ": "mu",
    "ν": "nu", "ξ": "ksi", "ο": "omi", "π": "pi", "ρ": "rho", "σ": "sig",
    "τ": "tau", "υ": "ups", "φ": "phi", "χ": "chi", "ψ": "psi", "ω": "ome",
}


def read_package_files(names):
    """The named members of the package's data folder, parsed as JSON."""
    with tempfile.TemporaryDirectory(prefix="kyt-npm-") as work:
        env = dict(os.environ, NPM_CONFIG_UPDATE_NOTIFIER="false", NPM_CONFIG_FUND="false",
                   NPM_CONFIG_AUDIT="false")
        try:
            result = subprocess.run(["npm", "pack", "--silent", PACKAGE], cwd=work, env=env,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
        except FileNotFoundError:
            fail("npm is not installed (Debian package npm)")
        if result.returncode != 0:
            fail("npm pack %s failed: %s" % (PACKAGE, result.stderr.decode(errors="replace").strip()))
        tarball = os.path.join(work, result.stdout.decode().strip().splitlines()[-1])
        with tarfile.open(tarball, "r:gz") as archive:
            return {name: json.load(archive.extractfile("package/data/" + name)) for name in names}


def right_ascension_degrees(longitude):
    return longitude % 360.0


def stars_by_number(stars_json):
    """Hipparcos number -> (right ascension deg, declination deg, magnitude)."""
    stars = {}
    for feature in stars_json["features"]:
        magnitude = feature["properties"].get("mag")
        if magnitude is None:
            continue
        longitude, latitude = feature["geometry"]["coordinates"]
        stars[int(feature["id"])] = (right_ascension_degrees(longitude), latitude, float(magnitude))
    return stars


def ascii_text(text):
    """text with accents dropped (Bélénos -> Belenos); None if more than
    accents stand in the way, since the files are read a byte a column."""
    plain = unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode()
    return plain if len(plain) == len(unicodedata.normalize("NFC", text)) else None


def proper_names(names_json, stars):
    """(name, hip, entry) of every star with a proper name, in ASCII."""
    result = []
    for number, entry in names_json.items():
        name = ascii_text(entry.get("name", "").strip())
        if name and int(number) in stars:
            result.append((name, int(number), entry))
    return sorted(result, key=lambda item: (item[1], item[0]))


def star_record(ra_deg, dec_deg, magnitude):
    return struct.pack("<ddd", math.radians(ra_deg), math.radians(dec_deg), magnitude)


def name_record(ra_deg, dec_deg, magnitude, name):
    """A 48-byte name record; the third double, unread by the views, keeps
    the star's magnitude (or 0 for a figure's end point)."""
    raw = name.encode("ascii")
    if len(raw) > NAME_CAPACITY:
        fail("name %r is longer than %d characters" % (name, NAME_CAPACITY))
    return star_record(ra_deg, dec_deg, magnitude) + bytes([len(raw)]) + raw.ljust(NAME_CAPACITY, b"\0")


def make_stars(data):
    stars = stars_by_number(data["stars.14.json"])
    return b"".join(star_record(*stars[number]) for number in sorted(stars)
                    if stars[number][2] <= FAINTEST_STAR)


def make_names(data):
    stars = stars_by_number(data["stars.14.json"])
    out = []
    for name, number, _ in proper_names(data["starnames.json"], stars):
        ra, dec, magnitude = stars[number]
        if magnitude <= FAINTEST_NAMED_STAR and len(name) <= NAME_CAPACITY:
            out.append(name_record(ra, dec, magnitude, name))
    return b"".join(out)


def angular_distance(a, b):
    """Angle in radians between two (ra deg, dec deg) directions."""
    ra1, dec1, ra2, dec2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    c = math.sin(dec1) * math.sin(dec2) + math.cos(dec1) * math.cos(dec2) * math.cos(ra1 - ra2)
    return math.acos(max(-1.0, min(1.0, c)))


def make_constellations(data):
    """Each figure as pairs of end points; the end nearest the figure's name
    position carries the name, so each constellation is labelled once."""
    labels = {}
    for feature in data["constellations.json"]["features"]:
        longitude, latitude = feature["geometry"]["coordinates"]
        labels.setdefault(feature["id"], []).append(
            ((right_ascension_degrees(longitude), latitude), ascii_text(feature["properties"]["name"])))
    out = []
    for feature in data["constellations.lines.json"]["features"]:
        segments = []
        for polyline in feature["geometry"]["coordinates"]:
            points = [(right_ascension_degrees(lon), lat) for lon, lat in polyline]
            segments.extend(zip(points, points[1:]))
        if not segments or None in (name for _, name in labels.get(feature["id"], [(None, None)])):
            fail("constellation %s has no lines or no name" % feature["id"])
        # Serpens comes in two figures with a name each: every figure takes
        # the name whose position lies nearest to one of its ends.
        ends = [(distance, index, flip, name)
                for position, name in labels[feature["id"]]
                for index, segment in enumerate(segments)
                for flip in (0, 1)
                for distance in [angular_distance(segment[flip], position)]]
        _, label_index, flip, name = min(ends)
        for index, (a, b) in enumerate(segments):
            label = ""
            if index == label_index:
                label = name
                if flip:
                    a, b = b, a
            out.append(name_record(a[0], a[1], 0.0, label) + name_record(b[0], b[1], 0.0, ""))
    return b"".join(out)


def designation(entry, number):
    """Bayer or Flamsteed designation in catalogue ASCII ("alf CMa",
    "61 Cyg"), else the Hipparcos number, at most 9 characters."""
    letter = entry.get("desig", "").replace("\u2009", "")
    constellation = entry.get("c", "")
    if letter and constellation:
        for greek, abbreviation in GREEK_ABBREVIATIONS.items():
            letter = letter.replace(greek, abbreviation)
        text = "%s %s" % (letter, constellation)
        if text.isascii() and len(text) <= PICKER_DESIGNATION_WIDTH:
            return text
    text = "HIP %d" % number
    return text if len(text) <= PICKER_DESIGNATION_WIDTH else "HIP%d" % number


def make_picker(data):
    """One line per named star. The picker finds a star by the last line
    that contains its name anywhere, so lines with longer names come first:
    a name inside a longer one (Mira, Miram) then still finds its own line.
    Names shared by two stars keep the brighter star."""
    stars = stars_by_number(data["stars.14.json"])
    chosen = {}
    for name, number, entry in proper_names(data["starnames.json"], stars):
        if len(name) > PICKER_NAME_WIDTH:
            continue
        if name not in chosen or stars[number][2] < stars[chosen[name][0]][2]:
            chosen[name] = (number, entry)
    lines = []
    for name in sorted(chosen, key=lambda n: (-len(n), n)):
        number, entry = chosen[name]
        ra, dec, magnitude = stars[number]
        lines.append("%9.5f %10.5f %5.2f%s  %s" % (ra, dec, magnitude,
                                                  fixed(designation(entry, number), PICKER_DESIGNATION_WIDTH), name))
    # The list shows columns 37-56 and searches the lines for that text.
    for index, line in enumerate(lines):
        shown = line[36:56].strip()
        if max(i for i, other in enumerate(lines) if shown in other) != index:
            fail("star name %r would find another star's line" % shown)
    return ("\n".join(lines) + "\n").encode("ascii")


KINDS = {
    "stars": (make_stars, ["stars.14.json"]),
    "names": (make_names, ["stars.14.json", "starnames.json"]),
    "constellations": (make_constellations, ["constellations.json", "constellations.lines.json"]),
    "picker": (make_picker, ["stars.14.json", "starnames.json"]),
}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in KINDS:
        fail("usage: make_star_catalogs.py stars|names|constellations|picker OUTPUT")
    make, members = KINDS[sys.argv[1]]
    write_atomically(sys.argv[2], make(read_package_files(members)))


if __name__ == "__main__":
    main()
